#include "platform/DirectoryHandling.h"

#include "base/Translate.h"
#include "platform/MessageBox.h"
#include "platform/OpenWith.h"
#include "platform/QUAVGlobs.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

char FoldAscii(char C) {
    return (C >= 'A' && C <= 'Z') ? static_cast<char>(C - 'A' + 'a') : C;
}

// Length of the UTF-8 sequence starting at Text[At], so that "?" takes a whole character.
size_t CharLength(const std::string& Text, size_t At) {
    const auto Lead = static_cast<unsigned char>(Text[At]);
    size_t Length = 1;
    if (Lead >= 0xF0)
        Length = 4;
    else if (Lead >= 0xE0)
        Length = 3;
    else if (Lead >= 0xC0)
        Length = 2;
    return std::min(Length, Text.size() - At);
}

// Iterative wildcard match with one back-tracking point: linear in practice and never recursive,
// whatever a mask looks like.
bool WildcardMatch(const std::string& Name, const std::string& Mask) {
    size_t N = 0, M = 0;
    size_t StarMask = std::string::npos, StarName = 0;
    while (N < Name.size()) {
        if (M < Mask.size() && Mask[M] == '*') {
            StarMask = M++;
            StarName = N;
        } else if (M < Mask.size() && Mask[M] == '?') {
            N += CharLength(Name, N);
            ++M;
        } else if (M < Mask.size() && FoldAscii(Mask[M]) == FoldAscii(Name[N])) {
            ++N;
            ++M;
        } else if (StarMask != std::string::npos) {
            M = StarMask + 1;
            StarName += CharLength(Name, StarName);
            N = StarName;
        } else {
            return false;
        }
    }
    while (M < Mask.size() && Mask[M] == '*')
        ++M;
    return M == Mask.size();
}

bool LessIgnoringCase(const std::string& A, const std::string& B) {
    const size_t Common = std::min(A.size(), B.size());
    for (size_t I = 0; I < Common; ++I) {
        const auto CA = static_cast<unsigned char>(FoldAscii(A[I]));
        const auto CB = static_cast<unsigned char>(FoldAscii(B[I]));
        if (CA != CB) return CA < CB;
    }
    if (A.size() != B.size()) return A.size() < B.size();
    return A < B; // names that differ only in case still get one fixed order
}

} // namespace

bool ForceFolder(const std::string& Path) {
    if (Path.empty()) return false;
    std::error_code Error;
    fs::create_directories(fs::path(Path), Error);
    return fs::is_directory(fs::path(Path), Error);
}

bool DeleteFolder(const std::string& Path) {
    const std::string Folder = ExcludeTrailingPathDelimiter(Path);
    if (Folder.empty()) return false;
    std::error_code Error;
    // remove_all looks at the path itself with symlink_status: a link is unlinked, not entered.
    fs::remove_all(fs::path(Folder), Error);
    return !fs::exists(fs::symlink_status(fs::path(Folder), Error));
}

bool MatchesFileMask(const std::string& Name, const std::string& Mask) {
    if (Mask == "*.*" || Mask == "*") return true;
    return WildcardMatch(Name, Mask);
}

std::vector<std::string> FindFiles(const std::string& Folder, const std::string& Mask) {
    std::vector<std::string> Names;
    std::error_code Error;
    fs::directory_iterator It(fs::path(Folder), Error);
    if (Error) return {};
    for (const fs::directory_entry& Entry : It) {
        std::error_code EntryError;
        if (!Entry.is_regular_file(EntryError)) continue;
        const std::string Name = Entry.path().filename().string();
        if (MatchesFileMask(Name, Mask)) Names.push_back(Name);
    }
    std::sort(Names.begin(), Names.end(), LessIgnoringCase);
    const std::string Prefix = IncludeTrailingPathDelimiter(Folder);
    for (std::string& Name : Names)
        Name = Prefix + Name;
    return Names;
}

std::string GetLongFileName(const std::string& Path) {
    if (Path.empty()) return {};
    std::error_code Error;
    const fs::path Absolute = fs::absolute(fs::path(Path), Error);
    if (Error || !fs::exists(fs::symlink_status(Absolute, Error))) return {};
    return ExcludeTrailingPathDelimiter(Absolute.lexically_normal().string());
}

bool OpenDocument(const std::string& FileName) {
    std::error_code Error;
    if (!FileName.empty() && fs::exists(fs::path(FileName), Error) && OpenWithAssociatedApplication(FileName))
        return true;
    ShowErrorMessage(FormatText(_("Cannot open %s !"), {FileName}));
    return false;
}

std::string ExtractFileDir(const std::string& FileName) {
    const size_t Slash = FileName.find_last_of(PathDelimiter);
    if (Slash == std::string::npos) return {};
    if (Slash == 0) return std::string(1, PathDelimiter);
    return FileName.substr(0, Slash);
}
