// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// Says which of the program's animated cursors the X server shows right now.
// Window tests cannot see the cursor in a screenshot; XFixes hands out its
// image, which this compares with every frame of every .ani file in a folder.
//
//   orvanta_cursorprobe FOLDER   prints the matching file name ("hand.ani"),
//                                or "unknown WxH" when no frame matches.
#include "platform/anicursor.h"

#include <QDir>
#include <QImage>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <xcb/xcb.h>
#include <xcb/xfixes.h>

namespace {

struct FreeDeleter {
    void operator()(void* p) const { std::free(p); }
};

// The server's cursor as a premultiplied ARGB image, with its hotspot.
bool serverCursor(QImage& image, QPoint& hotspot) {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c))
        return false;
    // XFixes answers nothing before the client says which version it speaks.
    std::unique_ptr<xcb_xfixes_query_version_reply_t, FreeDeleter> version(
        xcb_xfixes_query_version_reply(c, xcb_xfixes_query_version(c, 4, 0), nullptr));
    std::unique_ptr<xcb_xfixes_get_cursor_image_reply_t, FreeDeleter> reply(
        xcb_xfixes_get_cursor_image_reply(c, xcb_xfixes_get_cursor_image(c), nullptr));
    if (reply) {
        const uint32_t* pixels = xcb_xfixes_get_cursor_image_cursor_image(reply.get());
        image = QImage(reply->width, reply->height, QImage::Format_ARGB32_Premultiplied);
        for (int y = 0; y < reply->height; ++y)
            std::copy_n(pixels + y * reply->width, reply->width,
                        reinterpret_cast<uint32_t*>(image.scanLine(y)));
        hotspot = QPoint(reply->xhot, reply->yhot);
    }
    xcb_disconnect(c);
    return reply != nullptr;
}

bool sameCursor(const orvanta::AniFrame& frame, const QImage& image, QPoint hotspot) {
    return frame.hotspot == hotspot &&
           frame.image.convertToFormat(QImage::Format_ARGB32_Premultiplied) == image;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: orvanta_cursorprobe FOLDER\n", stderr);
        return 2;
    }
    QImage image;
    QPoint hotspot;
    if (!serverCursor(image, hotspot)) {
        std::fputs("no cursor image from the X server\n", stderr);
        return 1;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    for (const QString& name : folder.entryList({QStringLiteral("*.ani")}, QDir::Files)) {
        const orvanta::AniCursorData data = orvanta::loadAniFile(folder.filePath(name));
        for (const orvanta::AniFrame& frame : data.frames) {
            if (sameCursor(frame, image, hotspot)) {
                std::printf("%s\n", qPrintable(name));
                return 0;
            }
        }
    }
    std::printf("unknown %dx%d\n", image.width(), image.height());
    return 0;
}
