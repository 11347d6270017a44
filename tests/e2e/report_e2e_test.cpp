// Whole reports of every standard: a clean analysis whose checks all ran, and one with findings.
#include "e2e/e2e_support.h"

namespace e2e {
namespace {

const std::vector<std::string> kCertC = split(
    "PRE30, PRE31, PRE32, DCL30, DCL31, DCL36, DCL37, DCL38, DCL39, DCL40, DCL41, EXP30, EXP32, EXP33, EXP34, "
    "EXP35, EXP36, EXP37, EXP39, EXP40, EXP42, EXP43, EXP44, EXP45, EXP46, INT30, INT31, INT32, INT33, INT34, "
    "INT35, INT36, FLP30, FLP32, FLP34, FLP36, FLP37, ARR30, ARR32, ARR36, ARR37, ARR38, ARR39, STR30, STR31, "
    "STR32, STR34, STR37, STR38, MEM30, MEM31, MEM33, MEM34, MEM35, MEM36, FIO30, FIO32, FIO34, FIO37, FIO38, "
    "FIO39, FIO40, FIO41, FIO42, FIO44, FIO45, FIO46, FIO47, ENV30, ENV31, ENV32, ENV33, ENV34, SIG30, SIG31, "
    "SIG34, SIG35, ERR30, ERR32, ERR33, CON30, CON31, CON32, CON33, CON34, CON35, CON36, CON37, CON38, CON39, "
    "CON40, CON41, MSC30, MSC32, MSC33, MSC37, MSC38, MSC39, MSC40",
    ", ");
const std::vector<std::string> kCertCpp = split(
    "DCL50, DCL51, DCL52, DCL53, DCL54, DCL55, DCL56, DCL57, DCL58, DCL59, DCL60, EXP50, EXP51, EXP52, EXP53, "
    "EXP54, EXP55, EXP56, EXP57, EXP58, EXP59, EXP60, EXP61, EXP62, EXP63, INT50, CTR50, CTR51, CTR52, CTR53, "
    "CTR54, CTR55, CTR56, CTR57, CTR58, STR50, STR51, STR52, STR53, MEM50, MEM51, MEM52, MEM53, MEM54, MEM55, "
    "MEM56, MEM57, FIO50, FIO51, ERR50, ERR51, ERR52, ERR53, ERR54, ERR55, ERR56, ERR57, ERR58, ERR59, ERR60, "
    "ERR61, ERR62, OOP50, OOP51, OOP52, OOP53, OOP54, OOP55, OOP56, OOP57, OOP58, CON50, CON51, CON52, CON53, "
    "CON54, CON55, CON56, MSC50, MSC51, MSC52, MSC53, MSC54",
    ", ");
const std::set<std::string> kCertCNotInCpp = {"ARR32", "ARR36", "CON30", "CON31", "CON32", "CON34", "CON35", "CON36",
                                              "CON38", "CON39", "DCL31", "DCL36", "DCL37", "DCL38", "DCL41", "EXP30",
                                              "EXP32", "EXP33", "EXP40", "EXP43", "EXP44", "MEM33", "SIG30"};
const std::vector<std::string> kMisraCpp2008 = split(
    "0-1-1, 0-1-2, 0-1-3, 0-1-4, 0-1-5, 0-1-6, 0-1-7, 0-1-8, 0-1-9, 0-1-10, 0-1-11, 0-1-12, 0-2-1, 0-3-2, 1-0-1, "
    "2-3-1, 2-5-1, 2-7-1, 2-7-2, 2-7-3, 2-10-1, 2-10-2, 2-10-3, 2-10-4, 2-10-5, 2-10-6, 2-13-1, 2-13-2, 2-13-3, "
    "2-13-4, 2-13-5, 3-1-1, 3-1-2, 3-1-3, 3-2-1, 3-2-2, 3-2-3, 3-2-4, 3-3-1, 3-3-2, 3-4-1, 3-9-1, 3-9-2, 3-9-3, "
    "4-5-1, 4-5-2, 4-5-3, 4-10-1, 4-10-2, 5-0-1, 5-0-2, 5-0-3, 5-0-4, 5-0-5, 5-0-6, 5-0-7, 5-0-8, 5-0-9, 5-0-10, "
    "5-0-11, 5-0-12, 5-0-13, 5-0-14, 5-0-15, 5-0-16, 5-0-17, 5-0-18, 5-0-19, 5-0-20, 5-0-21, 5-2-1, 5-2-2, 5-2-3, "
    "5-2-4, 5-2-5, 5-2-6, 5-2-7, 5-2-8, 5-2-9, 5-2-10, 5-2-11, 5-2-12, 5-3-1, 5-3-2, 5-3-3, 5-3-4, 5-8-1, 5-14-1, "
    "5-17-1, 5-18-1, 5-19-1, 6-2-1, 6-2-2, 6-2-3, 6-3-1, 6-4-1, 6-4-2, 6-4-3, 6-4-4, 6-4-5, 6-4-6, 6-4-7, 6-4-8, "
    "6-5-1, 6-5-2, 6-5-3, 6-5-4, 6-5-5, 6-5-6, 6-6-1, 6-6-2, 6-6-3, 6-6-4, 6-6-5, 7-1-1, 7-1-2, 7-2-1, 7-3-1, "
    "7-3-2, 7-3-3, 7-3-4, 7-3-5, 7-3-6, 7-4-2, 7-4-3, 7-5-1, 7-5-2, 7-5-3, 7-5-4, 8-0-1, 8-3-1, 8-4-1, 8-4-2, "
    "8-4-3, 8-4-4, 8-5-1, 8-5-2, 8-5-3, 9-3-1, 9-3-2, 9-3-3, 9-5-1, 9-6-2, 9-6-3, 9-6-4, 10-1-1, 10-1-2, 10-1-3, "
    "10-2-1, 10-3-1, 10-3-2, 10-3-3, 11-0-1, 12-1-1, 12-1-2, 12-1-3, 12-8-1, 12-8-2, 14-5-1, 14-5-2, 14-5-3, "
    "14-6-1, 14-6-2, 14-7-1, 14-7-2, 14-7-3, 14-8-1, 14-8-2, 15-0-2, 15-0-3, 15-1-1, 15-1-2, 15-1-3, 15-3-1, "
    "15-3-2, 15-3-3, 15-3-4, 15-3-5, 15-3-6, 15-3-7, 15-4-1, 15-5-1, 15-5-2, 15-5-3, 16-0-1, 16-0-2, 16-0-3, "
    "16-0-4, 16-0-5, 16-0-6, 16-0-7, 16-0-8, 16-1-1, 16-1-2, 16-2-1, 16-2-2, 16-2-3, 16-2-4, 16-2-5, 16-2-6, "
    "16-3-1, 16-3-2, 17-0-1, 17-0-2, 17-0-3, 17-0-5, 18-0-1, 18-0-2, 18-0-3, 18-0-4, 18-0-5, 18-2-1, 18-4-1, "
    "18-7-1, 19-3-1, 27-0-1",
    ", ");
const std::vector<std::string> kMisraCpp2023 = split(
    "0.0.1, 0.0.2, 0.1.1, 0.1.2, 0.2.1, 0.2.2, 0.2.3, 0.2.4, Dir 0.3.1, Dir 0.3.2, 4.1.1, 4.1.2, 4.1.3, 4.6.1, "
    "5.0.1, 5.7.1, Dir 5.7.2, 5.7.3, 5.10.1, 5.13.1, 5.13.2, 5.13.3, 5.13.4, 5.13.5, 5.13.6, 5.13.7, 6.0.1, 6.0.2, "
    "6.0.3, 6.0.4, 6.2.1, 6.2.2, 6.2.3, 6.2.4, 6.4.1, 6.4.2, 6.4.3, 6.5.1, 6.5.2, 6.7.1, 6.7.2, 6.8.1, 6.8.2, "
    "6.8.3, 6.8.4, 6.9.1, 6.9.2, 7.0.1, 7.0.2, 7.0.3, 7.0.4, 7.0.5, 7.0.6, 7.11.1, 7.11.2, 7.11.3, 8.0.1, 8.1.1, "
    "8.1.2, 8.2.1, 8.2.2, 8.2.3, 8.2.4, 8.2.5, 8.2.6, 8.2.7, 8.2.8, 8.2.9, 8.2.10, 8.2.11, 8.3.1, 8.3.2, 8.7.1, "
    "8.7.2, 8.9.1, 8.14.1, 8.18.1, 8.18.2, 8.19.1, 8.20.1, 9.2.1, 9.3.1, 9.4.1, 9.4.2, 9.5.1, 9.5.2, 9.6.1, "
    "9.6.2, 9.6.3, 9.6.4, 9.6.5, 10.0.1, 10.1.1, 10.1.2, 10.2.1, 10.2.2, 10.2.3, 10.3.1, 10.4.1, 11.3.1, 11.3.2, "
    "11.6.1, 11.6.2, 11.6.3, 12.2.1, 12.2.2, 12.2.3, 12.3.1, 13.1.1, 13.1.2, 13.3.1, 13.3.2, 13.3.3, 13.3.4, "
    "14.1.1, 15.0.1, 15.0.2, 15.1.1, 15.1.2, 15.1.3, 15.1.4, 15.1.5, Dir 15.8.1, 16.5.1, 16.5.2, 16.6.1, 17.8.1, "
    "18.1.1, 18.1.2, 18.3.1, 18.3.2, 18.3.3, 18.4.1, 18.5.1, 18.5.2, 19.0.1, 19.0.2, 19.0.3, 19.0.4, 19.1.1, "
    "19.1.2, 19.1.3, 19.2.1, 19.2.2, 19.2.3, 19.3.1, 19.3.2, 19.3.3, 19.3.4, 19.3.5, 19.6.1, 21.2.1, 21.2.2, "
    "21.2.3, 21.2.4, 21.6.1, 21.6.2, 21.6.3, 21.6.4, 21.6.5, 21.10.1, 21.10.2, 21.10.3, 22.3.1, 22.4.1, 23.11.1, "
    "24.5.1, 24.5.2, 25.5.1, 25.5.2, 25.5.3, 26.3.1, 28.3.1, 28.6.1, 28.6.2, 28.6.3, 28.6.4, 30.0.1, 30.0.2",
    ", ");
const std::vector<std::string> kCweTop25 = split(
    "787, 79, 89, 416, 78, 20, 125, 22, 352, 434, 862, 476, 287, 190, 502, 77, 119, 798, 918, 306, 362, 269, 94, "
    "863, 276",
    ", ");

// The checker functions behind the core ids of the catalogue rows that map no id of value "error".
const std::vector<std::string> kCoreCheckers = split(
    "CheckAutoVariables::checkVarLifetime, CheckBool::checkBitwiseOnBoolean, "
    "CheckBool::checkComparisonOfBoolExpressionWithInt, CheckBufferOverrun::argumentSize, "
    "CheckBufferOverrun::bufferOverflow, CheckBufferOverrun::pointerArithmetic, CheckClass::checkConst, "
    "CheckClass::checkExplicitConstructors, CheckClass::checkVirtualFunctionCallInConstructor, "
    "CheckClass::initializerListOrder, CheckClass::operatorEqToSelf, "
    "CheckCondition::checkCompareValueOutOfTypeRange, CheckCondition::multiCondition, "
    "CheckExceptionSafety::deallocThrow, CheckExceptionSafety::destructors, "
    "CheckFunctions::checkIgnoredReturnValue, CheckFunctions::checkMissingReturn, "
    "CheckFunctions::invalidFunctionUsage, CheckIO::checkFileUsage, CheckIO::checkWrongPrintfScanfArguments, "
    "CheckOther::checkAccessOfMovedVariable, CheckOther::checkComparePointers, CheckOther::checkConstPointer, "
    "CheckOther::checkEvaluationOrder, CheckOther::checkFuncArgNamesDifferent, CheckOther::checkOverlappingWrite, "
    "CheckOther::checkRedundantAssignment, CheckOther::checkShadowVariables, "
    "CheckOther::checkSignOfUnsignedVariable, CheckOther::checkUnreachableCode, CheckOther::checkUnusedLabel, "
    "CheckOther::checkVariableScope, CheckOther::warningOldStylePointerCast, "
    "CheckSizeof::checkSizeofForArrayParameter, CheckSizeof::sizeofCalculation, CheckSizeof::sizeofFunction, "
    "CheckStl::redundantCondition, CheckString::stringLiteralWrite, CheckType::checkFloatToIntegerOverflow, "
    "CheckType::checkIntegerOverflow, CheckUnusedFunctions::check, CheckUnusedVar::checkFunctionVariableUsage",
    ", ");

// The guideline column of a MISRA C report: directives, then "Rule " and every rule per chapter.
std::vector<std::string> misraCRows(bool edition2023) {
  std::vector<std::string> rows = {"Dir 1.1", "Dir 2.1", "Dir 3.1"};
  for (int n = 1; n <= (edition2023 ? 15 : 13); ++n) rows.push_back("Dir 4." + std::to_string(n));
  if (edition2023) rows.insert(rows.end(), {"Dir 5.1", "Dir 5.2", "Dir 5.3"});
  const int rulesPerChapter[] = {5, 8, 2, 2, 9, 3, 6, 17, 7, 8, 10, 6, 6, 4, 7, 7, 13, 10, 2, 14, 26, 20, 8};
  for (int chapter = 1; chapter <= 23; ++chapter)
    for (int n = 1; n <= rulesPerChapter[chapter - 1]; ++n)
      rows.push_back("Rule " + std::to_string(chapter) + "." + std::to_string(n));
  return rows;
}

std::string withoutPrefix(const std::string& text, const std::string& prefix) {
  return text.rfind(prefix, 0) == 0 ? text.substr(prefix.size()) : text;
}

// Labels under which every check of every catalogue row counts as run, with the MISRA C and
// MISRA C++ 2008 add-on labels in the given form, less the `missing` ones.
std::vector<std::string> checkedLabels(const std::set<std::string>& missing = {},
                                       const std::string& misraC = "Misra C 2012: ",
                                       const std::string& misraCpp2008 = "Misra C++ 2008: ") {
  std::vector<std::string> labels = kCoreCheckers;
  for (const auto& id : kCertC) labels.push_back("Cert C: " + id + "-C");
  for (const auto& id : kCertCpp) labels.push_back("Cert C++: " + id + "-CPP");
  for (const auto& row : misraCRows(true)) labels.push_back(misraC + withoutPrefix(row, "Rule "));
  for (const auto& id : kMisraCpp2008) labels.push_back(misraCpp2008 + id);
  for (const auto& id : kMisraCpp2023) labels.push_back("Misra C++ 2023: " + withoutPrefix(id, "Dir "));
  std::erase_if(labels, [&](const std::string& label) { return missing.count(label) > 0; });
  return labels;
}

std::vector<std::string> certCppRows() {
  std::vector<std::string> rows = kCertCpp;
  for (const auto& id : kCertC)
    if (!kCertCNotInCpp.count(id)) rows.push_back(id);
  return rows;
}

struct Standard {
  std::string flag, title, guidelines, output;
  std::size_t rowCount;
  std::vector<std::string> rows;
  std::set<std::string> notImplemented;
  std::string firstRow, lastRow;  // of the clean report; empty where the headline is not known
};

const std::set<std::string> kMisraC2012Empty = {"Dir 1.1", "Dir 2.1",  "Dir 3.1",  "Dir 4.1",  "Dir 4.2", "Dir 4.7",
                                                "Dir 4.8", "Dir 4.10", "Dir 4.11", "Dir 4.12", "Dir 4.13"};
std::set<std::string> misraC2023Empty() {
  std::set<std::string> empty = kMisraC2012Empty;
  empty.insert({"Dir 4.14", "Dir 4.15", "Dir 5.1", "Dir 5.2", "Dir 5.3"});
  return empty;
}

const Standard& standard(const std::string& flag) {
  static const std::string dir11 = "<tr><td>Dir 1.1</td><td>Required</td><td>Not implemented</td></tr>";
  static const std::string rule238 = "<tr><td>Rule 23.8</td><td>Required</td><td>Compliant</td></tr>";
  static const std::string msc40 = "<tr><td>MSC40</td><td>Do not violate constraints</td><td>Compliant</td></tr>";
  static const std::vector<Standard> standards = {
      {"--cert-c", "Cert C", "Cert C 2016", "cert-c-compliance-report.html", 99, kCertC, {},
       "<tr><td>PRE30</td><td>Do not create a universal character name through concatenation</td>"
       "<td>Compliant</td></tr>",
       msc40},
      {"--cert-c++", "Cert C++", "Cert C++ 2016", "cert-cpp-compliance-report.html", 159, certCppRows(), {},
       "<tr><td>DCL50</td><td>Do not define a C-style variadic function</td><td>Compliant</td></tr>", msc40},
      {"--misra-c-2012", "Misra C", "Misra C 2012", "misra-c-2012-compliance-report.html", 216, misraCRows(false),
       kMisraC2012Empty, dir11, rule238},
      {"--misra-c-2023", "Misra C", "Misra C 2023", "misra-c-2023-compliance-report.html", 221, misraCRows(true),
       misraC2023Empty(), dir11, rule238},
      {"--misra-c++-2008", "Misra C++", "Misra C++ 2008", "misra-cpp-2008-compliance-report.html", 216,
       kMisraCpp2008, {}, "", ""},
      {"--misra-c++-2023", "Misra C++", "Misra C++ 2023", "misra-cpp-2023-compliance-report.html", 179,
       kMisraCpp2023, {"Dir 0.3.1"},
       "<tr><td>0.0.1</td><td>A function shall not contain unreachable statements</td><td>Compliant</td></tr>", ""},
      {"--cwe-top25", "SANS CWE Top 25", "SANS CWE Top 25", "cwe-top25-compliance-report.html", 25, kCweTop25,
       {"22", "79", "89", "352", "434", "862", "502", "77", "918", "306", "798", "362", "269", "94", "863", "276"},
       "<tr><td>787</td><td></td><td>Compliant</td></tr>", "<tr><td>276</td><td></td><td>Not implemented</td></tr>"},
  };
  for (const auto& entry : standards)
    if (entry.flag == flag) return entry;
  throw std::invalid_argument(flag);
}

// Runs the tool and takes its report `output` apart.
struct Outcome {
  RunResult run;
  Report report;
};
Outcome runReport(const Workspace& ws, const std::vector<std::string>& arguments, const std::string& output) {
  Outcome outcome{ws.run(arguments), {}};
  if (ws.files().count(output)) {
    outcome.report = splitReport(ws.read(output));
  } else {
    ADD_FAILURE() << output << " was not written; stderr: " << outcome.run.err;
  }
  return outcome;
}

class CompliantReport : public ::testing::TestWithParam<std::string> {};

TEST_P(CompliantReport, EveryCheckRanAndNothingFound) {
  const Standard& s = standard(GetParam());
  Workspace ws;
  std::vector<std::string> arguments = {s.flag};
  if (s.flag == "--misra-c-2012") {
    // Named by a checkers report, under the 2023 labels; the version 2 results file then gets no note.
    std::string checkers = "Tarnwick checkers report\n========================\n\n";
    for (const auto& label : checkedLabels({}, "Misra C 2023: ")) checkers += "Yes  " + label + "\n";
    ws.write("checkers.txt", checkers);
    ws.write("results.xml", resultsXml("", "2"));
    arguments.push_back("--checkers-report=checkers.txt");
  } else {
    ws.write("results.xml", resultsXml("<safety/>\n" + checkersXml(checkedLabels())));
  }
  arguments.push_back("results.xml");
  const Outcome outcome = runReport(ws, arguments, s.output);
  EXPECT_EQ(outcome.run.status, 0);
  EXPECT_EQ(outcome.run.out, kProjectNotes);
  EXPECT_EQ(outcome.run.err, "");
  EXPECT_TRUE(std::regex_search(ws.read(s.output), std::regex("\nDate: [0-9]{2} [A-Z][a-z]+ [0-9]{4}<br>\n")));

  const Report& report = outcome.report;
  EXPECT_EQ(report.head, documentStart(s.title, true) + "Guidelines: " + s.guidelines +
                             "<br>\nChecking tool: Tarnwick 2.14<br>\nDate: DATE<br>\n"
                             "Result: <font color=\"green\">Compliant</font><br>\n<br>\n" +
                             (s.title == "Misra C" ? kMisraCViolationsHead : kViolationsHead));
  ASSERT_EQ(report.rows.size(), s.rowCount);
  expectRows(report, s.rows, {}, s.notImplemented);
  if (!s.firstRow.empty()) {
    EXPECT_EQ(report.rows.front(), s.firstRow);
  }
  if (!s.lastRow.empty()) {
    EXPECT_EQ(report.rows.back(), s.lastRow);
  }
}

INSTANTIATE_TEST_SUITE_P(AllStandards, CompliantReport,
                         ::testing::Values("--cert-c", "--cert-c++", "--misra-c-2012", "--misra-c-2023",
                                           "--misra-c++-2008", "--misra-c++-2023", "--cwe-top25"),
                         [](const auto& info) {
                           std::string name;
                           for (char c : info.param) name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                           return name;
                         });

const std::string kProject = "Project: <b>demo</b><br>\nProject version: <b>1.0</b><br>\n";
const std::string kTool = "Checking tool: Tarnwick 2.14<br>\nDate: DATE<br>\n";
const std::string kNonCompliant = "Result: <font color=\"red\">Non compliant</font><br>\n";

TEST(NonCompliantReport, CertCWithUnmappedFilesAcceptedAndUnexecutedRows) {
  Workspace ws;
  ws.write("files.md5", "0123456789abcdef0123456789abcdef  b.c\nfedcba9876543210fedcba9876543210  a.c\n");
  ws.write("results.xml",
           resultsXml("<safety/>\n" +
                      checkersXml(checkedLabels({"Cert C: INT35-C", "CheckIO::checkWrongPrintfScanfArguments"})) +
                      "<errors>\n"
                      "<error id=\"nullPointer\" severity=\"error\"><location file=\"a.c\"/></error>\n"
                      "<error id=\"nullPointer\" severity=\"error\"><location file=\"a.c\"/><location file=\"a.c\"/>"
                      "</error>\n"
                      "<error id=\"nullPointerRedundantCheck\" severity=\"warning\" remark=\"checked by caller\">"
                      "<location file=\"a.c\"/></error>\n"
                      "<error id=\"arrayIndexOutOfBounds\" severity=\"error\"/>\n"
                      "<error id=\"arrayIndexOutOfBounds\" severity=\"warning\"/>\n"
                      "<error id=\"arrayIndexOutOfBounds\" severity=\"warning\"/>\n"
                      "<error id=\"solvane-cert-str31-c\" severity=\"style\"><location file=\"b.c\"/></error>\n"
                      "</errors>\n"));
  const Outcome outcome = runReport(ws,
                                    {"--cert-c", "--project-name=demo", "--project-version=1.0", "--files=files.md5",
                                     "results.xml"},
                                    "cert-c-compliance-report.html");
  EXPECT_EQ(outcome.run.status, 1);
  EXPECT_EQ(outcome.run.out, "");
  EXPECT_EQ(outcome.run.err, "Internal error: id invalidScanfFormatWidth missing mapping\n");
  EXPECT_EQ(outcome.report.head,
            documentStart("Cert C", false) + kProject + "Guidelines: Cert C 2016<br>\n" + kTool + kNonCompliant +
                acceptedSection("<tr><td>EXP34</td><td>checked by caller</td></tr>\n") + "<br>\n" +
                unmappedSection("<tr><td>error</td><td>arrayIndexOutOfBounds</td><td>1</td></tr>\n"
                                "<tr><td>warning</td><td>arrayIndexOutOfBounds</td><td>2</td></tr>\n") +
                filesSection("<tr><td>a.c</td><td>fedcba9876543210fedcba9876543210</td><td>There are 2 errors.<br>"
                             "There are 1 warnings.<br><br>EXP34: There are 2 'nullPointer' message(s).<br>"
                             "EXP34: There are 1 'nullPointerRedundantCheck' message(s).</td></tr>"
                             "<tr><td>b.c</td><td>0123456789abcdef0123456789abcdef</td>"
                             "<td><br>STR31: There are 1 'solvane-cert-str31-c' message(s).</td></tr>") +
                kViolationsHead);
  expectRows(outcome.report, kCertC,
             {{"EXP34", violation("nullPointer", 2) + "<br>\nAccepted Violations:<br>nullPointerRedundantCheck"},
              {"STR31", violation("solvane-cert-str31-c")},
              {"INT35", "Not executed"},
              {"FIO47", kRedNotExecuted}});
}

TEST(NonCompliantReport, CertCppWithSuppressionSharedCertCIdAndUnexecutedRow) {
  Workspace ws;
  ws.write("results.xml",
           resultsXml("<safety/>\n" + checkersXml(checkedLabels({"CheckAutoVariables::checkVarLifetime"})) +
                      "<errors>\n<error id=\"solvane-cert-dcl39-c\" severity=\"style\"/>\n"
                      "<error id=\"uninitdata\" severity=\"error\"/>\n</errors>\n"
                      "<suppressions><suppression errorId=\"solvane-cert-dcl50-cpp\"/></suppressions>\n"));
  const Outcome outcome = runReport(ws, {"--cert-c++", "results.xml"}, "cert-cpp-compliance-report.html");
  EXPECT_EQ(outcome.run.status, 1);
  EXPECT_EQ(outcome.run.out, kProjectNotes);
  EXPECT_EQ(outcome.run.err,
            "Internal error: id danglingReference missing mapping\n"
            "Internal error: id danglingTempReference missing mapping\n");
  EXPECT_EQ(outcome.report.head,
            documentStart("Cert C++", false) + "Guidelines: Cert C++ 2016<br>\n" + kTool + kNonCompliant +
                suppressionsSection("<tr><td>DCL50</td><td>solvane-cert-dcl50-cpp</td></tr>\n") + "<br>\n" +
                unmappedSection("<tr><td>error</td><td>uninitdata</td><td>1</td></tr>\n") + kViolationsHead);
  expectRows(outcome.report, certCppRows(),
             {{"DCL50", "Suppressed:<br>solvane-cert-dcl50-cpp"},
              {"DCL55", violation("solvane-cert-dcl39-c")},
              {"DCL39", violation("solvane-cert-dcl39-c")},
              {"EXP61", kRedNotExecuted}});
}

TEST(NonCompliantReport, MisraC2012WithMisraConfigSuppressedByOption) {
  Workspace ws;
  ws.write("results.xml",
           resultsXml("<safety/>\n" + checkersXml(checkedLabels({"Misra C 2012: Dir 4.3"})) +
                      "<errors>\n<error id=\"solvane-misra-c-2012-8.4\" severity=\"style\"/>\n"
                      "<error id=\"comparePointers\" severity=\"warning\"/>\n"
                      "<error id=\"misra-c2012-dir-4.3\" severity=\"style\" remark=\"approved by board\"/>\n"
                      "</errors>\n"));
  const Outcome outcome = runReport(
      ws, {"--misra-c-2012", "--suppressions=misra-config", "--project-name=demo", "--project-version=1.0",
           "results.xml"},
      "misra-c-2012-compliance-report.html");
  EXPECT_EQ(outcome.run.status, 1);
  EXPECT_EQ(outcome.run.out, "");
  EXPECT_EQ(outcome.run.err, "");
  EXPECT_EQ(outcome.report.head,
            documentStart("Misra C", false) + kProject + "Guidelines: Misra C 2012<br>\n" + kTool +
                "Configuration: <font color=\"red\">misra-config has been suppressed</font><br>\n" + kNonCompliant +
                acceptedSection("<tr><td>Dir 4.3</td><td>approved by board</td></tr>\n") + suppressionsSection("") +
                "<br>\n" + kMisraCViolationsHead);
  expectRows(outcome.report, misraCRows(false),
             {{"Dir 4.3", kRedNotExecuted},
              {"Rule 1.3", "<font color=\"red\">Violations: There are 1 'warning' message(s).</font>"},
              {"Rule 8.4", violation("solvane-misra-c2012-8.4")},
              {"Rule 18.2", violation("comparePointers")},
              {"Rule 18.3", violation("comparePointers")}},
             kMisraC2012Empty);
  // Each row shows the guideline's category.
  EXPECT_EQ(rowOf(outcome.report, "Rule 8.4"),
            "<tr><td>Rule 8.4</td><td>Required</td><td>" + violation("solvane-misra-c2012-8.4") + "</td></tr>");
  EXPECT_EQ(rowOf(outcome.report, "Rule 1.2"), "<tr><td>Rule 1.2</td><td>Advisory</td><td>Compliant</td></tr>");
  EXPECT_EQ(rowOf(outcome.report, "Rule 9.1"), "<tr><td>Rule 9.1</td><td>Mandatory</td><td>Compliant</td></tr>");
}

TEST(NonCompliantReport, MisraC2023ByDefaultWithCleanBodyButConfigurationNotes) {
  Workspace ws;
  ws.write("results.xml",
           resultsXml("<inline-suppr/>\n" + checkersXml(checkedLabels()) +
                          "<errors><error id=\"misra-c2023-17.1\" severity=\"style\" remark=\"legacy logging\"/>"
                          "</errors>\n",
                      "2"));
  const Outcome outcome = runReport(ws, {"--project-name=demo", "--project-version=1.0", "results.xml"},
                                    "misra-c-2023-compliance-report.html");
  EXPECT_EQ(outcome.run.status, 1);
  EXPECT_EQ(outcome.run.out, "");
  EXPECT_EQ(outcome.run.err, "");
  EXPECT_EQ(outcome.report.head,
            documentStart("Misra C", true) + kProject + "Guidelines: Misra C 2023<br>\n" + kTool +
                "Configuration: <font color=\"red\">Use Tarnwick option --xml-version=3</font><br>\n"
                "Configuration: <font color=\"red\">Tarnwick option --inline-suppr has been used</font><br>\n" +
                kNonCompliant + acceptedSection("<tr><td>17.1</td><td>legacy logging</td></tr>\n") + "<br>\n" +
                kMisraCViolationsHead);
  expectRows(outcome.report, misraCRows(true), {{"Rule 17.1", "Accepted Violations:<br>misra-c2023-17.1"}},
             misraC2023Empty());
}

TEST(NonCompliantReport, MisraCpp2008UnderMLabelsWithEmptyProjectName) {
  Workspace ws;
  ws.write("results.xml", resultsXml("<safety/>\n" + checkersXml(checkedLabels({}, "Misra C 2012: ", "Misra C++ 2008: M")) +
                                     "<errors>\n<error id=\"exceptThrowInDestructor\" severity=\"warning\"/>\n"
                                     "<error id=\"misra-cpp-2008-6-6-5\" severity=\"style\"/>\n"
                                     "<error id=\"nullPointer\" severity=\"error\"/>\n</errors>\n"));
  const Outcome outcome =
      runReport(ws, {"--misra-c++-2008", "--project-name=", "results.xml"}, "misra-cpp-2008-compliance-report.html");
  EXPECT_EQ(outcome.run.status, 1);
  EXPECT_EQ(outcome.run.out, "Configuration: --project-version has not been provided\n");
  EXPECT_EQ(outcome.run.err, "");
  EXPECT_EQ(outcome.report.head,
            documentStart("Misra C++", false) + "Project: <b></b><br>\nGuidelines: Misra C++ 2008<br>\n" + kTool +
                kNonCompliant + "<br>\n" + unmappedSection("<tr><td>error</td><td>nullPointer</td><td>1</td></tr>\n") +
                kViolationsHead);
  expectRows(outcome.report, kMisraCpp2008,
             {{"6-6-5", violation("misra-cpp-2008-6-6-5")},
              {"15-3-1", violation("exceptThrowInDestructor")},
              {"15-5-1", violation("exceptThrowInDestructor")},
              {"15-5-3", violation("exceptThrowInDestructor")}});
  // Headlines are written as stored, character references included.
  EXPECT_EQ(rowOf(outcome.report, "2-7-2"),
            "<tr><td>2-7-2</td><td>Sections of code shall not be \"commented out\" using C-style comments."
            "</td><td>Compliant</td></tr>");
  EXPECT_EQ(rowOf(outcome.report, "5-2-1"),
            "<tr><td>5-2-1</td><td>Each operand of a logical &amp;&amp; or || shall be a postfix-expression.</td>"
            "<td>Compliant</td></tr>");
}

TEST(NonCompliantReport, MisraCpp2023WithOptionSuppressionAndUnexecutedDirective) {
  Workspace ws;
  ws.write("results.xml", resultsXml("<safety/>\n" + checkersXml(checkedLabels({"CheckFunctions::invalidFunctionUsage"})) +
                                     "<errors>\n<error id=\"solvane-misra-cpp-2023-5.7.2\" severity=\"style\"/>\n"
                                     "<error id=\"danglingLifetime\" severity=\"error\"/>\n</errors>\n"));
  const Outcome outcome = runReport(ws,
                                    {"--misra-c++-2023", "--suppressions=accessMoved", "--project-name=demo",
                                     "--project-version=1.0", "results.xml"},
                                    "misra-cpp-2023-compliance-report.html");
  EXPECT_EQ(outcome.run.status, 1);
  EXPECT_EQ(outcome.run.out, "");
  EXPECT_EQ(outcome.run.err,
            "Internal error: id invalidFunctionArgBool missing mapping\n"
            "Internal error: id invalidFunctionArgStr missing mapping\n");
  EXPECT_EQ(outcome.report.head, documentStart("Misra C++", false) + kProject + "Guidelines: Misra C++ 2023<br>\n" +
                                     kTool + kNonCompliant + "<br>\n" + kViolationsHead);
  expectRows(outcome.report, kMisraCpp2023,
             {{"Dir 0.3.2", kRedNotExecuted},
              {"4.1.3", "<font color=\"red\">Violations: There are 1 'error' message(s).</font>"},
              {"Dir 5.7.2", violation("solvane-misra-cpp-2023-5.7.2")},
              {"6.8.1", violation("danglingLifetime")},
              {"28.6.3", "Suppressed:<br>accessMoved"}},
             {"Dir 0.3.1"});
}

TEST(NonCompliantReport, CweTop25WithFatalErrorsAndEscapedUnmappedId) {
  Workspace ws;
  ws.write("results.xml", resultsXml("<safety/>\n" + checkersXml(checkedLabels()) +
                                     "<errors>\n<error id=\"bufferAccessOutOfBounds\" severity=\"error\"/>\n"
                                     "<error id=\"arrayIndexOutOfBounds\" severity=\"error\"/>\n"
                                     "<error id=\"internalError\" severity=\"error\"/>\n"
                                     "<error id=\"syntaxError\" severity=\"error\"/>\n"
                                     "<error id=\"internalError\" severity=\"error\"/>\n"
                                     "<error id=\"&lt;script&gt;\" severity=\"warning\"/>\n</errors>\n"));
  const Outcome outcome = runReport(ws, {"--cwe-top25", "--project-name=demo", "--project-version=1.0", "results.xml"},
                                    "cwe-top25-compliance-report.html");
  EXPECT_EQ(outcome.run.status, 1);
  EXPECT_EQ(outcome.run.out, "");
  EXPECT_EQ(outcome.run.err, "");
  EXPECT_EQ(outcome.report.head,
            documentStart("SANS CWE Top 25", false) + kProject + "Guidelines: SANS CWE Top 25<br>\n" + kTool +
                kNonCompliant +
                "<br>There was fatal errors (internalError, syntaxError) during analysis. All source files have not "
                "been fully analysed.<br>\n<br>\n" +
                unmappedSection("<tr><td>error</td><td>arrayIndexOutOfBounds</td><td>1</td></tr>\n"
                                "<tr><td>error</td><td>internalError</td><td>2</td></tr>\n"
                                "<tr><td>error</td><td>syntaxError</td><td>1</td></tr>\n"
                                "<tr><td>warning</td><td>&lt;script&gt;</td><td>1</td></tr>\n") +
                kViolationsHead);
  const std::string overflow = violation("bufferAccessOutOfBounds");
  expectRows(outcome.report, kCweTop25, {{"787", overflow}, {"78", overflow}, {"125", overflow}, {"119", overflow}},
             standard("--cwe-top25").notImplemented);
}

TEST(ExceptionsReport, CompliantWithRespectToBothAndEveryInputTextEscaped) {
  Workspace ws;
  ws.write("files.md5", "<i>sum</i>  a<b>.c\n");
  ws.write("results.xml",
           "<?xml version=\"1.0\"?>\n<results version=\"3\">\n"
           "<tarnwick product-name=\"&lt;b&gt;Tarnwick&lt;/b&gt;\" version=\"2.14\"/>\n<safety/>\n" +
               checkersXml(checkedLabels()) +
               "<errors><error id=\"nullPointer\" severity=\"error\" remark=\"&lt;script&gt;alert('1')&lt;/script&gt;\">"
               "<location file=\"a&lt;b&gt;.c\"/></error></errors>\n"
               "<suppressions><suppression errorId=\"nullPointerRedundantCheck\"/></suppressions>\n</results>\n");
  const Outcome outcome = runReport(ws,
                                    {"--cert-c", "--project-name=<script>alert(1)</script>",
                                     "--project-version=1.0 & \"beta\"", "--files=files.md5", "results.xml"},
                                    "cert-c-compliance-report.html");
  EXPECT_EQ(outcome.run.status, 0);
  EXPECT_EQ(outcome.run.out, "");
  EXPECT_EQ(outcome.run.err, "");
  EXPECT_EQ(outcome.report.head,
            documentStart("Cert C", true) +
                "Project: <b>&lt;script&gt;alert(1)&lt;/script&gt;</b><br>\n"
                "Project version: <b>1.0 &amp; &quot;beta&quot;</b><br>\nGuidelines: Cert C 2016<br>\n"
                "Checking tool: &lt;b&gt;Tarnwick&lt;/b&gt; 2.14<br>\nDate: DATE<br>\n"
                "Result: <font color=\"green\">Compliant with respect to <a href=\"#suppressions\">suppressions</a> "
                "and <a href=\"#accepted-violations\">accepted violations</a></font><br>\n" +
                acceptedSection("<tr><td>EXP34</td><td>&lt;script&gt;alert(&#39;1&#39;)&lt;/script&gt;</td></tr>\n") +
                suppressionsSection("<tr><td>EXP34</td><td>nullPointerRedundantCheck</td></tr>\n") + "<br>\n" +
                filesSection("<tr><td>a&lt;b&gt;.c</td><td>&lt;i&gt;sum&lt;/i&gt;</td><td>There are 1 errors.<br>"
                             "<br>EXP34: There are 1 'nullPointer' message(s).</td></tr>") +
                kViolationsHead);
  expectRows(outcome.report, kCertC,
             {{"EXP34", "Accepted Violations:<br>nullPointer<br>Suppressed:<br>nullPointerRedundantCheck"}});
  const std::string document = ws.read("cert-c-compliance-report.html");
  for (const char* raw : {"<script>", "<b>Tarnwick", "<i>", "a<b>.c", "\"beta\""})
    EXPECT_EQ(document.find(raw), std::string::npos) << raw;
}

}  // namespace
}  // namespace e2e
