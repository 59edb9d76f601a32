// The desktop control against a real X server (Xvfb), window manager (openbox), panel (tint2)
// and programs (xterm, xeyes). "Our" window is made by this test process, so it belongs to the
// same process as the code under test, as the kiosk's window does.
#include "platform/DesktopControl.h"
#include "platform/Platform.h"

// Before Xlib, whose macros (None, Bool, Status) would rename GoogleTest's own names.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XRes.h>
#include <X11/extensions/dpms.h>
#include <fcntl.h>

#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <optional>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "tests/support/TempDir.h"

namespace plintor {
namespace {

// The platform's services, made once for the whole test program as the kiosk makes them.
IPlatform& Platform() {
    static const std::unique_ptr<IPlatform> platform = CreatePlatform();
    return *platform;
}

using namespace std::chrono_literals;
using namespace std::string_literals;

// Generous: the machine may be busy with a build. No assertion is about speed.
constexpr auto StartTimeout = 15s;
constexpr auto EndTimeout = 10s;
constexpr auto SettleTimeout = 5s;

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// A program this test started: killed and collected when the test ends, also on failure, and
// ended by the kernel should the test itself die.
class TChild {
public:
    struct TOptions {
        std::vector<std::string> Environment;  // "NAME=value" added to ours
        std::string Folder;
        int PassDescriptor = -1;  // stays open in the program
    };

    static TChild Start(const std::vector<std::string>& arguments, const TOptions& options) {
        std::vector<char*> argv;
        for (const std::string& argument : arguments) {
            argv.push_back(const_cast<char*>(argument.c_str()));
        }
        argv.push_back(nullptr);
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            const int quiet = ::open("/dev/null", O_RDWR);
            ::dup2(quiet, STDOUT_FILENO);
            ::dup2(quiet, STDERR_FILENO);
            if (options.PassDescriptor >= 0) {
                ::fcntl(options.PassDescriptor, F_SETFD, 0);
            }
            for (const std::string& entry : options.Environment) {
                ::putenv(const_cast<char*>(entry.c_str()));
            }
            if (!options.Folder.empty() && ::chdir(options.Folder.c_str()) != 0) {
                ::_exit(126);
            }
            ::execvp(argv[0], argv.data());
            ::_exit(127);
        }
        return TChild(pid);
    }

    // Runs the function in a forked copy of this process, which ends with its result.
    static TChild Fork(const std::function<int()>& body) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            ::_exit(body());
        }
        return TChild(pid);
    }

    TChild(TChild&& other) noexcept
        : FPid(std::exchange(other.FPid, -1)), FEnded(other.FEnded), FStatus(other.FStatus) {}
    TChild(const TChild&) = delete;
    TChild& operator=(const TChild&) = delete;
    TChild& operator=(TChild&&) = delete;
    ~TChild() { Stop(); }

    pid_t Pid() const { return FPid; }

    bool Ended() {
        if (!FEnded && FPid > 0 && ::waitpid(FPid, &FStatus, WNOHANG) == FPid) {
            FEnded = true;
        }
        return FEnded;
    }
    bool WaitEnded(std::chrono::milliseconds timeout) {
        return WaitFor([this] { return Ended(); }, timeout);
    }
    // The wait status; valid once Ended().
    int WaitStatus() const { return FStatus; }

    void Stop() {
        if (FPid > 0 && !Ended()) {
            ::kill(FPid, SIGKILL);
            ::waitpid(FPid, &FStatus, 0);
            FEnded = true;
        }
    }

private:
    explicit TChild(pid_t pid) : FPid(pid) {}

    pid_t FPid = -1;
    bool FEnded = false;
    int FStatus = 0;
};

// A process the code under test started (so not our child): killed when the test ends.
struct TKillAtEnd {
    long ProcessId = 0;
    ~TKillAtEnd() {
        if (ProcessId > 1) {
            ::kill(static_cast<pid_t>(ProcessId), SIGKILL);
        }
    }
};

Display* TestDisplay = nullptr;

// Errors of the test's own connection are expected (windows vanish while it looks); an error
// of the code under test's connection means a request went out without its error trap.
int RecordError(Display* display, XErrorEvent* error) {
    if (display != TestDisplay) {
        ADD_FAILURE() << "X error outside an error trap, request " << int(error->request_code);
    }
    return 0;
}

