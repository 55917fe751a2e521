#include "render/PictureFiles.h"

#include "support/TempFiles.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <sys/stat.h>

namespace {

const std::string Pictures = std::string(KORVANE_FIXTURES) + "/pictures/";

std::vector<uint8_t> Bytes(const std::string& name) {
    std::ifstream in(Pictures + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::array<int, 4> PixelAt(const TRgbaImage& image, int x, int y) {
    const uint8_t* p = image.Pixels.data() + (size_t(y) * image.Width + x) * 4;
    return {p[0], p[1], p[2], p[3]};
}

// A sentinel picture that a failed read must leave alone.
TRgbaImage Sentinel() {
    return {1, 1, {1, 2, 3, 4}};
}

TEST(PictureFiles, PngDecodesToItsExactPixels) {
    struct TCase {
        const char* File;
        int Width, Height;
        std::vector<std::array<int, 4>> Pixels; // row by row
    };
    const TCase cases[] = {
        {"rgba-3x2.png",
         3,
         2,
         {{255, 0, 0, 255},
          {0, 255, 0, 255},
          {0, 0, 255, 255},
          {255, 255, 255, 255},
          {255, 255, 0, 128},
          {0, 0, 0, 0}}},
        {"palette-2x2.png",
         2,
         2,
         {{128, 128, 128, 255}, {255, 0, 255, 0}, {255, 0, 255, 0}, {128, 128, 128, 255}}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.File);
        TRgbaImage image;
        std::string reason;
        ASSERT_EQ(ReadPictureFile(Pictures + c.File, image, reason), TPictureStatus::psOk) << reason;
        ASSERT_EQ(image.Width, c.Width);
        ASSERT_EQ(image.Height, c.Height);
        ASSERT_TRUE(image.Valid());
        for (int i = 0; i < c.Width * c.Height; ++i)
            EXPECT_EQ(PixelAt(image, i % c.Width, i / c.Width), c.Pixels[size_t(i)]) << "pixel " << i;
    }
}

TEST(PictureFiles, JpegDecodesRgbGreyAndAdobeCmykToOpaqueRgba) {
    struct TCase {
        const char* File;
        std::array<int, 3> Colour;
    };
    // JPEG is lossy: every pixel is within a few levels of the colour the picture was made of.
    const TCase cases[] = {
        {"rgb-8x8.jpg", {200, 40, 90}},
        {"gray-8x8.jpg", {100, 100, 100}},
        {"cmyk-8x8.jpg", {200, 40, 90}},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.File);
        TRgbaImage image;
        std::string reason;
        ASSERT_EQ(ReadPictureFile(Pictures + c.File, image, reason), TPictureStatus::psOk) << reason;
        ASSERT_EQ(image.Width, 8);
        ASSERT_EQ(image.Height, 8);
        ASSERT_TRUE(image.Valid());
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) {
                const auto p = PixelAt(image, x, y);
                for (int k = 0; k < 3; ++k)
                    EXPECT_NEAR(p[size_t(k)], c.Colour[size_t(k)], 3) << x << "," << y << " channel " << k;
                EXPECT_EQ(p[3], 255);
            }
    }
}

TEST(PictureFiles, WhatIsNoPictureFileIsRefusedWithAReasonAndWithoutWaiting) {
    TTempDir dir;
    const std::string fifo = dir.File("pipe.png");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string folder = dir.File("folder.png");
    std::filesystem::create_directory(folder);
    const std::string empty = dir.Write("empty.png", "");
    const std::string text = dir.Write("notes.png", "not a picture at all");

    struct TCase {
        std::string File;
        TPictureStatus Status;
        const char* ReasonPart;
    };
    const TCase cases[] = {
        {dir.File("missing.png"), TPictureStatus::psMissing, "does not exist"},
        {dir.File("missing/inside.png"), TPictureStatus::psMissing, "does not exist"},
        {folder, TPictureStatus::psNotAFile, "folder"},
        // A FIFO without a writer would block an ordinary open for ever.
        {fifo, TPictureStatus::psNotAFile, "not a regular file"},
        {"/dev/zero", TPictureStatus::psNotAFile, "not a regular file"},
        {empty, TPictureStatus::psUnknownFormat, "empty"},
        {text, TPictureStatus::psUnknownFormat, "neither a PNG nor a JPEG"},
        {Pictures + "huge-header.png", TPictureStatus::psTooLarge, "100000 x 100000"},
        {Pictures + "huge-header.jpg", TPictureStatus::psTooLarge, "60000 x 60000"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.File);
        TRgbaImage image = Sentinel();
        std::string reason;
        EXPECT_EQ(ReadPictureFile(c.File, image, reason), c.Status);
        EXPECT_NE(reason.find(c.ReasonPart), std::string::npos) << reason;
        EXPECT_EQ(image.Pixels, Sentinel().Pixels);
    }
}

TEST(PictureFiles, LimitsHoldAtTheirEdges) {
    const std::string file = Pictures + "rgba-3x2.png";
    const uint64_t size = std::filesystem::file_size(file);
    struct TCase {
        TPictureLimits Limits;
        TPictureStatus Status;
    };
    const TCase cases[] = {
        {{size, 3, 6}, TPictureStatus::psOk},
        {{size - 1, 3, 6}, TPictureStatus::psTooLarge},
        {{size, 2, 6}, TPictureStatus::psTooLarge},
        {{size, 3, 5}, TPictureStatus::psTooLarge},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.Limits.MaxFileBytes << " bytes, side " << c.Limits.MaxSide
                                        << ", " << c.Limits.MaxPixels << " pixels");
        TRgbaImage image;
        std::string reason;
        EXPECT_EQ(ReadPictureFile(file, image, reason, c.Limits), c.Status) << reason;
    }
}

