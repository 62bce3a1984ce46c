// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// A plain window of one known colour that window tests put under the compass:
// blended pixels then have a known background, and a click that passes through
// the compass lands here and is printed ("click X Y") on standard output.
//
//   orvanta_backdrop [COLOUR [WxH+X+Y [WM-NAME]]]
//
// With WM-NAME the window also stands for a window manager of that name (the
// EWMH check window), so the program treats the desktop as that one's.
#include <QApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QRegularExpression>
#include <QScreen>
#include <QWidget>
#include <cstdio>
#include <cstring>
#include <xcb/xcb.h>

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

xcb_atom_t atom(xcb_connection_t* c, const char* name) {
    xcb_intern_atom_reply_t* reply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::strlen(name), name), nullptr);
    const xcb_atom_t a = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return a;
}

void standForWindowManager(xcb_window_t window, const char* name) {
    const auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* c = x11 ? x11->connection() : nullptr;
    if (!c)
        return;
    const xcb_atom_t check = atom(c, "_NET_SUPPORTING_WM_CHECK");
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    for (const xcb_window_t on : {root, window})
        xcb_change_property(c, XCB_PROP_MODE_REPLACE, on, check, XCB_ATOM_WINDOW, 32, 1, &window);
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, atom(c, "_NET_WM_NAME"),
                        atom(c, "UTF8_STRING"), 8, std::strlen(name), name);
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
}

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
    if (argc > 3)
        standForWindowManager(static_cast<xcb_window_t>(w.winId()), argv[3]);
    std::printf("ready %llu\n", static_cast<unsigned long long>(w.winId()));
    std::fflush(stdout);
    return app.exec();
}
