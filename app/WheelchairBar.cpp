#include "app/WheelchairBar.h"

#include <QFrame>
#include <QVBoxLayout>

#include "widgets/PictureButton.h"
#include "widgets/ScreenMetrics.h"

namespace plintor {
namespace {

// Design geometry at 96 pixels per inch, in a bar 960 wide.
constexpr int BarHeight = 63;
constexpr int TopLineHeight = 4;
constexpr int ButtonTop = 8;
constexpr int ButtonWidth = 81;
constexpr int ButtonHeight = 49;
constexpr int ButtonRightMargin = 960 - (872 + 81);

}  // namespace

WheelchairBar::WheelchairBar(const ScreenMetrics& metrics, QAction* wheelchair, QWidget* parent)
    : QWidget(parent),
      m_metrics(metrics),
      m_button(new PictureButton(PictureButton::SpeedButton, this)) {
    setObjectName(QStringLiteral("PWheelchair"));
    setAutoFillBackground(true);
    setFixedHeight(metrics.scaled(BarHeight));
    auto* topLine = new QFrame(this);
    topLine->setObjectName(QStringLiteral("BWheelchair"));
    topLine->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    topLine->setLineWidth(1);
    topLine->setFixedHeight(metrics.scaled(TopLineHeight));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(topLine);
    layout->addStretch();
    m_button->setAction(wheelchair);
    m_button->resize(metrics.scaled(ButtonWidth), metrics.scaled(ButtonHeight));
}

void WheelchairBar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_button->move(width() - m_metrics.scaled(ButtonRightMargin) - m_button->width(),
                   m_metrics.scaled(ButtonTop));
}

}  // namespace plintor
