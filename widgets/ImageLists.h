#pragma once

#include <string>
#include <vector>

#include "widgets/Glyph.h"

namespace plintor {

// One size of a family of images from the program's resources.
class ImageList {
public:
    ImageList(int width, int height, std::vector<std::string> resources);

    // The image in screen pixels, for a screen of that scale factor; null for an index out of
    // the list.
    Glyph image(int index, int scaleFactor) const;
    int width() const { return m_width; }
    int height() const { return m_height; }

private:
    int m_width;
    int m_height;
    std::vector<std::string> m_resources;
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
