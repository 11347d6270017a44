// The compliance cell of a guideline's row in the Violations table.
#pragma once

#include <string>

#include "classify/guideline_status.h"

namespace guidegate {

// The HTML text of the compliance cell; ids are escaped.
std::string statusCell(const GuidelineVerdict& verdict);

// The sentence a compliance cell shows for `count` findings of `id`:
// "<br>There are N 'id' messages.", or the empty text when `count` is 0.
std::string messageSentence(int count, const std::string& id);

}  // namespace guidegate
