#pragma once

#include <QWebEngineUrlRequestInterceptor>
#include <functional>
#include <string_view>

namespace plintor {

// Applies the deny list to every request a page makes below its own navigation: images,
// scripts, style sheets, fetch and XHR, web sockets, beacons, workers. Never the allow list:
// pages need their content delivery hosts. Refused requests are counted, not logged one by
// one, so that a page full of trackers cannot flood the log. Called on the user-interface
// thread.
class DenyListInterceptor final : public QWebEngineUrlRequestInterceptor {
    Q_OBJECT
public:
    // `denied` is the deny list's decision on an address.
    DenyListInterceptor(std::function<bool(std::string_view)> denied, QObject* parent);

    void interceptRequest(QWebEngineUrlRequestInfo& info) override;

    // The requests refused since the last call.
    int takeBlockedCount();

private:
    std::function<bool(std::string_view)> m_denied;
    int m_blocked = 0;
};

}  // namespace plintor
