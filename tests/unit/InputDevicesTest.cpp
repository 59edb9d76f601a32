#include "core/lockdown/InputDevices.h"

#include <gtest/gtest.h>

namespace plintor {
namespace {

TEST(InputDevicesTest, PensAreToldApart) {
    EXPECT_TRUE(isPenDevice("Wacom Intuos Pen stylus", {"Abs X", "Abs Y", "Abs Pressure"}));
    EXPECT_TRUE(isPenDevice("ELAN2514:00 04F3:2AF7 Eraser", {}));
    EXPECT_TRUE(isPenDevice("Generic tablet", {"Abs X", "Abs Y", "Abs Tilt X"}));
    EXPECT_FALSE(
        isPenDevice("ELAN Touchscreen", {"Abs MT Position X", "Abs MT Pressure", "Abs Pressure"}));
    EXPECT_FALSE(isPenDevice("Logitech USB Optical Mouse", {"Rel X", "Rel Y"}));
    EXPECT_FALSE(isPenDevice("OpenTouch Panel", {"Abs X"}));  // "pen" inside a word
    EXPECT_FALSE(isPenDevice("Virtual core XTEST pointer", {}));
}

}  // namespace
}  // namespace plintor
