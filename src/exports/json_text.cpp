#include "exports/json_text.h"

#include <algorithm>

namespace guidegate {

namespace {

constexpr std::size_t indentStep = 2;

std::string dumped(const JsonText::json& value) {
  return value.dump(static_cast<int>(indentStep), ' ', false, JsonText::json::error_handler_t::replace);
}

}  // namespace

void JsonText::place() {
  if (afterKey_) {
    afterKey_ = false;
    return;
  }
  if (empty_.empty()) return;
  text_ += empty_.back() ? "\n" : ",\n";
  empty_.back() = false;
  text_.append(empty_.size() * indentStep, ' ');
}

// A value dumped on its own starts at the left margin; in its place every line after
// the first moves right by the depth reached. A JSON text has a line break only between
// tokens (one in a string is written \n), so each marks the start of a line.
void JsonText::appendIndented(std::string_view dumped) {
  const std::size_t indent = empty_.size() * indentStep;
  for (std::size_t start = 0;;) {
    const std::size_t end = dumped.find('\n', start);
    if (end == std::string_view::npos) {
      text_ += dumped.substr(start);
      return;
    }
    text_ += dumped.substr(start, end + 1 - start);
    text_.append(indent, ' ');
    start = end + 1;
  }
}

void JsonText::value(const json& value) {
  place();
  appendIndented(dumped(value));
}

void JsonText::key(std::string_view name) {
  place();
  text_ += dumped(json(name));
  text_ += ": ";
  afterKey_ = true;
}

void JsonText::open(char bracket) {
  place();
  text_ += bracket;
  empty_.push_back(true);
}

void JsonText::close(char bracket) {
  const bool wasEmpty = empty_.back();
  empty_.pop_back();
  if (!wasEmpty) {
    text_ += '\n';
    text_.append(empty_.size() * indentStep, ' ');
  }
  text_ += bracket;
}

void JsonText::object(const json& object, const Members& written) {
  beginObject();
  for (const auto& member : object.items()) {
    const std::string& name = member.key();
    key(name);
    const auto found = std::find_if(written.begin(), written.end(), [&](const auto& entry) { return entry.first == name; });
    if (found != written.end())
      found->second(*this);
    else
      value(member.value());
  }
  endObject();
}

}  // namespace guidegate
