#include "core/lockdown/InputDevices.h"

#include <cctype>

#include "core/support/TextCase.h"

namespace plintor {
namespace {

bool hasWord(const std::string& name, const std::string& word) {
    const std::string lower = asciiLower(name);
    std::size_t start = 0;
    while ((start = lower.find(word, start)) != std::string::npos) {
        const std::size_t end = start + word.size();
        const bool wordStart =
            start == 0 || !std::isalnum(static_cast<unsigned char>(lower[start - 1]));
        const bool wordEnd =
            end == lower.size() || !std::isalnum(static_cast<unsigned char>(lower[end]));
        if (wordStart && wordEnd) {
            return true;
        }
        start = end;
    }
    return false;
}

}  // namespace

bool isPenDevice(const std::string& name, const std::vector<std::string>& axisLabels) {
    for (const char* word : {"stylus", "pen", "eraser"}) {
        if (hasWord(name, word)) {
            return true;
        }
    }
    for (const std::string& label : axisLabels) {
        if (label == "Abs Tilt X" || label == "Abs Tilt Y") {
            return true;
        }
    }
    return false;
}

}  // namespace plintor
