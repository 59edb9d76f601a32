#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace plintor {

// What the index needs to know about a mask, found in one reading of its text.
struct MaskShape {
    struct Run {
        std::uint32_t start = 0;   // in Literals
        std::uint32_t length = 0;  // in code points
    };

    bool valid = false;
    // Without wildcards and written as keys are (valid UTF-8, no lower-case ASCII): such a
    // mask matches exactly the keys whose folded UTF-8 form equals its text.
    bool exact = false;
    // The folded code points of each maximal run of literal characters, back to back. Every
    // key the mask matches contains each run as it stands.
    std::u32string literals;
    std::vector<Run> runs;

    std::uint32_t longestRun() const;
};

// Fills `shape` (its buffers are reused, so one shape can serve many masks).
void describeMask(std::string_view mask, MaskShape& shape);

}  // namespace plintor
