#include "browser/BlockedHint.h"

#include <QCursor>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>

namespace plintor {

BlockedHint::BlockedHint()
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_image(new QLabel(this)),
      m_text(new QLabel(this)) {
    setObjectName(QStringLiteral("BlockedHint"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(
        QStringLiteral("#BlockedHint { background: #FFFFE1; border: 1px solid #767676; }"
                       "#BlockedHint QLabel { color: #1E1E1E; background: transparent; }"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 6, 10, 6);
    layout->setSpacing(8);
    layout->addWidget(m_image, 0, Qt::AlignTop);
    layout->addWidget(m_text);
    m_image->hide();
    m_text->hide();
    m_hideTimer.setSingleShot(true);
    m_hideTimer.setInterval(HideAfterMs);
    connect(&m_hideTimer, &QTimer::timeout, this, &QWidget::hide);
}

void BlockedHint::setContent(const QString& message, const QPixmap& image) {
    if (!message.isEmpty()) {
        m_text->setText(message);
        m_text->show();
    }
    if (!image.isNull()) {
        m_image->setPixmap(image);
        m_image->show();
    }
}

void BlockedHint::showAtCursor() {
    adjustSize();
    placeAt(QCursor::pos());
    show();
    raise();
    m_hideTimer.start();
}

void BlockedHint::placeAt(const QPoint& cursor) {
    const QScreen* screen = QGuiApplication::screenAt(cursor);
    const QRect area = (screen != nullptr ? screen : QGuiApplication::primaryScreen())->geometry();
    int left = cursor.x();
    int top = cursor.y() - height();
    if (left + width() > area.right() + 1) {
        left = area.right() + 1 - width();
    }
    left = std::max(left, area.left());
    if (top + height() > area.bottom() + 1) {
        top = area.bottom() + 1 - height();
    }
    top = std::max(top, area.top());
    move(left, top);
}

}  // namespace plintor
