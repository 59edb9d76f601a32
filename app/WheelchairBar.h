#pragma once

#include <QWidget>

class QAction;

namespace plintor {

class TPictureButton;
class TScreenMetrics;

// The bar at the bottom of the window with the button that moves the content down within
// reach of a wheelchair user.
class TWheelchairBar final : public QWidget {
    Q_OBJECT
public:
    TWheelchairBar(const TScreenMetrics& metrics, QAction* wheelchair, QWidget* parent);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    const TScreenMetrics& FMetrics;
    TPictureButton* FButton;
};

}  // namespace plintor
