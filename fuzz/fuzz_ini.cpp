// Settings files: read a hostile file, then every section and key of it; change it the way the
// program does and write it back, and read the written file again.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzFiles.h"
#include "platform/IniFiles.h"

namespace {

constexpr size_t MaxInput = 256 << 10;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > MaxInput) return 0;
    const std::string fileName = FuzzFolder().Write("input.ini", data, size);
    TIniFile ini(fileName);
    const std::vector<std::string> sections = ini.ReadSections();
    for (const std::string& section : sections) {
        if (!ini.SectionExists(section)) __builtin_trap(); // a listed section that is not found
        for (const std::string& key : ini.ReadSection(section)) {
            if (!ini.ValueExists(section, key)) __builtin_trap();
            (void)ini.ReadString(section, key, "");
            (void)ini.ReadInteger(section, key, -1);
            (void)ini.ReadBool(section, key, false);
        }
    }
    if (!sections.empty()) {
        const std::string& section = sections.front();
        ini.WriteString(section, "Fuzz", "a\r\nb");
        ini.WriteInteger(sections.back(), "Count", -7);
        const std::vector<std::string> keys = ini.ReadSection(section);
        if (!keys.empty()) ini.DeleteKey(section, keys.front());
        if (sections.size() > 1) ini.EraseSection(sections[1]);
    }
    ini.WriteBool("Fuzz", "Written", true);
    if (!ini.UpdateFile()) return 0;
    // What was written reads back.
    const TIniFile back(fileName);
    if (back.ReadInteger("Fuzz", "Written", 0) != 1) __builtin_trap();
    return 0;
}
