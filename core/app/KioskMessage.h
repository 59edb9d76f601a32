#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace plintor {

// Messages the kiosk window accepts from other programs and from itself.
constexpr std::uint32_t WM_QUERYENDSESSION = 0x0011;
constexpr std::uint32_t WM_COPYDATA = 0x004A;
constexpr std::uint32_t WM_REMOTEQUIT = 0x0500;
constexpr std::uint32_t WM_STARTHOME = 0x0501;
constexpr std::uint32_t WM_HIDESCREENSAVER = 0x0504;
// The operator's requests: the kiosk answers a status request with a status reply (its text is
// the status as JSON) and reads its allow and deny lists again on a reload request.
constexpr std::uint32_t WM_STATUSREQUEST = 0x0505;
constexpr std::uint32_t WM_STATUSREPLY = 0x0506;
constexpr std::uint32_t WM_RELOADLISTS = 0x0507;
// The operator's screenshot: the request's text names the PNG file to write; the reply's text is
// empty when it was written, else why not.
constexpr std::uint32_t WM_SCREENSHOT = 0x0508;
constexpr std::uint32_t WM_SCREENSHOTREPLY = 0x0509;

struct KioskMessage {
    std::uint32_t msg = 0;
    std::int32_t wParam = 0;
    std::int32_t lParam = 0;
    // WM_COPYDATA: the address to open (UTF-8); WM_STATUSREPLY: the JSON; WM_SCREENSHOT: the
    // file's name; WM_SCREENSHOTREPLY: why it was not written
    std::string text;

    bool operator==(const KioskMessage&) const = default;
};

// One datagram per message: "PLINTOR/1 <msg> <wparam> <lparam> <text length>\n" followed by
// the text's bytes. The text is read only up to the stated length and ends at a NUL.
std::string encodeKioskMessage(const KioskMessage& message);
std::optional<KioskMessage> decodeKioskMessage(std::string_view datagram);

// The channel's name: per user, so that two users' kiosks never meet.
std::string kioskChannelName(unsigned userId);

}  // namespace plintor
