#include "shell/RecentFiles.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <sstream>

#include "platform/IniFiles.h"

namespace {

const char Section[] = "RecentFiles";

std::string ViewText(const TRecentFiles::TEntry& e) {
    if (!e.View) return {};
    char zoom[32];
    std::snprintf(zoom, sizeof zoom, "%.17g", e.View->Zoom);
    return std::string(zoom) + " " + std::to_string(e.View->Centre.X) + " " +
           std::to_string(e.View->Centre.Y) + " " + std::to_string(e.Sheet);
}

// "zoom x y sheet"; anything else, or a zoom the view cannot take, is no view.
bool ParseView(const std::string& text, TRecentFiles::TEntry& e) {
    std::istringstream in(text);
    in.imbue(std::locale::classic());
    double zoom;
    long long x, y, sheet;
    if (!(in >> zoom >> x >> y >> sheet) || !std::isfinite(zoom) || zoom < MinViewZoom || zoom > MaxViewZoom)
        return false;
    const auto fits = [](long long v) { return v >= INT32_MIN && v <= INT32_MAX; };
    if (!fits(x) || !fits(y) || sheet < -1 || sheet > INT32_MAX) return false;
    e.View = TViewPlace{zoom, TPoint(int32_t(x), int32_t(y))};
    e.Sheet = int32_t(sheet);
    return true;
}

} // namespace

void TRecentFiles::Load(const std::string& iniFileName) {
    fEntries.clear();
    const TIniFile ini(iniFileName);
    for (size_t i = 1; i <= MaxFiles; ++i) {
        TEntry e;
        e.File = ini.ReadString(Section, "File" + std::to_string(i), "");
        if (e.File.empty() || Find(e.File)) continue;
        ParseView(ini.ReadString(Section, "View" + std::to_string(i), ""), e);
        fEntries.push_back(std::move(e));
    }
}

bool TRecentFiles::Save(const std::string& iniFileName, std::string* errorText) const {
    TIniFile ini(iniFileName);
    ini.EraseSection(Section);
    for (size_t i = 0; i < fEntries.size(); ++i) {
        ini.WriteString(Section, "File" + std::to_string(i + 1), fEntries[i].File);
        if (fEntries[i].View) ini.WriteString(Section, "View" + std::to_string(i + 1), ViewText(fEntries[i]));
    }
    return ini.UpdateFile(errorText);
}

void TRecentFiles::Opened(const std::string& file) {
    if (file.empty()) return;
    TEntry entry{file, std::nullopt, -1};
    const auto found =
        std::find_if(fEntries.begin(), fEntries.end(), [&](const TEntry& e) { return e.File == file; });
    if (found != fEntries.end()) {
        entry = *found;
        fEntries.erase(found);
    }
    fEntries.insert(fEntries.begin(), std::move(entry));
    if (fEntries.size() > MaxFiles) fEntries.resize(MaxFiles);
}

void TRecentFiles::LeftAt(const std::string& file, const TViewPlace& view, int32_t sheet) {
    for (TEntry& e : fEntries)
        if (e.File == file) {
            e.View = view;
            e.Sheet = sheet;
        }
}

const TRecentFiles::TEntry* TRecentFiles::Find(const std::string& file) const {
    for (const TEntry& e : fEntries)
        if (e.File == file) return &e;
    return nullptr;
}
