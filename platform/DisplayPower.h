#pragma once

namespace plintor {

// The display's screen saver and power saving.
class DisplayPower {
public:
    virtual ~DisplayPower() = default;

    // Keeps the display switched on (screen saver and power saving suspended) or lets it
    // sleep again.
    virtual void keepDisplayOn(bool on) = 0;
    virtual bool isScreensaverRunning() = 0;
};

}  // namespace plintor
