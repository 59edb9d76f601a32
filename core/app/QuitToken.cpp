#include "core/app/QuitToken.h"

namespace plintor {

std::int32_t quitTokenDate(int year, int month, int day) {
    return static_cast<std::int32_t>(static_cast<std::int64_t>(year) * month * day);
}

std::int32_t quitTokenKeyed(std::int32_t value) {
    return static_cast<std::int32_t>(static_cast<std::int64_t>(value) *
                                     static_cast<std::int64_t>(QuitTokenKey) % 2147483647);
}

bool checkQuitToken(std::int32_t wParam, std::int32_t lParam, int year, int month, int day) {
    return wParam == quitTokenDate(year, month, day) && lParam == quitTokenKeyed(wParam);
}

}  // namespace plintor
