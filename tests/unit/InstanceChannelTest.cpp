#include "platform/InstanceChannel.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <future>
#include <optional>

#include "platform/Platform.h"
#include "tests/support/RealPlatform.h"
#include "tests/support/TempDir.h"

namespace plintor {
namespace {

using namespace std::chrono_literals;

std::vector<ReceivedMessage> awaitMessages(InstanceChannel& channel) {
    pollfd readable{channel.descriptor(), POLLIN, 0};
    ::poll(&readable, 1, 5000);
    return channel.receiveAll();
}

// Makes the single-instance name of user 0 taken by a process of user nobody, which answers
// a question sent to it, until the object goes. Only root can act as another user.
class Impostor {
public:
    Impostor() {
        int ready[2];
        if (::getuid() != 0 || ::pipe(ready) != 0) {
            return;
        }
        m_pid = ::fork();
        if (m_pid == 0) {
            ::close(ready[0]);
            serve(ready[1]);
        }
        ::close(ready[1]);
        char bound = '0';
        m_bound = ::read(ready[0], &bound, 1) == 1 && bound == '1';
        ::close(ready[0]);
    }
    ~Impostor() {
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
    }
    Impostor(const Impostor&) = delete;
    Impostor& operator=(const Impostor&) = delete;

    bool bound() const { return m_bound; }

private:
    [[noreturn]] static void serve(int ready) {
        const std::string name = kioskChannelName(0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path + 1, name.data(), name.size());
        // Made after the change of user: the kernel names the socket's maker as its owner.
        const bool becameNobody = ::setuid(65534) == 0;
        const int sock = ::socket(AF_UNIX, SOCK_DGRAM, 0);
        const timeval wait{5, 0};
        ::setsockopt(sock, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
        const bool bound =
            becameNobody &&
            ::bind(sock, reinterpret_cast<sockaddr*>(&address),
                   static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size())) == 0;
        [[maybe_unused]] const ssize_t said = ::write(ready, bound ? "1" : "0", 1);
        char question[256];
        sockaddr_un asker{};
        socklen_t length = sizeof asker;
        if (::recvfrom(sock, question, sizeof question, 0, reinterpret_cast<sockaddr*>(&asker),
                       &length) > 0) {
            const std::string answer = encodeKioskMessage({MessageKind::StatusReply, 0, 0, "{}"});
            ::sendto(sock, answer.data(), answer.size(), 0, reinterpret_cast<sockaddr*>(&asker),
                     length);
        }
        ::_exit(0);
    }

    pid_t m_pid = -1;
    bool m_bound = false;
};

// The channel's folder is a private one of the test's own.
class ChannelFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        m_oldRuntime = runtime != nullptr ? std::optional<std::string>(runtime) : std::nullopt;
        ::setenv("XDG_RUNTIME_DIR", m_runtime.path("").c_str(), 1);
    }
    void TearDown() override {
        if (m_oldRuntime) {
            ::setenv("XDG_RUNTIME_DIR", m_oldRuntime->c_str(), 1);
        } else {
            ::unsetenv("XDG_RUNTIME_DIR");
        }
    }
    std::string socketFile() const { return m_runtime.path("plintor.socket"); }

    test::TempDir m_runtime;
    std::optional<std::string> m_oldRuntime;
};

// Each test holds the user's channel, as the kiosk would; a kiosk running now would take the
// tests' messages instead.
class InstanceChannelTest : public ChannelFolderTest {
protected:
    void SetUp() override {
        ChannelFolderTest::SetUp();
        std::string refusal;
        m_channel = test::realPlatform().claimInstanceChannel(refusal);
        if (m_channel == nullptr) {
            GTEST_SKIP() << "a kiosk of this user holds the channel " << refusal;
        }
    }

    std::unique_ptr<InstanceChannel> m_channel;
};

TEST_F(InstanceChannelTest, AnswerGoesBackToTheSocketThatAsked) {
    std::string error;
    ASSERT_TRUE(test::realPlatform().sendToInstance(
        {MessageKind::CopyData, 0, 0, "http://a.example/"}, error));
    std::vector<ReceivedMessage> received = awaitMessages(*m_channel);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_FALSE(
        m_channel->answer(received[0].sender, {MessageKind::StatusReply, 0, 0, "{}"}, error))
        << "a plain sender waits for nothing";

    auto asked = std::async(std::launch::async, [] {
        std::string askError;
        return test::realPlatform().askInstance({MessageKind::StatusRequest, 0, 0, {}}, 5s,
                                                askError);
    });
    received = awaitMessages(*m_channel);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].message.kind, MessageKind::StatusRequest);
    EXPECT_TRUE(m_channel->answer(received[0].sender,
                                  {MessageKind::StatusReply, 0, 0, R"({"a":1})"}, error))
        << error;
    const std::optional<KioskMessage> answer = asked.get();
    ASSERT_TRUE(answer);
    EXPECT_EQ(*answer, (KioskMessage{MessageKind::StatusReply, 0, 0, R"({"a":1})"}));
}

TEST_F(InstanceChannelTest, AskingEndsAtItsLimitWithoutAnAnswer) {
    std::string error;
    EXPECT_FALSE(
        test::realPlatform().askInstance({MessageKind::StatusRequest, 0, 0, {}}, 300ms, error));
    EXPECT_EQ(error, "the kiosk did not answer within 300 ms");
}

