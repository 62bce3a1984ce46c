// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

// The shipped artwork, read with QImage and the package reader: these catch a
// broken or misdrawn asset (the skin loader has its own tests).
#include "model/inidocument.h"
#include "package/zipfile.h"
#include "skins/skin.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <algorithm>
#include <gtest/gtest.h>

using namespace orvanta;

namespace {

const QString kSource = QStringLiteral(ORVANTA_SOURCE_DIR);

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

TEST_P(ShippedSkins, NeedleAndLeadAreOpaqueAndTheBeamHasNoSeam) {
    const QRect base = s.rect("BaseRect"), bar = s.rect("BarRect"), slide = s.rect("SlideRect");
    const int middle = bar.top() + bar.height() / 2;
    const QPoint pivot(base.left() + s.ini.readInt(u"Horizontal", u"BaseEdge", -1), middle);
    const QPoint lead(base.left() + s.ini.readInt(u"Horizontal", u"SlideEdge", -1), middle);
    ASSERT_TRUE(base.contains(pivot) && slide.contains(lead));
    EXPECT_EQ(qAlpha(s.picture.pixel(pivot)), 255);
    EXPECT_EQ(qAlpha(s.picture.pixel(lead)), 255);
    // The corners of a piece are rounded off: the sheet has real transparency.
    EXPECT_EQ(qAlpha(s.picture.pixel(slide.topLeft())), 0);
    // The head is copied over the first tile: its beam must end in a tile's phase.
    ASSERT_EQ(bar.left(), base.right() + 1);
    for (int y = bar.top(); y <= bar.bottom(); ++y)
        EXPECT_EQ(s.picture.pixel(base.right(), y), s.picture.pixel(bar.right(), y)) << y;
}

INSTANTIATE_TEST_SUITE_P(
    Shipped, ShippedSkins,
    ::testing::Values("/assets/program/default/default.ini",
                      "/assets/program/skins/Brass/brass.ini",
                      "/assets/packages/Walnut/walnut.ini"),
    [](const auto& info) {
        return QFileInfo(QString::fromLatin1(info.param)).completeBaseName().toStdString();
    });

TEST(ShippedAssets, IconsHaveTheirSizesAndTheHiddenTrayIconIsGrey) {
    for (const char* file : {"AppTray.ico", "AppTrayGray.ico"}) {
        QImageReader reader(kSource + "/assets/program/" + file, "ico");
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

// The build zips assets/packages/Walnut; the skin must sit at the archive's root.
TEST(ShippedAssets, WalnutPackageHoldsTheSkinAtItsRoot) {
    ZipFile zip;
    zip.loadFromFile(QStringLiteral(ORVANTA_BIN_DIR) + "/Walnut.compassskin");
    QStringList names;
    for (int i = 0; i < zip.count(); ++i)
        names.append(zip.name(i));
    names.sort();
    EXPECT_EQ(names, QStringList({"walnut.ini", "walnut.png"}));
}
