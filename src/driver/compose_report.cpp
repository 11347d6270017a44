#include "driver/compose_report.h"

#include "catalogues/coding_standard.h"
#include "driver/report_document.h"

namespace guidegate {
namespace {

std::string buildBody(const RunOptions& options, const BodyInputs& inputs, BodyState& state) {
  switch (options.standard) {
    case CodingStandard::MisraC2012:
      return buildMisraCReportBody(2012, inputs, state);
    case CodingStandard::MisraC2023:
      return buildMisraCReportBody(2023, inputs, state);
    default: {
      const ReportCatalogue catalogue = reportCatalogue(options.standard);
      return buildReportBody(catalogue.guidelines(), catalogue.notImplemented(), inputs, state);
    }
  }
}

}  // namespace

std::string ComposedReport::text() const {
  std::string document;
  document.reserve(head.size() + sections.size() + body.size() + 32);
  document += head;
  document += sections;
  document += "<br>\n";
  document += body;
  document += reportEnd;
  return document;
}

ComposedReport composeReport(const RunOptions& options, const ResultsDocument& document,
                             const CheckersRun& checkersRun, const std::string& date, std::ostream& out,
                             std::ostream& err, ReportModel* model) {
  ComposedReport report;
  report.state.model = model;
  const BodyInputs inputs{document, checkersRun, options.filesList, options.suppressionList, err};
  report.body = buildBody(options, inputs, report.state);
  report.head = reportHead(options, document, date, report.state, out);
  report.sections = exceptionSections(options, document, report.state);
  return report;
}

}  // namespace guidegate