// Every cut through a picture's data and every flipped byte either decodes or gives a reason;
// the sanitizer build checks that none of them reads out of bounds or leaks.
TEST(PictureFiles, CutAndCorruptedPicturesFailWithAReason) {
    for (const char* name : {"rgba-3x2.png", "palette-2x2.png", "rgb-8x8.jpg", "cmyk-8x8.jpg"}) {
        SCOPED_TRACE(name);
        const std::vector<uint8_t> whole = Bytes(name);
        ASSERT_FALSE(whole.empty());
        for (size_t n = 0; n < whole.size(); ++n) {
            TRgbaImage image = Sentinel();
            std::string reason;
            const TPictureStatus s = DecodePicture(std::span(whole.data(), n), image, reason);
            // The end marker carries no pixels; a file cut only there may still show.
            if (s == TPictureStatus::psOk) {
                EXPECT_GE(n + 12, whole.size()) << "cut at " << n;
                continue;
            }
            EXPECT_FALSE(reason.empty()) << "cut at " << n;
            EXPECT_EQ(image.Pixels, Sentinel().Pixels);
        }
        for (size_t i = 0; i < whole.size(); ++i) {
            std::vector<uint8_t> bad = whole;
            bad[i] ^= 0x5A;
            TRgbaImage image;
            std::string reason;
            const TPictureStatus s = DecodePicture(bad, image, reason);
            EXPECT_TRUE(s == TPictureStatus::psOk ? image.Valid() : !reason.empty()) << "byte " << i;
        }
    }
}

TEST(PictureFiles, TruncatedPicturesAreDamaged) {
    for (const char* name : {"rgba-3x2.png", "rgb-8x8.jpg"}) {
        SCOPED_TRACE(name);
        const std::vector<uint8_t> whole = Bytes(name);
        TRgbaImage image;
        std::string reason;
        EXPECT_EQ(DecodePicture(std::span(whole.data(), whole.size() / 2), image, reason),
                  TPictureStatus::psDamaged);
        EXPECT_NE(reason.find("damaged"), std::string::npos) << reason;
    }
}

} // namespace
