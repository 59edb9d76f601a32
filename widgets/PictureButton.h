#pragma once

#include <QToolButton>

namespace plintor {

// A button that shows its glyph above its caption, or only the one it has. Speed buttons are
// flat until touched; bit buttons are raised.
class TPictureButton final : public QToolButton {
    Q_OBJECT
public:
    enum TKind { SpeedButton, BitButton };

    TPictureButton(TKind kind, QWidget* parent);

    // Takes glyph, caption and enabled state from `action`.
    void SetAction(QAction* action);
    void SetGlyph(const QPixmap& glyph);
    // A glyph beside the caption rather than above it.
    void SetGlyphBesideCaption(bool beside);
    // A caption wider than the button ends in an ellipsis rather than being cut.
    void SetCaption(const QString& caption);

protected:
    void actionEvent(QActionEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void UpdateStyle();
    void ShowCaption();

    QString FCaption;
    bool FGlyphBeside = false;
};

}  // namespace plintor
