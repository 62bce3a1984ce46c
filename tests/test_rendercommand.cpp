// SPDX-FileCopyrightText: 2026 The Orvanta developers
// SPDX-License-Identifier: MIT

#include "app/rendercommand.h"
#include "rendertestskin.h"

#include <QDir>
#include <cmath>
#include <gtest/gtest.h>

using namespace orvanta;
using namespace rendertest;

namespace {

// A program folder whose default skin is the test sheet.
struct ProgramFolder : SkinFolder {
    ProgramFolder() { write(fullIni(), sheet(), "default/sheet.png", "default/default.ini"); }
    [[nodiscard]] RenderResult run(const QStringList& args) const {
        return renderCommand(args, dir.path() + u'/');
    }
};

} // namespace

TEST(RenderCommand, BadArgumentsAreNamedInOneLine) {
    const std::pair<QStringList, QString> cases[] = {
        {{}, "Missing value after '--render'."},
        {{"o.png", "--angle", "north"}, "--angle: expected a number, got 'north'"},
        {{"o.png", "--spread", "1e30"}, "--spread: expected a number, got '1e30'"},
        {{"o.png", "--shape", "40"}, "--shape: expected 0 or 3 to 39, got '40'"},
        {{"o.png", "--scribe", "2"}, "--scribe: expected 0 or 1, got '2'"},
        {{"o.png", "--measure-type", "-1"}, "--measure-type: expected 0 to 4, got '-1'"},
        {{"o.png", "--quality", "best"}, "--quality: expected low or high, got 'best'"},
        {{"o.png", "--pos", "10;20"}, "--pos: expected X,Y, got '10;20'"},
        {{"o.png", "--desktop", "0x100"},
         "--desktop: expected WxH with sides of 1 to 65535 pixels, got '0x100'"},
        {{"o.png", "--desktop", "60000x60000"},
         "--desktop: expected at most 268435456 pixels, got '60000x60000'"},
        {{"o.png", "--screen-mm", "0x300"},
         "--screen-mm: expected WxH in millimetres, got '0x300'"},
        {{"o.png", "--tilt"}, "Unknown option 'tilt'."},
        // Only the program folder's units tell how many there are.
        {{"o.png", "--unit", "7"}, "--unit: expected 0 to 6, got '7'"},
    };
    ProgramFolder program;
    EXPECT_EQ(program.run({}).err, "--render: missing the output file\n");
    for (const auto& [args, error] : cases) {
        const RenderResult r = program.run(QStringList{"--render"} + args);
        EXPECT_EQ(r.exitCode, kRenderExitBadArguments) << error.toStdString();
        EXPECT_EQ(r.err, error + u'\n');
        EXPECT_TRUE(r.out.isEmpty());
    }
    const RenderResult skin =
        program.run({"--render", program.path("o.png"), "--skin", program.path("none.ini")});
    EXPECT_EQ(skin.exitCode, kRenderExitBadArguments);
    EXPECT_TRUE(skin.err.contains("--skin: ")) << skin.err.toStdString();
    EXPECT_FALSE(QFile::exists(program.path("o.png")));
}

TEST(RenderCommand, RendersOneFrameAndSavesNothingElse) {
    ProgramFolder program;
    const QString out = program.path("frame.png");
    const RenderResult r = program.run({"--render", out, "--spread", "50", "--angle", "90", "--pos",
                                        "100,100", "--desktop", "640x480"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("50\n"));
    const QImage image(out);
    ASSERT_EQ(image.size(), QSize(640, 480));
    // Pivot at (110, 110), beam down: the slide's edge and the circle's bottom 50 below.
    EXPECT_EQ(image.pixel(110, 140), kBarColour);
    EXPECT_EQ(image.pixel(110, 163), kSlideColour);
    EXPECT_GT(qRed(image.pixel(110, 160)), 0xb0); // the circle over the slide's edge
    EXPECT_EQ(qAlpha(image.pixel(50, 50)), 0);
    // Straight alpha: the antialiased circle's soft pixels keep pure red.
    int soft = 0;
    for (int x = 61; x < 110; ++x) {
        const QRgb p = image.pixel(x, 110 - int(std::sqrt(50.0 * 50 - (110 - x) * (110 - x))));
        if (qAlpha(p) > 0 && qAlpha(p) < 255) {
            ++soft;
            EXPECT_EQ(qRed(p), 255);
        }
    }
    EXPECT_GT(soft, 5);
    EXPECT_EQ(QDir(program.dir.path()).entryList(QDir::Files), QStringList{"frame.png"});
}

TEST(RenderCommand, OverridesAndCropping) {
    ProgramFolder program;
    const QString out = program.path("c.png");
    RenderResult r = program.run({"--render", out, "--measure-type", "1", "--shape", "4",
                                  "--scribe", "1", "--quality", "low", "--crop"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, QStringLiteral("565.69\n")); // the inscribed square's perimeter
    const QImage cropped(out);
    // The figure's square (204) is the widest part: pivot (210, 160) by default.
    EXPECT_EQ(cropped.height(), 204);
    EXPECT_GE(cropped.width(), 204);
    EXPECT_EQ(cropped.pixel(101, 1), 0xffff0000u); // the top corner
    for (int x = 0; x < cropped.width(); ++x)
        EXPECT_EQ(qAlpha(cropped.pixel(x, 203)), 0);

    // Another skin's definition, whose base is cut from the slide's art.
    SkinFolder other;
    r = program.run(
        {"--render", out, "--skin",
         other.write(fullIni().replace("BaseRect=0, 0, 30, 20", "BaseRect=40, 0, 20, 20"))});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(QImage(out).pixel(200, 151), kSlideColour);

    r = program.run({"--render", "--help"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.startsWith("Usage: orvanta")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("--screen-mm WxH")) << r.out.toStdString();
}

TEST(RenderCommand, ScreenMillimetresGiveThePhysicalUnitsTheirDensity) {
    ProgramFolder program;
    ASSERT_TRUE(QFile::copy(ORVANTA_SOURCE_DIR "/assets/program/distances.ini",
                            program.path("distances.ini")));
    const QStringList centimetres{"--render", program.path("o.png"), "--unit",   "2", "--spread",
                                  "200",      "--desktop",           "1920x1080"};
    const std::tuple<QString, QString, QString> cases[] = {
        {{}, "5.29\n", ""},        // 96 px/in
        {"531x299", "5.53\n", ""}, // a 24-inch monitor: 91.8 px/in
        {"0.5x0.3", "5.29\n",
         "--screen-mm: 0.5x0.3 mm is not a believable size for 1920x1080 pixels; 96 px/in "
         "assumed\n"},
    };
    for (const auto& [mm, out, err] : cases) {
        const RenderResult r =
            program.run(mm.isEmpty() ? centimetres : centimetres + QStringList{"--screen-mm", mm});
        EXPECT_EQ(r.exitCode, 0) << mm.toStdString();
        EXPECT_EQ(r.out, out) << mm.toStdString();
        EXPECT_EQ(r.err, err) << mm.toStdString();
    }
}
