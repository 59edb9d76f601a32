// The yardstick for the kiosk's idle cost, start-up time and memory: nothing but a full-screen
// web view that loads one page. Prints "Loaded <ms>" (milliseconds since the program started)
// once the page has loaded, and "Failed <ms>" when it could not.
#include <QApplication>
#include <QElapsedTimer>
#include <QTextStream>
#include <QUrl>
#include <QWebEngineView>

int main(int argc, char* argv[]) {
    QElapsedTimer started;
    started.start();
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() != 2) {
        QTextStream(stderr) << "usage: plintor_minimal_view ADDRESS\n";
        return 2;
    }
    QWebEngineView view;
    bool reported = false;
    QObject::connect(&view, &QWebEngineView::loadFinished, &view, [&](bool ok) {
        if (!reported) {
            reported = true;
            QTextStream(stdout) << (ok ? "Loaded " : "Failed ") << started.elapsed() << Qt::endl;
        }
    });
    view.load(QUrl::fromUserInput(arguments.at(1)));
    view.showFullScreen();
    return QApplication::exec();
}
