// The CERT C rules that the CERT C++ report leaves out.
#include "catalogues/tables.h"

namespace guidegate {

const std::set<std::string> certCNotInCpp = {
    "ARR32", "ARR36", "CON30", "CON31", "CON32", "CON34", "CON35", "CON36", "CON38", "CON39", "DCL31", "DCL36", "DCL37", "DCL38", "DCL41", "EXP30", "EXP32", "EXP33", "EXP40", "EXP43", "EXP44", "MEM33", "SIG30"};

}  // namespace guidegate
