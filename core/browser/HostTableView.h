#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "core/browser/MaskTextsView.h"
#include "core/browser/TagFilterView.h"
#include "core/browser/TagTableView.h"

namespace plintor {

// The decision of a HostTable over its parts, wherever they lie (see HostTable for the four
// forms). Numbers found in the table are checked against the arrays, so a damaged image
// answers wrongly at worst, never reads outside.
struct HostTableView {
    enum Form : std::uint8_t { Bare, BareWithRest, Sub, SubWithRest };
    using Forms = std::uint8_t;  // one bit per Form

    static constexpr Forms bit(Form form) { return static_cast<Forms>(1u << form); }

    MaskTextsView names;
    TagTableView byName;  // tag of the host's name -> its number
    TagFilterView filter;
    std::span<const std::uint32_t> nameOf;  // by number: the name's reference
    std::span<const Forms> formsOf;         // by number
    std::size_t longest = 0;                // the longest name held

    // Whether a recorded mask matches the key, given as its folded UTF-8 text (MatchKey::text).
    bool anyMatches(std::string_view key) const;
    // Whether the host is held with one of the forms.
    bool holds(std::string_view host, Forms forms) const;
};

}  // namespace plintor
