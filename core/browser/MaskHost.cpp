#include "core/browser/MaskHost.h"

#include <optional>

#include "core/browser/AsciiHost.h"
#include "core/browser/MaskIpv6.h"
#include "core/browser/MaskToken.h"

namespace plintor {
namespace {

constexpr std::string_view HostEnds = "/?#:\\";

// A literal "/", "?", "#", ":" or "\", or a set of nothing else (the "[/:#]" of block lists).
bool endsHost(const MaskToken& token) {
    if (token.kind == MaskToken::Literal) {
        return token.codePoint < 0x80 &&
               HostEnds.find(static_cast<char>(token.codePoint)) != std::string_view::npos;
    }
    return token.kind == MaskToken::Set && !token.negated &&
           token.members.find_first_not_of(HostEnds) == std::string_view::npos;
}

struct HostLabel {
    std::string_view text;
    bool literal = true;  // no wildcard
    bool wide = false;    // a character beyond ASCII
};

// Each label of the host that starts at `start`, in order; gives where the host ends.
template <typename Visit>
std::size_t forEachHostLabel(std::string_view mask, std::size_t start, Visit visit) {
    HostLabel label;
    std::size_t labelStart = start;
    std::size_t pos = start;
    while (pos < mask.size()) {
        const MaskToken token = readMaskToken(mask, pos);
        if (endsHost(token)) {
            break;
        }
        if (token.kind == MaskToken::Literal && token.codePoint == '.') {
            label.text = mask.substr(labelStart, pos - labelStart);
            visit(label);
            label = {};
            labelStart = token.next;
        } else if (token.kind == MaskToken::Literal) {
            label.wide = label.wide || token.codePoint >= 0x80;
        } else {
            label.literal = false;
        }
        pos = token.next;
    }
    label.text = mask.substr(labelStart, pos - labelStart);
    visit(label);
    return pos;
}

std::optional<std::size_t> hostStart(std::string_view mask) {
    const std::size_t separator = mask.find("://");
    if (separator == std::string_view::npos) {
        return std::nullopt;
    }
    return separator + 3;
}

}  // namespace

// Lists of hundreds of thousands of masks are read at start: the usual ASCII mask is passed by
// one scan.
std::optional<std::string> maskWithKeyHost(std::string_view mask) {
    const std::optional<std::size_t> start = hostStart(mask);
    if (!start) {
        return std::nullopt;
    }
    const bool ipv6 = opensIpv6Address(mask, *start);
    if (!ipv6 && isAsciiText(mask)) {
        return std::nullopt;
    }
    std::string written(mask.substr(0, *start));
    if (ipv6) {
        const std::size_t close = mask.find(']', *start);
        written += *canonicalIpv6(mask.substr(*start + 1, close - *start - 1));
        return written + std::string(mask.substr(close + 1));
    }
    bool first = true;
    const std::size_t end = forEachHostLabel(mask, *start, [&](const HostLabel& label) {
        written += first ? "" : ".";
        first = false;
        if (label.literal && label.wide) {
            written += asciiHostName(label.text);
        } else {
            written += label.text;
        }
    });
    return written + std::string(mask.substr(end));
}

std::vector<std::string> unconvertibleHostLabels(std::string_view mask) {
    std::vector<std::string> labels;
    if (const std::optional<std::size_t> start = hostStart(mask)) {
        forEachHostLabel(mask, *start, [&](const HostLabel& label) {
            if (!label.literal && label.wide) {
                labels.emplace_back(label.text);
            }
        });
    }
    return labels;
}

}  // namespace plintor
