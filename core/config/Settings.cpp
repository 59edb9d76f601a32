#include "core/config/Settings.h"

#include "core/support/ScreenScale.h"

namespace plintor {

TSettings Settings;
std::vector<TNavButton> NavButtons{DefaultHomeButton(DesignPixelsPerInch)};
TDateTime NextRestartTime = 0;
std::uint32_t RequestedExecutionState = ES_CONTINUOUS | ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED;

TNavButton DefaultHomeButton(int pixelsPerInch) {
    return {"", ScaleValue(DefaultButtonWidth, pixelsPerInch), DefaultHomePage};
}

void ResetSettings(int pixelsPerInch) {
    Settings = TSettings{};
    NavButtons = {DefaultHomeButton(pixelsPerInch)};
    NextRestartTime = 0;
    RequestedExecutionState = ES_CONTINUOUS | ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED;
}

}  // namespace plintor
