#pragma once

#include <array>
#include <string>
#include <string_view>

namespace plintor {

// What is known of one top-level window of the desktop.
struct ForeignWindow {
    bool viewable = false;
    bool enabled = true;
    bool classKnown = false;     // the class name could be read
    std::string className;       // the class part of WM_CLASS (or the system's class name)
    bool desktopOrDock = false;  // the desktop's own background and panel windows
    long processId = 0;          // 0 when the owner is unknown
    bool hasTitle = false;
};

// The process identifiers the closing spares or treats specially; recorded once at start.
struct ForeignWindowContext {
    long ownProcessId = 0;
    long developmentProcessId = 0;
    long shellProcessId = 0;
};

enum class ForeignWindowAction { Skip, AskToClose, EndProcess };

// The first rule that applies decides: hidden or disabled, unknown or protected class, own or
// development process, the shell's titled window (asked to close; untitled ones stay), any
// other program (ended).
ForeignWindowAction decideForeignWindow(const ForeignWindow& window,
                                        const ForeignWindowContext& context);

// Window classes that are never closed, compared exactly.
extern const std::array<std::string_view, 16> ProtectedWindowClasses;
bool isProtectedWindowClass(std::string_view className);

}  // namespace plintor
