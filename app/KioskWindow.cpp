#include "app/KioskWindow.h"

#include <QtWebEngineCore/qtwebenginecoreglobal.h>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QMovie>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

#include "app/ImageLists.h"
#include "app/NavigationPanel.h"
#include "app/ShutdownPanel.h"
#include "app/WheelchairBar.h"
#include "browser/KioskProfile.h"
#include "browser/TSafeWebBrowser.h"
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
constexpr int ProgressPanelSize = 97;
constexpr int ProgressImageOffset = 16;
constexpr int ProgressImageSize = 64;

QString SizeText(const QSize& size) {
    return QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
}

QColor ToQColor(TColor color) {
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

}  // namespace

TKioskWindow::TKioskWindow(QWebEngineProfile* profile, const TKioskState& state,
                           const TOfficeConverter& converter, IKeyboardSystem* keyboard)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint),
      FMetrics(*QGuiApplication::primaryScreen()),
      FProfile(profile),
      FState(state),
      FConverter(converter),
      FKeyboard(keyboard) {
    LogStart();
    setWindowTitle(QApplication::applicationName() + ' ' +
                   QString::fromStdString(state.ProgramVersion));
    QFont windowFont = font();
    windowFont.setPixelSize(FMetrics.Scaled(FontPixels));
    setFont(windowFont);
    BuildControls();
}

TKioskWindow::~TKioskWindow() = default;

void TKioskWindow::LogStart() {
    LogEntry("Start, Plintor " + FState.ProgramVersion + ", IE " +
             std::string(qWebEngineChromiumVersion()));
    const QScreen* screen = QGuiApplication::primaryScreen();
    const qreal ratio = screen->devicePixelRatio();
    LogEntry(("Monitor: " + SizeText(screen->geometry().size() * ratio) +
              "\r\nDesktop: " + SizeText(screen->virtualGeometry().size() * ratio))
                 .toStdString());
}

void TKioskWindow::BuildControls() {
    const qreal ratio = FMetrics.DevicePixelRatio();
    const TImageList& images = ScaledImageList(PIL(), FMetrics.PixelsPerInch());
    FBack = new QAction(QIcon(images.Image(ImageBack, ratio)), {}, this);
    FForward = new QAction(QIcon(images.Image(ImageForward, ratio)), {}, this);
    FWheelchair = new QAction(
        QIcon(ScaledImageList(PILW(), FMetrics.PixelsPerInch()).Image(0, ratio)), {}, this);
    FTouch = new QAction(QIcon(ScaledImageList(PILT(), FMetrics.PixelsPerInch()).Image(0, ratio)),
                         {}, this);
    connect(FBack, &QAction::triggered, this, [this] {
        HideShutdownPanel();
        FBrowser->GoBack();
    });
    connect(FForward, &QAction::triggered, this, [this] {
        HideShutdownPanel();
        FBrowser->GoForward();
    });
    connect(FWheelchair, &QAction::triggered, this, &TKioskWindow::ToggleWheelchairMode);
    connect(FTouch, &QAction::triggered, this, &TKioskWindow::ToggleKeyboard);

    FWheelchairSpacer = new QWidget(this);
    FWheelchairSpacer->setObjectName(QStringLiteral("PWheelchairTop"));
    FWheelchairSpacer->setFixedHeight(0);
    FWheelchairSpacer->setAutoFillBackground(true);
    QPalette black = FWheelchairSpacer->palette();
    black.setColor(QPalette::Window, Qt::black);
    FWheelchairSpacer->setPalette(black);

    FNavigation = new TNavigationPanel(FMetrics, FBack, FForward, FTouch, this);
    connect(FNavigation, &TNavigationPanel::urlButtonClicked, this, &TKioskWindow::OpenNavButton);

    auto* client = new QWidget(this);
    auto* clientLayout = new QGridLayout(client);
    clientLayout->setContentsMargins(0, 0, 0, 0);
    FBrowser = new TSafeWebBrowser(FProfile, FState, FConverter, FBack, FForward, client);
    FShutdownPanel =
        new TShutdownPanel(FMetrics,
                           {images.Image(ImageShutDown, ratio), images.Image(ImageRestart, ratio),
                            images.Image(ImageLogOff, ratio), images.Image(ImageExit, ratio)},
                           client);
    connect(FShutdownPanel, &TShutdownPanel::closed, FBrowser, &QWidget::show);
    clientLayout->addWidget(FBrowser, 0, 0);
    clientLayout->addWidget(FShutdownPanel, 0, 0);

    FKeyboardPanel = new TKeyboardPanel(FMetrics, FKeyboard, this);
    FWheelchairBar = new TWheelchairBar(FMetrics, FWheelchair, this);
    FProgress = BuildProgressPanel();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (QWidget* control :
         {FWheelchairSpacer, static_cast<QWidget*>(FNavigation), client,
          static_cast<QWidget*>(FKeyboardPanel), static_cast<QWidget*>(FWheelchairBar)}) {
        layout->addWidget(control);
    }
    ColourPanels(QApplication::palette().color(QPalette::Button));
}

