#pragma once
// The files opened last, newest first, each with the view it was left in, kept in the settings
// file's section "RecentFiles" so that File > Recent Files lists them after a restart and a file
// opened again comes back as it was left.
#include <optional>
#include <string>
#include <vector>

#include "document/DrawingView.h"

class TRecentFiles {
public:
    static constexpr size_t MaxFiles = 8;

    struct TEntry {
        std::string File;
        std::optional<TViewPlace> View;
        int32_t Sheet = -1; // the sheet shown alone, -1 for all
    };

    // Reads the list from IniFileName; entries that cannot be read are left out.
    void Load(const std::string& iniFileName);
    // Writes the list into its section, leaving the rest of the file as it is.
    bool Save(const std::string& iniFileName, std::string* errorText = nullptr) const;

    // File goes to the top (added, or moved up with its view); the oldest drop off the end.
    void Opened(const std::string& file);
    // Records the view File was left in, when File is listed.
    void LeftAt(const std::string& file, const TViewPlace& view, int32_t sheet);
    const TEntry* Find(const std::string& file) const;

    const std::vector<TEntry>& Entries() const { return fEntries; }

private:
    std::vector<TEntry> fEntries;
};
