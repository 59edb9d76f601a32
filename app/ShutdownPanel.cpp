#include "app/ShutdownPanel.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>

#include "widgets/PictureButton.h"
#include "widgets/ScreenMetrics.h"

namespace plintor {
namespace {

// Design geometry at 96 pixels per inch.
constexpr int BoxWidth = 409;
constexpr int BoxHeight = 193;
constexpr QRect HeadingRect(24, 24, 361, 21);
constexpr QPoint PasswordLabelAt(88, 58);
constexpr QRect PasswordRect(152, 56, 169, 21);
constexpr int ActionLefts[] = {24, 120, 216, 312};
constexpr int ActionTop = 96;
constexpr int ActionSize = 73;
constexpr int HeadingFontPixels = 13;

const char* const InvalidPassword = "Invalid password";

QRect Scaled(const TScreenMetrics& metrics, const QRect& rect) {
    return {metrics.Scaled(rect.x()), metrics.Scaled(rect.y()), metrics.Scaled(rect.width()),
            metrics.Scaled(rect.height())};
}

}  // namespace

TShutdownPanel::TShutdownPanel(const TScreenMetrics& metrics, const std::array<QPixmap, 4>& images,
                               QWidget* parent)
    : QWidget(parent),
      FBox(new QFrame(this)),
      FHeading(new QLabel(FBox)),
      FPassword(new QLineEdit(FBox)) {
    setObjectName(QStringLiteral("PShutdown1"));
    setAutoFillBackground(true);
    FBox->setObjectName(QStringLiteral("PShutdown2"));
    FBox->setFrameStyle(QFrame::Panel | QFrame::Raised);
    FBox->setLineWidth(2);
    FBox->setAutoFillBackground(true);
    FBox->resize(metrics.Scaled(BoxWidth), metrics.Scaled(BoxHeight));

    FHeading->setGeometry(Scaled(metrics, HeadingRect));
    FHeading->setAlignment(Qt::AlignCenter);
    QFont headingFont = FHeading->font();
    headingFont.setBold(true);
    headingFont.setPixelSize(metrics.Scaled(HeadingFontPixels));
    FHeading->setFont(headingFont);

    auto* passwordLabel = new QLabel(QStringLiteral("Password:"), FBox);
    passwordLabel->move(metrics.Scaled(PasswordLabelAt.x()), metrics.Scaled(PasswordLabelAt.y()));
    FPassword->setGeometry(Scaled(metrics, PasswordRect));
    FPassword->setEchoMode(QLineEdit::Password);

    const QString captions[] = {QStringLiteral("Shut down"), QStringLiteral("Restart"),
                                QStringLiteral("Log off"), QStringLiteral("Exit")};
    for (int i = 0; i < 4; ++i) {
        auto* action = new QAction(QIcon(images[static_cast<std::size_t>(i)]), captions[i], this);
        connect(action, &QAction::triggered, this, [this, i] { Choose(static_cast<TAction>(i)); });
        auto* button = new TPictureButton(TPictureButton::BitButton, FBox);
        button->SetAction(action);
        button->setGeometry(metrics.Scaled(ActionLefts[i]), metrics.Scaled(ActionTop),
                            metrics.Scaled(ActionSize), metrics.Scaled(ActionSize));
    }
    FIdle.setSingleShot(true);
    FIdle.setInterval(IdleCloseMs);
    connect(&FIdle, &QTimer::timeout, this, &TShutdownPanel::Close);
    hide();
}

void TShutdownPanel::Open(const QString& heading) {
    FHeading->setText(heading);
    show();
    CenterShutdownBox();
    FPassword->clear();
    FPassword->setFocus();
    FIdle.start();
}

void TShutdownPanel::Close() {
    FIdle.stop();
    if (IsOpen()) {
        hide();
        emit closed();
    }
}

void TShutdownPanel::KeyPressed() {
    if (FIdle.isActive()) {
        FIdle.start();
    }
}

void TShutdownPanel::Choose(TAction action) {
    if (FPassword->text().toStdString() == FExpected) {
        emit confirmed(action);
        return;
    }
    FHeading->setText(QStringLiteral("*** %1 ***").arg(QLatin1String(InvalidPassword)));
    FPassword->clear();
    FPassword->setFocus();
}

void TShutdownPanel::CenterShutdownBox() {
    FBox->move((width() - FBox->width()) / 2, (height() - FBox->height()) / 2);
}

void TShutdownPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    CenterShutdownBox();
}

}  // namespace plintor
