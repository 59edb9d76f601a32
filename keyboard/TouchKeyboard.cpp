#include "keyboard/TouchKeyboard.h"

#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>

#include "platform/KeyboardSystem.h"

namespace plintor {
namespace {

constexpr int RepeatDelayMs = 500;
constexpr int RepeatIntervalMs = 60;

// Keys whose caption is a word or a sign rather than what they type.
QString FunctionKeyCaption(const QString& name) {
    static const QHash<QString, QString> captions = {
        {"BKSP", QStringLiteral("\u2190")},       {"TAB", QStringLiteral("Tab \u21E5")},
        {"CAPS", QStringLiteral("Caps \u21EA")},  {"RTRN", QStringLiteral("Enter \u21B5")},
        {"LFSH", QStringLiteral("\u21E7 Shift")}, {"RTSH", QStringLiteral("\u21E7 Shift")},
        {"RALT", QStringLiteral("AltGr")},        {"SPCE", QString()},
        {"LEFT", QStringLiteral("\u2190")},       {"RGHT", QStringLiteral("\u2192")},
        {"UP", QStringLiteral("\u2191")},         {"DOWN", QStringLiteral("\u2193")},
        {"DELE", QStringLiteral("Del")},          {"HOME", QStringLiteral("Home")},
        {"END", QStringLiteral("End")},           {"KPEN", QStringLiteral("Enter")},
    };
    return captions.value(name, QStringLiteral("\x01"));
}

bool IsModifier(const QString& name) {
    return name == QLatin1String("LFSH") || name == QLatin1String("RTSH") ||
           name == QLatin1String("RALT") || name == QLatin1String("CAPS");
}

bool IsSpacer(const TVirtualKey& key) {
    return key.Name == "-";
}

}  // namespace

TTouchKeyboard::TTouchKeyboard(IKeyboardSystem* keyboard, QWidget* parent)
    : QWidget(parent), FKeyboard(keyboard) {
    setObjectName(QStringLiteral("TouchKeyboard"));
    setFocusPolicy(Qt::NoFocus);  // the page keeps the focus the strokes go to
    setAttribute(Qt::WA_AcceptTouchEvents, false);
    connect(&FRepeat, &QTimer::timeout, this, &TTouchKeyboard::Repeat);
}

void TTouchKeyboard::SetDescription(const TVirtualKeyLayout* description) {
    if (description != FDescription) {
        FDescription = description;
        RefreshKeys();
    }
}

void TTouchKeyboard::RefreshKeys() {
    FCaptions.clear();
    FCapsLock = FKeyboard != nullptr && FKeyboard->CapsLockOn();
    update();
}

QList<TTouchKeyboard::TPlacedKey> TTouchKeyboard::PlacedKeys() const {
    QList<TPlacedKey> placed;
    if (FDescription == nullptr) {
        return placed;
    }
    const qreal margin = height() * 0.03;
    const QRectF area = QRectF(rect()).adjusted(margin, margin, -margin, -margin);
    const qreal rowHeight = area.height() / static_cast<qreal>(FDescription->Rows.size());
    qreal y = area.top();
    for (const std::vector<TVirtualKey>& row : FDescription->Rows) {
        qreal units = 0;
        for (const TVirtualKey& key : row) {
            units += key.Width;
        }
        const qreal unit = area.width() / units;
        qreal x = area.left();
        for (const TVirtualKey& key : row) {
            if (!IsSpacer(key)) {
                placed.append({&key, QRectF(x, y, key.Width * unit, rowHeight)});
            }
            x += key.Width * unit;
        }
        y += rowHeight;
    }
    return placed;
}

const TVirtualKey* TTouchKeyboard::KeyAt(const QPointF& point) const {
    for (const TPlacedKey& placed : PlacedKeys()) {
        if (placed.Area.contains(point)) {
            return placed.Key;
        }
    }
    return nullptr;
}

QString TTouchKeyboard::Caption(const TVirtualKey& key) const {
    const QString name = QString::fromStdString(key.Name);
    if (const QString word = FunctionKeyCaption(name); word != QLatin1String("\x01")) {
        return word;
    }
    const QString cacheKey = QString::number(FShift) + QString::number(FAltGr) + name;
    auto cached = FCaptions.constFind(cacheKey);
    if (cached != FCaptions.constEnd()) {
        return *cached;
    }
    const QString caption =
        FKeyboard != nullptr
            ? QString::fromStdString(FKeyboard->KeyCaption(key.Name, FShift, FAltGr)).trimmed()
            : QString();
    const_cast<TTouchKeyboard*>(this)->FCaptions.insert(cacheKey, caption);
    return caption;
}

bool TTouchKeyboard::IsLatched(const TVirtualKey& key) const {
    return ((key.Name == "LFSH" || key.Name == "RTSH") && FShift) ||
           (key.Name == "RALT" && FAltGr) || (key.Name == "CAPS" && FCapsLock);
}

void TTouchKeyboard::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient background(0, 0, 0, height());
    background.setColorAt(0, QColor(0x80, 0x80, 0x80));  // gray
    background.setColorAt(1, QColor(0xC0, 0xC0, 0xC0));  // silver
    painter.fillRect(rect(), background);
    const QList<TPlacedKey> keys = PlacedKeys();
    QFont font = painter.font();
    font.setPixelSize(
        std::max(8, keys.isEmpty() ? 12 : static_cast<int>(keys.front().Area.height() * 0.38)));
    painter.setFont(font);
    for (const TPlacedKey& placed : keys) {
        const QRectF face = placed.Area.adjusted(2, 2, -2, -2);
        const bool pressed = placed.Key == FPressed;
        const bool latched = IsLatched(*placed.Key);
        QLinearGradient fill(face.topLeft(), face.bottomLeft());
        fill.setColorAt(0, pressed   ? QColor(0x9E, 0xC3, 0xF0)
                           : latched ? QColor(0xC6, 0xDD, 0xF8)
                                     : QColor(0xFD, 0xFD, 0xFD));
        fill.setColorAt(1, pressed   ? QColor(0x6F, 0xA3, 0xE0)
                           : latched ? QColor(0x9E, 0xC3, 0xF0)
                                     : QColor(0xDD, 0xDD, 0xDD));
        QPainterPath path;
        path.addRoundedRect(face, face.height() * 0.12, face.height() * 0.12);
        painter.fillPath(path, fill);
        painter.setPen(QColor(0x5A, 0x5A, 0x5A));
        painter.drawPath(path);
        painter.setPen(QColor(0x1E, 0x1E, 0x1E));
        painter.drawText(face, Qt::AlignCenter, Caption(*placed.Key));
    }
}

