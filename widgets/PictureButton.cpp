#include "widgets/PictureButton.h"

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
    const QList<QSize> sizes = action->icon().availableSizes();
    if (!sizes.isEmpty()) {
        setIconSize(sizes.front() / devicePixelRatioF());
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

void TPictureButton::SetGlyphBesideCaption(bool beside) {
    FGlyphBeside = beside;
    UpdateStyle();
}

void TPictureButton::SetCaption(const QString& caption) {
    FCaption = caption;
    ShowCaption();
    UpdateStyle();
}

void TPictureButton::resizeEvent(QResizeEvent* event) {
    QToolButton::resizeEvent(event);
    if (!FCaption.isEmpty()) {
        ShowCaption();
    }
}

void TPictureButton::ShowCaption() {
    const int room = width() - 2 * fontMetrics().averageCharWidth();
    setText(fontMetrics().elidedText(FCaption, Qt::ElideRight, std::max(room, 0)));
}

void TPictureButton::actionEvent(QActionEvent* event) {
    QToolButton::actionEvent(event);
    UpdateStyle();
}

void TPictureButton::UpdateStyle() {
    const bool hasGlyph = !icon().isNull();
    const bool hasCaption = !text().isEmpty();
    const Qt::ToolButtonStyle both =
        FGlyphBeside ? Qt::ToolButtonTextBesideIcon : Qt::ToolButtonTextUnderIcon;
    setToolButtonStyle(hasGlyph && hasCaption ? both
                       : hasGlyph             ? Qt::ToolButtonIconOnly
                                              : Qt::ToolButtonTextOnly);
}

}  // namespace plintor
