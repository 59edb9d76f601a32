#include "core/app/KioskMessage.h"

#include <charconv>

namespace plintor {
namespace {

constexpr std::string_view Magic = "PLINTOR/1 ";

template <typename T>
bool readNumber(std::string_view& text, T& value, char terminator) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end == text.data() + text.size() || *end != terminator) {
        return false;
    }
    text.remove_prefix(static_cast<std::size_t>(end - text.data()) + 1);
    return true;
}

}  // namespace

std::string encodeKioskMessage(const KioskMessage& message) {
    return std::string(Magic) + std::to_string(messageNumber(message.kind)) + ' ' +
           std::to_string(message.wParam) + ' ' + std::to_string(message.lParam) + ' ' +
           std::to_string(message.text.size()) + '\n' + message.text;
}

std::optional<KioskMessage> decodeKioskMessage(std::string_view datagram) {
    if (!datagram.starts_with(Magic)) {
        return std::nullopt;
    }
    datagram.remove_prefix(Magic.size());
    KioskMessage message;
    std::uint32_t kind = 0;
    std::size_t length = 0;
    if (!readNumber(datagram, kind, ' ') || !readNumber(datagram, message.wParam, ' ') ||
        !readNumber(datagram, message.lParam, ' ') || !readNumber(datagram, length, '\n')) {
        return std::nullopt;
    }
    message.kind = messageKindOf(kind);
    const std::string_view text = datagram.substr(0, length);
    message.text = text.substr(0, text.find('\0'));
    return message;
}

std::string kioskChannelName(unsigned userId) {
    return "Plintor" + std::to_string(userId);
}

}  // namespace plintor
