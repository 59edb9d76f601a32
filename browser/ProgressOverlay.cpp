#include "browser/ProgressOverlay.h"

#include <algorithm>

#include "core/browser/ProgressRule.h"

namespace plintor {

void ProgressOverlay::place(GtkWidget* indicator, GtkWidget* page) {
    m_indicator = indicator;
    gtk_widget_set_halign(indicator, GTK_ALIGN_CENTER);
    gtk_widget_set_valign(indicator, GTK_ALIGN_CENTER);
    gtk_widget_set_visible(indicator, FALSE);
    gtk_overlay_add_overlay(GTK_OVERLAY(page), indicator);
}

void ProgressOverlay::loadStarted() {
    ++m_downCount;
    m_downTime = m_clock.now();
}

void ProgressOverlay::loadFinished() {
    m_downCount = std::max(0, m_downCount - 1);
    progressChanged();  // the last word on the indicator
}

void ProgressOverlay::progressChanged() {
    show(progressIndicatorVisible(m_downCount, m_downTime, m_clock.now()));
}

void ProgressOverlay::show(bool visible) {
    if (m_indicator != nullptr) {
        gtk_widget_set_visible(m_indicator, visible);
    }
}

void ProgressOverlay::reset() {
    show(false);
    m_downCount = 0;
}

}  // namespace plintor
