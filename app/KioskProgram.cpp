#include "app/KioskProgram.h"

#include <unistd.h>

#include <QSocketNotifier>
#include <filesystem>

#include "app/ExecutionState.h"
#include "app/InputFilter.h"
#include "app/KioskApplication.h"
#include "app/KioskController.h"
#include "app/KioskWindow.h"
#include "app/LockdownRetry.h"
#include "app/Resources.h"
#include "browser/KioskProfile.h"
#include "browser/TSafeWebBrowser.h"
#include "core/app/CommandLine.h"
#include "core/app/KioskConfiguration.h"
#include "core/app/KioskState.h"
#include "core/config/ConfigFiles.h"
#include "core/support/FileHelpers.h"
#include "core/support/Log.h"
#include "documents/OfficeConverter.h"
#include "platform/DesktopControl.h"
#include "platform/InputHooks.h"
#include "platform/InstanceChannel.h"
#include "platform/KeyboardSystem.h"
#include "platform/Platform.h"
#include "platform/ProcessProtection.h"
#include "platform/SessionManager.h"
#include "platform/SystemInfo.h"

namespace plintor {
namespace {

std::string ProgramFolder(const std::string& programPath) {
    return programPath.substr(0, programPath.rfind('/') + 1);
}

// The start-up steps before the window exists: version, log, home folder (the current folder
// from here on), temporary files, the input hooks and the process's protection.
void StartUp(const TProgramOptions& options, TKioskState& state, IPlatform& platform) {
    const std::string programPath = platform.SystemInfo().ProgramPath();
    state.ProgramVersion = platform.SystemInfo().FileVersion(programPath);
    StartProgramLog(LogFileNameFor(programPath, options.Home.value_or("")), state.Clock);
    [[maybe_unused]] const int ignored =
        ::chdir(options.Home.value_or(ProgramFolder(programPath)).c_str());
    state.TempFiles = TempFilesIn(platform.SystemInfo().TempFolder());
    platform.InputHooks().OnActivity([&state] { state.Input.Record(); });
    platform.InputHooks().Install();
    platform.ProcessProtection().Protect();
}

// The configuration of the normal mode, as --check-config reads it, after the default copies.
void Configure(TKioskState& state, TKioskWindow& window, const std::string& baseName,
               int pixelsPerInch) {
    for (const std::string& file : CopyDefaultFiles(baseName)) {
        LogEntry("Cannot copy " + DefaultCopyName(file) + " to " + file +
                 "; its default copy is read instead");
    }
    TLogConfigReport report(ProgramLog());
    TKioskConfiguration configuration =
        LoadKioskConfiguration(baseName, state.TempFiles, pixelsPerInch, report);
    state.Settings = configuration.Settings;
    state.Buttons = configuration.Buttons;
    if (state.Settings.AutoRestart != -1) {
        state.NextRestartTime = NextRestartAfter(state.Clock.Now(), state.Settings.AutoRestart);
    }
    window.Browser().Lists() = std::move(configuration.Lists);
    if (state.Settings.DenyAllRequests) {
        window.Browser().DenyAllRequests();
    }
}

// One address with every address allowed and no configuration read.
void ConfigureSafeWebBrowser(TKioskState& state, TKioskWindow& window, const std::string& address) {
    state.Settings.TouchKeyboard = false;
    state.Settings.AutoReturn = 2147483647;
    state.Buttons = {{"", window.HomeButtonWidth(), address}};
    window.Browser().Lists().WhitelistAllowAll();
}

// In the home folder, which is the current folder from the start on.
std::string DesktopRecordFileName(const std::string& baseName) {
    return (std::filesystem::current_path() / (baseName + ".state")).string();
}

// Runs the toolkit's loop until the kiosk ended itself; a loop ended by anything else
// (another program's quit request, the toolkit itself) is entered again.
void RunMessageLoop(QApplication& application, const TKioskState& state) {
    while (!state.QuitRequested) {
        application.exec();
    }
}

void RunWindow(int argc, char* argv[], TKioskState& state, IPlatform& platform,
               IInstanceChannel& channel, std::unique_ptr<IDesktopControl>& desktop) {
    TKioskApplication application(argc, argv);
    InitKioskResources();
    desktop = platform.ConnectDesktopControl();
    const std::unique_ptr<ISessionManager> session = platform.ConnectSessionManager();
    const std::unique_ptr<IKeyboardSystem> keyboard = platform.ConnectKeyboardSystem();
    QWebEngineProfile* profile = CreateKioskProfile(&application);
    state.PdfViewer = ShowsPdfDocuments(*profile);
    const TOfficeConverter converter(platform.OfficeLocator(), platform.ProcessRunner());
    TKioskWindow window(profile, state, converter, keyboard.get());
    const std::string baseName = ProgramBaseName(platform.SystemInfo().ProgramPath());
    const TArguments arguments(argv, argv + argc);
    if (state.SafeWebBrowserMode) {
        ConfigureSafeWebBrowser(state, window, PlainParam(arguments, 1));
    } else {
        Configure(state, window, baseName, window.PixelsPerInch());
    }
    window.ApplySettings(state.Settings, state.Buttons);
    if (const std::string shortfall = platform.InputHooks().Shortfall(); !shortfall.empty()) {
        LogEntry("Desktop lockdown incomplete: " + shortfall);
    }
    TKioskController controller(state, window, platform.PowerActions());
    TInputFilter input(state.Input, platform.InputHooks(), window, &application);
    application.installEventFilter(&input);
    TExecutionState executionState(session.get());
    if (!state.SafeWebBrowserMode) {
        executionState.Apply(ExecutionStateOf(state.Settings));
    }
    TLockdownRetry lockdown(platform, desktop, [&](IDesktopControl& connected) {
        const std::string repaired = connected.KeepChangesRecord(DesktopRecordFileName(baseName));
        if (!repaired.empty()) {
            LogEntry("Unclean end of the last run repaired: " + repaired);
        }
        controller.SetDesktopControl(&connected);
        executionState.UseDesktop(connected);
    });
    lockdown.Start();
    QSocketNotifier messages(channel.Descriptor(), QSocketNotifier::Read);
    QObject::connect(&messages, &QSocketNotifier::activated, &controller, [&] {
        for (const TKioskMessage& message : channel.ReceiveAll()) {
            controller.HandleMessage(message);
        }
    });
    // A termination signal is refused unless the session or the machine is ending.
    QSocketNotifier refused(platform.ProcessProtection().RefusedSignalDescriptor(),
                            QSocketNotifier::Read);
    QObject::connect(&refused, &QSocketNotifier::activated, &controller, [&] {
        platform.ProcessProtection().TakeRefusedSignals();
        if (session != nullptr && session->SessionEnding()) {
            controller.Quit();
        }
    });
    controller.Start();
    window.show();
    RunMessageLoop(application, state);
    application.removeEventFilter(&input);
}

void StopSteps(const TKioskState& state, IPlatform& platform, IDesktopControl* desktop) {
    platform.InputHooks().Remove();
    if (!state.HomePending && state.Settings.KillExplorer) {
        const int result = desktop != nullptr ? desktop->StartShell() : 2;
        LogEntry("Run explorer (" + std::to_string(result) + ")");
    }
}

}  // namespace

int RunKiosk(int argc, char* argv[], const TProgramOptions& options, IPlatform& platform) {
    TKioskState state(SystemClock());
    StartUp(options, state, platform);
    std::unique_ptr<IDesktopControl> desktop;
    if (std::unique_ptr<IInstanceChannel> channel = platform.ClaimInstanceChannel()) {
        state.SafeWebBrowserMode = IsSafeWebBrowserMode(TArguments(argv, argv + argc));
        RunWindow(argc, argv, state, platform, *channel, desktop);
    }
    StopSteps(state, platform, desktop.get());
    return 0;
}

}  // namespace plintor
