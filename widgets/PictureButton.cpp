#include "widgets/PictureButton.h"

#include <QActionEvent>

namespace plintor {

PictureButton::PictureButton(Kind kind, QWidget* parent) : QToolButton(parent) {
    setAutoRaise(kind == SpeedButton);
    setFocusPolicy(Qt::NoFocus);  // the page keeps the keyboard focus
    setCursor(Qt::PointingHandCursor);
    updateStyle();
}

void PictureButton::setAction(QAction* action) {
    setDefaultAction(action);
    const QList<QSize> sizes = action->icon().availableSizes();
    if (!sizes.isEmpty()) {
        setIconSize(sizes.front() / devicePixelRatioF());
    }
    updateStyle();
}

void PictureButton::setGlyph(const QPixmap& glyph) {
    setIcon(QIcon(glyph));
    if (!glyph.isNull()) {
        setIconSize(glyph.deviceIndependentSize().toSize());
    }
    updateStyle();
}

void PictureButton::setGlyphBesideCaption(bool beside) {
    m_glyphBeside = beside;
    updateStyle();
}

void PictureButton::setCaption(const QString& caption) {
    m_caption = caption;
    showCaption();
    updateStyle();
}

void PictureButton::resizeEvent(QResizeEvent* event) {
    QToolButton::resizeEvent(event);
    if (!m_caption.isEmpty()) {
        showCaption();
    }
}

void PictureButton::showCaption() {
    const int room = width() - 2 * fontMetrics().averageCharWidth();
    setText(fontMetrics().elidedText(m_caption, Qt::ElideRight, std::max(room, 0)));
}

void PictureButton::actionEvent(QActionEvent* event) {
    QToolButton::actionEvent(event);
    updateStyle();
}

void PictureButton::updateStyle() {
    const bool hasGlyph = !icon().isNull();
    const bool hasCaption = !text().isEmpty();
    const Qt::ToolButtonStyle both =
        m_glyphBeside ? Qt::ToolButtonTextBesideIcon : Qt::ToolButtonTextUnderIcon;
    setToolButtonStyle(hasGlyph && hasCaption ? both
                       : hasGlyph             ? Qt::ToolButtonIconOnly
                                              : Qt::ToolButtonTextOnly);
}

}  // namespace plintor
