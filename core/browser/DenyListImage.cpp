#include "core/browser/DenyListImage.h"

#include <cstring>
#include <functional>
#include <span>

namespace plintor {
namespace {

constexpr std::size_t Alignment = 8;

// Appends the parts one after the other, each on an aligned offset, and records where.
class ImageWriter {
public:
    ImageWriter() { m_bytes.resize(sizeof(DenyListImage::Header)); }

    template <typename T>
    void add(DenyListImage::Section section, std::span<const T> items) {
        addBytes(section, {reinterpret_cast<const char*>(items.data()), items.size_bytes()});
    }

    // The windows back to back in `texts`, their extents in `windows`.
    void addWindows(DenyListImage::Section texts, DenyListImage::Section windows,
                    std::span<const std::string_view> blocks) {
        std::string joined;
        std::vector<std::uint64_t> extents;
        for (const std::string_view block : blocks) {
            extents.push_back(joined.size());
            extents.push_back(block.size());
            joined.append(block);
        }
        addBytes(texts, joined);
        add(windows, std::span<const std::uint64_t>(extents));
    }

    DenyListImage::Header& header() { return m_header; }

    std::string finish() {
        m_header.magic = DenyListImage::Magic;
        m_header.version = DenyListImage::Version;
        m_header.headerSize = sizeof(DenyListImage::Header);
        m_header.imageSize = m_bytes.size();
        std::memcpy(m_bytes.data(), &m_header, sizeof(m_header));
        m_header.checksum = DenyListImage::checksumOf(m_bytes);
        std::memcpy(m_bytes.data(), &m_header, sizeof(m_header));
        return std::move(m_bytes);
    }

private:
    void addBytes(DenyListImage::Section section, std::string_view bytes) {
        m_bytes.resize((m_bytes.size() + Alignment - 1) / Alignment * Alignment);
        m_header.sections[section] = {m_bytes.size(), bytes.size()};
        m_bytes.append(bytes);
    }

    std::string m_bytes;
    DenyListImage::Header m_header{};
};

}  // namespace

std::string DenyListImage::of(const UrlLists& lists) {
    const UrlMatcherView list = lists.denyList();
    ImageWriter image;
    image.addWindows(Texts, TextWindows, list.texts.windows());
    image.add(ByText, list.byText.slots());
    image.add(Unanchored, list.unanchored);
    image.add(AnchorSlots, list.anchored.table.slots());
    image.add(AnchorFilter, list.anchored.filter.bits());
    image.addWindows(HostNames, HostNameWindows, list.hosts.names.windows());
    image.add(HostByName, list.hosts.byName.slots());
    image.add(HostFilter, list.hosts.filter.bits());
    image.add(HostNameOf, list.hosts.nameOf);
    image.add(HostFormsOf, list.hosts.formsOf);
    Header& header = image.header();
    header.anchorFilterMask = list.anchored.filter.mask();
    header.hostFilterMask = list.hosts.filter.mask();
    header.hostLongest = list.hosts.longest;
    header.masksPerLength = list.anchored.masksPerLength;
    header.state = static_cast<std::uint64_t>(lists.denyListState());
    return image.finish();
}

std::uint64_t DenyListImage::checksumOf(std::string_view image) {
    Header header{};
    std::memcpy(&header, image.data(), sizeof(header));
    header.checksum = 0;
    const std::hash<std::string_view> hash;
    const std::uint64_t ofHeader =
        hash(std::string_view(reinterpret_cast<const char*>(&header), sizeof(header)));
    return ofHeader * 0x9E3779B97F4A7C15ull + hash(image.substr(sizeof(header)));
}

}  // namespace plintor
