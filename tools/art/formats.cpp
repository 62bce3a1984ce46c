// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "formats.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <stdexcept>

namespace orvanta::art {

namespace {

constexpr int kBmpFileHeaderSize = 14;
constexpr int kBmpInfoHeaderSize = 40;
constexpr int kIconDirSize = 6;
constexpr int kIconDirEntrySize = 16;
constexpr int kAniHeaderSize = 36;
constexpr quint32 kAniFlagIcon = 1;     // frames are .ico/.cur data, not raw bitmaps
constexpr quint32 kAniFlagSequence = 2; // a "seq " chunk gives the playing order

class Bytes {
public:
    void u8(quint8 v) { m_data.append(char(v)); }
    void u16(quint16 v) {
        u8(quint8(v));
        u8(quint8(v >> 8));
    }
    void u32(quint32 v) {
        u16(quint16(v));
        u16(quint16(v >> 16));
    }
    void tag(const char (&fourCC)[5]) { m_data.append(fourCC, 4); }
    void raw(const QByteArray& b) { m_data.append(b); }
    // A RIFF chunk: id, size, data, and a pad byte when the size is odd.
    void chunk(const char (&fourCC)[5], const QByteArray& body) {
        tag(fourCC);
        u32(quint32(body.size()));
        raw(body);
        if (body.size() % 2)
            u8(0);
    }
    [[nodiscard]] const QByteArray& data() const { return m_data; }

private:
    QByteArray m_data;
};

// The DIB of an icon or cursor image: a BITMAPINFOHEADER whose height counts
// both the colour rows and the AND mask rows, the BGRA rows bottom-up, then a
// 1-bit mask that is set where the pixel is fully transparent.
QByteArray iconDib(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const int w = image.width();
    const int h = image.height();
    const int maskStride = ((w + 31) / 32) * 4;
    Bytes b;
    b.u32(kBmpInfoHeaderSize);
    b.u32(quint32(w));
    b.u32(quint32(2 * h));
    b.u16(1);  // planes
    b.u16(32); // bits per pixel
    b.u32(0);  // BI_RGB
    b.u32(quint32(w * h * 4 + maskStride * h));
    b.u32(0);
    b.u32(0);
    b.u32(0);
    b.u32(0);
    for (int y = h - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x)
            b.u32(row[x]); // ARGB32 in memory order is B, G, R, A
    }
    for (int y = h - 1; y >= 0; --y) {
        QByteArray mask(maskStride, '\0');
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x)
            if (qAlpha(row[x]) == 0)
                mask[x / 8] = char(quint8(mask[x / 8]) | (0x80 >> (x % 8)));
        b.raw(mask);
    }
    return b.data();
}

} // namespace

QByteArray bmp24(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    const int w = image.width();
    const int h = image.height();
    const int stride = ((w * 3 + 3) / 4) * 4;
    const int offset = kBmpFileHeaderSize + kBmpInfoHeaderSize;
    Bytes b;
    b.u8('B');
    b.u8('M');
    b.u32(quint32(offset + stride * h));
    b.u32(0);
    b.u32(quint32(offset));
    b.u32(kBmpInfoHeaderSize);
    b.u32(quint32(w));
    b.u32(quint32(h));
    b.u16(1);
    b.u16(24);
    b.u32(0);
    b.u32(quint32(stride * h));
    b.u32(2835); // 72 dpi in pixels per metre
    b.u32(2835);
    b.u32(0);
    b.u32(0);
    for (int y = h - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            b.u8(quint8(qBlue(row[x])));
            b.u8(quint8(qGreen(row[x])));
            b.u8(quint8(qRed(row[x])));
        }
        for (int pad = w * 3; pad < stride; ++pad)
            b.u8(0);
    }
    return b.data();
}

QByteArray iconFile(const std::vector<IconImage>& images, bool cursor) {
    std::vector<QByteArray> dibs;
    for (const IconImage& i : images)
        dibs.push_back(iconDib(i.image));
    Bytes b;
    b.u16(0);
    b.u16(cursor ? 2 : 1);
    b.u16(quint16(images.size()));
    quint32 offset = kIconDirSize + kIconDirEntrySize * quint32(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        const QImage& img = images[i].image;
        // A size of 256 is written as 0; nothing here is that large.
        b.u8(quint8(img.width()));
        b.u8(quint8(img.height()));
        b.u8(0); // no palette
        b.u8(0);
        if (cursor) {
            b.u16(quint16(images[i].hotspot.x()));
            b.u16(quint16(images[i].hotspot.y()));
        } else {
            b.u16(1);
            b.u16(32);
        }
        b.u32(quint32(dibs[i].size()));
        b.u32(offset);
        offset += quint32(dibs[i].size());
    }
    for (const QByteArray& dib : dibs)
        b.raw(dib);
    return b.data();
}

QByteArray aniFile(const std::vector<AniFrame>& frames, const QString& title) {
    if (frames.empty())
        throw std::runtime_error("an animated cursor needs at least one frame");
    const QSize size = frames.front().cursor.image.size();
    const auto count = quint32(frames.size());

    Bytes header;
    header.u32(kAniHeaderSize);
    header.u32(count); // frames
    header.u32(count); // steps
    header.u32(quint32(size.width()));
    header.u32(quint32(size.height()));
    header.u32(32);
    header.u32(1);
    header.u32(quint32(frames.front().jiffies));
    header.u32(kAniFlagIcon | kAniFlagSequence);

    Bytes rate;
    Bytes sequence;
    Bytes frameList;
    frameList.tag("fram");
    for (quint32 i = 0; i < count; ++i) {
        rate.u32(quint32(frames[i].jiffies));
        sequence.u32(i);
        frameList.chunk("icon", iconFile({frames[i].cursor}, true));
    }

    Bytes info;
    info.tag("INFO");
    QByteArray name = title.toLatin1();
    name.append('\0');
    info.chunk("INAM", name);

    Bytes body;
    body.tag("ACON");
    body.chunk("LIST", info.data());
    body.chunk("anih", header.data());
    body.chunk("rate", rate.data());
    body.chunk("seq ", sequence.data());
    body.chunk("LIST", frameList.data());

    Bytes file;
    file.chunk("RIFF", body.data());
    return file.data();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw std::runtime_error(
            QStringLiteral("cannot write \"%1\": %2").arg(path, file.errorString()).toStdString());
}

void writePng(const QString& path, const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.convertToFormat(QImage::Format_ARGB32).save(&buffer, "PNG"))
        throw std::runtime_error(
            QStringLiteral("cannot encode \"%1\" as PNG").arg(path).toStdString());
    writeBytes(path, bytes);
}

} // namespace orvanta::art
