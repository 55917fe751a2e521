#include "objects/ImageObject.h"

#include "components/SymbolObjectSymbol.h"
#include "document/SymbolFile.h"
#include "model/JsonWriter.h"
#include "model/KeyValues.h"
#include "platform/MessageBox.h"
#include "render/RecordingSurface.h"
#include "render/SymbolCanvas.h"
#include "support/TempFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

const std::string Pictures = std::string(KORVANE_FIXTURES) + "/pictures/";

std::string DumpOf(const TSymbolObject& obj) {
    TJsonWriter w(false);
    obj.Dump(w);
    return w.Text();
}

std::vector<std::string> CallsNamed(const TRecordingSurface& s, const std::string& op) {
    return s.CallsStartingWith(op + " ");
}

TEST(ImageRecords, KeysDefaultsDumpAndFactory) {
    const auto created = CreateSymbolObject(somImage);
    auto* image = dynamic_cast<TSymbolObjectImage*>(created.get());
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->fSymbolObjectSubType, soImage);

    TRecordReader reader("  Point1X=10\r\n  Point1Y=20\r\n  Point2X=300\r\n  Point2Y=-40\r\n  "
                         "ImageFileName=pics\\Logo 1.png\r\n"
                         "End.\r\nafter\r\n",
                         TRecordVariant::UniCode);
    image->LoadFromReader(reader);
    EXPECT_EQ(image->fP2, TPoint(300, -40));
    EXPECT_EQ(image->fData.ImageFileName, "pics\\Logo 1.png");
    const std::string dump = DumpOf(*image);
    for (const char* part : {"\"Class\":\"TSymbolObjectImage\"", "\"P2\":[300, -40]",
                             "\"Data\":{\"ImageFileName\":\"pics\\\\Logo 1.png\"}", "\"IsLoaded\":false",
                             "\"Bitmap\":{\"Width\":0,\"Height\":0}", "\"ImageFolder\":\"\""})
        EXPECT_NE(dump.find(part), std::string::npos) << part << " in " << dump;

    image->SetDefaults();
    EXPECT_EQ(image->fData.ImageFileName, "");
    EXPECT_EQ(image->fP2, TPoint());
    EXPECT_EQ(image->fSymbolObjectSubType, soImage);
}

TEST(ImageFileNames, TheImageFolderGoesInFrontOfBareNamesOnly) {
    struct TCase {
        const char* Folder;
        const char* Stored;
        const char* Resolved;
    };
    const TCase cases[] = {
        {"/drawings/press", "logo.png", "/drawings/press/logo.png"},
        {"/drawings/press/", "logo.png", "/drawings/press/logo.png"},
        {"/drawings/press", "/other/logo.png", "/other/logo.png"},
        {"/drawings/press", "C:\\Pictures\\logo.png", "C:\\Pictures\\logo.png"},
        {"", "logo.png", "logo.png"},
        {"/drawings/press", "", ""},
    };
    for (const TCase& c : cases) {
        TSymbolObjectImage image;
        image.fImageFolder = c.Folder;
        image.fData.ImageFileName = c.Stored;
        EXPECT_EQ(image.ImageFileName(), c.Resolved) << c.Folder << " + " << c.Stored;
    }
}

TEST(ImageFileNames, SettingANameInTheImageFolderStoresItBareAndReadsAgain) {
    struct TCase {
        const char* Value;
        const char* Stored;
    };
    const TCase cases[] = {
        {"/Drawings/PRESS/logo.png", "logo.png"}, // the folder compared ignoring case
        {"/drawings/press//logo.png", "logo.png"},
        {"/drawings/press/sub/logo.png", "/drawings/press/sub/logo.png"},
        {"/drawings/pressed/logo.png", "/drawings/pressed/logo.png"},
        {"logo.png", "logo.png"},
    };
    for (const TCase& c : cases) {
        TSymbolObjectImage image;
        image.fImageFolder = "/drawings/press";
        image.fIsLoaded = true;
        image.fBitmap = {1, 1, {0, 0, 0, 255}};
        image.SetImageFileName(c.Value);
        EXPECT_EQ(image.fData.ImageFileName, c.Stored) << c.Value;
        EXPECT_FALSE(image.fIsLoaded);
        EXPECT_FALSE(image.fBitmap.Valid());
    }
}

