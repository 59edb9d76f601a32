#include "core/browser/HostTableView.h"

#include "core/browser/MaskHash.h"

namespace plintor {
namespace {

constexpr std::string_view SchemeEnd = "://";
constexpr std::string_view RestStarts = "/:#";

// The next "/", ":" or "#" at or after `from`. Candidates are asked in increasing order, so the
// last answer is reused while it still lies ahead: a key is scanned once, not once per dot.
class RestFinder {
public:
    explicit RestFinder(std::string_view key) : m_key(key) {}

    std::size_t from(std::size_t pos) {
        if (m_next != std::string_view::npos && m_next < pos) {
            m_next = m_key.find_first_of(RestStarts, pos);
        }
        return m_next;
    }

private:
    std::string_view m_key;
    std::size_t m_next = 0;
};

}  // namespace

bool HostTableView::holds(std::string_view host, Forms forms) const {
    if (host.empty() || host.size() > longest) {
        return false;
    }
    const std::uint32_t tag = textTagOf(host);
    return filter.mayHold(tag) && byName.anyOf(tag, [&](std::uint32_t number) {
        return number < nameOf.size() && number < formsOf.size() &&
               (formsOf[number] & forms) != 0 && names.text(nameOf[number]) == host;
    });
}

// A host holds none of "/", ":" and "#", so where a host starts decides where it ends: at the
// next of them (a form with the rest) or at the key's end (a form without). "*://HOST" hosts
// start after a "://", "*://*.HOST" ones after a "." that follows the key's first "://".
bool HostTableView::anyMatches(std::string_view key) const {
    const std::size_t firstSchemeEnd = key.find(SchemeEnd);
    if (firstSchemeEnd == std::string_view::npos || nameOf.empty()) {
        return false;
    }
    const auto hostMatches = [&](RestFinder& rest, std::size_t start, Form bare, Form withRest) {
        const std::size_t end = rest.from(start);
        return end == std::string_view::npos ? holds(key.substr(start), bit(bare))
                                             : holds(key.substr(start, end - start), bit(withRest));
    };
    RestFinder afterScheme(key);
    for (std::size_t at = firstSchemeEnd; at != std::string_view::npos;
         at = key.find(SchemeEnd, at + 1)) {
        if (hostMatches(afterScheme, at + SchemeEnd.size(), Bare, BareWithRest)) {
            return true;
        }
    }
    RestFinder afterDot(key);
    for (std::size_t dot = key.find('.', firstSchemeEnd + SchemeEnd.size());
         dot != std::string_view::npos; dot = key.find('.', dot + 1)) {
        if (hostMatches(afterDot, dot + 1, Sub, SubWithRest)) {
            return true;
        }
    }
    return false;
}

}  // namespace plintor
