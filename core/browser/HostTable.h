#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/browser/HostTableView.h"
#include "core/browser/MaskArena.h"
#include "core/browser/TagFilter.h"
#include "core/browser/TagTable.h"

namespace plintor {

// Block lists write each host as up to four deny masks:
//   *://HOST   *://HOST[/:#]*   *://*.HOST   *://*.HOST[/:#]*
// They make up nearly every mask of a large list, so the table keeps the host once with the
// forms that were added, and answers for them by looking up the hosts a key names instead of
// reading the masks. Only masks whose meaning that lookup reproduces exactly are taken: an
// upper-case host of letters, digits, ".", "-" and "_" (so the key's folded text compares
// byte for byte), and the deny role, where the leading "*" may stand for anything.
class HostTable {
public:
    using Form = HostTableView::Form;
    static constexpr Form Bare = HostTableView::Bare;
    static constexpr Form BareWithRest = HostTableView::BareWithRest;
    static constexpr Form Sub = HostTableView::Sub;
    static constexpr Form SubWithRest = HostTableView::SubWithRest;

    // One mask of the table: which host and which form, in 32 bits.
    using Item = std::uint32_t;

    struct HostMask {
        std::string_view host;
        Form form = Bare;
    };

    // The host and form of a mask written exactly as one of the four, or none.
    static std::optional<HostMask> recognise(std::string_view mask);

    // Records the form for the host. None when that mask is already there. Raises
    // std::length_error past 2^30 hosts.
    std::optional<Item> add(HostMask mask);
    void clear();

    // Whether a recorded mask matches the key, given as its folded UTF-8 text (MatchKey::text).
    bool anyMatches(std::string_view key) const { return view().anyMatches(key); }
    HostTableView view() const;

    // The mask's text as it was added.
    std::string maskText(Item item) const;

private:
    using Forms = HostTableView::Forms;

    std::optional<std::uint32_t> find(std::string_view host) const;

    MaskArena m_names;
    TagTable m_byName;  // tag of the host's name -> its number
    TagFilter m_filter;
    std::vector<MaskArena::Ref> m_nameOf;  // by number
    std::vector<Forms> m_formsOf;          // by number
    std::size_t m_longest = 0;             // the longest name held
};

}  // namespace plintor
