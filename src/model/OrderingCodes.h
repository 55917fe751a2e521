#pragma once
// The ordering-code generator of a configurable component: a code template such as
// XY10-[Size]-[Seal] whose bracketed fields are filled by the options chosen in sections of the
// same name, rule sections restricting which options go together, and the block in which a BOM
// record stores it.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class TRecordReader;
class TRecordWriter;
class TJsonWriter;

struct TOrderingCodeKey {
    std::string Name;
    std::string Description;
    std::string Fields;

    static TOrderingCodeKey Make(std::string name, std::string description, std::string fields) {
        return {std::move(name), std::move(description), std::move(fields)};
    }
    friend bool operator==(const TOrderingCodeKey&, const TOrderingCodeKey&) = default;
};

enum TSectionMode : uint8_t {
    sectionNormal,
    sectionAllowed,
    sectionNotAllowed,
    sectionSimpleAllowed,
    sectionSimpleNotAllowed,
    sectionVariables,
    sectionSpecial,
    sectionFreeField
};
inline constexpr int SectionModeCount = 8;
std::string_view SectionModeIdent(TSectionMode mode);

struct TOrderingCodeSectionData {
    std::string Name;
    std::string Name2;
    int32_t ItemIndex = -1;
    TSectionMode Mode = sectionNormal;
    friend bool operator==(const TOrderingCodeSectionData&, const TOrderingCodeSectionData&) = default;
};

class TOrderingCodeSection {
public:
    std::vector<TOrderingCodeKey> fKeys;
    TOrderingCodeSectionData fSectionData;

    int Count() const { return int(fKeys.size()); }
    TOrderingCodeKey& Keys(int i) { return fKeys.at(size_t(i)); }
    const TOrderingCodeKey& Keys(int i) const { return fKeys.at(size_t(i)); }
    void Add(TOrderingCodeKey key) { fKeys.push_back(std::move(key)); }

    void Assign(const TOrderingCodeSection& source);
    std::unique_ptr<TOrderingCodeSection> Clone() const;
    void ClearData();
    bool Compare(const TOrderingCodeSection& second) const;

    const TOrderingCodeSectionData& Data() const { return fSectionData; }
    const std::string& SectionName() const { return fSectionData.Name; }
    TSectionMode Mode() const { return fSectionData.Mode; }
    int32_t ItemIndex() const { return fSectionData.ItemIndex; }
    void SetItemIndex(int32_t index) { fSectionData.ItemIndex = index; }
    // The chosen key; none without a choice or with an index outside the keys.
    const TOrderingCodeKey* ChosenKey() const;

    // First key whose Name equals the text ignoring case; -1 when none.
    int IndexOfKey(std::string_view key) const;
    // First key holding the pair in either order (Name/Description), ignoring case.
    int IndexOfCombination(std::string_view key1, std::string_view key2) const;
    // Position of the pair (key1, key2) among the ";"-expanded pairs of the keys; -1 when none.
    int IndexOfSimpleCombination(std::string_view key1, std::string_view key2) const;

    std::string SelectedKey() const;
    std::string SelectedDisplayDescription() const;
    std::string SelectedDisplayDescriptionAsHint() const;

    // Free-field sections keep their prompt and text in the keys "Description" and "Value";
    // other sections read both as empty and ignore the setter.
    std::string FreeFieldValue() const;
    void SetFreeFieldValue(const std::string& value);
    std::string FreeFieldDescription() const;

    // Variables sections, named like [[Size]x[Seal]]: the separator ("x"), the field names
    // ([Size], [Seal]) and the values a key names for them in the same order.
    std::string GetSeparator() const;
    std::vector<std::string> CreateSectionNameList() const;
    std::vector<std::string> CreateKeyValueList(const TOrderingCodeKey& key) const;

    void Dump(TJsonWriter& w) const;
};

class TOrderingCodeGenerator {
public:
    TOrderingCodeGenerator() = default;
    // Copies are deep, as Assign makes them, so that a BOM record stays copyable.
    TOrderingCodeGenerator(const TOrderingCodeGenerator& other) { Assign(other); }
    TOrderingCodeGenerator& operator=(const TOrderingCodeGenerator& other);
    TOrderingCodeGenerator(TOrderingCodeGenerator&&) noexcept = default;
    TOrderingCodeGenerator& operator=(TOrderingCodeGenerator&&) noexcept = default;

    int Count() const { return int(fSections.size()); }
    TOrderingCodeSection& Sections(int i) { return *fSections.at(size_t(i)); }
    const TOrderingCodeSection& Sections(int i) const { return *fSections.at(size_t(i)); }
    TOrderingCodeSection& Add(std::unique_ptr<TOrderingCodeSection> section);
    void Delete(int i);
    void Clear() { fSections.clear(); }

    void Assign(const TOrderingCodeGenerator& source);
    std::unique_ptr<TOrderingCodeGenerator> Clone() const;
    bool Compare(const TOrderingCodeGenerator& second) const;

    bool IsDefined() const { return !fSections.empty(); }
    bool IsFilledIn() const;
    bool UseSimpleAllowed() const;

    // The special sections, found by name ignoring case (the first of a name wins); none when
    // missing.
    const TOrderingCodeSection* DefaultsList() const;
    const TOrderingCodeSection* CodeList() const;
    const TOrderingCodeSection* IPortList() const;
    TOrderingCodeSection* CodeList();

