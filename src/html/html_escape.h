// Making input texts safe to show inside the report's markup.
#pragma once

#include <string>
#include <string_view>

namespace guidegate {

// `text` with & < > " ' written as &amp; &lt; &gt; &quot; &#39;.
std::string escapeHtml(std::string_view text);
// Appends the escaped `text` to `out`.
void appendEscapedHtml(std::string& out, std::string_view text);

}  // namespace guidegate
