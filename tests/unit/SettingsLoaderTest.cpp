#include "core/config/SettingsLoader.h"

#include <gtest/gtest.h>

#include "core/app/WindowRules.h"
#include "core/config/KioskSettings.h"
#include "core/support/Log.h"
#include "tests/support/CollectingReport.h"
#include "tests/support/FakeClock.h"
#include "tests/support/LocalDates.h"
#include "tests/support/RowName.h"
#include "tests/support/TempDir.h"

namespace plintor {
namespace {

using namespace std::chrono_literals;
using test::CollectingReport;
using test::FakeClock;
using test::readBytes;
using test::TempDir;
using test::writeBytes;

class SettingsLoaderTest : public ::testing::Test {
protected:
    const LoadedSettings& load(const std::string& text, int pixelsPerInch = 96) {
        writeBytes(m_dir.path("plintor.ini"), text);
        m_loaded = loadSettings(m_dir.path("plintor.ini"), pixelsPerInch, m_report);
        return m_loaded;
    }

    TempDir m_dir;
    CollectingReport m_report;
    LoadedSettings m_loaded;
};

TEST_F(SettingsLoaderTest, MissingFileLogsOneEntryAndKeepsEveryDefault) {
    const FakeClock clock{test::date(2026, 12, 10)};
    const LogWriter log(m_dir.path("plintor.log"), clock);
    LogConfigReport logReport(log);
    const LoadedSettings loaded = loadSettings(m_dir.path("plintor.ini"), 96, logReport);

    const std::string text = readBytes(m_dir.path("plintor.log"));
    EXPECT_NE(
        text.find("\r\nEFOpenError: Cannot open file \"" + m_dir.path("plintor.ini") + "\". "),
        std::string::npos)
        << text;
    EXPECT_EQ(text.find("EFOpenError", text.find("EFOpenError") + 1), std::string::npos);
    EXPECT_EQ(loaded.settings, KioskSettings{});
    EXPECT_EQ(loaded.buttons, std::vector<NavButton>{defaultHomeButton(96)});
    EXPECT_EQ(executionStateOf(loaded.settings),
              AwakeRequest::Continuous | AwakeRequest::System | AwakeRequest::Display);
}

struct RangeCase {
    const char* name;
    const char* text;
    int autoReturn, wheelchair, keyboardSize;
};

const RangeCase RangeCases[] = {
    {"PastTheirLimits", "AutoReturn=0\nWheelchair=95\nTouchKeyboardSize=50", 10, 70, 100},
    {"UnreadableAndPastTheOtherLimits", "AutoReturn=soon\nWheelchair=-5\nTouchKeyboardSize=300", 10,
     0, 200},
    {"InRangeValuesStay", "AutoReturn=3\nWheelchair=30\nTouchKeyboardSize=abc", 3, 30, 100},
};

class SettingsRangeTest : public SettingsLoaderTest,
                          public ::testing::WithParamInterface<RangeCase> {};

TEST_P(SettingsRangeTest, NormalisesOutOfRangeAndUnreadableValues) {
    const KioskSettings& settings = load(GetParam().text).settings;
    EXPECT_EQ(settings.autoReturn, GetParam().autoReturn);
    EXPECT_EQ(settings.wheelchair, GetParam().wheelchair);
    EXPECT_EQ(settings.touchKeyboardSize, GetParam().keyboardSize);
}

INSTANTIATE_TEST_SUITE_P(Values, SettingsRangeTest, ::testing::ValuesIn(RangeCases),
                         test::RowName());

TEST_F(SettingsLoaderTest, ReadsTheWindowsSettings) {
    const KioskSettings& settings =
        load(
            "NavigationPanel=false\nTouchKeyboard=FALSE\nTouchKeyboardOnTop=True\n"
            "TouchKeyboardSize=150\nTouchKeyboardLayout=Standard2\nWheelchair=20\n"
            "MsgBlocked=Not "
            "here\nProgressIndicator=True\nMarginRight=12\nBackgroundColor=#FF0000\n")
            .settings;
    KioskSettings expected;
    expected.navigationPanel = false;
    expected.touchKeyboard = false;
    expected.touchKeyboardOnTop = true;
    expected.touchKeyboardSize = 150;
    expected.touchKeyboardLayout = "Standard2";
    expected.wheelchair = 20;
    expected.msgBlocked = "Not here";
    expected.progressIndicator = true;
    expected.marginRight = 12;
    expected.backgroundColor = "#FF0000";
    EXPECT_EQ(settings, expected);
    // The keyboard panel's design height and the keyboard's distance from its edge, at 150 %.
    EXPECT_EQ(keyboardSized(194, settings.touchKeyboardSize), 291);
    EXPECT_EQ(keyboardSized(8, settings.touchKeyboardSize), 12);
    EXPECT_EQ(panelColorOf(settings), 0x0000FF);
}

TEST_F(SettingsLoaderTest, InvalidColourKeepsThePanelsColour) {
    const KioskSettings& settings = load("BackgroundColor=red\n").settings;
    EXPECT_EQ(panelColorOf(settings), std::nullopt);
    EXPECT_EQ(settings.backgroundColor, "red");
}

TEST_F(SettingsLoaderTest, CommentedKeysBehaveLikeAnEmptyFile) {
    const LoadedSettings& loaded = load(
        ";Password=1\n;AutoReturn=3\n;Button1Width=100\n;Button1URL=http://x/"
        "\n;NavigationPanel=False\n");
    EXPECT_EQ(loaded.settings, KioskSettings{});
    EXPECT_EQ(loaded.buttons, std::vector<NavButton>{defaultHomeButton(96)});
    EXPECT_TRUE(m_report.failures.empty());
}

TEST_F(SettingsLoaderTest, PresentEmptyPasswordIsEmpty) {
    EXPECT_EQ(load("Password=\n").settings.password, "");
}

struct ButtonsCase {
    const char* name;
    const char* text;
    std::vector<NavButton> expected;
    std::vector<int> dropped;
};

const ButtonsCase ButtonsCases[] = {
    {"OnlyButton3", "Button3Width=100\nButton3URL=x\n", {{"", 100, "x"}}, {}},
    {"OneAndTwo",
     "Button2Width=80\nButton2URL=http://b/\nButton1Width=90\nButton1URL= http://a/ \n"
     "Button1Caption=#\nButton2Caption=Bee\n",
     {{"#", 90, "http://a/"}, {"Bee", 80, "http://b/"}},
     {}},
    {"ZeroWidthDropped", "Button1Width=0\nButton1URL=http://a/\n", {defaultHomeButton(96)}, {1}},
    {"LaterButtonBecomesHome",
     "Button1Width=-4\nButton1URL=http://a/\nButton7Width=50\nButton7URL=http://g/\n"
     "Button9Width=60\nButton9URL=\nButton99Width=70\nButton99URL=http://z/\n",
     {{"", 50, "http://g/"}, {"", 70, "http://z/"}},
     {1, 9}},
    {"Button100IsNotAButton",
     "Button100Width=50\nButton100URL=http://x/\n",
     {defaultHomeButton(96)},
     {}},
};

class SettingsButtonsTest : public SettingsLoaderTest,
                            public ::testing::WithParamInterface<ButtonsCase> {};

TEST_P(SettingsButtonsTest, ButtonsReplaceTheHomeEntryAndFollowTheirNumbers) {
    EXPECT_EQ(load(GetParam().text).buttons, GetParam().expected);
    EXPECT_EQ(m_report.dropped, GetParam().dropped);
}

INSTANTIATE_TEST_SUITE_P(Files, SettingsButtonsTest, ::testing::ValuesIn(ButtonsCases),
                         test::RowName());

TEST_F(SettingsLoaderTest, DefaultHomeButtonIsScaledToTheScreen) {
    EXPECT_EQ(load("", 192).buttons, (std::vector<NavButton>{{"", 240, DefaultHomePage}}));
}

TEST_F(SettingsLoaderTest, AnInvalidRestartTimeLeavesItOff) {
    EXPECT_EQ(load("AutoRestart=noon\n").settings.autoRestart, std::nullopt);
    EXPECT_EQ(load("AutoRestart=3 pm\n").settings.autoRestart, 15h);
}

TEST_F(SettingsLoaderTest, DisplayStaysOnUnlessSwitchedOff) {
    EXPECT_EQ(executionStateOf(load("DisplayAlwaysOn=False\n").settings),
              AwakeRequest::Continuous | AwakeRequest::System);
    EXPECT_EQ(executionStateOf(load("DisplayAlwaysOn=True\n").settings),
              AwakeRequest::Continuous | AwakeRequest::System | AwakeRequest::Display);
}

TEST_F(SettingsLoaderTest, ANulCharacterIsSaidToEndTheFile) {
    const KioskSettings& settings =
        load(std::string("Password=mine\r\nWheel\0chair=30\r\nAutoReturn=5\r\n", 45)).settings;
    EXPECT_EQ(settings.password, "mine");
    EXPECT_EQ(settings.autoReturn, 10) << "nothing after the NUL is read";
    ASSERT_EQ(m_report.warnings.size(), 1u);
    EXPECT_NE(m_report.warnings[0].find("holds a NUL character in line 2"), std::string::npos)
        << m_report.warnings[0];
    m_report.warnings.clear();
    load("AutoReturn=5\r\n");
    EXPECT_TRUE(m_report.warnings.empty());
}

}  // namespace
}  // namespace plintor
