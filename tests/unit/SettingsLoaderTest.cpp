#include "core/config/SettingsLoader.h"

#include <gtest/gtest.h>

#include "core/app/WindowRules.h"
#include "core/config/Settings.h"
#include "core/support/Log.h"
#include "tests/support/CollectingReport.h"
#include "tests/support/FakeClock.h"
#include "tests/support/RowName.h"
#include "tests/support/TempDir.h"

namespace plintor {
namespace {

using test::ReadBytes;
using test::TCollectingReport;
using test::TFakeClock;
using test::TTempDir;
using test::WriteBytes;

class SettingsLoaderTest : public ::testing::Test {
protected:
    const TLoadedSettings& Load(const std::string& text, int pixelsPerInch = 96) {
        WriteBytes(Dir.Path("plintor.ini"), text);
        Loaded = LoadSettings(Dir.Path("plintor.ini"), pixelsPerInch, Report);
        return Loaded;
    }

    TTempDir Dir;
    TCollectingReport Report;
    TLoadedSettings Loaded;
};

TEST_F(SettingsLoaderTest, MissingFileLogsOneEntryAndKeepsEveryDefault) {
    const TFakeClock clock{EncodeDate(2026, 12, 10)};
    const TLogWriter log(Dir.Path("plintor.log"), clock);
    TLogConfigReport logReport(log);
    const TLoadedSettings loaded = LoadSettings(Dir.Path("plintor.ini"), 96, logReport);

    const std::string text = ReadBytes(Dir.Path("plintor.log"));
    EXPECT_NE(text.find("\r\nEFOpenError: Cannot open file \"" + Dir.Path("plintor.ini") + "\". "),
              std::string::npos)
        << text;
    EXPECT_EQ(text.find("EFOpenError", text.find("EFOpenError") + 1), std::string::npos);
    EXPECT_EQ(loaded.Settings, TSettings{});
    EXPECT_EQ(loaded.Buttons, std::vector<TNavButton>{DefaultHomeButton(96)});
    EXPECT_EQ(ExecutionStateOf(loaded.Settings),
              ES_CONTINUOUS | ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED);
}

struct TRangeCase {
    const char* Name;
    const char* Text;
    int AutoReturn, Wheelchair, KeyboardSize;
};

const TRangeCase RangeCases[] = {
    {"PastTheirLimits", "AutoReturn=0\nWheelchair=95\nTouchKeyboardSize=50", 10, 70, 100},
    {"UnreadableAndPastTheOtherLimits", "AutoReturn=soon\nWheelchair=-5\nTouchKeyboardSize=300", 10,
     0, 200},
    {"InRangeValuesStay", "AutoReturn=3\nWheelchair=30\nTouchKeyboardSize=abc", 3, 30, 100},
};

class SettingsRangeTest : public SettingsLoaderTest,
                          public ::testing::WithParamInterface<TRangeCase> {};

TEST_P(SettingsRangeTest, NormalisesOutOfRangeAndUnreadableValues) {
    const TSettings& settings = Load(GetParam().Text).Settings;
    EXPECT_EQ(settings.AutoReturn, GetParam().AutoReturn);
    EXPECT_EQ(settings.Wheelchair, GetParam().Wheelchair);
    EXPECT_EQ(settings.TouchKeyboardSize, GetParam().KeyboardSize);
}

INSTANTIATE_TEST_SUITE_P(Values, SettingsRangeTest, ::testing::ValuesIn(RangeCases),
                         test::TRowName());

TEST_F(SettingsLoaderTest, ReadsTheWindowsSettings) {
    const TSettings& settings =
        Load(
            "NavigationPanel=false\nTouchKeyboard=FALSE\nTouchKeyboardOnTop=True\n"
            "TouchKeyboardSize=150\nTouchKeyboardLayout=Standard2\nWheelchair=20\n"
            "MsgBlocked=Not "
            "here\nProgressIndicator=True\nMarginRight=12\nBackgroundColor=#FF0000\n")
            .Settings;
    TSettings expected;
    expected.NavigationPanel = false;
    expected.TouchKeyboard = false;
    expected.TouchKeyboardOnTop = true;
    expected.TouchKeyboardSize = 150;
    expected.TouchKeyboardLayout = "Standard2";
    expected.Wheelchair = 20;
    expected.MsgBlocked = "Not here";
    expected.ProgressIndicator = true;
    expected.MarginRight = 12;
    expected.BackgroundColor = "#FF0000";
    EXPECT_EQ(settings, expected);
    // The keyboard panel's design height and the keyboard's distance from its edge, at 150 %.
    EXPECT_EQ(KeyboardSized(194, settings.TouchKeyboardSize), 291);
    EXPECT_EQ(KeyboardSized(8, settings.TouchKeyboardSize), 12);
    EXPECT_EQ(PanelColorOf(settings), 0x0000FF);
}

TEST_F(SettingsLoaderTest, InvalidColourKeepsThePanelsColour) {
    const TSettings& settings = Load("BackgroundColor=red\n").Settings;
    EXPECT_EQ(PanelColorOf(settings), std::nullopt);
    EXPECT_EQ(settings.BackgroundColor, "red");
}

TEST_F(SettingsLoaderTest, CommentedKeysBehaveLikeAnEmptyFile) {
    const TLoadedSettings& loaded = Load(
        ";Password=1\n;AutoReturn=3\n;Button1Width=100\n;Button1URL=http://x/"
        "\n;NavigationPanel=False\n");
    EXPECT_EQ(loaded.Settings, TSettings{});
    EXPECT_EQ(loaded.Buttons, std::vector<TNavButton>{DefaultHomeButton(96)});
    EXPECT_TRUE(Report.Failures.empty());
}

TEST_F(SettingsLoaderTest, PresentEmptyPasswordIsEmpty) {
    EXPECT_EQ(Load("Password=\n").Settings.Password, "");
}

struct TButtonsCase {
    const char* Name;
    const char* Text;
    std::vector<TNavButton> Expected;
    std::vector<int> Dropped;
};

const TButtonsCase ButtonsCases[] = {
    {"OnlyButton3", "Button3Width=100\nButton3URL=x\n", {{"", 100, "x"}}, {}},
    {"OneAndTwo",
     "Button2Width=80\nButton2URL=http://b/\nButton1Width=90\nButton1URL= http://a/ \n"
     "Button1Caption=#\nButton2Caption=Bee\n",
     {{"#", 90, "http://a/"}, {"Bee", 80, "http://b/"}},
     {}},
    {"ZeroWidthDropped", "Button1Width=0\nButton1URL=http://a/\n", {DefaultHomeButton(96)}, {1}},
    {"LaterButtonBecomesHome",
     "Button1Width=-4\nButton1URL=http://a/\nButton7Width=50\nButton7URL=http://g/\n"
     "Button9Width=60\nButton9URL=\nButton99Width=70\nButton99URL=http://z/\n",
     {{"", 50, "http://g/"}, {"", 70, "http://z/"}},
     {1, 9}},
    {"Button100IsNotAButton",
     "Button100Width=50\nButton100URL=http://x/\n",
     {DefaultHomeButton(96)},
     {}},
};

class SettingsButtonsTest : public SettingsLoaderTest,
                            public ::testing::WithParamInterface<TButtonsCase> {};

TEST_P(SettingsButtonsTest, ButtonsReplaceTheHomeEntryAndFollowTheirNumbers) {
    EXPECT_EQ(Load(GetParam().Text).Buttons, GetParam().Expected);
    EXPECT_EQ(Report.Dropped, GetParam().Dropped);
}

INSTANTIATE_TEST_SUITE_P(Files, SettingsButtonsTest, ::testing::ValuesIn(ButtonsCases),
                         test::TRowName());

TEST_F(SettingsLoaderTest, DefaultHomeButtonIsScaledToTheScreen) {
    EXPECT_EQ(Load("", 192).Buttons, (std::vector<TNavButton>{{"", 240, DefaultHomePage}}));
}

TEST_F(SettingsLoaderTest, AnInvalidRestartTimeLeavesItOff) {
    EXPECT_EQ(Load("AutoRestart=noon\n").Settings.AutoRestart, -1);
    EXPECT_NEAR(Load("AutoRestart=3 pm\n").Settings.AutoRestart, EncodeTime(15, 0, 0, 0), 1e-9);
}

TEST_F(SettingsLoaderTest, DisplayStaysOnUnlessSwitchedOff) {
    EXPECT_EQ(ExecutionStateOf(Load("DisplayAlwaysOn=False\n").Settings),
              ES_CONTINUOUS | ES_SYSTEM_REQUIRED);
    EXPECT_EQ(ExecutionStateOf(Load("DisplayAlwaysOn=True\n").Settings),
              ES_CONTINUOUS | ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED);
}

TEST_F(SettingsLoaderTest, ANulCharacterIsSaidToEndTheFile) {
    const TSettings& settings =
        Load(std::string("Password=mine\r\nWheel\0chair=30\r\nAutoReturn=5\r\n", 45)).Settings;
    EXPECT_EQ(settings.Password, "mine");
    EXPECT_EQ(settings.AutoReturn, 10) << "nothing after the NUL is read";
    ASSERT_EQ(Report.Warnings.size(), 1u);
    EXPECT_NE(Report.Warnings[0].find("holds a NUL character in line 2"), std::string::npos)
        << Report.Warnings[0];
    Report.Warnings.clear();
    Load("AutoReturn=5\r\n");
    EXPECT_TRUE(Report.Warnings.empty());
}

}  // namespace
}  // namespace plintor
