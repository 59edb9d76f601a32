#include "core/config/SettingsLoader.h"

#include <gtest/gtest.h>

#include "core/config/ConfigFiles.h"
#include "core/config/Settings.h"
#include "core/support/Log.h"
#include "tests/support/CollectingReport.h"
#include "tests/support/FakeClock.h"
#include "tests/support/TempDir.h"

namespace plintor {
namespace {

using test::ReadBytes;
using test::TCollectingReport;
using test::TFakeClock;
using test::TTempDir;
using test::WriteBytes;

constexpr TColor kButtonFace = 0x00F0F0F0;

// The main window's controls as far as loading the configuration changes them.
class TRecordingWindow final : public ISettingsTarget {
public:
    int Ppi = 96;
    bool NavigationPanel = true;
    bool TouchButton = true;
    bool KeyboardOnTop = false;
    int KeyboardHeight = 194;
    int KeyboardTop = 8;
    std::string Layout = "not set";
    bool WheelchairBar = true;
    std::string BlockedHint = "not set";
    bool ProgressIndicator = false;
    int Margin = 0;
    TColor PanelColor = kButtonFace;
    int PanelColorSets = 0;

    int PixelsPerInch() const override { return Ppi; }
    bool NavigationPanelVisible() const override { return NavigationPanel; }
    void SetNavigationPanelVisible(bool visible) override { NavigationPanel = visible; }
    bool TouchButtonVisible() const override { return TouchButton; }
    void SetTouchButtonVisible(bool visible) override { TouchButton = visible; }
    void SetKeyboardPanelOnTop() override { KeyboardOnTop = true; }
    int KeyboardPanelHeight() const override { return KeyboardHeight; }
    void SetKeyboardPanelHeight(int height) override { KeyboardHeight = height; }
    int TouchKeyboardTop() const override { return KeyboardTop; }
    void SetTouchKeyboardTop(int top) override { KeyboardTop = top; }
    void SetTouchKeyboardLayout(const std::string& name) override { Layout = name; }
    void SetWheelchairBarVisible(bool visible) override { WheelchairBar = visible; }
    void SetBlockedHint(const std::string& message) override { BlockedHint = message; }
    void UseProgressIndicator() override { ProgressIndicator = true; }
    int MarginRight() const override { return Margin; }
    void SetMarginRight(int pixels) override { Margin = pixels; }
    TColor NavigationPanelColor() const override { return PanelColor; }
    void SetPanelColor(TColor color) override {
        PanelColor = color;
        ++PanelColorSets;
    }
};

class SettingsLoaderTest : public ::testing::Test {
protected:
    SettingsLoaderTest() { ResetSettings(96); }
    ~SettingsLoaderTest() override { ResetSettings(96); }

    void Load(const std::string& text) {
        WriteBytes(Dir.Path("plintor.ini"), text);
        LoadSettings(Dir.Path("plintor.ini"), Window, Report);
    }

