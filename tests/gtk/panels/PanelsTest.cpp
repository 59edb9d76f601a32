// The GTK panels in a 1280x800 window at 96 pixels per inch on a virtual display, where the
// end-to-end tests find them: the places they click, typing and clicking with real X input
// (xdotool), and what must not run at rest.
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/NavigationPanel.h"
#include "app/ProgressPanel.h"
#include "app/ReturnWarning.h"
#include "app/ShutdownPanel.h"
#include "app/WheelchairBar.h"
#include "keyboard/KeyboardLayouts.h"
#include "keyboard/KeyboardPanel.h"
#include "platform/KeyboardSystem.h"
#include "widgets/BlockedHint.h"
#include "widgets/ImageLists.h"
#include "widgets/KioskResources.h"
#include "widgets/ScreenMetrics.h"

namespace plintor {
namespace {

using namespace std::chrono_literals;

constexpr int ScreenWidth = 1280;
constexpr int ScreenHeight = 800;
constexpr int PanelHeight = 65;

// Runs the main loop until `done` holds, for five seconds at most.
bool settle(const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        g_main_context_iteration(nullptr, FALSE);
        g_usleep(1000);
    }
    return true;
}

void runFor(std::chrono::milliseconds time) {
    const auto end = std::chrono::steady_clock::now() + time;
    settle([&] { return std::chrono::steady_clock::now() > end; });
}

void xdotool(const std::string& arguments) {
    ASSERT_EQ(std::system(("xdotool " + arguments).c_str()), 0) << arguments;
}

void click(int x, int y) {
    xdotool("mousemove " + std::to_string(x) + " " + std::to_string(y) + " click 1");
}

struct Box {
    int left;
    int top;
    int width;
    int height;
    int centreX() const { return left + width / 2; }
    int centreY() const { return top + height / 2; }
    bool operator==(const Box&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Box& box) {
    return out << box.width << "x" << box.height << "+" << box.left << "+" << box.top;
}

class FakeKeyboard final : public KeyboardSystem {
public:
    std::vector<InputLanguage> installedLanguages() override {
        return {{0x04090409, "en", "US", "English (United States)", "English"},
                {0x04070407, "de", "DE", "German (Germany)", "Deutsch"},
                {0x040C040C, "fr", "FR", "French (France)", "Français"}};
    }
    std::uint32_t currentLanguage() override { return current; }
    void activateLanguage(std::uint32_t handle) override { current = handle; }
    std::string currentLocaleName() override { return "en-US"; }
    std::string keyCaption(const std::string& key, bool, bool) override { return key; }
    bool capsLockOn() override { return false; }
    void typeKey(const std::string& key, bool shift, bool altGr) override {
        typed.push_back(std::string(shift ? "shift+" : "") + (altGr ? "altgr+" : "") + key);
    }

    std::uint32_t current = 0x04090409;
    std::vector<std::string> typed;
};

// The window as the kiosk lays it out without a wheelchair bar: the navigation panel, the page
// (an entry that holds the keyboard focus) with the shutdown panel over it, the keyboard panel.
class PanelsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(gtk_init_check()) << "no display"; }

    void SetUp() override {
        const ImageList& images = scaledImageList(navigationImages(), m_metrics.pixelsPerInch());
        m_navigation = std::make_unique<NavigationPanel>(
            m_metrics, images.image(ImageBack, 1), images.image(ImageForward, 1),
            scaledImageList(keyboardImages(), m_metrics.pixelsPerInch()).image(0, 1));
        m_shutdown = std::make_unique<ShutdownPanel>(
            m_metrics,
            std::array<Glyph, 4>{images.image(ImageShutDown, 1), images.image(ImageRestart, 1),
                                 images.image(ImageLogOff, 1), images.image(ImageExit, 1)});
        m_keyboardPanel = std::make_unique<KeyboardPanel>(m_metrics, &m_keyboard);

        m_window = gtk_window_new();
        gtk_window_set_decorated(GTK_WINDOW(m_window), FALSE);
        gtk_window_set_default_size(GTK_WINDOW(m_window), ScreenWidth, ScreenHeight);
        GtkWidget* column = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
        gtk_box_append(GTK_BOX(column), m_navigation->widget());
        GtkWidget* page = gtk_overlay_new();
        gtk_widget_set_vexpand(page, TRUE);
        m_page = gtk_entry_new();
        gtk_widget_set_valign(m_page, GTK_ALIGN_START);
        gtk_overlay_set_child(GTK_OVERLAY(page), m_page);
        gtk_overlay_add_overlay(GTK_OVERLAY(page), m_shutdown->widget());
        gtk_box_append(GTK_BOX(column), page);
        gtk_box_append(GTK_BOX(column), m_keyboardPanel->widget());
        gtk_window_set_child(GTK_WINDOW(m_window), column);
        gtk_window_present(GTK_WINDOW(m_window));
        ASSERT_TRUE(settle([&] { return gtk_widget_get_width(m_window) == ScreenWidth; }));
        gtk_widget_grab_focus(m_page);
    }

