// korvane-viewer --print OUT.pdf FILE: the print-preview pages of an archive into one PDF file.
#include "app/PrintJob.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QImage>
#include <QPdfDocument>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/TempFiles.h"

namespace {
namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::Not;

const std::string Sample = KORVANE_SAMPLES "/pump-unit.kdx";

// Share of dark pixels of a page rendered at 36 dpi over white.
double Ink(QPdfDocument& doc, int page) {
    const QImage rendered = doc.render(page, (doc.pagePointSize(page) / 2).toSize());
    int dark = 0;
    for (int y = 0; y < rendered.height(); ++y)
        for (int x = 0; x < rendered.width(); ++x) {
            const QRgb p = rendered.pixel(x, y);
            dark += qAlpha(p) > 128 && qGray(p) < 128;
        }
    return double(dark) / (rendered.width() * rendered.height());
}

class PrintJobTest : public ::testing::Test {
protected:
    // A packed archive with the sample's drawing and pages named -> content; content "sheet1" or
    // "sheet2" stands for that page of the sample archive.
    std::string Archive(const std::string& name,
                        const std::vector<std::pair<std::string, std::string>>& pages) {
        const std::string kdx = Dir.File(name);
        std::string script = "import zipfile\n"
                             "src = zipfile.ZipFile(r'" +
                             Sample +
                             "')\n"
                             "out = zipfile.ZipFile(r'" +
                             kdx +
                             "', 'w', zipfile.ZIP_DEFLATED)\n"
                             "out.writestr('pump-unit.kdf', src.read('pump-unit.kdf'))\n";
        for (const auto& [page, content] : pages) {
            const std::string data = content == "sheet1"   ? "src.read('~PrintPreview/Sheet1.pdf')"
                                     : content == "sheet2" ? "src.read('~PrintPreview/Sheet2.pdf')"
                                                           : "b'" + content + "'";
            script += "out.writestr('~PrintPreview/" + page + "', " + data + ")\n";
        }
        script += "out.close()\n";
        const std::string py = Dir.Write("make-" + name + ".py", script);
        EXPECT_EQ(std::system(("python3 " + py).c_str()), 0);
        return kdx;
    }
    // Files of the output folder other than the inputs, so leftovers of a job show.
    std::vector<std::string> Outputs() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(Dir.Path()))
            if (entry.path().extension() != ".kdx" && entry.path().extension() != ".py")
                names.push_back(entry.path().filename().string());
        return names;
    }
    TTempDir Dir;
};

TEST_F(PrintJobTest, TheSampleArchivePrintsEveryPageInOrderOntoA4) {
    const std::string out = Dir.File("pump-unit.pdf");
    testing::internal::CaptureStderr();
    ASSERT_EQ(RunPrintJob(out, Sample), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_THAT(Outputs(), testing::ElementsAre("pump-unit.pdf"));

    QPdfDocument printed;
    ASSERT_EQ(printed.load(QString::fromStdString(out)), QPdfDocument::Error::None);
    ASSERT_EQ(printed.pageCount(), 2);
    // Each page as drawn: A4 landscape pages on A4 landscape paper, ink where the page has it.
    const QString sheet[] = {"Sheet 1 of 2", "Sheet 2 of 2"};
    for (int page = 0; page < 2; ++page) {
        EXPECT_EQ(printed.pagePointSize(page).toSize(), QSize(842, 595)) << page;
        EXPECT_GT(Ink(printed, page), 0.005) << page;
        EXPECT_LT(Ink(printed, page), 0.5) << page;
    }
    // The pages are printed as rasters, so no text comes through; the order shows in the ink:
    // the parts list (sheet 2) has more ruled lines in its upper half than the circuit.
    const auto upperInk = [&](int page) {
        const QImage img = printed.render(page, QSize(421, 297));
        int dark = 0;
        for (int y = 30; y < 110; ++y)
            for (int x = 80; x < 300; ++x)
                dark += qAlpha(img.pixel(x, y)) > 128 && qGray(img.pixel(x, y)) < 128;
        return dark;
    };
    EXPECT_GT(upperInk(1), upperInk(0));
}

TEST_F(PrintJobTest, NothingToPrintExitsOneAndLeavesAnEarlierOutputAlone) {
    const std::string onlyDrawing = Archive("drawing-only.kdx", {});
    const std::string allDamaged = Archive("damaged.kdx", {{"Sheet1.pdf", "%PDF-1.4 broken"}});
    const struct {
        std::string File;
        std::string Says;
    } cases[] = {
        {KORVANE_SAMPLES "/pump-unit.kdf", "has no print pages"},
        {onlyDrawing, "has no print pages"},
        {allDamaged, "none of its print pages could be printed"},
        {Dir.File("missing.kdx"), "does not exist"},
    };
    const std::string out = Dir.File("out.pdf");
    for (const auto& c : cases) {
        std::ofstream(out) << "earlier output";
        testing::internal::CaptureStderr();
        EXPECT_EQ(RunPrintJob(out, c.File), 1) << c.File;
        const std::string err = testing::internal::GetCapturedStderr();
        EXPECT_THAT(err, HasSubstr(c.Says)) << c.File;
        EXPECT_EQ(err.back(), '\n');
        EXPECT_EQ(ReadWholeFile(out), "earlier output") << c.File;
        EXPECT_THAT(Outputs(), testing::ElementsAre("out.pdf")) << c.File;
    }
}

TEST_F(PrintJobTest, ADamagedPageFileIsNamedAndTheOthersPrinted) {
    const std::string kdx =
        Archive("three.kdx", {{"A.pdf", "sheet1"}, {"B.pdf", "%PDF-1.4 not really"}, {"C.pdf", "sheet2"}});
    const std::string out = Dir.File("out.pdf");
    testing::internal::CaptureStderr();
    ASSERT_EQ(RunPrintJob(out, kdx), 0);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_THAT(err, HasSubstr("~PrintPreview/B.pdf"));
    EXPECT_THAT(err, Not(HasSubstr("A.pdf")));
    EXPECT_THAT(err, Not(HasSubstr("~KDX~"))); // named as in the archive, not in its unpack folder
    QPdfDocument printed;
    ASSERT_EQ(printed.load(QString::fromStdString(out)), QPdfDocument::Error::None);
    EXPECT_EQ(printed.pageCount(), 2);
}

TEST_F(PrintJobTest, AnOutputThatCannotBeWrittenExitsOne) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(RunPrintJob(Dir.File("no-such-folder/out.pdf"), Sample), 1);
    EXPECT_THAT(testing::internal::GetCapturedStderr(), HasSubstr("no-such-folder/out.pdf"));
    EXPECT_FALSE(fs::exists(Dir.Path() / "no-such-folder"));
}
} // namespace
