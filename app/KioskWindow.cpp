#include "app/KioskWindow.h"

#include <gdk/x11/gdkx.h>

#include "app/NavigationPanel.h"
#include "app/ProgressPanel.h"
#include "app/ReturnWarning.h"
#include "app/ShutdownPanel.h"
#include "app/WheelchairBar.h"
#include "browser/EngineVersion.h"
#include "browser/RestrictedBrowser.h"
#include "core/app/KioskState.h"
#include "core/app/WindowRules.h"
#include "core/support/Log.h"
#include "keyboard/FocusKeyboard.h"
#include "keyboard/KeyboardPanel.h"
#include "keyboard/TouchKeyboard.h"
#include "widgets/BlockedHint.h"
#include "widgets/ImageLists.h"
#include "widgets/LoadErrorPanel.h"

namespace plintor {
namespace {

// The window itself is black; only a right margin or the wheelchair spacer lets it show.
constexpr const char* WindowStyle = "& { background: black; }";

GdkMonitor* primaryMonitor() {
    GListModel* monitors = gdk_display_get_monitors(gdk_display_get_default());
    auto* monitor = static_cast<GdkMonitor*>(g_list_model_get_item(monitors, 0));
    if (monitor != nullptr) {
        g_object_unref(monitor);  // the display keeps it
    }
    return monitor;
}

GdkRectangle monitorArea() {
    GdkRectangle area{0, 0, 1024, 768};
    if (GdkMonitor* monitor = primaryMonitor()) {
        gdk_monitor_get_geometry(monitor, &area);
    }
    return area;
}

std::string sizeText(int width, int height) {
    return std::to_string(width) + "x" + std::to_string(height);
}

}  // namespace

KioskWindow::KioskWindow(const KioskState& state, KioskCounters& counters,
                         const OfficeConverter& converter, KeyboardSystem* keyboard, Events events)
    : m_metrics(primaryMonitor()),
      m_state(state),
      m_counters(counters),
      m_converter(converter),
      m_keyboard(keyboard),
      m_events(std::move(events)),
      m_window(GObjectRef<GtkWidget>::adopt(GTK_WIDGET(g_object_ref_sink(gtk_window_new())))),
      m_announceShown([this] { m_events.firstShown(); }),
      m_hideWarningLater([this] { m_returnWarning->stop(); }),
      m_hideScreensaverLater([this] {
          if (m_screensaver) {
              gtk_widget_set_visible(m_screensaver->widget(), FALSE);
          }
      }) {
    logStart();
    GtkWindow* window = GTK_WINDOW(m_window.get());
    gtk_window_set_title(window, ("Plintor " + state.programVersion).c_str());
    gtk_window_set_decorated(window, FALSE);
    const GdkRectangle area = monitorArea();
    gtk_window_set_default_size(window, area.width, area.height);
    m_css.set(WindowStyle);
    m_closeRequest =
        ScopedSignal(window, "close-request", G_CALLBACK(&KioskWindow::onCloseRequest), this);
    m_mapped = ScopedSignal(m_window.get(), "map", G_CALLBACK(&KioskWindow::onMapped), this);
    buildControls();
}

// The browsers go before the window that holds their pages.
KioskWindow::~KioskWindow() {
    m_closeRequest.disconnect();
    m_mapped.disconnect();
    m_screensaver.reset();
    m_browser.reset();
    m_focusKeyboard.reset();
    gtk_window_destroy(GTK_WINDOW(m_window.get()));
}

void KioskWindow::logStart() {
    logEntry("Start, Plintor " + m_state.programVersion + ", IE " + engineVersion());
    const GdkRectangle area = monitorArea();
    const int scale = m_metrics.scaleFactor();
    logEntry("Monitor: " + sizeText(area.width * scale, area.height * scale) +
             "\r\nDesktop: " + sizeText(area.width * scale, area.height * scale));
}

GtkWidget* KioskWindow::newSpacer() {
    GtkWidget* spacer = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    gtk_widget_set_size_request(spacer, -1, 0);
    gtk_widget_set_visible(spacer, FALSE);
    return spacer;
}

void KioskWindow::buildControls() {
    const int ppi = m_metrics.pixelsPerInch();
    const int scale = m_metrics.scaleFactor();
    const ImageList& images = scaledImageList(navigationImages(), ppi);
    m_navigation = std::make_unique<NavigationPanel>(
        m_metrics, images.image(ImageBack, scale), images.image(ImageForward, scale),
        scaledImageList(keyboardImages(), ppi).image(0, scale));
    connectNavigation();
    m_focusKeyboard = std::make_unique<FocusKeyboard>(
        m_window.get(), FocusKeyboard::Keyboard{
                            .shown = [this] { return keyboardShown(); },
                            .show = [this](bool shown) { setKeyboardShown(shown); },
                        });

    m_browser = std::make_unique<RestrictedBrowser>(
        m_state, &m_counters, m_converter,
        RestrictedBrowser::Events{
            .rendererEnded = [this](const std::string& reason) { m_events.rendererEnded(reason); },
            .rendererUnresponsive = [this] { m_events.rendererUnresponsive(); },
            .historyChanged =
                [this](bool back, bool forward) {
                    m_navigation->backButton().setEnabled(back);
                    m_navigation->forwardButton().setEnabled(forward);
                },
            .textFieldFocused =
                [this](bool focused) { m_focusKeyboard->pageFieldFocused(focused); },
            .documentReplaced = [this] { m_focusKeyboard->pageReplaced(); },
        });
    m_shutdownPanel = std::make_unique<ShutdownPanel>(
        m_metrics,
        std::array<Glyph, 4>{images.image(ImageShutDown, scale), images.image(ImageRestart, scale),
                             images.image(ImageLogOff, scale), images.image(ImageExit, scale)});
    m_focusKeyboard->watchField(m_shutdownPanel->passwordField());
    m_shutdownPanel->onClosed([this] {
        gtk_widget_set_visible(m_browser->widget(), TRUE);
        m_browser->focusPage();
    });
    m_client = gtk_overlay_new();
    gtk_widget_set_vexpand(m_client, TRUE);
    gtk_overlay_set_child(GTK_OVERLAY(m_client), m_browser->widget());
    gtk_overlay_add_overlay(GTK_OVERLAY(m_client), m_shutdownPanel->widget());

    m_returnWarning = std::make_unique<ReturnWarning>(m_metrics);
    m_keyboardPanel = std::make_unique<KeyboardPanel>(m_metrics, m_keyboard);
    m_wheelchairBar = std::make_unique<WheelchairBar>(
        m_metrics, scaledImageList(wheelchairImages(), ppi).image(0, scale));
    m_wheelchairBar->button().onClicked([this] { toggleWheelchairMode(); });
    m_progress = std::make_unique<ProgressPanel>(m_metrics);
    // The blocked answer lies over the kiosk's page for a failed load, which it may answer.
    m_loadError = std::make_unique<LoadErrorPanel>(m_metrics);
    m_loadError->onHome([this] { goHome(); });
    m_browser->setLoadErrorPanel(m_loadError.get());
    m_hint = std::make_unique<BlockedHint>(m_metrics);
    m_hint->onBack([this] { m_browser->goBack(); });
    m_hint->onHome([this] { goHome(); });
    m_browser->setBlockedHint(m_hint.get());

    m_wheelchairSpacer = newSpacer();
    m_column = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    for (GtkWidget* control : {m_wheelchairSpacer, m_navigation->widget(), m_client,
                               m_keyboardPanel->widget(), m_wheelchairBar->widget()}) {
        gtk_box_append(GTK_BOX(m_column), control);
    }
    m_screen = gtk_overlay_new();
    gtk_overlay_set_child(GTK_OVERLAY(m_screen), m_column);
    gtk_overlay_add_overlay(GTK_OVERLAY(m_screen), m_returnWarning->widget());
    gtk_window_set_child(GTK_WINDOW(m_window.get()), m_screen);
}

void KioskWindow::connectNavigation() {
    m_navigation->onUrlButtonClicked([this](int tag) { openNavButton(tag); });
    m_navigation->backButton().onClicked([this] {
        hideShutdownPanel();
        m_browser->goBack();
    });
    m_navigation->forwardButton().onClicked([this] {
        hideShutdownPanel();
        m_browser->goForward();
    });
    m_navigation->touchButton().onClicked([this] { toggleKeyboard(); });
    m_navigation->zoomOutButton().onClicked([this] {
        hideShutdownPanel();
        m_zoom.zoomOut();
        showZoom();
    });
    m_navigation->zoomInButton().onClicked([this] {
        hideShutdownPanel();
        m_zoom.zoomIn();
        showZoom();
    });
}

int KioskWindow::homeButtonWidth() const {
    return m_navigation->homeButton().width() * m_metrics.scaleFactor();
}

unsigned long KioskWindow::nativeId() const {
    GdkSurface* surface = gtk_native_get_surface(GTK_NATIVE(m_window.get()));
    if (surface == nullptr || !GDK_IS_X11_SURFACE(surface)) {
        return 0;
    }
    return gdk_x11_surface_get_xid(surface);
}

bool KioskWindow::isVisible() const {
    return gtk_widget_get_mapped(m_window.get()) != FALSE;
}

void KioskWindow::applySettings(const KioskSettings& settings,
                                const std::vector<NavButton>& buttons) {
    gtk_widget_set_visible(m_navigation->widget(), settings.navigationPanel);
    m_navigation->showRightButtons(settings.touchKeyboard, settings.zoomButtons);
    m_zoom = PageZoom(settings.zoomMin, settings.zoomMax);
    showZoom();
    if (settings.touchKeyboardOnTop) {
        gtk_box_reorder_child_after(GTK_BOX(m_column), m_keyboardPanel->widget(),
                                    m_navigation->widget());
    }
    m_keyboardPanel->setHeight(
        keyboardSized(m_keyboardPanel->height(), settings.touchKeyboardSize));
    m_keyboardPanel->setTouchKeyboardTop(
        keyboardSized(m_keyboardPanel->touchKeyboardTop(), settings.touchKeyboardSize));
    m_keyboardPanel->touchKeyboard().setLayoutName(settings.touchKeyboardLayout);
    m_focusKeyboard->setMode(settings.keyboardOnFocus);
    m_wheelchairPercent = settings.wheelchair;
    gtk_widget_set_visible(m_wheelchairBar->widget(), settings.wheelchair != 0);
    // The panel shows the sign large: its largest drawing, whatever the screen.
    m_hint->setContent(settings.msgBlocked,
                       blockedSignImages().class200.image(0, m_metrics.scaleFactor()));
    m_hint->setSeconds(settings.blockedHintSeconds);
    if (settings.progressIndicator) {
        m_browser->setProgressIndicator(m_progress->widget());
    }
    gtk_widget_set_margin_end(m_column, m_metrics.fromScreenPixels(settings.marginRight));
    if (const std::optional<Color> colour = panelColorOf(settings)) {
        m_navigation->setColour(*colour);
        m_keyboardPanel->setColour(*colour);
        m_wheelchairBar->setColour(*colour);
    }
    m_shutdownPanel->setPassword(settings.password);
    m_navigation->layoutNavButtons(buttons,
                                   scaledImageList(navigationImages(), m_metrics.pixelsPerInch())
                                       .image(ImageHome, m_metrics.scaleFactor()));
    m_keyboardPanel->buildLanguageButtons(settings.touchKeyboard, settings.touchKeyboardSize);
}

void KioskWindow::show() {
    gtk_window_fullscreen(GTK_WINDOW(m_window.get()));
    gtk_window_present(GTK_WINDOW(m_window.get()));
}

void KioskWindow::openNavButton(int number) {
    hideShutdownPanel();
    m_browser->navigate(m_state.buttons.at(static_cast<std::size_t>(number) - 1).url);
}

void KioskWindow::goHome() {
    hideShutdownPanel();
    if (!m_state.buttons.empty()) {
        m_browser->navigateHome(m_state.buttons.front().url);
    }
}

void KioskWindow::toggleWheelchairMode() {
    hideShutdownPanel();
    const bool lowered = gtk_widget_get_visible(m_wheelchairSpacer);
    const int height = gtk_widget_get_height(m_window.get()) * m_wheelchairPercent / 100;
    gtk_widget_set_size_request(m_wheelchairSpacer, -1, lowered ? 0 : height);
    gtk_widget_set_visible(m_wheelchairSpacer, !lowered && height > 0);
}

void KioskWindow::leaveWheelchairMode() {
    if (gtk_widget_get_visible(m_wheelchairSpacer)) {
        toggleWheelchairMode();
    }
}

void KioskWindow::toggleKeyboard() {
    setKeyboardShown(!keyboardShown());
    m_focusKeyboard->keyboardToggled();
}

void KioskWindow::setKeyboardShown(bool shown) {
    gtk_widget_set_visible(m_keyboardPanel->widget(), shown);
    updateTouchKeyboard();
    if (m_events.keyboardToggled) {
        m_events.keyboardToggled();
    }
}

bool KioskWindow::keyboardShown() const {
    return gtk_widget_get_visible(m_keyboardPanel->widget()) != FALSE;
}

void KioskWindow::updateTouchKeyboard() {
    m_keyboardPanel->updateTouchKeyboard();
}

void KioskWindow::toggleShutdownPanel() {
    leaveWheelchairMode();
    if (m_shutdownPanel->isOpen()) {
        m_shutdownPanel->closePanel();
        return;
    }
    gtk_widget_set_visible(m_browser->widget(), FALSE);
    m_shutdownPanel->openPanel(gtk_window_get_title(GTK_WINDOW(m_window.get())));
}

void KioskWindow::hideShutdownPanel() {
    m_shutdownPanel->closePanel();
}

void KioskWindow::resetZoom() {
    m_zoom.reset();
    showZoom();
}

void KioskWindow::showZoom() {
    m_browser->setZoom(m_zoom.percent());
    m_navigation->zoomOutButton().setEnabled(m_zoom.canZoomOut());
    m_navigation->zoomInButton().setEnabled(m_zoom.canZoomIn());
}

void KioskWindow::showScreensaver(const std::string& address) {
    if (!m_screensaver) {
        m_screensaver = std::make_unique<RestrictedBrowser>(m_state, nullptr, m_converter,
                                                            RestrictedBrowser::Events{});
        m_screensaver->lists().whitelistAllowAll();
        m_screensaver->setInteractive(false);  // input goes to nobody; the first one hides it
        gtk_overlay_add_overlay(GTK_OVERLAY(m_screen), m_screensaver->widget());
    }
    gtk_widget_set_visible(m_screensaver->widget(), TRUE);
    m_screensaver->navigate(address);
}

void KioskWindow::hideScreensaver() {
    m_hideScreensaverLater.start(0);
}

void KioskWindow::showReturnWarning(long long millisecondsLeft) {
    m_returnWarning->start(m_state.settings.msgReturnWarning, millisecondsLeft);
}

void KioskWindow::showVisitEndWarning(long long millisecondsLeft) {
    m_returnWarning->start(m_state.settings.msgSessionEnd, millisecondsLeft);
}

void KioskWindow::hideReturnWarning() {
    m_hideWarningLater.start(0);
}

gboolean KioskWindow::onCloseRequest(GtkWindow*, gpointer) {
    return TRUE;  // only the kiosk itself ends the window
}

void KioskWindow::onMapped(GtkWidget*, gpointer self) {
    auto* window = static_cast<KioskWindow*>(self);
    if (!window->m_shown) {
        window->m_shown = true;
        window->m_announceShown.start(0);
    }
}

}  // namespace plintor
