#pragma once

#include <optional>
#include <string>

namespace plintor {

// The file of this user's kiosk channel, in a folder that only this user (and root) can enter:
// $XDG_RUNTIME_DIR, else /tmp/plintor-<uid>, which the kiosk makes (`create`). None, with
// `error` said, when another user could reach the folder (a folder another user made in /tmp
// in advance is no place for the kiosk's channel), or it is missing and was to be made.
std::optional<std::string> privateChannelPath(bool create, std::string& error);

}  // namespace plintor
