#pragma once

#include <QUrl>
#include <QWebEnginePage>

namespace plintor {

// Stands in for a window a page asked for: it catches the address the new window would have
// opened, refuses to load anything, and removes itself.
class NewWindowCatcher final : public QWebEnginePage {
    Q_OBJECT
public:
    NewWindowCatcher(QWebEngineProfile* profile, QObject* parent);

signals:
    void caught(const QUrl& url);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;

private:
    bool m_caught = false;
};

}  // namespace plintor
