// The built-in guideline tables, the derived report catalogues and the standards.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <functional>

#include "catalogues/coding_standard.h"
#include "catalogues/tables.h"

namespace guidegate {
namespace {

using Convention = std::function<std::string(const std::string& id)>;

std::string lower(std::string text) {
  for (auto& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}
std::string withoutDir(const std::string& id) { return id.starts_with("Dir ") ? id.substr(4) : id; }
std::string replaceAll(std::string text, const std::string& from, const std::string& to) {
  for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}
std::vector<std::string> split(const std::string& ids) {
  std::vector<std::string> pieces;
  for (std::size_t begin = 0, end; begin < ids.size(); begin = end + 1) {
    end = std::min(ids.find(',', begin), ids.size());
    pieces.push_back(ids.substr(begin, end - begin));
  }
  return pieces;
}
std::string joinIds(const GuidelineCatalogue& rows) {
  std::string text;
  for (const auto& row : rows) text += (text.empty() ? "" : ",") + row.id;
  return text;
}

const Guideline& row(const GuidelineCatalogue& rows, const std::string& id) {
  static const Guideline missing{"(missing)", "", ""};
  for (const auto& guideline : rows)
    if (guideline.id == id) return guideline;
  ADD_FAILURE() << "no row " << id;
  return missing;
}

// "KEY:count" for every run of consecutive rows with the same chapter key; "!" marks a
// row whose numbers do not ascend within its chapter.
std::string chapters(const GuidelineCatalogue& rows, const std::function<std::string(const std::string&)>& key) {
  auto numbers = [](const std::string& id) {
    std::vector<int> values;
    for (std::size_t i = 0; i < id.size();) {
      if (!std::isdigit(static_cast<unsigned char>(id[i]))) { ++i; continue; }
      std::size_t used = 0;
      values.push_back(std::stoi(id.substr(i), &used));
      i += used;
    }
    return values;
  };
  std::string text;
  int count = 0;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const bool sameChapter = i > 0 && key(rows[i].id) == key(rows[i - 1].id);
    if (sameChapter && !(numbers(rows[i - 1].id) < numbers(rows[i].id))) text += "!" + rows[i].id;
    if (i > 0 && !sameChapter) text += key(rows[i - 1].id) + ":" + std::to_string(count) + " ", count = 0;
    ++count;
  }
  return rows.empty() ? text : text + key(rows.back().id) + ":" + std::to_string(count);
}
std::string letters(const std::string& id) { return id.substr(0, 3); }
std::string misraCChapter(const std::string& id) { return id.starts_with("Dir ") ? "Dir" : id.substr(0, id.find('.')); }
std::string firstNumber(const std::string& id) { return withoutDir(id).substr(0, withoutDir(id).find_first_of(".-")); }

// The ids of the rows whose mappedIds is not the conventional single add-on id.
std::string exceptions(const GuidelineCatalogue& rows, const Convention& conventional) {
  GuidelineCatalogue found;
  std::copy_if(rows.begin(), rows.end(), std::back_inserter(found),
               [&](const Guideline& g) { return g.mappedIds != conventional(g.id); });
  return joinIds(found);
}
std::string misraCConvention(const std::string& edition, const std::string& id) {
  return id.starts_with("Dir ") ? "misra-" + edition + "-dir-" + id.substr(4) : "misra-" + edition + "-" + id;
}

const std::string misraCExceptions =
    "Dir 1.1,Dir 2.1,Dir 3.1,Dir 4.1,Dir 4.2,Dir 4.7,Dir 4.8,Dir 4.10,Dir 4.11,Dir 4.12,Dir 4.13,1.1,1.3,2.1,2.2,2.6,"
    "2.8,5.3,8.3,8.13,9.1,12.5,13.2,13.6,14.3,17.4,17.5,18.1,18.2,18.3,18.6,19.1,20.6,21.13,21.17,21.18,22.1,22.2,"
    "22.3,22.4,22.6";
const std::string misraCChapters =
    " 1:5 2:8 3:2 4:2 5:9 6:3 7:6 8:17 9:7 10:8 11:10 12:6 13:6 14:4 15:7 16:7 17:13 18:10 19:2 20:14 21:26 22:20 23:8";

struct TableCase {
  const char* name;
  const GuidelineCatalogue& rows;
  std::size_t size;
  std::string first, last, chapters;
  std::function<std::string(const std::string&)> chapterKey;
  Convention conventional;
  std::string exceptions;  // rows not following the convention, in catalogue order
};

TEST(CatalogueTest, RowsOrderAndMappingConvention) {
  const TableCase tables[] = {
      {"CERT C", certCCatalogue, 99, "PRE30", "MSC40",
       "PRE:3 DCL:8 EXP:14 INT:7 FLP:5 ARR:6 STR:6 MEM:6 FIO:13 ENV:5 SIG:4 ERR:3 CON:12 MSC:7", letters,
       [](const std::string& id) { return "solvane-cert-" + lower(id) + "-c"; },
       "PRE30,PRE32,DCL30,EXP30,EXP33,EXP34,EXP44,EXP46,FLP32,FLP34,ARR36,STR30,STR37,MEM30,MEM31,MEM34,FIO39,"
       "FIO42,FIO46,FIO47,MSC37"},
      {"CERT C++", certCppCatalogue, 83, "DCL50", "MSC54",
       "DCL:11 EXP:14 INT:1 CTR:9 STR:4 MEM:8 FIO:2 ERR:13 OOP:9 CON:7 MSC:5", letters,
       [](const std::string& id) { return "solvane-cert-" + lower(id) + "-cpp"; },
       "DCL55,DCL57,DCL60,EXP52,EXP53,EXP54,EXP61,EXP62,EXP63,CTR51,CTR54,CTR55,STR51,STR52,MEM50,MEM51,MEM56,"
       "FIO50,ERR57,OOP50,OOP52,OOP53,OOP54,MSC52"},
      {"MISRA C 2012", misraC2012Catalogue, 216, "Dir 1.1", "23.8", "Dir:16" + misraCChapters, misraCChapter,
       [](const std::string& id) { return misraCConvention("c2012", id); }, misraCExceptions},
      {"MISRA C 2023", misraC2023Catalogue, 221, "Dir 1.1", "23.8", "Dir:21" + misraCChapters, misraCChapter,
       [](const std::string& id) { return misraCConvention("c2023", id); },
       replaceAll(misraCExceptions, "Dir 4.13,", "Dir 4.13,Dir 4.14,Dir 4.15,Dir 5.1,Dir 5.2,Dir 5.3,")},
      {"MISRA C++ 2008", misraCpp2008Catalogue, 216, "0-1-1", "27-0-1",
       "0:14 1:1 2:16 3:13 4:5 5:42 6:23 7:15 8:9 9:7 10:7 11:1 12:5 14:10 15:16 16:18 17:4 18:8 19:1 27:1",
       firstNumber, [](const std::string& id) { return "misra-cpp-2008-" + id; },
       "0-1-1,0-1-2,0-1-3,0-1-6,0-1-9,0-1-10,0-2-1,2-10-2,3-2-2,3-4-1,5-0-1,5-0-16,5-0-17,5-0-18,5-2-4,5-3-4,"
       "5-8-1,6-6-5,7-1-1,7-1-2,7-5-1,7-5-2,8-4-2,8-4-3,8-5-1,9-3-3,10-2-1,12-1-1,12-1-3,15-3-1,15-5-1,15-5-3,"
       "16-0-5"},
      {"MISRA C++ 2023", misraCpp2023Catalogue, 179, "0.0.1", "30.0.2",
       "0:10 4:4 5:12 6:21 7:9 8:24 9:11 10:8 11:5 12:4 13:6 14:1 15:8 16:3 17:1 18:8 19:16 21:12 22:2 23:1 24:2 "
       "25:3 26:1 28:5 30:2",
       firstNumber, [](const std::string& id) { return "misra-cpp-2023-" + withoutDir(id); },
       "0.0.1,0.0.2,0.1.1,Dir 0.3.1,Dir 0.3.2,4.1.3,4.6.1,5.10.1,6.2.1,6.4.1,6.8.1,6.8.2,8.7.1,8.7.2,8.9.1,8.18.1,"
       "9.6.5,10.1.1,11.6.2,15.1.1,15.1.3,15.1.4,Dir 15.8.1,19.3.5,28.6.3,28.6.4"},
  };
  for (const auto& table : tables) {
    SCOPED_TRACE(table.name);
    ASSERT_EQ(table.rows.size(), table.size);
    EXPECT_EQ(table.rows.front().id, table.first);
    EXPECT_EQ(table.rows.back().id, table.last);
    EXPECT_EQ(chapters(table.rows, table.chapterKey), table.chapters);
    EXPECT_EQ(exceptions(table.rows, table.conventional), table.exceptions);
    for (const auto& g : table.rows) {
      EXPECT_FALSE(g.text.empty()) << g.id;
      // Only directives may lack ids; no id list mixes in a blank.
      EXPECT_TRUE(!g.mappedIds.empty() || g.id.starts_with("Dir ")) << g.id;
      EXPECT_EQ(g.mappedIds.find(' '), std::string::npos) << g.id;
    }
  }
}

TEST(CatalogueTest, ExceptionSamples) {
  EXPECT_EQ(row(certCCatalogue, "EXP34").mappedIds,
            "nullPointer,nullPointerDefaultArg,nullPointerRedundantCheck,nullPointerArithmetic,"
            "nullPointerArithmeticRedundantCheck");
  EXPECT_EQ(row(certCCatalogue, "MEM31").mappedIds,
            "memleak,leakReturnValNotUsed,leakUnsafeArgAlloc,memleakOnRealloc");
  EXPECT_EQ(row(certCCatalogue, "FIO46").mappedIds, "deallocuse,useClosedFile");
  EXPECT_EQ(row(certCppCatalogue, "DCL55").mappedIds, "solvane-cert-dcl39-c");
  EXPECT_EQ(row(certCppCatalogue, "EXP62").mappedIds, "solvane-cert-exp42-c");
  EXPECT_EQ(row(misraC2012Catalogue, "1.3").mappedIds, "error");
  EXPECT_EQ(row(misraC2023Catalogue, "22.1").mappedIds,
            "memleak,resourceLeak,memleakOnRealloc,leakReturnValNotUsed,leakNoVarFunctionCall");
  EXPECT_EQ(row(misraC2023Catalogue, "Dir 5.3").mappedIds, "");
  EXPECT_EQ(row(misraCpp2008Catalogue, "6-6-5").mappedIds, "missingReturn,misra-cpp-2008-6-6-5");
  EXPECT_EQ(row(misraCpp2008Catalogue, "15-5-3").mappedIds, "exceptThrowInDestructor");
  EXPECT_EQ(row(misraCpp2023Catalogue, "Dir 0.3.1").mappedIds, "");
  EXPECT_EQ(row(misraCpp2023Catalogue, "Dir 5.7.2").mappedIds, "misra-cpp-2023-5.7.2");
  EXPECT_EQ(row(misraCpp2023Catalogue, "5.10.1").mappedIds, "misra-cpp-2023-5.10.1,syntaxError");
  // The core-only MISRA C rules carry no add-on id.
  for (const auto& id : split(misraCExceptions))
    EXPECT_EQ(row(misraC2012Catalogue, id).mappedIds.find("misra"), std::string::npos) << id;
}

TEST(CatalogueTest, MisraC2023DiffersFrom2012OnlyWhereListed) {
  const auto& old = misraC2012Catalogue;
  const auto& rows = misraC2023Catalogue;
  ASSERT_EQ(rows.size(), 221u);
  EXPECT_EQ(joinIds(GuidelineCatalogue(rows.begin() + 16, rows.begin() + 21)),
            "Dir 4.14,Dir 4.15,Dir 5.1,Dir 5.2,Dir 5.3");
  std::string newTexts;
  for (std::size_t i = 0; i < old.size(); ++i) {
    const auto& now = rows[i < 16 ? i : i + 5];
    EXPECT_EQ(now.id, old[i].id);
    EXPECT_EQ(now.mappedIds, replaceAll(old[i].mappedIds, "misra-c2012-", "misra-c2023-")) << now.id;
    if (now.text != old[i].text) newTexts += now.id + ",";
  }
  EXPECT_EQ(newTexts, "2.5,11.3,17.1,21.7,21.8,21.9,");
  EXPECT_EQ(row(old, "17.1").text, "The features of <stdarg.h> shall not be used");
  EXPECT_EQ(row(rows, "17.1").text, "The standard header file <stdarg.h> shall not be used");
  EXPECT_EQ(row(rows, "Dir 4.4").text, "Sections of code should not be \xE2\x80\x9C" "commented out\xE2\x80\x9D");
  EXPECT_EQ(&misraCCatalogue(MisraCEdition::Edition2012), &misraC2012Catalogue);
  EXPECT_EQ(&misraCCatalogue(MisraCEdition::Edition2023), &misraC2023Catalogue);
}

// Headlines are HTML fragments: '<' and '&' only inside character references.
void expectHtmlFragments(const GuidelineCatalogue& rows) {
  for (const auto& g : rows) {
    EXPECT_EQ(g.text.find('<'), std::string::npos) << g.id;
    for (auto at = g.text.find('&'); at != std::string::npos; at = g.text.find('&', at + 1)) {
      const auto rest = std::string_view(g.text).substr(at);
      EXPECT_TRUE(rest.starts_with("&amp;") || rest.starts_with("&lt;") || rest.starts_with("&gt;") ||
                  rest.starts_with("&quot;"))
          << g.id << ": " << g.text;
    }
  }
}

TEST(CatalogueTest, Headlines) {
  expectHtmlFragments(misraCpp2008Catalogue);
  expectHtmlFragments(misraCpp2023Catalogue);
  EXPECT_EQ(row(misraCpp2008Catalogue, "5-2-1").text,
            "Each operand of a logical &amp;&amp; or || shall be a postfix-expression.");
  for (const auto& g : misraCpp2023Catalogue) EXPECT_FALSE(g.text.ends_with('.')) << g.id;
  EXPECT_EQ(row(misraCpp2023Catalogue, "28.6.3").text,
            "An object shall not be used while in a potentially moved-from state");
  EXPECT_EQ(row(certCCatalogue, "PRE30").text, "Do not create a universal character name through concatenation");
  EXPECT_EQ(row(certCppCatalogue, "EXP63").text, "Do not rely on the value of a moved-from object");
  EXPECT_NE(row(certCppCatalogue, "EXP62").text.find("object\xE2\x80\x99s"), std::string::npos);
}

TEST(CatalogueTest, CertCppReportAppendsTheCertCRulesForCpp) {
  const auto rows = certCppReportCatalogue();
  ASSERT_EQ(rows.size(), 159u);
  EXPECT_EQ(certCNotInCpp.size(), 23u);
  EXPECT_EQ(rows[0].id, "DCL50");
  EXPECT_EQ(rows[82].id, "MSC54");
  EXPECT_EQ(rows[83].id, "PRE30");
  EXPECT_EQ(rows.back().id, "MSC40");
  for (const auto& g : rows) EXPECT_FALSE(certCNotInCpp.contains(g.id)) << g.id;
  auto next = certCCatalogue.begin();  // the appended rows are unchanged CERT C rows, in CERT C order
  for (std::size_t i = 83; i < rows.size(); ++i) {
    next = std::find_if(next, certCCatalogue.end(), [&](const Guideline& g) { return g.id == rows[i].id; });
    ASSERT_NE(next, certCCatalogue.end()) << rows[i].id;
    EXPECT_EQ(rows[i].text, next->text);
    EXPECT_EQ(rows[i].mappedIds, next->mappedIds);
  }
}

TEST(CatalogueTest, CweTop25Report) {
  ASSERT_EQ(cweCatalogue.size(), 63u);
  EXPECT_EQ(cweCatalogue.front().id, "20");
  EXPECT_EQ(cweCatalogue.back().id, "910");
  for (const auto& g : cweCatalogue) EXPECT_TRUE(g.text.empty() && !g.mappedIds.empty()) << g.id;

  const auto rows = cweTop25ReportCatalogue();
  ASSERT_EQ(rows.size(), 25u);
  EXPECT_EQ(joinIds(rows),
            "787,79,89,416,78,20,125,22,352,434,862,476,287,190,502,77,119,798,918,306,362,269,94,863,276");
  const std::map<std::string, std::string> expected = {
      {"787", "bufferAccessOutOfBounds"}, {"78", "bufferAccessOutOfBounds"}, {"125", "bufferAccessOutOfBounds"},
      {"119", "bufferAccessOutOfBounds"}, {"190", "integerOverflow"},        {"416", "deallocuse"},
      {"476", "nullPointer"},             {"22", "solvane-cert-fio02-c"},     {"287", "multiCondition"},
      {"798", "solvane-cert-msc18-c"},    {"276", "solvane-cert-fio06-c"}};
  for (const auto& g : rows) {
    EXPECT_EQ(g.text, "") << g.id;
    if (g.id == "20" || g.id == "362") continue;
    EXPECT_EQ(g.mappedIds, expected.contains(g.id) ? expected.at(g.id) : "") << g.id;
  }
  EXPECT_EQ(row(rows, "20").mappedIds, row(cweCatalogue, "20").mappedIds);
  EXPECT_EQ(split(row(rows, "20").mappedIds).size(), 8u);
  EXPECT_EQ(split(row(rows, "362").mappedIds).back(), "raceAfterInterlockedDecrement");

  const auto report = reportCatalogue(CodingStandard::CweTop25);
  const auto& notImplemented = report.notImplemented();
  EXPECT_EQ(notImplemented.size(), 16u);
  EXPECT_TRUE(notImplemented.contains("79") && notImplemented.contains("22") && notImplemented.contains("276"));
  EXPECT_FALSE(notImplemented.contains("20") || notImplemented.contains("787"));
  for (const auto& id : notImplemented) EXPECT_NE(row(rows, id).id, "(missing)");

  for (const auto& g : rows)  // every core id has a checker label
    for (const auto& id : split(g.mappedIds))
      EXPECT_TRUE(id.starts_with("solvane-") || checkerNames.contains(id)) << g.id << ": " << id;
}

TEST(CatalogueTest, CheckerNames) {
  ASSERT_EQ(checkerNames.size(), 101u);
  EXPECT_EQ(checkerNames.begin()->first, "IOWithoutPositioning");
  EXPECT_EQ(std::next(checkerNames.begin())->first, "accessForwarded");
  EXPECT_EQ(checkerNames.at("nullPointer"), "error");
  EXPECT_EQ(checkerNames.at("sizeofSideEffects"), "");
  EXPECT_FALSE(checkerNames.contains("memleakOnRealloc"));
  EXPECT_EQ(checkerNames.at("unreachableCode"), "CheckOther::checkUnreachableCode");
  EXPECT_EQ(checkerNames.at("duplicateBreak"), "CheckOther::checkUnreachableCode");
  std::set<std::string> labels;
  int errors = 0, empty = 0;
  for (const auto& [id, label] : checkerNames) {
    if (label == "error") ++errors;
    else if (label.empty()) ++empty;
    else labels.insert(label);
  }
  EXPECT_EQ(errors, 31);
  EXPECT_EQ(empty, 1);
  EXPECT_EQ(labels.size(), 49u);
}

struct StandardCase {
  CodingStandard standard;
  std::vector<std::string> flags;
  std::string title, guidelinesName, outputFile;
  std::size_t rows;
  const GuidelineCatalogue* builtIn;
};

const std::vector<StandardCase> standardCases = {
    {CodingStandard::CertC, {"--cert-c", "--cert-c-2016"},
     "Cert C", "Cert C 2016", "cert-c-compliance-report.html", 99, &certCCatalogue},
    {CodingStandard::CertCpp, {"--cert-c++", "--cert-c++-2016"},
     "Cert C++", "Cert C++ 2016", "cert-cpp-compliance-report.html", 159, nullptr},
    {CodingStandard::MisraC2012, {"--misra-c-2012"},
     "Misra C", "Misra C 2012", "misra-c-2012-compliance-report.html", 216, &misraC2012Catalogue},
    {CodingStandard::MisraC2023, {"--misra-c-2023"},
     "Misra C", "Misra C 2023", "misra-c-2023-compliance-report.html", 221, &misraC2023Catalogue},
    {CodingStandard::MisraCpp2008, {"--misra-c++-2008"},
     "Misra C++", "Misra C++ 2008", "misra-cpp-2008-compliance-report.html", 216, &misraCpp2008Catalogue},
    {CodingStandard::MisraCpp2023, {"--misra-c++-2023"},
     "Misra C++", "Misra C++ 2023", "misra-cpp-2023-compliance-report.html", 179, &misraCpp2023Catalogue},
    {CodingStandard::CweTop25, {"--cwe-top25"},
     "SANS CWE Top 25", "SANS CWE Top 25", "cwe-top25-compliance-report.html", 25, nullptr},
};

TEST(CodingStandardTest, FlagsNamesAndCatalogues) {
  for (const auto& c : standardCases) {
    const auto& info = standardInfo(c.standard);
    EXPECT_EQ(info.title, c.title);
    EXPECT_EQ(info.guidelinesName, c.guidelinesName);
    EXPECT_EQ(info.defaultOutputFile, c.outputFile);
    for (const auto& flag : c.flags) EXPECT_EQ(standardForFlag(flag), c.standard) << flag;
    const auto report = reportCatalogue(c.standard);
    EXPECT_EQ(report.guidelines().size(), c.rows) << c.title;
    EXPECT_TRUE(!c.builtIn || &report.guidelines() == c.builtIn) << c.title;
    EXPECT_EQ(report.notImplemented().size(), c.standard == CodingStandard::CweTop25 ? 16u : 0u) << c.title;
  }
  for (const char* other : {"--cert-cx", "--files", "--cert-c-2016x", "--CERT-C", "cert-c", "--misra-c-2012 ", ""})
    EXPECT_EQ(standardForFlag(other), std::nullopt) << other;
}

}  // namespace
}  // namespace guidegate
