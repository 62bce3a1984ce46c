// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// What the X11 code of this layer shares: Qt's connection, owned replies and
// the logging of refused requests.

#include <QtGlobal>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <xcb/xcb.h>

namespace orvanta {

// xcb replies are malloc'ed by the library.
template <typename Reply> using ReplyPtr = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply> ReplyPtr<Reply> owned(Reply* reply) {
    return ReplyPtr<Reply>(reply, &std::free);
}

// Qt's X connection; null off X11.
[[nodiscard]] xcb_connection_t* x11Connection();

// Logs an error the X server sent for a request (orvanta.x11) and frees it;
// false without one.
bool refused(xcb_generic_error_t* error, const char* what);

// Whether the server keeps pixels of `depth` as our images do: 32 bits each,
// rows padded to 32 bits, least significant byte first.
[[nodiscard]] bool keepsPixelsAsWeDo(xcb_connection_t* c, std::uint8_t depth);

// A shared memory segment the X server has attached (MIT-SHM).
struct SharedSegment {
    std::uint32_t id = 0; // the server's name for it
    uchar* memory = nullptr;
    std::size_t size = 0;
};

// Makes a segment of `bytes` and has the server attach it, read-only for the
// server when it only reads from it. Nothing when the system or the server
// refuses (logged under orvanta.x11 with `purpose`, "to read the screen").
[[nodiscard]] std::optional<SharedSegment>
attachSharedSegment(xcb_connection_t* c, std::size_t bytes, bool readOnly, const char* purpose);

} // namespace orvanta