    void TearDown() override { gtk_window_destroy(GTK_WINDOW(m_window)); }

    // Where a widget is in the window (at the screen's origin, no window manager moves it),
    // once the layout has settled.
    Box boxOf(GtkWidget* widget) {
        settle([&] { return gtk_widget_get_mapped(widget) && gtk_widget_get_width(widget) > 0; });
        runFor(100ms);  // a few frames: the layout of a change made just now
        graphene_rect_t bounds;
        if (!gtk_widget_compute_bounds(widget, m_window, &bounds)) {
            return {};
        }
        return {static_cast<int>(bounds.origin.x), static_cast<int>(bounds.origin.y),
                static_cast<int>(bounds.size.width), static_cast<int>(bounds.size.height)};
    }

    bool pageHasFocus() const {
        return gtk_widget_has_focus(m_page) || gtk_widget_is_focus(m_page) ||
               gtk_widget_has_focus(gtk_widget_get_first_child(m_page));
    }

    ScreenMetrics m_metrics{96, 1};
    FakeKeyboard m_keyboard;
    std::unique_ptr<NavigationPanel> m_navigation;
    std::unique_ptr<ShutdownPanel> m_shutdown;
    std::unique_ptr<KeyboardPanel> m_keyboardPanel;
    GtkWidget* m_window = nullptr;
    GtkWidget* m_page = nullptr;
};

TEST_F(PanelsTest, NavigationButtonsWhereTheVisitorTouchesThem) {
    m_navigation->layoutNavButtons({{"#", 120, "http://a/"}, {"Second", 150, "http://b/"}},
                                   Glyph());
    EXPECT_EQ(boxOf(m_navigation->widget()), (Box{0, 0, ScreenWidth, PanelHeight}));
    EXPECT_EQ(boxOf(m_navigation->backButton().widget()), (Box{8, 8, 49, 49}));
    // The 32-pixel arrow at its size in the middle of the button, not stretched to fill it.
    GtkWidget* glyph = gtk_widget_get_first_child(gtk_widget_get_first_child(
        gtk_button_get_child(GTK_BUTTON(m_navigation->backButton().widget()))));
    EXPECT_EQ(boxOf(glyph), (Box{16, 16, 32, 32}));
    EXPECT_EQ(boxOf(m_navigation->forwardButton().widget()), (Box{64, 8, 49, 49}));
    EXPECT_EQ(boxOf(m_navigation->homeButton().widget()), (Box{120, 8, 120, 49}));
    EXPECT_EQ(boxOf(m_navigation->touchButton().widget()), (Box{ScreenWidth - 7 - 97, 8, 97, 49}));
    int clicked = 0;
    m_navigation->onUrlButtonClicked([&](int tag) { clicked = tag; });
    click(120 + 120 + 7 + 75, 32);  // the second URL button, after the gap
    EXPECT_TRUE(settle([&] { return clicked == 2; })) << "the second URL button was not pressed";
    EXPECT_TRUE(pageHasFocus()) << "a URL button took the keyboard focus";
}

