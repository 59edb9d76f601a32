#include "app/F_Plintor.h"

#include <QtWebEngineCore/qtwebenginecoreglobal.h>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDate>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMovie>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

#include "app/ImageLists.h"
#include "app/KioskProgram.h"
#include "app/NavigationPanel.h"
#include "app/ShutdownPanel.h"
#include "app/WheelchairBar.h"
#include "browser/KioskProfile.h"
#include "browser/TSafeWebBrowser.h"
#include "core/app/CommandLine.h"
#include "core/app/ProgramState.h"
#include "core/app/QuitToken.h"
#include "core/config/ConfigFiles.h"
#include "core/config/IConfigReport.h"
#include "core/config/Settings.h"
#include "core/config/SettingsLoader.h"
#include "core/config/UrlListFiles.h"
#include "core/documents/DownloadRules.h"
#include "core/lockdown/InputActivity.h"
#include "core/lockdown/KeyTable.h"
#include "core/support/Clock.h"
#include "core/support/FileHelpers.h"
#include "core/support/Log.h"
#include "keyboard/KeyboardPanel.h"
#include "keyboard/TouchKeyboard.h"
#include "platform/DesktopControl.h"
#include "platform/InputHooks.h"
#include "platform/PowerActions.h"
#include "platform/SystemInfo.h"
#include "widgets/PictureButton.h"

