#pragma once

#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/browser/UrlLists.h"
#include "core/browser/UrlMatcherView.h"

namespace plintor {

// A deny list read in place from its image (DenyListImage), answering exactly as
// UrlLists::isUrlDenied does for the lists it was made of. The image's bytes are not copied:
// they must stay mapped while the view lives.
class DenyListView {
public:
    // The view of an image, or none with the reason in `error` when the image is not whole
    // and sound: too short, another format or version, a part outside the image, a checksum
    // that does not match. Nothing outside `image` is ever read.
    static std::unique_ptr<DenyListView> open(std::span<const char> image, std::string& error);

    DenyListView(const DenyListView&) = delete;
    DenyListView& operator=(const DenyListView&) = delete;

    bool isUrlDenied(std::string_view url) const;

private:
    DenyListView() = default;

    // Where each window of the texts and of the host names lies in the image.
    std::vector<std::string_view> m_textWindows;
    std::vector<std::string_view> m_nameWindows;
    UrlMatcherView m_matcher;
    DenyListState m_state = DenyListState::Read;
};

}  // namespace plintor
