#pragma once

#include <cstdint>

namespace plintor {

// Another program ends the kiosk by sending a RemoteQuit message with WParam = quitTokenDate of
// its local date and LParam = quitTokenKeyed of that WParam. The key is shared with such programs
// (`plintor --send quit` builds the message); the token is valid for one local day.
constexpr std::uint32_t QuitTokenKey = 0x5EED1A57;

std::int32_t quitTokenDate(int year, int month, int day);  // year * month * day
std::int32_t quitTokenKeyed(std::int32_t value);           // value * key mod 2147483647

// True when the parameters are today's token on the receiving machine.
bool checkQuitToken(std::int32_t wParam, std::int32_t lParam, int year, int month, int day);

}  // namespace plintor
