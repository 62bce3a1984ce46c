// The shipped artwork, read the way any other program would read it: the skin
// pictures with QImage, the cursors and icons as RIFF and ICO containers. The
// skin loader has its own tests; these catch a broken or misdrawn asset.
#include "model/inidocument.h"
#include "skins/skin.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QtEndian>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <optional>

using namespace orvanta;

namespace {

const QString kSource = QStringLiteral(ORVANTA_SOURCE_DIR);

const QStringList kControls = [] {
    QStringList out;
    for (const char16_t* key : kControlKeys)
        out.append(QString::fromUtf16(key));
    return out;
}();

QByteArray readAll(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
}

quint32 u32(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<quint32>(b.constData() + at);
}

quint16 u16(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<quint16>(b.constData() + at);
}

struct ShippedSkin {
    QString definition;
    IniDocument ini;
    QImage picture; // straight alpha; the key colour of a BMP already transparent

    // x, y, width, height and the optional placement of a key.
    [[nodiscard]] std::optional<QRect> rect(const QString& section, const QString& key,
                                            int* placement = nullptr) const {
        const auto value = ini.value(section, key);
        if (!value)
            return std::nullopt;
        const QStringList n = value->split(u',');
        if (n.size() < 4)
            return QRect();
        if (placement)
            *placement = n.size() >= 5 ? n[4].trimmed().toInt() : -1;
        return QRect(n[0].trimmed().toInt(), n[1].trimmed().toInt(), n[2].trimmed().toInt(),
                     n[3].trimmed().toInt());
    }
    [[nodiscard]] QRect must(const QString& key) const {
        return rect(QStringLiteral("Horizontal"), key).value_or(QRect());
    }
};

ShippedSkin loadSkin(const QString& relative) {
    ShippedSkin s;
    s.definition = kSource + relative;
    s.ini = IniDocument::load(s.definition);
    const QString image = QFileInfo(s.definition).absolutePath() + u'/' +
                          s.ini.readString(u"Horizontal", u"Image", QString());
    s.picture = QImage(image).convertToFormat(QImage::Format_ARGB32);
    if (!image.endsWith(QStringLiteral(".png"))) {
        const QRgb key = QColor(u'#' + s.ini.readString(u"Main", u"TransColor", "ff00ff")).rgb();
        for (int y = 0; y < s.picture.height(); ++y)
            for (int x = 0; x < s.picture.width(); ++x)
                if (s.picture.pixel(x, y) == key)
                    s.picture.setPixel(x, y, 0);
    }
    return s;
}

class ShippedSkins : public ::testing::TestWithParam<const char*> {};

} // namespace

TEST_P(ShippedSkins, DescribesItself) {
    const ShippedSkin s = loadSkin(QString::fromUtf8(GetParam()));
    ASSERT_FALSE(s.picture.isNull()) << s.definition.toStdString();
    EXPECT_FALSE(s.ini.readString(u"一般", u"名称", QString()).isEmpty());
    EXPECT_FALSE(s.ini.readString(u"一般", u"作者", QString()).isEmpty());
    EXPECT_TRUE(s.ini.readString(u"一般", u"联系", QString()).contains(u'@'));
    EXPECT_TRUE(s.ini.readString(u"一般", u"网站", QString()).startsWith("https://"));
    EXPECT_EQ(s.ini.readInt(u"一般", u"CompassVersion", 0), 4);
    const QStringList colours = s.ini.readString(u"Main", u"BaseColors", QString()).split(u',');
    EXPECT_EQ(colours.size(), 5);
    for (const QString& c : colours)
        EXPECT_TRUE(QColor::isValidColorName(u'#' + c.trimmed()) && c.trimmed().size() == 6)
            << c.toStdString();
}

TEST_P(ShippedSkins, EveryRectangleLiesOnThePicture) {
    const ShippedSkin s = loadSkin(QString::fromUtf8(GetParam()));
    const QRect sheet = s.picture.rect();
    const QStringList sections{"Horizontal", "HorizontalControls", "HorizontalControlsOver",
                               "HorizontalControlsDown"};
    for (const QString& section : sections)
        for (const QString& key : s.ini.keys(section)) {
            if (!key.endsWith(u"Rect"))
                continue;
            const QRect r = s.rect(section, key).value_or(QRect());
            EXPECT_TRUE(!r.isEmpty() && sheet.contains(r))
                << section.toStdString() << " " << key.toStdString();
        }
}