void TTouchKeyboard::mousePressEvent(QMouseEvent* event) {
    FPressed = KeyAt(event->position());
    if (FPressed == nullptr) {
        return;
    }
    Press(*FPressed);
    if (!IsModifier(QString::fromStdString(FPressed->Name))) {
        FRepeat.start(RepeatDelayMs);
    }
    update();
}

void TTouchKeyboard::mouseReleaseEvent(QMouseEvent*) {
    FRepeat.stop();
    FPressed = nullptr;
    update();
}

void TTouchKeyboard::Repeat() {
    FRepeat.setInterval(RepeatIntervalMs);
    if (FPressed != nullptr && FKeyboard != nullptr) {
        FKeyboard->TypeKey(FPressed->Name, false, false);
    }
}

void TTouchKeyboard::Press(const TVirtualKey& key) {
    if (FKeyboard == nullptr) {
        return;
    }
    if (key.Name == "LFSH" || key.Name == "RTSH") {
        FShift = !FShift;
    } else if (key.Name == "RALT") {
        FAltGr = !FAltGr;
    } else if (key.Name == "CAPS") {
        FKeyboard->TypeKey(key.Name, false, false);
        FCaptions.clear();
        FCapsLock = !FCapsLock;
    } else {
        FKeyboard->TypeKey(key.Name, FShift, FAltGr);
        FShift = false;
        FAltGr = false;
    }
}

}  // namespace plintor
