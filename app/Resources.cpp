#include "app/Resources.h"

#include <QtCore/qglobal.h>

// Outside any namespace, as the resource compiler's initialisers are.
static void initResourcesGlobally() {
    Q_INIT_RESOURCE(icons);
    Q_INIT_RESOURCE(flags);
    Q_INIT_RESOURCE(keyboards);
    Q_INIT_RESOURCE(browser);
}

namespace plintor {

void initKioskResources() {
    initResourcesGlobally();
}

}  // namespace plintor
