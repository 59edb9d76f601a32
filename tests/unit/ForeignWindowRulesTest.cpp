#include "core/lockdown/ForeignWindowRules.h"

#include <gtest/gtest.h>

#include "tests/support/RowName.h"

namespace plintor {
namespace {

constexpr long Own = 100;
constexpr long Development = 200;
constexpr long Shell = 300;
constexpr long Other = 400;

ForeignWindow window(long processId, const char* className = "XTerm", bool hasTitle = true) {
    ForeignWindow window;
    window.viewable = true;
    window.enabled = true;
    window.classKnown = true;
    window.className = className;
    window.processId = processId;
    window.hasTitle = hasTitle;
    return window;
}

template <class T>
ForeignWindow with(ForeignWindow window, T ForeignWindow::*field, T value) {
    window.*field = value;
    return window;
}

struct WindowCase {
    const char* name;
    ForeignWindow window;
    ForeignWindowAction expected;
};

using enum ForeignWindowAction;

const WindowCase WindowCases[] = {
    {"OtherProgramTitled", window(Other), EndProcess},
    {"OtherProgramUntitled", window(Other, "XEyes", false), EndProcess},
    {"HiddenOtherProgram", with(window(Other), &ForeignWindow::viewable, false), Skip},
    {"DisabledOtherProgram", with(window(Other), &ForeignWindow::enabled, false), Skip},
    {"ClassUnknown", with(window(Other), &ForeignWindow::classKnown, false), Skip},
    {"ProtectedClass", window(Other, "Shell_TrayWnd"), Skip},
    {"ProtectedClassComparedExactly", window(Other, "shell_traywnd"), EndProcess},
    {"ProtectedClassPrefixIsNotProtected", window(Other, "EditPlus"), EndProcess},
    {"OtherProgramsDock", with(window(Other), &ForeignWindow::desktopOrDock, true), Skip},
    {"OwnerUnknown", window(0), Skip},
    {"OwnWindow", window(Own), Skip},
    {"DevelopmentTool", window(Development), Skip},
    {"ShellTitledAskedToClose", window(Shell), AskToClose},
    {"ShellUntitledStays", window(Shell, "Tint2", false), Skip},
    {"ShellsDockStays", with(window(Shell), &ForeignWindow::desktopOrDock, true), Skip},
    {"HiddenShellWindowStays", with(window(Shell), &ForeignWindow::viewable, false), Skip},
    {"ShellWithProtectedClass", window(Shell, "Progman"), Skip},
};

class ForeignWindowDecisionTest : public ::testing::TestWithParam<WindowCase> {};

TEST_P(ForeignWindowDecisionTest, FirstRuleThatAppliesDecides) {
    const ForeignWindowContext context{Own, Development, Shell};
    EXPECT_EQ(decideForeignWindow(GetParam().window, context), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Windows, ForeignWindowDecisionTest, ::testing::ValuesIn(WindowCases),
                         test::RowName());

TEST(ForeignWindowRulesTest, EveryProtectedClassIsSpared) {
    const ForeignWindowContext context{Own, Development, Shell};
    for (const std::string_view className : ProtectedWindowClasses) {
        EXPECT_EQ(decideForeignWindow(window(Other, std::string(className).c_str()), context),
                  ForeignWindowAction::Skip)
            << className;
    }
}

// Without a development tool or shell their ids are 0, like the owner of a window whose owner
// is unknown: such a window still stays, and every known program is ended.
TEST(ForeignWindowRulesTest, AbsentDevelopmentToolAndShell) {
    const ForeignWindowContext context{Own, 0, 0};
    EXPECT_EQ(decideForeignWindow(window(0), context), ForeignWindowAction::Skip);
    EXPECT_EQ(decideForeignWindow(window(Shell), context), ForeignWindowAction::EndProcess);
    EXPECT_EQ(decideForeignWindow(window(Other, "XEyes", false), context),
              ForeignWindowAction::EndProcess);
}

}  // namespace
}  // namespace plintor
