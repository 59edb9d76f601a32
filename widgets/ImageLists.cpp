#include "widgets/ImageLists.h"

#include "core/support/ScreenScale.h"

namespace plintor {
namespace {

ImageList actionList(int size) {
    const std::string folder = "/plintor/icons/" + std::to_string(size) + "/";
    const std::string suffix = "_" + std::to_string(size) + ".png";
    return ImageList(
        size, size,
        {folder + "arrow_left" + suffix, folder + "arrow_right" + suffix, folder + "home" + suffix,
         folder + "system-shutdown.png", folder + "system-reboot.png",
         folder + "system-switch-user.png", folder + "application-exit.png"});
}

ImageList singleImage(int width, int height, const std::string& resource) {
    return ImageList(width, height, {resource});
}

}  // namespace

ImageList::ImageList(int width, int height, std::vector<std::string> resources)
    : m_width(width), m_height(height), m_resources(std::move(resources)) {}

Glyph ImageList::image(int index, int scaleFactor) const {
    if (index < 0 || static_cast<std::size_t>(index) >= m_resources.size()) {
        return {};
    }
    return Glyph::fromResource(m_resources[static_cast<std::size_t>(index)], scaleFactor);
}

const ImageList& scaledImageList(const ImageFamily& family, int pixelsPerInch) {
    switch (scaleClass(pixelsPerInch)) {
        case 200:
            return family.class200;
        case 150:
            return family.class150;
        default:
            return family.class100;
    }
}

const ImageFamily& navigationImages() {
    static const ImageFamily family{actionList(32), actionList(48), actionList(64)};
    return family;
}

const ImageFamily& wheelchairImages() {
    static const ImageFamily family{singleImage(32, 32, "/plintor/icons/32/wheelchair.png"),
                                    singleImage(48, 48, "/plintor/icons/48/wheelchair.png"),
                                    singleImage(64, 64, "/plintor/icons/64/wheelchair.png")};
    return family;
}

const ImageFamily& keyboardImages() {
    static const ImageFamily family{singleImage(73, 24, "/plintor/icons/32/keyboard.png"),
                                    singleImage(98, 32, "/plintor/icons/48/keyboard.png"),
                                    singleImage(147, 48, "/plintor/icons/64/keyboard.png")};
    return family;
}

const ImageFamily& blockedSignImages() {
    static const ImageFamily family{singleImage(16, 16, "/plintor/icons/16/dialog-block-16.png"),
                                    singleImage(24, 24, "/plintor/icons/24/dialog-block-24.png"),
                                    singleImage(32, 32, "/plintor/icons/32/dialog-block-32.png")};
    return family;
}

}  // namespace plintor
