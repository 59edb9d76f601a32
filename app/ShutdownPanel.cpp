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

QRect scaled(const ScreenMetrics& metrics, const QRect& rect) {
    return {metrics.scaled(rect.x()), metrics.scaled(rect.y()), metrics.scaled(rect.width()),
            metrics.scaled(rect.height())};
}

}  // namespace

ShutdownPanel::ShutdownPanel(const ScreenMetrics& metrics, const std::array<QPixmap, 4>& images,
                             QWidget* parent)
    : QWidget(parent),
      m_box(new QFrame(this)),
      m_heading(new QLabel(m_box)),
      m_password(new QLineEdit(m_box)) {
    setObjectName(QStringLiteral("PShutdown1"));
    setAutoFillBackground(true);
    m_box->setObjectName(QStringLiteral("PShutdown2"));
    m_box->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_box->setLineWidth(2);
    m_box->setAutoFillBackground(true);
    m_box->resize(metrics.scaled(BoxWidth), metrics.scaled(BoxHeight));

    m_heading->setGeometry(scaled(metrics, HeadingRect));
    m_heading->setAlignment(Qt::AlignCenter);
    QFont headingFont = m_heading->font();
    headingFont.setBold(true);
    headingFont.setPixelSize(metrics.scaled(HeadingFontPixels));
    m_heading->setFont(headingFont);

    auto* passwordLabel = new QLabel(QStringLiteral("Password:"), m_box);
    passwordLabel->move(metrics.scaled(PasswordLabelAt.x()), metrics.scaled(PasswordLabelAt.y()));
    m_password->setGeometry(scaled(metrics, PasswordRect));
    m_password->setEchoMode(QLineEdit::Password);

    const QString captions[] = {QStringLiteral("Shut down"), QStringLiteral("Restart"),
                                QStringLiteral("Log off"), QStringLiteral("Exit")};
    for (int i = 0; i < 4; ++i) {
        auto* action = new QAction(QIcon(images[static_cast<std::size_t>(i)]), captions[i], this);
        connect(action, &QAction::triggered, this, [this, i] { choose(static_cast<Action>(i)); });
        auto* button = new PictureButton(PictureButton::BitButton, m_box);
        button->setAction(action);
        button->setGeometry(metrics.scaled(ActionLefts[i]), metrics.scaled(ActionTop),
                            metrics.scaled(ActionSize), metrics.scaled(ActionSize));
    }
    m_idle.setSingleShot(true);
    m_idle.setInterval(IdleCloseMs);
    connect(&m_idle, &QTimer::timeout, this, &ShutdownPanel::closePanel);
    hide();
}

void ShutdownPanel::openPanel(const QString& heading) {
    m_heading->setText(heading);
    show();
    centerShutdownBox();
    m_password->clear();
    m_password->setFocus();
    m_idle.start();
}

void ShutdownPanel::closePanel() {
    m_idle.stop();
    if (isOpen()) {
        hide();
        emit closed();
    }
}

void ShutdownPanel::keyPressed() {
    if (m_idle.isActive()) {
        m_idle.start();
    }
}

void ShutdownPanel::choose(Action action) {
    if (m_password->text().toStdString() == m_expected) {
        emit confirmed(action);
        return;
    }
    m_heading->setText(QStringLiteral("*** %1 ***").arg(QLatin1String(InvalidPassword)));
    m_password->clear();
    m_password->setFocus();
}

void ShutdownPanel::centerShutdownBox() {
    m_box->move((width() - m_box->width()) / 2, (height() - m_box->height()) / 2);
}

void ShutdownPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    centerShutdownBox();
}

}  // namespace plintor
