#include "app/RenderJob.h"

#include <QImage>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>

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

TEST_F(RenderJobTest, FailuresSayWhyOnOneLine) {
    const struct {
        std::string File;
        std::string Out;
        int Width;
        int Status;
    } cases[] = {
        {(Dir / "missing.kdf").string(), (Dir / "a.png").string(), 100, 1},
        {KORVANE_SAMPLES "/pump-unit.kdf", (Dir / "no-such-folder" / "a.png").string(), 100, 1},
        {KORVANE_SAMPLES "/pump-unit.kdf", (Dir / "a.png").string(), 0, 2},
        {KORVANE_SAMPLES "/pump-unit.kdf", (Dir / "a.png").string(), 1 << 20, 2},
    };
    for (const auto& c : cases) {
        RenderOptions o;
        o.File = c.File;
        o.OutPng = c.Out;
        o.Width = c.Width;
        testing::internal::CaptureStderr();
        EXPECT_EQ(RunRenderJob(o), c.Status) << c.File << " " << c.Out;
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_EQ(err.rfind("korvane-viewer: ", 0), 0u) << err;
        EXPECT_FALSE(fs::exists(c.Out));
    }
}
} // namespace
