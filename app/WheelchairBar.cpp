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

TWheelchairBar::TWheelchairBar(const TScreenMetrics& metrics, QAction* wheelchair, QWidget* parent)
    : QWidget(parent),
      FMetrics(metrics),
      FButton(new TPictureButton(TPictureButton::SpeedButton, this)) {
    setObjectName(QStringLiteral("PWheelchair"));
    setAutoFillBackground(true);
    setFixedHeight(metrics.Scaled(BarHeight));
    auto* topLine = new QFrame(this);
    topLine->setObjectName(QStringLiteral("BWheelchair"));
    topLine->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    topLine->setLineWidth(1);
    topLine->setFixedHeight(metrics.Scaled(TopLineHeight));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(topLine);
    layout->addStretch();
    FButton->SetAction(wheelchair);
    FButton->resize(metrics.Scaled(ButtonWidth), metrics.Scaled(ButtonHeight));
}

void TWheelchairBar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FButton->move(width() - FMetrics.Scaled(ButtonRightMargin) - FButton->width(),
                  FMetrics.Scaled(ButtonTop));
}

}  // namespace plintor
