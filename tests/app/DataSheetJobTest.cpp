// korvane-viewer --datasheet FILE HANDLE: the window's look-up from the command line, down to the
// online library through a proxy.
#include "app/DataSheetJob.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "datasheets/DataSheetLookup.h"
#include "datasheets/ProxyServerSettings.h"
#include "support/PrivateHome.h"
#include "support/TestServers.h"

namespace {
namespace fs = std::filesystem;
using ::testing::HasSubstr;
using namespace testservers;

std::string Drawing(const TTempDir& dir, const std::string& datasheet) {
    return dir.Write(
        "plan.kdf", "SymbolFile:\n\nHeader:\n  FileType=Schematic\n  FileVersion=2023-100\nEnd.\n\n"
                    "SYMBOL:\n  Handle=-1\n  Symbol:\n    Handle=5\n    Bom:\n      ArticleCode=A\n"
                    "      Datasheet=" +
                        datasheet + "\n    EndBom.\n  End.\n  Symbol:\n    Handle=6\n  End.\nEnd.\n\nEnd.\n");
}

struct TJobOutput {
    int Status;
    std::string Out, Err;
};

TJobOutput RunJob(const std::string& file, int handle) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int status = RunDataSheetJob(file, handle);
    return {status, testing::internal::GetCapturedStdout(), testing::internal::GetCapturedStderr()};
}

TEST(DataSheetJob, PrintsTheDatasheetBesideTheDrawingAndSaysWhyWhenThereIsNone) {
    UsePrivateHomeFolders();
    setenv("KORVANE_WEBLIB_URL", "https://127.0.0.1:9/", 1); // nothing may depend on a network
    const TJobOutput valve = RunJob(KORVANE_SAMPLES "/annotated-circuit.kdf", 101);
    EXPECT_EQ(valve.Status, 0) << valve.Err;
    EXPECT_EQ(valve.Out, fs::canonical(KORVANE_SAMPLES "/dv06.pdf").string() + "\n");

    TTempDir dir;
    const std::string plan = Drawing(dir, "dv06");
    const TJobOutput noRecord = RunJob(plan, 6), noComponent = RunJob(plan, 77),
                     missing = RunJob(dir.File("x.kdf"), 5);
    EXPECT_EQ(noRecord.Status, 1);
    EXPECT_THAT(noRecord.Err, HasSubstr("names no datasheet"));
    EXPECT_EQ(noComponent.Status, 1);
    EXPECT_THAT(noComponent.Err, HasSubstr("no component with the handle 77"));
    EXPECT_EQ(missing.Status, 1);
    EXPECT_EQ(missing.Out, "");
    unsetenv("KORVANE_WEBLIB_URL");
}

TEST(DataSheetJob, DownloadsFromTheOnlineLibraryThroughTheProxy) {
    UsePrivateHomeFolders();
    TCertificates certs;
    THttpsServer library(certs.Cert, certs.Key);
    TTinyProxy proxy("fitter", "pass-w0rd");
    TProxyServerData d;
    d.UseProxy = true;
    d.Host = "127.0.0.1";
    d.Port = proxy.Port;
    d.UserName = "fitter";
    d.PassWord = "pass-w0rd";
    ASSERT_TRUE(SaveProxySettingsToFile(d));
    setenv("KORVANE_WEBLIB_URL", (library.URL() + "lib").c_str(), 1);
    setenv("KORVANE_CA_BUNDLE", certs.Ca.c_str(), 1);
    TTempDir dir;
    const TJobOutput got = RunJob(Drawing(dir, "dv06-online.pdf"), 5);
    EXPECT_EQ(got.Status, 0) << got.Err;
    EXPECT_EQ(got.Out, GetDataSheetDownloadFolder() + "dv06-online.pdf\n");
    EXPECT_THAT(library.Log(), HasSubstr("\"path\": \"/lib/datasheets/dv06-online/download\""));
    // Not in the library: nothing found, exit 1.
    const TJobOutput none = RunJob(Drawing(dir, "unknown"), 5);
    EXPECT_EQ(none.Status, 1);
    EXPECT_THAT(none.Err, HasSubstr("No datasheet unknown was found."));
    ASSERT_TRUE(SaveProxySettingsToFile(TProxyServerData()));
    unsetenv("KORVANE_WEBLIB_URL");
    unsetenv("KORVANE_CA_BUNDLE");
}

} // namespace
