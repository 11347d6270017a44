#include "input/results_reader.h"

#include <sys/stat.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>

#include <tinyxml2.h>

#include "input/input_error.h"

namespace guidegate {
namespace {

using tinyxml2::XMLAttribute;
using tinyxml2::XMLElement;

// Whether `text` is exactly `expected`; the first character settles most comparisons
// of the million-fold loops below without a call.
bool equal(const char* text, const char* expected) {
  return text[0] == expected[0] && std::strcmp(text, expected) == 0;
}

bool named(const XMLElement* element, const char* name) { return equal(element->Name(), name); }

std::string attributeOr(const XMLElement* element, const char* name, const char* fallback = "") {
  const char* value = element->Attribute(name);
  return value ? value : fallback;
}

// Reads one `error` element into `record`. A missing id or severity is read as an
// empty text.
void readResultRecord(const XMLElement* error, ResultRecord& record) {
  // One walk over the attributes: an error carries several more (msg, verbose, cwe,
  // file0, ...), and looking each name up would walk them again, three times for an
  // absent remark. The parser rejects repeated attributes, so each name occurs once.
  for (const XMLAttribute* attribute = error->FirstAttribute(); attribute; attribute = attribute->Next()) {
    const char* name = attribute->Name();
    if (equal(name, "id"))
      record.id = attribute->Value();
    else if (equal(name, "severity"))
      record.severity = attribute->Value();
    else if (equal(name, "remark"))
      record.remark = attribute->Value();
  }
  std::size_t locations = 0;
  for (const XMLElement* child = error->FirstChildElement(); child; child = child->NextSiblingElement())
    locations += named(child, "location");
  record.files.reserve(locations);
  for (const XMLElement* child = error->FirstChildElement(); child; child = child->NextSiblingElement()) {
    if (!named(child, "location")) continue;
    if (const char* file = child->Attribute("file")) record.files.emplace_back(file);
  }
}

// The number of `error` elements in all `errors` sections, to size the findings once.
std::size_t countResultRecords(const XMLElement* root) {
  std::size_t count = 0;
  for (const XMLElement* child = root->FirstChildElement("errors"); child; child = child->NextSiblingElement("errors"))
    for (const XMLElement* error = child->FirstChildElement("error"); error; error = error->NextSiblingElement("error"))
      ++count;
  return count;
}

void readTool(const XMLElement* tool, ResultsDocument& document) {
  if (const char* product = tool->Attribute("product-name")) document.checkingTool = product;
  if (const char* version = tool->Attribute("version")) {
    document.checkingTool += ' ';
    document.checkingTool += version;
  }
}

// The leading decimal number of a text, as atoi reads it (0 when there is none), kept
// within the range of int instead of overflowing.
int versionNumber(const char* text) {
  long value = std::strtol(text, nullptr, 10);
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

// A directory opens for reading but holds no text.
bool isDirectory(std::FILE* file) {
  struct stat info {};
  return ::fstat(::fileno(file), &info) == 0 && S_ISDIR(info.st_mode);
}

// Whether the file holds a NUL byte, which no XML document may contain: the parser
// ends the text at the first one and would ignore whatever follows it.
bool holdsNulByte(std::FILE* file) {
  std::rewind(file);
  char buffer[1 << 16];
  std::size_t count = 0;
  while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0)
    if (std::memchr(buffer, '\0', count)) return true;
  return false;
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

ResultsDocument loadResultsDocument(const std::string& path) {
  ResultsDocument document;

  auto xml = std::make_unique<tinyxml2::XMLDocument>(true, tinyxml2::PRESERVE_WHITESPACE);
  {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file || isDirectory(file.get())) throw InputError("Failed to open file:" + path);
    if (xml->LoadFile(file.get()) != tinyxml2::XML_SUCCESS || holdsNulByte(file.get()))
      throw InputError("Invalid XML data in file:" + path);
  }

  const XMLElement* root = xml->FirstChildElement();
  if (!root) throw InputError("Invalid file:" + path);
  if (const char* version = root->Attribute("version")) document.xmlVersion = versionNumber(version);
  document.results.reserve(countResultRecords(root));

  for (const XMLElement* child = root->FirstChildElement(); child; child = child->NextSiblingElement()) {
    if (named(child, "tarnwick")) {
      readTool(child, document);
    } else if (named(child, "errors")) {
      for (const XMLElement* error = child->FirstChildElement(); error; error = error->NextSiblingElement())
        if (named(error, "error")) readResultRecord(error, document.results.emplace_back());
    } else if (named(child, "suppressions")) {
      for (const XMLElement* item = child->FirstChildElement(); item; item = item->NextSiblingElement())
        if (named(item, "suppression")) document.suppressions.push_back(attributeOr(item, "errorId"));
    } else if (named(child, "checkers-report")) {
      for (const XMLElement* item = child->FirstChildElement(); item; item = item->NextSiblingElement())
        if (named(item, "checker"))
          if (const char* id = item->Attribute("id")) document.checkers.insert(id);
    } else if (named(child, "safety")) {
      document.safety = true;
    } else if (named(child, "inline-suppr")) {
      document.inlineSuppr = true;
    }
  }
  return document;
}

}  // namespace guidegate
