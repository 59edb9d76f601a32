#pragma once

#include <QList>
#include <QWidget>
#include <vector>

#include "core/config/Settings.h"

class QAction;

namespace plintor {

class TPictureButton;
class TScreenMetrics;

// The visitor's controls above the page: back, forward, the URL buttons (the first is the
// home button) and the keyboard button at the right.
class TNavigationPanel final : public QWidget {
    Q_OBJECT
public:
    TNavigationPanel(const TScreenMetrics& metrics, QAction* back, QAction* forward, QAction* touch,
                     QWidget* parent);

    // Places one button per entry from left to right with the gap between back and forward;
    // a "#" caption shows `homeGlyph` alone, an empty one the address.
    void LayoutNavButtons(const std::vector<TNavButton>& buttons, const QPixmap& homeGlyph);

    TPictureButton* HomeButton() const { return FURLButtons.front(); }
    TPictureButton* TouchButton() const { return FTouch; }

signals:
    // The URL button at `tag` (1 for the home button) was pressed.
    void urlButtonClicked(int tag);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    TPictureButton* NewURLButton(int tag);

    const TScreenMetrics& FMetrics;
    TPictureButton* FBack;
    TPictureButton* FForward;
    TPictureButton* FTouch;
    QList<TPictureButton*> FURLButtons;
};

}  // namespace plintor
