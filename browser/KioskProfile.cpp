#include "browser/KioskProfile.h"

#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <memory>

namespace plintor {

QWebEngineProfile* createKioskProfile(QObject* parent) {
    auto* profile = new QWebEngineProfile(parent);  // no storage name: off the record
    profile->setHttpCacheType(QWebEngineProfile::MemoryHttpCache);
    profile->setPersistentCookiesPolicy(QWebEngineProfile::NoPersistentCookies);
    QWebEngineSettings* settings = profile->settings();
    settings->setAttribute(QWebEngineSettings::PluginsEnabled, true);
    settings->setAttribute(QWebEngineSettings::PdfViewerEnabled, true);
    settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, true);
    settings->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
    settings->setAttribute(QWebEngineSettings::FullScreenSupportEnabled, false);
    settings->setAttribute(QWebEngineSettings::ScreenCaptureEnabled, false);
    settings->setAttribute(QWebEngineSettings::FocusOnNavigationEnabled, true);
    return profile;
}

bool kioskBrowsersShowPdf() {
    const std::unique_ptr<QWebEngineProfile> profile(createKioskProfile(nullptr));
    const QWebEngineSettings* settings = profile->settings();
    return settings->testAttribute(QWebEngineSettings::PdfViewerEnabled) &&
           settings->testAttribute(QWebEngineSettings::PluginsEnabled);
}

}  // namespace plintor
