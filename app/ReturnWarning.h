#pragma once

#include <QDeadlineTimer>
#include <QFrame>
#include <QTimer>

class QLabel;

namespace plintor {

class ScreenMetrics;

// The notice before the idle return: a large box over the page centre with the operator's text,
// whose "%d" counts the seconds down, and a "Continue" button. It ticks only while shown.
class ReturnWarning final : public QFrame {
    Q_OBJECT
public:
    ReturnWarning(const ScreenMetrics& metrics, QWidget* parent);

    // Shows `text` counting down from `millisecondsLeft`.
    void start(const QString& text, long long millisecondsLeft);
    void stop();
    // Keeps the box centred in its parent.
    void center();

signals:
    // The countdown reached 0.
    void expired();
    // The visitor pressed "Continue".
    void continued();

private:
    void tick();

    QLabel* m_message;
    QString m_text;
    QDeadlineTimer m_deadline;
    QTimer m_tick;
};

}  // namespace plintor
