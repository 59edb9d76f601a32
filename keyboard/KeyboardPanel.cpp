#include "keyboard/KeyboardPanel.h"

#include <QVariant>
#include <cmath>

#include "core/keyboard/LanguageButtonGeometry.h"
#include "core/keyboard/VirtualKeyLayout.h"
#include "core/support/Log.h"
#include "core/support/ScreenScale.h"
#include "core/support/StringHelpers.h"
#include "keyboard/KeyboardLayouts.h"
#include "keyboard/TouchKeyboard.h"
#include "platform/KeyboardSystem.h"
#include "widgets/PictureButton.h"
#include "widgets/ScreenMetrics.h"

namespace plintor {
namespace {

// Design geometry at 96 pixels per inch.
constexpr int KeyboardLeft = 8;
constexpr int KeyboardTop = 8;
constexpr int KeyboardWidth = 550;
constexpr int KeyboardHeight = 180;

const char* const HandleProperty = "plintorInputLocale";

}  // namespace

TKeyboardPanel::TKeyboardPanel(const TScreenMetrics& metrics, IKeyboardSystem* keyboard,
                               QWidget* parent)
    : QWidget(parent),
      FMetrics(metrics),
      FKeyboard(keyboard),
      FTouchKeyboard(new TTouchKeyboard(keyboard, this)),
      FTouchKeyboardTop(metrics.Scaled(KeyboardTop)),
      FLayouts(LoadKeyboardLayouts()) {
    setObjectName(QStringLiteral("PKeyboard"));
    setAutoFillBackground(true);
    setFixedHeight(metrics.Scaled(DesignHeight));
    FTouchKeyboard->setGeometry(metrics.Scaled(KeyboardLeft), FTouchKeyboardTop,
                                metrics.Scaled(KeyboardWidth), metrics.Scaled(KeyboardHeight));
    FTouchKeyboard->hide();
    hide();
}

QPixmap TKeyboardPanel::FlagOf(const std::string& countryCode) const {
    const int size = ScaleClass(FMetrics.PixelsPerInch()) == 200   ? 48
                     : ScaleClass(FMetrics.PixelsPerInch()) == 150 ? 32
                                                                   : 24;
    QPixmap flag(QStringLiteral(":/flags/%1/%2.png")
                     .arg(size)
                     .arg(QString::fromStdString(countryCode).toUpper()));
    flag.setDevicePixelRatio(FMetrics.DevicePixelRatio());
    return flag;
}

void TKeyboardPanel::BuildLanguageButtons(bool touchButtonVisible, int touchKeyboardSize) {
    LogStamped("");
    const std::vector<TInputLanguage> languages =
        FKeyboard != nullptr ? FKeyboard->InstalledLanguages() : std::vector<TInputLanguage>();
    if (!touchButtonVisible || languages.size() < 2) {
        return;
    }
    const TLanguageButtonGeometry geometry =
        LanguageButtonGeometry(touchKeyboardSize, FMetrics.PixelsPerInch());
    int top = FTouchKeyboardTop;
    for (const TInputLanguage& language : languages) {
        const bool sameLanguage = std::any_of(
            FLanguageButtons.begin(), FLanguageButtons.end(), [&](TPictureButton* button) {
                return (button->property(HandleProperty).toUInt() & 0xFFFF) ==
                       (language.Handle & 0xFFFF);
            });
        if (sameLanguage) {
            continue;
        }
        auto* button = new TPictureButton(TPictureButton::SpeedButton, this);
        button->setCheckable(true);
        button->setGeometry(FTouchKeyboardTop, top, FMetrics.FromScreenPixels(geometry.Width),
                            FMetrics.FromScreenPixels(geometry.Height));
        button->SetGlyphBesideCaption(true);
        QFont font = button->font();
        font.setPointSize(geometry.FontPoints);
        button->setFont(font);
        button->setStyleSheet(
            QStringLiteral("QToolButton { padding-left: %1px; spacing: %2px; text-align: left; }")
                .arg(FMetrics.FromScreenPixels(geometry.Margin))
                .arg(FMetrics.FromScreenPixels(geometry.Spacing)));
        top += button->height();
        LogPlain("Keyboard layout: " + HexOf32(language.Handle) + " - " + language.LocalizedName);
        button->SetCaption(QString::fromStdString(language.NativeName));
        button->SetGlyph(FlagOf(language.CountryCode));
        button->setProperty(HandleProperty, QVariant::fromValue(language.Handle));
        connect(button, &QToolButton::clicked, this,
                [this, handle = language.Handle] { LangOnClick(handle); });
        FLanguageButtons.append(button);
    }
    LogPlain("");
    UpdateTouchKeyboard();
}

// A large keyboard on a narrow screen moves right of the language buttons, and shrinks with
// its proportions when it would not fit there; it never covers them.
QRect TKeyboardPanel::ClearOfLanguageButtons(QRect keyboard,
                                             const TVirtualKeyLayout* description) const {
    int reserved = 0;
    for (const TPictureButton* button : FLanguageButtons) {
        reserved = std::max(reserved, button->geometry().right() + 1 + FTouchKeyboardTop);
    }
    if (keyboard.left() >= reserved) {
        return keyboard;
    }
    keyboard.moveLeft(reserved);
    const int room = width() - FTouchKeyboardTop - reserved;
    if (keyboard.width() > room && description != nullptr) {
        keyboard.setWidth(room);
        keyboard.setHeight(room * description->Height / description->Width);
    }
    return keyboard;
}

void TKeyboardPanel::LangOnClick(std::uint32_t handle) {
    FKeyboard->ActivateLanguage(handle);
    UpdateTouchKeyboard();
}

void TKeyboardPanel::UpdateTouchKeyboard() {
    const std::uint32_t current = FKeyboard != nullptr ? FKeyboard->CurrentLanguage() : 0;
    if (current != LastKeyboardLayout) {
        for (TPictureButton* button : FLanguageButtons) {
            button->setChecked(button->property(HandleProperty).toUInt() == current);
        }
        FTouchKeyboard->RefreshKeys();
        LastKeyboardLayout = current;
    }
    const int keyboardHeight = height() - 2 * FTouchKeyboardTop;
    const std::string locale =
        FKeyboard != nullptr ? FKeyboard->CurrentLocaleName() : std::string();
    const TVirtualKeyLayout* description =
        SelectKeyboardLayout(FLayouts, FTouchKeyboard->LayoutName().toStdString(), locale);
    FTouchKeyboard->SetDescription(description);
    QRect keyboard((width() - FTouchKeyboard->width()) / 2, FTouchKeyboardTop,
                   FTouchKeyboard->width(), keyboardHeight);
    if (description != nullptr) {
        keyboard.setWidth(KeyboardWidthFor(keyboardHeight, *description));
        keyboard.moveLeft((width() - keyboard.width()) / 2);
    }
    FTouchKeyboard->setGeometry(ClearOfLanguageButtons(keyboard, description));
}

}  // namespace plintor
