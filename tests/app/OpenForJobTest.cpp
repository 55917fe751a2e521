#include <gtest/gtest.h>

#include <cstdlib>

#include "app/OpenForJob.h"
#include "components/SymbolObjectSymbol.h"
#include "document/SymbolFile.h"
#include "packages/TempDirs.h"
#include "support/TempFiles.h"

namespace {

const char* const Drawing =
    "Header:\r\n  FileType=Schematic\r\n  KeyWords=packed\r\nEnd.\r\nSYMBOL:\r\nEnd.\r\n";

// Builds a ZIP with Python's zipfile: members given as name -> content.
void MakeZip(const std::string& zip, const std::vector<std::pair<std::string, std::string>>& members,
             const TTempDir& dir) {
    std::string script = "import zipfile\nz=zipfile.ZipFile(r'" + zip + "','w',zipfile.ZIP_DEFLATED)\n";
    for (const auto& [name, content] : members) {
        std::string src = dir.Write("src-" + std::to_string(std::hash<std::string>{}(name)), content);
        script += "z.write(r'" + src + "', r'" + name + "')\n";
    }
    script += "z.close()\n";
    std::string py = dir.Write("make.py", script);
    ASSERT_EQ(std::system(("python3 " + py).c_str()), 0);
}

class OpenForJobTest : public ::testing::Test {
protected:
    TTempDir dir;
    TTempDir unpackRoot;
    TSymbolFile doc;
    std::string error;
};

TEST_F(OpenForJobTest, PackagesOpenTheirDrawing) {
    std::string zip = dir.File("pkg.ZIP"), kdx = dir.File("a.kdx");
    MakeZip(zip, {{"docs/readme.txt", "x"}, {"sub/plan.kdf", Drawing}}, dir);
    MakeZip(kdx, {{"plan.kdf", Drawing}, {"~PrintPreview/1.pdf", "%PDF"}}, dir);
    {
        TTempDirs temp(unpackRoot.Path().string() + "/");
        ASSERT_TRUE(OpenForJob(doc, zip, temp, error)) << error;
        EXPECT_EQ(doc.Data().KeyWords, "packed");
        EXPECT_NE(doc.FileName().find("/sub/plan.kdf"), std::string::npos);
        ASSERT_TRUE(OpenForJob(doc, kdx, temp, error)) << error;
        EXPECT_EQ(doc.Data().KeyWords, "packed");
    }
    // The unpack folders are gone with the job.
    EXPECT_TRUE(std::filesystem::is_empty(unpackRoot.Path()));
}

TEST_F(OpenForJobTest, RefusalsSayWhy) {
    TTempDirs temp(unpackRoot.Path().string() + "/");
    std::string evil = dir.File("evil.zip"), empty = dir.File("empty.zip");
    MakeZip(evil, {{"../escape.kdf", Drawing}}, dir);
    MakeZip(empty, {{"notes.txt", "x"}}, dir);
    struct Case {
        std::string file, words;
    };
    const Case cases[] = {
        {dir.File("missing.kdf"), "does not exist"},
        {dir.Path().string(), "folder"},
        {dir.Write("notes.txt", "x"), "not a file type"},
        {empty, "holds no drawing"},
        {evil, ""},
    };
    for (const auto& c : cases) {
        error.clear();
        EXPECT_FALSE(OpenForJob(doc, c.file, temp, error)) << c.file;
        EXPECT_FALSE(error.empty()) << c.file;
        EXPECT_NE(error.find(c.words), std::string::npos) << error;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.Path().parent_path() / "escape.kdf"));
}

} // namespace
