#include "app/InputFilter.h"

#include <QKeyEvent>

#include "app/KioskWindow.h"
#include "app/ShutdownPanel.h"
#include "browser/RestrictedBrowser.h"
#include "core/lockdown/InputActivity.h"
#include "core/lockdown/KeyTable.h"
#include "platform/InputHooks.h"

namespace plintor {

InputFilter::InputFilter(InputActivity& activity, const InputHooks& hooks, KioskWindow& window,
                         QObject* parent)
    : QObject(parent), m_activity(activity), m_hooks(hooks), m_window(window) {}

bool InputFilter::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
            m_activity.record();
            return swallowed(static_cast<const QKeyEvent&>(*event)) ||
                   kioskKey(static_cast<const QKeyEvent&>(*event));
        case QEvent::KeyRelease:
            return swallowed(static_cast<const QKeyEvent&>(*event));
        case QEvent::MouseButtonPress:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::TouchBegin:
            m_activity.record();
            break;
        default:
            break;
    }
    return QObject::eventFilter(watched, event);
}

// The same table the display-wide lock applies, for keys that reach the program anyway.
bool InputFilter::swallowed(const QKeyEvent& key) const {
    const Qt::KeyboardModifiers modifiers = key.modifiers();
    return swallowKey(m_hooks.virtualKeyOfNativeKey(key.nativeVirtualKey()),
                      modifiers.testFlag(Qt::AltModifier), modifiers.testFlag(Qt::ControlModifier));
}

bool InputFilter::kioskKey(const QKeyEvent& key) {
    m_window.shutdownPanel().keyPressed();
    const Qt::KeyboardModifiers modifiers = key.modifiers();
    if (modifiers.testFlag(Qt::AltModifier)) {
        return false;
    }
    if (key.key() == Qt::Key_Escape) {
        m_window.hideShutdownPanel();
        return true;
    }
    if (key.key() == Qt::Key_F5) {
        m_window.browser().refresh();
        return true;
    }
    if (key.key() == Qt::Key_F4 && modifiers.testFlag(Qt::ControlModifier) &&
        modifiers.testFlag(Qt::ShiftModifier)) {
        m_window.toggleShutdownPanel();
        return true;
    }
    return false;
}

}  // namespace plintor
