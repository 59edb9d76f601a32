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

bool isProtectedWindowClass(std::string_view className) {
    return std::find(ProtectedWindowClasses.begin(), ProtectedWindowClasses.end(), className) !=
           ProtectedWindowClasses.end();
}

ForeignWindowAction decideForeignWindow(const ForeignWindow& window,
                                        const ForeignWindowContext& context) {
    if (!window.viewable || !window.enabled) {
        return ForeignWindowAction::Skip;
    }
    if (!window.classKnown || isProtectedWindowClass(window.className) || window.desktopOrDock) {
        return ForeignWindowAction::Skip;
    }
    if (window.processId == 0 || window.processId == context.ownProcessId ||
        window.processId == context.developmentProcessId) {
        return ForeignWindowAction::Skip;
    }
    if (window.processId == context.shellProcessId) {
        return window.hasTitle ? ForeignWindowAction::AskToClose : ForeignWindowAction::Skip;
    }
    return ForeignWindowAction::EndProcess;
}

}  // namespace plintor
