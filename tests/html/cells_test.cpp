#include "html/cells.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace guidegate
