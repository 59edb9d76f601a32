#include "app/ImageLists.h"

#include "core/support/ScreenScale.h"

namespace plintor {
namespace {

ImageList actionList(int size) {
    const QString folder = QStringLiteral(":/icons/%1/").arg(size);
    const QString suffix = QStringLiteral("_%1.png").arg(size);
    return ImageList(
        size, size,
        {folder + "arrow_left" + suffix, folder + "arrow_right" + suffix, folder + "home" + suffix,
         folder + "system-shutdown.png", folder + "system-reboot.png",
         folder + "system-switch-user.png", folder + "application-exit.png"});
}

ImageList singleImage(int width, int height, const QString& resource) {
    return ImageList(width, height, {resource});
}

}  // namespace

ImageList::ImageList(int width, int height, const QStringList& resources)
    : m_size(width, height), m_resources(resources) {}

QPixmap ImageList::image(int index, qreal devicePixelRatio) const {
    QPixmap image(m_resources.value(index));
    image.setDevicePixelRatio(devicePixelRatio);
    return image;
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
    static const ImageFamily family{singleImage(32, 32, ":/icons/32/wheelchair.png"),
                                    singleImage(48, 48, ":/icons/48/wheelchair.png"),
                                    singleImage(64, 64, ":/icons/64/wheelchair.png")};
    return family;
}

const ImageFamily& keyboardImages() {
    static const ImageFamily family{singleImage(73, 24, ":/icons/32/keyboard.png"),
                                    singleImage(98, 32, ":/icons/48/keyboard.png"),
                                    singleImage(147, 48, ":/icons/64/keyboard.png")};
    return family;
}

const ImageFamily& blockedSignImages() {
    static const ImageFamily family{singleImage(16, 16, ":/icons/16/dialog-block-16.png"),
                                    singleImage(24, 24, ":/icons/24/dialog-block-24.png"),
                                    singleImage(32, 32, ":/icons/32/dialog-block-32.png")};
    return family;
}

}  // namespace plintor
