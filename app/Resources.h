#pragma once

namespace plintor {

// Registers the images and scripts that are compiled into the kiosk's static library.
void initKioskResources();

}  // namespace plintor
