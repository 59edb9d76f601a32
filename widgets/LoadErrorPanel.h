#pragma once

#include <gtk/gtk.h>

#include <functional>
#include <string>

#include "glib/GObjectRef.h"
#include "widgets/PictureButton.h"
#include "widgets/WidgetCss.h"

namespace plintor {

class ScreenMetrics;

// The kiosk's own page for a page that cannot be loaded: it covers the page with the
// operator's message, the address in question, a line while the network is down, and a
// "Home" button. Nothing of it is the page's, so no page can draw over it or script it, and
// it never takes the keyboard focus. Its owner lays it over the page.
class LoadErrorPanel {
public:
    explicit LoadErrorPanel(const ScreenMetrics& metrics);
    LoadErrorPanel(const LoadErrorPanel&) = delete;
    LoadErrorPanel& operator=(const LoadErrorPanel&) = delete;
    ~LoadErrorPanel();

    GtkWidget* widget() const { return m_page.get(); }

    void onHome(std::function<void()> home) { m_home = std::move(home); }

    // `address` as the visitor may see it (no password in it).
    void show(const std::string& message, const std::string& address);
    void setOffline(bool offline);
    void hide();
    bool isShown() const;

private:
    GObjectRef<GtkWidget> m_page;
    GtkWidget* m_message;  // owned by the page
    GtkWidget* m_address;
    GtkWidget* m_offline;
    WidgetCss m_css;
    PictureButton m_homeButton;
    std::function<void()> m_home;
};

}  // namespace plintor
