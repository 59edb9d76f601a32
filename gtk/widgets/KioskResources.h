#pragma once

namespace plintor {

// Registers the images, keyboard layouts and scripts compiled into the program, under
// "/plintor/" (/plintor/icons/32/home_32.png, /plintor/flags/24/DE.png,
// /plintor/keyboards/STANDARD101KEYBOARD, /plintor/progress.gif,
// /plintor/browser/FileInputGuard.js). Once, before any of them is used; a second call does
// nothing.
void registerKioskResources();

}  // namespace plintor