Atom Intern(const char* name) {
    return XInternAtom(TestDisplay, name, False);
}

std::vector<unsigned long> Longs(Window window, const char* property) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    std::vector<unsigned long> values;
    if (XGetWindowProperty(TestDisplay, window, Intern(property), 0, 1024, False, AnyPropertyType,
                           &type, &format, &count, &after, &data) == Success &&
        format == 32) {
        const auto* items = reinterpret_cast<unsigned long*>(data);
        values.assign(items, items + count);
    }
    if (data != nullptr) {
        XFree(data);
    }
    return values;
}

bool HasProperty(Window window, const char* property) {
    int count = 0;
    Atom* properties = XListProperties(TestDisplay, window, &count);
    const Atom wanted = Intern(property);
    const bool found = properties != nullptr &&
                       std::find(properties, properties + count, wanted) != properties + count;
    if (properties != nullptr) {
        XFree(properties);
    }
    return found;
}

std::vector<Window> Children(Window window) {
    Window root = None;
    Window parent = None;
    Window* children = nullptr;
    unsigned int count = 0;
    std::vector<Window> result;
    if (XQueryTree(TestDisplay, window, &root, &parent, &children, &count)) {
        result.assign(children, children + count);
    }
    if (children != nullptr) {
        XFree(children);
    }
    return result;
}

long OwnerPid(Window window) {
    XResClientIdSpec spec{window, XRES_CLIENT_ID_PID_MASK};
    long count = 0;
    XResClientIdValue* values = nullptr;
    long pid = 0;
    if (XResQueryClientIds(TestDisplay, 1, &spec, &count, &values) == Success) {
        for (long i = 0; i < count; ++i) {
            pid = std::max<long>(pid, XResGetClientPid(&values[i]));
        }
        XResClientIdsDestroy(count, values);
    }
    return pid;
}

// The first window of the process that carries a class, as every program's main window does.
Window FindClassedWindow(Window under, long pid) {
    for (const Window child : Children(under)) {
        if (HasProperty(child, "WM_CLASS") && OwnerPid(child) == pid) {
            return child;
        }
        if (const Window inner = FindClassedWindow(child, pid)) {
            return inner;
        }
    }
    return None;
}

Window Root() {
    return DefaultRootWindow(TestDisplay);
}

int MapState(Window window) {
    XWindowAttributes attributes{};
    return XGetWindowAttributes(TestDisplay, window, &attributes) ? attributes.map_state
                                                                  : IsUnmapped;
}

// The program's main window once the window manager manages it (WM_STATE), or, without a
// window manager, once it is shown.
Window WaitForWindow(long pid, bool managed) {
    Window found = None;
    const bool shown = WaitFor(
        [&] {
            found = FindClassedWindow(Root(), pid);
            return found != None &&
                   (managed ? HasProperty(found, "WM_STATE") : MapState(found) == IsViewable);
        },
        StartTimeout);
    return shown ? found : None;
}

Window TopLevelOf(Window window) {
    for (;;) {
        Window root = None;
        Window parent = None;
        Window* children = nullptr;
        unsigned int count = 0;
        if (!XQueryTree(TestDisplay, window, &root, &parent, &children, &count)) {
            return None;
        }
        if (children != nullptr) {
            XFree(children);
        }
        if (parent == root) {
            return window;
        }
        window = parent;
    }
}

// True when the first window's frame is stacked above the second's.
bool StackedAbove(Window upper, Window lower) {
    const std::vector<Window> stack = Children(Root());  // bottom first
    const auto upperAt = std::find(stack.begin(), stack.end(), TopLevelOf(upper));
    const auto lowerAt = std::find(stack.begin(), stack.end(), TopLevelOf(lower));
    return upperAt != stack.end() && lowerAt != stack.end() && upperAt > lowerAt;
}

Window ActiveWindow() {
    const std::vector<unsigned long> active = Longs(Root(), "_NET_ACTIVE_WINDOW");
    return active.empty() ? None : active.front();
}

long WmState(Window window) {
    const std::vector<unsigned long> state = Longs(window, "WM_STATE");
    return state.empty() ? WithdrawnState : static_cast<long>(state.front());
}

void SetClass(Display* display, Window window, const char* name, const char* className) {
    XClassHint hint{const_cast<char*>(name), const_cast<char*>(className)};
    XSetClassHint(display, window, &hint);
}

