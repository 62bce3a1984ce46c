// The shipped artwork, read the way any other program would read it: the skin
// pictures with QImage, the icons as ICO containers, the package as a zip. The
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
#include <gtest/gtest.h>

using namespace orvanta;

namespace {

const QString kSource = QStringLiteral(ORVANTA_SOURCE_DIR);

QByteArray readAll(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
    return f.readAll();
}

quint32 u32(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<quint32>(b.data() + at);
}
quint16 u16(const QByteArray& b, qsizetype at) {
    return qFromLittleEndian<quint16>(b.data() + at);
}

struct ShippedSkin {
    QString definition;
    IniDocument ini;
    QImage picture; // straight alpha; the key colour of a BMP already transparent

    // The numbers of a key: x, y, width, height and the optional placement.
    [[nodiscard]] QList<int> numbers(const QString& section, const QString& key) const {
        QList<int> out;
        for (const QString& n : ini.value(section, key).value_or(QString()).split(u','))
            out.append(n.trimmed().toInt());
        return out;
    }
    [[nodiscard]] QRect rect(const QString& key, const QString& section = "Horizontal") const {
        const QList<int> n = numbers(section, key);
        return n.size() < 4 ? QRect() : QRect(n[0], n[1], n[2], n[3]);
    }
};

class ShippedSkins : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        s.definition = kSource + GetParam();
        s.ini = IniDocument::load(s.definition);
        const QString image = QFileInfo(s.definition).absolutePath() + u'/' +
                              s.ini.readString(u"Horizontal", u"Image", QString());
        s.picture = QImage(image).convertToFormat(QImage::Format_ARGB32);
        ASSERT_FALSE(s.picture.isNull()) << image.toStdString();
        if (image.endsWith(QStringLiteral(".png")))
            return;
        const QRgb key = QColor(u'#' + s.ini.readString(u"Main", u"TransColor", "ff00ff")).rgb();
        for (int y = 0; y < s.picture.height(); ++y)
            for (int x = 0; x < s.picture.width(); ++x)
                if (s.picture.pixel(x, y) == key)
                    s.picture.setPixel(x, y, 0);
    }
    ShippedSkin s;
};

} // namespace

TEST_P(ShippedSkins, DescribesItself) {
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

// Every rectangle lies on the picture; each control has a placement on the
// piece it hangs on (or it would float off it) and all three looks its size.
TEST_P(ShippedSkins, RectanglesLieOnThePictureAndControlsOnTheirPieces) {
    const QStringList looks{"HorizontalControls", "HorizontalControlsOver",
                            "HorizontalControlsDown"};
    for (const QString& section : QStringList{"Horizontal"} + looks) {
        for (const QString& key : s.ini.keys(section)) {
            EXPECT_TRUE(!key.endsWith(u"Rect") || (!s.rect(key, section).isEmpty() &&
                                                   s.picture.rect().contains(s.rect(key, section))))
                << section.toStdString() << " " << key.toStdString();
        }
    }

    const QRect pieces[] = {s.rect("BaseRect"), s.rect("SlideRect"), s.rect("BasePanelRect"),
                            s.rect("SlidePanelRect")};
    ASSERT_TRUE(s.ini.value(u"Horizontal", u"SizeRect").has_value());
    QStringList placed{"SizeRect"};
    for (const char16_t* control : kControlKeys)
        placed.append(QString::fromUtf16(control));
    for (const QString& key : placed) {
        const QList<int> n = s.numbers("Horizontal", key);
        if (n.size() < 4)
            continue;
        ASSERT_TRUE(n.size() >= 5 && n[4] >= 0 && n[4] <= 3) << key.toStdString();
        EXPECT_TRUE(pieces[n[4]].contains(s.rect(key))) << key.toStdString();
        for (const QString& look : key == u"SizeRect" ? QStringList() : looks)
            EXPECT_EQ(s.rect(key, look).size(), s.rect(key).size())
                << look.toStdString() << " " << key.toStdString();
    }
}

TEST_P(ShippedSkins, NeedleAndLeadAreOpaqueOnTheBarsMiddle) {
    const QRect base = s.rect("BaseRect"), bar = s.rect("BarRect"), slide = s.rect("SlideRect");
    const int middle = bar.top() + bar.height() / 2;
    const QPoint pivot(base.left() + s.ini.readInt(u"Horizontal", u"BaseEdge", -1), middle);
    const QPoint lead(base.left() + s.ini.readInt(u"Horizontal", u"SlideEdge", -1), middle);
    ASSERT_TRUE(base.contains(pivot) && slide.contains(lead));
    EXPECT_EQ(qAlpha(s.picture.pixel(pivot)), 255);
    EXPECT_EQ(qAlpha(s.picture.pixel(lead)), 255);
    // The corners of a piece are rounded off: the sheet has real transparency.
    EXPECT_EQ(qAlpha(s.picture.pixel(slide.topLeft())), 0);
}

// The head is copied over the first tile, so the beam in the head's picture
// must end in the same phase as a tile does.
TEST_P(ShippedSkins, BeamJoinsTheFirstTileWithoutASeam) {
    const QRect base = s.rect("BaseRect"), bar = s.rect("BarRect");
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

TEST(Assets, IconsHaveTheirSizesAndTheHiddenTrayIconIsGrey) {
    for (const char* file : {"AppTray.ico", "AppTrayGray.ico"}) {
        QByteArray bytes = readAll(kSource + "/assets/program/" + file);
        QBuffer buffer(&bytes);
        QImageReader reader(&buffer, "ico");
        QList<int> sizes;
        bool grey = true;
        for (int i = 0; i < reader.imageCount() && reader.jumpToImage(i); ++i) {
            const QImage image = reader.read().convertToFormat(QImage::Format_ARGB32);
            EXPECT_EQ(image.width(), image.height()) << file;
            sizes.append(image.width());
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x) {
                    const QRgb p = image.pixel(x, y);
                    grey &= qAlpha(p) == 0 || (qRed(p) == qGreen(p) && qGreen(p) == qBlue(p));
                }
        }
        std::sort(sizes.begin(), sizes.end());
        EXPECT_EQ(sizes, QList<int>({16, 24, 32, 48})) << file;
        EXPECT_EQ(grey, QByteArray(file).contains("Gray")) << file;
    }
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