// The zoom buttons keep the panel's gap to the keyboard button, or take its place without it;
// hidden, they leave the keyboard button where it always was.
TEST_F(PanelsTest, ZoomButtonsBesideTheKeyboardButtonOrInItsPlace) {
    const int keyboardLeft = ScreenWidth - 7 - 97;
    m_navigation->showRightButtons(true, true);
    EXPECT_EQ(boxOf(m_navigation->zoomInButton().widget()),
              (Box{keyboardLeft - 7 - 49, 8, 49, 49}));
    EXPECT_EQ(boxOf(m_navigation->zoomOutButton().widget()),
              (Box{keyboardLeft - 2 * (7 + 49), 8, 49, 49}));
    EXPECT_EQ(boxOf(m_navigation->touchButton().widget()), (Box{keyboardLeft, 8, 97, 49}));

    m_navigation->showRightButtons(false, true);
    EXPECT_EQ(boxOf(m_navigation->zoomInButton().widget()), (Box{ScreenWidth - 7 - 49, 8, 49, 49}));

    m_navigation->showRightButtons(true, false);
    EXPECT_FALSE(gtk_widget_get_mapped(m_navigation->zoomInButton().widget()));
    EXPECT_EQ(boxOf(m_navigation->touchButton().widget()), (Box{keyboardLeft, 8, 97, 49}));
}

TEST_F(PanelsTest, WheelchairButtonAtTheBottomRight) {
    WheelchairBar bar(m_metrics, scaledImageList(wheelchairImages(), 96).image(0, 1));
    gtk_box_append(GTK_BOX(gtk_widget_get_parent(m_keyboardPanel->widget())), bar.widget());
    EXPECT_EQ(boxOf(bar.widget()), (Box{0, ScreenHeight - 63, ScreenWidth, 63}));
    EXPECT_EQ(boxOf(bar.button().widget()),
              (Box{ScreenWidth - 7 - 81, ScreenHeight - 63 + 8, 81, 49}));
    gtk_box_remove(GTK_BOX(gtk_widget_get_parent(bar.widget())), bar.widget());
}

// The end-to-end tests' layout: the box centred over the page area, the buttons at these
// centres inside it, the heading in this stripe.
TEST_F(PanelsTest, ShutdownBoxWhereTheTestsClick) {
    m_shutdown->openPanel("Plintor");
    const int boxLeft = (ScreenWidth - 409) / 2;
    const int boxTop = PanelHeight + (ScreenHeight - PanelHeight - 193) / 2;
    const struct {
        const char* caption;
        int x;
        int y;
    } centres[] = {
        {"Shut down", 60, 132}, {"Restart", 156, 132}, {"Log off", 252, 132}, {"Exit", 348, 132}};
    gtk_widget_set_visible(m_keyboardPanel->widget(), FALSE);
    GtkWidget* box = gtk_widget_get_first_child(m_shutdown->widget());
    EXPECT_EQ(boxOf(box), (Box{boxLeft, boxTop, 409, 193}));
    GtkWidget* heading = gtk_widget_get_first_child(box);
    EXPECT_EQ(boxOf(heading), (Box{boxLeft + 24, boxTop + 24, 361, 21}));
    int index = 0;
    for (GtkWidget* child = heading; child != nullptr; child = gtk_widget_get_next_sibling(child)) {
        if (GTK_IS_BUTTON(child)) {
            ASSERT_LT(index, 4);
            const Box button = boxOf(child);
            EXPECT_EQ(button.centreX(), boxLeft + centres[index].x) << centres[index].caption;
            EXPECT_EQ(button.centreY(), boxTop + centres[index].y) << centres[index].caption;
            ++index;
        }
    }
    EXPECT_EQ(index, 4);
}

// Typed with real keys into the field that has the focus; the buttons leave it there, so a
// second try needs no click into the field.
TEST_F(PanelsTest, ShutdownPanelChecksItsPassword) {
    gtk_widget_set_visible(m_keyboardPanel->widget(), FALSE);
    m_shutdown->setPassword("4711");
    std::vector<ShutdownPanel::Action> confirmed;
    m_shutdown->onConfirmed([&](ShutdownPanel::Action action) { confirmed.push_back(action); });
    m_shutdown->openPanel("Plintor");
    const int exitX = (ScreenWidth - 409) / 2 + 348;
    const int exitY = PanelHeight + (ScreenHeight - PanelHeight - 193) / 2 + 132;
    GtkWidget* heading =
        gtk_widget_get_first_child(gtk_widget_get_first_child(m_shutdown->widget()));
    runFor(200ms);
    xdotool("type 0000");
    click(exitX, exitY);
    EXPECT_TRUE(settle([&] {
        return std::string(gtk_label_get_text(GTK_LABEL(heading))) == "*** Invalid password ***";
    }));
    EXPECT_TRUE(confirmed.empty());
    xdotool("type 4711");
    click(exitX, exitY);
    EXPECT_TRUE(settle([&] { return !confirmed.empty(); }))
        << "the right password typed after a refusal did not confirm";
    EXPECT_EQ(confirmed, std::vector<ShutdownPanel::Action>{ShutdownPanel::Action::Exit});
    bool closed = false;
    m_shutdown->onClosed([&] { closed = true; });
    m_shutdown->closePanel();
    EXPECT_TRUE(closed);
    EXPECT_FALSE(m_shutdown->isOpen());
}