TEST(ImageGeometry, TheWholeRectangleCountsForHitsAndExtents) {
    TSymbolObjectImage image;
    image.fP1 = {300, 100};
    image.fP2 = {100, 250};

    const TExtentsRect e = image.Extents({});
    EXPECT_TRUE(e.Defined);
    EXPECT_EQ(e.Left, 100);
    EXPECT_EQ(e.Right, 300);
    EXPECT_EQ(e.Bottom, 100);
    EXPECT_EQ(e.Top, 250);

    struct THit {
        TPoint Pt;
        double Distance;
        bool Hit;
    };
    const THit hits[] = {
        {{200, 170}, 0, true}, // inside, far from the frame
        {{100, 250}, 0, true}, {{95, 250}, 4, false}, {{95, 250}, 5, true}, {{200, 260}, 5, false},
    };
    for (const THit& h : hits)
        EXPECT_EQ(image.HitTest(h.Pt, h.Distance), h.Hit)
            << h.Pt.X << "," << h.Pt.Y << " within " << h.Distance;

    struct TRectHit {
        TRect Rect;
        bool Hit;
    };
    const TRectHit rects[] = {
        {{{0, 0}, {400, 400}}, true},     // window around it
        {{{150, 0}, {400, 400}}, false},  // window over a part
        {{{400, 400}, {150, 0}}, true},   // crossing over a part
        {{{400, 400}, {310, 0}}, false},  // crossing beside it
        {{{250, 200}, {150, 150}}, true}, // crossing inside it
    };
    for (const TRectHit& r : rects)
        EXPECT_EQ(image.HitTestRect(r.Rect), r.Hit)
            << r.Rect.P1.X << "," << r.Rect.P1.Y << " " << r.Rect.P2.X << "," << r.Rect.P2.Y;
}

// Zoom 1 and Y up: drawing (x, y) lands on device (x, 600 - y). Pictures are copied into a
// folder of the test's own, where the image object looks for them.
class ImageDraw : public ::testing::Test {
public:
    TRecordingSurface Surface;
    TSymbolCanvas Canvas{&Surface};
    TRecordingMessageBoxes Boxes;
    TScopedMessageBoxes Scope{Boxes};
    TTempDir Dir;

    void SetUp() override { Canvas.fSize = {800, 600}; }

    std::unique_ptr<TSymbolObjectImage> Image(const std::string& name, TPoint p1 = {100, 100},
                                              TPoint p2 = {400, 400}) {
        auto image = std::make_unique<TSymbolObjectImage>();
        image->fImageFolder = Dir.Path().string();
        image->fData.ImageFileName = name;
        image->fP1 = p1;
        image->fP2 = p2;
        return image;
    }
    void Copy(const std::string& fixture, const std::string& as) {
        fs::copy_file(Pictures + fixture, Dir.File(as), fs::copy_options::overwrite_existing);
    }
    // One paint as the view paints: measuring, then drawing.
    const std::vector<std::string>& Paint(TSymbolObjectImage& image, TSymbolDrawMode mode = sdmNormal) {
        Surface.ClearCalls();
        image.Draw(Canvas, mode, false, nullptr);
        return Surface.Calls();
    }
};

TEST_F(ImageDraw, ThePictureIsStretchedIntoItsFrameKeepingItsProportions) {
    Copy("rgba-3x2.png", "logo.png");
    struct TCase {
        TPoint P1, P2;
        std::string Bitmap; // the DrawBitmap call, or "" for none
    };
    const TCase cases[] = {
        // 300 x 300 units: the 3 x 2 picture fills the width and two thirds of the height.
        {{100, 100}, {400, 400}, "DrawBitmap 100 200 400 400 3x2"},
        {{400, 400}, {100, 100}, "DrawBitmap 100 200 400 400 3x2"},
        // Tall and narrow: the width decides.
        {{0, 0}, {30, 300}, "DrawBitmap 0 300 30 320 3x2"},
        // Wide and low: the height decides.
        {{0, 0}, {600, 20}, "DrawBitmap 0 580 30 600 3x2"},
        // No height: nothing to stretch into.
        {{0, 50}, {600, 50}, ""},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Bitmap);
        auto image = Image("logo.png", c.P1, c.P2);
        Paint(*image);
        std::vector<std::string> expected;
        if (!c.Bitmap.empty()) expected.push_back(c.Bitmap);
        EXPECT_EQ(CallsNamed(Surface, "DrawBitmap"), expected);
        EXPECT_TRUE(image->fIsLoaded);
    }
    EXPECT_TRUE(Boxes.Messages.empty());
}