    int IndexOfFieldSection(std::string_view sectionName) const;
    int IndexOfSection(std::string_view sectionName) const;
    int IndexOfFreeFieldSection(std::string_view sectionName) const;
    bool SectionExists(std::string_view sectionName) const { return IndexOfFieldSection(sectionName) != -1; }
    const TOrderingCodeSection* IndexOfException(std::string_view sectionName1,
                                                 std::string_view sectionName2) const;
    const TOrderingCodeSection* IndexOfSimpleException(std::string_view sectionName1,
                                                       std::string_view sectionName2) const;

    // Whether the key may be chosen given the choices of the other sections. Indices must be
    // those of a section and its key, or -1; others raise std::out_of_range.
    bool IsAllowed(int sectionIdx, int keyIdx) const;
    bool IsSimpleAllowed(int sectionIdx, int keyIdx) const;
    std::vector<int> CreateListAllowedItems(int sectionIdx) const;
    int CountAllowedItems(int sectionIdx) const { return int(CreateListAllowedItems(sectionIdx).size()); }
    // Drops a choice the rules forbid and chooses the only allowed option of a section.
    void CheckSection(int sectionIdx);
    void CheckAll();

    // The template with each field replaced by its section's choice ("?" when there is none).
    std::string GetOrderingCode(std::string_view emptyString) const;
    // Index of the last key of a variables section that matches the current choices; -1.
    int IndexInVarablesSection(const TOrderingCodeSection& variablesSection) const;

    int IndexOfCode(std::string_view code) const;
    bool IsAllowedInCodeList(std::string_view code) const;
    void PurgeCodeList();

    // The non-empty fields texts that apply to the current choices and the code, in the order
    // they are applied: defaults, chosen options, matching variables, the code-list entry.
    std::vector<std::string> CreateListFieldsToUse(std::string_view code) const;

    void Dump(TJsonWriter& w) const;

private:
    const TOrderingCodeSection* FindByName(std::string_view name) const;
    std::vector<std::unique_ptr<TOrderingCodeSection>> fSections;
};

// Template pieces: literals and bracketed fields, as the code is built from them.
struct TCodeTemplatePiece {
    std::string Text;
    bool IsField = false;
};
std::vector<TCodeTemplatePiece> SplitCodeTemplate(std::string_view emptyString);

namespace TOrderingCodeSectionHelper {
// The section's header line and one line per key.
void ToStrings(const TOrderingCodeSection& section, std::vector<std::string>& strings);
// Every non-empty "|"-separated item of every key's Fields, in order.
std::vector<std::string> CreateCompleteFieldList(const TOrderingCodeSection& section);
} // namespace TOrderingCodeSectionHelper

// Why CreateAll stopped before trying every combination.
enum class TCreateAllStop : uint8_t {
    None,
    // More than CreateAllMaxResults codes were found.
    TooManyResults,
    // The work limit ran out first: combinations that yield no code or the same code again,
    // which the result count does not bound, or options whose names bring fields of their own.
    WorkLimit,
};

namespace TOrderingCodeGeneratorHelper {
inline constexpr size_t CreateAllMaxResults = 32000;
// Each expansion step costs CreateAllStepCost plus the length of its text, each option tried
// CreateAllStepCost; the enumeration stops once the sum passes CreateAllWorkLimit: about half a
// million steps on codes of ordinary length, well past what 32000 codes take, and a bound on
// the memory the texts under expansion hold.
inline constexpr size_t CreateAllStepCost = 64;
inline constexpr size_t CreateAllWorkLimit = size_t(48) << 20;

void FromStrings(TOrderingCodeGenerator& generator, const std::vector<std::string>& strings);
void ToStrings(const TOrderingCodeGenerator& generator, std::vector<std::string>& strings);
// The field pieces of the template, in order.
std::vector<std::string> CreateListFlexibleSections(std::string_view emptyCode);
// Every code the template can take under the simple rules, appended to strings (ignoring codes
// it already holds, ignoring case). A stopped enumeration is marked by a first and a last line.
// workLimit replaces CreateAllWorkLimit where a caller needs a smaller budget.
TCreateAllStop CreateAll(const TOrderingCodeGenerator& generator, std::string_view emptyCode,
                         std::vector<std::string>& strings, size_t workLimit = CreateAllWorkLimit);
std::vector<std::string> CreateAll(const TOrderingCodeGenerator& generator, std::string_view emptyCode);
// Rebuilds the code list in the order of the new list, keeping the entries of known codes.
void MergeCodeList(TOrderingCodeGenerator& generator, const std::vector<std::string>& newList);
} // namespace TOrderingCodeGeneratorHelper

// How a "FlexibleCode:" block ended.
enum class TOrderingCodeBlockEnd : uint8_t {
    Terminated,
    // At the enclosing BOM record's "EndBom.", consumed: the block lacked its terminator.
    RecordEnd,
    // At the end of the text.
    TextEnd,
};

namespace TOrderingCodeGeneratorReader {
// Reads the block after its "FLEXIBLECODE:" line into the generator and validates the choices.
// A block that lacks its terminator counts as a damaged record.
TOrderingCodeBlockEnd Load(TRecordReader& reader, TOrderingCodeGenerator& generator);
} // namespace TOrderingCodeGeneratorReader

namespace TOrderingCodeGeneratorWriter {
// Nothing for a generator without sections.
void Save(TRecordWriter& writer, const TOrderingCodeGenerator& generator);
} // namespace TOrderingCodeGeneratorWriter
