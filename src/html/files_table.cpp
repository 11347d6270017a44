#include "html/files_table.h"

#include "html/cells.h"
#include "html/html_escape.h"

namespace guidegate {
namespace {

void appendComplianceText(std::string& text, const FileRow& row) {
  if (row.errors > 0) {
    text += "There are ";
    text += std::to_string(row.errors);
    text += " errors.<br>";
  }
  if (row.warnings > 0) {
    text += "There are ";
    text += std::to_string(row.warnings);
    text += " warnings.<br>";
  }
  for (const auto& message : row.messages) {
    text += "<br>";
    text += message.guideline;
    text += ": There are ";
    text += std::to_string(message.count);
    text += " '";
    appendEscapedHtml(text, message.id);
    text += "' message(s).";
  }
}

}  // namespace

std::string buildFilesTable(const std::optional<std::vector<FileRow>>& rows) {
  if (!rows) return {};
  // Written piece by piece into one text: the section can hold tens of thousands of rows.
  std::string table = "<h2>Files</h2>" + tableHead({th("Filename"), th("md5sum"), complianceHeader});
  for (const FileRow& row : *rows) {
    table += "<tr><td>";
    appendEscapedHtml(table, row.fileName);
    table += "</td><td>";
    appendEscapedHtml(table, row.md5sum);
    table += "</td><td>";
    appendComplianceText(table, row);
    table += "</td></tr>";
  }
  table += tableEnd;
  return table;
}

}  // namespace guidegate
