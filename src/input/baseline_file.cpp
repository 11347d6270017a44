#include "input/baseline_file.h"

#include <climits>
#include <cstdint>
#include <string>

#include <nlohmann/json.hpp>

#include "input/input_error.h"
#include "input/text_file.h"

namespace guidegate {
namespace {

using json = nlohmann::json;

[[noreturn]] void invalid(const std::string& reason) { throw InputError(reason); }

// A text from the file as a reason may quote it: printable ASCII only, at most 40
// characters, so that standard error stays one plain line.
std::string shownText(std::string_view text) {
  std::string shown;
  for (const char c : text.substr(0, 40)) shown += c >= ' ' && c <= '~' ? c : '?';
  if (text.size() > 40) shown += "...";
  return "\"" + shown + "\"";
}

const json& member(const json& object, const char* name, const std::string& where) {
  const auto found = object.find(name);
  if (found == object.end()) invalid("malformed: " + where + " has no " + name);
  return *found;
}

std::string text(const json& object, const char* name, const std::string& where) {
  const json& value = member(object, name, where);
  if (!value.is_string()) invalid("malformed: " + where + "." + name + " is not a string");
  return value.get<std::string>();
}

int count(const json& object, const char* name, const std::string& where, std::int64_t& total) {
  const json& value = member(object, name, where);
  if (!value.is_number_integer() || value.get<std::int64_t>() < 0 || value.get<std::int64_t>() > INT_MAX)
    invalid("malformed: " + where + "." + name + " is not a count");
  total += value.get<std::int64_t>();
  if (total > INT_MAX) invalid("malformed: more findings than a count holds");
  return value.get<int>();
}

BaselineGuideline guideline(const json& entry, const std::string& where, std::int64_t& total) {
  if (!entry.is_object()) invalid("malformed: " + where + " is not an object");
  BaselineGuideline read;
  read.id = text(entry, "id", where);
  const json& executed = member(entry, "executed", where);
  if (!executed.is_boolean()) invalid("malformed: " + where + ".executed is not a boolean");
  read.executed = executed.get<bool>();
  const json& counts = member(entry, "findingCounts", where);
  if (!counts.is_array()) invalid("malformed: " + where + ".findingCounts is not an array");
  read.findingCounts.reserve(counts.size());
  for (std::size_t i = 0; i < counts.size(); ++i) {
    const std::string at = where + ".findingCounts[" + std::to_string(i) + "]";
    if (!counts[i].is_object()) invalid("malformed: " + at + " is not an object");
    BaselineCount key;
    key.id = text(counts[i], "id", at);
    key.file = text(counts[i], "file", at);
    key.count = count(counts[i], "count", at, total);
    key.accepted = count(counts[i], "accepted", at, total);
    read.findingCounts.push_back(std::move(key));
  }
  return read;
}

}  // namespace

BaselineFile parseBaseline(std::string_view content, std::string_view standardFlag) {
  json root;
  try {
    root = json::parse(content);
  } catch (const json::parse_error& error) {
    invalid("not JSON (at byte " + std::to_string(error.byte) + ")");
  } catch (const json::out_of_range&) {
    invalid("not JSON (a number out of range)");
  }
  if (!root.is_object()) invalid("not a JSON report (no object)");
  const auto version = root.find("schemaVersion");
  if (version == root.end() || !version->is_number_integer()) invalid("not a JSON report (no schemaVersion)");
  if (*version != baselineSchemaVersion) {
    // A huge unsigned version reads as negative here, which is unknown all the same.
    const std::int64_t number = version->get<std::int64_t>();
    if (number >= 1 && number < baselineSchemaVersion)
      invalid("schema version " + std::to_string(number) + " has no findingCounts (write the baseline with version " +
              std::to_string(baselineSchemaVersion) + ")");
    invalid("unknown schema version " + version->dump());
  }
  const auto standard = root.find("standard");
  if (standard == root.end() || !standard->is_object()) invalid("malformed: no standard");
  const std::string flag = text(*standard, "flag", "standard");
  if (flag != standardFlag)
    invalid("written for another standard (" + shownText(flag) + ", not " + shownText(standardFlag) + ")");

  const auto guidelines = root.find("guidelines");
  if (guidelines == root.end() || !guidelines->is_array()) invalid("malformed: guidelines is not an array");
  BaselineFile baseline;
  baseline.guidelines.reserve(guidelines->size());
  std::int64_t total = 0;
  for (std::size_t i = 0; i < guidelines->size(); ++i)
    baseline.guidelines.push_back(guideline((*guidelines)[i], "guidelines[" + std::to_string(i) + "]", total));
  return baseline;
}

ReadInput<BaselineFile> readBaselineInput(const std::string& path, std::string_view standardFlag, Digest digest) {
  std::optional<std::string> content;
  try {
    content = readInputFile(path);
  } catch (const InputError&) {
    content.reset();  // a device or a read error: as unreadable as a missing file
  }
  if (!content) throw InputError("Invalid baseline file:" + path + ": cannot be read");
  ReadInput<BaselineFile> read;
  try {
    read.content = parseBaseline(*content, standardFlag);
  } catch (const InputError& error) {
    throw InputError("Invalid baseline file:" + path + ": " + error.what());
  }
  if (digest == Digest::Sha256) read.digest = digestInput(path, *content);
  return read;
}

}  // namespace guidegate