namespace plintor {
namespace {

// Design sizes at 96 pixels per inch.
constexpr int FontPixels = 11;
constexpr int ProgressPanelSize = 97;
constexpr int ProgressImageOffset = 16;
constexpr int ProgressImageSize = 64;
constexpr int ShutdownPanelIdleMs = 15000;

QColor ToQColor(TColor color) {
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

TColor ToTColor(const QColor& color) {
    return color.red() | (color.green() << 8) | (color.blue() << 16);
}

QString SizeText(const QSize& size) {
    return QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
}

}  // namespace

TFPlintor::TFPlintor(QWebEngineProfile* profile, IDesktopControl* desktop,
                     IKeyboardSystem* keyboard)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint),
      FMetrics(*QGuiApplication::primaryScreen()),
      FProfile(profile),
      FDesktop(desktop),
      FKeyboard(keyboard) {
    LogStart();
    setWindowTitle(QApplication::applicationName() + ' ' + QString::fromStdString(ProgramVersion));
    QFont windowFont = font();
    windowFont.setPixelSize(FMetrics.Scaled(FontPixels));
    setFont(windowFont);
    BuildActions();
    BuildControls();
    if (SafeWebBrowserMode) {
        EnterSafeWebBrowserMode();
    } else {
        LoadConfiguration();
    }
    PNavigation->LayoutNavButtons(
        NavButtons,
        ScaledImageList(PIL(), PixelsPerInch()).Image(ImageHome, FMetrics.DevicePixelRatio()));
    AllowNavButtonAddresses(FWebBrowser->Lists(), NavButtons);
    PKeyboard->BuildLanguageButtons(TouchButtonVisible(), Settings.TouchKeyboardSize);
    PProgress->findChild<QLabel*>()->movie()->start();

    TimerShutdown.setSingleShot(true);
    TimerShutdown.setInterval(ShutdownPanelIdleMs);
    connect(&TimerShutdown, &QTimer::timeout, this, &TFPlintor::TimerShutdownTimer);
    connect(&Timer1, &QTimer::timeout, this, [this] { FUnattended.Timer1Timer(); });
    connect(&Timer2, &QTimer::timeout, this, [this] { FUnattended.Timer2Timer(); });
    Timer1.start(TUnattendedOperation::Timer1IntervalMs);
    Timer2.start(TUnattendedOperation::Timer2IntervalMs);
    connect(qApp, &QGuiApplication::applicationStateChanged, this, &TFPlintor::AppEventsDeactivate);
    qApp->installEventFilter(this);
}

TFPlintor::~TFPlintor() {
    qApp->removeEventFilter(this);
}

void TFPlintor::LogStart() {
    LogEntry("Start, Plintor " + ProgramVersion + ", IE " +
             std::string(qWebEngineChromiumVersion()));
    const QScreen* screen = QGuiApplication::primaryScreen();
    const qreal ratio = screen->devicePixelRatio();
    LogEntry(("Monitor: " + SizeText(screen->geometry().size() * ratio) +
              "\r\nDesktop: " + SizeText(screen->virtualGeometry().size() * ratio))
                 .toStdString());
}

QAction* TFPlintor::NewAction(const QString& caption, const QPixmap& glyph,
                              void (TFPlintor::*handler)()) {
    auto* action = new QAction(QIcon(glyph), caption, this);
    connect(action, &QAction::triggered, this, handler);
    return action;
}

void TFPlintor::BuildActions() {
    const qreal ratio = FMetrics.DevicePixelRatio();
    const TImageList& images = ScaledImageList(PIL(), PixelsPerInch());
    ABack = NewAction({}, images.Image(ImageBack, ratio), &TFPlintor::ABackExecute);
    AForward = NewAction({}, images.Image(ImageForward, ratio), &TFPlintor::AForwardExecute);
    ABack->setEnabled(false);
    AForward->setEnabled(false);
    AShutDown = NewAction(QStringLiteral("Shut down"), images.Image(ImageShutDown, ratio),
                          &TFPlintor::AShutDownExecute);
    ARestart = NewAction(QStringLiteral("Restart"), images.Image(ImageRestart, ratio),
                         &TFPlintor::ARestartExecute);
    ALogOff = NewAction(QStringLiteral("Log off"), images.Image(ImageLogOff, ratio),
                        &TFPlintor::ALogOffExecute);
    AExit =
        NewAction(QStringLiteral("Exit"), images.Image(ImageExit, ratio), &TFPlintor::AExitExecute);
    AWheelchair = NewAction({}, ScaledImageList(PILW(), PixelsPerInch()).Image(0, ratio),
                            &TFPlintor::AWheelchairExecute);
    ATouch = NewAction({}, ScaledImageList(PILT(), PixelsPerInch()).Image(0, ratio),
                       &TFPlintor::ATouchExecute);
}

void TFPlintor::BuildControls() {
    PWheelchairTop = new QWidget(this);
    PWheelchairTop->setObjectName(QStringLiteral("PWheelchairTop"));
    PWheelchairTop->setFixedHeight(0);
    PWheelchairTop->setAutoFillBackground(true);
    QPalette black = PWheelchairTop->palette();
    black.setColor(QPalette::Window, Qt::black);
    PWheelchairTop->setPalette(black);

    PNavigation = new TNavigationPanel(FMetrics, ABack, AForward, ATouch, this);
    connect(PNavigation, &TNavigationPanel::urlButtonClicked, this, &TFPlintor::PSBButtOnClick);

    auto* client = new QWidget(this);
    auto* clientLayout = new QGridLayout(client);
    clientLayout->setContentsMargins(0, 0, 0, 0);
    FWebBrowser = new TSafeWebBrowser(FProfile, ABack, AForward, client);
    PShutdown1 = new TShutdownPanel(FMetrics, {AShutDown, ARestart, ALogOff, AExit}, client);
    PShutdown1->hide();
    clientLayout->addWidget(FWebBrowser, 0, 0);
    clientLayout->addWidget(PShutdown1, 0, 0);

    PKeyboard = new TKeyboardPanel(FMetrics, FKeyboard, this);

    PWheelchair = new TWheelchairBar(FMetrics, AWheelchair, this);
    PProgress = BuildProgressPanel();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (QWidget* control :
         {PWheelchairTop, static_cast<QWidget*>(PNavigation), client,
          static_cast<QWidget*>(PKeyboard), static_cast<QWidget*>(PWheelchair)}) {
        layout->addWidget(control);
    }
    SetPanelColor(ToTColor(QApplication::palette().color(QPalette::Button)));
}

QWidget* TFPlintor::BuildProgressPanel() {
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("PProgress"));
    panel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    panel->setStyleSheet(QStringLiteral("#PProgress { background: white; }"));
    panel->resize(FMetrics.Scaled(ProgressPanelSize), FMetrics.Scaled(ProgressPanelSize));
    auto* image = new QLabel(panel);
    image->setGeometry(FMetrics.Scaled(ProgressImageOffset), FMetrics.Scaled(ProgressImageOffset),
                       FMetrics.Scaled(ProgressImageSize), FMetrics.Scaled(ProgressImageSize));
    image->setScaledContents(true);
    image->setMovie(new QMovie(QStringLiteral(":/progress.gif"), {}, image));
    panel->hide();
    return panel;
}

