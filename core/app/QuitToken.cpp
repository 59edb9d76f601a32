#include "core/app/QuitToken.h"

namespace plintor {

std::int32_t QuitTokenDate(int year, int month, int day) {
    return static_cast<std::int32_t>(static_cast<std::int64_t>(year) * month * day);
}

std::int32_t QuitTokenKeyed(std::int32_t value) {
    return static_cast<std::int32_t>(static_cast<std::int64_t>(value) *
                                     static_cast<std::int64_t>(QuitTokenKey) % 2147483647);
}

bool CheckQuitToken(std::int32_t wParam, std::int32_t lParam, int year, int month, int day) {
    return wParam == QuitTokenDate(year, month, day) && lParam == QuitTokenKeyed(wParam);
}

}  // namespace plintor
