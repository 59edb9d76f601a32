#pragma once

#include "core/config/ISettingsTarget.h"
#include "core/support/ScreenScale.h"

namespace plintor {

// The main window's design state without a screen (96 pixels per inch), for reading the
// configuration exactly as the kiosk would without showing anything.
class THeadlessSettingsTarget final : public ISettingsTarget {
public:
    // The system's button-face colour, which the panels keep unless a colour is configured.
    static constexpr TColor SystemButtonFace = static_cast<TColor>(0xFF00000F);

    int PixelsPerInch() const override { return DesignPixelsPerInch; }

    bool NavigationPanelVisible() const override { return FNavigationPanelVisible; }
    void SetNavigationPanelVisible(bool visible) override { FNavigationPanelVisible = visible; }
    bool TouchButtonVisible() const override { return FTouchButtonVisible; }
    void SetTouchButtonVisible(bool visible) override { FTouchButtonVisible = visible; }

    void SetKeyboardPanelOnTop() override {}
    int KeyboardPanelHeight() const override { return FKeyboardPanelHeight; }
    void SetKeyboardPanelHeight(int height) override { FKeyboardPanelHeight = height; }
    int TouchKeyboardTop() const override { return FTouchKeyboardTop; }
    void SetTouchKeyboardTop(int top) override { FTouchKeyboardTop = top; }
    void SetTouchKeyboardLayout(const std::string&) override {}

    void SetWheelchairBarVisible(bool) override {}
    void SetBlockedHint(const std::string&) override {}
    void UseProgressIndicator() override {}

    int MarginRight() const override { return FMarginRight; }
    void SetMarginRight(int pixels) override { FMarginRight = pixels; }

    TColor NavigationPanelColor() const override { return FPanelColor; }
    void SetPanelColor(TColor color) override { FPanelColor = color; }

private:
    bool FNavigationPanelVisible = true;
    bool FTouchButtonVisible = true;
    int FKeyboardPanelHeight = 194;
    int FTouchKeyboardTop = 8;
    int FMarginRight = 0;
    TColor FPanelColor = SystemButtonFace;
};

}  // namespace plintor
