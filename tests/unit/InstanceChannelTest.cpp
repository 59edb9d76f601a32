#include "platform/InstanceChannel.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>
#include <future>

#include "platform/Platform.h"

namespace plintor {
namespace {

using namespace std::chrono_literals;

Platform& platform() {
    static const std::unique_ptr<Platform> platform = createPlatform();
    return *platform;
}

std::vector<ReceivedMessage> awaitMessages(InstanceChannel& channel) {
    pollfd readable{channel.descriptor(), POLLIN, 0};
    ::poll(&readable, 1, 5000);
    return channel.receiveAll();
}

// Each test holds the user's channel, as the kiosk would; a kiosk running now would take the
// tests' messages instead.
class InstanceChannelTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_channel = platform().claimInstanceChannel();
        if (m_channel == nullptr) {
            GTEST_SKIP() << "a kiosk of this user holds the channel";
        }
    }

    std::unique_ptr<InstanceChannel> m_channel;
};

TEST_F(InstanceChannelTest, AnswerGoesBackToTheSocketThatAsked) {
    std::string error;
    ASSERT_TRUE(platform().sendToInstance({WM_COPYDATA, 0, 0, "http://a.example/"}, error));
    std::vector<ReceivedMessage> received = awaitMessages(*m_channel);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_FALSE(m_channel->answer(received[0].sender, {WM_STATUSREPLY, 0, 0, "{}"}, error))
        << "a plain sender waits for nothing";

    auto asked = std::async(std::launch::async, [] {
        std::string askError;
        return platform().askInstance({WM_STATUSREQUEST, 0, 0, {}}, 5s, askError);
    });
    received = awaitMessages(*m_channel);
    ASSERT_EQ(received.size(), 1u);
    EXPECT_EQ(received[0].message.msg, WM_STATUSREQUEST);
    EXPECT_TRUE(m_channel->answer(received[0].sender, {WM_STATUSREPLY, 0, 0, R"({"a":1})"}, error))
        << error;
    const std::optional<KioskMessage> answer = asked.get();
    ASSERT_TRUE(answer);
    EXPECT_EQ(*answer, (KioskMessage{WM_STATUSREPLY, 0, 0, R"({"a":1})"}));
}

TEST_F(InstanceChannelTest, AskingEndsAtItsLimitWithoutAnAnswer) {
    std::string error;
    EXPECT_FALSE(platform().askInstance({WM_STATUSREQUEST, 0, 0, {}}, 300ms, error));
    EXPECT_EQ(error, "the kiosk did not answer within 300 ms");
}

TEST_F(InstanceChannelTest, AskingWithoutAKioskSaysSo) {
    m_channel.reset();
    std::string error;
    EXPECT_FALSE(platform().askInstance({WM_STATUSREQUEST, 0, 0, {}}, 5s, error));
    EXPECT_EQ(error, "no kiosk is running for this user");
}

// The abstract namespace has no permissions: while no kiosk runs, another user can take the
// channel's name and answer in the kiosk's place. Such an answer is not taken.
TEST_F(InstanceChannelTest, AnswerFromAnotherUserIsDropped) {
    if (::getuid() != 0) {
        GTEST_SKIP() << "only root can act as another user here";
    }
    m_channel.reset();
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t impostor = ::fork();
    ASSERT_GE(impostor, 0);
    if (impostor == 0) {
        const std::string name = kioskChannelName(0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path + 1, name.data(), name.size());
        const int sock = ::socket(AF_UNIX, SOCK_DGRAM, 0);
        const timeval wait{5, 0};
        ::setsockopt(sock, SOL_SOCKET, SO_RCVTIMEO, &wait, sizeof wait);
        const bool bound =
            ::setuid(65534) == 0 &&
            ::bind(sock, reinterpret_cast<sockaddr*>(&address),
                   static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size())) == 0;
        [[maybe_unused]] const ssize_t said = ::write(ready[1], bound ? "1" : "0", 1);
        char question[256];
        sockaddr_un asker{};
        socklen_t length = sizeof asker;
        if (::recvfrom(sock, question, sizeof question, 0, reinterpret_cast<sockaddr*>(&asker),
                       &length) > 0) {
            const std::string answer = encodeKioskMessage({WM_STATUSREPLY, 0, 0, "{}"});
            ::sendto(sock, answer.data(), answer.size(), 0, reinterpret_cast<sockaddr*>(&asker),
                     length);
        }
        ::_exit(0);
    }
    char bound = '0';
    ASSERT_EQ(::read(ready[0], &bound, 1), 1);
    std::string error;
    const std::optional<KioskMessage> answer =
        bound == '1' ? platform().askInstance({WM_STATUSREQUEST, 0, 0, {}}, 2s, error)
                     : std::nullopt;
    ::kill(impostor, SIGKILL);
    ::waitpid(impostor, nullptr, 0);
    ::close(ready[0]);
    ::close(ready[1]);
    ASSERT_EQ(bound, '1') << "the impostor could not take the channel's name";
    EXPECT_FALSE(answer);
    EXPECT_EQ(error, "the kiosk did not answer within 2 s");
}

}  // namespace
}  // namespace plintor
