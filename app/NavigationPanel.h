#pragma once

#include <QList>
#include <QWidget>
#include <vector>

#include "core/config/KioskSettings.h"

class QAction;

namespace plintor {

class PictureButton;
class ScreenMetrics;

// The visitor's controls above the page: back, forward, the URL buttons (the first is the
// home button) and the keyboard button at the right.
class NavigationPanel final : public QWidget {
    Q_OBJECT
public:
    NavigationPanel(const ScreenMetrics& metrics, QAction* back, QAction* forward, QAction* touch,
                    QWidget* parent);

    // Places one button per entry from left to right with the gap between back and forward;
    // a "#" caption shows `homeGlyph` alone, an empty one the address.
    void layoutNavButtons(const std::vector<NavButton>& buttons, const QPixmap& homeGlyph);

    PictureButton* homeButton() const { return m_furlButtons.front(); }
    PictureButton* touchButton() const { return m_touch; }

signals:
    // The URL button at `tag` (1 for the home button) was pressed.
    void urlButtonClicked(int tag);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    PictureButton* newUrlButton(int tag);

    const ScreenMetrics& m_metrics;
    PictureButton* m_back;
    PictureButton* m_forward;
    PictureButton* m_touch;
    QList<PictureButton*> m_furlButtons;
};

}  // namespace plintor