void TFPlintor::LoadConfiguration() {
    const std::string baseName = ProgramBaseName(SystemInfo().ProgramPath());
    TLogConfigReport report;
    for (const std::string& file : CopyDefaultFiles(baseName)) {
        LogEntry("Cannot copy " + DefaultCopyName(file) + " to " + file +
                 "; its default copy is read instead");
    }
    const TEffectiveFiles files = EffectiveFiles(baseName);
    LoadSettings(files.Config, *this, report);
    LoadURLLists(FWebBrowser->Lists(), files.Whitelist, files.Blacklist, report);
    FWebBrowser->Lists().SetOwnDocuments(ShownDocuments(TempFiles));
    if (Settings.DenyAllRequests) {
        FWebBrowser->DenyAllRequests();
    }
}

void TFPlintor::EnterSafeWebBrowserMode() {
    const TArguments arguments = [] {
        TArguments list;
        for (const QString& argument : QApplication::arguments()) {
            list.push_back(argument.toStdString());
        }
        return list;
    }();
    const int homeButtonWidth =
        qRound(PNavigation->HomeButton()->width() * FMetrics.DevicePixelRatio());
    NavButtons = {{"", homeButtonWidth, PlainParam(arguments, 1)}};
    Settings.AutoReturn = 2147483647;
    FWebBrowser->WhitelistAllowAll();
    PNavigation->TouchButton()->hide();
}

// --- Navigation panel -------------------------------------------------------------------

void TFPlintor::PSBButtOnClick(int tag) {
    HideShutdownPanel();
    FWebBrowser->Navigate(
        QString::fromStdString(NavButtons.at(static_cast<std::size_t>(tag) - 1).URL));
}

void TFPlintor::GoHome() {
    PSBButtOnClick(1);
}

void TFPlintor::ABackExecute() {
    HideShutdownPanel();
    FWebBrowser->GoBack();
}

void TFPlintor::AForwardExecute() {
    HideShutdownPanel();
    FWebBrowser->GoForward();
}

void TFPlintor::AWheelchairExecute() {
    HideShutdownPanel();
    if (PWheelchairTop->height() != 0) {
        PWheelchairTop->setFixedHeight(0);
        return;
    }
    PWheelchairTop->setFixedHeight(height() * Settings.Wheelchair / 100);
}

void TFPlintor::LeaveWheelchairMode() {
    if (PWheelchairTop->height() != 0) {
        AWheelchair->trigger();
    }
}

void TFPlintor::ATouchExecute() {
    PKeyboard->setVisible(PKeyboard->isHidden());
    UpdateTouchKeyboard();
    PKeyboard->TouchKeyboard()->setVisible(!PKeyboard->isHidden());
    PShutdown1->CenterShutdownBox();
}

// --- Shutdown panel -----------------------------------------------------------------------

bool TFPlintor::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
            RecordInputActivity(CurrentClock().Now());
            return ApplyKeyLock(static_cast<const QKeyEvent&>(*event)) ||
                   FormShortCut(static_cast<const QKeyEvent&>(*event));
        case QEvent::KeyRelease:
            return ApplyKeyLock(static_cast<const QKeyEvent&>(*event));
        case QEvent::MouseButtonPress:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::TouchBegin:
            // The display-wide input hooks see these too; this keeps the idle return honest
            // where they could not be installed.
            RecordInputActivity(CurrentClock().Now());
            break;
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

// The same table the display-wide lock applies, for keys that reach the program anyway.
bool TFPlintor::ApplyKeyLock(const QKeyEvent& key) {
    const Qt::KeyboardModifiers modifiers = key.modifiers();
    return SwallowKey(VirtualKeyOfNativeKey(key.nativeVirtualKey()),
                      modifiers.testFlag(Qt::AltModifier), modifiers.testFlag(Qt::ControlModifier));
}

bool TFPlintor::FormShortCut(const QKeyEvent& key) {
    if (TimerShutdown.isActive()) {
        TimerShutdown.start();
    }
    const Qt::KeyboardModifiers modifiers = key.modifiers();
    if (modifiers.testFlag(Qt::AltModifier)) {
        return false;
    }
    if (key.key() == Qt::Key_Escape) {
        HideShutdownPanel();
        return true;
    }
    if (key.key() == Qt::Key_F5) {
        FWebBrowser->Refresh();
        return true;
    }
    if (key.key() == Qt::Key_F4 && modifiers.testFlag(Qt::ControlModifier) &&
        modifiers.testFlag(Qt::ShiftModifier)) {
        ToggleShutdownPanel();
        return true;
    }
    return false;
}

