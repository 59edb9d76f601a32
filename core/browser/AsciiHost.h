#pragma once

#include <string>
#include <string_view>

namespace plintor {

// A host name as match keys write it, so that one host gets one decision in either alphabet:
// ASCII letters in lower case, and a name with other characters in the ASCII (punycode) form
// the engine looks up (idnaToAscii). When the name as a whole has no such form, each label is
// converted alone and a label that has none stays as written.
std::string asciiHostName(std::string_view name);

bool isAsciiText(std::string_view text);

}  // namespace plintor
