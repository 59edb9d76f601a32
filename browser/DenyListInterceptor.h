#pragma once

#include <QWebEngineUrlRequestInterceptor>

namespace plintor {

class UrlLists;

// Applies the deny list to every request a page makes below its own navigation: images,
// scripts, style sheets, fetch and XHR, web sockets, beacons, workers. Never the allow list:
// pages need their content delivery hosts. Refused requests are counted, not logged one by
// one, so that a page full of trackers cannot flood the log. Called on the user-interface
// thread.
class DenyListInterceptor final : public QWebEngineUrlRequestInterceptor {
    Q_OBJECT
public:
    DenyListInterceptor(const UrlLists& lists, QObject* parent);

    void interceptRequest(QWebEngineUrlRequestInfo& info) override;

    // The requests refused since the last call.
    int takeBlockedCount();

private:
    const UrlLists& m_lists;
    int m_blocked = 0;
};

}  // namespace plintor