struct KeyboardSizeRow {
    std::string name;
    int sizePercent;
    int panelHeight;     // as shown: at the design size the keys need more than configured
    int languageHeight;  // of each language button
    Box keyboard;        // where the 848 x 262 layout goes
};

class KeyboardPanelTest : public PanelsTest,
                          public ::testing::WithParamInterface<KeyboardSizeRow> {};

// The language buttons in a column at the panel's margin, the keyboard centred with its
// layout's proportions; the keys type what they show, and nothing takes the page's focus.
TEST_P(KeyboardPanelTest, LanguageButtonsAndKeysWhereTheTestsClick) {
    const int size = GetParam().sizePercent;
    const int panelHeight = GetParam().panelHeight;
    const int margin = 8 * size / 100;
    m_keyboardPanel->setHeight(194 * size / 100);
    m_keyboardPanel->setTouchKeyboardTop(margin);
    m_keyboardPanel->buildLanguageButtons(true, size);
    gtk_widget_set_visible(m_keyboardPanel->widget(), TRUE);
    m_keyboardPanel->updateTouchKeyboard();
    const int panelTop = ScreenHeight - panelHeight;
    EXPECT_EQ(boxOf(m_keyboardPanel->widget()), (Box{0, panelTop, ScreenWidth, panelHeight}));

    const Box keyboard = GetParam().keyboard;
    EXPECT_EQ(boxOf(m_keyboardPanel->touchKeyboard().widget()), keyboard);

    int row = 0;
    for (GtkWidget* child = gtk_widget_get_first_child(m_keyboardPanel->widget()); child != nullptr;
         child = gtk_widget_get_next_sibling(child)) {
        if (GTK_IS_BUTTON(child)) {
            const int width = 128 * size / 100;
            const int height = GetParam().languageHeight;
            EXPECT_EQ(boxOf(child), (Box{margin, panelTop + margin + row * height, width, height}))
                << "language button " << row + 1;
            ++row;
        }
    }
    EXPECT_EQ(row, 3);

    // The German button makes German the language; the key of the second letter row's sixth
    // place types AD06, Shift holds for the next key only.
    click(margin + 64, panelTop + margin + GetParam().languageHeight * 3 / 2);
    EXPECT_TRUE(settle([&] { return m_keyboard.current == 0x04070407u; }));
    const double keyMargin = keyboard.height * 0.03;
    const double unit = (keyboard.width - 2 * keyMargin) / 15;  // the rows are 15 units wide
    const double rowHeight = (keyboard.height - 2 * keyMargin) / 5;
    const int ad06X = keyboard.left + static_cast<int>(keyMargin + (1.5 + 5.5) * unit);
    const int ad06Y = keyboard.top + static_cast<int>(keyMargin + 1.5 * rowHeight);
    const int shiftX = keyboard.left + static_cast<int>(keyMargin + unit);
    const int shiftY = keyboard.top + static_cast<int>(keyMargin + 3.5 * rowHeight);
    click(ad06X, ad06Y);
    click(shiftX, shiftY);
    click(ad06X, ad06Y);
    click(ad06X, ad06Y);
    EXPECT_TRUE(settle([&] { return m_keyboard.typed.size() >= 3; }));
    EXPECT_EQ(m_keyboard.typed, (std::vector<std::string>{"AD06", "shift+AD06", "AD06"}));
    EXPECT_TRUE(pageHasFocus()) << "the keyboard or a language button took the focus";
}