// A stand-in for a desktop shell that has a window of its own besides its panel; the titled
// window closes itself when asked. Ends with 0 when asked, 3 when never asked.
int RunShellWithTitledWindow() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return 2;
    }
    const Window root = DefaultRootWindow(display);
    const Window panel = XCreateSimpleWindow(display, root, 0, 0, 400, 24, 0, 0, 0);
    Atom dock = XInternAtom(display, "_NET_WM_WINDOW_TYPE_DOCK", False);
    XChangeProperty(display, panel, XInternAtom(display, "_NET_WM_WINDOW_TYPE", False), XA_ATOM, 32,
                    PropModeReplace, reinterpret_cast<unsigned char*>(&dock), 1);
    SetClass(display, panel, "panel", "TestPanel");
    XMapWindow(display, panel);
    const Window settings = XCreateSimpleWindow(display, root, 50, 50, 300, 200, 0, 0, 0);
    SetClass(display, settings, "settings", "TestPanelSettings");
    XStoreName(display, settings, "Panel settings");
    Atom deleteWindow = XInternAtom(display, "WM_DELETE_WINDOW", False);
    XSetWMProtocols(display, settings, &deleteWindow, 1);
    XMapWindow(display, settings);
    XFlush(display);
    const auto deadline = std::chrono::steady_clock::now() + 20s;
    while (std::chrono::steady_clock::now() < deadline) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == ClientMessage && event.xclient.window == settings &&
                static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow) {
                return 0;
            }
        }
        pollfd ready{ConnectionNumber(display), POLLIN, 0};
        ::poll(&ready, 1, 100);
    }
    return 3;
}

class DesktopControlTest : public ::testing::Test {
protected:
    virtual bool WithWindowManager() const { return true; }

    void SetUp() override {
        StartServer();
        ASSERT_NE(TestDisplay, nullptr) << "Xvfb did not start";
        XSetErrorHandler(RecordError);
        if (WithWindowManager()) {
            FWindowManager.emplace_back(Run({"openbox", "--sm-disable"}));
            ASSERT_TRUE(WaitForWindowManager()) << "openbox did not start";
        }
    }

    void TearDown() override {
        FPrograms.clear();
        if (FOwnWindow != None) {
            XDestroyWindow(TestDisplay, FOwnWindow);
        }
        FWindowManager.clear();
        if (TestDisplay != nullptr) {
            XCloseDisplay(TestDisplay);
            TestDisplay = nullptr;
        }
        FServer.clear();
        ::unsetenv("DISPLAY");
    }

    TChild Run(const std::vector<std::string>& arguments, TChild::TOptions options = {}) {
        options.Environment.push_back("HOME=" + FHome.Root().string());
        return TChild::Start(arguments, options);
    }

    // A program that the test ends at its end at the latest.
    TChild& Start(const std::vector<std::string>& arguments, TChild::TOptions options = {}) {
        return FPrograms.emplace_back(Run(arguments, std::move(options)));
    }

    TChild& StartPanel(const std::string& program = "tint2", TChild::TOptions options = {}) {
        return Start({program, "-c", "/etc/xdg/tint2/tint2rc"}, std::move(options));
    }

    // Made with this process's own connection, so its owner is this process; shown once the
    // window manager manages it.
    Window CreateOwnWindow() {
        FOwnWindow = XCreateSimpleWindow(TestDisplay, Root(), 100, 100, 400, 300, 0, 0, 0);
        SetClass(TestDisplay, FOwnWindow, "plintor", "Plintor");
        XStoreName(TestDisplay, FOwnWindow, "Plintor");
        XWMHints hints{};
        hints.flags = InputHint;
        hints.input = True;
        XSetWMHints(TestDisplay, FOwnWindow, &hints);
        XMapWindow(TestDisplay, FOwnWindow);
        XFlush(TestDisplay);
        const bool shown = WaitFor(
            [this] {
                return WithWindowManager() ? WmState(FOwnWindow) == NormalState
                                           : MapState(FOwnWindow) == IsViewable;
            },
            StartTimeout);
        return shown ? FOwnWindow : None;
    }

    // Waits for the program's main window; none when it did not come.
    Window WindowOf(const TChild& program) {
        return WaitForWindow(program.Pid(), WithWindowManager());
    }

