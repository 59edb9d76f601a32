// libFuzzer target: the compiled matcher must answer as the plain walk for any masks and key.
// Input: the key on the first line, one mask per following line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/browser/UrlMask.h"
#include "core/browser/UrlMatcher.h"
#include "tests/support/LinearUrlMatcher.h"

using namespace plintor;

namespace {

// Bounds that keep one run fast; the language's corners all fit well inside them.
constexpr std::size_t MaxMasks = 64;
constexpr std::size_t MaxInput = 4096;

std::string_view nextLine(std::string_view& input) {
    const std::size_t end = input.find('\n');
    const std::string_view line = input.substr(0, end);
    input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
    return line;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > MaxInput) {
        return 0;
    }
    std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string_view key = nextLine(input);
    UrlMatcher compiled;
    LinearUrlMatcher linear;
    for (std::size_t i = 0; i < MaxMasks && !input.empty(); ++i) {
        const std::string_view mask = nextLine(input);
        if (compiled.add(mask) != linear.add(mask)) {
            std::abort();
        }
        UrlMatcher single;
        single.add(mask);
        if (!mask.empty() &&
            single.anyMatches(key) != (urlMaskMatch(key, mask) == MaskMatch::Match)) {
            std::abort();
        }
    }
    if (compiled.anyMatches(key) != linear.anyMatches(key) ||
        compiled.entries() != linear.entries()) {
        std::abort();
    }
    return 0;
}
