#pragma once

#include <string>
#include <string_view>

namespace plintor {

// The line the service manager shows for the running kiosk: the page's address (without a
// password) and how long nobody touched it, "Showing https://example.org/, idle 42 s". It is
// one line of the manager's notification, so nothing in it may break the line: a page that
// chose its address must not add a notification of its own.
std::string serviceStatusText(std::string_view address, long long idleSeconds);

}  // namespace plintor