    bool RunToEnd(const std::vector<std::string>& arguments) {
        TChild program = Run(arguments);
        return program.WaitEnded(EndTimeout) && WIFEXITED(program.WaitStatus()) &&
               WEXITSTATUS(program.WaitStatus()) == 0;
    }

    const test::TTempDir& Folder() const { return FHome; }
    bool WindowManagerEnded() { return !FWindowManager.empty() && FWindowManager.front().Ended(); }

private:
    // Openbox announces itself before it manages new windows: a window mapped in between
    // stays unmanaged. So it is ready once it managed a probe window.
    bool WaitForWindowManager() {
        if (!WaitFor([] { return !Longs(Root(), "_NET_SUPPORTING_WM_CHECK").empty(); },
                     StartTimeout)) {
            return false;
        }
        const Window probe = XCreateSimpleWindow(TestDisplay, Root(), 0, 0, 10, 10, 0, 0, 0);
        const auto deadline = std::chrono::steady_clock::now() + StartTimeout;
        bool managed = false;
        while (!managed && std::chrono::steady_clock::now() < deadline) {
            XMapWindow(TestDisplay, probe);
            XFlush(TestDisplay);
            managed = WaitFor([&] { return HasProperty(probe, "WM_STATE"); }, 1s);
            XUnmapWindow(TestDisplay, probe);
        }
        XDestroyWindow(TestDisplay, probe);
        XSync(TestDisplay, False);
        return managed;
    }

    void StartServer() {
        int ends[2];
        ASSERT_EQ(::pipe2(ends, O_CLOEXEC), 0);
        TChild::TOptions options;
        options.PassDescriptor = ends[1];
        FServer.emplace_back(
            TChild::Start({"Xvfb", "-displayfd", std::to_string(ends[1]), "-noreset", "-nolisten",
                           "tcp", "-screen", "0", "1280x800x24"},
                          options));
        ::close(ends[1]);
        std::string number;
        const auto deadline = std::chrono::steady_clock::now() + StartTimeout;
        char c = 0;
        while (std::chrono::steady_clock::now() < deadline) {
            pollfd ready{ends[0], POLLIN, 0};
            if (::poll(&ready, 1, 100) > 0) {
                if (::read(ends[0], &c, 1) != 1 || c == '\n') {
                    break;
                }
                number += c;
            }
        }
        ::close(ends[0]);
        ASSERT_FALSE(number.empty()) << "Xvfb reported no display";
        ::setenv("DISPLAY", (":" + number).c_str(), 1);
        TestDisplay = XOpenDisplay(nullptr);
    }

    test::TTempDir FHome;
    std::vector<TChild> FServer;
    std::vector<TChild> FWindowManager;
    std::deque<TChild> FPrograms;
    Window FOwnWindow = None;
};

class DesktopControlWithoutWindowManagerTest : public DesktopControlTest {
protected:
    bool WithWindowManager() const override { return false; }
};

TEST(DesktopControlConnectTest, NoDisplayNoControl) {
    const char* display = std::getenv("DISPLAY");
    const std::string saved = display != nullptr ? display : "";
    ::unsetenv("DISPLAY");
    EXPECT_EQ(Platform().ConnectDesktopControl(), nullptr);
    if (display != nullptr) {
        ::setenv("DISPLAY", saved.c_str(), 1);
    }
}

TEST_F(DesktopControlTest, CloseForeignWindowsEndsOtherProgramsOnly) {
    TChild& panel = StartPanel();
    TChild& terminal = Start({"xterm"});
    TChild& eyes = Start({"xeyes"});
    TChild& iconic = Start({"xterm", "-iconic"});
    TChild& withdrawn = Start({"xterm"});
    const Window own = CreateOwnWindow();
    ASSERT_NE(own, None);
    for (TChild* program : {&panel, &terminal, &eyes, &iconic, &withdrawn}) {
        ASSERT_NE(WindowOf(*program), None) << "no window of process " << program->Pid();
    }
    const Window hidden = WindowOf(withdrawn);
    XWithdrawWindow(TestDisplay, hidden, DefaultScreen(TestDisplay));
    XFlush(TestDisplay);
    ASSERT_TRUE(WaitFor([&] { return !HasProperty(hidden, "WM_STATE"); }, SettleTimeout));
    auto control = Platform().ConnectDesktopControl();
    ASSERT_NE(control, nullptr);

    control->CloseForeignWindows();

    EXPECT_TRUE(terminal.WaitEnded(EndTimeout)) << "xterm";
    EXPECT_TRUE(eyes.WaitEnded(EndTimeout)) << "xeyes";
    EXPECT_TRUE(iconic.WaitEnded(EndTimeout)) << "iconified xterm";
    EXPECT_TRUE(WIFSIGNALED(terminal.WaitStatus()) && WTERMSIG(terminal.WaitStatus()) == SIGKILL);
    EXPECT_FALSE(withdrawn.Ended()) << "a program without a window on screen stays";
    EXPECT_FALSE(panel.Ended()) << "the panel (a dock) stays";
    EXPECT_FALSE(WindowManagerEnded()) << "openbox stays";
    XWindowAttributes attributes{};
    EXPECT_TRUE(XGetWindowAttributes(TestDisplay, own, &attributes)) << "our window stays";
    EXPECT_EQ(attributes.map_state, IsViewable);
}

