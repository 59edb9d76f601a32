#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace plintor {

// A hash multimap from 32-bit tags (hash values) to 32-bit mask references, open addressing
// with linear probing. The tag alone places an entry, so growing never rereads the masks;
// equal tags may stand for different texts, and callers check what they find.
class TTagTable {
public:
    static constexpr std::uint32_t NoRef = 0xFFFFFFFF;

    void Insert(std::uint32_t tag, std::uint32_t ref);
    void Clear();
    std::size_t Count(std::uint32_t tag) const;
    std::size_t Size() const { return FUsed; }

    // Starts loading the slots of a tag that is about to be looked up, so that other work
    // can overlap the memory access.
    void Prefetch(std::uint32_t tag) const {
#if defined(__GNUC__)
        if (!FSlots.empty()) {
            __builtin_prefetch(&FSlots[Home(tag)]);
        }
#else
        (void)tag;
#endif
    }

    template <typename Visit>
    void ForEachTag(Visit visit) const {
        for (const TSlot& slot : FSlots) {
            if (slot.Ref != NoRef) {
                visit(slot.Tag);
            }
        }
    }

    // Calls `visit(ref)` for each entry of the tag.
    template <typename Visit>
    void ForEachOf(std::uint32_t tag, Visit visit) const {
        AnyOf(tag, [&](std::uint32_t ref) {
            visit(ref);
            return false;
        });
    }

    // Calls `found(ref)` for each entry of the tag until it returns true; says whether one did.
    template <typename Found>
    bool AnyOf(std::uint32_t tag, Found found) const {
        if (FSlots.empty()) {
            return false;
        }
        for (std::size_t i = Home(tag); FSlots[i].Ref != NoRef; i = Following(i)) {
            if (FSlots[i].Tag == tag && found(FSlots[i].Ref)) {
                return true;
            }
        }
        return false;
    }

private:
    struct TSlot {
        std::uint32_t Tag = 0;
        std::uint32_t Ref = NoRef;
    };

    std::size_t Home(std::uint32_t tag) const {
        return static_cast<std::size_t>((std::uint64_t{tag} * FSlots.size()) >> 32);
    }
    std::size_t Following(std::size_t i) const {
        return i + 1 == FSlots.size() ? 0 : i + 1;
    }
    void Place(TSlot slot);
    void Grow();

    std::vector<TSlot> FSlots;
    std::size_t FUsed = 0;
};

}  // namespace plintor
