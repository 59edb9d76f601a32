#pragma once

#include <QTimer>
#include <QWidget>
#include <array>
#include <string>

class QFrame;
class QLabel;
class QLineEdit;

namespace plintor {

class TScreenMetrics;

// The operator's way out: a centred box with a password field and the four session actions,
// shown in the page's place. It checks the password itself, and closes itself 15 seconds after
// the last key.
class TShutdownPanel final : public QWidget {
    Q_OBJECT
public:
    enum TAction { ShutDown, Restart, LogOff, Exit };
    static constexpr int IdleCloseMs = 15000;

    // `images`: of shut down, restart, log off and exit, in that order.
    TShutdownPanel(const TScreenMetrics& metrics, const std::array<QPixmap, 4>& images,
                   QWidget* parent);

    void SetPassword(const std::string& password) { FExpected = password; }
    // Shows `heading` and an empty password field with the focus.
    void Open(const QString& heading);
    void Close();
    bool IsOpen() const { return !isHidden(); }
    // A key while it is open keeps it open for another 15 seconds.
    void KeyPressed();
    void CenterShutdownBox();

signals:
    // An action was chosen with the right password.
    void confirmed(TAction action);
    void closed();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void Choose(TAction action);

    QFrame* FBox;
    QLabel* FHeading;
    QLineEdit* FPassword;
    std::string FExpected;
    QTimer FIdle;
};

}  // namespace plintor
