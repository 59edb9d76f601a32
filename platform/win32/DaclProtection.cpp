// Termination through an ordinary OpenProcess is refused by the process's own access list:
// every allow entry loses the terminate right. The system also asks this process early at
// log-off and shutdown, so that the session's end reaches the kiosk before other programs.
#include <windows.h>
// The security header needs the Windows types first.
#include <aclapi.h>

#include <memory>

#include "platform/ProcessProtection.h"
#include "platform/win32/WindowsServices.h"

namespace plintor {
namespace {

constexpr DWORD EarlyShutdownLevel = 0x3FF;

void withoutTerminateRight(ACL* dacl) {
    for (DWORD index = 0; index < dacl->AceCount; ++index) {
        void* entry = nullptr;
        if (GetAce(dacl, index, &entry) &&
            static_cast<ACE_HEADER*>(entry)->AceType == ACCESS_ALLOWED_ACE_TYPE) {
            static_cast<ACCESS_ALLOWED_ACE*>(entry)->Mask &= ~static_cast<DWORD>(PROCESS_TERMINATE);
        }
    }
}

// A process without an access list (a null DACL) grants everything to everyone; there is no
// entry to change, and writing it back would protect nothing, so that counts as a failure.
bool removeTerminateRight() {
    ACL* dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetSecurityInfo(GetCurrentProcess(), SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                        nullptr, &dacl, nullptr, &descriptor) != ERROR_SUCCESS) {
        return false;
    }
    bool written = false;
    if (dacl != nullptr) {
        withoutTerminateRight(dacl);
        written = SetSecurityInfo(GetCurrentProcess(), SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION,
                                  nullptr, nullptr, dacl, nullptr) == ERROR_SUCCESS;
    }
    LocalFree(descriptor);
    return written;
}

class DaclProtection final : public ProcessProtection {
public:
    // The shutdown level is set whatever the access list allowed.
    bool protect() override {
        const bool dacl = removeTerminateRight();
        const bool level = SetProcessShutdownParameters(EarlyShutdownLevel, 0) != 0;
        return dacl && level;
    }
    int refusedSignalDescriptor() const override { return -1; }
    void takeRefusedSignals() override {}
};

}  // namespace

std::unique_ptr<ProcessProtection> createDaclProtection() {
    return std::make_unique<DaclProtection>();
}

}  // namespace plintor
