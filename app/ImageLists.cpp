#include "app/ImageLists.h"

#include "core/support/ScreenScale.h"

namespace plintor {
namespace {

TImageList ActionList(int size) {
    const QString folder = QStringLiteral(":/icons/%1/").arg(size);
    const QString suffix = QStringLiteral("_%1.png").arg(size);
    return TImageList(
        size, size,
        {folder + "arrow_left" + suffix, folder + "arrow_right" + suffix, folder + "home" + suffix,
         folder + "system-shutdown.png", folder + "system-reboot.png",
         folder + "system-switch-user.png", folder + "application-exit.png"});
}

TImageList SingleImage(int width, int height, const QString& resource) {
    return TImageList(width, height, {resource});
}

}  // namespace

TImageList::TImageList(int width, int height, const QStringList& resources)
    : FSize(width, height), FResources(resources) {}

QPixmap TImageList::Image(int index, qreal devicePixelRatio) const {
    QPixmap image(FResources.value(index));
    image.setDevicePixelRatio(devicePixelRatio);
    return image;
}

const TImageList& ScaledImageList(const TImageFamily& family, int pixelsPerInch) {
    switch (ScaleClass(pixelsPerInch)) {
        case 200:
            return family.Class200;
        case 150:
            return family.Class150;
        default:
            return family.Class100;
    }
}

const TImageFamily& PIL() {
    static const TImageFamily family{ActionList(32), ActionList(48), ActionList(64)};
    return family;
}

const TImageFamily& PILW() {
    static const TImageFamily family{SingleImage(32, 32, ":/icons/32/wheelchair.png"),
                                     SingleImage(48, 48, ":/icons/48/wheelchair.png"),
                                     SingleImage(64, 64, ":/icons/64/wheelchair.png")};
    return family;
}

const TImageFamily& PILT() {
    static const TImageFamily family{SingleImage(73, 24, ":/icons/32/keyboard.png"),
                                     SingleImage(98, 32, ":/icons/48/keyboard.png"),
                                     SingleImage(147, 48, ":/icons/64/keyboard.png")};
    return family;
}

const TImageFamily& PILC() {
    static const TImageFamily family{SingleImage(16, 16, ":/icons/16/dialog-block-16.png"),
                                     SingleImage(24, 24, ":/icons/24/dialog-block-24.png"),
                                     SingleImage(32, 32, ":/icons/32/dialog-block-32.png")};
    return family;
}

}  // namespace plintor
