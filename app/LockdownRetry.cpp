#include "app/LockdownRetry.h"

#include "core/support/Log.h"
#include "platform/DesktopControl.h"
#include "platform/InputHooks.h"
#include "platform/Platform.h"

namespace plintor {

TLockdownRetry::TLockdownRetry(IPlatform& platform, std::unique_ptr<IDesktopControl>& desktop,
                               std::function<void(IDesktopControl&)> connected)
    : FPlatform(platform), FDesktop(desktop), FConnected(std::move(connected)) {
    FTimer.setInterval(RetryIntervalMs);
    connect(&FTimer, &QTimer::timeout, this, &TLockdownRetry::Retry);
}

void TLockdownRetry::Start() {
    WatchInput();
    if (FDesktop != nullptr) {
        FConnected(*FDesktop);
    }
    if (!Complete()) {
        FTimer.start();
    }
}

// Combinations that another program holds are not tried again: that program keeps them.
bool TLockdownRetry::Complete() const {
    return FDesktop != nullptr && FPlatform.InputHooks().Descriptor() >= 0;
}

void TLockdownRetry::Retry() {
    IInputHooks& hooks = FPlatform.InputHooks();
    if (hooks.Descriptor() < 0) {
        hooks.Install();
        WatchInput();
    }
    if (FDesktop == nullptr && (FDesktop = FPlatform.ConnectDesktopControl()) != nullptr) {
        FConnected(*FDesktop);
    }
    if (Complete()) {
        FTimer.stop();
        const std::string shortfall = hooks.Shortfall();
        LogEntry(shortfall.empty() ? "Desktop lockdown in place"
                                   : "Desktop lockdown in place, incomplete: " + shortfall);
    }
}

void TLockdownRetry::WatchInput() {
    IInputHooks& hooks = FPlatform.InputHooks();
    if (FInput != nullptr || hooks.Descriptor() < 0) {
        return;
    }
    FInput = std::make_unique<QSocketNotifier>(hooks.Descriptor(), QSocketNotifier::Read);
    connect(FInput.get(), &QSocketNotifier::activated, this, [&hooks] { hooks.ProcessEvents(); });
    hooks.ProcessEvents();
}

}  // namespace plintor
