// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "model/numbers.h"
#include "platform/anicursor.h"
#include "platform/cursortable.h"
#include "testfiles.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QWidget>
#include <QtEndian>
#include <functional>
#include <gtest/gtest.h>

using namespace orvanta;

namespace {

// Cursor files built by hand, so that every field can be made to lie.
QByteArray dwords(std::initializer_list<quint32> values) {
    QByteArray b(int(values.size()) * 4, '\0');
    int at = 0;
    for (quint32 v : values)
        qToLittleEndian(v, b.data() + 4 * at++);
    return b;
}

QByteArray chunk(const QByteArray& id, const QByteArray& data, bool pad = true) {
    return id + dwords({quint32(data.size())}) + data + QByteArray(pad && data.size() % 2, '\0');
}

constexpr quint32 kIcons = 1;    // frames are ICO/CUR
constexpr quint32 kSequence = 2; // a "seq " chunk exists

QByteArray anih(quint32 frames, quint32 steps, quint32 jifRate, quint32 flags = kIcons) {
    return chunk("anih", dwords({36, frames, steps, 0, 0, 0, 0, jifRate, flags}));
}

// Written by Qt's own ICO writer; a hotspot turns it into a CUR.
QByteArray iconFile(QColor color, std::optional<QPoint> hotspot) {
    QImage image(32, 32, QImage::Format_ARGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(QImageWriter(&buffer, "ico").write(image));
    if (hotspot) {
        qToLittleEndian<quint16>(2, bytes.data() + 2);
        qToLittleEndian<quint16>(quint16(hotspot->x()), bytes.data() + 10);
        qToLittleEndian<quint16>(quint16(hotspot->y()), bytes.data() + 12);
    }
    return bytes;
}

QByteArray frameList(const QList<QByteArray>& icons) {
    QByteArray body = "fram";
    for (const QByteArray& icon : icons)
        body += chunk("icon", icon);
    return chunk("LIST", body);
}

QByteArray riff(const QByteArray& body) {
    return "RIFF" + dwords({quint32(body.size() + 4)}) + "ACON" + body;
}

const QColor kRed(255, 0, 0);
const QColor kBlue(0, 0, 255);
// Made on use, not statically: the image plugins need the application object.
QByteArray redCursor() {
    return iconFile(kRed, QPoint(3, 4));
}

// Steps: frame 1 for 100 ms, frame 0 for 50 ms, frame 1 for 200 ms.
QByteArray twoFrameCursor() {
    return riff(anih(2, 3, 10, kIcons | kSequence) + chunk("rate", dwords({6, 3, 12})) +
                chunk("seq ", dwords({1, 0, 1})) +
                frameList({redCursor(), iconFile(kBlue, QPoint(5, 6))}));
}

using Steps = std::vector<std::pair<int, int>>; // frame, milliseconds

bool waitUntil(const std::function<bool()>& done, int timeoutMs = 3000) {
    QElapsedTimer clock;
    for (clock.start(); !done() && !clock.hasExpired(timeoutMs);)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
}

TEST(AniParser, ReadsFramesWithTheirHotspots) {
    const AniCursorData data = parseAni(twoFrameCursor());
    ASSERT_EQ(data.frames.size(), 2u);
    EXPECT_EQ(data.frames[1].image.pixelColor(7, 7), kBlue);
    EXPECT_EQ(data.frames[1].hotspot, QPoint(5, 6));
    // An icon points with its centre; a hotspot off the picture is pulled in.
    EXPECT_EQ(decodeCursorImage(iconFile(kRed, std::nullopt)).hotspot, QPoint(16, 16));
    EXPECT_EQ(decodeCursorImage(iconFile(kRed, QPoint(200, 7))).hotspot, QPoint(31, 7));
}

TEST(AniParser, ReadsTheStepsOfEveryVariant) {
    QByteArray riffSizeTooLarge = riff(anih(1, 1, 6) + frameList({redCursor()}));
    qToLittleEndian<quint32>(0x7fffffff, riffSizeTooLarge.data() + 4);
    const std::vector<std::tuple<const char*, QByteArray, Steps>> cases = {
        {"SequenceAndRates", twoFrameCursor(), {{1, 100}, {0, 50}, {1, 200}}}, // 1/60 s units
        {"NoSequence",
         riff(anih(2, 2, 6) + chunk("rate", dwords({6, 12})) +
              frameList({redCursor(), redCursor()})),
         {{0, 100}, {1, 200}}},
        {"NoRateNoSequence", riff(anih(1, 1, 10) + frameList({redCursor()})), {{0, 167}}},
        {"ZeroRateIsOneJiffy", riff(anih(1, 1, 0) + frameList({redCursor()})), {{0, 17}}},
        {"OddChunksPadded",
         riff(chunk("INAM", "odd") + anih(1, 1, 6) + chunk("junk", "x") + frameList({redCursor()})),
         {{0, 100}}},
        {"LastPadMissing",
         riff(anih(1, 1, 6) + frameList({redCursor()}) + chunk("tail", "abc", false)),
         {{0, 100}}},
        {"RiffSizeTooLarge", riffSizeTooLarge, {{0, 100}}},
    };
    for (const auto& [name, bytes, steps] : cases) {
        Steps read;
        for (const AniStep& s : parseAni(bytes).steps)
            read.emplace_back(s.frame, s.durationMs);
        EXPECT_EQ(read, steps) << name;
    }
}

TEST(AniParser, RefusesDamagedFilesSayingWhy) {
    const QByteArray frames = frameList({redCursor()});
    const std::vector<std::tuple<const char*, QByteArray, QString>> cases = {
        {"NotAnAni", "RIFF" + dwords({4}) + "WAVE",
         "This is not an animated cursor (no RIFF ACON header)."},
        {"CutInAChunkHeader", riff(anih(1, 1, 6) + frames + "LIS"),
         "The data ends inside a chunk header."},
        {"LyingIconLength",
         riff(anih(1, 1, 6) + chunk("LIST", "fram" + QByteArray("icon") + dwords({5000}))),
         "The chunk \"icon\" claims 5000 bytes, but only 0 are left."},
        {"AbsurdSteps", riff(anih(1, 100000, 6) + frames),
         "The header declares 1 frames and 100000 steps; 1 to 1024 are allowed."},
        {"FewerFramesThanDeclared", riff(anih(3, 3, 6) + frames),
         "The header declares 3 frames, but the file holds 1."},
        {"SequencePastTheFrames",
         riff(anih(1, 2, 6, kIcons | kSequence) + chunk("seq ", dwords({0, 1})) + frames),
         "Step 1 shows frame 1, but there are only 1."},
        {"ShortRate", riff(anih(1, 3, 6) + chunk("rate", dwords({1, 2})) + frames),
         "The chunk \"rate\" holds 2 entries for 3 steps."},
        {"FrameIsNoIcon", riff(anih(1, 1, 6) + frameList({"BM not an icon"})),
         "Frame 0: The frame is not an icon or cursor image."},
    };
    for (const auto& [name, bytes, message] : cases)
        EXPECT_EQ(test::errorOf([&] { (void)parseAni(bytes); }), message) << name;
}

// Whatever the damage, the parser reads the file or says why: it never reads
// outside the data (run under ASan) nor throws anything else.
TEST(AniParser, SurvivesEveryCutAndEveryFlippedByte) {
    const QByteArray valid = twoFrameCursor();
    for (qsizetype at = 0; at < valid.size(); ++at) {
        QByteArray flipped = valid;
        flipped[at] = char(flipped[at] ^ 0xA5);
        for (const QByteArray& damaged : {valid.left(at), flipped}) {
            try {
                (void)parseAni(damaged);
            } catch (const OrvantaError&) {
            }
        }
    }
}

TEST(AnimatedCursor, StepsThroughTheSequenceOnlyWhileRunning) {
    AnimatedCursor cursor(parseAni(twoFrameCursor()));
    std::vector<QPoint> shown;
    QObject::connect(&cursor, &AnimatedCursor::changed,
                     [&](const QCursor& c) { shown.push_back(c.hotSpot()); });
    EXPECT_EQ(cursor.current().hotSpot(), QPoint(5, 6)); // step 0 shows frame 1
    for (int i = 0; i < 3; ++i)
        cursor.advance();
    EXPECT_EQ(shown, (std::vector<QPoint>{{3, 4}, {5, 6}, {5, 6}}));
    EXPECT_EQ(cursor.stepIndex(), 0);
    EXPECT_FALSE(waitUntil([&] { return shown.size() > 3; }, 300)); // not started: still
}

class CursorTableFiles : public ::testing::Test {
protected:
    void SetUp() override {
        write(1, twoFrameCursor());
        write(3, riff(anih(1, 1, 6) + frameList({iconFile(kBlue, QPoint(7, 8))})));
        write(4, "RIFF but nothing else");
        m_table = std::make_unique<CursorTable>(m_dir.path());
    }
    void TearDown() override {
        m_table.reset();
        while (QGuiApplication::overrideCursor())
            QGuiApplication::restoreOverrideCursor();
    }
    void write(int number, const QByteArray& bytes) {
        test::writeAll(m_dir.filePath(CursorTable::fileName(number)), bytes);
    }

    QTemporaryDir m_dir;
    std::unique_ptr<CursorTable> m_table;
};

TEST_F(CursorTableFiles, MissingOrBrokenFilesLeaveTheArrow) {
    for (int number : {2, 4, 14}) {
        SCOPED_TRACE(number);
        EXPECT_TRUE(m_table->loadError(number).contains(CursorTable::fileName(number)));
        EXPECT_EQ(m_table->cursor(number).shape(), Qt::ArrowCursor);
    }
    EXPECT_TRUE(m_table->loadError(4).contains("is damaged. This is not an animated cursor"));
    EXPECT_EQ(m_table->cursor(15).shape(), Qt::ArrowCursor);
}

TEST_F(CursorTableFiles, AnimatesOnlyWhileShownAndOverridesInTurn) {
    auto widget = std::make_unique<QWidget>();
    QWidget other;
    m_table->apply(widget.get(), 1);
    m_table->apply(&other, 1);
    EXPECT_EQ(widget->cursor().hotSpot(), QPoint(5, 6));
    ASSERT_TRUE(waitUntil([&] { return widget->cursor().hotSpot() == QPoint(3, 4); }));

    m_table->apply(&other, 3);
    EXPECT_EQ(other.cursor().hotSpot(), QPoint(7, 8));
    EXPECT_TRUE(m_table->isAnimating(1)); // still over `widget`
    widget.reset();
    EXPECT_TRUE(waitUntil([&] { return !m_table->isAnimating(1); }));

    // The override cursor: replaced, not stacked; only its own is taken back.
    m_table->applyOverride(3);
    m_table->applyOverride(1);
    EXPECT_EQ(QGuiApplication::overrideCursor()->hotSpot(), QPoint(5, 6));
    EXPECT_TRUE(m_table->isAnimating(1));
    m_table->restoreOverride();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_FALSE(m_table->isAnimating(1));

    m_table->applyOverride(3);
    QGuiApplication::setOverrideCursor(Qt::WaitCursor); // someone else's, above ours
    m_table->applyOverride(2);
    m_table->restoreOverride();
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
}

// Every shipped cursor file is complete and drawn at the size of a cursor.
TEST(CursorTable, ShippedCursorsAllLoad) {
    const CursorTable table(QStringLiteral(ORVANTA_SOURCE_DIR "/assets/program"));
    for (int number = 1; number <= CursorTable::kCount; ++number) {
        EXPECT_TRUE(table.isLoaded(number)) << table.loadError(number).toStdString();
        EXPECT_EQ(table.cursor(number).pixmap().size(), QSize(32, 32)) << number;
    }
}

} // namespace