TEST_F(ImageDraw, TheFrameIsDrawnInTheHelperColourAndCrossedWhenHighlighted) {
    Copy("rgba-3x2.png", "logo.png");
    auto image = Image("logo.png");
    const auto& normal = Paint(*image);
    const std::vector<std::string> expectedNormal = {
        "Pen " + ColorText(Canvas.DrawColor(dcHelper)) + " solid 1 copy",
        "Polygon 100 500 400 500 400 200 100 200",
        "DrawBitmap 100 200 400 400 3x2",
    };
    ASSERT_GE(normal.size(), 3U);
    EXPECT_EQ(std::vector<std::string>(normal.end() - 3, normal.end()), expectedNormal);

    // Highlighted: both diagonals under the frame, no picture.
    const auto& highlight = Paint(*image, sdmHighlight);
    std::vector<std::string> shapes;
    for (const std::string& call : highlight)
        if (call.rfind("Pen", 0) != 0 && call.rfind("Brush", 0) != 0) shapes.push_back(call);
    EXPECT_EQ(shapes,
              (std::vector<std::string>{"MoveTo 100 500", "LineTo 400 200", "MoveTo 100 200",
                                        "LineTo 400 500", "Polygon 100 500 400 500 400 200 100 200"}));

    // Frames hidden: the picture alone.
    Canvas.fHideImageRectangles = true;
    Paint(*image);
    EXPECT_EQ(Surface.CallsStartingWith("Polygon"), std::vector<std::string>{});
    EXPECT_EQ(CallsNamed(Surface, "DrawBitmap").size(), 1U);
}

TEST_F(ImageDraw, APictureIsDecodedOnceUntilItsNameChanges) {
    Copy("rgba-3x2.png", "logo.png");
    auto image = Image("logo.png");
    Paint(*image);
    EXPECT_EQ(CallsNamed(Surface, "DrawBitmap"), std::vector<std::string>{"DrawBitmap 100 200 400 400 3x2"});

    // Had the second paint read the file again, it would find the 2 x 2 picture, or nothing.
    Copy("palette-2x2.png", "logo.png");
    Paint(*image);
    EXPECT_EQ(CallsNamed(Surface, "DrawBitmap"), std::vector<std::string>{"DrawBitmap 100 200 400 400 3x2"});
    fs::remove(Dir.File("logo.png"));
    Paint(*image);
    EXPECT_EQ(CallsNamed(Surface, "DrawBitmap"), std::vector<std::string>{"DrawBitmap 100 200 400 400 3x2"});

    Copy("palette-2x2.png", "logo.png");
    image->SetImageFileName(Dir.File("logo.png"));
    EXPECT_EQ(image->fData.ImageFileName, "logo.png");
    Paint(*image);
    EXPECT_EQ(CallsNamed(Surface, "DrawBitmap"), std::vector<std::string>{"DrawBitmap 100 200 400 500 2x2"});
    EXPECT_TRUE(Boxes.Messages.empty());
}

TEST_F(ImageDraw, AMissingPictureDrawsItsFrameOnlyAndIsLookedForAgain) {
    auto image = Image("later.png");
    for (int paint = 0; paint < 2; ++paint) {
        Paint(*image);
        EXPECT_EQ(Surface.CallsStartingWith("Polygon").size(), 1U);
        EXPECT_TRUE(CallsNamed(Surface, "DrawBitmap").empty());
        EXPECT_TRUE(CallsNamed(Surface, "LineTo").empty()) << "no cross";
        EXPECT_TRUE(CallsNamed(Surface, "TextOut").empty());
        EXPECT_FALSE(image->fIsLoaded);
        EXPECT_EQ(image->fData.ImageFileName, "later.png");
    }
    EXPECT_TRUE(Boxes.Messages.empty());

    Copy("rgb-8x8.jpg", "later.png");
    Paint(*image);
    EXPECT_EQ(CallsNamed(Surface, "DrawBitmap"), std::vector<std::string>{"DrawBitmap 100 200 400 500 8x8"});
}

