#pragma once

#include <QObject>

class QKeyEvent;

namespace plintor {

class IInputHooks;
class TInputActivity;
class TKioskWindow;

// Every input event of the program passes here first: each key, pointer and touch input counts
// as the visitor's activity (also where the display-wide hooks could not be installed), keys
// the lockdown swallows go nowhere, and the kiosk's own keys act: Control+Shift+F4 opens and
// closes the shutdown panel, Escape closes it, F5 reloads the page.
class TInputFilter final : public QObject {
    Q_OBJECT
public:
    TInputFilter(TInputActivity& activity, const IInputHooks& hooks, TKioskWindow& window,
                 QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool Swallowed(const QKeyEvent& key) const;
    bool KioskKey(const QKeyEvent& key);

    TInputActivity& FActivity;
    const IInputHooks& FHooks;
    TKioskWindow& FWindow;
};

}  // namespace plintor