void TFPlintor::ToggleShutdownPanel() {
    LeaveWheelchairMode();
    if (PShutdown1->isHidden()) {
        FWebBrowser->hide();
        PShutdown1->Open(windowTitle());
    } else {
        PShutdown1->hide();
        FWebBrowser->show();
    }
    TimerShutdown.start();
}

void TFPlintor::HideShutdownPanel() {
    if (!PShutdown1->isHidden()) {
        PShutdown1->hide();
        FWebBrowser->show();
    }
}

void TFPlintor::AShutDownExecute() {
    if (PShutdown1->CheckPassword(Settings.Password)) {
        PowerActions().WindowsShutDown(true);
    }
}

void TFPlintor::ARestartExecute() {
    if (PShutdown1->CheckPassword(Settings.Password)) {
        PowerActions().WindowsRestart(true);
    }
}

void TFPlintor::ALogOffExecute() {
    if (PShutdown1->CheckPassword(Settings.Password)) {
        PowerActions().WindowsLogOff(true);
    }
}

void TFPlintor::AExitExecute() {
    if (PShutdown1->CheckPassword(Settings.Password)) {
        plintor::QuitApplication();
    }
}

void TFPlintor::TimerShutdownTimer() {
    HideShutdownPanel();
    TimerShutdown.stop();
}

void TFPlintor::paintEvent(QPaintEvent*) {
    // The window itself is black; only a right margin lets it show.
    QPainter(this).fillRect(rect(), Qt::black);
}

void TFPlintor::closeEvent(QCloseEvent* event) {
    event->ignore();
}

// --- Window life and messages ----------------------------------------------------------------

void TFPlintor::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    setGeometry(QGuiApplication::primaryScreen()->geometry());
    QMetaObject::invokeMethod(this, &TFPlintor::WmStartHome, Qt::QueuedConnection);
}

void TFPlintor::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    UpdateTouchKeyboard();
    if (ScreensaverWB != nullptr) {
        ScreensaverWB->setGeometry(0, 0, width(), height());
    }
}

void TFPlintor::DisableTimers() {
    Timer1.stop();
    Timer2.stop();
}

void TFPlintor::HandleMessage(const TKioskMessage& message) {
    switch (message.Msg) {
        case WM_COPYDATA:
            FWebBrowser->Navigate(QString::fromStdString(message.Text));
            break;
        case WM_REMOTEQUIT:
            WmRemoteQuit(message.WParam, message.LParam);
            break;
        case WM_STARTHOME:
            WmStartHome();
            break;
        case WM_HIDESCREENSAVER:
            WmHideScreensaver();
            break;
        default:
            break;
    }
}

void TFPlintor::WmStartHome() {
    if (!HomePending) {
        return;
    }
    GoHome();
    HomePending = false;
    FUnattended.Timer1Timer();
    FUnattended.Timer2Timer();
}

void TFPlintor::WmHideScreensaver() {
    if (ScreensaverWB != nullptr && !ScreensaverWB->isHidden()) {
        ScreensaverWB->hide();
        ScreensaverShown = false;
    }
}

void TFPlintor::WmRemoteQuit(std::int32_t wParam, std::int32_t lParam) {
    const QDate today = QDate::currentDate();
    if (CheckQuitToken(wParam, lParam, today.year(), today.month(), today.day())) {
        plintor::QuitApplication();
    }
}

// --- Unattended operation ----------------------------------------------------------------

bool TFPlintor::KeyboardShown() const {
    return !PKeyboard->isHidden();
}

void TFPlintor::ToggleKeyboard() {
    ATouchExecute();
}

void TFPlintor::ShowScreensaver(const std::string& address) {
    if (ScreensaverWB == nullptr) {
        CreateScreensaver();
    }
    ScreensaverWB->show();
    ScreensaverWB->Navigate(QString::fromStdString(address));
    ScreensaverWB->raise();
}

void TFPlintor::CreateScreensaver() {
    ScreensaverWindow = [this](const TKioskMessage& message) {
        QMetaObject::invokeMethod(
            this, [this, message] { HandleMessage(message); }, Qt::QueuedConnection);
    };
    ScreensaverWB = new TSafeWebBrowser(CreateKioskProfile(this), nullptr, nullptr, this);
    ScreensaverWB->WhitelistAllowAll();
    ScreensaverWB->hide();
    ScreensaverWB->setEnabled(false);  // input goes to nobody; the first one hides the page
    ScreensaverWB->setGeometry(0, 0, width(), height());
}

void TFPlintor::UpdateTouchKeyboard() {
    PKeyboard->UpdateTouchKeyboard();
}

