#include "classify/guideline_executed.h"

#include <cctype>
#include <string>
#include <string_view>

#include "catalogues/tables.h"
#include "classify/id_list.h"

namespace guidegate {
namespace {

bool ran(const CheckersRun& checkersRun, const std::string& label) {
  auto found = checkersRun.find(label);
  return found != checkersRun.end() && found->second;
}

std::string_view withoutPrefix(std::string_view text, std::string_view prefix) {
  if (text.starts_with(prefix)) text.remove_prefix(prefix.size());
  return text;
}

// "Cert C: " and the id's last seven characters in upper case ("int35-c" -> "INT35-C").
std::string certCLabel(std::string_view id) {
  std::string tail(id.size() > 7 ? id.substr(id.size() - 7) : id);
  for (char& c : tail) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return "Cert C: " + tail;
}

// The rule of either MISRA C edition: "Dir " when the id names a directive, then the
// number after the id's last "-".
std::string misraCRule(std::string_view id) {
  const auto dash = id.rfind('-');
  std::string number(dash == std::string_view::npos ? id : id.substr(dash + 1));
  return (id.find("-dir-") != std::string_view::npos ? "Dir " : "") + number;
}

}  // namespace

bool guidelineExecuted(const CheckersRun& checkersRun, const Guideline& row, std::ostream& diagnostics) {
  if (checkersRun.empty()) return false;
  const std::string rowKey(withoutPrefix(row.id, "Dir "));
  for (const auto& id : splitIdList(row.mappedIds)) {
    const std::string_view bare = withoutPrefix(id, "solvane-");
    if (bare.starts_with("cert-") && id.ends_with("-c")) {
      if (ran(checkersRun, certCLabel(id))) return true;
    } else if (bare.starts_with("cert-") && id.ends_with("-cpp")) {
      if (ran(checkersRun, "Cert C++: " + rowKey + "-CPP")) return true;
    } else if (bare.starts_with("autosar-")) {
      if (ran(checkersRun, "Autosar: " + rowKey)) return true;
    } else if (bare.starts_with("misra-c20")) {
      const std::string rule = misraCRule(id);
      if (ran(checkersRun, "Misra C 2012: " + rule) || ran(checkersRun, "Misra C 2023: " + rule)) return true;
    } else if (bare.starts_with("misra-cpp-2008-")) {
      if (ran(checkersRun, "Misra C++ 2008: " + rowKey) || ran(checkersRun, "Misra C++ 2008: M" + rowKey))
        return true;
    } else if (bare.starts_with("misra-cpp-2023-")) {
      if (ran(checkersRun, "Misra C++ 2023: " + rowKey)) return true;
    } else {
      auto label = checkerNames.find(id);
      if (label == checkerNames.end()) {
        diagnostics << "Internal error: id " << id << " missing mapping\n";
      } else if (label->second == "error" || (!label->second.empty() && ran(checkersRun, label->second))) {
        // "error" counts as run without a look-up; the empty label (sizeofSideEffects)
        // names no check, so it never counts as run.
        return true;
      }
    }
  }
  return false;
}

}  // namespace guidegate
