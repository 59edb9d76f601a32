#pragma once

#include <QApplication>

namespace plintor {

// The application object: an error that escapes any handler is logged, never shown, and the
// kiosk goes on.
class KioskApplication final : public QApplication {
    Q_OBJECT
public:
    KioskApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace plintor