QWidget* TKioskWindow::BuildProgressPanel() {
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("PProgress"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setStyleSheet(QStringLiteral("#PProgress { background: white; }"));
    panel->resize(FMetrics.Scaled(ProgressPanelSize), FMetrics.Scaled(ProgressPanelSize));
    auto* image = new QLabel(panel);
    image->setGeometry(FMetrics.Scaled(ProgressImageOffset), FMetrics.Scaled(ProgressImageOffset),
                       FMetrics.Scaled(ProgressImageSize), FMetrics.Scaled(ProgressImageSize));
    image->setScaledContents(true);
    auto* movie = new QMovie(QStringLiteral(":/progress.gif"), {}, image);
    image->setMovie(movie);
    movie->start();
    panel->hide();
    return panel;
}

int TKioskWindow::HomeButtonWidth() const {
    return qRound(FNavigation->HomeButton()->width() * FMetrics.DevicePixelRatio());
}

void TKioskWindow::ApplySettings(const TSettings& settings,
                                 const std::vector<TNavButton>& buttons) {
    FNavigation->setVisible(settings.NavigationPanel);
    FNavigation->TouchButton()->setVisible(settings.TouchKeyboard);
    if (settings.TouchKeyboardOnTop) {
        auto* vertical = static_cast<QVBoxLayout*>(layout());
        vertical->removeWidget(FKeyboardPanel);
        vertical->insertWidget(vertical->indexOf(FNavigation) + 1, FKeyboardPanel);
    }
    FKeyboardPanel->setFixedHeight(
        KeyboardSized(FKeyboardPanel->height(), settings.TouchKeyboardSize));
    FKeyboardPanel->SetTouchKeyboardTop(
        KeyboardSized(FKeyboardPanel->TouchKeyboardTop(), settings.TouchKeyboardSize));
    FKeyboardPanel->TouchKeyboard()->SetLayoutName(
        QString::fromStdString(settings.TouchKeyboardLayout));
    FWheelchairPercent = settings.Wheelchair;
    FWheelchairBar->setVisible(settings.Wheelchair != 0);
    FBrowser->SetBalloonHint(
        QString::fromStdString(settings.MsgBlocked),
        ScaledImageList(PILC(), FMetrics.PixelsPerInch()).Image(0, FMetrics.DevicePixelRatio()));
    if (settings.ProgressIndicator) {
        FBrowser->SetProgressIndicator(FProgress);
    }
    QMargins margins = layout()->contentsMargins();
    margins.setRight(FMetrics.FromScreenPixels(settings.MarginRight));
    layout()->setContentsMargins(margins);
    if (const std::optional<TColor> colour = PanelColorOf(settings)) {
        ColourPanels(ToQColor(*colour));
    }
    FShutdownPanel->SetPassword(settings.Password);
    FNavigation->LayoutNavButtons(buttons, ScaledImageList(PIL(), FMetrics.PixelsPerInch())
                                               .Image(ImageHome, FMetrics.DevicePixelRatio()));
    FKeyboardPanel->BuildLanguageButtons(settings.TouchKeyboard, settings.TouchKeyboardSize);
}

void TKioskWindow::ColourPanels(const QColor& colour) {
    for (QWidget* panel :
         {static_cast<QWidget*>(FNavigation), static_cast<QWidget*>(FKeyboardPanel),
          static_cast<QWidget*>(FWheelchairBar)}) {
        QPalette coloured = panel->palette();
        coloured.setColor(QPalette::Window, colour);
        panel->setPalette(coloured);
    }
}

void TKioskWindow::OpenNavButton(int number) {
    HideShutdownPanel();
    FBrowser->Navigate(
        QString::fromStdString(FState.Buttons.at(static_cast<std::size_t>(number) - 1).URL));
}

void TKioskWindow::ToggleWheelchairMode() {
    HideShutdownPanel();
    FWheelchairSpacer->setFixedHeight(
        FWheelchairSpacer->height() != 0 ? 0 : height() * FWheelchairPercent / 100);
}

void TKioskWindow::LeaveWheelchairMode() {
    if (FWheelchairSpacer->height() != 0) {
        FWheelchair->trigger();
    }
}

void TKioskWindow::ToggleKeyboard() {
    FKeyboardPanel->setVisible(FKeyboardPanel->isHidden());
    UpdateTouchKeyboard();
    FKeyboardPanel->TouchKeyboard()->setVisible(!FKeyboardPanel->isHidden());
    FShutdownPanel->CenterShutdownBox();
}

bool TKioskWindow::KeyboardShown() const {
    return !FKeyboardPanel->isHidden();
}

void TKioskWindow::UpdateTouchKeyboard() {
    FKeyboardPanel->UpdateTouchKeyboard();
}

void TKioskWindow::ToggleShutdownPanel() {
    LeaveWheelchairMode();
    if (FShutdownPanel->IsOpen()) {
        FShutdownPanel->Close();
        return;
    }
    FBrowser->hide();
    FShutdownPanel->Open(windowTitle());
}

void TKioskWindow::HideShutdownPanel() {
    FShutdownPanel->Close();
}

void TKioskWindow::ShowScreensaver(const std::string& address) {
    if (FScreensaver == nullptr) {
        FScreensaver = new TSafeWebBrowser(CreateKioskProfile(this), FState, FConverter, nullptr,
                                           nullptr, this);
        FScreensaver->Lists().WhitelistAllowAll();
        FScreensaver->setEnabled(false);  // input goes to nobody; the first one hides the page
        FScreensaver->setGeometry(0, 0, width(), height());
    }
    FScreensaver->show();
    FScreensaver->Navigate(QString::fromStdString(address));
    FScreensaver->raise();
}

void TKioskWindow::HideScreensaver() {
    if (FScreensaver != nullptr) {
        FScreensaver->hide();
    }
}

void TKioskWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    setGeometry(QGuiApplication::primaryScreen()->geometry());
    if (!FShown) {
        FShown = true;
        QMetaObject::invokeMethod(this, &TKioskWindow::firstShown, Qt::QueuedConnection);
    }
}

void TKioskWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    UpdateTouchKeyboard();
    if (FScreensaver != nullptr) {
        FScreensaver->setGeometry(0, 0, width(), height());
    }
}

void TKioskWindow::paintEvent(QPaintEvent*) {
    // The window itself is black; only a right margin lets it show.
    QPainter(this).fillRect(rect(), Qt::black);
}

void TKioskWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
}

}  // namespace plintor
