// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#pragma once
// What many tests need: whole files read and written (folders made on the
// way), a skin folder of the smallest kind, and the message a call throws.

#include "model/orvantaerror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <functional>
#include <gtest/gtest.h>

namespace orvanta::test {

// The file's bytes; empty when it cannot be read.
inline QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Writes `bytes` as the whole of `path`, making its folder first; returns the path.
inline QString writeAll(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size())
        << path.toStdString();
    return path;
}

// A skin in `folder`: a definition `file` that names it `name`, and its 20 x 10
// picture pic.png unless the skin is to be broken. Returns the definition's path.
inline QString writeSkin(const QString& folder, const QString& name,
                         const QString& file = QStringLiteral("skin.ini"), bool picture = true) {
    QDir().mkpath(folder);
    if (picture)
        QImage(20, 10, QImage::Format_ARGB32).save(folder + QStringLiteral("/pic.png"));
    return writeAll(folder + u'/' + file,
                    ("[一般]\n名称=" + name + "\n[Horizontal]\nImage=pic.png\n").toUtf8());
}

// The message of the OrvantaError that `call` throws, or "<no error>".
inline QString errorOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const OrvantaError& e) {
        return e.message();
    }
    return QStringLiteral("<no error>");
}

} // namespace orvanta::test
