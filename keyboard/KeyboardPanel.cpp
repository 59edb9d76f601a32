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

KeyboardPanel::KeyboardPanel(const ScreenMetrics& metrics, KeyboardSystem* keyboard,
                             QWidget* parent)
    : QWidget(parent),
      m_metrics(metrics),
      m_keyboard(keyboard),
      m_touchKeyboard(new TouchKeyboard(keyboard, this)),
      m_touchKeyboardTop(metrics.scaled(KeyboardTop)),
      m_layouts(loadKeyboardLayouts()) {
    setObjectName(QStringLiteral("PKeyboard"));
    setAutoFillBackground(true);
    setFixedHeight(metrics.scaled(DesignHeight));
    m_touchKeyboard->setGeometry(metrics.scaled(KeyboardLeft), m_touchKeyboardTop,
                                 metrics.scaled(KeyboardWidth), metrics.scaled(KeyboardHeight));
    m_touchKeyboard->hide();
    hide();
}

QPixmap KeyboardPanel::flagOf(const std::string& countryCode) const {
    const int size = scaleClass(m_metrics.pixelsPerInch()) == 200   ? 48
                     : scaleClass(m_metrics.pixelsPerInch()) == 150 ? 32
                                                                    : 24;
    QPixmap flag(QStringLiteral(":/flags/%1/%2.png")
                     .arg(size)
                     .arg(QString::fromStdString(countryCode).toUpper()));
    flag.setDevicePixelRatio(m_metrics.devicePixelRatio());
    return flag;
}

void KeyboardPanel::buildLanguageButtons(bool touchButtonVisible, int touchKeyboardSize) {
    logStamped("");
    const std::vector<InputLanguage> languages =
        m_keyboard != nullptr ? m_keyboard->installedLanguages() : std::vector<InputLanguage>();
    if (!touchButtonVisible || languages.size() < 2) {
        return;
    }
    const LanguageButtonGeometry geometry =
        languageButtonGeometry(touchKeyboardSize, m_metrics.pixelsPerInch());
    int top = m_touchKeyboardTop;
    for (const InputLanguage& language : languages) {
        const bool sameLanguage = std::any_of(
            m_languageButtons.begin(), m_languageButtons.end(), [&](PictureButton* button) {
                return (button->property(HandleProperty).toUInt() & 0xFFFF) ==
                       (language.handle & 0xFFFF);
            });
        if (sameLanguage) {
            continue;
        }
        auto* button = new PictureButton(PictureButton::SpeedButton, this);
        button->setCheckable(true);
        button->setGeometry(m_touchKeyboardTop, top, m_metrics.fromScreenPixels(geometry.width),
                            m_metrics.fromScreenPixels(geometry.height));
        button->setGlyphBesideCaption(true);
        QFont font = button->font();
        font.setPointSize(geometry.fontPoints);
        button->setFont(font);
        button->setStyleSheet(
            QStringLiteral("QToolButton { padding-left: %1px; spacing: %2px; text-align: left; }")
                .arg(m_metrics.fromScreenPixels(geometry.margin))
                .arg(m_metrics.fromScreenPixels(geometry.spacing)));
        top += button->height();
        logPlain("Keyboard layout: " + hexOf32(language.handle) + " - " + language.localizedName);
        button->setCaption(QString::fromStdString(language.nativeName));
        button->setGlyph(flagOf(language.countryCode));
        button->setProperty(HandleProperty, QVariant::fromValue(language.handle));
        connect(button, &QToolButton::clicked, this,
                [this, handle = language.handle] { chooseLanguage(handle); });
        m_languageButtons.append(button);
    }
    logPlain("");
    updateTouchKeyboard();
}

// A large keyboard on a narrow screen moves right of the language buttons, and shrinks with
// its proportions when it would not fit there; it never covers them.
QRect KeyboardPanel::clearOfLanguageButtons(QRect keyboard,
                                            const VirtualKeyLayout* description) const {
    int reserved = 0;
    for (const PictureButton* button : m_languageButtons) {
        reserved = std::max(reserved, button->geometry().right() + 1 + m_touchKeyboardTop);
    }
    if (keyboard.left() >= reserved) {
        return keyboard;
    }
    keyboard.moveLeft(reserved);
    const int room = width() - m_touchKeyboardTop - reserved;
    if (keyboard.width() > room && description != nullptr) {
        keyboard.setWidth(room);
        keyboard.setHeight(room * description->height / description->width);
    }
    return keyboard;
}

void KeyboardPanel::chooseLanguage(std::uint32_t handle) {
    m_keyboard->activateLanguage(handle);
    updateTouchKeyboard();
}

void KeyboardPanel::updateTouchKeyboard() {
    const std::uint32_t current = m_keyboard != nullptr ? m_keyboard->currentLanguage() : 0;
    if (current != m_lastKeyboardLayout) {
        for (PictureButton* button : m_languageButtons) {
            button->setChecked(button->property(HandleProperty).toUInt() == current);
        }
        m_touchKeyboard->refreshKeys();
        m_lastKeyboardLayout = current;
    }
    const int keyboardHeight = height() - 2 * m_touchKeyboardTop;
    const std::string locale =
        m_keyboard != nullptr ? m_keyboard->currentLocaleName() : std::string();
    const VirtualKeyLayout* description =
        selectKeyboardLayout(m_layouts, m_touchKeyboard->layoutName().toStdString(), locale);
    m_touchKeyboard->setDescription(description);
    QRect keyboard((width() - m_touchKeyboard->width()) / 2, m_touchKeyboardTop,
                   m_touchKeyboard->width(), keyboardHeight);
    if (description != nullptr) {
        keyboard.setWidth(keyboardWidthFor(keyboardHeight, *description));
        keyboard.moveLeft((width() - keyboard.width()) / 2);
    }
    m_touchKeyboard->setGeometry(clearOfLanguageButtons(keyboard, description));
}

}  // namespace plintor