void TFPlintor::GuardScreen() {
    if (FDesktop == nullptr || !isVisible()) {
        return;
    }
    try {
        const unsigned long window = winId();
        if (FDesktop->IsScreensaverRunning()) {
            FDesktop->SetTopmost(window, false);
            FDesktop->LowerWindow(window);
            return;
        }
        // The blocked hint and the page's own pop-ups (a list box that is open) must stay above.
        if (!FWebBrowser->GetBalloonHint()->ShowingHint() &&
            QApplication::activePopupWidget() == nullptr) {
            FDesktop->SetTopmost(window, true);
        }
        if (FDesktop->ForeignWindowInFront()) {
            FDesktop->BringWindowToFront(window);
        }
    } catch (const std::exception& error) {
        LogEntry("Screen blocking error");
        LogException(error);
    }
}

bool TFPlintor::WindowsRestart() {
    return PowerActions().WindowsRestart(true);
}

void TFPlintor::QuitApplication() {
    plintor::QuitApplication();
}

void TFPlintor::CloseForeignWindows() {
    if (FDesktop != nullptr) {
        FDesktop->CloseForeignWindows();
    }
}

bool TFPlintor::StopShell() {
    return FDesktop != nullptr && FDesktop->StopShell();
}

void TFPlintor::AppEventsDeactivate(Qt::ApplicationState state) {
    if (state != Qt::ApplicationActive) {
        FUnattended.Timer1Timer();
    }
}

// --- Settings target -----------------------------------------------------------------------

int TFPlintor::PixelsPerInch() const {
    return FMetrics.PixelsPerInch();
}

bool TFPlintor::NavigationPanelVisible() const {
    return !PNavigation->isHidden();
}

void TFPlintor::SetNavigationPanelVisible(bool visible) {
    PNavigation->setVisible(visible);
}

bool TFPlintor::TouchButtonVisible() const {
    return !PNavigation->TouchButton()->isHidden();
}

void TFPlintor::SetTouchButtonVisible(bool visible) {
    PNavigation->TouchButton()->setVisible(visible);
}

void TFPlintor::SetKeyboardPanelOnTop() {
    auto* layout = static_cast<QVBoxLayout*>(this->layout());
    layout->removeWidget(PKeyboard);
    layout->insertWidget(layout->indexOf(PNavigation) + 1, PKeyboard);
}

int TFPlintor::KeyboardPanelHeight() const {
    return PKeyboard->height();
}

void TFPlintor::SetKeyboardPanelHeight(int height) {
    PKeyboard->setFixedHeight(height);
}

int TFPlintor::TouchKeyboardTop() const {
    return PKeyboard->TouchKeyboardTop();
}

void TFPlintor::SetTouchKeyboardTop(int top) {
    PKeyboard->SetTouchKeyboardTop(top);
}

void TFPlintor::SetTouchKeyboardLayout(const std::string& layoutName) {
    PKeyboard->TouchKeyboard()->SetLayoutName(QString::fromStdString(layoutName));
}

void TFPlintor::SetWheelchairBarVisible(bool visible) {
    PWheelchair->setVisible(visible);
}

void TFPlintor::SetBlockedHint(const std::string& message) {
    FWebBrowser->SetBalloonHint(
        QString::fromStdString(message),
        ScaledImageList(PILC(), PixelsPerInch()).Image(0, FMetrics.DevicePixelRatio()));
}

void TFPlintor::UseProgressIndicator() {
    FWebBrowser->SetProgressIndicator(PProgress);
}

int TFPlintor::MarginRight() const {
    return qRound(layout()->contentsMargins().right() * FMetrics.DevicePixelRatio());
}

void TFPlintor::SetMarginRight(int pixels) {
    QMargins margins = layout()->contentsMargins();
    margins.setRight(FMetrics.FromScreenPixels(pixels));
    layout()->setContentsMargins(margins);
}

TColor TFPlintor::NavigationPanelColor() const {
    return ToTColor(PNavigation->palette().color(QPalette::Window));
}

void TFPlintor::SetPanelColor(TColor color) {
    for (QWidget* panel : {static_cast<QWidget*>(PNavigation), static_cast<QWidget*>(PKeyboard),
                           static_cast<QWidget*>(PWheelchair)}) {
        QPalette colored = panel->palette();
        colored.setColor(QPalette::Window, ToQColor(color));
        panel->setPalette(colored);
    }
}

}  // namespace plintor
