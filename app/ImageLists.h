#pragma once

#include <QList>
#include <QPixmap>
#include <QStringList>

namespace plintor {

// One size of a family of images, loaded from the program's resources.
class ImageList {
public:
    ImageList(int width, int height, const QStringList& resources);

    // The image in screen pixels, marked for the screen's device pixel ratio.
    QPixmap image(int index, qreal devicePixelRatio) const;
    QSize size() const { return m_size; }

private:
    QSize m_size;
    QStringList m_resources;
};

// The three sizes of a family, for screens of the classes 100, 150 and 200.
struct ImageFamily {
    ImageList class100;
    ImageList class150;
    ImageList class200;
};

const ImageList& scaledImageList(const ImageFamily& family, int pixelsPerInch);

// Positions in navigationImages(): back, forward, home, shut down, restart, log off, exit.
enum ActionImage {
    ImageBack,
    ImageForward,
    ImageHome,
    ImageShutDown,
    ImageRestart,
    ImageLogOff,
    ImageExit
};
const ImageFamily& navigationImages();
const ImageFamily& wheelchairImages();
const ImageFamily& keyboardImages();
const ImageFamily& blockedSignImages();

}  // namespace plintor
