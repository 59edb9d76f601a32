#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/win32/RegistryKey.h"

namespace plintor {

// One place the office program's registration is looked for.
struct OfficeProbe {
    RegistryRoot root;
    std::uint32_t view;  // 0 (the process's own view) or registry_access::View64
};

// Machine-wide before the user's own, each in the process's view before the 64-bit view.
constexpr std::array<OfficeProbe, 4> OfficeProbes = {{
    {RegistryRoot::LocalMachine, 0},
    {RegistryRoot::LocalMachine, registry_access::View64},
    {RegistryRoot::CurrentUser, 0},
    {RegistryRoot::CurrentUser, registry_access::View64},
}};

// The trimmed "Path" of the first version key, in the registry's order, whose "Path" is not
// blank; empty when there is none.
std::string readLibreOfficePath(const OfficeProbe& probe);

}  // namespace plintor