    TTempDir Dir;
    TFakeClock Clock{EncodeDate(2026, 12, 10) + EncodeTime(2, 0, 0, 0)};
    TRecordingWindow Window;
    TCollectingReport Report;
};

TEST_F(SettingsLoaderTest, MissingFileLogsOneEntryAndKeepsEveryDefault) {
    LogFileName = Dir.Path("plintor.log");
    TLogConfigReport logReport;
    LoadSettings(Dir.Path("plintor.ini"), Window, logReport);
    LogFileName.clear();

    const std::string log = ReadBytes(Dir.Path("plintor.log"));
    EXPECT_NE(log.find("\r\nEFOpenError: Cannot open file \"" + Dir.Path("plintor.ini") + "\". "),
              std::string::npos)
        << log;
    EXPECT_EQ(log.find("EFOpenError", log.find("EFOpenError") + 1), std::string::npos);

    const TSettings defaults;
    EXPECT_EQ(Settings.Password, defaults.Password);
    EXPECT_EQ(Settings.AutoReturn, 10);
    EXPECT_EQ(Settings.AutoRestart, -1);
    EXPECT_TRUE(Settings.KillExplorer);
    EXPECT_EQ(NavButtons, std::vector<TNavButton>{DefaultHomeButton(96)});
    // What follows the failed read still applies.
    EXPECT_EQ(Window.Layout, "Standard");
    EXPECT_FALSE(Window.WheelchairBar);
    EXPECT_EQ(RequestedExecutionState, ES_CONTINUOUS | ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED);
}

TEST_F(SettingsLoaderTest, NormalisesOutOfRangeAndUnreadableValues) {
    const struct {
        const char* Text;
        int AutoReturn, Wheelchair, KeyboardSize;
    } cases[] = {
        {"AutoReturn=0\nWheelchair=95\nTouchKeyboardSize=50", 10, 70, 100},
        {"AutoReturn=soon\nWheelchair=-5\nTouchKeyboardSize=300", 10, 0, 200},
        {"AutoReturn=3\nWheelchair=30\nTouchKeyboardSize=abc", 3, 30, 100},
    };
    for (const auto& c : cases) {
        ResetSettings(96);
        Load(c.Text);
        EXPECT_EQ(Settings.AutoReturn, c.AutoReturn) << c.Text;
        EXPECT_EQ(Settings.Wheelchair, c.Wheelchair) << c.Text;
        EXPECT_EQ(Settings.TouchKeyboardSize, c.KeyboardSize) << c.Text;
    }
}

TEST_F(SettingsLoaderTest, AppliesTheVisualSettingsToTheWindow) {
    Load(
        "NavigationPanel=false\nTouchKeyboard=FALSE\nTouchKeyboardOnTop=True\n"
        "TouchKeyboardSize=150\nTouchKeyboardLayout=Standard2\nWheelchair=20\n"
        "MsgBlocked=Not here\nProgressIndicator=True\nMarginRight=12\nBackgroundColor=#FF0000\n");
    EXPECT_FALSE(Window.NavigationPanel);
    EXPECT_FALSE(Window.TouchButton);
    EXPECT_TRUE(Window.KeyboardOnTop);
    EXPECT_EQ(Window.KeyboardHeight, 291);
    EXPECT_EQ(Window.KeyboardTop, 12);
    EXPECT_EQ(Window.Layout, "Standard2");
    EXPECT_TRUE(Window.WheelchairBar);
    EXPECT_EQ(Window.BlockedHint, "Not here");
    EXPECT_TRUE(Window.ProgressIndicator);
    EXPECT_EQ(Window.Margin, 12);
    EXPECT_EQ(Window.PanelColor, 0x0000FF);
}

TEST_F(SettingsLoaderTest, InvalidColourKeepsThePanelsColourButStillSharesIt) {
    Load("BackgroundColor=red\n");
    EXPECT_EQ(Window.PanelColor, kButtonFace);
    EXPECT_EQ(Window.PanelColorSets, 1);
    EXPECT_EQ(Settings.BackgroundColor, "red");
}

TEST_F(SettingsLoaderTest, CommentedKeysBehaveLikeAnEmptyFile) {
    Load(
        ";Password=1\n;AutoReturn=3\n;Button1Width=100\n;Button1URL=http://x/"
        "\n;NavigationPanel=False\n");
    EXPECT_EQ(Settings.Password, "7395");
    EXPECT_EQ(Settings.AutoReturn, 10);
    EXPECT_TRUE(Window.NavigationPanel);
    EXPECT_EQ(NavButtons, std::vector<TNavButton>{DefaultHomeButton(96)});
    EXPECT_TRUE(Report.Failures.empty());
}

TEST_F(SettingsLoaderTest, PresentEmptyPasswordIsEmpty) {
    Load("Password=\n");
    EXPECT_EQ(Settings.Password, "");
}

TEST_F(SettingsLoaderTest, ButtonsReplaceTheHomeEntryAndFollowTheirNumbers) {
    const struct {
        const char* Name;
        const char* Text;
        std::vector<TNavButton> Expected;
        std::vector<int> Dropped;
    } cases[] = {
        {"OnlyButton3", "Button3Width=100\nButton3URL=x\n", {{"", 100, "x"}}, {}},
        {"OneAndTwo",
         "Button2Width=80\nButton2URL=http://b/\nButton1Width=90\nButton1URL= http://a/ \n"
         "Button1Caption=#\nButton2Caption=Bee\n",
         {{"#", 90, "http://a/"}, {"Bee", 80, "http://b/"}},
         {}},
        {"ZeroWidthDropped",
         "Button1Width=0\nButton1URL=http://a/\n",
         {DefaultHomeButton(96)},
         {1}},
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
    for (const auto& c : cases) {
        ResetSettings(96);
        Report.Dropped.clear();
        Load(c.Text);
        EXPECT_EQ(NavButtons, c.Expected) << c.Name;
        EXPECT_EQ(Report.Dropped, c.Dropped) << c.Name;
    }
}

TEST_F(SettingsLoaderTest, DefaultHomeButtonIsScaledToTheScreen) {
    Window.Ppi = 192;
    Load("");
    EXPECT_EQ(NavButtons, (std::vector<TNavButton>{{"", 240, DefaultHomePage}}));
}

TEST_F(SettingsLoaderTest, NextRestartIsTodayUnlessTheTimeHasPassed) {
    const TDateTime today = EncodeDate(2026, 12, 10);
    const struct {
        TDateTime Now;
        TDateTime Expected;
    } cases[] = {
        {today + EncodeTime(2, 0, 0, 0), today + EncodeTime(3, 0, 0, 0)},
        {today + EncodeTime(3, 0, 0, 0), today + EncodeTime(3, 0, 0, 0)},
        {today + EncodeTime(4, 0, 0, 0), today + 1 + EncodeTime(3, 0, 0, 0)},
    };
    for (const auto& c : cases) {
        Clock.Set(c.Now);
        Load("AutoRestart=3:00\n");
        EXPECT_NEAR(NextRestartTime, c.Expected, 1e-9);
    }
    ResetSettings(96);
    Load("AutoRestart=noon\n");
    EXPECT_EQ(Settings.AutoRestart, -1);
    EXPECT_EQ(NextRestartTime, 0);
}

TEST_F(SettingsLoaderTest, DisplayStaysOnUnlessSwitchedOff) {
    Load("DisplayAlwaysOn=False\n");
    EXPECT_EQ(RequestedExecutionState, ES_CONTINUOUS | ES_SYSTEM_REQUIRED);
    Load("DisplayAlwaysOn=True\n");
    EXPECT_EQ(RequestedExecutionState, ES_CONTINUOUS | ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED);
}

TEST_F(SettingsLoaderTest, ANulCharacterIsSaidToEndTheFile) {
    Load(std::string("Password=mine\r\nWheel\0chair=30\r\nAutoReturn=5\r\n", 44));
    EXPECT_EQ(Settings.Password, "mine");
    EXPECT_EQ(Settings.AutoReturn, 10) << "nothing after the NUL is read";
    ASSERT_EQ(Report.Warnings.size(), 1u);
    EXPECT_NE(Report.Warnings[0].find("holds a NUL character in line 2"), std::string::npos)
        << Report.Warnings[0];
    Report.Warnings.clear();
    Load("AutoReturn=5\r\n");
    EXPECT_TRUE(Report.Warnings.empty());
}

TEST(CopyDefaultFilesTest, CopiesOnlyWhatIsMissing) {
    TTempDir dir;
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.Root());
    WriteBytes("plintor.ini", "Password=mine\n");
    WriteBytes("plintor_Default.ini", "Password=default\n");
    WriteBytes("Whitelist_Default.txt", "http://default/*\n");
    CopyDefaultFiles("plintor");
    EXPECT_EQ(ReadBytes("plintor.ini"), "Password=mine\n");
    EXPECT_EQ(ReadBytes("Whitelist.txt"), "http://default/*\n");
    EXPECT_FALSE(std::filesystem::exists("Blacklist.txt"));
    std::filesystem::current_path(previous);
}

}  // namespace
}  // namespace plintor
