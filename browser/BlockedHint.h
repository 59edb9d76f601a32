#pragma once

#include <QPixmap>
#include <QTimer>
#include <QWidget>

class QLabel;

namespace plintor {

// The hint that answers a blocked address: a plain rectangle with an icon and the operator's
// message, its lower edge at the pointer, kept on the screen, gone after two seconds.
class BlockedHint final : public QWidget {
    Q_OBJECT
public:
    static constexpr int HideAfterMs = 2000;

    BlockedHint();

    // An empty message keeps the current one; a null image keeps the current image.
    void setContent(const QString& message, const QPixmap& image);
    void showAtCursor();
    bool showingHint() const { return isVisible(); }

private:
    void placeAt(const QPoint& cursor);

    QLabel* m_image;
    QLabel* m_text;
    QTimer m_hideTimer;
};

}  // namespace plintor
