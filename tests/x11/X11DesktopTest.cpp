// The desktop control against a real X server (Xvfb), window manager (openbox), panel (tint2)
// and programs (xterm, xeyes). "Our" window is made by this test process, so it belongs to the
// same process as the code under test, as the kiosk's window does.
#include "platform/Desktop.h"
#include "platform/DesktopEvents.h"
#include "platform/DesktopShell.h"
#include "platform/DisplayPower.h"
#include "platform/ForeignWindows.h"
#include "platform/Platform.h"
#include "platform/WindowStacking.h"

// Before Xlib, whose macros (None, Bool, Status) would rename GoogleTest's own names.
#include <gtest/gtest.h>

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XRes.h>
#include <X11/extensions/dpms.h>
#include <fcntl.h>

#include <poll.h>
#include <sys/mount.h>
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

#include "tests/support/RealPlatform.h"
#include "tests/support/TempDir.h"

namespace plintor {
namespace {

using namespace std::chrono_literals;
using namespace std::string_literals;

// Generous: the machine may be busy with a build. No assertion is about speed.
constexpr auto StartTimeout = 15s;
constexpr auto EndTimeout = 10s;
constexpr auto SettleTimeout = 5s;

bool waitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// A program this test started: killed and collected when the test ends, also on failure, and
// ended by the kernel should the test itself die.
class Child {
public:
    struct Options {
        std::vector<std::string> environment;  // "NAME=value" added to ours
        std::string folder;
        int passDescriptor = -1;  // stays open in the program
    };

    static Child start(const std::vector<std::string>& arguments, const Options& options) {
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
            if (options.passDescriptor >= 0) {
                ::fcntl(options.passDescriptor, F_SETFD, 0);
            }
            for (const std::string& entry : options.environment) {
                ::putenv(const_cast<char*>(entry.c_str()));
            }
            if (!options.folder.empty() && ::chdir(options.folder.c_str()) != 0) {
                ::_exit(126);
            }
            ::execvp(argv[0], argv.data());
            ::_exit(127);
        }
        return Child(pid);
    }

    // Runs the function in a forked copy of this process, which ends with its result.
    static Child fork(const std::function<int()>& body) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            ::_exit(body());
        }
        return Child(pid);
    }

    Child(Child&& other) noexcept
        : m_pid(std::exchange(other.m_pid, -1)), m_ended(other.m_ended), m_status(other.m_status) {}
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;
    Child& operator=(Child&&) = delete;
    ~Child() { stop(); }

    pid_t pid() const { return m_pid; }

    bool ended() {
        if (!m_ended && m_pid > 0 && ::waitpid(m_pid, &m_status, WNOHANG) == m_pid) {
            m_ended = true;
        }
        return m_ended;
    }
    bool waitEnded(std::chrono::milliseconds timeout) {
        return waitFor([this] { return ended(); }, timeout);
    }
    // The wait status; valid once Ended().
    int waitStatus() const { return m_status; }

    void stop() {
        if (m_pid > 0 && !ended()) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, &m_status, 0);
            m_ended = true;
        }
    }

private:
    explicit Child(pid_t pid) : m_pid(pid) {}

    pid_t m_pid = -1;
    bool m_ended = false;
    int m_status = 0;
};

// A process the code under test started (so not our child): killed when the test ends.
struct KillAtEnd {
    long processId = 0;
    ~KillAtEnd() {
        if (processId > 1) {
            ::kill(static_cast<pid_t>(processId), SIGKILL);
        }
    }
};

Display* TestDisplay = nullptr;

// Errors of the test's own connection are expected (windows vanish while it looks); an error
// of the code under test's connection means a request went out without its error trap.
int recordError(Display* display, XErrorEvent* error) {
    if (display != TestDisplay) {
        ADD_FAILURE() << "X error outside an error trap, request " << int(error->request_code);
    }
    return 0;
}

Atom intern(const char* name) {
    return XInternAtom(TestDisplay, name, False);
}

