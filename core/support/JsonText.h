#pragma once

#include <string>
#include <string_view>

namespace plintor {

// `text` as a JSON string, quotes included. Quotes, backslashes, control characters and the
// two line separators JavaScript does not allow in strings (U+2028, U+2029) are escaped; other
// characters pass as UTF-8. Bytes that are not UTF-8 become U+FFFD, so that any text, an
// address a page made up included, gives valid JSON.
std::string jsonString(std::string_view text);

}  // namespace plintor
