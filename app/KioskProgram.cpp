#include "app/KioskProgram.h"

#include <gtk/gtk.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <future>
#include <optional>

#include "app/DesktopLockdown.h"
#include "app/ExecutionState.h"
#include "app/InputFilter.h"
#include "app/KioskController.h"
#include "app/KioskWindow.h"
#include "app/MessageRouter.h"
#include "app/MetricsPublisher.h"
#include "app/OperatorRequests.h"
#include "app/ScreenshotRequests.h"
#include "app/ServiceReporter.h"
#include "browser/EngineVersion.h"
#include "browser/RestrictedBrowser.h"
#include "core/app/CommandLine.h"
#include "core/app/KioskConfiguration.h"
#include "core/app/KioskState.h"
#include "core/config/ConfigFiles.h"
#include "core/config/SettingsLoader.h"
#include "core/support/FileHelpers.h"
#include "core/support/Log.h"
#include "documents/OfficeConverter.h"
#include "glib/FdWatch.h"
#include "platform/Desktop.h"
#include "platform/DesktopShell.h"
#include "platform/InputHooks.h"
#include "platform/InstanceChannel.h"
#include "platform/KeyboardSystem.h"
#include "platform/Platform.h"
#include "platform/ProcessProtection.h"
#include "platform/ServiceNotifier.h"
#include "platform/SessionManager.h"
#include "platform/SystemInfo.h"