// The shell is asked, not ended: its titled window gets WM_DELETE_WINDOW, and its panel stays.
TEST_F(DesktopControlTest, ShellsTitledWindowIsAskedToClose) {
    TChild shell = TChild::Fork(RunShellWithTitledWindow);
    ASSERT_NE(WindowOf(shell), None);
    ASSERT_TRUE(
        WaitFor([&] { return Longs(Root(), "_NET_CLIENT_LIST").size() >= 2; }, StartTimeout));
    auto control = Platform().ConnectDesktopControl();
    ASSERT_NE(control, nullptr);

    control->CloseForeignWindows();

    ASSERT_TRUE(shell.WaitEnded(EndTimeout));
    EXPECT_TRUE(WIFEXITED(shell.WaitStatus()) && WEXITSTATUS(shell.WaitStatus()) == 0)
        << "wait status " << shell.WaitStatus();
}

TEST_F(DesktopControlTest, StopShellEndsThePanelAndStartShellBringsItBack) {
    TChild::TOptions options;
    options.Environment = {"PLINTOR_TEST_MARK=panel"};
    options.Folder = Folder().Root().string();
    TChild& panel = StartPanel("tint2", options);
    ASSERT_NE(WindowOf(panel), None);
    auto control = Platform().ConnectDesktopControl();
    ASSERT_NE(control, nullptr);

    EXPECT_TRUE(control->StopShell());
    EXPECT_TRUE(panel.WaitEnded(EndTimeout));
    EXPECT_FALSE(control->StopShell()) << "no shell left to stop";

    const TKillAtEnd restarted{control->StartShell()};
    ASSERT_GT(restarted.ProcessId, 32);
    const Window dock = WaitForWindow(restarted.ProcessId, true);
    ASSERT_NE(dock, None) << "the panel did not come back";
    EXPECT_EQ(Longs(dock, "_NET_WM_WINDOW_TYPE"),
              std::vector<unsigned long>{Intern("_NET_WM_WINDOW_TYPE_DOCK")});
    const std::string proc = "/proc/" + std::to_string(restarted.ProcessId);
    EXPECT_EQ(std::filesystem::read_symlink(proc + "/cwd"), Folder().Root());
    EXPECT_NE(ReadFile(proc + "/environ").find("PLINTOR_TEST_MARK=panel"), std::string::npos);
    EXPECT_EQ(ReadFile(proc + "/cmdline"), "tint2\0-c\0/etc/xdg/tint2/tint2rc\0"s);
    EXPECT_NE(::getsid(static_cast<pid_t>(restarted.ProcessId)), ::getsid(0));

    EXPECT_EQ(control->StartShell(), 2) << "nothing left to start";
}

// A failed start is reported, not just a child that dies, and the command line is kept.
TEST_F(DesktopControlTest, StartShellReportsAMissingProgram) {
    const std::string copy = Folder().Path("panel");
    std::filesystem::copy_file("/usr/bin/tint2", copy);
    TChild& panel = StartPanel(copy);
    ASSERT_NE(WindowOf(panel), None);
    auto control = Platform().ConnectDesktopControl();
    ASSERT_NE(control, nullptr);
    ASSERT_TRUE(control->StopShell());
    ASSERT_TRUE(panel.WaitEnded(EndTimeout));

    std::filesystem::remove(copy);
    EXPECT_EQ(control->StartShell(), 2);

    std::filesystem::copy_file("/usr/bin/tint2", copy);
    const TKillAtEnd restarted{control->StartShell()};
    EXPECT_GT(restarted.ProcessId, 32);
}

