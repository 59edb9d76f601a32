#include "KioskProgram.h"

#include <unistd.h>

#include <QApplication>
#include <QSocketNotifier>

#include "F_Plintor.h"
#include "InstanceChannel.h"
#include "ProcessProtection.h"
#include "Resources.h"
#include "SystemInfo.h"
#include "app/CommandLine.h"
#include "app/ProgramState.h"
#include "browser/KioskProfile.h"
#include "config/Settings.h"
#include "support/Log.h"

namespace plintor {
namespace {

std::string ProgramFolder(const std::string& programPath) {
    return programPath.substr(0, programPath.rfind('/') + 1);
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
    ProtectProcess();
}

void StopSteps() {
    NavButtons.clear();
    LogFileName.clear();
}

// Runs the toolkit's loop until QuitApplication was called; a loop ended by anything else
// (another program's quit request, the toolkit itself) is entered again.
void RunMessageLoop(QApplication& application) {
    while (!QuitRequested) {
        application.exec();
    }
}

}  // namespace

void QuitApplication() {
    QCoreApplication::exit(0);
    QuitRequested = true;
}

int RunKiosk(int argc, char* argv[], const TProgramOptions& options) {
    const TArguments arguments(argv, argv + argc);
    StartUp(options);
    std::unique_ptr<IInstanceChannel> channel = ClaimInstanceChannel();
    if (channel) {
        SafeWebBrowserMode = IsSafeWebBrowserMode(arguments);
        QApplication application(argc, argv);
        InitKioskResources();
        QApplication::setApplicationName(QStringLiteral("Plintor"));
        QApplication::setQuitOnLastWindowClosed(false);
        QWebEngineProfile* profile = CreateKioskProfile(&application);
        {
            TFPlintor window(profile);
            QSocketNotifier notifier(channel->Descriptor(), QSocketNotifier::Read);
            QObject::connect(&notifier, &QSocketNotifier::activated, &window, [&] {
                for (const TKioskMessage& message : channel->ReceiveAll()) {
                    window.HandleMessage(message);
                }
            });
            window.show();
            RunMessageLoop(application);
        }
        channel.reset();
    }
    StopSteps();
    return 0;
}

}  // namespace plintor
