#pragma once

#include <QList>
#include <QPixmap>
#include <QStringList>

namespace plintor {

// One size of a family of images, loaded from the program's resources.
class TImageList {
public:
    TImageList(int width, int height, const QStringList& resources);

    // The image in screen pixels, marked for the screen's device pixel ratio.
    QPixmap Image(int index, qreal devicePixelRatio) const;
    QSize Size() const { return FSize; }

private:
    QSize FSize;
    QStringList FResources;
};

// The three sizes of a family, for screens of the classes 100, 150 and 200.
struct TImageFamily {
    TImageList Class100;
    TImageList Class150;
    TImageList Class200;
};

const TImageList& ScaledImageList(const TImageFamily& family, int pixelsPerInch);

// The action images: back, forward, home, shut down, restart, log off, exit.
enum TActionImage { ImageBack, ImageForward, ImageHome, ImageShutDown, ImageRestart, ImageLogOff, ImageExit };
const TImageFamily& PIL();
const TImageFamily& PILW();  // wheelchair
const TImageFamily& PILT();  // keyboard
const TImageFamily& PILC();  // blocked sign

}  // namespace plintor
