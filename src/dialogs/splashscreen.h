// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// The splash window: the artwork with the maker's link and the version, shown
// while the compass is built. It closes itself after 2.5 s or on a click.

#include <QTimer>
#include <QWidget>

class QLabel;

namespace orvanta {

class CursorSource;
class Shell;

class SplashScreen : public QWidget {
    Q_OBJECT

public:
    // `cursors` may be null (no pointer feedback then); `webLink` is opened
    // through `shell` by the link label. `shell` must outlive the window.
    SplashScreen(CursorSource* cursors, Shell& shell, QString webLink);

    // Shows the window and paints it at once, before the main window is built.
    void showNow();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTimer m_timer;
    QLabel* m_link;
    CursorSource* m_cursors;
    Shell& m_shell;
    QString m_webLink;
};

} // namespace orvanta
