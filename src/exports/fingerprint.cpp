#include <sha2.h>

#include "exports/exports.h"

namespace guidegate {

std::string findingFingerprint(const ComplianceEvaluation& evaluation, const GuidelineEvaluation& judged,
                               const GuidelineFinding& finding) {
  const ResultRecord& record = evaluation.document->results[finding.position];
  // Each part ends with a NUL, which no part holds, so no two inputs read alike.
  std::string input = standardKey(evaluation.standard);
  for (const std::string_view part :
       {std::string_view(judged.name), std::string_view(record.id),
        record.locations.empty() ? std::string_view() : record.locations.front().file}) {
    input += '\0';
    input += part;
  }
  input += '\0';
  input += std::to_string(finding.occurrence);
  char hex[SHA256_DIGEST_STRING_LENGTH] = {};
  SHA256Data(reinterpret_cast<const std::uint8_t*>(input.data()), input.size(), hex);
  return hex;
}

}  // namespace guidegate
