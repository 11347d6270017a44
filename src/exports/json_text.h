// JSON text written a piece at a time, laid out exactly as nlohmann-json's dump(2)
// lays out the whole document: the arrays that hold one entry per finding are written
// entry by entry, so that a run with millions of findings never holds them as one
// document tree.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

namespace guidegate {

class JsonText {
 public:
  using json = nlohmann::ordered_json;
  // Writes the members of an object: by name, those that are written piece by piece.
  using Members = std::vector<std::pair<std::string_view, std::function<void(JsonText&)>>>;

  // A whole value, in the place the text has reached: an array's next element, or the
  // value of the member just named.
  void value(const json& value);
  // An object or an array written piece by piece: `key` names each member, `value` or a
  // nested begin ... end gives its value.
  void beginObject() { open('{'); }
  void endObject() { close('}'); }
  void beginArray() { open('['); }
  void endArray() { close(']'); }
  void key(std::string_view name);
  // The members of `object` in their order, each as `value` writes it, except those named
  // in `written`, whose values in `object` are placeholders: their functions write them.
  void object(const json& object, const Members& written);

  // The text, ended by a line break; whole once every object and array begun has ended.
  std::string take() && {
    text_ += '\n';
    return std::move(text_);
  }

 private:
  void open(char bracket);
  void close(char bracket);
  void place();  // before a value: the separator and the indentation it needs
  void appendIndented(std::string_view dumped);

  std::string text_;
  std::vector<bool> empty_;  // per open object or array: nothing in it yet
  bool afterKey_ = false;
};

}  // namespace guidegate
