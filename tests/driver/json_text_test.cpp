// The JSON outputs written piece by piece must read, byte for byte, as the whole document
// dumped at once would.
#include "exports/json_text.h"

#include <gtest/gtest.h>

#include <string>

namespace guidegate {
namespace {

using json = JsonText::json;

// What the whole output reads: the document's dump and a line break.
std::string dumpedWhole(const json& value) { return value.dump(2, ' ', false, json::error_handler_t::replace) + "\n"; }

// Writes `value` with every object and array opened and closed piece by piece down to
// `depth`, and below it as whole values.
void writePieces(JsonText& text, const json& value, int depth) {
  if (depth == 0 || !value.is_structured()) return text.value(value);
  if (value.is_object()) {
    text.beginObject();
    for (const auto& [name, member] : value.items()) {
      text.key(name);
      writePieces(text, member, depth - 1);
    }
    text.endObject();
  } else {
    text.beginArray();
    for (const auto& element : value) writePieces(text, element, depth - 1);
    text.endArray();
  }
}

const json samples[] = {
    json::object(),
    json::array(),
    {{"schemaVersion", 3}, {"empty", json::object()}, {"none", json::array()}, {"null", nullptr}},
    {{"text", "line one\nline two\t\"quoted\" \\ back"}, {"control", "\x01\x1f"}, {"bytes", "bad \xff byte"}},
    {{"nested", {{"a", {{"b", {{"c", json::array({1, 2, json::array(), json::object()})}}}}}}}},
    json::array({json::object(), json::array({json::array({json::array()})}), "x", 1.5, true, false, nullptr}),
    {{"findings", json::array({{{"id", "nullPointer"}, {"locations", json::array({{{"file", "a\nb.c"}, {"line", 3}}})}},
                               {{"id", "uninitvar"}, {"locations", json::array()}}})},
     {"unicode", "\xc3\xa9\xe2\x82\xac"}},
};

TEST(JsonText, PiecesReadAsTheWholeDumpAtEveryDepth) {
  for (const json& sample : samples)
    for (int depth = 0; depth <= 6; ++depth) {
      JsonText text;
      writePieces(text, sample, depth);
      EXPECT_EQ(std::move(text).take(), dumpedWhole(sample)) << sample.dump() << " to depth " << depth;
    }
}

// A string that reads like a placeholder's line, and a deeper member of the same name,
// stay as they are.
TEST(JsonText, MembersWrittenByTheirFunctionsTakeThePlaceholdersPlaces) {
  const json whole = {{"before", "x\n  \"findings\": null"},
                      {"deeper", {{"findings", nullptr}}},
                      {"findings", json::array({{{"id", "a"}}, {{"id", "b"}}})},
                      {"empty", json::array()},
                      {"after", {{"x", "y"}}}};
  json placeholders = whole;
  placeholders["findings"] = nullptr;
  placeholders["empty"] = nullptr;
  JsonText text;
  text.object(placeholders, {{"findings",
                              [](JsonText& out) {
                                out.beginArray();
                                out.value({{"id", "a"}});
                                out.value({{"id", "b"}});
                                out.endArray();
                              }},
                             {"empty", [](JsonText& out) {
                                out.beginArray();
                                out.endArray();
                              }}});
  EXPECT_EQ(std::move(text).take(), dumpedWhole(whole));
}

}  // namespace
}  // namespace guidegate
