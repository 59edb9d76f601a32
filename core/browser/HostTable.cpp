#include "core/browser/HostTable.h"

#include <algorithm>
#include <stdexcept>

#include "core/browser/MaskHash.h"

namespace plintor {
namespace {

constexpr std::string_view AnyScheme = "*://";
constexpr std::string_view AnySubDomain = "*://*.";
constexpr std::string_view AnyRest = "[/:#]*";

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
    if ((forms & HostTableView::bit(mask.form)) != 0) {
        return std::nullopt;
    }
    forms |= HostTableView::bit(mask.form);
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

HostTableView HostTable::view() const {
    return {m_names.view(), m_byName.view(), m_filter.view(), m_nameOf, m_formsOf, m_longest};
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
