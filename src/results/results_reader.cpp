#include "results/results_reader.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <stdexcept>

#include <tinyxml2.h>

namespace guidegate {
namespace {

using tinyxml2::XMLElement;

bool named(const XMLElement* element, const char* name) {
  return std::strcmp(element->Name(), name) == 0;
}

std::string attributeOr(const XMLElement* element, const char* name, const char* fallback = "") {
  const char* value = element->Attribute(name);
  return value ? value : fallback;
}

// One `error` element. A missing id or severity is read as an empty text.
ResultRecord readResultRecord(const XMLElement* error) {
  ResultRecord record;
  record.id = attributeOr(error, "id");
  record.severity = attributeOr(error, "severity");
  record.remark = attributeOr(error, "remark");
  for (const XMLElement* child = error->FirstChildElement(); child; child = child->NextSiblingElement()) {
    if (!named(child, "location")) continue;
    if (const char* file = child->Attribute("file")) record.files.emplace_back(file);
  }
  return record;
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

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

ResultsDocument loadResultsDocument(const std::string& path) {
  ResultsDocument document;

  auto xml = std::make_unique<tinyxml2::XMLDocument>(true, tinyxml2::PRESERVE_WHITESPACE);
  {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file) throw std::runtime_error("Failed to open file:" + path);
    if (xml->LoadFile(file.get()) != tinyxml2::XML_SUCCESS)
      throw std::runtime_error("Invalid XML data in file:" + path);
  }

  const XMLElement* root = xml->FirstChildElement();
  if (!root) throw std::runtime_error("Invalid file:" + path);
  if (const char* version = root->Attribute("version")) document.xmlVersion = versionNumber(version);

  for (const XMLElement* child = root->FirstChildElement(); child; child = child->NextSiblingElement()) {
    if (named(child, "tarnwick")) {
      readTool(child, document);
    } else if (named(child, "errors")) {
      for (const XMLElement* error = child->FirstChildElement(); error; error = error->NextSiblingElement())
        if (named(error, "error")) document.results.push_back(readResultRecord(error));
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
