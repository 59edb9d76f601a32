#pragma once

#include <QWidget>

class QAction;

namespace plintor {

class PictureButton;
class ScreenMetrics;

// The bar at the bottom of the window with the button that moves the content down within
// reach of a wheelchair user.
class WheelchairBar final : public QWidget {
    Q_OBJECT
public:
    WheelchairBar(const ScreenMetrics& metrics, QAction* wheelchair, QWidget* parent);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    const ScreenMetrics& m_metrics;
    PictureButton* m_button;
};

}  // namespace plintor
