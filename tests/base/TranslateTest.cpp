// The catalogs are read by our own code, so a damaged or hostile file must be refused whole and
// never read out of bounds; a missing one leaves the English texts.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "base/Translate.h"
#include "support/TempFiles.h"

namespace fs = std::filesystem;

namespace {

std::string ReadBytes(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteCatalog(const TTempDir& dir, const std::string& language, const std::string& bytes) {
    const fs::path folder = fs::path(dir.Path()) / language / "LC_MESSAGES";
    fs::create_directories(folder);
    std::ofstream(folder / "default.mo", std::ios::binary) << bytes;
}

void PutWord(std::string& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xff);
}

class Translation : public ::testing::Test {
protected:
    void TearDown() override { UseLanguage("", BuiltInLanguage); }
};

} // namespace

TEST_F(Translation, ReadsMsgfmtCatalogsOfBothByteOrders) {
    for (const char* language : {"xx", "xb"}) {
        SCOPED_TRACE(language);
        ASSERT_TRUE(UseLanguage(TEST_LOCALE_DIR, language));
        EXPECT_EQ(CurrentLanguage(), language);
        EXPECT_EQ(_("Open File"), "Datei öffnen");
        EXPECT_EQ(FormatText(_("The file \"%s\" does not exist."), {"a.kdf"}),
                  "Die Datei \"a.kdf\" existiert nicht.");
        EXPECT_EQ(_("one sheet"), "ein Blatt");
        // No translation, a fuzzy one (msgfmt leaves it out), an unknown text: the English text.
        EXPECT_EQ(_("Untranslated"), "Untranslated");
        EXPECT_EQ(_("Fuzzy"), "Fuzzy");
        EXPECT_EQ(_("Not in the catalog"), "Not in the catalog");
        // The empty id is the catalog's header, never a text.
        EXPECT_EQ(_(""), "");
    }
}

TEST_F(Translation, EnglishAndMissingCatalogsLeaveTheTextsAsTheyAre) {
    ASSERT_TRUE(UseLanguage(TEST_LOCALE_DIR, "xx"));
    // English needs no catalog; asking for it drops the one in use.
    EXPECT_TRUE(UseLanguage(TEST_LOCALE_DIR, "en"));
    EXPECT_EQ(_("Open File"), "Open File");
    EXPECT_TRUE(UseLanguage(TEST_LOCALE_DIR, ""));
    EXPECT_EQ(CurrentLanguage(), "en");
    // A stored language whose catalog was removed, or a code that is no folder name.
    for (const char* code : {"de", "../locale/xx", "xx/../xx", "."}) {
        SCOPED_TRACE(code);
        EXPECT_FALSE(UseLanguage(TEST_LOCALE_DIR, code));
        EXPECT_EQ(CurrentLanguage(), "en");
        EXPECT_EQ(_("Open File"), "Open File");
    }
}

TEST_F(Translation, DamagedCatalogsAreRefusedWhole) {
    const std::string good = ReadBytes(std::string(TEST_LOCALE_DIR) + "/xx/LC_MESSAGES/default.mo");
    ASSERT_GT(good.size(), 28u);
    struct TCase {
        const char* Name;
        std::string Bytes;
    };
    std::vector<TCase> cases = {
        {"empty", ""}, {"header only", good.substr(0, 20)}, {"not a catalog", "%PDF-1.4 ..."}};
    std::string bytes = good;
    PutWord(bytes, 8, 0x7fffffff); // more texts than the file could hold
    cases.push_back({"count", bytes});
    bytes = good;
    PutWord(bytes, 12, uint32_t(good.size())); // the originals' table past the end
    cases.push_back({"table offset", bytes});
    bytes = good;
    PutWord(bytes, 16, 0xfffffff8u); // an offset that wraps around in 32 bits
    cases.push_back({"wrapping offset", bytes});
    bytes = good;
    const uint32_t originals = uint8_t(good[12]) | uint8_t(good[13]) << 8 | uint8_t(good[14]) << 16;
    PutWord(bytes, originals + 8 + 4, uint32_t(good.size()) - 2); // a text that runs past the end
    cases.push_back({"text offset", bytes});
    bytes = good;
    PutWord(bytes, 4, 0x00050000); // a format revision we do not know
    cases.push_back({"revision", bytes});
    bytes = good;
    bytes.resize(good.size() - 1); // the last text loses its closing NUL
    cases.push_back({"truncated", bytes});

    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TTempDir dir;
        WriteCatalog(dir, "zz", c.Bytes);
        EXPECT_FALSE(UseLanguage(dir.Path(), "zz"));
        EXPECT_EQ(_("Open File"), "Open File");
    }
}

TEST(CatalogLanguages, EnglishFirstThenEveryFolderWithACatalog) {
    TTempDir dir;
    const std::string mo = ReadBytes(std::string(TEST_LOCALE_DIR) + "/xx/LC_MESSAGES/default.mo");
    for (const char* language : {"pt_br", "de", "fr", "en"})
        WriteCatalog(dir, language, mo);
    fs::create_directories(fs::path(dir.Path()) / "it" / "LC_MESSAGES"); // no catalog in it
    std::ofstream(fs::path(dir.Path()) / "nl") << "a file, not a folder";
    EXPECT_EQ(CatalogLanguages(dir.Path()), (std::vector<std::string>{"en", "de", "fr", "pt_br"}));

    TTempDir empty;
    EXPECT_EQ(CatalogLanguages(empty.Path()), std::vector<std::string>{"en"});
    EXPECT_EQ(CatalogLanguages((empty.Path() / "missing").string()), std::vector<std::string>{"en"});
    EXPECT_EQ(CatalogLanguages(""), std::vector<std::string>{"en"});
}
