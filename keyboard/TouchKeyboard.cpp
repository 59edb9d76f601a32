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
QString functionKeyCaption(const QString& name) {
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

bool isModifier(const QString& name) {
    return name == QLatin1String("LFSH") || name == QLatin1String("RTSH") ||
           name == QLatin1String("RALT") || name == QLatin1String("CAPS");
}

bool isSpacer(const VirtualKey& key) {
    return key.name == "-";
}

}  // namespace

TouchKeyboard::TouchKeyboard(KeyboardSystem* keyboard, QWidget* parent)
    : QWidget(parent), m_keyboard(keyboard) {
    setObjectName(QStringLiteral("TouchKeyboard"));
    setFocusPolicy(Qt::NoFocus);  // the page keeps the focus the strokes go to
    setAttribute(Qt::WA_AcceptTouchEvents, false);
    connect(&m_repeat, &QTimer::timeout, this, &TouchKeyboard::repeat);
}

void TouchKeyboard::setDescription(const VirtualKeyLayout* description) {
    if (description != m_description) {
        m_description = description;
        refreshKeys();
    }
}

void TouchKeyboard::refreshKeys() {
    m_captions.clear();
    m_capsLock = m_keyboard != nullptr && m_keyboard->capsLockOn();
    update();
}

QList<TouchKeyboard::PlacedKey> TouchKeyboard::placedKeys() const {
    QList<PlacedKey> placed;
    if (m_description == nullptr) {
        return placed;
    }
    const qreal margin = height() * 0.03;
    const QRectF area = QRectF(rect()).adjusted(margin, margin, -margin, -margin);
    const qreal rowHeight = area.height() / static_cast<qreal>(m_description->rows.size());
    qreal y = area.top();
    for (const std::vector<VirtualKey>& row : m_description->rows) {
        qreal units = 0;
        for (const VirtualKey& key : row) {
            units += key.width;
        }
        const qreal unit = area.width() / units;
        qreal x = area.left();
        for (const VirtualKey& key : row) {
            if (!isSpacer(key)) {
                placed.append({&key, QRectF(x, y, key.width * unit, rowHeight)});
            }
            x += key.width * unit;
        }
        y += rowHeight;
    }
    return placed;
}

const VirtualKey* TouchKeyboard::keyAt(const QPointF& point) const {
    for (const PlacedKey& placed : placedKeys()) {
        if (placed.area.contains(point)) {
            return placed.key;
        }
    }
    return nullptr;
}

QString TouchKeyboard::caption(const VirtualKey& key) const {
    const QString name = QString::fromStdString(key.name);
    if (const QString word = functionKeyCaption(name); word != QLatin1String("\x01")) {
        return word;
    }
    const QString cacheKey = QString::number(m_shift) + QString::number(m_altGr) + name;
    auto cached = m_captions.constFind(cacheKey);
    if (cached != m_captions.constEnd()) {
        return *cached;
    }
    const QString caption =
        m_keyboard != nullptr
            ? QString::fromStdString(m_keyboard->keyCaption(key.name, m_shift, m_altGr)).trimmed()
            : QString();
    const_cast<TouchKeyboard*>(this)->m_captions.insert(cacheKey, caption);
    return caption;
}

bool TouchKeyboard::isLatched(const VirtualKey& key) const {
    return ((key.name == "LFSH" || key.name == "RTSH") && m_shift) ||
           (key.name == "RALT" && m_altGr) || (key.name == "CAPS" && m_capsLock);
}

void TouchKeyboard::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QLinearGradient background(0, 0, 0, height());
    background.setColorAt(0, QColor(0x80, 0x80, 0x80));  // gray
    background.setColorAt(1, QColor(0xC0, 0xC0, 0xC0));  // silver
    painter.fillRect(rect(), background);
    const QList<PlacedKey> keys = placedKeys();
    QFont font = painter.font();
    font.setPixelSize(
        std::max(8, keys.isEmpty() ? 12 : static_cast<int>(keys.front().area.height() * 0.38)));
    painter.setFont(font);
    for (const PlacedKey& placed : keys) {
        const QRectF face = placed.area.adjusted(2, 2, -2, -2);
        const bool pressed = placed.key == m_pressed;
        const bool latched = isLatched(*placed.key);
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
        painter.drawText(face, Qt::AlignCenter, caption(*placed.key));
    }
}

void TouchKeyboard::mousePressEvent(QMouseEvent* event) {
    m_pressed = keyAt(event->position());
    if (m_pressed == nullptr) {
        return;
    }
    press(*m_pressed);
    if (!isModifier(QString::fromStdString(m_pressed->name))) {
        m_repeat.start(RepeatDelayMs);
    }
    update();
}

void TouchKeyboard::mouseReleaseEvent(QMouseEvent*) {
    m_repeat.stop();
    m_pressed = nullptr;
    update();
}

void TouchKeyboard::repeat() {
    m_repeat.setInterval(RepeatIntervalMs);
    if (m_pressed != nullptr && m_keyboard != nullptr) {
        m_keyboard->typeKey(m_pressed->name, false, false);
    }
}

void TouchKeyboard::press(const VirtualKey& key) {
    if (m_keyboard == nullptr) {
        return;
    }
    if (key.name == "LFSH" || key.name == "RTSH") {
        m_shift = !m_shift;
    } else if (key.name == "RALT") {
        m_altGr = !m_altGr;
    } else if (key.name == "CAPS") {
        m_keyboard->typeKey(key.name, false, false);
        m_captions.clear();
        m_capsLock = !m_capsLock;
    } else {
        m_keyboard->typeKey(key.name, m_shift, m_altGr);
        m_shift = false;
        m_altGr = false;
    }
}

}  // namespace plintor
