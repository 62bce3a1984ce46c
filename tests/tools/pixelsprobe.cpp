// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// Checks that frames put from shared memory wait for the X server: the server
// reads a frame's pixels from the segment only when it handles the put, so the
// next frame must not be written into the segment before then. Another client
// holds the server (a server grab) while a first frame is put and lets go a
// moment later; the second frame's put must not return before that.
//
//   orvanta_pixelsprobe   prints "waited W shown RRGGBB": W is 1 when the
//                         second put returned only after the server was let
//                         go, RRGGBB the colour the window shows at the end.
#include "platform/windowpixels.h"
#include "platform/xcbsupport.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QWindow>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <thread>

using namespace orvanta;

namespace {

// Every request sent on `c` so far has been handled and answered.
void sync(xcb_connection_t* c) {
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
}

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    QWindow window;
    window.setFlags(Qt::FramelessWindowHint);
    window.setGeometry(20, 20, 64, 64);
    window.show();
    QElapsedTimer shown;
    shown.start();
    while (!window.isExposed() && shown.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    xcb_connection_t* qt = x11Connection();
    if (!window.isExposed() || !qt) {
        std::puts("no window");
        return 1;
    }

    X11WindowPixels pixels;
    QImage image(window.size(), QImage::Format_ARGB32_Premultiplied);
    const auto frame = [&](QRgb colour) {
        image.fill(colour);
        return pixels.put(window.winId(), image, image.rect());
    };
    if (!frame(0xff00ff00)) {
        std::puts("no shared memory");
        return 1;
    }
    sync(qt); // the first frame's fence has its reply

    xcb_connection_t* holder = xcb_connect(nullptr, nullptr);
    xcb_grab_server(holder);
    sync(holder);      // the grab is in force
    frame(0xffff0000); // its put waits in the server behind the grab
    std::atomic<bool> letGo = false;
    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        letGo = true;
        xcb_ungrab_server(holder);
        xcb_flush(holder);
    });
    frame(0xff0000ff);
    const bool waited = letGo;
    release.join();
    xcb_disconnect(holder);

    sync(qt);
    const auto shot =
        owned(xcb_get_image_reply(qt,
                                  xcb_get_image(qt, XCB_IMAGE_FORMAT_Z_PIXMAP,
                                                xcb_drawable_t(window.winId()), 32, 32, 1, 1, ~0u),
                                  nullptr));
    const std::uint32_t colour =
        shot ? *reinterpret_cast<const std::uint32_t*>(xcb_get_image_data(shot.get())) : 0;
    std::printf("waited %d shown %06x\n", int(waited), unsigned(colour & 0xffffff));
    return 0;
}
