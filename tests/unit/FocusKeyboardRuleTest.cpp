#include "core/keyboard/FocusKeyboardRule.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "tests/support/FakeClock.h"

namespace plintor {
namespace {

using namespace std::chrono_literals;
using Field = FocusKeyboardRule::Field;

// A row plays a story of the visitor and the page, one word a step, against a keyboard that
// does what the rule answers: "input" (a key, button or touch), "page+"/"page-" and
// "kiosk+"/"kiosk-" (a field takes or loses the focus), "button" (the keyboard's button, which is
// input too), "wait" (a second, longer than the grace and the input window), "grace" (the grace
// after a leave runs out), "new" (the page shows a new document).
struct Story {
    const char* name;
    const char* steps;
    bool enabled;
    bool shownAtEnd;
};

class KeyboardStory {
public:
    explicit KeyboardStory(bool enabled) { m_rule.setEnabled(enabled); }

    void play(const std::string& steps) {
        std::istringstream words(steps);
        for (std::string word; words >> word;) {
            step(word);
        }
    }
    bool shown() const { return m_shown; }

private:
    void step(const std::string& word) {
        if (word == "input") {
            m_rule.visitorInput();
        } else if (word == "button") {
            m_rule.visitorInput();
            m_shown = !m_shown;
            m_rule.keyboardToggled();
        } else if (word == "wait") {
            m_clock.advance(FocusKeyboardRule::InputWindow + 1ms);
        } else if (word == "grace") {
            m_clock.advance(FocusKeyboardRule::CloseGrace);
            if (m_closing && m_rule.closeDue(m_shown)) {
                m_shown = false;
            }
            m_closing = false;
        } else if (word == "new") {
            m_closing = m_rule.pageReplaced(m_shown) || m_closing;
        } else {
            const Field field = word.starts_with("page") ? Field::Page : Field::Kiosk;
            if (word.ends_with('+')) {
                m_closing = false;
                m_shown = m_rule.fieldFocused(field, m_shown) || m_shown;
            } else {
                m_closing = m_rule.fieldLeft(field, m_shown) || m_closing;
            }
        }
    }

    test::FakeMonotonicClock m_clock;
    FocusKeyboardRule m_rule{m_clock};
    bool m_shown = false;
    bool m_closing = false;  // a grace runs
};

class FocusKeyboardRuleTest : public ::testing::TestWithParam<Story> {};

TEST_P(FocusKeyboardRuleTest, KeyboardEndsAsTheStoryExpects) {
    KeyboardStory story(GetParam().enabled);
    story.play(GetParam().steps);
    EXPECT_EQ(story.shown(), GetParam().shownAtEnd) << GetParam().steps;
}

INSTANTIATE_TEST_SUITE_P(
    Stories, FocusKeyboardRuleTest,
    ::testing::Values(
        Story{"TapOnAFieldOpens", "input page+", true, true},
        Story{"OffOpensNothing", "input page+ kiosk+", false, false},
        Story{"ScriptFocusWithoutInputOpensNothing", "page+", true, false},
        Story{"FocusLongAfterTheInputOpensNothing", "input wait page+", true, false},
        Story{"LeavingClosesAfterTheGrace", "input page+ page-", true, true},
        Story{"LeftFieldClosedOnceTheGraceIsOver", "input page+ page- grace", true, false},
        Story{"MovingBetweenFieldsKeepsIt", "input page+ page- input page+ grace", true, true},
        Story{"AScriptRefocusWithinTheGraceKeepsIt", "input page+ wait page- page+ grace", true,
              true},
        Story{"OneInputOpensOnlyOnce", "input page+ page- grace page+", true, false},
        Story{"ALoopWithoutInputNeverReopens", "input page+ page- grace page+ page- page+", true,
              false},
        Story{"ANewDocumentsAutofocusOpensNothing", "input new page+", true, false},
        Story{"ANewDocumentClosesWhatAFieldOpened", "input page+ new grace", true, false},
        Story{"TheKioskFieldNeedsNoInput", "kiosk+", true, true},
        Story{"APageLeavingLateKeepsTheKioskField", "input page+ kiosk+ page- grace", true, true},
        Story{"TheKioskFieldClosesWhenLeft", "kiosk+ kiosk- grace", true, false},
        Story{"OpenedByTheButtonStaysWhenFocusLeaves", "button wait input page+ page- grace", true,
              true},
        Story{"HiddenByTheButtonIsNotReopenedByAScript", "input page+ button page- page+", true,
              false},
        Story{"HiddenByTheButtonReopensOnTheNextTap", "input page+ button input page+", true, true},
        Story{"ShownAgainByTheButtonItIsTheVisitors", "input page+ button button page- grace", true,
              true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace plintor