// A held key repeats until it is let go, or until the keyboard goes out of sight with it held
// (the keyboard button pressed with another finger): then no more strokes go to the page.
TEST_F(PanelsTest, HeldKeyStopsRepeatingWhenTheKeyboardCloses) {
    gtk_widget_set_visible(m_keyboardPanel->widget(), TRUE);
    m_keyboardPanel->updateTouchKeyboard();
    runFor(200ms);
    xdotool("mousemove 617 649 mousedown 1");
    EXPECT_TRUE(settle([&] { return m_keyboard.typed.size() >= 3; }))
        << "the held key did not repeat";
    gtk_widget_set_visible(m_keyboardPanel->widget(), FALSE);
    runFor(50ms);
    const std::size_t typed = m_keyboard.typed.size();
    runFor(700ms);
    xdotool("mouseup 1");
    EXPECT_EQ(m_keyboard.typed.size(), typed) << "the key went on repeating out of sight";
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, KeyboardPanelTest,
    // At the design size the panel grows until a key's face is 35 pixels high (nine millimetres
    // at 96 pixels per inch: a 208 high keyboard, five rows in 94 % of it, less the faces' 2-pixel
    // inset) and the language buttons 35 inside their frame; centred, the end-to-end tests click
    // AD06 at 617,649. Twice the size is more than that, and keeps clear of the language buttons.
    ::testing::Values(KeyboardSizeRow{"Design", 100, 224, 37, {303, 584, 673, 208}},
                      KeyboardSizeRow{"Double", 200, 388, 56, {288, 428, 976, 301}}),
    [](const auto& info) { return info.param.name; });

// A hidden animation would wake the kiosk for every frame.
TEST_F(PanelsTest, ProgressAnimatesOnlyWhileOnTheScreen) {
    ProgressPanel progress(m_metrics);
    GtkWidget* holder = gtk_widget_get_parent(m_page);
    gtk_overlay_add_overlay(GTK_OVERLAY(holder), progress.widget());
    runFor(100ms);
    EXPECT_FALSE(progress.animating()) << "hidden";
    gtk_widget_set_visible(progress.widget(), TRUE);
    EXPECT_TRUE(settle([&] { return progress.animating(); })) << "shown";
    gtk_widget_set_visible(holder, FALSE);
    EXPECT_FALSE(progress.animating()) << "its parent hidden";
    gtk_widget_set_visible(holder, TRUE);
    EXPECT_TRUE(settle([&] { return progress.animating(); })) << "its parent shown again";
    gtk_overlay_remove_overlay(GTK_OVERLAY(holder), progress.widget());
    EXPECT_FALSE(progress.animating()) << "taken out of the window";
}

TEST_F(PanelsTest, ReturnWarningCountsDownAndStopsWhenHidden) {
    ReturnWarning warning(m_metrics);
    GtkWidget* message = gtk_widget_get_first_child(warning.widget());
    bool expired = false;
    warning.onExpired([&] { expired = true; });
    warning.start("Back in %d s (%d)", 1500);
    EXPECT_EQ(std::string(gtk_label_get_text(GTK_LABEL(message))), "Back in 2 s (2)");
    EXPECT_TRUE(settle([&] { return expired; }));
    EXPECT_EQ(std::string(gtk_label_get_text(GTK_LABEL(message))), "Back in 0 s (0)");
    expired = false;
    warning.start("%d", 60000);
    warning.stop();
    EXPECT_FALSE(gtk_widget_get_visible(warning.widget()));
    runFor(1100ms);
    EXPECT_EQ(std::string(gtk_label_get_text(GTK_LABEL(message))), "60") << "it ticked hidden";
}

