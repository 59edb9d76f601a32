#pragma once

#include <cstdint>
#include <string>

namespace plintor {

// ExitWindowsEx flags: log-off 0, restart 2, shut down with power off 9, each with force (4).
constexpr std::uint32_t SessionLogOff = 0x0;
constexpr std::uint32_t SessionRestart = 0x2;
constexpr std::uint32_t SessionShutDown = 0x1 | 0x8;
constexpr std::uint32_t SessionForce = 0x4;

// Enables or disables a privilege of the process's own token; the result of the adjustment
// (a privilege the account does not hold is not detected).
bool setPrivilege(const std::string& name, bool enable);

// Ends the session with the flags, the shutdown privilege enabled only for the request; true
// when the system accepted it.
bool endWindowsSession(std::uint32_t flags);

}  // namespace plintor
