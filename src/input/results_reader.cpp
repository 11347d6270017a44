#include "input/results_reader.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include <tinyxml2.h>

#include "input/input_error.h"
#include "input/markup_scan.h"
#include "input/text_file.h"

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

// A line or column number as the analyzer writes it: a positive decimal; anything
// else (absent, negative, not a number, out of range) is 0, "not said".
int positionNumber(const char* text) {
  if (!text || *text < '0' || *text > '9') return 0;
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (*end != '\0' || value <= 0 || value > INT_MAX) return 0;
  return static_cast<int>(value);
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
  record.positions.reserve(locations);
  for (const XMLElement* child = error->FirstChildElement(); child; child = child->NextSiblingElement()) {
    if (!named(child, "location")) continue;
    if (const char* file = child->Attribute("file")) {
      record.files.emplace_back(file);
      record.positions.push_back({positionNumber(child->Attribute("line")), positionNumber(child->Attribute("column"))});
    }
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

}  // namespace

ResultsDocument loadResultsDocument(const std::string& path) { return loadResultsInput(path, Digest::Skip).content; }

ReadInput<ResultsDocument> loadResultsInput(const std::string& path, Digest digest) {
  ReadInput<ResultsDocument> read;
  ResultsDocument& document = read.content;

  auto xml = std::make_unique<tinyxml2::XMLDocument>(true, tinyxml2::PRESERVE_WHITESPACE);
  {
    std::optional<std::string> bytes = readInputFile(path);
    if (!bytes) throw InputError("Failed to open file:" + path);
    if (digest == Digest::Sha256) read.digest = digestInput(path, *bytes);
    // The scan comes first: it ends a file with an attribute bomb before the parser
    // compares each attribute with all earlier ones.
    if (holdsMarkupFault(*bytes) || xml->Parse(bytes->data(), bytes->size()) != tinyxml2::XML_SUCCESS)
      throw InputError("Invalid XML data in file:" + path);
  }

  const XMLElement* root = xml->FirstChildElement();
  if (!root) throw InputError("Invalid file:" + path);
  document.rootName = root->Name();
  document.hasErrorsElement = root->FirstChildElement("errors") != nullptr;
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
  return read;
}

}  // namespace guidegate
