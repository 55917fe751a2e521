#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/BomJob.h"
#include "app/CommandLine.h"
#include "app/DumpJob.h"
#include "app/RenderJob.h"
#include "support/TempFiles.h"

namespace {

namespace fs = std::filesystem;

TEST(CommandLine, RenderWritesOnlyPngNamesAndGroupModesAreNamed) {
    const struct {
        std::vector<std::string> Args;
        TCommandLine::TJob Job;
    } cases[] = {
        {{"--render", "out.png", "a.kdf"}, TCommandLine::TJob::Render},
        {{"--render", "OUT.PNG", "a.kdf"}, TCommandLine::TJob::Render},
        {{"--render", "out.jpg", "a.kdf"}, TCommandLine::TJob::Usage},
        {{"--render", "out.pdf", "a.kdf"}, TCommandLine::TJob::Render},
        {{"--render", "out.Svg", "a.kdf"}, TCommandLine::TJob::Render},
        {{"--render", "out", "a.kdf"}, TCommandLine::TJob::Usage},
        {{"--render", "png", "a.kdf"}, TCommandLine::TJob::Usage},
        {{"--group-mode", "none2", "--render", "o.png", "a.kdf"}, TCommandLine::TJob::Render},
        {{"--group-mode", "none3", "a.kdf"}, TCommandLine::TJob::Usage},
        {{"a.kdf"}, TCommandLine::TJob::Window},
        {{"--render", "o.png", "--sheet", "2", "a.kdf"}, TCommandLine::TJob::Render},
        {{"--sheet", "2", "a.kdf"}, TCommandLine::TJob::Usage}, // only a picture has a sheet
        {{"--render", "o.png", "--sheet", "0", "a.kdf"}, TCommandLine::TJob::Usage},
        {{"--render", "o.png", "--sheet", "-1", "a.kdf"}, TCommandLine::TJob::Usage},
        {{"--render", "o.png", "--sheet", "2x", "a.kdf"}, TCommandLine::TJob::Usage},
        {{"--render", "o.png", "--sheet", "99999999999", "a.kdf"}, TCommandLine::TJob::Usage},
        {{"--render", "o.png", "a.kdf", "--sheet"}, TCommandLine::TJob::Usage},
        {{"--datasheet", "a.kdf", "12"}, TCommandLine::TJob::DataSheet},
        {{"--datasheet", "a.kdf", "-1"}, TCommandLine::TJob::DataSheet},
        {{"--datasheet", "a.kdf"}, TCommandLine::TJob::Usage},
        {{"--datasheet", "a.kdf", "x12"}, TCommandLine::TJob::Usage},
        {{"--datasheet", "a.kdf", "12", "b.kdf"}, TCommandLine::TJob::Usage},
        {{"--print", "out.pdf", "a.kdx"}, TCommandLine::TJob::Print},
        {{"--print", "OUT.PDF", "a.kdx"}, TCommandLine::TJob::Print},
        {{"--print", "out.png", "a.kdx"}, TCommandLine::TJob::Usage},
        {{"--print", "out.pdf"}, TCommandLine::TJob::Usage},
        {{"--print", "out.pdf", "--dump", "a.kdx"}, TCommandLine::TJob::Usage},
        {{"--bom", "a.kdf"}, TCommandLine::TJob::Bom},
        {{"--bom", "--csv", "--units", "imperial", "a.kdf"}, TCommandLine::TJob::Bom},
        {{"--bom", "--units", "furlongs", "a.kdf"}, TCommandLine::TJob::Usage},
        {{"--csv", "a.kdf"}, TCommandLine::TJob::Usage}, // CSV of what?
        {{"--bom"}, TCommandLine::TJob::Usage},
        {{"--bom", "--dump", "a.kdf"}, TCommandLine::TJob::Usage},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseCommandLine(c.Args).Job, c.Job) << testing::PrintToString(c.Args);
    EXPECT_EQ(ParseCommandLine({"--render", "o.png", "--sheet", "12", "a.kdf"}).Sheet, 12);
    const TCommandLine ds = ParseCommandLine({"--datasheet", "a.kdf", "-7"});
    EXPECT_EQ(ds.File, "a.kdf");
    EXPECT_EQ(ds.Handle, -7);
    EXPECT_EQ(ParseCommandLine({"--print", "o.pdf", "a.kdx"}).OutPdf, "o.pdf");
    const TCommandLine bom = ParseCommandLine({"--bom", "--units", "imperial", "--csv", "a.kdf"});
    EXPECT_EQ(bom.MetricUnits, false);
    EXPECT_TRUE(bom.Csv);
    EXPECT_EQ(ParseCommandLine({"--bom", "a.kdf"}).MetricUnits, std::nullopt);
    // The help says what each group mode draws.
    const std::string help = UsageText();
    for (const char* mode : {"main", "none1", "sub", "none2"})
        EXPECT_NE(help.find(std::string("  ") + mode + " "), std::string::npos) << mode;
}

// Every kind of file that cannot be shown gets one line on stderr and exit status 1 from both
// jobs; a truncated drawing is shown with a note.
TEST(CommandLine, JobsSayWhyAFileCannotBeShown) {
    TTempDir dir;
    std::string random(3000, '\0');
    for (size_t i = 0; i < random.size(); ++i)
        random[i] = char((i * 2654435761u) >> 13);
    const std::string drawing = "Header:\r\n  FileType=Schematic\r\nEnd.\r\nSYMBOL:\r\n  Symbol:\r\n    "
                                "2PointSymbol:\r\n      Point2X=500\r\n    End.\r\n  End.\r\nEnd.\r\n";
    const struct {
        std::string File;
        int Status;
        std::string Says;
    } cases[] = {
        {dir.Write("empty.kdf", ""), 1, "is not a drawing file"},
        {dir.Write("random.kdf", random), 1, "is not a drawing file"},
        {dir.Write("letter.kdf", "Dear reader,\nthis is a letter.\n"), 1, "is not a drawing file"},
        {dir.Write("cut.kdf", drawing.substr(0, drawing.find("Point2X"))), 0, "damaged records"},
        {dir.Write("notes.txt", drawing), 1, "is not a file type the viewer opens"},
        {dir.File("missing.kdf"), 1, "does not exist"},
    };
    for (const auto& c : cases) {
        for (const bool render : {false, true}) {
            const std::string out = dir.File("out.png");
            testing::internal::CaptureStderr();
            testing::internal::CaptureStdout();
            int status;
            if (render) {
                RenderOptions o;
                o.File = c.File;
                o.OutPng = out;
                status = RunRenderJob(o);
            } else {
                status = RunDumpJob(c.File);
            }
            const std::string dumped = testing::internal::GetCapturedStdout();
            const std::string err = testing::internal::GetCapturedStderr();
            const std::string job = render ? "--render " : "--dump ";
            EXPECT_EQ(status, c.Status) << job << c.File;
            EXPECT_EQ(err.rfind("korvane-viewer: ", 0), 0u) << job << err;
            EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << job << err;
            EXPECT_NE(err.find(c.Says), std::string::npos) << job << err;
            EXPECT_EQ(fs::exists(out), render && c.Status == 0) << job << c.File;
            EXPECT_EQ(dumped.empty(), render || c.Status != 0) << job << c.File;
            fs::remove(out);
        }
    }
}

// --bom prints the list the window shows: text by default, CSV on request, in the units asked
// for; a file that cannot be opened is said on one line.
TEST(CommandLine, BomPrintsTheListOfTheDrawing) {
    testing::internal::CaptureStdout();
    EXPECT_EQ(RunBomJob(KORVANE_SAMPLES "/annotated-circuit.kdf", false, false), 0);
    const std::string text = testing::internal::GetCapturedStdout();
    EXPECT_EQ(text.substr(0, text.find('\n')),
              "Item Number\tArticle code\tManufacturer\tDescription\tQuantity\tOrdering code\tWeight [lbs]\t"
              "Height [inch]\tPMax [psi]\tQMax [gpm]");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 7);
    testing::internal::CaptureStdout();
    EXPECT_EQ(RunBomJob(KORVANE_SAMPLES "/pump-unit.kdx", true, true), 0);
    const std::string csv = testing::internal::GetCapturedStdout();
    EXPECT_EQ(csv.substr(0, 17), "\xEF\xBB\xBF\"Item Number\",");
    EXPECT_NE(csv.find("\"GP1-8-EM075\""), std::string::npos);

    testing::internal::CaptureStderr();
    testing::internal::CaptureStdout();
    EXPECT_EQ(RunBomJob("/nonexistent/plan.kdf", true, false), 1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_NE(testing::internal::GetCapturedStderr().find("does not exist"), std::string::npos);
}

} // namespace
