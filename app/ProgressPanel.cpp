#include "app/ProgressPanel.h"

#include <QLabel>
#include <QMovie>

#include "widgets/ScreenMetrics.h"

namespace plintor {
namespace {

constexpr int PanelSize = 97;
constexpr int ImageOffset = 16;
constexpr int ImageSize = 64;

}  // namespace

ProgressPanel::ProgressPanel(const ScreenMetrics& metrics, QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("PProgress"));
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setStyleSheet(QStringLiteral("#PProgress { background: white; }"));
    resize(metrics.scaled(PanelSize), metrics.scaled(PanelSize));
    auto* image = new QLabel(this);
    image->setGeometry(metrics.scaled(ImageOffset), metrics.scaled(ImageOffset),
                       metrics.scaled(ImageSize), metrics.scaled(ImageSize));
    image->setScaledContents(true);
    m_movie = new QMovie(QStringLiteral(":/progress.gif"), {}, image);
    image->setMovie(m_movie);
    m_movie->jumpToFrame(0);  // the first frame is there before the first show
    hide();
}

void ProgressPanel::showEvent(QShowEvent* event) {
    QFrame::showEvent(event);
    m_movie->start();
}

// A panel whose parent goes out of sight is hidden too, and gets this as well.
void ProgressPanel::hideEvent(QHideEvent* event) {
    QFrame::hideEvent(event);
    m_movie->stop();
}

}  // namespace plintor
