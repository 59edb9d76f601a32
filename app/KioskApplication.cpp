#include "app/KioskApplication.h"

#include <stdexcept>

#include "core/app/AppEvents.h"

namespace plintor {

KioskApplication::KioskApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Plintor"));
    setQuitOnLastWindowClosed(false);
}

bool KioskApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception& error) {
        appEventsException(error);
    } catch (...) {
        appEventsException(std::runtime_error("an error of unknown kind"));
    }
    return false;
}

}  // namespace plintor
