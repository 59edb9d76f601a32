#include "app/KioskProgram.h"

#include <unistd.h>

#include <QSocketNotifier>
#include <QtWebEngineCore/qtwebenginecoreglobal.h>
#include <chrono>
#include <filesystem>
#include <future>

#include "app/ExecutionState.h"
#include "app/InputFilter.h"
#include "app/KioskApplication.h"
#include "app/KioskController.h"
#include "app/KioskWindow.h"
#include "app/LockdownRetry.h"
#include "app/OperatorRequests.h"
#include "app/Resources.h"
#include "browser/KioskProfile.h"
#include "browser/RestrictedBrowser.h"
#include "core/app/CommandLine.h"
#include "core/app/KioskConfiguration.h"
#include "core/app/KioskState.h"
#include "core/config/ConfigFiles.h"
#include "core/config/SettingsLoader.h"
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

// The start-up steps before the window exists: version, log, home folder (the current folder
// from here on), temporary files, the input hooks and the process's protection.
void startUp(const ProgramOptions& options, KioskState& state, Platform& platform) {
    const std::string programPath = platform.systemInfo().programPath();
    state.programVersion = platform.systemInfo().fileVersion(programPath);
    startProgramLog(logFileNameFor(programPath, options.home.value_or("")), state.clock);
    [[maybe_unused]] const int ignored = ::chdir(homeFolder(options, programPath).c_str());
    state.tempFiles = tempFilesIn(platform.systemInfo().tempFolder());
    platform.inputHooks().onActivity([&state] { state.input.record(); });
    platform.inputHooks().install();
    platform.processProtection().protect();
}

// The default copies first; then the list files, large ones included, are read and compiled
// while the toolkit, the window and the engine start.
std::future<UrlLists> startReadingListFiles(const ConfigNames& names) {
    for (const std::string& file : copyDefaultFiles(names)) {
        logEntry("Cannot copy " + defaultCopyOf(file, names.systemDefaults) + " to " + file +
                 "; its default copy is read instead");
    }
    return std::async(std::launch::async, [names] {
        LogConfigReport report(programLog());
        return readKioskListFiles(names, report);
    });
}

// The configuration of the normal mode, as --check-config reads it. The lists are completed
// when the first navigation needs them.
void configure(KioskState& state, KioskWindow& window, const ConfigNames& names, int pixelsPerInch,
               std::future<UrlLists> listFiles) {
    LogConfigReport report(programLog());
    LoadedSettings loaded = loadSettings(effectiveFiles(names).config, pixelsPerInch, report);
    state.settings = std::move(loaded.settings);
    state.buttons = std::move(loaded.buttons);
    if (state.settings.autoRestart != -1) {
        state.nextRestartTime = nextRestartAfter(state.clock.now(), state.settings.autoRestart);
    }
    window.browser().setLists(
        std::async(std::launch::deferred, [files = std::move(listFiles), buttons = state.buttons,
                                           tempFiles = state.tempFiles]() mutable {
            UrlLists lists = files.get();
            completeKioskLists(lists, buttons, tempFiles);
            return lists;
        }));
    if (state.settings.denyAllRequests) {
        window.browser().denyAllRequests();
    }
}

// One address with every address allowed and no configuration read.
void configureSafeWebBrowser(KioskState& state, KioskWindow& window, const std::string& address) {
    state.settings.touchKeyboard = false;
    state.settings.autoReturn = 2147483647;
    state.buttons = {{"", window.homeButtonWidth(), address}};
    window.browser().lists().whitelistAllowAll();
}

// In the home folder, which is the current folder from the start on.
std::string desktopRecordFileName(const std::string& baseName) {
    return (std::filesystem::current_path() / desktopStateFileName(baseName)).string();
}

// Runs the toolkit's loop until the kiosk ended itself; a loop ended by anything else
// (another program's quit request, the toolkit itself) is entered again.
void runMessageLoop(QApplication& application, const KioskState& state) {
    while (!state.quitRequested) {
        application.exec();
    }
}

