#include "datasheets/CryptDecryptString.h"

#include <cstdint>

#include "model/KeyValues.h"

namespace {

constexpr uint16_t StartKey = 40483;
constexpr uint16_t C1 = 52845;
constexpr uint16_t C2 = 22719;

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

} // namespace

std::string ScrambleText(const std::string& text) {
    static const char hex[] = "0123456789ABCDEF";
    uint16_t key = StartKey;
    std::string out;
    for (char ch : text) {
        const auto c = static_cast<uint8_t>(static_cast<uint8_t>(ch) ^ (key >> 8));
        key = static_cast<uint16_t>((c + key) * C1 + C2);
        out += hex[c >> 4];
        out += hex[c & 15];
    }
    return out;
}

std::string UnscrambleText(const std::string& scrambled) {
    if (scrambled.size() % 2 != 0) return {};
    uint16_t key = StartKey;
    std::string out;
    for (size_t i = 0; i < scrambled.size(); i += 2) {
        const int hi = HexDigit(scrambled[i]), lo = HexDigit(scrambled[i + 1]);
        if (hi < 0 || lo < 0) return {};
        const auto c = static_cast<uint8_t>(hi * 16 + lo);
        out += static_cast<char>(c ^ (key >> 8));
        key = static_cast<uint16_t>((c + key) * C1 + C2);
    }
    return IsValidUtf8(out) ? out : std::string();
}
