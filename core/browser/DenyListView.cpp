#include "core/browser/DenyListView.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <optional>

#include "core/browser/DenyListImage.h"
#include "core/browser/UrlLists.h"

namespace plintor {
namespace {

using Image = DenyListImage;

// Reads the parts of an image after checking that each lies inside it; the first fault is kept.
class ImageReader {
public:
    ImageReader(std::span<const char> bytes, const Image::Header& header, std::string& error)
        : m_bytes(bytes), m_header(header), m_error(error) {}

    template <typename T>
    std::span<const T> array(Image::Section section) {
        const Image::Extent extent = m_header.sections[section];
        if (extent.offset % alignof(T) != 0 || extent.size % sizeof(T) != 0 ||
            extent.offset > m_bytes.size() || extent.size > m_bytes.size() - extent.offset) {
            fail("a part lies outside the image");
            return {};
        }
        return {reinterpret_cast<const T*>(m_bytes.data() + extent.offset),
                static_cast<std::size_t>(extent.size / sizeof(T))};
    }

    // The windows of a text section as views into the image.
    std::vector<std::string_view> windows(Image::Section texts, Image::Section extents) {
        const std::span<const char> joined = array<char>(texts);
        const std::span<const std::uint64_t> pairs = array<std::uint64_t>(extents);
        std::vector<std::string_view> windows;
        if (pairs.size() % 2 != 0) {
            fail("a window table is cut short");
            return windows;
        }
        windows.reserve(pairs.size() / 2);
        for (std::size_t i = 0; i < pairs.size(); i += 2) {
            if (pairs[i] > joined.size() || pairs[i + 1] > joined.size() - pairs[i]) {
                fail("a window lies outside its texts");
                return {};
            }
            windows.emplace_back(joined.data() + pairs[i], pairs[i + 1]);
        }
        return windows;
    }

    // A filter's bits with its mask: the mask must keep every tag inside the bits.
    TagFilterView filter(Image::Section section, std::uint64_t mask) {
        const std::span<const std::uint64_t> bits = array<std::uint64_t>(section);
        if (!bits.empty() && (!std::has_single_bit(bits.size()) || mask + 1 != bits.size() * 64 ||
                              mask > UINT32_MAX)) {
            fail("a filter does not fit its bits");
            return {};
        }
        return TagFilterView(bits, static_cast<std::uint32_t>(mask));
    }

    void fail(const char* reason) {
        if (m_error.empty()) {
            m_error = reason;
        }
    }
    bool failed() const { return !m_error.empty(); }

private:
    std::span<const char> m_bytes;
    const Image::Header& m_header;
    std::string& m_error;
};

std::optional<Image::Header> readHeader(std::span<const char> image, std::string& error) {
    Image::Header header{};
    if (image.size() < sizeof(header)) {
        error = "the image is shorter than its header";
        return std::nullopt;
    }
    std::memcpy(&header, image.data(), sizeof(header));
    if (header.magic != Image::Magic) {
        error = "the bytes are no deny list image";
    } else if (header.version != Image::Version || header.headerSize != sizeof(header)) {
        error = "the image is of another version";
    } else if (header.state > static_cast<std::uint64_t>(DenyListState::Unreadable)) {
        error = "the image's list state is unknown";
    } else if (header.imageSize != image.size()) {
        error = "the image is cut short or too long";
    } else if (reinterpret_cast<std::uintptr_t>(image.data()) % alignof(std::uint64_t) != 0) {
        error = "the image does not start on an 8-byte boundary";
    } else if (Image::checksumOf({image.data(), image.size()}) != header.checksum) {
        error = "the image's checksum does not match its bytes";
    }
    return error.empty() ? std::optional(header) : std::nullopt;
}

}  // namespace

std::unique_ptr<DenyListView> DenyListView::open(std::span<const char> image, std::string& error) {
    error.clear();
    const std::optional<Image::Header> header = readHeader(image, error);
    if (!header) {
        return nullptr;
    }
    std::unique_ptr<DenyListView> view(new DenyListView);
    ImageReader read(image, *header, error);
    view->m_textWindows = read.windows(Image::Texts, Image::TextWindows);
    view->m_nameWindows = read.windows(Image::HostNames, Image::HostNameWindows);
    UrlMatcherView& list = view->m_matcher;
    list.role = MaskRole::Deny;
    list.texts = MaskTextsView(view->m_textWindows);
    list.byText = TagTableView(read.array<TagSlot>(Image::ByText));
    list.unanchored = read.array<std::uint32_t>(Image::Unanchored);
    list.anchored.table = TagTableView(read.array<TagSlot>(Image::AnchorSlots));
    list.anchored.filter = read.filter(Image::AnchorFilter, header->anchorFilterMask);
    list.anchored.masksPerLength = header->masksPerLength;
    list.hosts.names = MaskTextsView(view->m_nameWindows);
    list.hosts.byName = TagTableView(read.array<TagSlot>(Image::HostByName));
    list.hosts.filter = read.filter(Image::HostFilter, header->hostFilterMask);
    list.hosts.nameOf = read.array<std::uint32_t>(Image::HostNameOf);
    list.hosts.formsOf = read.array<HostTableView::Forms>(Image::HostFormsOf);
    list.hosts.longest = header->hostLongest;
    view->m_state = static_cast<DenyListState>(header->state);
    if (read.failed()) {
        return nullptr;
    }
    return view;
}

bool DenyListView::isUrlDenied(std::string_view url) const {
    return isDeniedBy(m_matcher, m_state, url);
}

}  // namespace plintor
