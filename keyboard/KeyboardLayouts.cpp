#include "keyboard/KeyboardLayouts.h"

#include <QDir>
#include <QFile>

#include "core/keyboard/VirtualKeyLayout.h"

namespace plintor {

std::vector<VirtualKeyLayout> loadKeyboardLayouts() {
    std::vector<VirtualKeyLayout> layouts;
    const QDir resources(QStringLiteral(":/keyboards"));
    for (const QString& name : resources.entryList(QDir::Files, QDir::Name)) {
        QFile file(resources.filePath(name));
        if (!name.contains(QLatin1String("KEYBOARD")) || !file.open(QIODevice::ReadOnly)) {
            continue;
        }
        if (auto layout = parseVirtualKeyLayout(name.toStdString(), file.readAll().toStdString())) {
            layouts.push_back(std::move(*layout));
        }
    }
    return layouts;
}

}  // namespace plintor
