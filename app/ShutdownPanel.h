#pragma once

#include <QTimer>
#include <QWidget>
#include <array>
#include <string>

class QFrame;
class QLabel;
class QLineEdit;

namespace plintor {

class ScreenMetrics;

// The operator's way out: a centred box with a password field and the four session actions,
// shown in the page's place. It checks the password itself, and closes itself 15 seconds after
// the last key.
class ShutdownPanel final : public QWidget {
    Q_OBJECT
public:
    enum Action { ShutDown, Restart, LogOff, Exit };
    static constexpr int IdleCloseMs = 15000;

    // `images`: of shut down, restart, log off and exit, in that order.
    ShutdownPanel(const ScreenMetrics& metrics, const std::array<QPixmap, 4>& images,
                  QWidget* parent);

    void setPassword(const std::string& password) { m_expected = password; }
    // Shows `heading` and an empty password field with the focus.
    void openPanel(const QString& heading);
    void closePanel();
    bool isOpen() const { return !isHidden(); }
    // A key while it is open keeps it open for another 15 seconds.
    void keyPressed();
    void centerShutdownBox();

signals:
    // An action was chosen with the right password.
    void confirmed(Action action);
    void closed();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void choose(Action action);

    QFrame* m_box;
    QLabel* m_heading;
    QLineEdit* m_password;
    std::string m_expected;
    QTimer m_idle;
};

}  // namespace plintor