TEST_F(ImageDraw, APictureThatCannotBeShownIsReportedOnceAndCrossedOut) {
    ASSERT_EQ(::mkfifo(Dir.File("pipe.png").c_str(), 0600), 0);
    fs::create_directory(Dir.File("folder.png"));
    Dir.Write("notes.png", "no picture here");
    // Past the size limit without taking the disk space: the size is checked before reading.
    Dir.Write("big.png", "\x89PNG\r\n\x1a\n");
    fs::resize_file(Dir.File("big.png"), (uint64_t(64) << 20) + 1);
    Copy("rgba-3x2.png", "cut.png");
    fs::resize_file(Dir.File("cut.png"), fs::file_size(Dir.File("cut.png")) / 2);
    Copy("huge-header.png", "huge.png");
    Copy("huge-header.jpg", "huge.jpg");

    struct TCase {
        const char* Name;
        const char* Reason;
    };
    const TCase cases[] = {
        {"pipe.png", "not a regular file"},
        {"folder.png", "folder"},
        {"notes.png", "neither a PNG nor a JPEG"},
        {"big.png", "67108865 bytes"},
        {"cut.png", "damaged"},
        {"huge.png", "100000 x 100000"},
        {"huge.jpg", "60000 x 60000"},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        Boxes.Messages.clear();
        auto image = Image(c.Name);
        for (int paint = 0; paint < 3; ++paint) {
            Paint(*image);
            EXPECT_TRUE(CallsNamed(Surface, "DrawBitmap").empty());
            // The frame with both diagonals and the name in its top left corner, 8 units in.
            EXPECT_EQ(CallsNamed(Surface, "LineTo"),
                      (std::vector<std::string>{"LineTo 400 200", "LineTo 400 500"}));
            EXPECT_EQ(Surface.CallsStartingWith("Polygon").size(), 1U);
            EXPECT_EQ(CallsNamed(Surface, "TextOut"),
                      std::vector<std::string>{"TextOut 108 208 " + std::string(c.Name)});
        }
        ASSERT_EQ(Boxes.Messages.size(), 1U);
        EXPECT_EQ(Boxes.Messages[0].Kind, TMessageKind::mkError);
        EXPECT_NE(Boxes.Messages[0].Text.find(Dir.File(c.Name)), std::string::npos) << Boxes.Messages[0].Text;
        EXPECT_NE(Boxes.Messages[0].Text.find(c.Reason), std::string::npos) << Boxes.Messages[0].Text;
        EXPECT_TRUE(image->fIsLoaded);
        EXPECT_EQ(image->fData.ImageFileName, "?" + std::string(c.Name));
    }
}

TEST_F(ImageDraw, ThePlaceholderNamesThePictureOnlyWhereItCanBeRead) {
    Dir.Write("notes.png", "no picture here");
    struct TCase {
        double Zoom;
        TPoint P2;
        size_t Texts;
    };
    const TCase cases[] = {
        {1, {400, 400}, 1},
        {0.1, {400, 400}, 0}, // two pixels high
        {1, {180, 400}, 0},   // narrower than the name
        {1, {400, 120}, 0},   // lower than the name
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "zoom " << c.Zoom << ", corner " << c.P2.X << "," << c.P2.Y);
        Canvas.fZoom = c.Zoom;
        auto image = Image("notes.png", {100, 100}, c.P2);
        Paint(*image);
        EXPECT_EQ(CallsNamed(Surface, "TextOut").size(), c.Texts);
        EXPECT_EQ(CallsNamed(Surface, "LineTo").size(), 2U);
    }
}

TEST(ImageFolders, PicturesBesideADrawingAreFoundWhereverItIsOpenedFrom) {
    TTempDir dir;
    fs::create_directories(dir.File("press"));
    fs::copy_file(Pictures + "rgba-3x2.png", dir.File("press/logo.png"),
                  fs::copy_options::overwrite_existing);
    const std::string drawing =
        dir.Write("press/circuit.sym", "SymbolFile:\r\n\r\nHeader:\r\n  FileType=Symbol\r\n"
                                       "End.\r\n\r\nSYMBOL:\r\n  Handle=-1\r\n"
                                       "  Symbol:\r\n    Handle=1\r\n"
                                       "    Image:\r\n      Handle=2\r\n"
                                       "      Point2X=300\r\n      Point2Y=200\r\n"
                                       "      ImageFileName=logo.png\r\n    End.\r\n"
                                       "  End.\r\nEnd.\r\n");
    TSymbolFile doc;
    ASSERT_TRUE(doc.LoadFromFile(drawing)) << doc.LastError();
    TSymbolObjectImage* image = nullptr;
    doc.Symbol().ForEachInSubtree([&](TSymbolObject* obj) {
        if (auto* i = dynamic_cast<TSymbolObjectImage*>(obj)) image = i;
    });
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->ImageFileName(), dir.File("press/logo.png"));
    image->LoadPicture();
    EXPECT_EQ(image->fBitmap.Width, 3);
}

} // namespace
