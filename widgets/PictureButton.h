#pragma once

#include <QToolButton>

namespace plintor {

// A button that shows its glyph above its caption, or only the one it has. Speed buttons are
// flat until touched; bit buttons are raised.
class PictureButton final : public QToolButton {
    Q_OBJECT
public:
    enum Kind { SpeedButton, BitButton };

    PictureButton(Kind kind, QWidget* parent);

    // Takes glyph, caption and enabled state from `action`.
    void setAction(QAction* action);
    void setGlyph(const QPixmap& glyph);
    // A glyph beside the caption rather than above it.
    void setGlyphBesideCaption(bool beside);
    // A caption wider than the button ends in an ellipsis rather than being cut.
    void setCaption(const QString& caption);

protected:
    void actionEvent(QActionEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void updateStyle();
    void showCaption();

    QString m_caption;
    bool m_glyphBeside = false;
};

}  // namespace plintor