void runWindow(int argc, char* argv[], const ProgramOptions& options, KioskState& state,
               Platform& platform, InstanceChannel& channel,
               std::unique_ptr<DesktopControl>& desktop,
               std::chrono::steady_clock::time_point started) {
    const std::string baseName = programBaseName(platform.systemInfo().programPath());
    const ConfigNames names{baseName, options.systemDefaults};
    std::future<UrlLists> listFiles;
    if (!state.safeWebBrowserMode) {
        listFiles = startReadingListFiles(names);
    }
    KioskApplication application(argc, argv);
    initKioskResources();
    desktop = platform.connectDesktopControl();
    const std::unique_ptr<SessionManager> session = platform.connectSessionManager();
    const std::unique_ptr<KeyboardSystem> keyboard = platform.connectKeyboardSystem();
    state.pdfViewer = kioskBrowsersShowPdf();
    const OfficeConverter converter(platform.officeLocator(), platform.processRunner());
    KioskWindow window(state, converter, keyboard.get());
    const Arguments arguments(argv, argv + argc);
    if (state.safeWebBrowserMode) {
        configureSafeWebBrowser(state, window, plainParam(arguments, 1));
    } else {
        configure(state, window, names, window.pixelsPerInch(), std::move(listFiles));
    }
    window.applySettings(state.settings, state.buttons);
    if (const std::string shortfall = platform.inputHooks().shortfall(); !shortfall.empty()) {
        logEntry("Desktop lockdown incomplete: " + shortfall);
    }
    KioskController controller(state, window, platform.powerActions(), platform.systemInfo());
    InputFilter input(state.input, platform.inputHooks(), window, &application);
    application.installEventFilter(&input);
    ExecutionState executionState(session.get());
    if (!state.safeWebBrowserMode) {
        executionState.apply(executionStateOf(state.settings));
    }
    LockdownRetry lockdown(platform, desktop, [&](DesktopControl& connected) {
        const std::string repaired = connected.keepChangesRecord(desktopRecordFileName(baseName));
        if (!repaired.empty()) {
            logEntry("Unclean end of the last run repaired: " + repaired);
        }
        controller.setDesktopControl(&connected);
        executionState.useDesktop(connected);
    });
    lockdown.start();
    OperatorRequests requests(state, window.browser(), platform.systemInfo(), names, started);
    QSocketNotifier messages(channel.descriptor(), QSocketNotifier::Read);
    QObject::connect(&messages, &QSocketNotifier::activated, &controller, [&] {
        for (const ReceivedMessage& received : channel.receiveAll()) {
            if (!requests.handle(received, channel)) {
                controller.handleMessage(received.message);
            }
        }
    });
    // A termination signal is refused unless the session or the machine is ending.
    QSocketNotifier refused(platform.processProtection().refusedSignalDescriptor(),
                            QSocketNotifier::Read);
    QObject::connect(&refused, &QSocketNotifier::activated, &controller, [&] {
        platform.processProtection().takeRefusedSignals();
        if (session != nullptr && session->sessionEnding()) {
            controller.quit();
        }
    });
    controller.start();
    window.show();
    runMessageLoop(application, state);
    application.removeEventFilter(&input);
}

void stopSteps(const KioskState& state, Platform& platform, DesktopControl* desktop) {
    platform.inputHooks().remove();
    if (!state.homePending && state.settings.killExplorer) {
        const int result = desktop != nullptr ? desktop->startShell() : 2;
        logEntry("Run explorer (" + std::to_string(result) + ")");
    }
}

}  // namespace

std::string engineVersionText() {
    return std::string("Qt WebEngine ") + qWebEngineVersion() + " (Chromium " +
           qWebEngineChromiumVersion() + ")";
}

int runKiosk(int argc, char* argv[], const ProgramOptions& options, Platform& platform) {
    const auto started = std::chrono::steady_clock::now();
    KioskState state(systemClock());
    startUp(options, state, platform);
    std::unique_ptr<DesktopControl> desktop;
    if (std::unique_ptr<InstanceChannel> channel = platform.claimInstanceChannel()) {
        state.safeWebBrowserMode = isSafeWebBrowserMode(Arguments(argv, argv + argc));
        runWindow(argc, argv, options, state, platform, *channel, desktop, started);
    }
    stopSteps(state, platform, desktop.get());
    return 0;
}

}  // namespace plintor
