#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <sys/stat.h>

#include "datasheets/CryptDecryptString.h"
#include "datasheets/ProxyServerSettings.h"
#include "platform/IniFiles.h"
#include "platform/MessageBox.h"
#include "support/PrivateHome.h"
#include "support/TempFiles.h"

namespace {

TProxyServerData SampleData() {
    TProxyServerData d;
    d.UseProxy = true;
    d.Host = "proxy.example.net";
    d.Port = 8080;
    d.UserName = "Jörg";
    d.PassWord = "p=ss;word [x]";
    d.BasicAuthentication = true;
    return d;
}

} // namespace

TEST(ScrambleText, RoundTripsAnyUtf8Text) {
    for (const std::string& text : std::vector<std::string>{"", "a", "secret", "Jörg Müller", "€ 😀 漢字",
                                                            "=;[]\\\"' ", std::string(300, 'x')}) {
        const std::string scrambled = ScrambleText(text);
        EXPECT_EQ(scrambled.size(), 2 * text.size());
        EXPECT_EQ(scrambled.find_first_not_of("0123456789ABCDEF"), std::string::npos) << scrambled;
        EXPECT_EQ(UnscrambleText(scrambled), text);
        std::string lower = scrambled;
        for (char& c : lower)
            c = char(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_EQ(UnscrambleText(lower), text);
    }
    // Scrambled, not merely hex-encoded: "secret" in plain hex would be 736563726574.
    EXPECT_NE(ScrambleText("secret"), "736563726574");
    // The running key makes equal letters scramble differently.
    const std::string s = ScrambleText("aaaa");
    EXPECT_FALSE(s.substr(0, 2) == s.substr(2, 2) && s.substr(2, 2) == s.substr(4, 2));
}

TEST(ScrambleText, DamagedInputGivesEmptyText) {
    const std::string good = ScrambleText("word");
    for (const std::string& bad :
         std::vector<std::string>{good.substr(0, 3), good.substr(0, 2) + "G1" + good.substr(4),
                                  std::string("zz"), good.substr(0, 2) + " " + good.substr(3)})
        EXPECT_EQ(UnscrambleText(bad), "") << bad;
}

TEST(ProxySettings, MissingFileGivesTheDefaults) {
    TTempDir dir;
    EXPECT_EQ(LoadProxySettingsFromFile(dir.File("none.ini")), TProxyServerData{});
    EXPECT_FALSE(UseProxyServer(dir.File("none.ini")));
}

TEST(ProxySettings, SaveAndLoadRoundTripWithScrambledCredentials) {
    TTempDir dir;
    const std::string file = dir.File("Bin/ProxyServer.ini");
    const TProxyServerData data = SampleData();
    ASSERT_TRUE(SaveProxySettingsToFile(data, file));
    EXPECT_EQ(LoadProxySettingsFromFile(file), data);
    EXPECT_TRUE(UseProxyServer(file));
    EXPECT_EQ(ModeOf(file), 0600u);

    const std::string text = ReadWholeFile(file);
    EXPECT_EQ(text.find("Jörg"), std::string::npos) << text;
    EXPECT_EQ(text.find("p=ss"), std::string::npos) << text;
    const TIniFile ini(file);
    EXPECT_EQ(ini.ReadSection("ProxyServer"),
              (std::vector<std::string>{"UseProxy", "Host", "Port", "USR", "PWD", "BasicAuthentication"}));
    EXPECT_EQ(ini.ReadString("ProxyServer", "USR", ""), ScrambleText("Jörg"));
}

TEST(ProxySettings, OlderFileWithPlainCredentials) {
    TTempDir dir;
    const std::string file = dir.Write("old.ini", "[Other]\n"
                                                  "Keep=1\n"
                                                  "[ProxyServer]\n"
                                                  "UseProxy=1\n"
                                                  "Host=10.0.0.1\n"
                                                  "Port=3129\n"
                                                  "UserName=plainuser\n"
                                                  "PassWord=plainpass\n");
    TProxyServerData expected;
    expected.UseProxy = true;
    expected.Host = "10.0.0.1";
    expected.Port = 3129;
    expected.UserName = "plainuser";
    expected.PassWord = "plainpass";
    EXPECT_EQ(LoadProxySettingsFromFile(file), expected);

    // Saving replaces the plain keys by scrambled ones; other sections stay.
    ASSERT_TRUE(SaveProxySettingsToFile(expected, file));
    const std::string text = ReadWholeFile(file);
    EXPECT_EQ(text.find("plain"), std::string::npos) << text;
    EXPECT_EQ(TIniFile(file).ReadString("Other", "Keep", ""), "1");
    EXPECT_EQ(LoadProxySettingsFromFile(file), expected);

    // Scrambled keys win over plain ones when both are there.
    std::ofstream(file, std::ios::app) << "UserName=stale\n";
    EXPECT_EQ(LoadProxySettingsFromFile(file).UserName, "plainuser");
}

TEST(ProxySettings, ExistingFileIsTightenedToOwnerOnly) {
    TTempDir dir;
    const std::string file = dir.Write("wide.ini", "[ProxyServer]\nHost=h\n");
    ASSERT_EQ(::chmod(file.c_str(), 0644), 0);
    ASSERT_TRUE(SaveProxySettingsToFile(SampleData(), file));
    EXPECT_EQ(ModeOf(file), 0600u);
}

TEST(ProxySettings, UnwritableFileShowsTheErrorBoxAndKeepsTheFile) {
    TTempDir dir;
    TRecordingMessageBoxes boxes;
    TScopedMessageBoxes scope(boxes);
    // A plain file where the folder should be: not writable for anyone, root included.
    const std::string blocker = dir.Write("Bin", "not a folder");
    const std::string file = blocker + "/ProxyServer.ini";
    EXPECT_FALSE(SaveProxySettingsToFile(SampleData(), file));
    ASSERT_EQ(boxes.Messages.size(), 1u);
    EXPECT_EQ(boxes.Messages[0].Kind, TMessageKind::mkError);
    EXPECT_EQ(boxes.Messages[0].Text, "Error while saving:\n" + file + "\nAccess Denied.");
    EXPECT_EQ(ReadWholeFile(blocker), "not a folder");
}

TEST(ProxySettings, FileNameIsBelowTheCommonDataFolder) {
    UsePrivateHomeFolders();
    const std::string name = GetProxyFileName();
    const std::string tail = "/Bin/ProxyServer.ini";
    ASSERT_GT(name.size(), tail.size());
    EXPECT_EQ(name.substr(name.size() - tail.size()), tail);
    EXPECT_EQ(name.rfind(getenv("XDG_DATA_HOME"), 0), 0u) << name;
}
