#include "core/config/KioskSettings.h"

#include "core/support/ScreenScale.h"

namespace plintor {

NavButton defaultHomeButton(int pixelsPerInch) {
    return {"", scaleValue(DefaultButtonWidth, pixelsPerInch), DefaultHomePage};
}

AwakeRequest executionStateOf(const KioskSettings& settings) {
    return AwakeRequest::Continuous | AwakeRequest::System |
           (settings.displayAlwaysOn ? AwakeRequest::Display : AwakeRequest::None);
}

DateTime nextRestartAfter(DateTime now, DateTime timeOfDay) {
    const DateTime today = dateOf(now) + timeOfDay;
    return now > today ? today + 1 : today;
}

}  // namespace plintor
