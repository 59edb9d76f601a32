#pragma once

#include <string>
#include <string_view>

namespace plintor {

// A candidate key prepared once for every mask it meets: its code points with ASCII letters
// folded to upper case, and the UTF-8 text of those code points (what an exact mask must equal).
class MatchKey {
public:
    explicit MatchKey(std::string_view key);

    std::u32string_view codes() const { return m_codes; }
    std::string_view text() const { return m_text; }

private:
    std::u32string m_codes;
    std::string m_text;
};

}  // namespace plintor
