#include "datasheets/DataSheetNames.h"

#include "model/KeyValues.h"

namespace {

std::string Upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = char(c - 32);
    return s;
}

} // namespace

bool IsPlainDataSheetName(const std::string& name) {
    if (name.empty() || name.size() > MaxDataSheetNameLength || name == "." || name == "..") return false;
    for (char ch : name) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7F || ch == '/' || ch == '\\') return false;
    }
    return IsValidUtf8(name);
}

std::string StripPdfExtension(const std::string& name) {
    if (name.size() >= 4 && Upper(name.substr(name.size() - 4)) == ".PDF")
        return name.substr(0, name.size() - 4);
    return name;
}

std::vector<std::string> SplitDataSheetValue(const std::string& value) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start < value.size()) {
        const size_t semi = value.find(';', start);
        if (semi == std::string::npos) {
            parts.push_back(value.substr(start));
            break;
        }
        parts.push_back(value.substr(start, semi - start));
        start = semi + 1;
    }
    return parts;
}

std::optional<std::string> PickDataSheetByUnits(const std::string& value, bool metric) {
    const std::vector<std::string> parts = SplitDataSheetValue(value);
    if (parts.size() != 2) return std::nullopt;
    std::string a = parts[0], b = parts[1];
    if (Upper(b).find("_US") != std::string::npos && Upper(a).find("_US") == std::string::npos)
        std::swap(a, b);
    const std::string ua = Upper(a), ub = Upper(b);
    const size_t us = ua.find("_US");
    if (us == std::string::npos || ub.find("_US") != std::string::npos) return std::nullopt;
    if (ua.substr(0, us) + ua.substr(us + 3) != ub) return std::nullopt;
    return metric ? b : a;
}

std::vector<std::string> DataSheetNamesToShow(const std::string& value, bool metric) {
    if (value.empty()) return {};
    if (value.find(';') == std::string::npos) return {value};
    if (auto picked = PickDataSheetByUnits(value, metric)) return {*picked};
    return SplitDataSheetValue(value);
}

std::string EncodeURLPathSegment(const std::string& s) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (char ch : s) {
        const auto c = static_cast<unsigned char>(ch);
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
            c == '.' || c == '_' || c == '~') {
            out += ch;
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}
