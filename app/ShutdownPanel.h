#pragma once

#include <QWidget>

class QAction;
class QFrame;
class QLabel;
class QLineEdit;

namespace plintor {

class TScreenMetrics;

// The operator's way out: a centred box with a password field and the four session actions,
// shown in the page's place.
class TShutdownPanel final : public QWidget {
    Q_OBJECT
public:
    // `actions`: shut down, restart, log off, exit, in that order.
    TShutdownPanel(const TScreenMetrics& metrics, const QList<QAction*>& actions, QWidget* parent);

    // Shows `heading` and an empty password field with the focus.
    void Open(const QString& heading);
    // True when the field holds `password` exactly; otherwise says so and clears the field.
    bool CheckPassword(const std::string& password);
    void CenterShutdownBox();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QFrame* FBox;
    QLabel* FHeading;
    QLineEdit* FPassword;
};

}  // namespace plintor
