#pragma once

#include <QWebEngineUrlRequestInterceptor>

namespace plintor {

class TUrlLists;

// Applies the deny list to every request a page makes below its own navigation: images,
// scripts, style sheets, fetch and XHR, web sockets, beacons, workers. Never the allow list:
// pages need their content delivery hosts. Refused requests are counted, not logged one by
// one, so that a page full of trackers cannot flood the log. Called on the user-interface
// thread.
class TDenyListInterceptor final : public QWebEngineUrlRequestInterceptor {
    Q_OBJECT
public:
    TDenyListInterceptor(const TUrlLists& lists, QObject* parent);

    void interceptRequest(QWebEngineUrlRequestInfo& info) override;

    // The requests refused since the last call.
    int TakeBlockedCount();

private:
    const TUrlLists& FLists;
    int FBlocked = 0;
};

}  // namespace plintor
