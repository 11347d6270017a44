#include "html/cells.h"

#include <gtest/gtest.h>

#include "html/html_escape.h"
#include "html/status_cell.h"

namespace guidegate {
namespace {

TEST(Cells, WrapTextVerbatimWithoutWhitespace) {
  EXPECT_EQ(td(""), "<td></td>");
  EXPECT_EQ(tr(""), "<tr></tr>");
  EXPECT_EQ(td("a<b & \"c\""), "<td>a<b & \"c\"</td>");
  EXPECT_EQ(th("x<br>y"), "<th>x<br>y</th>");
  EXPECT_EQ(thead(tr(th("Id"))), "<thead><tr><th>Id</th></tr></thead>");
}

TEST(Cells, WidthHeaderLiterals) {
  EXPECT_EQ(complianceHeader, "<th width=\"300px\">Compliance</th>");
  EXPECT_EQ(numberOfReportsHeader, "<th width=\"300px\">Number of reports</th>");
}

TEST(TableFrame, HeadPartAndTableWithoutRows) {
  EXPECT_EQ(tableHead({th("Rule"), th("Id")}), "<table>\n<thead><tr><th>Rule</th><th>Id</th></tr></thead>\n<tbody>\n");
  EXPECT_EQ(tableHead({th("Guideline"), complianceHeader}) + std::string(tableEnd),
            "<table>\n<thead><tr><th>Guideline</th><th width=\"300px\">Compliance</th></tr></thead>\n"
            "<tbody>\n</tbody></table>\n");
}

TEST(MessageSentence, AlwaysPluralAndEscaped) {
  EXPECT_EQ(messageSentence(0, "nullPointer"), "");
  EXPECT_EQ(messageSentence(1, "nullPointer"), "<br>There are 1 'nullPointer' messages.");
  EXPECT_EQ(messageSentence(12, "x"), "<br>There are 12 'x' messages.");
  EXPECT_EQ(messageSentence(1, "a<b>&'\""), "<br>There are 1 'a&lt;b&gt;&amp;&#39;&quot;' messages.");
}

TEST(HtmlEscape, EscapesTheFiveMarkupCharacters) {
  EXPECT_EQ(escapeHtml("&<>\"'"), "&amp;&lt;&gt;&quot;&#39;");
  EXPECT_EQ(escapeHtml("a<b>&c"), "a&lt;b&gt;&amp;c");
  EXPECT_EQ(escapeHtml("&amp;"), "&amp;amp;");
  EXPECT_EQ(escapeHtml("plain id-1.2 \t/\\"), "plain id-1.2 \t/\\");
  EXPECT_EQ(escapeHtml(""), "");
}

}  // namespace
}  // namespace guidegate
