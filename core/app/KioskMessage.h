#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace plintor {

// Messages the kiosk window accepts from other programs and from itself. The numbers are the
// program's interface: other programs send them, and on Windows they are window messages.
enum class MessageKind : std::uint32_t {
    QueryEndSession = 0x0011,
    CopyData = 0x004A,
    RemoteQuit = 0x0500,
    StartHome = 0x0501,
    HideScreensaver = 0x0504,
    // The operator's requests: the kiosk answers a status request with a status reply (its text
    // is the status as JSON) and reads its allow and deny lists again on a reload request.
    StatusRequest = 0x0505,
    StatusReply = 0x0506,
    ReloadLists = 0x0507,
    // The operator's screenshot: the request's text names the PNG file to write; the reply's
    // text is empty when it was written, else why not.
    Screenshot = 0x0508,
    ScreenshotReply = 0x0509,
};

constexpr std::uint32_t messageNumber(MessageKind kind) {
    return static_cast<std::uint32_t>(kind);
}

// Every number from outside is a kind: one the kiosk does not know keeps its number and is
// handled by nobody, as any other program's stray message.
constexpr MessageKind messageKindOf(std::uint32_t number) {
    return static_cast<MessageKind>(number);
}

struct KioskMessage {
    MessageKind kind{};
    std::int32_t wParam = 0;
    std::int32_t lParam = 0;
    // CopyData: the address to open (UTF-8); StatusReply: the JSON; Screenshot: the file's name;
    // ScreenshotReply: why it was not written
    std::string text;

    bool operator==(const KioskMessage&) const = default;
};

// One datagram per message: "PLINTOR/1 <kind> <wparam> <lparam> <text length>\n" followed by
// the text's bytes. The text is read only up to the stated length and ends at a NUL.
std::string encodeKioskMessage(const KioskMessage& message);
std::optional<KioskMessage> decodeKioskMessage(std::string_view datagram);

// The channel's name: per user, so that two users' kiosks never meet.
std::string kioskChannelName(unsigned userId);

}  // namespace plintor
