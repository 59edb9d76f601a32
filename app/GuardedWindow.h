#pragma once

namespace plintor {

// The window the guard keeps in front: the kiosk's.
class GuardedWindow {
public:
    virtual ~GuardedWindow() = default;
    virtual unsigned long nativeId() const = 0;
    virtual bool isVisible() const = 0;
};

}  // namespace plintor
