// Input texts made inert for the places CI systems show them.
#include <gtest/gtest.h>

#include <string>

#include "exports/exports.h"

namespace guidegate {
namespace {

const std::string wj = "\u2060";

TEST(NeutralText, PlainTextPassesAsItIs) {
  for (const char* text : {"nullPointer", "src/main.c", "Rule 10.1", "Tarnwick 2.14", "a_b-c.d e", "été", ""})
    EXPECT_EQ(neutralText(text), text);
}

TEST(NeutralText, LinksMentionsAndReferencesAreBroken) {
  EXPECT_EQ(neutralText("https://x.example/a"), "https:" + wj + "//x.example/a");
  EXPECT_EQ(neutralText("see www.x.example"), "see www" + wj + ".x.example");
  EXPECT_EQ(neutralText("WWW.X"), "WWW" + wj + ".X");
  EXPECT_EQ(neutralText("evil@x.example"), "evil@" + wj + "x.example");
  EXPECT_EQ(neutralText("@org/team"), "@" + wj + "org/team");
  EXPECT_EQ(neutralText("#1 org/repo#2 GH-3"), "#" + wj + "1 org/repo#" + wj + "2 GH" + wj + "-3");
  EXPECT_EQ(neutralText("!4 ~label %m &5 $x$"),
            "!" + wj + "4 ~" + wj + "label %" + wj + "m &" + wj + "5 $" + wj + "x$" + wj);
  EXPECT_EQ(neutralText("<b>"), "<" + wj + "b>");
  EXPECT_EQ(neutralText("mailto:a"), "mailto:" + wj + "a");
}

TEST(NeutralText, NothingStartsALineOrACommand) {
  EXPECT_EQ(neutralText("a\nb\r\nc\td"), "a b  c d");
  EXPECT_EQ(neutralText("x\n::error::y"), "x :" + wj + ":" + wj + "error:" + wj + ":" + wj + "y");
  EXPECT_EQ(neutralText("/close"), wj + "/close");
  EXPECT_EQ(neutralText("a /close"), "a /close");  // not at a line start: left as it is
  EXPECT_EQ(neutralText("a\u2028b\u2029c\u0085d"), "a b c d");
}

TEST(NeutralText, ControlsReorderingAndBrokenUtf8BecomeReplacementCharacters) {
  const std::string r = "\uFFFD";
  EXPECT_EQ(neutralText(std::string("a\0b", 3)), "a" + r + "b");
  EXPECT_EQ(neutralText("a\x1b[31mb"), "a" + r + "[31mb");
  EXPECT_EQ(neutralText("\u202eevil"), r + "evil");
  EXPECT_EQ(neutralText("bad\xff\xfe!"), "bad" + r + r + "!" + wj);
  EXPECT_EQ(neutralText("\xc3"), r);                  // cut sequence
  EXPECT_EQ(neutralText("\xc0\xaf"), r + r);          // overlong "/"
  EXPECT_EQ(neutralText("\xed\xa0\x80"), r + r + r);  // a surrogate
}

}  // namespace
}  // namespace guidegate
