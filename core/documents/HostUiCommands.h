#pragma once

#include <cstdint>

namespace plintor {

// The browser commands the host takes over (numbered as the published command set does) and
// the host's presentation flags. The engine wiring asks these rules before it suppresses a
// feature, so the set lives in one place.
enum THostCommand : int {
    OLECMDID_OPEN = 1,
    OLECMDID_SAVE = 3,
    OLECMDID_SAVEAS = 4,
    OLECMDID_SAVECOPYAS = 5,
    OLECMDID_PRINT = 6,
    OLECMDID_PRINTPREVIEW = 7,
    OLECMDID_PAGESETUP = 8,
    OLECMDID_PROPERTIES = 10,
    OLECMDID_CUT = 11,
    OLECMDID_ZOOM = 19,
    OLECMDID_FIND = 32,
    OLECMDID_SHOWSCRIPTERROR = 40,
    OLECMDID_SHOWMESSAGE = 41,
    OLECMDID_SHOWFIND = 42,
    OLECMDID_SHOWPAGESETUP = 43,
    OLECMDID_SHOWPRINT = 44,
    OLECMDID_CLOSE = 45,
    OLECMDID_ALLOWUILESSSAVEAS = 46,
    OLECMDID_PRINT2 = 49,
    OLECMDID_PRINTPREVIEW2 = 50,
    OLECMDID_SHOWPAGEACTIONMENU = 59,
    OLECMDID_OPTICAL_ZOOM = 63,
};

// True for 1 to 10, 19, 32, 40 to 46, 49, 50, 59 and 63: the host handles these itself, so
// the browser never opens, saves, prints, finds, shows messages or closes on its own.
bool IsHandledHostCommand(int commandId);

constexpr std::uint32_t DOCHOSTUIFLAG_DIALOG = 0x1;  // no text selection outside fields
constexpr std::uint32_t DOCHOSTUIFLAG_NO3DBORDER = 0x4;
constexpr std::uint32_t DOCHOSTUIFLAG_NO3DOUTERBORDER = 0x200000;
constexpr std::uint32_t DOCHOSTUIFLAG_ENABLE_REDIRECT_NOTIFICATION = 0x4000000;
constexpr std::uint32_t HostUiFlags = DOCHOSTUIFLAG_DIALOG | DOCHOSTUIFLAG_NO3DBORDER |
                                      DOCHOSTUIFLAG_NO3DOUTERBORDER |
                                      DOCHOSTUIFLAG_ENABLE_REDIRECT_NOTIFICATION;

// The browser's context menu is never shown.
constexpr bool HostShowsContextMenu = false;

}  // namespace plintor
