#include "core/app/KioskMessage.h"

#include <charconv>

namespace plintor {
namespace {

constexpr std::string_view Magic = "PLINTOR/1 ";

template <typename T>
bool ReadNumber(std::string_view& text, T& value, char terminator) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end == text.data() + text.size() || *end != terminator) {
        return false;
    }
    text.remove_prefix(static_cast<std::size_t>(end - text.data()) + 1);
    return true;
}

}  // namespace

std::string EncodeKioskMessage(const TKioskMessage& message) {
    return std::string(Magic) + std::to_string(message.Msg) + ' ' + std::to_string(message.WParam) +
           ' ' + std::to_string(message.LParam) + ' ' + std::to_string(message.Text.size()) + '\n' +
           message.Text;
}

std::optional<TKioskMessage> DecodeKioskMessage(std::string_view datagram) {
    if (!datagram.starts_with(Magic)) {
        return std::nullopt;
    }
    datagram.remove_prefix(Magic.size());
    TKioskMessage message;
    std::size_t length = 0;
    if (!ReadNumber(datagram, message.Msg, ' ') || !ReadNumber(datagram, message.WParam, ' ') ||
        !ReadNumber(datagram, message.LParam, ' ') || !ReadNumber(datagram, length, '\n')) {
        return std::nullopt;
    }
    const std::string_view text = datagram.substr(0, length);
    message.Text = text.substr(0, text.find('\0'));
    return message;
}

std::string KioskChannelName(unsigned userId) {
    return "Plintor" + std::to_string(userId);
}

}  // namespace plintor
