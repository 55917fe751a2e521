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
    static QRgb MainColour(const QImage& Img) {
        std::map<QRgb, int> Count;
        for (int Y = 0; Y < Img.height(); ++Y)
            for (int X = 0; X < Img.width(); ++X)
                ++Count[Img.pixel(X, Y)];
        return std::max_element(Count.begin(), Count.end(),
                                [](auto& A, auto& B) { return A.second < B.second; })
            ->first;
    }
    fs::path Dir;
};

TEST_F(RenderJobTest, WritesAPictureOfTheRequestedSizeAndBackground) {
    for (const bool White : {false, true}) {
        RenderOptions O;
        O.File = KORVANE_SAMPLES "/pump-unit.kdf";
        O.OutPng = (Dir / (White ? "white.png" : "black.png")).string();
        O.Width = 320;
        O.Height = 200;
        O.WhiteBackground = White;
        ASSERT_EQ(RunRenderJob(O), 0);
        const QImage Img(QString::fromStdString(O.OutPng));
        ASSERT_FALSE(Img.isNull());
        EXPECT_EQ(Img.size(), QSize(320, 200));
        EXPECT_EQ(MainColour(Img) & 0xFFFFFF, White ? 0xFFFFFFu : 0x000000u);
    }
}

TEST_F(RenderJobTest, FailuresSayWhyOnOneLine) {
    const struct {
        std::string File;
        std::string Out;
        int Width;
        int Status;
    } Cases[] = {
        {(Dir / "missing.kdf").string(), (Dir / "a.png").string(), 100, 1},
        {KORVANE_SAMPLES "/pump-unit.kdf", (Dir / "no-such-folder" / "a.png").string(), 100, 1},
        {KORVANE_SAMPLES "/pump-unit.kdf", (Dir / "a.png").string(), 0, 2},
        {KORVANE_SAMPLES "/pump-unit.kdf", (Dir / "a.png").string(), 1 << 20, 2},
    };
    for (const auto& C : Cases) {
        RenderOptions O;
        O.File = C.File;
        O.OutPng = C.Out;
        O.Width = C.Width;
        testing::internal::CaptureStderr();
        EXPECT_EQ(RunRenderJob(O), C.Status) << C.File << " " << C.Out;
        const std::string Err = testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::count(Err.begin(), Err.end(), '\n'), 1) << Err;
        EXPECT_EQ(Err.rfind("korvane-viewer: ", 0), 0u) << Err;
        EXPECT_FALSE(fs::exists(C.Out));
    }
}
} // namespace
