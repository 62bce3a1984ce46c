#include "platform/x11shape.h"

#include <QGuiApplication>
#include <QRandomGenerator>
#include <QRegion>
#include <QWidget>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>
#include <xcb/shape.h>
#include <xcb/xcb.h>

using namespace orvanta;

namespace {

// Rows of pixels: '#' opaque, '+' half transparent (alpha 128), '.' clear.
QImage imageFrom(const QStringList& rows) {
    QImage image(int(rows.first().size()), int(rows.size()), QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QChar c = rows[y][x];
            image.setPixel(x, y, qRgba(10, 20, 30, c == u'#' ? 255 : c == u'+' ? 128 : 0));
        }
    return image;
}

TEST(X11Shape, AlphaRunsMergeEqualRunsOfConsecutiveRows) {
    using R = QRect;
    // rows, area (null: all), minimum alpha, rectangles
    const std::vector<std::tuple<const char*, QStringList, QRect, int, QVector<QRect>>> cases = {
        {"EqualRunsMerge", {".##.", ".##.", ".##."}, {}, 1, {R(1, 0, 2, 3)}},
        {"RowBetweenBreaksTheMerge",
         {"#.#", "###", "#.#"},
         {},
         1,
         {R(0, 0, 1, 1), R(2, 0, 1, 1), R(0, 1, 3, 1), R(0, 2, 1, 1), R(2, 2, 1, 1)}},
        {"MatchAfterAnEarlierRun", {"##.#", "...#"}, {}, 1, {R(0, 0, 2, 1), R(3, 0, 1, 2)}},
        {"ThresholdDrops", {"+##+"}, {}, 200, {R(1, 0, 2, 1)}},
        {"AreaClips", {"####", "####", "####"}, R(1, 1, 2, 9), 1, {R(1, 1, 2, 2)}},
    };
    for (const auto& [name, rows, area, minAlpha, expected] : cases) {
        const QImage image = imageFrom(rows);
        EXPECT_EQ(alphaRuns(image, area.isNull() ? image.rect() : area, minAlpha), expected)
            << name;
    }
}

// Every qualifying pixel is covered exactly once and nothing else is, whatever
// the pixel format (RGB32 has no alpha: all opaque); checked by plain pixel reads.
TEST(X11Shape, RunsCoverExactlyTheQualifyingPixels) {
    QRandomGenerator random(7);
    for (const QImage::Format format : {QImage::Format_ARGB32, QImage::Format_ARGB32_Premultiplied,
                                        QImage::Format_RGBA8888, QImage::Format_RGB32}) {
        QImage image(37, 23, QImage::Format_ARGB32);
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                // Mostly solid areas with holes, like a skin.
                const int alpha = random.bounded(4) == 0 ? int(random.bounded(256)) : 255 * (x > y);
                image.setPixel(x, y, qRgba(200, 100, 50, alpha));
            }
        image = image.convertToFormat(format);
        const QRect area(3, 2, 30, 19);
        std::vector<int> covered(image.width() * image.height(), 0);
        for (const QRect& r : alphaRuns(image, area, 128))
            for (int y = r.top(); y <= r.bottom(); ++y)
                for (int x = r.left(); x <= r.right(); ++x)
                    ++covered[y * image.width() + x];
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                ASSERT_EQ(covered[y * image.width() + x],
                          area.contains(x, y) && qAlpha(image.pixel(x, y)) >= 128)
                    << "format " << format << " pixel " << x << "," << y;
    }
}

// The window falls back to a bounding shape when this says false, so it must
// not claim a compositor where there is no X connection at all.
TEST(X11Shape, WithoutX11NothingIsClaimed) {
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
        GTEST_SKIP() << "running on X11";
    EXPECT_FALSE(compositorRunning());
    EXPECT_FALSE(setInputShape(WId(42), {QRect(0, 0, 1, 1)}));
}

template <typename Reply> std::unique_ptr<Reply, decltype(&std::free)> owned(Reply* reply) {
    return {reply, &std::free};
}

// Run with QT_QPA_PLATFORM=xcb and DISPLAY set (e.g. under Xvfb).
TEST(X11Shape, OnX11TheServerSeesShapeAndCompositor) {
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        GTEST_SKIP() << "needs an X server (QT_QPA_PLATFORM=xcb)";
    xcb_connection_t* c =
        qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    QWidget window;
    window.setWindowFlags(Qt::FramelessWindowHint | Qt::Tool);
    window.setGeometry(50, 50, 200, 100);
    window.show();
    const QVector<QRect> rects{QRect(10, 20, 30, 5), QRect(100, 0, 1, 100)};
    ASSERT_TRUE(setInputShape(window.winId(), rects));
    const auto shape = owned(xcb_shape_get_rectangles_reply(
        c, xcb_shape_get_rectangles(c, xcb_window_t(window.winId()), XCB_SHAPE_SK_INPUT), nullptr));
    ASSERT_TRUE(shape);
    // The server keeps the shape in bands of its own: compare the areas.
    QRegion onServer;
    const xcb_rectangle_t* r = xcb_shape_get_rectangles_rectangles(shape.get());
    for (int i = 0; i < xcb_shape_get_rectangles_rectangles_length(shape.get()); ++i)
        onServer += QRect(r[i].x, r[i].y, r[i].width, r[i].height);
    EXPECT_EQ(onServer, QRegion(rects[0]) + rects[1]);

    if (compositorRunning())
        GTEST_SKIP() << "a real compositor runs on this display";
    // Owning the compositor selection ourselves stands in for a compositor.
    int screen = 0;
    char* host = nullptr;
    int display = 0;
    if (xcb_parse_display(nullptr, &host, &display, &screen))
        std::free(host);
    const QByteArray name = "_NET_WM_CM_S" + QByteArray::number(screen);
    const auto atom = owned(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, name.size(), name.constData()), nullptr));
    ASSERT_TRUE(atom);
    xcb_set_selection_owner(c, xcb_window_t(window.winId()), atom->atom, XCB_CURRENT_TIME);
    EXPECT_TRUE(compositorRunning());
    xcb_set_selection_owner(c, XCB_WINDOW_NONE, atom->atom, XCB_CURRENT_TIME);
    EXPECT_FALSE(compositorRunning());
}

} // namespace