// The panel answers a blocked link while the visitor may be typing: the keys still go to the
// page, and the panel goes by itself after its time.
TEST_F(PanelsTest, BlockedPanelLeavesThePageItsKeys) {
    BlockedHint hint(m_metrics);
    hint.setContent("Blocked", scaledImageList(blockedSignImages(), 96).image(0, 1));
    hint.setSeconds(1);
    gtk_overlay_add_overlay(GTK_OVERLAY(gtk_widget_get_parent(m_page)), hint.widget());
    gtk_widget_set_visible(m_keyboardPanel->widget(), FALSE);
    hint.show(false);
    const Box box = boxOf(hint.widget());
    EXPECT_GE(box.width, 640) << box;
    EXPECT_EQ(box.centreX(), ScreenWidth / 2) << box;
    EXPECT_NEAR(box.centreY(), PanelHeight + (ScreenHeight - PanelHeight) / 2, 1) << box;
    xdotool("type ab");
    EXPECT_TRUE(settle([&] {
        return std::string(gtk_editable_get_text(GTK_EDITABLE(m_page))) == "ab";
    })) << "the page did not get the keys typed while the panel was shown";
    EXPECT_TRUE(hint.showingHint());
    EXPECT_TRUE(settle([&] { return !hint.showingHint(); })) << "the panel stayed";
}

// A touch anywhere on the panel takes it away; its buttons act as well. Back is there only
// where the page has somewhere to go back to.
TEST_F(PanelsTest, BlockedPanelGoesOnATouch) {
    BlockedHint hint(m_metrics);
    hint.setContent("Blocked", Glyph());
    std::string acted;
    hint.onBack([&] { acted += "back "; });
    hint.onHome([&] { acted += "home "; });
    gtk_overlay_add_overlay(GTK_OVERLAY(gtk_widget_get_parent(m_page)), hint.widget());
    gtk_widget_set_visible(m_keyboardPanel->widget(), FALSE);
    const struct {
        const char* name;
        bool canGoBack;
        int dx;  // from the panel's centre, on the buttons' row (0: above it, on the text)
        const char* acted;
    } rows[] = {
        {"TextDismisses", true, 0, ""},
        {"BackActs", true, -102, "back "},
        {"HomeActs", true, 102, "home "},
        {"HomeAloneWithoutHistory", false, 0, "home "},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        acted.clear();
        hint.show(row.canGoBack);
        const Box box = boxOf(hint.widget());
        const bool onButton = row.dx != 0 || !row.canGoBack;
        const int y = onButton ? box.top + box.height - 2 - 24 - 32 : box.top + 2 + 24 + 10;
        click(box.centreX() + row.dx, y);
        EXPECT_TRUE(settle([&] { return !hint.showingHint(); })) << "the panel stayed";
        runFor(50ms);
        EXPECT_EQ(acted, row.acted);
        EXPECT_TRUE(pageHasFocus()) << "the panel took the keyboard focus";
    }
}

// The bundle is made from the program's resource lists: every image the panels ask for and
// every keyboard layout is in it.
TEST(KioskResourcesTest, EveryImageAndLayoutIsBundled) {
    for (const ImageFamily* family :
         {&navigationImages(), &wheelchairImages(), &keyboardImages(), &blockedSignImages()}) {
        for (const ImageList* list : {&family->class100, &family->class150, &family->class200}) {
            for (int index = 0; index <= ImageExit; ++index) {
                const Glyph image = list->image(index, 1);
                if (index > 0 && family != &navigationImages()) {
                    EXPECT_TRUE(image.isNull());
                    continue;
                }
                ASSERT_FALSE(image.isNull()) << list->width() << " " << index;
                EXPECT_EQ(image.height(), list->height());
            }
        }
    }
    EXPECT_EQ(loadKeyboardLayouts().size(), 5u);
    registerKioskResources();  // for the look-ups of this test's own
    for (const char* path : {"/plintor/flags/24/DE.png", "/plintor/flags/48/FR.png",
                             "/plintor/progress.gif", "/plintor/keyboards/NUMPADKEYBOARD"}) {
        EXPECT_TRUE(
            g_resources_get_info(path, G_RESOURCE_LOOKUP_FLAGS_NONE, nullptr, nullptr, nullptr))
            << path;
    }
    EXPECT_TRUE(Glyph::fromResource("/plintor/flags/24/XX.png", 1).isNull());
    // On a screen scaled by 2 the 147 x 48 keyboard image covers half as many widget units.
    const Glyph scaled = keyboardImages().class200.image(0, 2);
    EXPECT_EQ(gdk_paintable_get_intrinsic_width(scaled.paintable()), 73);
    EXPECT_EQ(gdk_paintable_get_intrinsic_height(scaled.paintable()), 24);
}

}  // namespace
}  // namespace plintor
