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

// One dump of the object, the placeholders null in it; each placeholder's member is the
// line "  NAME: null" at the object's first level of indentation, which no deeper member
// and no string (whose line breaks are written \n) can match.
void JsonText::object(const json& object, const Members& written) {
  place();
  const std::string whole = dumped(object);
  const std::string_view text(whole);
  std::size_t from = 0;
  for (const auto& member : object.items()) {
    const auto found =
        std::find_if(written.begin(), written.end(), [&](const auto& entry) { return entry.first == member.key(); });
    if (found == written.end()) continue;
    const std::string named = "\n" + std::string(indentStep, ' ') + dumped(json(member.key())) + ": ";
    const std::size_t at = text.find(named + "null", from);
    if (at == std::string_view::npos) continue;  // not a placeholder: written as it stands
    appendIndented(text.substr(from, at + named.size() - from));
    empty_.push_back(false);  // inside the object, past its first member
    afterKey_ = true;
    found->second(*this);
    empty_.pop_back();
    from = at + named.size() + 4;  // past "null"
  }
  appendIndented(text.substr(from));
}

}  // namespace guidegate
