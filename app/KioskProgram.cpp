#include "app/KioskProgram.h"

#include <unistd.h>

#include <QSocketNotifier>
#include <filesystem>

#include "app/F_Plintor.h"
#include "app/KioskApplication.h"
#include "app/LockdownRetry.h"
#include "app/Resources.h"
#include "browser/KioskProfile.h"
#include "core/app/CommandLine.h"
#include "core/app/ProgramState.h"
#include "core/config/Settings.h"
#include "core/documents/DownloadRules.h"
#include "core/keyboard/VirtualKeyLayout.h"
#include "core/support/FileHelpers.h"
#include "core/support/Log.h"
#include "keyboard/KeyboardLayouts.h"
#include "platform/DesktopControl.h"
#include "platform/InputHooks.h"
#include "platform/InstanceChannel.h"
#include "platform/KeyboardSystem.h"
#include "platform/ProcessProtection.h"
#include "platform/SessionManager.h"
#include "platform/SystemInfo.h"

namespace plintor {
namespace {

TFPlintor* FPlintor = nullptr;

std::string ProgramFolder(const std::string& programPath) {
    return programPath.substr(0, programPath.rfind('/') + 1);
}

// In the home folder, which is the current folder from the start on.
std::string DesktopRecordFileName() {
    return (std::filesystem::current_path() /
            (ProgramBaseName(SystemInfo().ProgramPath()) + ".state"))
        .string();
}

void StartUp(const TProgramOptions& options) {
    const std::string programPath = SystemInfo().ProgramPath();
    ProgramVersion = SystemInfo().FileVersion(programPath);
    if (LogFileName.empty()) {
        LogFileName = LogFileNameFor(programPath, options.Home.value_or(""));
    }
    // The relative names of the configuration and list files are read from here.
    const std::string home = options.Home.value_or(ProgramFolder(programPath));
    [[maybe_unused]] const int ignored = ::chdir(home.c_str());
    TempFiles = TempFilesIn(SystemInfo().TempFolder());
    InstallInputHooks();
    ProtectProcess();
}

// The system stays awake while the kiosk runs; the display too, unless configured otherwise.
class TExecutionState {
public:
    explicit TExecutionState(ISessionManager* session) : FSession(session) {}
    ~TExecutionState() {
        if (FSession != nullptr) {
            FSession->ReleaseSleepInhibitor();
        }
        if (FDesktop != nullptr && FDisplayKeptOn) {
            FDesktop->KeepDisplayOn(false);
        }
    }
    TExecutionState(const TExecutionState&) = delete;
    TExecutionState& operator=(const TExecutionState&) = delete;

    void Apply(std::uint32_t flags) {
        if (FSession != nullptr && (flags & ES_SYSTEM_REQUIRED) != 0) {
            FSession->InhibitSleep();
        }
        FDisplayWanted = (flags & ES_DISPLAY_REQUIRED) != 0;
        KeepDisplayOn();
    }

    // The display is kept on from when the desktop can be controlled, also when that is late.
    void UseDesktop(IDesktopControl& desktop) {
        FDesktop = &desktop;
        KeepDisplayOn();
    }

private:
    void KeepDisplayOn() {
        if (FDesktop != nullptr && FDisplayWanted && !FDisplayKeptOn) {
            FDesktop->KeepDisplayOn(true);
            FDisplayKeptOn = true;
        }
    }

    ISessionManager* FSession;
    IDesktopControl* FDesktop = nullptr;
    bool FDisplayWanted = false;
    bool FDisplayKeptOn = false;
};

// Runs the toolkit's loop until QuitApplication was called; a loop ended by anything else
// (another program's quit request, the toolkit itself) is entered again.
void RunMessageLoop(QApplication& application) {
    while (!QuitRequested) {
        application.exec();
    }
}

void StopSteps(IDesktopControl* desktop) {
    RemoveInputHooks();
    if (!HomePending && Settings.KillExplorer) {
        const int result = desktop != nullptr ? desktop->StartShell() : 2;
        LogEntry("Run explorer (" + std::to_string(result) + ")");
    }
    NavButtons.clear();
    KeyboardLayouts.clear();
    LogFileName.clear();
}

void RunWindow(int argc, char* argv[], IInstanceChannel& channel,
               std::unique_ptr<IDesktopControl>& desktop) {
    TKioskApplication application(argc, argv);
    InitKioskResources();
    LoadKeyboardLayouts();
    desktop = ConnectDesktopControl();
    const std::unique_ptr<ISessionManager> session = ConnectSessionManager();
    const std::unique_ptr<IKeyboardSystem> keyboard = ConnectKeyboardSystem();
    TFPlintor window(CreateKioskProfile(&application), desktop.get(), keyboard.get());
    if (const std::string shortfall = InputHooksShortfall(); !shortfall.empty()) {
        LogEntry("Desktop lockdown incomplete: " + shortfall);
    }
    FPlintor = &window;
    TExecutionState executionState(session.get());
    if (!SafeWebBrowserMode) {
        executionState.Apply(RequestedExecutionState);
    }
    QSocketNotifier messages(channel.Descriptor(), QSocketNotifier::Read);
    QObject::connect(&messages, &QSocketNotifier::activated, &window, [&] {
        for (const TKioskMessage& message : channel.ReceiveAll()) {
            window.HandleMessage(message);
        }
    });
    TLockdownRetry lockdown(
        desktop,
        [&](IDesktopControl& connected) {
            const std::string repaired = connected.KeepChangesRecord(DesktopRecordFileName());
            if (!repaired.empty()) {
                LogEntry("Unclean end of the last run repaired: " + repaired);
            }
            window.SetDesktopControl(&connected);
            executionState.UseDesktop(connected);
        },
        nullptr);
    lockdown.Start();
    // A termination signal is refused unless the session or the machine is ending.
    QSocketNotifier refused(RefusedSignalDescriptor(), QSocketNotifier::Read);
    QObject::connect(&refused, &QSocketNotifier::activated, &window, [&] {
        TakeRefusedSignals();
        if (session != nullptr && session->SessionEnding()) {
            QuitApplication();
        }
    });
    window.show();
    RunMessageLoop(application);
    FPlintor = nullptr;
}

}  // namespace

void QuitApplication() {
    if (FPlintor != nullptr) {
        FPlintor->DisableTimers();
    }
    QCoreApplication::exit(0);
    QuitRequested = true;
}

int RunKiosk(int argc, char* argv[], const TProgramOptions& options) {
    const TArguments arguments(argv, argv + argc);
    StartUp(options);
    std::unique_ptr<IDesktopControl> desktop;
    if (std::unique_ptr<IInstanceChannel> channel = ClaimInstanceChannel()) {
        SafeWebBrowserMode = IsSafeWebBrowserMode(arguments);
        RunWindow(argc, argv, *channel, desktop);
    }
    StopSteps(desktop.get());
    return 0;
}

}  // namespace plintor