TEST_F(DesktopControlTest, BringWindowToFrontAndForeignWindowInFront) {
    const Window own = CreateOwnWindow();
    ASSERT_NE(own, None);
    const Window terminal = WindowOf(Start({"xterm"}));
    ASSERT_NE(terminal, None);
    ASSERT_TRUE(WaitFor([&] { return ActiveWindow() == terminal; }, SettleTimeout))
        << "openbox did not activate the new xterm";
    auto control = Platform().ConnectDesktopControl();
    ASSERT_NE(control, nullptr);
    EXPECT_TRUE(control->ForeignWindowInFront());

    EXPECT_TRUE(control->BringWindowToFront(own));
    EXPECT_EQ(ActiveWindow(), own);
    EXPECT_TRUE(StackedAbove(own, terminal));
    EXPECT_FALSE(control->ForeignWindowInFront());
    EXPECT_FALSE(control->BringWindowToFront(own)) << "already in front";

    XIconifyWindow(TestDisplay, own, DefaultScreen(TestDisplay));
    XFlush(TestDisplay);
    ASSERT_TRUE(WaitFor([&] { return WmState(own) == IconicState; }, SettleTimeout));
    // Restoring takes openbox longer than activating; on a busy machine longer than the
    // control waits, so only the outcome is checked here.
    control->BringWindowToFront(own);
    EXPECT_TRUE(WaitFor([&] { return WmState(own) == NormalState && ActiveWindow() == own; },
                        SettleTimeout));
}

TEST_F(DesktopControlTest, StackingFollowsRaiseLowerAndTopmost) {
    const Window own = CreateOwnWindow();
    ASSERT_NE(own, None);
    const Window terminal = WindowOf(Start({"xterm"}));
    ASSERT_NE(terminal, None);
    auto control = Platform().ConnectDesktopControl();
    ASSERT_NE(control, nullptr);

    control->LowerWindow(own);
    EXPECT_TRUE(WaitFor([&] { return StackedAbove(terminal, own); }, SettleTimeout));
    control->RaiseWindow(own);
    EXPECT_TRUE(WaitFor([&] { return StackedAbove(own, terminal); }, SettleTimeout));

    const unsigned long above = Intern("_NET_WM_STATE_ABOVE");
    auto hasAbove = [&] {
        const auto state = Longs(own, "_NET_WM_STATE");
        return std::find(state.begin(), state.end(), above) != state.end();
    };
    control->SetTopmost(own, true);
    EXPECT_TRUE(WaitFor(hasAbove, SettleTimeout));
    control->RaiseWindow(terminal);
    XSync(TestDisplay, False);
    EXPECT_TRUE(WaitFor([&] { return StackedAbove(own, terminal); }, SettleTimeout));
    EXPECT_TRUE(StackedAbove(own, terminal)) << "a topmost window stays above";

    control->SetTopmost(own, false);
    EXPECT_TRUE(WaitFor([&] { return !hasAbove(); }, SettleTimeout));
    control->RaiseWindow(terminal);
    EXPECT_TRUE(WaitFor([&] { return StackedAbove(terminal, own); }, SettleTimeout));
}

TEST_F(DesktopControlTest, ScreenSaverAndKeepingTheDisplayOn) {
    auto control = Platform().ConnectDesktopControl();
    ASSERT_NE(control, nullptr);
    EXPECT_FALSE(control->IsScreensaverRunning());
    ASSERT_TRUE(RunToEnd({"xset", "s", "activate"}));
    EXPECT_TRUE(WaitFor([&] { return control->IsScreensaverRunning(); }, SettleTimeout));

    control->KeepDisplayOn(true);
    EXPECT_FALSE(control->IsScreensaverRunning()) << "keeping the display on ends the saver";

    // With a saver that starts after one idle second, a kept display stays on well past that;
    // one "off" after several "on" lets it sleep again.
    ASSERT_TRUE(RunToEnd({"xset", "s", "1", "1"}));
    control->KeepDisplayOn(true);
    std::this_thread::sleep_for(2500ms);
    EXPECT_FALSE(control->IsScreensaverRunning()) << "the saver started on a kept display";
    control->KeepDisplayOn(false);
    EXPECT_TRUE(WaitFor([&] { return control->IsScreensaverRunning(); }, EndTimeout));
}

