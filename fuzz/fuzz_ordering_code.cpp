// The "FlexibleCode:" block of a BOM record and what the BOM does with it: the first line of an
// input is the record's code template, the rest the block. After reading, the rules are asked
// about every option, the code is built, and every code the template can take is listed.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/KeyValues.h"
#include "model/OrderingCodes.h"

namespace {

constexpr size_t MaxInput = 64 << 10;
// The rule questions are quadratic in the options; beyond this many the fuzzer learns nothing new.
constexpr int MaxKeysAsked = 64;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > MaxInput) return 0;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const size_t br = input.find('\n');
    const std::string_view emptyCode = input.substr(0, br);
    const std::string_view block = br == std::string_view::npos ? std::string_view() : input.substr(br + 1);

    // As the document loader does: bytes that are not UTF-8 are the legacy variant.
    const bool utf8 = IsValidUtf8(block);
    TRecordReader reader(utf8 ? std::string(block) : Windows1252ToUtf8(block),
                         utf8 ? TRecordVariant::UniCode : TRecordVariant::Legacy);
    TOrderingCodeGenerator generator;
    try {
        TOrderingCodeGeneratorReader::Load(reader, generator);
    } catch (const EUtf8DecodeError&) {
        return 0;
    }

    const std::string code = generator.GetOrderingCode(emptyCode);
    (void)generator.IsFilledIn();
    (void)generator.CreateListFieldsToUse(code);
    (void)generator.IsAllowedInCodeList(code);
    for (int s = 0; s < generator.Count(); ++s) {
        const TOrderingCodeSection& section = generator.Sections(s);
        (void)section.SelectedDisplayDescriptionAsHint();
        (void)section.FreeFieldValue();
        if (section.Mode() == sectionVariables) {
            (void)section.GetSeparator();
            (void)section.CreateSectionNameList();
            for (int k = 0; k < std::min(section.Count(), MaxKeysAsked); ++k)
                (void)section.CreateKeyValueList(section.Keys(k));
            (void)generator.IndexInVarablesSection(section);
        }
        if (section.Mode() != sectionNormal) continue;
        (void)generator.CreateListAllowedItems(s);
        for (int k = -1; k < std::min(section.Count(), MaxKeysAsked); ++k) {
            (void)generator.IsAllowed(s, k);
            (void)generator.IsSimpleAllowed(s, k);
        }
    }
    std::vector<std::string> lines;
    TOrderingCodeGeneratorHelper::ToStrings(generator, lines);
    // An option whose name brings a field of its own can expand without end, and only the work
    // limit stops the listing: seconds per input in this build. Such inputs list the codes only
    // when their template ends in "!", so that the limit is still tried without slowing the rest.
    // The listing runs on an eighth of the viewer's budget: still past the result limit on short
    // codes, so both ways of stopping are reached, at a fraction of the time per input.
    bool bringsFields = false;
    for (int s = 0; s < generator.Count() && !bringsFields; ++s)
        for (const TOrderingCodeKey& key : generator.Sections(s).fKeys)
            bringsFields = bringsFields || key.Name.find('[') != std::string::npos;
    if (!bringsFields || emptyCode.ends_with('!')) {
        std::vector<std::string> codes;
        (void)TOrderingCodeGeneratorHelper::CreateAll(generator, emptyCode, codes,
                                                      TOrderingCodeGeneratorHelper::CreateAllWorkLimit / 8);
    }

    TOrderingCodeGenerator copy = generator;
    copy.PurgeCodeList();
    return 0;
}
