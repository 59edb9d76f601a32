#pragma once

#include <string>

#include "core/support/HtmlColor.h"

namespace plintor {

// The controls of the main window that the configuration changes while it is loaded.
class ISettingsTarget {
public:
    virtual ~ISettingsTarget() = default;

    virtual int PixelsPerInch() const = 0;

    virtual bool NavigationPanelVisible() const = 0;
    virtual void SetNavigationPanelVisible(bool visible) = 0;
    virtual bool TouchButtonVisible() const = 0;
    virtual void SetTouchButtonVisible(bool visible) = 0;

    virtual void SetKeyboardPanelOnTop() = 0;
    virtual int KeyboardPanelHeight() const = 0;
    virtual void SetKeyboardPanelHeight(int height) = 0;
    virtual int TouchKeyboardTop() const = 0;
    virtual void SetTouchKeyboardTop(int top) = 0;
    virtual void SetTouchKeyboardLayout(const std::string& layoutName) = 0;

    virtual void SetWheelchairBarVisible(bool visible) = 0;

    // The browser's hint for blocked addresses, with the icons of the screen's density.
    virtual void SetBlockedHint(const std::string& message) = 0;
    // Hands the progress panel to the browser as its progress indicator.
    virtual void UseProgressIndicator() = 0;

    virtual int MarginRight() const = 0;
    virtual void SetMarginRight(int pixels) = 0;

    virtual TColor NavigationPanelColor() const = 0;
    // Colours the navigation, keyboard and wheelchair panels alike.
    virtual void SetPanelColor(TColor color) = 0;
};

}  // namespace plintor
