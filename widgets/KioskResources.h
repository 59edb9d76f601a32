#pragma once

namespace plintor {

// Registers the images, keyboard layouts and scripts compiled into the program, under
// "/plintor/" (/plintor/icons/32/home_32.png, /plintor/flags/24/DE.png,
// /plintor/keyboards/STANDARD101KEYBOARD, /plintor/progress.gif,
// /plintor/browser/FileInputGuard.js). A reader calls it before its first look-up: the images,
// the keyboard layouts and the animation of gtk/widgets, gtk/keyboard and gtk/app do by
// themselves. After the first call it does nothing.
void registerKioskResources();

}  // namespace plintor
