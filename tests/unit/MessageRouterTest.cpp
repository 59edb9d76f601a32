// Other programs' messages reach the part of the kiosk they concern, on a channel in memory and a
// clock the test sets: the operator's answered requests first, then the kiosk's actions; a
// quit needs today's token, and a kind nobody knows is dropped.
#include "app/MessageRouter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/app/QuitToken.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakePlatform.h"
#include "tests/support/LocalDates.h"
#include "tests/support/RowName.h"

namespace plintor {
namespace {

using Calls = std::vector<std::string>;

class RecordedActions final : public RoutedActions {
public:
    void navigate(const std::string& address) override { calls.push_back("navigate " + address); }
    void quit() override { calls.push_back("quit"); }
    void openHomeOnce() override { calls.push_back("openHomeOnce"); }
    void hideScreensaver() override { calls.push_back("hideScreensaver"); }
    Calls calls;
};

// Takes the status requests, as the operator's requests do.
class StatusTaker final : public AnsweredRequests {
public:
    bool handle(const ReceivedMessage& received, InstanceChannel& channel) override {
        if (received.message.kind != MessageKind::StatusRequest) {
            return false;
        }
        std::string error;
        return channel.answer(received.sender, {MessageKind::StatusReply, 0, 0, "{}"}, error);
    }
};

// 2026-12-10, 23:59:59.999 on the kiosk's clock: the quit token of the 10th holds, the 11th's not.
const LocalTime LastMomentOfTheDay =
    test::date(2026, 12, 10) + std::chrono::hours(24) - std::chrono::milliseconds(1);

KioskMessage quitWithTokenOf(int year, int month, int day) {
    const std::int32_t date = quitTokenDate(year, month, day);
    return {MessageKind::RemoteQuit, date, quitTokenKeyed(date), ""};
}

struct RouteCase {
    const char* name;
    KioskMessage message;
    Calls expected;
};

class MessageRouterTest : public ::testing::TestWithParam<RouteCase> {
protected:
    test::FakeClock m_clock{LastMomentOfTheDay};
    RecordedActions m_actions;
    StatusTaker m_status;
    test::FakeInstanceChannel m_channel;
    MessageRouter m_router{{&m_status}, m_actions, m_clock};
};

TEST_P(MessageRouterTest, EachMessageReachesItsPart) {
    m_channel.incoming.push_back({GetParam().message, "@asker"});
    m_router.routeAll(m_channel);
    EXPECT_EQ(m_actions.calls, GetParam().expected);
    EXPECT_TRUE(m_channel.answers.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Messages, MessageRouterTest,
    ::testing::Values(
        RouteCase{"AddressIsOpened",
                  {MessageKind::CopyData, 0, 0, "http://example.test/"},
                  {"navigate http://example.test/"}},
        RouteCase{"TodaysTokenQuits", quitWithTokenOf(2026, 12, 10), {"quit"}},
        RouteCase{"TomorrowsTokenDoesNot", quitWithTokenOf(2026, 12, 11), {}},
        RouteCase{"YesterdaysTokenDoesNot", quitWithTokenOf(2026, 12, 9), {}},
        RouteCase{"UnkeyedTokenDoesNot",
                  {MessageKind::RemoteQuit, quitTokenDate(2026, 12, 10), 0, ""},
                  {}},
        RouteCase{"FirstHomePage", {MessageKind::StartHome, 0, 0, ""}, {"openHomeOnce"}},
        RouteCase{"ScreensaverEnds", {MessageKind::HideScreensaver, 0, 0, ""}, {"hideScreensaver"}},
        RouteCase{"UnknownKindIsDropped", {messageKindOf(0x0999), 0, 0, "quit"}, {}},
        RouteCase{"ReplyFromElsewhereIsDropped", {MessageKind::StatusReply, 0, 0, "{}"}, {}}),
    test::RowName());

TEST(MessageRouterAnswerTest, AnAnsweredRequestGoesNoFurtherAndTheRestFollowInOrder) {
    const test::FakeClock clock{LastMomentOfTheDay};
    RecordedActions actions;
    StatusTaker status;
    test::FakeInstanceChannel channel;
    MessageRouter router{{&status}, actions, clock};
    channel.incoming = {{{MessageKind::CopyData, 0, 0, "http://a.test/"}, "@one"},
                        {{MessageKind::StatusRequest, 0, 0, ""}, "@two"},
                        {{MessageKind::CopyData, 0, 0, "http://b.test/"}, "@three"}};
    router.routeAll(channel);
    EXPECT_EQ(actions.calls, (Calls{"navigate http://a.test/", "navigate http://b.test/"}));
    ASSERT_EQ(channel.answers.size(), 1u);
    EXPECT_EQ(channel.answers.front().kind, MessageKind::StatusReply);
}

}  // namespace
}  // namespace plintor
