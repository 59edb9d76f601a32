#pragma once

#include <gtk/gtk.h>

#include "core/support/Clock.h"
#include "core/support/LocalTime.h"

namespace plintor {

// The progress indicator floated over the page: shown while a navigation is slow to load (the
// core's progress rule), or while the document handling fetches, and hidden otherwise. No
// indicator, nothing shown.
class ProgressOverlay {
public:
    explicit ProgressOverlay(const Clock& clock) : m_clock(clock) {}

    // Floats `indicator` over `page` (a GtkOverlay), hidden.
    void place(GtkWidget* indicator, GtkWidget* page);
    void loadStarted();
    void loadFinished();
    // The engine's estimate moved on, or a load ended: the rule decides again.
    void progressChanged();
    // The document handling says so itself.
    void show(bool visible);
    // The page went: nothing of its loads counts any more.
    void reset();

private:
    const Clock& m_clock;
    GtkWidget* m_indicator = nullptr;
    LocalTime m_downTime;
    int m_downCount = 0;
};

}  // namespace plintor