// Each control needs a placement and all three looks the size of that place,
// and must sit on the piece it is attached to, or it would float off it.
TEST_P(ShippedSkins, ControlsSitOnTheirPieces) {
    const ShippedSkin s = loadSkin(QString::fromUtf8(GetParam()));
    const QRect pieces[] = {s.must("BaseRect"), s.must("SlideRect"), s.must("BasePanelRect"),
                            s.must("SlidePanelRect")};
    QStringList present = kControls;
    present.append(QStringLiteral("SizeRect"));
    for (const QString& key : present) {
        int placement = -1;
        const auto place = s.rect(QStringLiteral("Horizontal"), key, &placement);
        if (!place)
            continue;
        ASSERT_TRUE(placement >= 0 && placement <= 3) << key.toStdString();
        EXPECT_TRUE(pieces[placement].contains(*place)) << key.toStdString();
        if (key == u"SizeRect")
            continue;
        for (const char* look :
             {"HorizontalControls", "HorizontalControlsOver", "HorizontalControlsDown"})
            EXPECT_EQ(s.rect(QString::fromLatin1(look), key).value_or(QRect()).size(),
                      place->size())
                << look << " " << key.toStdString();
    }
    EXPECT_TRUE(s.ini.value(u"Horizontal", u"SizeRect").has_value());
}

TEST_P(ShippedSkins, NeedleAndLeadAreOpaqueOnTheBarsMiddle) {
    const ShippedSkin s = loadSkin(QString::fromUtf8(GetParam()));
    const QRect base = s.must("BaseRect");
    const QRect bar = s.must("BarRect");
    const QRect slide = s.must("SlideRect");
    const int middle = bar.top() + bar.height() / 2;
    const QPoint pivot(base.left() + s.ini.readInt(u"Horizontal", u"BaseEdge", -1), middle);
    const QPoint lead(base.left() + s.ini.readInt(u"Horizontal", u"SlideEdge", -1), middle);
    ASSERT_TRUE(base.contains(pivot));
    ASSERT_TRUE(slide.contains(lead));
    EXPECT_EQ(qAlpha(s.picture.pixel(pivot)), 255);
    EXPECT_EQ(qAlpha(s.picture.pixel(lead)), 255);
    // The corners of a piece are rounded off: the sheet has real transparency.
    EXPECT_EQ(qAlpha(s.picture.pixel(slide.topLeft())), 0);
}

// The head is copied over the first tile, so the beam in the head's picture
// must end in the same phase as a tile does.
TEST_P(ShippedSkins, BeamJoinsTheFirstTileWithoutASeam) {
    const ShippedSkin s = loadSkin(QString::fromUtf8(GetParam()));
    const QRect base = s.must("BaseRect");
    const QRect bar = s.must("BarRect");
    ASSERT_EQ(bar.left(), base.right() + 1);
    for (int y = bar.top(); y <= bar.bottom(); ++y)
        EXPECT_EQ(s.picture.pixel(base.right(), y), s.picture.pixel(bar.right(), y)) << y;
}

INSTANTIATE_TEST_SUITE_P(Assets, ShippedSkins,
                         ::testing::Values("/assets/program/default/default.ini",
                                           "/assets/program/skins/Brass/brass.ini",
                                           "/assets/packages/Walnut/walnut.ini"));

TEST(Assets, BmpSkinIsTwentyFourBitWithKeyedTransparency) {
    const QByteArray bmp = readAll(kSource + "/assets/program/skins/Brass/brass.bmp");
    ASSERT_GT(bmp.size(), 54);
    EXPECT_TRUE(bmp.startsWith("BM"));
    EXPECT_EQ(u16(bmp, 28), 24);
    const QImage image = QImage::fromData(bmp);
    EXPECT_FALSE(image.hasAlphaChannel());
    EXPECT_EQ(image.pixel(0, 0), 0xffff00ffu);
}

