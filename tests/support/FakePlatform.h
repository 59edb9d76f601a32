#pragma once

#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/support/Log.h"
#include "platform/InputHooks.h"
#include "platform/InstanceChannel.h"
#include "platform/KeyboardSystem.h"
#include "platform/OfficeLocator.h"
#include "platform/Platform.h"
#include "platform/PowerActions.h"
#include "platform/ProcessProtection.h"
#include "platform/ProcessRunner.h"
#include "platform/ServiceNotifier.h"
#include "platform/SessionManager.h"
#include "platform/SystemInfo.h"
#include "tests/support/CallLog.h"
#include "tests/support/FakeDesktop.h"

namespace plintor::test {

// Hands out the messages the test put in, and keeps the answers the kiosk gave.
class FakeInstanceChannel final : public InstanceChannel {
public:
    std::vector<ReceivedMessage> incoming;
    std::vector<KioskMessage> answers;

    int descriptor() const override { return -1; }
    std::vector<ReceivedMessage> receiveAll() override { return std::exchange(incoming, {}); }
    bool answer(const std::string&, const KioskMessage& message, std::string&) override {
        answers.push_back(message);
        return true;
    }
};

// How the fake platform answers, set by the test.
struct PlatformScript {
    std::string programPath = "/opt/plintor/plintor";
    long long memoryKiB = 200000;
    bool engineReplaced = false;
    // Each power request takes the next answer; an empty queue accepts.
    std::deque<bool> powerAnswers;
    bool displayThere = true;    // connectDesktop finds the display
    bool systemBusThere = true;  // connectSessionManager finds logind
    bool sessionEnding = false;
    bool instanceHeldElsewhere = false;
    std::string instanceRefusal;  // the channel cannot be had safely, for this reason
    DesktopScript desktop;
};

// Every port of the operating system in memory: recorded calls, scripted answers. The clock is
// the test's own (FakeClock, FakeMonotonicClock), handed to the kiosk's parts as the real one is.
class FakePlatform final : public Platform,
                           private SystemInfo,
                           private InputHooks,
                           private ProcessProtection,
                           private ProcessRunner,
                           private OfficeLocator,
                           private PowerActions {
public:
    PlatformScript script;
    CallLog calls;
    // The desktop the kiosk connected to last, while the kiosk holds it; null before.
    FakeDesktop* desktop() const { return m_desktop; }

    SystemInfo& systemInfo() override { return *this; }
    InputHooks& inputHooks() override { return *this; }
    ProcessProtection& processProtection() override { return *this; }
    ProcessRunner& processRunner() override { return *this; }
    OfficeLocator& officeLocator() override { return *this; }
    PowerActions& powerActions() override { return *this; }
    std::unique_ptr<SessionManager> connectSessionManager() override;
    std::unique_ptr<Desktop> connectDesktop() override;
    std::unique_ptr<KeyboardSystem> connectKeyboardSystem() override { return nullptr; }
    std::unique_ptr<ServiceNotifier> connectServiceNotifier() override { return nullptr; }
    std::unique_ptr<LogMirror> connectJournal() override { return nullptr; }
    std::unique_ptr<InstanceChannel> claimInstanceChannel(std::string& refusal) override;
    bool sendToInstance(const KioskMessage& message, std::string& error) override;
    std::optional<KioskMessage> askInstance(const KioskMessage& question,
                                            std::chrono::milliseconds limit,
                                            std::string& error) override;

private:
    std::string programPath() const override { return script.programPath; }
    std::string fileVersion(const std::string&) const override { return "1.0.0.0"; }
    std::string tempFolder() const override { return "/tmp"; }
    std::int64_t processTreeMemoryKiB() const override { return script.memoryKiB; }
    bool libraryReplaced(const std::string&) const override { return script.engineReplaced; }

    // Hooks that take no input: nothing to wait on, no activity to tell.
    void onActivity(std::function<void()>) override {}
    bool install() override;
    bool remove() override;
    std::string shortfall() const override { return {}; }
    int descriptor() const override { return -1; }
    void processEvents() override {}
    VirtualKey virtualKeyOfNativeKey(std::uint32_t nativeKey) const override {
        return virtualKeyOf(nativeKey);
    }

    bool protect() override { return true; }
    int refusedSignalDescriptor() const override { return -1; }
    void takeRefusedSignals() override {}

    bool runCommandLine(const std::string& commandLine, bool wait, int& exitCode,
                        int timeLimitMs) override;
    bool runProgram(const std::string& programFile, const std::string& parameters, bool wait,
                    int& exitCode, int timeLimitMs) override;

    std::string findLibreOfficePath() const override { return {}; }

    bool shutDown(bool force) override { return powerAnswer("power.shutDown", force); }
    bool restart(bool force) override { return powerAnswer("power.restart", force); }
    bool logOff(bool force) override { return powerAnswer("power.logOff", force); }
    bool powerAnswer(const std::string& call, bool force);

    FakeDesktop* m_desktop = nullptr;
};

}  // namespace plintor::test
