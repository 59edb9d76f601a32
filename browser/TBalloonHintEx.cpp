#include "browser/TBalloonHintEx.h"

#include <QCursor>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>

namespace plintor {

TBalloonHintEx::TBalloonHintEx()
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      FImage(new QLabel(this)),
      FText(new QLabel(this)) {
    setObjectName(QStringLiteral("BlockedHint"));
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet(
        QStringLiteral("#BlockedHint { background: #FFFFE1; border: 1px solid #767676; }"
                       "#BlockedHint QLabel { color: #1E1E1E; background: transparent; }"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 6, 10, 6);
    layout->setSpacing(8);
    layout->addWidget(FImage, 0, Qt::AlignTop);
    layout->addWidget(FText);
    FImage->hide();
    FText->hide();
    FHideTimer.setSingleShot(true);
    FHideTimer.setInterval(HideAfterMs);
    connect(&FHideTimer, &QTimer::timeout, this, &QWidget::hide);
}

void TBalloonHintEx::SetContent(const QString& message, const QPixmap& image) {
    if (!message.isEmpty()) {
        FText->setText(message);
        FText->show();
    }
    if (!image.isNull()) {
        FImage->setPixmap(image);
        FImage->show();
    }
}

void TBalloonHintEx::ShowAtCursor() {
    adjustSize();
    PlaceAt(QCursor::pos());
    show();
    raise();
    FHideTimer.start();
}

void TBalloonHintEx::PlaceAt(const QPoint& cursor) {
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
