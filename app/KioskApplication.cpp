#include "app/KioskApplication.h"

#include <stdexcept>

#include "core/app/AppEvents.h"

namespace plintor {

TKioskApplication::TKioskApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Plintor"));
    setQuitOnLastWindowClosed(false);
}

bool TKioskApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        AppEventsException(error);
    } catch (...) {
        AppEventsException(std::runtime_error("an error of unknown kind"));
    }
    return false;
}

}  // namespace plintor
