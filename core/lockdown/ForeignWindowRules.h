#pragma once

#include <array>
#include <string>
#include <string_view>

namespace plintor {

// What is known of one top-level window of the desktop.
struct TForeignWindow {
    bool Viewable = false;
    bool Enabled = true;
    bool ClassKnown = false;         // the class name could be read
    std::string ClassName;           // the class part of WM_CLASS (or the system's class name)
    bool DesktopOrDock = false;      // the desktop's own background and panel windows
    long ProcessId = 0;              // 0 when the owner is unknown
    bool HasTitle = false;
};

// The process identifiers the closing spares or treats specially; recorded once at start.
struct TForeignWindowContext {
    long OwnProcessId = 0;
    long DevelopmentProcessId = 0;
    long ShellProcessId = 0;
};

enum class TForeignWindowAction { Skip, AskToClose, EndProcess };

// The first rule that applies decides: hidden or disabled, unknown or protected class, own or
// development process, the shell's titled window (asked to close; untitled ones stay), any
// other program (ended).
TForeignWindowAction DecideForeignWindow(const TForeignWindow& window, const TForeignWindowContext& context);

// Window classes that are never closed, compared exactly.
extern const std::array<std::string_view, 16> ProtectedWindowClasses;
bool IsProtectedWindowClass(std::string_view className);

}  // namespace plintor