std::vector<unsigned long> longs(Window window, const char* property) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    std::vector<unsigned long> values;
    if (XGetWindowProperty(TestDisplay, window, intern(property), 0, 1024, False, AnyPropertyType,
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

bool hasProperty(Window window, const char* property) {
    int count = 0;
    Atom* properties = XListProperties(TestDisplay, window, &count);
    const Atom wanted = intern(property);
    const bool found = properties != nullptr &&
                       std::find(properties, properties + count, wanted) != properties + count;
    if (properties != nullptr) {
        XFree(properties);
    }
    return found;
}

std::vector<Window> children(Window window) {
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

long ownerPid(Window window) {
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
Window findClassedWindow(Window under, long pid) {
    for (const Window child : children(under)) {
        if (hasProperty(child, "WM_CLASS") && ownerPid(child) == pid) {
            return child;
        }
        if (const Window inner = findClassedWindow(child, pid)) {
            return inner;
        }
    }
    return None;
}

Window root() {
    return DefaultRootWindow(TestDisplay);
}

int mapState(Window window) {
    XWindowAttributes attributes{};
    return XGetWindowAttributes(TestDisplay, window, &attributes) ? attributes.map_state
                                                                  : IsUnmapped;
}

// The program's main window once the window manager manages it (WM_STATE), or, without a
// window manager, once it is shown.
Window waitForWindow(long pid, bool managed) {
    Window found = None;
    const bool shown = waitFor(
        [&] {
            found = findClassedWindow(root(), pid);
            return found != None &&
                   (managed ? hasProperty(found, "WM_STATE") : mapState(found) == IsViewable);
        },
        StartTimeout);
    return shown ? found : None;
}

Window topLevelOf(Window window) {
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
bool stackedAbove(Window upper, Window lower) {
    const std::vector<Window> stack = children(root());  // bottom first
    const auto upperAt = std::find(stack.begin(), stack.end(), topLevelOf(upper));
    const auto lowerAt = std::find(stack.begin(), stack.end(), topLevelOf(lower));
    return upperAt != stack.end() && lowerAt != stack.end() && upperAt > lowerAt;
}

Window activeWindow() {
    const std::vector<unsigned long> active = longs(root(), "_NET_ACTIVE_WINDOW");
    return active.empty() ? None : active.front();
}

long wmState(Window window) {
    const std::vector<unsigned long> state = longs(window, "WM_STATE");
    return state.empty() ? WithdrawnState : static_cast<long>(state.front());
}

void setClass(Display* display, Window window, const char* name, const char* className) {
    XClassHint hint{const_cast<char*>(name), const_cast<char*>(className)};
    XSetClassHint(display, window, &hint);
}

// A stand-in for a desktop shell that has a window of its own besides its panel; the titled
// window closes itself when asked. Ends with 0 when asked, 3 when never asked.
int runShellWithTitledWindow() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return 2;
    }
    const Window root = DefaultRootWindow(display);
    const Window panel = XCreateSimpleWindow(display, root, 0, 0, 400, 24, 0, 0, 0);
    Atom dock = XInternAtom(display, "_NET_WM_WINDOW_TYPE_DOCK", False);
    XChangeProperty(display, panel, XInternAtom(display, "_NET_WM_WINDOW_TYPE", False), XA_ATOM, 32,
                    PropModeReplace, reinterpret_cast<unsigned char*>(&dock), 1);
    setClass(display, panel, "panel", "TestPanel");
    XMapWindow(display, panel);
    const Window settings = XCreateSimpleWindow(display, root, 50, 50, 300, 200, 0, 0, 0);
    setClass(display, settings, "settings", "TestPanelSettings");
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

class X11DesktopTest : public ::testing::Test {
protected:
    virtual bool withWindowManager() const { return true; }

    void SetUp() override {
        startServer();
        ASSERT_NE(TestDisplay, nullptr) << "Xvfb did not start";
        XSetErrorHandler(recordError);
        if (withWindowManager()) {
            m_windowManager.emplace_back(Run({"openbox", "--sm-disable"}));
            ASSERT_TRUE(waitForWindowManager()) << "openbox did not start";
        }
    }

    void TearDown() override {
        m_programs.clear();
        if (m_ownWindow != None) {
            XDestroyWindow(TestDisplay, m_ownWindow);
        }
        m_windowManager.clear();
        if (TestDisplay != nullptr) {
            XCloseDisplay(TestDisplay);
            TestDisplay = nullptr;
        }
        m_server.clear();
        ::unsetenv("DISPLAY");
    }

    Child Run(const std::vector<std::string>& arguments, Child::Options options = {}) {
        options.environment.push_back("HOME=" + m_home.root().string());
        return Child::start(arguments, options);
    }

    // A program that the test ends at its end at the latest.
    Child& start(const std::vector<std::string>& arguments, Child::Options options = {}) {
        return m_programs.emplace_back(Run(arguments, std::move(options)));
    }

    Child& startPanel(const std::string& program = "tint2", Child::Options options = {}) {
        return start({program, "-c", "/etc/xdg/tint2/tint2rc"}, std::move(options));
    }

    // Made with this process's own connection, so its owner is this process; shown once the
    // window manager manages it.
    Window createOwnWindow() {
        m_ownWindow = XCreateSimpleWindow(TestDisplay, root(), 100, 100, 400, 300, 0, 0, 0);
        setClass(TestDisplay, m_ownWindow, "plintor", "Plintor");
        XStoreName(TestDisplay, m_ownWindow, "Plintor");
        XWMHints hints{};
        hints.flags = InputHint;
        hints.input = True;
        XSetWMHints(TestDisplay, m_ownWindow, &hints);
        XMapWindow(TestDisplay, m_ownWindow);
        XFlush(TestDisplay);
        const bool shown = waitFor(
            [this] {
                return withWindowManager() ? wmState(m_ownWindow) == NormalState
                                           : mapState(m_ownWindow) == IsViewable;
            },
            StartTimeout);
        return shown ? m_ownWindow : None;
    }

    // Waits for the program's main window; none when it did not come.
    Window windowOf(const Child& program) {
        return waitForWindow(program.pid(), withWindowManager());
    }

    bool runToEnd(const std::vector<std::string>& arguments) {
        Child program = Run(arguments);
        return program.waitEnded(EndTimeout) && WIFEXITED(program.waitStatus()) &&
               WEXITSTATUS(program.waitStatus()) == 0;
    }

    const test::TempDir& folder() const { return m_home; }
    bool windowManagerEnded() {
        return !m_windowManager.empty() && m_windowManager.front().ended();
    }

private:
    // Openbox announces itself before it manages new windows: a window mapped in between
    // stays unmanaged. So it is ready once it managed a probe window.
    bool waitForWindowManager() {
        if (!waitFor([] { return !longs(root(), "_NET_SUPPORTING_WM_CHECK").empty(); },
                     StartTimeout)) {
            return false;
        }
        const Window probe = XCreateSimpleWindow(TestDisplay, root(), 0, 0, 10, 10, 0, 0, 0);
        const auto deadline = std::chrono::steady_clock::now() + StartTimeout;
        bool managed = false;
        while (!managed && std::chrono::steady_clock::now() < deadline) {
            XMapWindow(TestDisplay, probe);
            XFlush(TestDisplay);
            managed = waitFor([&] { return hasProperty(probe, "WM_STATE"); }, 1s);
            XUnmapWindow(TestDisplay, probe);
        }
        XDestroyWindow(TestDisplay, probe);
        XSync(TestDisplay, False);
        return managed;
    }

    void startServer() {
        int ends[2];
        ASSERT_EQ(::pipe2(ends, O_CLOEXEC), 0);
        Child::Options options;
        options.passDescriptor = ends[1];
        m_server.emplace_back(
            Child::start({"Xvfb", "-displayfd", std::to_string(ends[1]), "-noreset", "-nolisten",
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

    test::TempDir m_home;
    std::vector<Child> m_server;
    std::vector<Child> m_windowManager;
    std::deque<Child> m_programs;
    Window m_ownWindow = None;
};

class X11DesktopWithoutWindowManagerTest : public X11DesktopTest {
protected:
    bool withWindowManager() const override { return false; }
};

TEST(X11DesktopConnectTest, NoDisplayNoDesktop) {
    const char* display = std::getenv("DISPLAY");
    const std::string saved = display != nullptr ? display : "";
    ::unsetenv("DISPLAY");
    EXPECT_EQ(test::realPlatform().connectDesktop(), nullptr);
    if (display != nullptr) {
        ::setenv("DISPLAY", saved.c_str(), 1);
    }
}

TEST_F(X11DesktopTest, CloseForeignWindowsEndsOtherProgramsOnly) {
    Child& panel = startPanel();
    Child& terminal = start({"xterm"});
    Child& eyes = start({"xeyes"});
    Child& iconic = start({"xterm", "-iconic"});
    Child& withdrawn = start({"xterm"});
    const Window own = createOwnWindow();
    ASSERT_NE(own, None);
    for (Child* program : {&panel, &terminal, &eyes, &iconic, &withdrawn}) {
        ASSERT_NE(windowOf(*program), None) << "no window of process " << program->pid();
    }
    const Window hidden = windowOf(withdrawn);
    XWithdrawWindow(TestDisplay, hidden, DefaultScreen(TestDisplay));
    XFlush(TestDisplay);
    ASSERT_TRUE(waitFor([&] { return !hasProperty(hidden, "WM_STATE"); }, SettleTimeout));
    auto control = test::realPlatform().connectDesktop();
    ASSERT_NE(control, nullptr);

    control->foreignWindows().closeForeignWindows();

    EXPECT_TRUE(terminal.waitEnded(EndTimeout)) << "xterm";
    EXPECT_TRUE(eyes.waitEnded(EndTimeout)) << "xeyes";
    EXPECT_TRUE(iconic.waitEnded(EndTimeout)) << "iconified xterm";
    EXPECT_TRUE(WIFSIGNALED(terminal.waitStatus()) && WTERMSIG(terminal.waitStatus()) == SIGKILL);
    EXPECT_FALSE(withdrawn.ended()) << "a program without a window on screen stays";
    EXPECT_FALSE(panel.ended()) << "the panel (a dock) stays";
    EXPECT_FALSE(windowManagerEnded()) << "openbox stays";
    XWindowAttributes attributes{};
    EXPECT_TRUE(XGetWindowAttributes(TestDisplay, own, &attributes)) << "our window stays";
    EXPECT_EQ(attributes.map_state, IsViewable);
}

// The shell is asked, not ended: its titled window gets WM_DELETE_WINDOW, and its panel stays.
TEST_F(X11DesktopTest, ShellsTitledWindowIsAskedToClose) {
    Child shell = Child::fork(runShellWithTitledWindow);
    ASSERT_NE(windowOf(shell), None);
    ASSERT_TRUE(
        waitFor([&] { return longs(root(), "_NET_CLIENT_LIST").size() >= 2; }, StartTimeout));
    auto control = test::realPlatform().connectDesktop();
    ASSERT_NE(control, nullptr);

    control->foreignWindows().closeForeignWindows();

    ASSERT_TRUE(shell.waitEnded(EndTimeout));
    EXPECT_TRUE(WIFEXITED(shell.waitStatus()) && WEXITSTATUS(shell.waitStatus()) == 0)
        << "wait status " << shell.waitStatus();
}

TEST_F(X11DesktopTest, StopShellEndsThePanelAndStartShellBringsItBack) {
    Child::Options options;
    options.environment = {"PLINTOR_TEST_MARK=panel"};
    options.folder = folder().root().string();
    Child& panel = startPanel("tint2", options);
    ASSERT_NE(windowOf(panel), None);
    auto control = test::realPlatform().connectDesktop();
    ASSERT_NE(control, nullptr);

    EXPECT_TRUE(control->shell().stopShell());
    EXPECT_TRUE(panel.waitEnded(EndTimeout));
    EXPECT_FALSE(control->shell().stopShell()) << "no shell left to stop";

    const KillAtEnd restarted{control->shell().startShell()};
    ASSERT_GT(restarted.processId, 32);
    const Window dock = waitForWindow(restarted.processId, true);
    ASSERT_NE(dock, None) << "the panel did not come back";
    EXPECT_EQ(longs(dock, "_NET_WM_WINDOW_TYPE"),
              std::vector<unsigned long>{intern("_NET_WM_WINDOW_TYPE_DOCK")});
    const std::string proc = "/proc/" + std::to_string(restarted.processId);
    EXPECT_EQ(std::filesystem::read_symlink(proc + "/cwd"), folder().root());
    EXPECT_NE(readFile(proc + "/environ").find("PLINTOR_TEST_MARK=panel"), std::string::npos);
    EXPECT_EQ(readFile(proc + "/cmdline"), "tint2\0-c\0/etc/xdg/tint2/tint2rc\0"s);
    EXPECT_NE(::getsid(static_cast<pid_t>(restarted.processId)), ::getsid(0));

    EXPECT_EQ(control->shell().startShell(), 2) << "nothing left to start";
}

// A failed start is reported, not just a child that dies, and the command line is kept.
TEST_F(X11DesktopTest, StartShellReportsAMissingProgram) {
    const std::string copy = folder().path("panel");
    std::filesystem::copy_file("/usr/bin/tint2", copy);
    Child& panel = startPanel(copy);
    ASSERT_NE(windowOf(panel), None);
    auto control = test::realPlatform().connectDesktop();
    ASSERT_NE(control, nullptr);
    ASSERT_TRUE(control->shell().stopShell());
    ASSERT_TRUE(panel.waitEnded(EndTimeout));

    std::filesystem::remove(copy);
    EXPECT_EQ(control->shell().startShell(), 2);

    std::filesystem::copy_file("/usr/bin/tint2", copy);
    const KillAtEnd restarted{control->shell().startShell()};
    EXPECT_GT(restarted.processId, 32);
}

TEST_F(X11DesktopTest, BringWindowToFrontAndForeignWindowInFront) {
    const Window own = createOwnWindow();
    ASSERT_NE(own, None);
    const Window terminal = windowOf(start({"xterm"}));
    ASSERT_NE(terminal, None);
    ASSERT_TRUE(waitFor([&] { return activeWindow() == terminal; }, SettleTimeout))
        << "openbox did not activate the new xterm";
    auto control = test::realPlatform().connectDesktop();
    ASSERT_NE(control, nullptr);
    EXPECT_TRUE(control->stacking().foreignWindowInFront());

    EXPECT_TRUE(control->stacking().bringWindowToFront(own));
    EXPECT_EQ(activeWindow(), own);
    EXPECT_TRUE(stackedAbove(own, terminal));
    EXPECT_FALSE(control->stacking().foreignWindowInFront());
    EXPECT_FALSE(control->stacking().bringWindowToFront(own)) << "already in front";

    XIconifyWindow(TestDisplay, own, DefaultScreen(TestDisplay));
    XFlush(TestDisplay);
    ASSERT_TRUE(waitFor([&] { return wmState(own) == IconicState; }, SettleTimeout));
    // Restoring takes openbox longer than activating; on a busy machine longer than the
    // control waits, so only the outcome is checked here.
    control->stacking().bringWindowToFront(own);
    EXPECT_TRUE(waitFor([&] { return wmState(own) == NormalState && activeWindow() == own; },
                        SettleTimeout));
}

// The guard and the housekeeping go by what the server reports: a window that comes after a
// pass that found nothing is still seen, and so is a change of the active window.
TEST_F(X11DesktopTest, ChangesAfterACleanPassAreSeen) {
    const Window own = createOwnWindow();
    ASSERT_NE(own, None);
    auto control = test::realPlatform().connectDesktop();
    ASSERT_NE(control, nullptr);
    ASSERT_GE(control->events().changeDescriptor(), 0);
    control->foreignWindows().closeForeignWindows();
    EXPECT_FALSE(control->shell().stopShell());
    EXPECT_TRUE(waitFor([&] { return !control->events().takeChanges(); }, SettleTimeout));

    Child& terminal = start({"xterm"});
    const Window window = windowOf(terminal);
    ASSERT_NE(window, None);
    EXPECT_TRUE(waitFor([&] { return control->events().takeChanges(); }, SettleTimeout));
    ASSERT_TRUE(waitFor([&] { return activeWindow() == window; }, SettleTimeout));
    EXPECT_TRUE(waitFor([&] { return control->stacking().foreignWindowInFront(); }, SettleTimeout));
    EXPECT_TRUE(control->stacking().bringWindowToFront(own));
    EXPECT_TRUE(
        waitFor([&] { return !control->stacking().foreignWindowInFront(); }, SettleTimeout));

    control->foreignWindows().closeForeignWindows();
    EXPECT_TRUE(terminal.waitEnded(EndTimeout)) << "the window that came after a clean pass";
}

TEST_F(X11DesktopTest, StackingFollowsRaiseLowerAndTopmost) {
    const Window own = createOwnWindow();
    ASSERT_NE(own, None);
    const Window terminal = windowOf(start({"xterm"}));
    ASSERT_NE(terminal, None);
    auto control = test::realPlatform().connectDesktop();
    ASSERT_NE(control, nullptr);

    control->stacking().lowerWindow(own);
    EXPECT_TRUE(waitFor([&] { return stackedAbove(terminal, own); }, SettleTimeout));
    control->stacking().raiseWindow(own);
    EXPECT_TRUE(waitFor([&] { return stackedAbove(own, terminal); }, SettleTimeout));

    const unsigned long above = intern("_NET_WM_STATE_ABOVE");
    auto hasAbove = [&] {
        const auto state = longs(own, "_NET_WM_STATE");
        return std::find(state.begin(), state.end(), above) != state.end();
    };
    control->stacking().setTopmost(own, true);
    EXPECT_TRUE(waitFor(hasAbove, SettleTimeout));
    control->stacking().raiseWindow(terminal);
    XSync(TestDisplay, False);
    EXPECT_TRUE(waitFor([&] { return stackedAbove(own, terminal); }, SettleTimeout));
    EXPECT_TRUE(stackedAbove(own, terminal)) << "a topmost window stays above";

    control->stacking().setTopmost(own, false);
    EXPECT_TRUE(waitFor([&] { return !hasAbove(); }, SettleTimeout));
    control->stacking().raiseWindow(terminal);
    EXPECT_TRUE(waitFor([&] { return stackedAbove(terminal, own); }, SettleTimeout));
}

TEST_F(X11DesktopTest, ScreenSaverAndKeepingTheDisplayOn) {
    auto control = test::realPlatform().connectDesktop();
    ASSERT_NE(control, nullptr);
    EXPECT_FALSE(control->displayPower().isScreensaverRunning());
    ASSERT_TRUE(runToEnd({"xset", "s", "activate"}));
    EXPECT_TRUE(
        waitFor([&] { return control->displayPower().isScreensaverRunning(); }, SettleTimeout));

    control->displayPower().keepDisplayOn(true);
    EXPECT_FALSE(control->displayPower().isScreensaverRunning())
        << "keeping the display on ends the saver";

    // With a saver that starts after one idle second, a kept display stays on well past that;
    // one "off" after several "on" lets it sleep again.
    ASSERT_TRUE(runToEnd({"xset", "s", "1", "1"}));
    control->displayPower().keepDisplayOn(true);
    std::this_thread::sleep_for(2500ms);
    EXPECT_FALSE(control->displayPower().isScreensaverRunning())
        << "the saver started on a kept display";
    control->displayPower().keepDisplayOn(false);
    EXPECT_TRUE(
        waitFor([&] { return control->displayPower().isScreensaverRunning(); }, EndTimeout));
}

// DPMS as the server has it now; none on a server without the extension (Xvfb).
std::optional<bool> dpmsEnabled() {
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
TEST_F(X11DesktopTest, AKilledRunIsRepairedByTheNextOne) {
    const bool dpms = dpmsEnabled().has_value();
    if (dpms) {
        ASSERT_TRUE(runToEnd({"xset", "+dpms"}));
    }
    Child::Options options;
    options.environment = {"PLINTOR_TEST_MARK=killed-panel"};
    Child& panel = startPanel("tint2", options);
    ASSERT_NE(windowOf(panel), None);
    const std::string record = folder().path("plintor.state");

    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    Child killed = Child::fork([&] {
        auto control = test::realPlatform().connectDesktop();
        if (control == nullptr || !control->keepChangesRecord(record).empty()) {
            return 1;
        }
        control->displayPower().keepDisplayOn(true);
        control->shell().stopShell();
        const char done = 'r';
        [[maybe_unused]] const auto written = ::write(ready[1], &done, 1);
        ::pause();
        return 0;
    });
    char done = 0;
    ASSERT_EQ(::read(ready[0], &done, 1), 1);
    ASSERT_TRUE(panel.waitEnded(EndTimeout));
    killed.stop();  // SIGKILL: nothing is put back
    XSync(TestDisplay, False);
    EXPECT_EQ(dpmsEnabled(), dpms ? std::optional(false) : std::nullopt);
    ASSERT_TRUE(std::filesystem::exists(record));

    auto next = test::realPlatform().connectDesktop();
    ASSERT_NE(next, nullptr);
    const std::string repaired = next->keepChangesRecord(record);
    EXPECT_EQ(repaired.find("display power saving is on again") != std::string::npos, dpms)
        << repaired;
    EXPECT_NE(repaired.find("the desktop shell is started again"), std::string::npos) << repaired;
    const KillAtEnd restarted{std::stol(repaired.substr(repaired.rfind('(') + 1))};
    EXPECT_NE(waitForWindow(restarted.processId, true), None) << "the panel did not come back";
    XSync(TestDisplay, False);
    EXPECT_EQ(dpmsEnabled(), dpms ? std::optional(true) : std::nullopt);
    EXPECT_FALSE(std::filesystem::exists(record)) << "nothing is left to put back";
    EXPECT_EQ(next->keepChangesRecord(record), "");
}

// A home that takes no record (full, or without free inodes): the panel is left running, the
// reason is told, and once the record fits the panel is ended and a kill cannot lose it.
TEST_F(X11DesktopTest, TheShellStaysWhenItsRecordCannotBeWritten) {
    const std::string home = folder().path("full-home");
    std::filesystem::create_directory(home);
    ASSERT_EQ(::mount("plintor-test", home.c_str(), "tmpfs", 0, "size=16k"), 0);
    const std::unique_ptr<const char, void (*)(const char*)> unmount(
        home.c_str(), [](const char* path) { ::umount2(path, MNT_DETACH); });
    const std::string filler = home + "/filler";
    std::ofstream(filler) << std::string(16 * 1024, 'x');
    Child& panel = startPanel();
    ASSERT_NE(windowOf(panel), None);
    auto control = test::realPlatform().connectDesktop();
    ASSERT_NE(control, nullptr);
    const std::string record = home + "/plintor.state";
    ASSERT_EQ(control->keepChangesRecord(record), "");

    EXPECT_FALSE(control->shell().stopShell());
    EXPECT_NE(control->shell().shellStopWithheld().find("No space left on device"),
              std::string::npos)
        << control->shell().shellStopWithheld();
    EXPECT_FALSE(panel.waitEnded(1s)) << "the panel was ended without a record";
    EXPECT_FALSE(std::filesystem::exists(record));

    std::filesystem::remove(filler);
    EXPECT_TRUE(control->shell().stopShell()) << "tried again, the record fits now";
    EXPECT_EQ(control->shell().shellStopWithheld(), "");
    EXPECT_TRUE(panel.waitEnded(EndTimeout));
    auto next = test::realPlatform().connectDesktop();
    const std::string repaired = next->keepChangesRecord(record);
    ASSERT_NE(repaired.find("the desktop shell is started again"), std::string::npos) << repaired;
    const KillAtEnd restarted{std::stol(repaired.substr(repaired.rfind('(') + 1))};
    EXPECT_NE(waitForWindow(restarted.processId, true), None) << "the panel did not come back";
}

// Without a window manager nobody marks the programs' windows as managed: the top-level
// windows themselves are the programs' windows, and the focus tells which one is in front.
TEST_F(X11DesktopWithoutWindowManagerTest, TopLevelWindowsAreTheProgramsWindows) {
    const Window own = createOwnWindow();
    ASSERT_NE(own, None);
    Child& terminal = start({"xterm"});
    const Window terminalWindow = windowOf(terminal);
    ASSERT_NE(terminalWindow, None);
    auto control = test::realPlatform().connectDesktop();
    ASSERT_NE(control, nullptr);
    XSetInputFocus(TestDisplay, terminalWindow, RevertToParent, CurrentTime);
    XSync(TestDisplay, False);
    EXPECT_TRUE(control->stacking().foreignWindowInFront());

    control->foreignWindows().closeForeignWindows();
    EXPECT_TRUE(terminal.waitEnded(EndTimeout));

    EXPECT_TRUE(control->stacking().bringWindowToFront(own));
    Window focus = None;
    int revertTo = 0;
    XGetInputFocus(TestDisplay, &focus, &revertTo);
    EXPECT_EQ(focus, own);
    EXPECT_FALSE(control->stacking().foreignWindowInFront());
    EXPECT_FALSE(control->stacking().bringWindowToFront(own)) << "already in front";
}

}  // namespace
}  // namespace plintor
