#include "core/lockdown/ForeignWindowRules.h"

#include <gtest/gtest.h>

#include "tests/support/RowName.h"

namespace plintor {
namespace {

constexpr long Own = 100;
constexpr long Development = 200;
constexpr long Shell = 300;
constexpr long Other = 400;

TForeignWindow Window(long processId, const char* className = "XTerm", bool hasTitle = true) {
    TForeignWindow window;
    window.Viewable = true;
    window.Enabled = true;
    window.ClassKnown = true;
    window.ClassName = className;
    window.ProcessId = processId;
    window.HasTitle = hasTitle;
    return window;
}

template <class T>
TForeignWindow With(TForeignWindow window, T TForeignWindow::*field, T value) {
    window.*field = value;
    return window;
}

struct TWindowCase {
    const char* Name;
    TForeignWindow Window;
    TForeignWindowAction Expected;
};

using enum TForeignWindowAction;

const TWindowCase WindowCases[] = {
    {"OtherProgramTitled", Window(Other), EndProcess},
    {"OtherProgramUntitled", Window(Other, "XEyes", false), EndProcess},
    {"HiddenOtherProgram", With(Window(Other), &TForeignWindow::Viewable, false), Skip},
    {"DisabledOtherProgram", With(Window(Other), &TForeignWindow::Enabled, false), Skip},
    {"ClassUnknown", With(Window(Other), &TForeignWindow::ClassKnown, false), Skip},
    {"ProtectedClass", Window(Other, "Shell_TrayWnd"), Skip},
    {"ProtectedClassComparedExactly", Window(Other, "shell_traywnd"), EndProcess},
    {"ProtectedClassPrefixIsNotProtected", Window(Other, "EditPlus"), EndProcess},
    {"OtherProgramsDock", With(Window(Other), &TForeignWindow::DesktopOrDock, true), Skip},
    {"OwnerUnknown", Window(0), Skip},
    {"OwnWindow", Window(Own), Skip},
    {"DevelopmentTool", Window(Development), Skip},
    {"ShellTitledAskedToClose", Window(Shell), AskToClose},
    {"ShellUntitledStays", Window(Shell, "Tint2", false), Skip},
    {"ShellsDockStays", With(Window(Shell), &TForeignWindow::DesktopOrDock, true), Skip},
    {"HiddenShellWindowStays", With(Window(Shell), &TForeignWindow::Viewable, false), Skip},
    {"ShellWithProtectedClass", Window(Shell, "Progman"), Skip},
};

class ForeignWindowDecisionTest : public ::testing::TestWithParam<TWindowCase> {};

TEST_P(ForeignWindowDecisionTest, FirstRuleThatAppliesDecides) {
    const TForeignWindowContext context{Own, Development, Shell};
    EXPECT_EQ(DecideForeignWindow(GetParam().Window, context), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Windows, ForeignWindowDecisionTest, ::testing::ValuesIn(WindowCases),
                         test::TRowName());

TEST(ForeignWindowRulesTest, EveryProtectedClassIsSpared) {
    const TForeignWindowContext context{Own, Development, Shell};
    for (const std::string_view className : ProtectedWindowClasses) {
        EXPECT_EQ(DecideForeignWindow(Window(Other, std::string(className).c_str()), context),
                  TForeignWindowAction::Skip)
            << className;
    }
}

// Without a development tool or shell their ids are 0, like the owner of a window whose owner
// is unknown: such a window still stays, and every known program is ended.
TEST(ForeignWindowRulesTest, AbsentDevelopmentToolAndShell) {
    const TForeignWindowContext context{Own, 0, 0};
    EXPECT_EQ(DecideForeignWindow(Window(0), context), TForeignWindowAction::Skip);
    EXPECT_EQ(DecideForeignWindow(Window(Shell), context), TForeignWindowAction::EndProcess);
    EXPECT_EQ(DecideForeignWindow(Window(Other, "XEyes", false), context),
              TForeignWindowAction::EndProcess);
}

}  // namespace
}  // namespace plintor