TEST_F(InstanceChannelTest, AskingWithoutAKioskSaysSo) {
    m_channel.reset();
    std::string error;
    EXPECT_FALSE(
        test::realPlatform().askInstance({MessageKind::StatusRequest, 0, 0, {}}, 5s, error));
    EXPECT_EQ(error, "no kiosk is running for this user");
}

TEST_F(InstanceChannelTest, SecondClaimIsRefusedSilently) {
    std::string refusal;
    EXPECT_EQ(test::realPlatform().claimInstanceChannel(refusal), nullptr);
    EXPECT_EQ(refusal, "") << "another kiosk of this user runs: nothing to say";
    const test::TempDir otherSession;
    ::setenv("XDG_RUNTIME_DIR", otherSession.path("").c_str(), 1);
    EXPECT_EQ(test::realPlatform().claimInstanceChannel(refusal), nullptr);
    EXPECT_EQ(refusal, "") << "also from a session with a runtime folder of its own";
}

TEST_F(InstanceChannelTest, ChannelFileIsThisUsersAloneAndGoesWithTheKiosk) {
    struct stat status {};
    ASSERT_EQ(::lstat(socketFile().c_str(), &status), 0);
    EXPECT_TRUE(S_ISSOCK(status.st_mode));
    EXPECT_EQ(status.st_mode & 0777, 0600u);
    m_channel.reset();
    EXPECT_NE(::lstat(socketFile().c_str(), &status), 0);
}

// A kiosk that was killed leaves its socket file behind.
TEST_F(ChannelFolderTest, StaleSocketFileIsNoObstacle) {
    {
        const int stale = ::socket(AF_UNIX, SOCK_DGRAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strcpy(address.sun_path, socketFile().c_str());
        ASSERT_EQ(::bind(stale, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        ::close(stale);
    }
    std::string refusal;
    const std::unique_ptr<InstanceChannel> channel =
        test::realPlatform().claimInstanceChannel(refusal);
    if (channel == nullptr && refusal.empty()) {
        GTEST_SKIP() << "a kiosk of this user holds the single-instance name";
    }
    ASSERT_NE(channel, nullptr) << refusal;
    std::string error;
    EXPECT_TRUE(test::realPlatform().sendToInstance(
        {MessageKind::CopyData, 0, 0, "http://a.example/"}, error))
        << error;
    EXPECT_EQ(awaitMessages(*channel).size(), 1u);
}

struct FolderCase {
    const char* name;
    mode_t mode;
    uid_t owner;  // -1: the test's own user
};

class OpenFolderTest : public ChannelFolderTest,
                       public ::testing::WithParamInterface<FolderCase> {};

// Another user who can enter the folder, or made it, could take or read the channel.
TEST_P(OpenFolderTest, IsNoPlaceForTheChannel) {
    if (GetParam().owner != static_cast<uid_t>(-1) && ::getuid() != 0) {
        GTEST_SKIP() << "only root can give a folder to another user";
    }
    ASSERT_EQ(::chmod(m_runtime.path("").c_str(), GetParam().mode), 0);
    if (GetParam().owner != static_cast<uid_t>(-1)) {
        ASSERT_EQ(::chown(m_runtime.path("").c_str(), GetParam().owner, 0), 0);
    }
    std::string refusal;
    const std::unique_ptr<InstanceChannel> channel =
        test::realPlatform().claimInstanceChannel(refusal);
    if (channel == nullptr && refusal.empty()) {
        GTEST_SKIP() << "a kiosk of this user holds the single-instance name";
    }
    EXPECT_EQ(channel, nullptr);
    EXPECT_NE(refusal.find("is not a folder that this user alone can reach"), std::string::npos)
        << refusal;
    std::string error;
    EXPECT_FALSE(test::realPlatform().sendToInstance(
        {MessageKind::CopyData, 0, 0, "http://a.example/"}, error));
    EXPECT_NE(error.find("is not a folder that this user alone can reach"), std::string::npos)
        << error;
}

INSTANTIATE_TEST_SUITE_P(Folders, OpenFolderTest,
                         ::testing::Values(FolderCase{"OthersMayEnter", 0711, uid_t(-1)},
                                           FolderCase{"GroupMayRead", 0750, uid_t(-1)},
                                           FolderCase{"AnotherUsers", 0700, 65534}),
                         [](const auto& info) { return std::string(info.param.name); });

// The abstract namespace has no permissions: while no kiosk runs, another user can take the
// single-instance name. The kiosk does not start behind it, and no message reaches it.
TEST_F(ChannelFolderTest, NameTakenByAnotherUserIsRefusedAndGetsNoMessage) {
    if (::getuid() != 0) {
        GTEST_SKIP() << "only root can act as another user here";
    }
    const Impostor impostor;
    ASSERT_TRUE(impostor.bound()) << "the impostor could not take the name (a kiosk runs?)";
    std::string refusal;
    EXPECT_EQ(test::realPlatform().claimInstanceChannel(refusal), nullptr);
    EXPECT_EQ(refusal,
              "Another program, not a kiosk of this user, holds the name Plintor0; "
              "this kiosk does not start");
    std::string error;
    EXPECT_FALSE(test::realPlatform().sendToInstance({MessageKind::RemoteQuit, 1, 2, {}}, error));
    const std::string said =
        "no kiosk of this user is running, and another program holds the "
        "name Plintor0; nothing was sent to it";
    EXPECT_EQ(error, said);
    EXPECT_FALSE(
        test::realPlatform().askInstance({MessageKind::StatusRequest, 0, 0, {}}, 2s, error));
    EXPECT_EQ(error, said);
}

}  // namespace
}  // namespace plintor
