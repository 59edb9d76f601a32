#include "keyboard/KeyboardLayouts.h"

#include <QDir>
#include <QFile>

#include "core/keyboard/VirtualKeyLayout.h"

namespace plintor {

void LoadKeyboardLayouts() {
    KeyboardLayouts.clear();
    const QDir resources(QStringLiteral(":/keyboards"));
    for (const QString& name : resources.entryList(QDir::Files, QDir::Name)) {
        QFile file(resources.filePath(name));
        if (!name.contains(QLatin1String("KEYBOARD")) || !file.open(QIODevice::ReadOnly)) {
            continue;
        }
        if (auto layout = ParseVirtualKeyLayout(name.toStdString(), file.readAll().toStdString())) {
            KeyboardLayouts.push_back(std::move(*layout));
        }
    }
}

}  // namespace plintor
