// The deny list read in place from its image against UrlLists::isUrlDenied over the same
// masks, and images that are cut short or damaged.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/browser/DenyListImage.h"
#include "core/browser/DenyListView.h"
#include "core/browser/UrlLists.h"
#include "tests/support/AddressCase.h"
#include "tests/support/RowName.h"

namespace plintor {
namespace {

using Lines = std::vector<std::string>;

// The image in memory aligned as a mapping is, so that a test can damage it.
class AlignedImage {
public:
    explicit AlignedImage(const std::string& bytes)
        : m_words((bytes.size() + 7) / 8), m_size(bytes.size()) {
        if (!bytes.empty()) {
            std::memcpy(m_words.data(), bytes.data(), bytes.size());
        }
    }
    char* data() { return reinterpret_cast<char*>(m_words.data()); }
    std::span<const char> bytes() const {
        return {reinterpret_cast<const char*>(m_words.data()), m_size};
    }
    DenyListImage::Header header() const {
        DenyListImage::Header header{};
        std::memcpy(&header, m_words.data(), sizeof(header));
        return header;
    }
    // Writes the header back with its checksum made right again, as a crafted image would.
    void setHeader(DenyListImage::Header header) {
        std::memcpy(data(), &header, sizeof(header));
        header.checksum = DenyListImage::checksumOf({data(), m_size});
        std::memcpy(data(), &header, sizeof(header));
    }

private:
    std::vector<std::uint64_t> m_words;
    std::size_t m_size;
};

UrlLists denyLists(const Lines& masks) {
    UrlLists lists;
    for (const std::string& mask : masks) {
        lists.blacklistAddUrl(mask);
    }
    return lists;
}

std::unique_ptr<DenyListView> openView(const AlignedImage& image) {
    std::string error;
    std::unique_ptr<DenyListView> view = DenyListView::open(image.bytes(), error);
    EXPECT_EQ(view == nullptr, !error.empty()) << error;
    return view;
}

Lines hostMasks(const std::string& host) {
    return {"*://" + host, "*://" + host + "[/:#]*", "*://*." + host, "*://*." + host + "[/:#]*"};
}

// Every kind of mask the matcher files differently, with addresses of the spellings the
// decision folds: case, IDN, IP forms, ports, queries, fragments, userinfo.
Lines tableMasks() {
    Lines masks = hostMasks("tracker.example");
    for (const std::string& mask : hostMasks("127.0.0.2")) {
        masks.push_back(mask);
    }
    masks.insert(masks.end(),
                 {"http://host/secret", "http://host/secret/*", "*://localhost:8080/tracker/*",
                  "*.EXE", "*/ads/*",
                  "https://b\xC3\xBC"
                  "cher.example/*",
                  "?*://*.shop.example/cart", "[hf]*://files.example/*", "*", "http://host/exact"});
    masks.erase(std::find(masks.begin(), masks.end(), "*"));  // "*" would deny every row
    return masks;
}

using DecisionCase = test::AddressCase<bool>;  // expected: the list denies the address

class DenyListViewTableTest : public ::testing::TestWithParam<DecisionCase> {};

TEST_P(DenyListViewTableTest, AnswersAsTheOwnedList) {
    const UrlLists lists = denyLists(tableMasks());
    const AlignedImage image(DenyListImage::of(lists));
    const std::unique_ptr<DenyListView> view = openView(image);
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(lists.isUrlDenied(GetParam().address), GetParam().expected) << "the row is wrong";
    EXPECT_EQ(view->isUrlDenied(GetParam().address), GetParam().expected) << GetParam().address;
}

INSTANTIATE_TEST_SUITE_P(
    Masks, DenyListViewTableTest,
    ::testing::Values(
        DecisionCase{"HostMaskBare", "https://tracker.example", true},
        DecisionCase{"HostMaskWithPath", "http://tracker.example/p.png?x=1", true},
        DecisionCase{"HostMaskSubDomain", "https://cdn.tracker.example/a.js", true},
        DecisionCase{"HostMaskUpperCase", "HTTPS://CDN.TRACKER.EXAMPLE/A.JS", true},
        DecisionCase{"HostMaskOtherHost", "https://nottracker.example/", false},
        DecisionCase{"HostMaskWithPort", "https://tracker.example:8443/", true},
        DecisionCase{"IpMaskDecimalSpelling", "http://2130706434/", true},
        DecisionCase{"IpMaskHexSpelling", "http://0x7f.0.0.2/x", true},
        DecisionCase{"IpMaskOtherAddress", "http://127.0.0.3/x", false},
        DecisionCase{"ExactMask", "http://host/secret", true},
        DecisionCase{"ExactMaskTrailingSlash", "http://host/secret/", true},
        DecisionCase{"ExactMaskQueryDropped", "http://host/exact?q=1", true},
        DecisionCase{"ExactMaskOtherPath", "http://host/secrets", false},
        DecisionCase{"AnchoredMaskWebSocket", "ws://localhost:8080/tracker/ws", true},
        DecisionCase{"AnchoredMaskOtherPort", "ws://localhost:8081/tracker/ws", false},
        DecisionCase{"UnanchoredSuffix", "http://host/setup.exe", true},
        DecisionCase{"UnanchoredSuffixFragment", "http://host/setup.exe#x", true},
        DecisionCase{"AnchoredFolder", "https://news.example/ads/banner.gif", true},
        DecisionCase{"IdnUnicodeSpelling",
                     "https://b\xC3\xBC"
                     "cher.example/x",
                     true},
        DecisionCase{"IdnPunycodeSpellingIsTheSameHost", "https://xn--bcher-kva.example/x", true},
        DecisionCase{"QuestionMarkScheme", "https://www.shop.example/cart", true},
        DecisionCase{"SetInScheme", "gopher://files.example/a", false},
        DecisionCase{"SetInSchemeMatches", "https://files.example/a", true},
        DecisionCase{"UserinfoDoesNotHideTheHost", "http://user@tracker.example/", true},
        DecisionCase{"PlainAllowedAddress", "https://example.org/", false}),
    test::RowName());

TEST(DenyListViewTest, AnEmptyListDeniesNothing) {
    const AlignedImage image(DenyListImage::of(UrlLists()));
    const std::unique_ptr<DenyListView> view = openView(image);
    ASSERT_NE(view, nullptr);
    EXPECT_FALSE(view->isUrlDenied("https://example.org/"));
}

// The web processes must deny everything while the program's deny list cannot be read, however
// few masks it holds: the image says so, it is not an empty list.
TEST(DenyListViewTest, AnUnreadableListDeniesAllButTheKiosksOwnPages) {
    for (const Lines& masks : {Lines{}, tableMasks()}) {
        UrlLists lists = denyLists(masks);
        lists.blacklistUnreadable();
        const AlignedImage image(DenyListImage::of(lists));
        const std::unique_ptr<DenyListView> view = openView(image);
        ASSERT_NE(view, nullptr);
        EXPECT_EQ(image.header().state, static_cast<std::uint64_t>(DenyListState::Unreadable));
        for (const char* url :
             {"https://example.org/", "http://127.0.0.1:8080/a.png", "about:blank"}) {
            EXPECT_EQ(view->isUrlDenied(url), lists.isUrlDenied(url)) << url;
        }
        EXPECT_TRUE(view->isUrlDenied("https://example.org/"));
        EXPECT_FALSE(view->isUrlDenied("about:blank"));
    }
}

// Long lists spread over many text windows and grown tables and filters.
TEST(DenyListViewTest, AManyWindowListAnswersAsTheOwnedList) {
    Lines masks;
    for (int i = 0; i < 20000; ++i) {
        const std::string n = std::to_string(i);
        masks.push_back(i % 2 == 0 ? "*://*.host" + n + ".example"
                                   : "http://site.example/" + n + "/*");
    }
    masks.push_back("*/" + std::string(70000, 'L') + "*");  // a text wider than a window
    const UrlLists lists = denyLists(masks);
    const AlignedImage image(DenyListImage::of(lists));
    const std::unique_ptr<DenyListView> view = openView(image);
    ASSERT_NE(view, nullptr);
    for (int i = 0; i < 20000; i += 7) {
        const std::string n = std::to_string(i);
        for (const std::string& url :
             {"https://a.host" + n + ".example/", "http://site.example/" + n + "/x",
              "http://site.example/x" + n}) {
            ASSERT_EQ(view->isUrlDenied(url), lists.isUrlDenied(url)) << url;
        }
    }
    const std::string wide = "http://h/" + std::string(70000, 'l') + "/";
    EXPECT_TRUE(view->isUrlDenied(wide));
    EXPECT_EQ(view->isUrlDenied(wide.substr(0, 60000)), lists.isUrlDenied(wide.substr(0, 60000)));
}

TEST(DenyListViewTest, ACutImageIsRefusedAtEveryLength) {
    const std::string bytes = DenyListImage::of(denyLists(tableMasks()));
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        const AlignedImage image(bytes.substr(0, size));
        std::string error;
        ASSERT_EQ(DenyListView::open(image.bytes(), error), nullptr) << size;
        EXPECT_FALSE(error.empty());
    }
}

TEST(DenyListViewTest, AChangedByteAnywhereIsRefused) {
    const std::string bytes = DenyListImage::of(denyLists(tableMasks()));
    for (std::size_t at = 0; at < bytes.size(); ++at) {
        AlignedImage image(bytes);
        image.data()[at] ^= 0x10;
        std::string error;
        ASSERT_EQ(DenyListView::open(image.bytes(), error), nullptr) << at;
    }
}

TEST(DenyListViewTest, AnImageOffItsAlignmentIsRefused) {
    const std::string bytes = DenyListImage::of(denyLists(tableMasks()));
    std::vector<std::uint64_t> words(bytes.size() / 8 + 2);
    char* shifted = reinterpret_cast<char*>(words.data()) + 1;
    std::memcpy(shifted, bytes.data(), bytes.size());
    std::string error;
    EXPECT_EQ(DenyListView::open({shifted, bytes.size()}, error), nullptr);
    EXPECT_NE(error.find("boundary"), std::string::npos) << error;
}

// Images whose checksum was made right after the damage: the structure is checked on its own.
struct CraftCase {
    const char* name;
    void (*damage)(DenyListImage::Header&, std::size_t imageSize);
};

class CraftedImageTest : public ::testing::TestWithParam<CraftCase> {};

TEST_P(CraftedImageTest, IsRefused) {
    AlignedImage image(DenyListImage::of(denyLists(tableMasks())));
    DenyListImage::Header header = image.header();
    GetParam().damage(header, image.bytes().size());
    image.setHeader(header);
    std::string error;
    EXPECT_EQ(DenyListView::open(image.bytes(), error), nullptr);
    EXPECT_FALSE(error.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Damage, CraftedImageTest,
    ::testing::Values(
        CraftCase{"SectionPastTheEnd",
                  [](DenyListImage::Header& h, std::size_t size) {
                      h.sections[DenyListImage::ByText].offset = size;
                  }},
        CraftCase{"SectionSizeWrapsAround",
                  [](DenyListImage::Header& h, std::size_t) {
                      h.sections[DenyListImage::Texts].size = ~std::uint64_t{0} - 7;
                  }},
        CraftCase{"SectionOffAlignment",
                  [](DenyListImage::Header& h, std::size_t) {
                      h.sections[DenyListImage::HostNameOf].offset += 1;
                  }},
        CraftCase{"FilterMaskWiderThanItsBits",
                  [](DenyListImage::Header& h, std::size_t) { h.anchorFilterMask = 0xFFFFFFFF; }},
        CraftCase{"WindowTableCutInHalf",
                  [](DenyListImage::Header& h, std::size_t) {
                      h.sections[DenyListImage::TextWindows].size -= 8;
                  }},
        CraftCase{"OtherVersion", [](DenyListImage::Header& h, std::size_t) { ++h.version; }},
        CraftCase{"UnknownListState", [](DenyListImage::Header& h, std::size_t) { h.state = 2; }},
        CraftCase{"SizeOtherThanTheBytes",
                  [](DenyListImage::Header& h, std::size_t) { h.imageSize += 8; }}),
    [](const auto& info) { return std::string(info.param.name); });

// A well-formed image whose tables say nonsense answers without reading outside it or looping:
// every slot filled (no end to a probe) and every reference pointing past its texts.
TEST(DenyListViewTest, NonsenseTablesEndWithoutReadingOutside) {
    AlignedImage image(DenyListImage::of(denyLists(tableMasks())));
    const DenyListImage::Header header = image.header();
    for (const DenyListImage::Section section :
         {DenyListImage::ByText, DenyListImage::AnchorSlots, DenyListImage::HostByName}) {
        const DenyListImage::Extent slots = header.sections[section];
        auto* slot = reinterpret_cast<TagSlot*>(image.data() + slots.offset);
        for (std::size_t i = 0; i < slots.size / sizeof(TagSlot); ++i) {
            slot[i].ref = 0xFFFF0 + static_cast<std::uint32_t>(i);
        }
    }
    image.setHeader(header);
    const std::unique_ptr<DenyListView> view = openView(image);
    ASSERT_NE(view, nullptr);
    for (const char* url :
         {"https://tracker.example/", "http://host/secret", "http://host/a.exe"}) {
        view->isUrlDenied(url);
    }
}

std::filesystem::path blockListDir() {
    const char* overridden = std::getenv("PLINTOR_BLOCKLISTS");
    return overridden != nullptr ? overridden : PLINTOR_BLOCKLISTS;
}

// Addresses near a mask: its wildcards filled in, one character changed, a sub-domain.
Lines addressesNear(std::string mask) {
    std::string address;
    for (std::size_t i = 0; i < mask.size(); ++i) {
        if (mask[i] == '[') {
            const std::size_t end = mask.find(']', i + 2);
            address += end == std::string::npos ? '/' : mask[i + 1] == '!' ? 'q' : mask[i + 1];
            i = end == std::string::npos ? mask.size() : end;
        } else {
            address += mask[i] == '*' ? "a" : mask[i] == '?' ? "b" : std::string(1, mask[i]);
        }
    }
    std::string sibling = address;
    sibling[sibling.size() / 2] ^= 1;
    const std::size_t schemeEnd = address.find("://");
    return {address, sibling,
            schemeEnd == std::string::npos
                ? address
                : "https://www." + address.substr(schemeEnd + 3) + "/i.html"};
}

TEST(DenyListViewRealListTest, AnswersAsTheOwnedListOverTheBlockLists) {
    std::ifstream in(blockListDir() / "masks-real.txt");
    Lines masks;
    for (std::string line; std::getline(in, line);) {
        masks.push_back(line);
    }
    if (masks.empty()) {
        GTEST_SKIP() << "no block lists in " << blockListDir()
                     << "; scripts/blocklists/prepare.sh builds them";
    }
    const UrlLists lists = denyLists(masks);
    const AlignedImage image(DenyListImage::of(lists));
    const std::unique_ptr<DenyListView> view = openView(image);
    ASSERT_NE(view, nullptr);
    int denied = 0;
    int disagreements = 0;
    for (std::size_t i = 0; i < masks.size(); i += 37) {
        for (const std::string& url : addressesNear(masks[i])) {
            const bool expected = lists.isUrlDenied(url);
            denied += expected ? 1 : 0;
            if (view->isUrlDenied(url) != expected && ++disagreements <= 10) {
                ADD_FAILURE() << url;
            }
        }
    }
    EXPECT_EQ(disagreements, 0);
    EXPECT_GT(denied, 100) << "the sample hardly reaches the list";
}

}  // namespace
}  // namespace plintor
