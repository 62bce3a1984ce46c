// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// A plain window of one known colour that window tests put under the compass:
// blended pixels then have a known background, and a click that passes through
// the compass lands here and is printed ("click X Y") on standard output.
#include <QApplication>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QScreen>
#include <QWidget>
#include <cstdio>

namespace {

class Backdrop : public QWidget {
public:
    explicit Backdrop(const QColor& colour) {
        setAutoFillBackground(true);
        QPalette p = palette();
        p.setColor(QPalette::Window, colour);
        setPalette(p);
        setWindowFlags(Qt::FramelessWindowHint);
    }

protected:
    void mousePressEvent(QMouseEvent* e) override {
        const QPoint g = e->globalPosition().toPoint();
        std::printf("click %d %d\n", g.x(), g.y());
        std::fflush(stdout);
    }
};

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_ENABLE_HIGHDPI_SCALING", "0");
    QApplication app(argc, argv);
    Backdrop w(QColor(argc > 1 ? argv[1] : "#204080"));
    // A window manager takes an undecorated window the size of the screen for
    // a full-screen one and may stack it above everything: a geometry can be
    // given instead, as X11 geometry (WxH+X+Y).
    QRect geometry = app.primaryScreen()->virtualGeometry();
    if (argc > 2) {
        const QRegularExpressionMatch m =
            QRegularExpression(QStringLiteral("^(\\d+)x(\\d+)\\+(\\d+)\\+(\\d+)$"))
                .match(QString::fromLocal8Bit(argv[2]));
        if (m.hasMatch())
            geometry = QRect(m.captured(3).toInt(), m.captured(4).toInt(), m.captured(1).toInt(),
                             m.captured(2).toInt());
    }
    w.setGeometry(geometry);
    w.show();
    std::printf("ready %llu\n", static_cast<unsigned long long>(w.winId()));
    std::fflush(stdout);
    return app.exec();
}
