#include "platform/win32/CopyDataText.h"

#include <cstring>

#include "platform/win32/WideText.h"

namespace plintor {

std::string copyDataText(const void* data, std::size_t bytes) {
    if (data == nullptr) {
        return {};
    }
    // Copied out: the sender's buffer need not be aligned for wide characters.
    std::wstring text(bytes / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), data, text.size() * sizeof(wchar_t));
    return toUtf8(text.substr(0, text.find(L'\0')));
}

}  // namespace plintor
