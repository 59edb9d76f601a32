#include "app/KioskWindow.h"

#include <QtWebEngineCore/qtwebenginecoreglobal.h>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

#include "app/ImageLists.h"
#include "app/NavigationPanel.h"
#include "app/ProgressPanel.h"
#include "app/ReturnWarning.h"
#include "app/ShutdownPanel.h"
#include "app/WheelchairBar.h"
#include "browser/RestrictedBrowser.h"
#include "core/app/KioskState.h"
#include "core/app/WindowRules.h"
#include "core/support/Log.h"
#include "keyboard/KeyboardPanel.h"
#include "keyboard/TouchKeyboard.h"
#include "widgets/PictureButton.h"

namespace plintor {
namespace {

// Design sizes at 96 pixels per inch.
constexpr int FontPixels = 11;

QString sizeText(const QSize& size) {
    return QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
}

QColor toQColor(Color color) {
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

}  // namespace

KioskWindow::KioskWindow(const KioskState& state, const OfficeConverter& converter,
                         KeyboardSystem* keyboard)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint),
      m_metrics(*QGuiApplication::primaryScreen()),
      m_state(state),
      m_converter(converter),
      m_keyboard(keyboard) {
    logStart();
    setWindowTitle(QApplication::applicationName() + ' ' +
                   QString::fromStdString(state.programVersion));
    QFont windowFont = font();
    windowFont.setPixelSize(m_metrics.scaled(FontPixels));
    setFont(windowFont);
    buildControls();
}

KioskWindow::~KioskWindow() = default;

void KioskWindow::logStart() {
    logEntry("Start, Plintor " + m_state.programVersion + ", IE " +
             std::string(qWebEngineChromiumVersion()));
    const QScreen* screen = QGuiApplication::primaryScreen();
    const qreal ratio = screen->devicePixelRatio();
    logEntry(("Monitor: " + sizeText(screen->geometry().size() * ratio) +
              "\r\nDesktop: " + sizeText(screen->virtualGeometry().size() * ratio))
                 .toStdString());
}

void KioskWindow::buildControls() {
    const qreal ratio = m_metrics.devicePixelRatio();
    const ImageList& images = scaledImageList(navigationImages(), m_metrics.pixelsPerInch());
    m_back = new QAction(QIcon(images.image(ImageBack, ratio)), {}, this);
    m_forward = new QAction(QIcon(images.image(ImageForward, ratio)), {}, this);
    m_wheelchair = new QAction(
        QIcon(scaledImageList(wheelchairImages(), m_metrics.pixelsPerInch()).image(0, ratio)), {},
        this);
    m_touch = new QAction(
        QIcon(scaledImageList(keyboardImages(), m_metrics.pixelsPerInch()).image(0, ratio)), {},
        this);
    connect(m_back, &QAction::triggered, this, [this] {
        hideShutdownPanel();
        m_browser->goBack();
    });
    connect(m_forward, &QAction::triggered, this, [this] {
        hideShutdownPanel();
        m_browser->goForward();
    });
    connect(m_wheelchair, &QAction::triggered, this, &KioskWindow::toggleWheelchairMode);
    connect(m_touch, &QAction::triggered, this, &KioskWindow::toggleKeyboard);

    m_wheelchairSpacer = new QWidget(this);
    m_wheelchairSpacer->setObjectName(QStringLiteral("PWheelchairTop"));
    m_wheelchairSpacer->setFixedHeight(0);
    m_wheelchairSpacer->setAutoFillBackground(true);
    QPalette black = m_wheelchairSpacer->palette();
    black.setColor(QPalette::Window, Qt::black);
    m_wheelchairSpacer->setPalette(black);

    m_navigation = new NavigationPanel(m_metrics, m_back, m_forward, m_touch, this);
    connect(m_navigation, &NavigationPanel::urlButtonClicked, this, &KioskWindow::openNavButton);

    auto* client = new QWidget(this);
    auto* clientLayout = new QGridLayout(client);
    clientLayout->setContentsMargins(0, 0, 0, 0);
    m_browser = new RestrictedBrowser(m_state, m_converter, m_back, m_forward, client);
    m_shutdownPanel =
        new ShutdownPanel(m_metrics,
                          {images.image(ImageShutDown, ratio), images.image(ImageRestart, ratio),
                           images.image(ImageLogOff, ratio), images.image(ImageExit, ratio)},
                          client);
    connect(m_shutdownPanel, &ShutdownPanel::closed, m_browser, &QWidget::show);
    clientLayout->addWidget(m_browser, 0, 0);
    clientLayout->addWidget(m_shutdownPanel, 0, 0);

    m_returnWarning = new ReturnWarning(m_metrics, this);
    m_keyboardPanel = new KeyboardPanel(m_metrics, m_keyboard, this);
    m_wheelchairBar = new WheelchairBar(m_metrics, m_wheelchair, this);
    m_progress = new ProgressPanel(m_metrics, this);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (QWidget* control :
         {m_wheelchairSpacer, static_cast<QWidget*>(m_navigation), client,
          static_cast<QWidget*>(m_keyboardPanel), static_cast<QWidget*>(m_wheelchairBar)}) {
        layout->addWidget(control);
    }
    colourPanels(QApplication::palette().color(QPalette::Button));
}

int KioskWindow::homeButtonWidth() const {
    return qRound(m_navigation->homeButton()->width() * m_metrics.devicePixelRatio());
}

void KioskWindow::applySettings(const KioskSettings& settings,
                                const std::vector<NavButton>& buttons) {
    m_navigation->setVisible(settings.navigationPanel);
    m_navigation->touchButton()->setVisible(settings.touchKeyboard);
    if (settings.touchKeyboardOnTop) {
        auto* vertical = static_cast<QVBoxLayout*>(layout());
        vertical->removeWidget(m_keyboardPanel);
        vertical->insertWidget(vertical->indexOf(m_navigation) + 1, m_keyboardPanel);
    }
    m_keyboardPanel->setFixedHeight(
        keyboardSized(m_keyboardPanel->height(), settings.touchKeyboardSize));
    m_keyboardPanel->setTouchKeyboardTop(
        keyboardSized(m_keyboardPanel->touchKeyboardTop(), settings.touchKeyboardSize));
    m_keyboardPanel->touchKeyboard()->setLayoutName(
        QString::fromStdString(settings.touchKeyboardLayout));
    m_wheelchairPercent = settings.wheelchair;
    m_wheelchairBar->setVisible(settings.wheelchair != 0);
    m_browser->setBalloonHint(QString::fromStdString(settings.msgBlocked),
                              scaledImageList(blockedSignImages(), m_metrics.pixelsPerInch())
                                  .image(0, m_metrics.devicePixelRatio()));
    if (settings.progressIndicator) {
        m_browser->setProgressIndicator(m_progress);
    }
    QMargins margins = layout()->contentsMargins();
    margins.setRight(m_metrics.fromScreenPixels(settings.marginRight));
    layout()->setContentsMargins(margins);
    if (const std::optional<Color> colour = panelColorOf(settings)) {
        colourPanels(toQColor(*colour));
    }
    m_shutdownPanel->setPassword(settings.password);
    m_navigation->layoutNavButtons(buttons,
                                   scaledImageList(navigationImages(), m_metrics.pixelsPerInch())
                                       .image(ImageHome, m_metrics.devicePixelRatio()));
    m_keyboardPanel->buildLanguageButtons(settings.touchKeyboard, settings.touchKeyboardSize);
}

void KioskWindow::colourPanels(const QColor& colour) {
    for (QWidget* panel :
         {static_cast<QWidget*>(m_navigation), static_cast<QWidget*>(m_keyboardPanel),
          static_cast<QWidget*>(m_wheelchairBar)}) {
        QPalette coloured = panel->palette();
        coloured.setColor(QPalette::Window, colour);
        panel->setPalette(coloured);
    }
}

void KioskWindow::openNavButton(int number) {
    hideShutdownPanel();
    m_browser->navigate(
        QString::fromStdString(m_state.buttons.at(static_cast<std::size_t>(number) - 1).url));
}

void KioskWindow::toggleWheelchairMode() {
    hideShutdownPanel();
    m_wheelchairSpacer->setFixedHeight(
        m_wheelchairSpacer->height() != 0 ? 0 : height() * m_wheelchairPercent / 100);
}

void KioskWindow::leaveWheelchairMode() {
    if (m_wheelchairSpacer->height() != 0) {
        m_wheelchair->trigger();
    }
}

void KioskWindow::toggleKeyboard() {
    m_keyboardPanel->setVisible(m_keyboardPanel->isHidden());
    updateTouchKeyboard();
    m_keyboardPanel->touchKeyboard()->setVisible(!m_keyboardPanel->isHidden());
    m_shutdownPanel->centerShutdownBox();
    emit keyboardToggled();
}

bool KioskWindow::keyboardShown() const {
    return !m_keyboardPanel->isHidden();
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
    m_browser->hide();
    m_shutdownPanel->openPanel(windowTitle());
}

void KioskWindow::hideShutdownPanel() {
    m_shutdownPanel->closePanel();
}

void KioskWindow::showScreensaver(const std::string& address) {
    if (m_screensaver == nullptr) {
        m_screensaver = new RestrictedBrowser(m_state, m_converter, nullptr, nullptr, this);
        m_screensaver->lists().whitelistAllowAll();
        m_screensaver->setEnabled(false);  // input goes to nobody; the first one hides the page
        m_screensaver->setGeometry(0, 0, width(), height());
    }
    m_screensaver->show();
    m_screensaver->navigate(QString::fromStdString(address));
    m_screensaver->raise();
}

void KioskWindow::hideScreensaver() {
    if (m_screensaver != nullptr) {
        m_screensaver->hide();
    }
}

void KioskWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    setGeometry(QGuiApplication::primaryScreen()->geometry());
    if (!m_shown) {
        m_shown = true;
        QMetaObject::invokeMethod(this, &KioskWindow::firstShown, Qt::QueuedConnection);
    }
}

void KioskWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    updateTouchKeyboard();
    if (m_screensaver != nullptr) {
        m_screensaver->setGeometry(0, 0, width(), height());
    }
    m_returnWarning->center();
}

void KioskWindow::paintEvent(QPaintEvent*) {
    // The window itself is black; only a right margin lets it show.
    QPainter(this).fillRect(rect(), Qt::black);
}

void KioskWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
}

}  // namespace plintor
