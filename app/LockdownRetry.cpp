#include "app/LockdownRetry.h"

#include "core/support/Log.h"
#include "platform/DesktopControl.h"
#include "platform/InputHooks.h"

namespace plintor {

TLockdownRetry::TLockdownRetry(std::unique_ptr<IDesktopControl>& desktop,
                               std::function<void(IDesktopControl&)> connected, QObject* parent)
    : QObject(parent), FDesktop(desktop), FConnected(std::move(connected)) {
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
    return FDesktop != nullptr && InputHooksDescriptor() >= 0;
}

void TLockdownRetry::Retry() {
    if (InputHooksDescriptor() < 0) {
        InstallInputHooks();
        WatchInput();
    }
    if (FDesktop == nullptr && (FDesktop = ConnectDesktopControl()) != nullptr) {
        FConnected(*FDesktop);
    }
    if (Complete()) {
        FTimer.stop();
        const std::string shortfall = InputHooksShortfall();
        LogEntry(shortfall.empty() ? "Desktop lockdown in place"
                                   : "Desktop lockdown in place, incomplete: " + shortfall);
    }
}

void TLockdownRetry::WatchInput() {
    if (FInput != nullptr || InputHooksDescriptor() < 0) {
        return;
    }
    FInput = std::make_unique<QSocketNotifier>(InputHooksDescriptor(), QSocketNotifier::Read);
    connect(FInput.get(), &QSocketNotifier::activated, this, &ProcessInputHookEvents);
    ProcessInputHookEvents();
}

}  // namespace plintor
