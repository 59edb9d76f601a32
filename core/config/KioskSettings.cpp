#include "core/config/KioskSettings.h"

#include "core/support/ScreenScale.h"

namespace plintor {

NavButton defaultHomeButton(int pixelsPerInch) {
    return {"", scaleValue(DefaultButtonWidth, pixelsPerInch), DefaultHomePage};
}

AwakeRequest executionStateOf(const KioskSettings& settings) {
    const AwakeRequest always = AwakeRequest::Continuous | AwakeRequest::System;
    return settings.displayAlwaysOn ? always | AwakeRequest::Display : always;
}

DateTime nextRestartAfter(DateTime now, DateTime timeOfDay) {
    const DateTime today = dateOf(now) + timeOfDay;
    return now > today ? today + 1 : today;
}

}  // namespace plintor
