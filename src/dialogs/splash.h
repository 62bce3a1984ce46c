#pragma once
// The splash window: the artwork with the maker's link and the version, shown
// while the compass is built. It closes itself after 2.5 s or on a click.

#include <QTimer>
#include <QWidget>

class QLabel;

namespace orvanta {

class ICursorTable;

class TfrmSplash : public QWidget {
    Q_OBJECT

public:
    // `cursors` may be null (no pointer feedback then); `webLink` is opened by
    // the link label.
    TfrmSplash(ICursorTable* cursors, QString webLink);

    // Shows the window and paints it at once, before the main window is built.
    void ShowNow();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTimer m_timer;
    QLabel* m_link;
    ICursorTable* m_cursors;
    QString m_webLink;
};

} // namespace orvanta
