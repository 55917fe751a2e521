#include "base/Translate.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <unordered_map>

namespace fs = std::filesystem;

namespace {

struct TCatalog {
    std::string Language;
    std::unordered_map<std::string, std::string> Texts;
};

// Set once at start, before any window or worker thread exists; read-only afterwards.
std::unique_ptr<const TCatalog>& ActiveCatalog() {
    static std::unique_ptr<const TCatalog> catalog;
    return catalog;
}

// A catalog is a few hundred kilobytes; anything far larger is not one of ours.
constexpr std::uintmax_t MaxCatalogBytes = 16u << 20;

bool PlainLanguageCode(const std::string& code) {
    if (code.empty() || code.size() > 32) return false;
    return std::all_of(code.begin(), code.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
               c == '-' || c == '@';
    });
}

std::string CatalogFile(const std::string& localeFolder, const std::string& language) {
    return (fs::path(localeFolder) / language / "LC_MESSAGES" / (std::string(KorvaneTextDomain) + ".mo"))
        .string();
}

// Reads msgfmt's binary format: a header of 32-bit words in the writer's byte order, then two
// tables of (length, offset) pairs for the originals and the translations. Every length and offset
// is checked against the file, so a damaged catalog is refused instead of read out of bounds.
std::unique_ptr<TCatalog> ReadCatalog(const std::string& file) {
    std::error_code error;
    if (!fs::is_regular_file(file, error)) return nullptr;
    const std::uintmax_t size = fs::file_size(file, error);
    if (error || size < 28 || size > MaxCatalogBytes) return nullptr;
    std::ifstream in(file, std::ios::binary);
    std::string data(static_cast<size_t>(size), '\0');
    if (!in.read(data.data(), static_cast<std::streamsize>(size))) return nullptr;

    const auto word = [&](uint64_t at, bool swap) -> uint32_t {
        uint32_t w;
        std::memcpy(&w, data.data() + at, 4);
        return swap ? __builtin_bswap32(w) : w;
    };
    uint32_t magic;
    std::memcpy(&magic, data.data(), 4);
    bool swap;
    if (magic == 0x950412deu)
        swap = false;
    else if (magic == 0xde120495u)
        swap = true;
    else
        return nullptr;
    if ((word(4, swap) >> 16) > 1) return nullptr; // a major revision we do not know
    const uint64_t count = word(8, swap);
    const uint64_t originals = word(12, swap);
    const uint64_t translations = word(16, swap);
    if (originals + count * 8 > size || translations + count * 8 > size) return nullptr;

    const auto text = [&](uint64_t table, uint64_t i, std::string& out) {
        const uint64_t length = word(table + i * 8, swap);
        const uint64_t offset = word(table + i * 8 + 4, swap);
        if (offset + length >= size) return false; // each string is followed by a NUL
        out.assign(data, static_cast<size_t>(offset), static_cast<size_t>(length));
        return true;
    };
    auto catalog = std::make_unique<TCatalog>();
    std::string original, translation;
    for (uint64_t i = 0; i < count; ++i) {
        if (!text(originals, i, original) || !text(translations, i, translation)) return nullptr;
        if (original.empty()) continue; // the header entry
        // Plural entries hold "singular\0plural"; the viewer looks up singulars only.
        original.resize(std::strlen(original.c_str()));
        translation.resize(std::strlen(translation.c_str()));
        if (!translation.empty()) catalog->Texts.emplace(std::move(original), std::move(translation));
    }
    return catalog;
}

} // namespace

std::string _(const char* msgId) {
    if (msgId == nullptr) return {};
    const auto& catalog = ActiveCatalog();
    if (catalog && *msgId != '\0') {
        const auto found = catalog->Texts.find(msgId);
        if (found != catalog->Texts.end()) return found->second;
    }
    return msgId;
}

std::string _(const std::string& msgId) {
    return _(msgId.c_str());
}

std::string FormatText(const std::string& format, std::initializer_list<std::string> args) {
    std::string result;
    result.reserve(format.size());
    auto next = args.begin();
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size()) {
            if (format[i + 1] == '%') {
                result += '%';
                ++i;
                continue;
            }
            if (format[i + 1] == 's' && next != args.end()) {
                result += *next++;
                ++i;
                continue;
            }
        }
        result += format[i];
    }
    return result;
}

std::vector<std::string> CatalogLanguages(const std::string& localeFolder) {
    std::vector<std::string> languages;
    std::error_code error;
    if (!localeFolder.empty()) {
        for (fs::directory_iterator it(localeFolder, error), end; !error && it != end; it.increment(error)) {
            const std::string code = it->path().filename().string();
            if (code == BuiltInLanguage || !PlainLanguageCode(code)) continue;
            std::error_code fileError;
            if (fs::is_regular_file(CatalogFile(localeFolder, code), fileError)) languages.push_back(code);
        }
    }
    std::sort(languages.begin(), languages.end());
    languages.insert(languages.begin(), BuiltInLanguage);
    return languages;
}

bool UseLanguage(const std::string& localeFolder, const std::string& language) {
    ActiveCatalog().reset();
    if (language.empty() || language == BuiltInLanguage) return true;
    if (!PlainLanguageCode(language)) return false;
    std::unique_ptr<TCatalog> catalog = ReadCatalog(CatalogFile(localeFolder, language));
    if (!catalog) return false;
    catalog->Language = language;
    ActiveCatalog() = std::move(catalog);
    return true;
}

std::string CurrentLanguage() {
    const auto& catalog = ActiveCatalog();
    return catalog ? catalog->Language : std::string(BuiltInLanguage);
}
