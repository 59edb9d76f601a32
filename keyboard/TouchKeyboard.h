#pragma once

#include <QHash>
#include <QTimer>
#include <QWidget>

#include "core/keyboard/VirtualKeyLayout.h"

namespace plintor {

class IKeyboardSystem;

// The on-screen keyboard: draws the keys of a layout description with the captions of the
// active input language and types by sending real key strokes, so a page receives exactly what
// a physical keyboard of that language sends. Shift and AltGr hold for the next key (tap them
// twice to release), Caps Lock locks as on a physical keyboard; a held key repeats.
class TTouchKeyboard final : public QWidget {
    Q_OBJECT
public:
    TTouchKeyboard(IKeyboardSystem* keyboard, QWidget* parent);

    // The layout type the keyboard asks for ("Standard", "Standard2", "NumPad").
    const QString& LayoutName() const { return FLayoutName; }
    void SetLayoutName(const QString& name) { FLayoutName = name; }
    // The description shown; none shows nothing.
    void SetDescription(const TVirtualKeyLayout* description);
    // Reads the captions again (the input language changed).
    void RefreshKeys();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    struct TPlacedKey {
        const TVirtualKey* Key;
        QRectF Area;
    };

    QList<TPlacedKey> PlacedKeys() const;
    const TVirtualKey* KeyAt(const QPointF& point) const;
    QString Caption(const TVirtualKey& key) const;
    bool IsLatched(const TVirtualKey& key) const;
    void Press(const TVirtualKey& key);
    void Repeat();

    IKeyboardSystem* FKeyboard;
    QString FLayoutName = QStringLiteral("Standard");
    const TVirtualKeyLayout* FDescription = nullptr;
    bool FShift = false;
    bool FAltGr = false;
    bool FCapsLock = false;
    const TVirtualKey* FPressed = nullptr;
    QHash<QString, QString> FCaptions;  // "<shift><altgr>KEY" -> what the key types
    QTimer FRepeat;
};

}  // namespace plintor
