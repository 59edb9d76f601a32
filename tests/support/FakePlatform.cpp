#include "tests/support/FakePlatform.h"

namespace plintor::test {
namespace {

class FakeSessionManager final : public SessionManager {
public:
    FakeSessionManager(const PlatformScript& script, CallLog& calls)
        : m_script(script), m_calls(calls) {}

    bool powerOff() override { return said("session.powerOff"); }
    bool reboot() override { return said("session.reboot"); }
    bool terminateOwnSession() override { return said("session.terminateOwnSession"); }
    bool inhibitSleep() override { return said("session.inhibitSleep"); }
    void releaseSleepInhibitor() override { said("session.releaseSleepInhibitor"); }
    bool sessionEnding() override { return m_script.sessionEnding; }

private:
    bool said(const char* call) {
        m_calls.add(call);
        return true;
    }

    const PlatformScript& m_script;
    CallLog& m_calls;
};

}  // namespace

std::unique_ptr<SessionManager> FakePlatform::connectSessionManager() {
    if (!script.systemBusThere) {
        return nullptr;
    }
    return std::make_unique<FakeSessionManager>(script, calls);
}

std::unique_ptr<Desktop> FakePlatform::connectDesktop() {
    calls.add("platform.connectDesktop");
    if (!script.displayThere) {
        return nullptr;
    }
    auto desktop = std::make_unique<FakeDesktop>(script.desktop, calls);
    m_desktop = desktop.get();
    return desktop;
}

std::unique_ptr<InstanceChannel> FakePlatform::claimInstanceChannel(std::string& refusal) {
    refusal = script.instanceRefusal;
    if (!refusal.empty() || script.instanceHeldElsewhere) {
        return nullptr;
    }
    return std::make_unique<FakeInstanceChannel>();
}

bool FakePlatform::sendToInstance(const KioskMessage&, std::string& error) {
    calls.add("platform.sendToInstance");
    error = script.instanceHeldElsewhere ? "" : "no kiosk is running";
    return script.instanceHeldElsewhere;
}

std::optional<KioskMessage> FakePlatform::askInstance(const KioskMessage&,
                                                      std::chrono::milliseconds,
                                                      std::string& error) {
    calls.add("platform.askInstance");
    error = "no kiosk is running";
    return std::nullopt;
}

bool FakePlatform::install() {
    calls.add("inputHooks.install");
    return script.displayThere;
}

bool FakePlatform::remove() {
    calls.add("inputHooks.remove");
    return true;
}

bool FakePlatform::runCommandLine(const std::string& commandLine, bool, int& exitCode, int) {
    calls.add("processes.runCommandLine(" + commandLine + ")");
    exitCode = 0;
    return true;
}

bool FakePlatform::runProgram(const std::string& programFile, const std::string& parameters, bool,
                              int& exitCode, int) {
    calls.add("processes.runProgram(" + programFile + " " + parameters + ")");
    exitCode = 0;
    return true;
}

// Called on the power requests' worker thread, one request at a time.
bool FakePlatform::powerAnswer(const std::string& call, bool force) {
    calls.add(call + (force ? "(force)" : "()"));
    if (script.powerAnswers.empty()) {
        return true;
    }
    const bool answer = script.powerAnswers.front();
    script.powerAnswers.pop_front();
    return answer;
}

}  // namespace plintor::test
