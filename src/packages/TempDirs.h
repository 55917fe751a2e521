#pragma once
// The unpack folders of one run. Each is made fresh (never an existing folder or link under the
// same name) with owner-only permissions directly in the temporary folder, and only folders made
// here are ever deleted.
#include "platform/TerminationWatch.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <sys/types.h>
#include <vector>

class TTempDirs {
public:
    // Draws the number part of a folder name; 0 .. 2147483646.
    using TRandom = std::function<uint32_t()>;

    // TempFolder defaults to GetTempFolder(); Random to a generator seeded once per run.
    explicit TTempDirs(std::string tempFolder = {}, TRandom random = {});
    // Deletes the folders, as the program does when it ends.
    ~TTempDirs();
    TTempDirs(const TTempDirs&) = delete;
    TTempDirs& operator=(const TTempDirs&) = delete;

    // Makes TempFolder + Prefix + a fresh number and records it. Returns its path without a
    // trailing separator, or "" with ErrorText set when no folder could be made.
    std::string CreateUnpackFolder(const std::string& prefix, std::string* errorText = nullptr);

    // Deletes every recorded folder that is still the folder made here (same device and inode,
    // a real folder, not a link), with its content; links inside are removed, not followed.
    // Folders that cannot be deleted are left without a message.
    void DeleteTempDirs();

    // Removes one recorded folder now (an unpack that failed) under the same rules.
    void DeleteTempDir(const std::string& folder);

    // Deletes the folders also when SIGINT, SIGTERM or SIGHUP ends the program, for programs
    // without an event loop (see TTerminationCleanup: call it before other threads start). Code
    // that fills the folders holds LockAgainstTermination(), so they are never deleted under it.
    void DeleteOnTerminationSignals();

    const std::vector<std::string>& Folders() const { return fFolders; }
    const std::string& TempFolder() const { return fTempFolder; }

private:
    struct TCreated {
        std::string Path;
        dev_t Device;
        ino_t Inode;
    };
    bool IsOurs(const TCreated& entry) const;
    // Deletes the folders but leaves the lists alone: it runs on the thread that waits for the
    // signals, while the thread that owns the lists may be reading them.
    void DeleteFoldersOnly() const;

    std::string fTempFolder;
    TRandom fRandom;
    std::vector<TCreated> fCreated;
    std::vector<std::string> fFolders;
    std::unique_ptr<TTerminationCleanup> fTerminationCleanup;
};
