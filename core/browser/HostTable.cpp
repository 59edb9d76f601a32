#include "core/browser/HostTable.h"

#include <algorithm>
#include <stdexcept>

#include "core/browser/MaskHash.h"

namespace plintor {
namespace {

constexpr std::string_view SchemeEnd = "://";
constexpr std::string_view AnyScheme = "*://";
constexpr std::string_view AnySubDomain = "*://*.";
constexpr std::string_view AnyRest = "[/:#]*";
constexpr std::string_view RestStarts = "/:#";

// Longer names are no hosts; they stay in the general index, which keeps the candidates a key
// offers short however many dots it holds.
constexpr std::size_t MaxHostLength = 253;
constexpr std::size_t MaxHosts = std::size_t{1} << 30;  // an item keeps two bits for the form

bool isHostCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '-' || c == '_';
}

bool hasRest(HostTable::Form form) {
    return form == HostTable::BareWithRest || form == HostTable::SubWithRest;
}

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

std::optional<HostTable::HostMask> HostTable::recognise(std::string_view mask) {
    const bool withRest = mask.ends_with(AnyRest);
    if (withRest) {
        mask.remove_suffix(AnyRest.size());
    }
    const bool sub = mask.starts_with(AnySubDomain);
    if (sub) {
        mask.remove_prefix(AnySubDomain.size());
    } else if (mask.starts_with(AnyScheme)) {
        mask.remove_prefix(AnyScheme.size());
    } else {
        return std::nullopt;
    }
    if (mask.empty() || mask.size() > MaxHostLength ||
        !std::all_of(mask.begin(), mask.end(), isHostCharacter)) {
        return std::nullopt;
    }
    const Form form = sub ? (withRest ? SubWithRest : Sub) : (withRest ? BareWithRest : Bare);
    return HostMask{mask, form};
}

std::optional<std::uint32_t> HostTable::find(std::string_view host) const {
    std::optional<std::uint32_t> found;
    m_byName.anyOf(textTagOf(host), [&](std::uint32_t number) {
        if (m_names.text(m_nameOf[number]) != host) {
            return false;
        }
        found = number;
        return true;
    });
    return found;
}

std::optional<HostTable::Item> HostTable::add(HostMask mask) {
    std::optional<std::uint32_t> number = find(mask.host);
    if (!number) {
        if (m_nameOf.size() >= MaxHosts) {
            throw std::length_error("a mask list cannot hold more than 2^30 hosts");
        }
        number = static_cast<std::uint32_t>(m_nameOf.size());
        m_nameOf.push_back(m_names.add(mask.host));
        m_formsOf.push_back(0);
        const std::uint32_t tag = textTagOf(mask.host);
        m_byName.insert(tag, *number);
        m_filter.insert(tag, m_byName.size(), [this](auto set) { m_byName.forEachTag(set); });
        m_longest = std::max(m_longest, mask.host.size());
    }
    Forms& forms = m_formsOf[*number];
    if ((forms & bit(mask.form)) != 0) {
        return std::nullopt;
    }
    forms |= bit(mask.form);
    return (*number << 2) | mask.form;
}

void HostTable::clear() {
    m_names.clear();
    m_byName.clear();
    m_filter.clear();
    m_nameOf = {};
    m_formsOf = {};
    m_longest = 0;
}

bool HostTable::holds(std::string_view host, Forms forms) const {
    if (host.empty() || host.size() > m_longest) {
        return false;
    }
    const std::uint32_t tag = textTagOf(host);
    return m_filter.mayHold(tag) && m_byName.anyOf(tag, [&](std::uint32_t number) {
        return (m_formsOf[number] & forms) != 0 && m_names.text(m_nameOf[number]) == host;
    });
}

// A host holds none of "/", ":" and "#", so where a host starts decides where it ends: at the
// next of them (a form with the rest) or at the key's end (a form without). "*://HOST" hosts
// start after a "://", "*://*.HOST" ones after a "." that follows the key's first "://".
bool HostTable::anyMatches(std::string_view key) const {
    const std::size_t firstSchemeEnd = key.find(SchemeEnd);
    if (firstSchemeEnd == std::string_view::npos || m_nameOf.empty()) {
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

std::string HostTable::maskText(Item item) const {
    const auto form = static_cast<Form>(item & 3);
    const bool sub = form == Sub || form == SubWithRest;
    std::string text(sub ? AnySubDomain : AnyScheme);
    text += m_names.text(m_nameOf[item >> 2]);
    if (hasRest(form)) {
        text += AnyRest;
    }
    return text;
}

}  // namespace plintor
