#pragma once

#include <string>
#include <string_view>

namespace plintor {

// A candidate key prepared once for every mask it meets: its code points with ASCII letters
// folded to upper case, and the UTF-8 text of those code points (what an exact mask must equal).
class TMatchKey {
public:
    explicit TMatchKey(std::string_view key);

    std::u32string_view Codes() const { return FCodes; }
    std::string_view Text() const { return FText; }

private:
    std::u32string FCodes;
    std::string FText;
};

}  // namespace plintor
