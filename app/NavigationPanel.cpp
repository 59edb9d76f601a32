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

TNavigationPanel::TNavigationPanel(const TScreenMetrics& metrics, QAction* back, QAction* forward,
                                   QAction* touch, QWidget* parent)
    : QWidget(parent),
      FMetrics(metrics),
      FBack(new TPictureButton(TPictureButton::SpeedButton, this)),
      FForward(new TPictureButton(TPictureButton::SpeedButton, this)),
      FTouch(new TPictureButton(TPictureButton::SpeedButton, this)) {
    setObjectName(QStringLiteral("PNavigation"));
    setAutoFillBackground(true);
    setFixedHeight(metrics.Scaled(PanelHeight));
    const int size = metrics.Scaled(ButtonSize);
    FBack->SetAction(back);
    FBack->setGeometry(metrics.Scaled(BackLeft), metrics.Scaled(ButtonTop), size, size);
    FForward->SetAction(forward);
    FForward->setGeometry(metrics.Scaled(ForwardLeft), metrics.Scaled(ButtonTop), size, size);
    FTouch->SetAction(touch);
    FTouch->resize(metrics.Scaled(TouchWidth), size);
    FURLButtons.append(NewURLButton(1));
}

TPictureButton* TNavigationPanel::NewURLButton(int tag) {
    auto* button = new TPictureButton(TPictureButton::SpeedButton, this);
    QFont font = button->font();
    font.setBold(true);
    font.setPixelSize(FMetrics.Scaled(URLButtonFontPixels));
    button->setFont(font);
    button->setStyleSheet(QStringLiteral("color: %1;").arg(QLatin1String(URLButtonColor)));
    button->setGeometry(FMetrics.Scaled(FirstURLButtonLeft), FMetrics.Scaled(ButtonTop),
                        FMetrics.Scaled(ButtonSize), FMetrics.Scaled(ButtonSize));
    connect(button, &QToolButton::clicked, this, [this, tag] { emit urlButtonClicked(tag); });
    return button;
}

void TNavigationPanel::LayoutNavButtons(const std::vector<TNavButton>& buttons,
                                        const QPixmap& homeGlyph) {
    const int gap = FForward->x() - FBack->x() - FBack->width();
    int x = FURLButtons.front()->x();
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        const int tag = static_cast<int>(i) + 1;
        TPictureButton* button = tag == 1 ? FURLButtons.front() : NewURLButton(tag);
        if (tag > 1) {
            FURLButtons.append(button);
        }
        QString caption = QString::fromStdString(buttons[i].Caption);
        if (caption == QLatin1String("#")) {
            caption.clear();
        } else if (caption.isEmpty()) {
            caption = QString::fromStdString(buttons[i].URL);
        }
        button->SetCaption(caption);
        if (caption.isEmpty()) {
            button->SetGlyph(homeGlyph);
        }
        button->move(x, button->y());
        button->resize(FMetrics.FromScreenPixels(buttons[i].Width), button->height());
        button->show();
        x += button->width() + gap;
    }
}

void TNavigationPanel::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FTouch->move(width() - FMetrics.Scaled(TouchRightMargin) - FTouch->width(),
                 FMetrics.Scaled(ButtonTop));
}

}  // namespace plintor
