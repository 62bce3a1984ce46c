// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// A plain window of one known colour that window tests put under the compass:
// blended pixels then have a known background, and a click that passes through
// the compass lands here and is printed ("click X Y") on standard output.
#include <QApplication>
#include <QMouseEvent>
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
    w.setGeometry(app.primaryScreen()->virtualGeometry());
    w.show();
    std::printf("ready %llu\n", static_cast<unsigned long long>(w.winId()));
    std::fflush(stdout);
    return app.exec();
}
