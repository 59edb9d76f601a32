#include "app/NavigationPanel.h"

#include "widgets/PictureButton.h"
#include "widgets/ScreenMetrics.h"

namespace plintor {
namespace {

// Design geometry at 96 pixels per inch, in a panel 960 wide and 65 high.
constexpr int PanelHeight = 65;
constexpr int ButtonTop = 8;
constexpr int ButtonSize = 49;
constexpr int BackLeft = 8;
constexpr int ForwardLeft = 64;
constexpr int FirstURLButtonLeft = 120;
constexpr int TouchWidth = 97;
constexpr int TouchRightMargin = 960 - (856 + 97);
constexpr int URLButtonFontPixels = 16;
const char* const URLButtonColor = "#0066CC";  // the system's hot-light colour

}  // namespace

NavigationPanel::NavigationPanel(const ScreenMetrics& metrics, QAction* back, QAction* forward,
                                 QAction* touch, QWidget* parent)
    : QWidget(parent),
      m_metrics(metrics),
      m_back(new PictureButton(PictureButton::SpeedButton, this)),
      m_forward(new PictureButton(PictureButton::SpeedButton, this)),
      m_touch(new PictureButton(PictureButton::SpeedButton, this)) {
    setObjectName(QStringLiteral("PNavigation"));
    setAutoFillBackground(true);
    setFixedHeight(metrics.scaled(PanelHeight));
    const int size = metrics.scaled(ButtonSize);
    m_back->setAction(back);
    m_back->setGeometry(metrics.scaled(BackLeft), metrics.scaled(ButtonTop), size, size);
    m_forward->setAction(forward);
    m_forward->setGeometry(metrics.scaled(ForwardLeft), metrics.scaled(ButtonTop), size, size);
    m_touch->setAction(touch);
    m_touch->resize(metrics.scaled(TouchWidth), size);
    m_furlButtons.append(newUrlButton(1));
}

PictureButton* NavigationPanel::newUrlButton(int tag) {
    auto* button = new PictureButton(PictureButton::SpeedButton, this);
    QFont font = button->font();
    font.setBold(true);
    font.setPixelSize(m_metrics.scaled(URLButtonFontPixels));
    button->setFont(font);
    button->setStyleSheet(QStringLiteral("color: %1;").arg(QLatin1String(URLButtonColor)));
    button->setGeometry(m_metrics.scaled(FirstURLButtonLeft), m_metrics.scaled(ButtonTop),
                        m_metrics.scaled(ButtonSize), m_metrics.scaled(ButtonSize));
    connect(button, &QToolButton::clicked, this, [this, tag] { emit urlButtonClicked(tag); });
    return button;
}

void NavigationPanel::layoutNavButtons(const std::vector<NavButton>& buttons,
                                       const QPixmap& homeGlyph) {
    const int gap = m_forward->x() - m_back->x() - m_back->width();
    int x = m_furlButtons.front()->x();
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        const int tag = static_cast<int>(i) + 1;
        PictureButton* button = tag == 1 ? m_furlButtons.front() : newUrlButton(tag);
        if (tag > 1) {
            m_furlButtons.append(button);
        }
        QString caption = QString::fromStdString(buttons[i].caption);
        if (caption == QLatin1String("#")) {
            caption.clear();
        } else if (caption.isEmpty()) {
            caption = QString::fromStdString(buttons[i].url);
        }
        button->setCaption(caption);
        if (caption.isEmpty()) {
            button->setGlyph(homeGlyph);
        }
        button->move(x, button->y());
        button->resize(m_metrics.fromScreenPixels(buttons[i].width), button->height());
        button->show();
        x += button->width() + gap;
    }
}

void NavigationPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_touch->move(width() - m_metrics.scaled(TouchRightMargin) - m_touch->width(),
                  m_metrics.scaled(ButtonTop));
}

}  // namespace plintor
