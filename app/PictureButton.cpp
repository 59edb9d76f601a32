#include "PictureButton.h"

#include <QActionEvent>

namespace plintor {

TPictureButton::TPictureButton(TKind kind, QWidget* parent) : QToolButton(parent) {
    setAutoRaise(kind == SpeedButton);
    setFocusPolicy(Qt::NoFocus);  // the page keeps the keyboard focus
    setCursor(Qt::PointingHandCursor);
    UpdateStyle();
}

void TPictureButton::SetAction(QAction* action) {
    setDefaultAction(action);
    if (!action->icon().isNull()) {
        setIconSize(action->icon().availableSizes().value(0, iconSize()));
    }
    UpdateStyle();
}

void TPictureButton::SetGlyph(const QPixmap& glyph) {
    setIcon(QIcon(glyph));
    if (!glyph.isNull()) {
        setIconSize(glyph.deviceIndependentSize().toSize());
    }
    UpdateStyle();
}

void TPictureButton::SetCaption(const QString& caption) {
    setText(caption);
    UpdateStyle();
}

void TPictureButton::actionEvent(QActionEvent* event) {
    QToolButton::actionEvent(event);
    UpdateStyle();
}

void TPictureButton::UpdateStyle() {
    const bool hasGlyph = !icon().isNull();
    const bool hasCaption = !text().isEmpty();
    setToolButtonStyle(hasGlyph && hasCaption ? Qt::ToolButtonTextUnderIcon
                       : hasGlyph             ? Qt::ToolButtonIconOnly
                                              : Qt::ToolButtonTextOnly);
}

}  // namespace plintor
