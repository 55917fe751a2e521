#include "app/RenderJob.h"

#include <QImage>
#include <filesystem>
#include <gtest/gtest.h>

#include "support/TempFiles.h"
#include <map>
#include <optional>

namespace {
namespace fs = std::filesystem;

class RenderJobTest : public ::testing::Test {
protected:
    void SetUp() override {
        Dir = fs::temp_directory_path() / ("korvane-render-" + std::to_string(::getpid()));
        fs::create_directories(Dir);
    }
    void TearDown() override { fs::remove_all(Dir); }

    // The most frequent colour of the picture.
    static QRgb MainColour(const QImage& img) {
        std::map<QRgb, int> count;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                ++count[img.pixel(x, y)];
        return std::max_element(count.begin(), count.end(),
                                [](auto& a, auto& b) { return a.second < b.second; })
            ->first;
    }
    fs::path Dir;
};

TEST_F(RenderJobTest, WritesAPictureOfTheRequestedSizeAndBackground) {
    for (const bool white : {false, true}) {
        RenderOptions o;
        o.File = KORVANE_SAMPLES "/pump-unit.kdf";
        o.OutPng = (Dir / (white ? "white.png" : "black.png")).string();
        o.Width = 320;
        o.Height = 200;
        o.WhiteBackground = white;
        ASSERT_EQ(RunRenderJob(o), 0);
        const QImage img(QString::fromStdString(o.OutPng));
        ASSERT_FALSE(img.isNull());
        EXPECT_EQ(img.size(), QSize(320, 200));
        EXPECT_EQ(MainColour(img) & 0xFFFFFF, white ? 0xFFFFFFu : 0x000000u);
    }
}

// OUT.pdf and OUT.svg: the same drawing as vectors, on a page of the requested size's shape.
TEST_F(RenderJobTest, VectorFilesByTheirExtension) {
    for (const char* name : {"plan.pdf", "plan.SVG"}) {
        RenderOptions o;
        o.File = KORVANE_SAMPLES "/annotated-circuit.kdf";
        o.OutPng = (Dir / name).string();
        o.Width = 800;
        o.Height = 400;
        ASSERT_EQ(RunRenderJob(o), 0) << name;
        const std::string bytes = ReadWholeFile(o.OutPng);
        if (std::string(name).ends_with(".pdf")) {
            EXPECT_EQ(bytes.substr(0, 5), "%PDF-");
            EXPECT_NE(bytes.find("/MediaBox [0 0 600.000000 300.000000]"), std::string::npos)
                << "800 x 400 pixels at 96 dpi";
        } else {
            EXPECT_NE(bytes.find("viewBox=\"0 0 3200 1600\""), std::string::npos);
            EXPECT_NE(bytes.find(">PRV10-210</text>"), std::string::npos);
        }
        // Nothing of the temporary name stays beside it.
        size_t files = 0;
        for (const auto& entry : std::filesystem::directory_iterator(Dir))
            files += entry.path().filename().string().find(".part") != std::string::npos;
        EXPECT_EQ(files, 0u);
    }
}

// Each sheet of the three-sheet sample alone: its frame in the sheet colour fills the picture,
// and only the second sheet holds the manifold's inner border.
TEST_F(RenderJobTest, ASheetIsDrawnAloneAndFillsThePicture) {
    const QRgb sheetColour = 0x606060;  // the black scheme's sheet colour
    const QRgb borderColour = 0x00FFFF; // inner borders
    for (int sheet : {1, 2, 3}) {
        RenderOptions o;
        o.File = KORVANE_SAMPLES "/multi-sheet.kdf";
        o.OutPng = (Dir / ("sheet" + std::to_string(sheet) + ".png")).string();
        o.Width = 400;
        o.Height = 300;
        o.Sheet = sheet;
        ASSERT_EQ(RunRenderJob(o), 0);
        const QImage img(QString::fromStdString(o.OutPng));
        ASSERT_FALSE(img.isNull());
        QRect frame;
        int border = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x) {
                const QRgb p = img.pixel(x, y) & 0xFFFFFF;
                if (p == sheetColour) frame |= QRect(x, y, 1, 1);
                if (p == borderColour) ++border;
            }
        EXPECT_GT(frame.width(), img.width() * 8 / 10) << sheet;
        EXPECT_GT(frame.height(), img.height() * 8 / 10) << sheet;
        if (sheet == 2)
            EXPECT_GT(border, 200) << frame.width() << "x" << frame.height();
        else
            EXPECT_EQ(border, 0) << sheet;
    }
}

// The annotated sample's photo is decoded and drawn in its frame; without the picture file the
// drawing is still drawn, with the frame only.
TEST_F(RenderJobTest, PicturesAreDrawnFromTheFileBesideTheDrawing) {
    const auto count = [](const QImage& img, QRgb colour) {
        int n = 0;
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                n += (img.pixel(x, y) & 0xFFFFFF) == colour;
        return n;
    };
    const QRgb tank = 0x2850A0, valveBlock = 0xBE2828; // colours of the photo
    RenderOptions o;
    o.File = KORVANE_SAMPLES "/annotated-circuit.kdf";
    o.OutPng = (Dir / "with.png").string();
    o.WhiteBackground = true;
    ASSERT_EQ(RunRenderJob(o), 0);
    const QImage with(QString::fromStdString(o.OutPng));
    EXPECT_GT(count(with, tank), 1000);
    EXPECT_GT(count(with, valveBlock), 200);

    fs::copy_file(o.File, Dir / "alone.kdf");
    o.File = (Dir / "alone.kdf").string();
    o.OutPng = (Dir / "without.png").string();
    testing::internal::CaptureStderr();
    ASSERT_EQ(RunRenderJob(o), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    const QImage without(QString::fromStdString(o.OutPng));
    EXPECT_EQ(count(without, tank), 0);
    EXPECT_GT(count(without, 0x000000), 1000); // the rest of the drawing is there
}

TEST_F(RenderJobTest, FailuresSayWhyOnOneLine) {
    const struct {
        std::string File;
        std::string Out;
        int Width;
        int Status;
        std::optional<int> Sheet;
    } cases[] = {
        {(Dir / "missing.kdf").string(), (Dir / "a.png").string(), 100, 1, {}},
        {KORVANE_SAMPLES "/pump-unit.kdf", (Dir / "no-such-folder" / "a.png").string(), 100, 1, {}},
        {KORVANE_SAMPLES "/pump-unit.kdf", (Dir / "a.png").string(), 0, 2, {}},
        {KORVANE_SAMPLES "/pump-unit.kdf", (Dir / "a.png").string(), 1 << 20, 2, {}},
        // No such sheet, and a drawing that is not divided into sheets at all.
        {KORVANE_SAMPLES "/multi-sheet.kdf", (Dir / "a.png").string(), 100, 1, 4},
        {KORVANE_SAMPLES "/pump-unit.kdf", (Dir / "a.png").string(), 100, 1, 1},
    };
    for (const auto& c : cases) {
        RenderOptions o;
        o.File = c.File;
        o.OutPng = c.Out;
        o.Width = c.Width;
        o.Sheet = c.Sheet;
        testing::internal::CaptureStderr();
        EXPECT_EQ(RunRenderJob(o), c.Status) << c.File << " " << c.Out;
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_EQ(err.rfind("korvane-viewer: ", 0), 0u) << err;
        EXPECT_FALSE(fs::exists(c.Out));
    }
}
} // namespace