TEST(Assets, AnimatedCursorsAreRiffAconWithTheirFrames) {
    const QStringList names{"hand",         "grab",         "pointer",     "down",     "handExtend",
                            "grabExtend",   "handRotate",   "grabRotate",  "handMove", "grabMove",
                            "handRelative", "grabRelative", "pointerPlus", "downPlus"};
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        const QByteArray ani = readAll(kSource + "/assets/program/img/" + name + ".ani");
        ASSERT_GE(ani.size(), 12);
        ASSERT_TRUE(ani.startsWith("RIFF"));
        ASSERT_EQ(ani.mid(8, 4), "ACON");
        ASSERT_EQ(u32(ani, 4), quint32(ani.size() - 8));
        quint32 frames = 0, steps = 0, rates = 0, sequence = 0;
        std::vector<QByteArray> icons;
        // Walks a run of chunks; LIST chunks are entered.
        std::function<void(qsizetype, qsizetype)> walk = [&](qsizetype at, qsizetype end) {
            while (at + 8 <= end) {
                const QByteArray id = ani.mid(at, 4);
                const qsizetype size = u32(ani, at + 4);
                ASSERT_LE(at + 8 + size, end) << id.toStdString();
                if (id == "LIST")
                    walk(at + 12, at + 8 + size);
                else if (id == "anih") {
                    ASSERT_EQ(size, 36);
                    frames = u32(ani, at + 12);
                    steps = u32(ani, at + 16);
                    EXPECT_EQ(u32(ani, at + 40) & 1u, 1u); // frames are icon data
                } else if (id == "rate")
                    rates = quint32(size / 4);
                else if (id == "seq ")
                    sequence = quint32(size / 4);
                else if (id == "icon")
                    icons.push_back(ani.mid(at + 8, size));
                at += 8 + size + (size & 1);
            }
        };
        walk(12, ani.size());
        EXPECT_GE(frames, 1u);
        EXPECT_EQ(icons.size(), frames);
        EXPECT_EQ(rates, steps);
        EXPECT_EQ(sequence, steps);
        for (const QByteArray& icon : icons) {
            ASSERT_GE(icon.size(), 22);
            EXPECT_EQ(u16(icon, 2), 2); // a cursor, with a hotspot
            EXPECT_LT(u16(icon, 10), 32);
            EXPECT_LT(u16(icon, 12), 32);
            const QImage image = QImage::fromData(icon, "cur");
            EXPECT_EQ(image.size(), QSize(32, 32));
        }
    }
}

TEST(Assets, TrayIconsCarryFourSizesAndTheHiddenOneIsGrey) {
    for (const char* file : {"AppTray.ico", "AppTrayGray.ico"}) {
        SCOPED_TRACE(file);
        QByteArray bytes = readAll(kSource + "/assets/program/" + file);
        QBuffer buffer(&bytes);
        QImageReader reader(&buffer, "ico");
        QList<int> sizes;
        bool grey = true;
        for (int i = 0; i < reader.imageCount() && reader.jumpToImage(i); ++i) {
            const QImage image = reader.read().convertToFormat(QImage::Format_ARGB32);
            EXPECT_EQ(image.width(), image.height());
            sizes.append(image.width());
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) {
                    const QRgb p = image.pixel(x, y);
                    grey =
                        grey && (qAlpha(p) == 0 || (qRed(p) == qGreen(p) && qGreen(p) == qBlue(p)));
                }
        }
        std::sort(sizes.begin(), sizes.end());
        EXPECT_EQ(sizes, QList<int>({16, 24, 32, 48}));
        EXPECT_EQ(grey, QByteArray(file).contains("Gray"));
    }
}

TEST(Assets, PicturesHaveTheirSizes) {
    EXPECT_EQ(QImage(kSource + "/assets/splash.png").size(), QSize(494, 300));
    EXPECT_EQ(QImage(kSource + "/assets/program/orvanta.png").size(), QSize(256, 256));
}

// The build zips assets/packages/Walnut with CMake's archiver; its central
// directory must list the definition and the picture at the archive's root.
TEST(Assets, WalnutPackageHoldsTheSkinAtItsRoot) {
    const QByteArray zip = readAll(QStringLiteral(ORVANTA_BIN_DIR) + "/Walnut.compassskin");
    const qsizetype end = zip.lastIndexOf(QByteArray("PK\x05\x06", 4));
    ASSERT_GE(end, 0);
    const int count = u16(zip, end + 10);
    qsizetype at = u32(zip, end + 16);
    QStringList names;
    for (int i = 0; i < count && at + 46 <= zip.size(); ++i) {
        ASSERT_EQ(u32(zip, at), 0x02014b50u);
        const int nameLength = u16(zip, at + 28);
        names.append(QString::fromUtf8(zip.mid(at + 46, nameLength)));
        at += 46 + nameLength + u16(zip, at + 30) + u16(zip, at + 32);
    }
    names.sort();
    EXPECT_EQ(names, QStringList({"walnut.ini", "walnut.png"}));
}
