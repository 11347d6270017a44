// The CWE Top 25 list and the entries the report calls "Not implemented".
#include "catalogues/tables.h"

namespace guidegate {

const std::vector<int> cweTop25 = {787, 79, 89, 416, 78, 20, 125, 22, 352, 434, 862, 476, 287, 190, 502, 77, 119, 798, 918, 306, 362, 269, 94, 863, 276};

const std::set<std::string> cweTop25NotImplemented = {"22", "79", "89", "352", "434", "862", "502", "77", "918", "306", "798", "362", "269", "94", "863", "276"};

}  // namespace guidegate
