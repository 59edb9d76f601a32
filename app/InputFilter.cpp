#include "app/InputFilter.h"

#include <QKeyEvent>

#include "app/KioskWindow.h"
#include "app/ShutdownPanel.h"
#include "browser/TSafeWebBrowser.h"
#include "core/lockdown/InputActivity.h"
#include "core/lockdown/KeyTable.h"
#include "platform/InputHooks.h"

namespace plintor {

TInputFilter::TInputFilter(TInputActivity& activity, const IInputHooks& hooks, TKioskWindow& window,
                           QObject* parent)
    : QObject(parent), FActivity(activity), FHooks(hooks), FWindow(window) {}

bool TInputFilter::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
            FActivity.Record();
            return Swallowed(static_cast<const QKeyEvent&>(*event)) ||
                   KioskKey(static_cast<const QKeyEvent&>(*event));
        case QEvent::KeyRelease:
            return Swallowed(static_cast<const QKeyEvent&>(*event));
        case QEvent::MouseButtonPress:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::TouchBegin:
            FActivity.Record();
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

// The same table the display-wide lock applies, for keys that reach the program anyway.
bool TInputFilter::Swallowed(const QKeyEvent& key) const {
    const Qt::KeyboardModifiers modifiers = key.modifiers();
    return SwallowKey(FHooks.VirtualKeyOfNativeKey(key.nativeVirtualKey()),
                      modifiers.testFlag(Qt::AltModifier), modifiers.testFlag(Qt::ControlModifier));
}

bool TInputFilter::KioskKey(const QKeyEvent& key) {
    FWindow.ShutdownPanel().KeyPressed();
    const Qt::KeyboardModifiers modifiers = key.modifiers();
    if (modifiers.testFlag(Qt::AltModifier)) {
        return false;
    }
    if (key.key() == Qt::Key_Escape) {
        FWindow.HideShutdownPanel();
        return true;
    }
    if (key.key() == Qt::Key_F5) {
        FWindow.Browser().Refresh();
        return true;
    }
    if (key.key() == Qt::Key_F4 && modifiers.testFlag(Qt::ControlModifier) &&
        modifiers.testFlag(Qt::ShiftModifier)) {
        FWindow.ToggleShutdownPanel();
        return true;
    }
    return false;
}

}  // namespace plintor
