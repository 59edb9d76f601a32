#pragma once

#include <QHash>
#include <QTimer>
#include <QWidget>

#include "core/keyboard/VirtualKeyLayout.h"

namespace plintor {

class KeyboardSystem;

// The on-screen keyboard: draws the keys of a layout description with the captions of the
// active input language and types by sending real key strokes, so a page receives exactly what
// a physical keyboard of that language sends. Shift and AltGr hold for the next key (tap them
// twice to release), Caps Lock locks as on a physical keyboard; a held key repeats.
class TouchKeyboard final : public QWidget {
    Q_OBJECT
public:
    TouchKeyboard(KeyboardSystem* keyboard, QWidget* parent);

    // The layout type the keyboard asks for ("Standard", "Standard2", "NumPad").
    const QString& layoutName() const { return m_layoutName; }
    void setLayoutName(const QString& name) { m_layoutName = name; }
    // The description shown; none shows nothing.
    void setDescription(const VirtualKeyLayout* description);
    // Reads the captions again (the input language changed).
    void refreshKeys();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    struct PlacedKey {
        const VirtualKey* key;
        QRectF area;
    };

    QList<PlacedKey> placedKeys() const;
    const VirtualKey* keyAt(const QPointF& point) const;
    QString caption(const VirtualKey& key) const;
    bool isLatched(const VirtualKey& key) const;
    void press(const VirtualKey& key);
    void repeat();

    KeyboardSystem* m_keyboard;
    QString m_layoutName = QStringLiteral("Standard");
    const VirtualKeyLayout* m_description = nullptr;
    bool m_shift = false;
    bool m_altGr = false;
    bool m_capsLock = false;
    const VirtualKey* m_pressed = nullptr;
    QHash<QString, QString> m_captions;  // "<shift><altgr>KEY" -> what the key types
    QTimer m_repeat;
};

}  // namespace plintor