namespace plintor {
namespace {

// The start-up steps before the window exists: version, log, home folder (the current folder
// from here on), the input hooks and the process's protection.
void startUp(const ProgramOptions& options, KioskState& state, Platform& platform) {
    const std::string programPath = platform.systemInfo().programPath();
    state.programVersion = platform.systemInfo().fileVersion(programPath);
    startProgramLog(logFileNameFor(programPath, options.home.value_or("")), state.clock);
    mirrorProgramLog(platform.connectJournal());
    [[maybe_unused]] const int ignored = ::chdir(homeFolder(options, programPath).c_str());
    platform.inputHooks().onActivity([&state] { state.input.record(); });
    platform.inputHooks().install();
    platform.processProtection().protect();
}

// Only once the instance is ours: a second start must not take the running kiosk's documents.
void prepareDocumentFolder(KioskState& state, const SystemInfo& system) {
    state.documentFolder = DocumentFolder(system.tempFolder());
    for (const std::string& line : state.documentFolder.prepare()) {
        logEntry(line);
    }
    state.tempFiles = tempFilesIn(state.documentFolder.path());
}

// The kiosk's panels need no graphics card, and a software display draws them faster without
// one; an operator's own choice stands. The lockdown is X11's, so X11 comes first.
bool openDisplay() {
    setenv("GSK_RENDERER", "cairo", 0);
    gdk_set_allowed_backends("x11,*");
    return gtk_init_check() != FALSE;
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
    state.dailyRestart.schedule(state.settings.autoRestart);
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

// Runs the main loop until the kiosk ended itself; nothing else ends it.
void runMainLoop(const KioskState& state) {
    while (!state.quitRequested) {
        g_main_context_iteration(nullptr, TRUE);
    }
}

void runWindow(char* argv[], int argc, const ProgramOptions& options, KioskState& state,
               Platform& platform, InstanceChannel& channel, DesktopLockdown& lockdown,
               std::chrono::steady_clock::time_point started) {
    const std::string baseName = programBaseName(platform.systemInfo().programPath());
    const ConfigNames names{baseName, options.systemDefaults};
    prepareDocumentFolder(state, platform.systemInfo());
    std::future<UrlLists> listFiles;
    if (!state.safeWebBrowserMode) {
        listFiles = startReadingListFiles(names);
    }
    if (!openDisplay()) {
        logEntry("Cannot open the display");
        return;
    }
    lockdown.connectDesktop();
    const std::unique_ptr<SessionManager> session = platform.connectSessionManager();
    const std::unique_ptr<KeyboardSystem> keyboard = platform.connectKeyboardSystem();
    state.pdfViewer = true;  // the engine's own viewer shows PDF documents
    const OfficeConverter converter(platform.officeLocator(), platform.processRunner());
    KioskController* controller = nullptr;  // the window's events come once the loop runs
    KioskWindow window(
        state, state.counters, converter, keyboard.get(),
        {.firstShown = [&] { controller->openHomeOnce(); },
         .keyboardToggled = [&] { controller->keyboardToggled(); },
         .rendererEnded = [&](const std::string& reason) { controller->rendererEnded(reason); },
         .rendererUnresponsive = [&] { controller->rendererUnresponsive(); }});
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
    KioskController kioskController(state, window, platform.powerActions(), platform.systemInfo());
    controller = &kioskController;
    const std::unique_ptr<ServiceNotifier> notifier = platform.connectServiceNotifier();
    std::optional<ServiceReporter> serviceReporter;
    if (notifier != nullptr) {
        serviceReporter.emplace(*notifier, state, window.browser());
    }
    const InputFilter input(state.input, platform.inputHooks(), window);
    ExecutionState executionState(session.get());
    if (!state.safeWebBrowserMode) {
        executionState.apply(executionStateOf(state.settings));
    }
    lockdown.start([&](Desktop& connected) {
        const std::string repaired = connected.keepChangesRecord(desktopRecordFileName(baseName));
        if (!repaired.empty()) {
            logEntry("Unclean end of the last run repaired: " + repaired);
        }
        kioskController.setDesktop(&connected);
        executionState.useDisplay(connected.displayPower());
    });
    OperatorRequests requests(state, window.browser(), platform.systemInfo(), names, started);
    ScreenshotRequests screenshots(window.window());
    MessageRouter router({&requests, &screenshots}, kioskController, state.clock);
    const FdWatch messages(channel.descriptor(), [&] { router.routeAll(channel); });
    // A termination signal is refused unless the session or the machine is ending.
    const FdWatch refused(platform.processProtection().refusedSignalDescriptor(), [&] {
        platform.processProtection().takeRefusedSignals();
        if (session != nullptr && session->sessionEnding()) {
            kioskController.quit();
        }
    });
    MetricsPublisher metrics(state, platform.systemInfo(), engineVersion());
    kioskController.start();
    metrics.start();
    window.show();
    runMainLoop(state);
    metrics.stop();
    if (serviceReporter && !state.restartRequested) {
        serviceReporter->stopping();
    }
    lockdown.stop();
    state.documentFolder.clear();  // the last visitor's documents go with the kiosk
}

// A program that starts afresh leaves the shell stopped: its next run would stop it again.
void stopSteps(const KioskState& state, Platform& platform, Desktop* desktop) {
    platform.inputHooks().remove();
    if (!state.homePending && state.settings.killExplorer && !state.restartRequested) {
        const int result = desktop != nullptr ? desktop->shell().startShell() : 2;
        logEntry("Run explorer (" + std::to_string(result) + ")");
    }
}

// The program file as it is on disk now (an update may have replaced it) runs in this process's
// place, with the same arguments; its instance channel and connections close with the old one.
void startAfresh(const std::string& programPath, char* argv[]) {
    logEntry("Start afresh: " + programPath);
    ::execv(programPath.c_str(), argv);
    logEntry("Cannot start afresh: " + std::string(std::strerror(errno)));
}

}  // namespace

std::string engineVersionText() {
    return "WebKitGTK " + engineVersion();
}

int runKiosk(int argc, char* argv[], const ProgramOptions& options, Platform& platform) {
    const auto started = std::chrono::steady_clock::now();
    const std::string programPath = platform.systemInfo().programPath();
    KioskState state(systemClock(), steadyClock());
    startUp(options, state, platform);
    int exitCode = 0;
    {
        DesktopLockdown lockdown(platform);
        std::string refusal;
        if (std::unique_ptr<InstanceChannel> channel = platform.claimInstanceChannel(refusal)) {
            state.safeWebBrowserMode = isSafeWebBrowserMode(Arguments(argv, argv + argc));
            runWindow(argv, argc, options, state, platform, *channel, lockdown, started);
        } else if (!refusal.empty()) {
            // Not a second start of this user's kiosk, which ends silently: nothing runs.
            logEntry(refusal);
            exitCode = 1;
        }
        stopSteps(state, platform, lockdown.desktop());
    }
    if (state.restartRequested) {
        startAfresh(programPath, argv);
    }
    return exitCode;
}

}  // namespace plintor
