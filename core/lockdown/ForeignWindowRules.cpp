#include "core/lockdown/ForeignWindowRules.h"

#include <algorithm>

namespace plintor {

const std::array<std::string_view, 16> ProtectedWindowClasses = {
    "TAppBuilder",
    "Progman",
    "BasicWindow",
    "Shell_TrayWnd",
    "tooltips_class32",
    "SideBar_AppBarWindow",
    "SideBar_AppBarBullet",
    "SideBar_HTMLHostWindow",
    "Internet Explorer_Hidden",
    "Button",
    "ComboBox",
    "Edit",
    "ListBox",
    "MDIClient",
    "ScrollBar",
    "Static",
};

bool IsProtectedWindowClass(std::string_view className) {
    return std::find(ProtectedWindowClasses.begin(), ProtectedWindowClasses.end(), className) !=
           ProtectedWindowClasses.end();
}

TForeignWindowAction DecideForeignWindow(const TForeignWindow& window,
                                         const TForeignWindowContext& context) {
    if (!window.Viewable || !window.Enabled) {
        return TForeignWindowAction::Skip;
    }
    if (!window.ClassKnown || IsProtectedWindowClass(window.ClassName) || window.DesktopOrDock) {
        return TForeignWindowAction::Skip;
    }
    if (window.ProcessId == 0 || window.ProcessId == context.OwnProcessId ||
        window.ProcessId == context.DevelopmentProcessId) {
        return TForeignWindowAction::Skip;
    }
    if (window.ProcessId == context.ShellProcessId) {
        return window.HasTitle ? TForeignWindowAction::AskToClose : TForeignWindowAction::Skip;
    }
    return TForeignWindowAction::EndProcess;
}

}  // namespace plintor
