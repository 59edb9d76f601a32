#pragma once

#include <QPixmap>
#include <QTimer>
#include <QWidget>

class QLabel;

namespace plintor {

// The hint that answers a blocked address: a plain rectangle with an icon and the operator's
// message, its lower edge at the pointer, kept on the screen, gone after two seconds.
class TBalloonHintEx final : public QWidget {
    Q_OBJECT
public:
    static constexpr int HideAfterMs = 2000;

    TBalloonHintEx();

    // An empty message keeps the current one; a null image keeps the current image.
    void SetContent(const QString& message, const QPixmap& image);
    void ShowAtCursor();
    bool ShowingHint() const { return isVisible(); }

private:
    void PlaceAt(const QPoint& cursor);

    QLabel* FImage;
    QLabel* FText;
    QTimer FHideTimer;
};

}  // namespace plintor
