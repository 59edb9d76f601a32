#include "app/ReturnWarning.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "widgets/ScreenMetrics.h"

namespace plintor {
namespace {

// At 96 pixels per inch; a finger needs about a centimetre and a half.
constexpr int BoxWidth = 560;
constexpr int FontPixels = 28;
constexpr int ButtonHeight = 64;
constexpr int Margin = 24;

}  // namespace

ReturnWarning::ReturnWarning(const ScreenMetrics& metrics, QWidget* parent)
    : QFrame(parent), m_message(new QLabel(this)) {
    setObjectName(QStringLiteral("ReturnWarning"));
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(2);
    setAutoFillBackground(true);
    QFont large = font();
    large.setPixelSize(metrics.scaled(FontPixels));
    setFont(large);

    m_message->setWordWrap(true);
    m_message->setAlignment(Qt::AlignCenter);
    auto* button = new QPushButton(QStringLiteral("Continue"), this);
    button->setMinimumHeight(metrics.scaled(ButtonHeight));
    button->setFocusPolicy(Qt::NoFocus);  // the page keeps the keyboard focus
    connect(button, &QPushButton::clicked, this, &ReturnWarning::continued);

    auto* layout = new QVBoxLayout(this);
    const int margin = metrics.scaled(Margin);
    layout->setContentsMargins(margin, margin, margin, margin);
    layout->setSpacing(margin);
    layout->addWidget(m_message);
    layout->addWidget(button);
    setFixedWidth(metrics.scaled(BoxWidth));

    m_tick.setInterval(1000);
    connect(&m_tick, &QTimer::timeout, this, &ReturnWarning::tick);
    hide();
}

void ReturnWarning::start(const QString& text, long long millisecondsLeft) {
    m_text = text;
    m_deadline.setRemainingTime(millisecondsLeft);
    show();
    raise();
    m_tick.start();
    tick();
    center();
}

void ReturnWarning::stop() {
    m_tick.stop();
    hide();
}

void ReturnWarning::center() {
    adjustSize();
    if (parentWidget() != nullptr) {
        move((parentWidget()->width() - width()) / 2, (parentWidget()->height() - height()) / 2);
    }
}

// The operator's text is no format string: "%d" is replaced, nothing else is read.
void ReturnWarning::tick() {
    const long long remaining = m_deadline.remainingTime();
    const long long seconds = (remaining + 999) / 1000;
    m_message->setText(QString(m_text).replace(QStringLiteral("%d"), QString::number(seconds)));
    if (remaining <= 0) {
        m_tick.stop();
        emit expired();
        return;
    }
    // The next tick when the count changes.
    m_tick.setInterval(static_cast<int>((remaining - 1) % 1000) + 1);
}

}  // namespace plintor
