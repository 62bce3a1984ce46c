// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// Reading the screen beneath the compass: from the root window of a virtual
// X server, and from a stand-in screenshot portal on a private bus, as on a
// Wayland session.

#include "platform/screenpixels.h"
#include "xdesktop.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

using namespace orvanta;
using namespace orvanta::test;

namespace {

// A picture in which every pixel says where it is.
QRgb patternAt(int x, int y) {
    return qRgb(x % 256, y % 256, (x / 256) * 32 + (y / 256) * 4);
}

QImage pattern(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            image.setPixel(x, y, patternAt(x, y));
    return image;
}

// How many pixels of `part` differ from `whole`'s at `offset` (alpha aside).
int differing(const QImage& part, const QImage& whole, QPoint offset) {
    int count = 0;
    for (int y = 0; y < part.height(); ++y)
        for (int x = 0; x < part.width(); ++x)
            count += (part.pixel(x, y) | 0xff000000u) !=
                     (whole.pixel(offset + QPoint(x, y)) | 0xff000000u);
    return count;
}

class PortalTest : public testing::Test {
protected:
    // Starts the stand-in portal serving `picture`; false when it cannot run.
    bool startPortal(const QStringList& mode = {}) {
        if (!bus.ok() || !folder.isValid())
            return false;
        pattern(kDesktop).save(folder.filePath("desktop.png"));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DBUS_SESSION_BUS_ADDRESS", bus.address());
        portal.setProcessEnvironment(env);
        portal.start(QStringLiteral(ORVANTA_BIN_DIR "/orvanta_fakeportal"),
                     QStringList{folder.filePath("desktop.png")} + mode);
        return waitFor([&] { return portal.canReadLine(); }) && portal.readLine() == "ready\n";
    }

    // What the reader hands back for `rect`, waiting for the portal's answer.
    std::pair<QImage, QString> grab(const QRect& rect) {
        QDBusConnection connection =
            QDBusConnection::connectToBus(bus.address(), QStringLiteral("portal-test"));
        PortalScreenPixels reader(connection);
        std::optional<std::pair<QImage, QString>> result;
        reader.grab(rect, [&](const QImage& pixels, const QString& error) {
            result.emplace(pixels, error);
        });
        waitFor([&] {
            QCoreApplication::processEvents();
            return result.has_value();
        });
        QDBusConnection::disconnectFromBus(QStringLiteral("portal-test"));
        return result.value_or(std::pair<QImage, QString>{});
    }

    void TearDown() override {
        portal.kill();
        portal.waitForFinished();
    }

    static constexpr QSize kDesktop{640, 400};
    PrivateBus bus;
    QTemporaryDir folder;
    QProcess portal;
};

TEST_F(PortalTest, CutsTheRectangleFromTheDesktopsScreenshotWithoutADialog) {
    if (!startPortal())
        GTEST_SKIP() << "needs dbus-daemon";
    // Reaching past the desktop's right edge: those pixels are not there.
    const QRect rect(600, 150, 100, 80);
    const auto [pixels, error] = grab(rect);
    ASSERT_EQ(pixels.size(), rect.size()) << error.toStdString();
    EXPECT_EQ(pixels.pixel(0, 0), patternAt(600, 150));
    EXPECT_EQ(pixels.pixel(39, 79), patternAt(639, 229));
    EXPECT_EQ(qAlpha(pixels.pixel(40, 0)), 0);
    EXPECT_EQ(portal.readLine(), "screenshot interactive=false modal=false\n");
    // The file the portal wrote for us is gone.
    const QString saved = QString::fromLocal8Bit(portal.readLine()).trimmed();
    ASSERT_TRUE(saved.startsWith("saved /"));
    EXPECT_FALSE(QFile::exists(saved.mid(6)));
}

TEST_F(PortalTest, SaysSoWhenTheUserRefuses) {
    if (!startPortal({"deny"}))
        GTEST_SKIP() << "needs dbus-daemon";
    const auto [pixels, error] = grab(QRect(10, 10, 50, 50));
    EXPECT_TRUE(pixels.isNull());
    EXPECT_EQ(error, "The screenshot was not allowed.");
}

TEST_F(PortalTest, SaysSoWhenThereIsNoPortal) {
    if (!bus.ok())
        GTEST_SKIP() << "needs dbus-daemon";
    const auto [pixels, error] = grab(QRect(10, 10, 50, 50));
    EXPECT_TRUE(pixels.isNull());
    EXPECT_EQ(error, "The desktop offers no screenshot portal: the screen cannot be read.");
}

// The root window read through the socket (small) and through shared memory
// (large) equals the screen as xwd sees it, row for row; beyond the screen's
// edge nothing is read.
TEST(X11ScreenPixels, ReadsTheRootWindowAsTheScreenShowsIt) {
    VirtualDesktop desktop(QSize(1280, 800), {}, false);
    if (!desktop.ok())
        GTEST_SKIP() << "needs Xvfb";
    QTemporaryDir folder;
    const QString picture = folder.filePath("pattern.png");
    pattern(QSize(1280, 800)).save(picture);
    desktop.run("display", {"-window", "root", picture});
    X11ScreenPixels reader(desktop.environment().value("DISPLAY").toLocal8Bit());
    const QImage screen = desktop.screenshot().convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(screen.isNull());
    // At once, and in two halves through the shared memory kept between
    // reads, where a second request replaces the first.
    const std::function<QImage(const QRect&)> ways[] = {
        [&](const QRect& r) { return reader.read(r); },
        [&](const QRect& r) {
            reader.request(QRect(0, 0, 8, 8));
            reader.request(r);
            return reader.collect();
        }};
    for (const auto& readOf : ways) {
        for (const QRect& rect : {QRect(37, 23, 50, 40), QRect(101, 53, 900, 600)}) {
            const QImage pixels = readOf(rect);
            ASSERT_EQ(pixels.size(), rect.size());
            EXPECT_EQ(differing(pixels, screen, rect.topLeft()), 0) << rect.x() << "," << rect.y();
        }
        // Past the screen's edges: the corner pixel in its place, and nothing
        // beside it.
        for (const QPoint corner : {QPoint(1279, 799), QPoint(0, 0)}) {
            const QRect rect(corner - QPoint(9, 9), QSize(20, 20));
            const QImage edge = readOf(rect);
            const QPoint at = corner - rect.topLeft();
            const QPoint off = at + (corner.x() == 0 ? QPoint(-1, 0) : QPoint(1, 0));
            EXPECT_EQ(edge.pixel(at) | 0xff000000u, screen.pixel(corner)) << corner.x();
            EXPECT_EQ(qAlpha(edge.pixel(off)), 0) << corner.x();
        }
    }
    EXPECT_TRUE(reader.collect().isNull()); // nothing asked for since
}

} // namespace
