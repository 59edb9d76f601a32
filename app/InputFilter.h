#pragma once

#include <QObject>

class QKeyEvent;

namespace plintor {

class InputHooks;
class InputActivity;
class KioskWindow;

// Every input event of the program passes here first: each key, pointer and touch input counts
// as the visitor's activity (also where the display-wide hooks could not be installed), keys
// the lockdown swallows go nowhere, and the kiosk's own keys act: Control+Shift+F4 opens and
// closes the shutdown panel, Escape closes it, F5 reloads the page.
class InputFilter final : public QObject {
    Q_OBJECT
public:
    InputFilter(InputActivity& activity, const InputHooks& hooks, KioskWindow& window,
                QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool swallowed(const QKeyEvent& key) const;
    bool kioskKey(const QKeyEvent& key);

    InputActivity& m_activity;
    const InputHooks& m_hooks;
    KioskWindow& m_window;
};

}  // namespace plintor
