#pragma once
// An index of the files below a set of folders, kept in a cache file between runs, and a flat
// folder of downloads that forgets old files.
#include <string>
#include <vector>

class TCachedFolder {
public:
    TCachedFolder() = default;
    // Path: folders separated by ";". Mask: extensions with their point (".pdf"); ".*" takes every
    // file. Loads the cache file; an index made for other folders, a damaged file or one listing
    // files outside the folders is dropped and rebuilt at the next refresh.
    void SetData(const std::string& path, const std::string& cachedFile, const std::vector<std::string>& mask,
                 bool refreshOnlyOnce);
    // The indexed path of FileName (case ignored). Unless DoNotRefresh, the folders are scanned again
    // first when the name is not indexed or its file is gone.
    bool FindFile(const std::string& fileName, std::string& path, bool doNotRefresh = false);
    // FindFile with each mask extension appended in turn, before and after one refresh.
    bool FindFileEx(const std::string& fileName, std::string& path);
    void ForceRefresh();

    const std::vector<std::string>& FileList() const { return fFileList; }
    const std::vector<std::string>& PathList() const { return fPathList; }
    bool IsRefreshed() const { return fIsRefreshed; }

private:
    void Refresh();
    void LoadCacheFile();
    void SaveCacheFile() const;

    std::vector<std::string> fFileList; // upper-case file names, parallel to fPathList
    std::vector<std::string> fPathList;
    std::string fPath;
    std::string fCachedFile;
    std::vector<std::string> fMask;
    bool fIsRefreshed = false;
    bool fRefreshOnlyOnce = false;
};

class TSimpleCachedFolder {
public:
    // Path gets a trailing separator. RemoveOlderThan: whole days; -1 keeps everything.
    TSimpleCachedFolder(const std::string& path, int removeOlderThan);
    // Deletes the files older than RemoveOlderThan days.
    ~TSimpleCachedFolder();
    TSimpleCachedFolder(const TSimpleCachedFolder&) = delete;
    TSimpleCachedFolder& operator=(const TSimpleCachedFolder&) = delete;

    // Path of the first file whose name without extension is Name (case ignored), "" when none.
    std::string FindFile(const std::string& name);
    const std::string& Path() const { return fPath; }

private:
    void ListFolder();

    std::vector<std::string> fFileList;
    std::string fPath;
    int fRemoveOlderThan;
};
