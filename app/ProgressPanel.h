#pragma once

#include <QFrame>

class QMovie;

namespace plintor {

class ScreenMetrics;

// The animation floated over a loading page. It runs only while the panel is shown: a hidden
// animation would still wake the program for every frame.
class ProgressPanel final : public QFrame {
    Q_OBJECT
public:
    ProgressPanel(const ScreenMetrics& metrics, QWidget* parent);

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QMovie* m_movie;
};

}  // namespace plintor
