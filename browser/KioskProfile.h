#pragma once

class QObject;
class QWebEngineProfile;

namespace plintor {

// The browsing profile of the kiosk's browsers: nothing of a visitor's session is written to
// disk, the engine's PDF viewer is on, pages may open windows (which the kiosk turns into
// navigations) but not take the screen or the clipboard.
QWebEngineProfile* createKioskProfile(QObject* parent);

// Whether the kiosk's browsers show PDF documents themselves (with the viewer's parameters).
bool kioskBrowsersShowPdf();

}  // namespace plintor