// DPMS as the server has it now; none on a server without the extension (Xvfb).
std::optional<bool> DpmsEnabled() {
    int event = 0;
    int error = 0;
    CARD16 level = 0;
    BOOL enabled = False;
    if (!DPMSQueryExtension(TestDisplay, &event, &error) ||
        !DPMSInfo(TestDisplay, &level, &enabled)) {
        return std::nullopt;
    }
    return enabled != False;
}

// A run that is killed after it stopped the shell and switched power saving off leaves a
// record; the next one puts both back and drops it. (Xvfb has no power saving; where the
// server has it, it is checked too.)
TEST_F(DesktopControlTest, AKilledRunIsRepairedByTheNextOne) {
    const bool dpms = DpmsEnabled().has_value();
    if (dpms) {
        ASSERT_TRUE(RunToEnd({"xset", "+dpms"}));
    }
    TChild::TOptions options;
    options.Environment = {"PLINTOR_TEST_MARK=killed-panel"};
    TChild& panel = StartPanel("tint2", options);
    ASSERT_NE(WindowOf(panel), None);
    const std::string record = Folder().Path("plintor.state");

    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    TChild killed = TChild::Fork([&] {
        auto control = Platform().ConnectDesktopControl();
        if (control == nullptr || !control->KeepChangesRecord(record).empty()) {
            return 1;
        }
        control->KeepDisplayOn(true);
        control->StopShell();
        const char done = 'r';
        [[maybe_unused]] const auto written = ::write(ready[1], &done, 1);
        ::pause();
        return 0;
    });
    char done = 0;
    ASSERT_EQ(::read(ready[0], &done, 1), 1);
    ASSERT_TRUE(panel.WaitEnded(EndTimeout));
    killed.Stop();  // SIGKILL: nothing is put back
    XSync(TestDisplay, False);
    EXPECT_EQ(DpmsEnabled(), dpms ? std::optional(false) : std::nullopt);
    ASSERT_TRUE(std::filesystem::exists(record));

    auto next = Platform().ConnectDesktopControl();
    ASSERT_NE(next, nullptr);
    const std::string repaired = next->KeepChangesRecord(record);
    EXPECT_EQ(repaired.find("display power saving is on again") != std::string::npos, dpms)
        << repaired;
    EXPECT_NE(repaired.find("the desktop shell is started again"), std::string::npos) << repaired;
    const TKillAtEnd restarted{std::stol(repaired.substr(repaired.rfind('(') + 1))};
    EXPECT_NE(WaitForWindow(restarted.ProcessId, true), None) << "the panel did not come back";
    XSync(TestDisplay, False);
    EXPECT_EQ(DpmsEnabled(), dpms ? std::optional(true) : std::nullopt);
    EXPECT_FALSE(std::filesystem::exists(record)) << "nothing is left to put back";
    EXPECT_EQ(next->KeepChangesRecord(record), "");
}

// Without a window manager nobody marks the programs' windows as managed: the top-level
// windows themselves are the programs' windows, and the focus tells which one is in front.
TEST_F(DesktopControlWithoutWindowManagerTest, TopLevelWindowsAreTheProgramsWindows) {
    const Window own = CreateOwnWindow();
    ASSERT_NE(own, None);
    TChild& terminal = Start({"xterm"});
    const Window terminalWindow = WindowOf(terminal);
    ASSERT_NE(terminalWindow, None);
    auto control = Platform().ConnectDesktopControl();
    ASSERT_NE(control, nullptr);
    XSetInputFocus(TestDisplay, terminalWindow, RevertToParent, CurrentTime);
    XSync(TestDisplay, False);
    EXPECT_TRUE(control->ForeignWindowInFront());

    control->CloseForeignWindows();
    EXPECT_TRUE(terminal.WaitEnded(EndTimeout));

    EXPECT_TRUE(control->BringWindowToFront(own));
    Window focus = None;
    int revertTo = 0;
    XGetInputFocus(TestDisplay, &focus, &revertTo);
    EXPECT_EQ(focus, own);
    EXPECT_FALSE(control->ForeignWindowInFront());
    EXPECT_FALSE(control->BringWindowToFront(own)) << "already in front";
}

}  // namespace
}  // namespace plintor
