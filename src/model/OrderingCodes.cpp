#include "model/OrderingCodes.h"

#include <algorithm>
#include <stdexcept>
#include <unordered_set>
#include <utility>

#include "base/Translate.h"
#include "model/JsonWriter.h"
#include "model/KeyValues.h"

using namespace std::string_view_literals;

namespace {

constexpr std::string_view NoSelection = "@@";
constexpr std::string_view DefaultsName = "[/Defaults/]";
constexpr std::string_view CodeListName = "[/CodeList/]";
constexpr std::string_view IPortsName = "[/IPorts/]";

size_t FindNoCase(std::string_view text, std::string_view pattern) {
    if (pattern.size() > text.size()) return std::string_view::npos;
    for (size_t i = 0; i + pattern.size() <= text.size(); ++i)
        if (SameTextAscii(text.substr(i, pattern.size()), pattern)) return i;
    return std::string_view::npos;
}

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
    std::string r;
    size_t pos = 0;
    for (size_t hit; (hit = text.find(from, pos)) != std::string_view::npos; pos = hit + from.size()) {
        r.append(text.substr(pos, hit - pos));
        r.append(to);
    }
    r.append(text.substr(pos));
    return r;
}

// Lines as a string list takes them from a text: a break at the very end opens no further line.
std::vector<std::string> TrimmedLines(std::string_view text) {
    std::vector<std::string> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t br = text.find('\n', pos);
        if (br == std::string_view::npos) br = text.size();
        lines.emplace_back(TrimRecordText(text.substr(pos, br - pos)));
        pos = br + 1;
    }
    return lines;
}

std::vector<std::string_view> SplitAt(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    size_t pos = 0;
    for (;;) {
        size_t p = text.find(separator, pos);
        parts.push_back(text.substr(pos, p == std::string_view::npos ? std::string_view::npos : p - pos));
        if (p == std::string_view::npos) return parts;
        pos = p + 1;
    }
}

// Walks the pieces of a code template; stops when the visitor returns false.
template <class F> void ForEachPiece(std::string_view text, F&& visit) {
    std::string current;
    auto close = [&]() {
        bool more = visit(std::string_view(current));
        current.clear();
        return more;
    };
    for (char c : text) {
        if (c == '[') {
            if (!current.empty() && !close()) return;
            current = "[";
        } else if (c == ']') {
            // A "]" that closes nothing is dropped.
            if (!current.empty()) {
                current.push_back(']');
                if (!close()) return;
            }
        } else {
            current.push_back(c);
        }
    }
    if (!current.empty()) close();
}

std::optional<std::string> FirstFieldPiece(std::string_view text) {
    std::optional<std::string> field;
    ForEachPiece(text, [&](std::string_view piece) {
        if (piece.front() != '[') return true;
        field.emplace(piece);
        return false;
    });
    return field;
}

// The bracketed name at the start of a header text: up to the first "]]" when the text opens
// with "[[", else up to the first "]". Without its closing bracket the name is empty and the
// rest is the whole text.
void TakeBracketName(std::string_view text, std::string& name, std::string_view& rest) {
    const bool doubled = text.size() > 1 && text[1] == '[';
    const std::string_view close = doubled ? "]]"sv : "]"sv;
    size_t p = text.find(close);
    if (p == std::string_view::npos) {
        name.clear();
        rest = text;
        return;
    }
    name.assign(text.substr(0, p + close.size()));
    rest = TrimRecordText(text.substr(p + close.size()));
}

TOrderingCodeKey ParseKeyLine(std::string_view line) {
    TOrderingCodeKey key;
    size_t eq = line.find('=');
    if (eq == std::string_view::npos) {
        key.Name.assign(line);
        return key;
    }
    key.Name.assign(line.substr(0, eq));
    std::string_view after = line.substr(eq + 1);
    size_t bars = after.find("||");
    key.Description.assign(after.substr(0, bars));
    if (bars != std::string_view::npos) key.Fields.assign(after.substr(bars + 2));
    return key;
}

// Whether one key of a section may be chosen given the choices of the others. Everything the
// rules say about the section is gathered once, so that asking about each of its keys costs a
// set look-up; the snapshot of the other choices tells when it must be gathered again.
class TAllowedCheck {
public:
    TAllowedCheck(const TOrderingCodeGenerator& generator, int sectionIdx)
        : fGenerator(generator), fSectionIdx(sectionIdx), fSimple(generator.UseSimpleAllowed()) {
        if (sectionIdx != -1) (void)generator.Sections(sectionIdx); // range check
        Gather();
    }

    bool Stale() const {
        for (int i = 0; i < fGenerator.Count(); ++i)
            if (i != fSectionIdx && fGenerator.Sections(i).ItemIndex() != fSnapshot[size_t(i)]) return true;
        return false;
    }
    void Refresh() {
        if (Stale()) Gather();
    }

    bool Allows(int keyIdx) const {
        if (fSectionIdx == -1 || keyIdx == -1) return fSimple;
        const std::string name = UpperAscii(fGenerator.Sections(fSectionIdx).Keys(keyIdx).Name);
        if (fSimple) {
            for (const auto& rule : fSimpleRules)
                if (rule.Allowed != rule.Partners.contains(name)) return false;
            return true;
        }
        if (!fPairRule) return true;
        return fPairRule->Allowed == fPairRule->Partners.contains(name);
    }

private:
    struct TRule {
        bool Allowed;                             // the rule lists what may go together
        std::unordered_set<std::string> Partners; // upper-cased options it names for this section
    };

    void Gather() {
        const int count = fGenerator.Count();
        fSnapshot.resize(size_t(count));
        for (int i = 0; i < count; ++i)
            fSnapshot[size_t(i)] = fGenerator.Sections(i).ItemIndex();
        fSimpleRules.clear();
        fPairRule.reset();
        if (fSectionIdx == -1) return;
        const std::string& ownName = fGenerator.Sections(fSectionIdx).SectionName();
        if (fSimple) {
            // Only sections before this one restrict it, and only through [earlier]&[this].
            for (int j = fSectionIdx - 1; j >= 0; --j) {
                const TOrderingCodeSection& other = fGenerator.Sections(j);
                const TOrderingCodeKey* chosen = other.ChosenKey();
                if (other.Mode() != sectionNormal || !chosen) continue;
                const TOrderingCodeSection* r =
                    fGenerator.IndexOfSimpleException(other.SectionName(), ownName);
                if (!r) continue;
                TRule rule{r->Mode() == sectionSimpleAllowed, {}};
                for (const auto& key : r->fKeys) {
                    const auto descriptions = SplitAt(key.Description, ';');
                    for (std::string_view namePart : SplitAt(key.Name, ';'))
                        if (SameTextAscii(namePart, chosen->Name))
                            for (std::string_view d : descriptions)
                                rule.Partners.insert(UpperAscii(d));
                }
                fSimpleRules.push_back(std::move(rule));
            }
            return;
        }
        // The first chosen section that has a rule with this one decides alone.
        for (int i = 0; i < count; ++i) {
            const TOrderingCodeSection& other = fGenerator.Sections(i);
            const TOrderingCodeKey* chosen = other.ChosenKey();
            if (i == fSectionIdx || other.Mode() != sectionNormal || !chosen) continue;
            const TOrderingCodeSection* r = fGenerator.IndexOfException(other.SectionName(), ownName);
            if (!r) continue;
            TRule rule{r->Mode() == sectionAllowed, {}};
            for (const auto& key : r->fKeys) {
                if (SameTextAscii(key.Description, chosen->Name)) rule.Partners.insert(UpperAscii(key.Name));
                if (SameTextAscii(key.Name, chosen->Name)) rule.Partners.insert(UpperAscii(key.Description));
            }
            fPairRule = std::move(rule);
            return;
        }
    }

    const TOrderingCodeGenerator& fGenerator;
    int fSectionIdx;
    bool fSimple;
    std::vector<int32_t> fSnapshot;
    std::vector<TRule> fSimpleRules;
    std::optional<TRule> fPairRule;
};

} // namespace

std::string_view SectionModeIdent(TSectionMode mode) {
    static constexpr std::string_view idents[SectionModeCount] = {
        "sectionNormal",           "sectionAllowed",   "sectionNotAllowed", "sectionSimpleAllowed",
        "sectionSimpleNotAllowed", "sectionVariables", "sectionSpecial",    "sectionFreeField"};
    return mode < SectionModeCount ? idents[mode] : "?"sv;
}

// ---------------------------------------------------------------------------------------------
// TOrderingCodeSection

void TOrderingCodeSection::Assign(const TOrderingCodeSection& source) {
    if (this == &source) return;
    fKeys.clear();
    fSectionData = source.fSectionData;
    fKeys = source.fKeys;
}

std::unique_ptr<TOrderingCodeSection> TOrderingCodeSection::Clone() const {
    auto s = std::make_unique<TOrderingCodeSection>();
    s->Assign(*this);
    return s;
}

void TOrderingCodeSection::ClearData() {
    fKeys.clear();
    fSectionData = TOrderingCodeSectionData{};
}

bool TOrderingCodeSection::Compare(const TOrderingCodeSection& second) const {
    return fSectionData == second.fSectionData && fKeys == second.fKeys;
}

const TOrderingCodeKey* TOrderingCodeSection::ChosenKey() const {
    const int32_t i = fSectionData.ItemIndex;
    return i >= 0 && i < Count() ? &fKeys[size_t(i)] : nullptr;
}

int TOrderingCodeSection::IndexOfKey(std::string_view key) const {
    for (int i = 0; i < Count(); ++i)
        if (SameTextAscii(fKeys[size_t(i)].Name, key)) return i;
    return -1;
}

int TOrderingCodeSection::IndexOfCombination(std::string_view key1, std::string_view key2) const {
    for (int i = 0; i < Count(); ++i) {
        const auto& k = fKeys[size_t(i)];
        if ((SameTextAscii(k.Name, key1) && SameTextAscii(k.Description, key2)) ||
            (SameTextAscii(k.Description, key1) && SameTextAscii(k.Name, key2)))
            return i;
    }
    return -1;
}

int TOrderingCodeSection::IndexOfSimpleCombination(std::string_view key1, std::string_view key2) const {
    int position = 0;
    for (const auto& k : fKeys) {
        const auto names = SplitAt(k.Name, ';');
        const auto descriptions = SplitAt(k.Description, ';');
        for (std::string_view n : names)
            for (std::string_view d : descriptions) {
                if (SameTextAscii(n, key1) && SameTextAscii(d, key2)) return position;
                ++position;
            }
    }
    return -1;
}

std::string TOrderingCodeSection::SelectedKey() const {
    if (Mode() == sectionFreeField) return FreeFieldValue();
    const TOrderingCodeKey* k = ChosenKey();
    return k ? k->Name : "?";
}

std::string TOrderingCodeSection::SelectedDisplayDescription() const {
    const TOrderingCodeKey* k = ChosenKey();
    if (!k) return "?";
    std::string s = k->Name.empty() ? _("(empty)") : k->Name;
    if (!k->Description.empty()) s += " - " + k->Description;
    return s;
}

std::string TOrderingCodeSection::SelectedDisplayDescriptionAsHint() const {
    const TOrderingCodeKey* k = ChosenKey();
    if (!k) return "?";
    std::string s = k->Name.empty() ? _("(empty)") : k->Name;
    if (!k->Description.empty()) s += " (" + k->Description + ")";
    return s;
}

std::string TOrderingCodeSection::FreeFieldValue() const {
    if (Mode() != sectionFreeField) return {};
    int i = IndexOfKey("Value");
    return i < 0 ? std::string() : fKeys[size_t(i)].Description;
}

std::string TOrderingCodeSection::FreeFieldDescription() const {
    if (Mode() != sectionFreeField) return {};
    int i = IndexOfKey("Description");
    return i < 0 ? std::string() : fKeys[size_t(i)].Description;
}

void TOrderingCodeSection::SetFreeFieldValue(const std::string& value) {
    if (Mode() != sectionFreeField) return;
    int i = IndexOfKey("Value");
    if (i >= 0) {
        if (value.empty())
            fKeys.erase(fKeys.begin() + i);
        else
            fKeys[size_t(i)].Description = value;
    } else if (!value.empty()) {
        fKeys.push_back(TOrderingCodeKey::Make("Value", value, ""));
    }
}

std::string TOrderingCodeSection::GetSeparator() const {
    std::string separator;
    bool started = false;
    for (char c : fSectionData.Name) {
        if (c == ']') {
            separator = " ";
            started = true;
        } else if (started) {
            if (c == '[') break;
            separator.push_back(c);
        }
    }
    std::string trimmed(TrimRecordText(separator));
    return trimmed.empty() ? "+" : trimmed;
}

std::vector<std::string> TOrderingCodeSection::CreateSectionNameList() const {
    std::string names = ReplaceAll(ReplaceAll(fSectionData.Name, "[[", "["), "]]", "]");
    return TrimmedLines(ReplaceAll(names, GetSeparator(), "\n"));
}

std::vector<std::string> TOrderingCodeSection::CreateKeyValueList(const TOrderingCodeKey& key) const {
    const std::string separator = GetSeparator();
    std::string values = key.Name;
    // A value left empty at the end still counts as one.
    if (values.ends_with(separator)) values.push_back(' ');
    return TrimmedLines(ReplaceAll(values, separator, "\n"));
}

void TOrderingCodeSection::Dump(TJsonWriter& w) const {
    w.BeginObject();
    w.Field("Class", "TOrderingCodeSection");
    w.Key("SectionData");
    w.BeginObject();
    w.Field("Name", fSectionData.Name);
    w.Field("Name2", fSectionData.Name2);
    w.Field("ItemIndex", fSectionData.ItemIndex);
    w.Field("Mode", SectionModeIdent(fSectionData.Mode));
    w.EndObject();
    w.Key("Keys");
    w.BeginArray();
    for (const auto& k : fKeys) {
        w.BeginObject();
        w.Field("Name", k.Name);
        w.Field("Description", k.Description);
        w.Field("Fields", k.Fields);
        w.EndObject();
    }
    w.EndArray();
    w.EndObject();
}

// ---------------------------------------------------------------------------------------------
// TOrderingCodeGenerator

TOrderingCodeGenerator& TOrderingCodeGenerator::operator=(const TOrderingCodeGenerator& other) {
    Assign(other);
    return *this;
}

TOrderingCodeSection& TOrderingCodeGenerator::Add(std::unique_ptr<TOrderingCodeSection> section) {
    fSections.push_back(std::move(section));
    return *fSections.back();
}

void TOrderingCodeGenerator::Delete(int i) {
    if (i >= 0 && i < Count()) fSections.erase(fSections.begin() + i);
}

void TOrderingCodeGenerator::Assign(const TOrderingCodeGenerator& source) {
    if (this == &source) return;
    fSections.clear();
    for (const auto& s : source.fSections)
        fSections.push_back(s->Clone());
}

std::unique_ptr<TOrderingCodeGenerator> TOrderingCodeGenerator::Clone() const {
    return std::make_unique<TOrderingCodeGenerator>(*this);
}

bool TOrderingCodeGenerator::Compare(const TOrderingCodeGenerator& second) const {
    if (Count() != second.Count()) return false;
    for (int i = 0; i < Count(); ++i)
        if (!Sections(i).Compare(second.Sections(i))) return false;
    return true;
}

bool TOrderingCodeGenerator::IsFilledIn() const {
    return std::none_of(fSections.begin(), fSections.end(),
                        [](const auto& s) { return s->Mode() == sectionNormal && s->ItemIndex() == -1; });
}

bool TOrderingCodeGenerator::UseSimpleAllowed() const {
    return std::any_of(fSections.begin(), fSections.end(), [](const auto& s) {
        return s->Mode() == sectionSimpleAllowed || s->Mode() == sectionSimpleNotAllowed;
    });
}

const TOrderingCodeSection* TOrderingCodeGenerator::FindByName(std::string_view name) const {
    for (const auto& s : fSections)
        if (SameTextAscii(s->SectionName(), name)) return s.get();
    return nullptr;
}

const TOrderingCodeSection* TOrderingCodeGenerator::DefaultsList() const {
    return FindByName(DefaultsName);
}
const TOrderingCodeSection* TOrderingCodeGenerator::CodeList() const {
    return FindByName(CodeListName);
}
TOrderingCodeSection* TOrderingCodeGenerator::CodeList() {
    return const_cast<TOrderingCodeSection*>(std::as_const(*this).CodeList());
}
const TOrderingCodeSection* TOrderingCodeGenerator::IPortList() const {
    return FindByName(IPortsName);
}

int TOrderingCodeGenerator::IndexOfFieldSection(std::string_view sectionName) const {
    for (int i = 0; i < Count(); ++i) {
        const auto& s = Sections(i);
        if ((s.Mode() == sectionNormal || s.Mode() == sectionFreeField) &&
            SameTextAscii(s.SectionName(), sectionName))
            return i;
    }
    return -1;
}

int TOrderingCodeGenerator::IndexOfSection(std::string_view sectionName) const {
    for (int i = 0; i < Count(); ++i)
        if (Sections(i).Mode() == sectionNormal && SameTextAscii(Sections(i).SectionName(), sectionName))
            return i;
    return -1;
}

int TOrderingCodeGenerator::IndexOfFreeFieldSection(std::string_view sectionName) const {
    for (int i = 0; i < Count(); ++i)
        if (Sections(i).Mode() == sectionFreeField && SameTextAscii(Sections(i).SectionName(), sectionName))
            return i;
    return -1;
}

const TOrderingCodeSection* TOrderingCodeGenerator::IndexOfException(std::string_view sectionName1,
                                                                     std::string_view sectionName2) const {
    for (const auto& s : fSections) {
        if (s->Mode() == sectionNormal) continue;
        const std::string& n1 = s->fSectionData.Name;
        const std::string& n2 = s->fSectionData.Name2;
        if ((SameTextAscii(n1, sectionName1) && SameTextAscii(n2, sectionName2)) ||
            (SameTextAscii(n1, sectionName2) && SameTextAscii(n2, sectionName1)))
            return s.get();
    }
    return nullptr;
}

const TOrderingCodeSection*
TOrderingCodeGenerator::IndexOfSimpleException(std::string_view sectionName1,
                                               std::string_view sectionName2) const {
    for (const auto& s : fSections)
        if ((s->Mode() == sectionSimpleAllowed || s->Mode() == sectionSimpleNotAllowed) &&
            SameTextAscii(s->fSectionData.Name, sectionName1) &&
            SameTextAscii(s->fSectionData.Name2, sectionName2))
            return s.get();
    return nullptr;
}

bool TOrderingCodeGenerator::IsAllowed(int sectionIdx, int keyIdx) const {
    if (sectionIdx != -1 && keyIdx != -1) (void)Sections(sectionIdx).Keys(keyIdx);
    return TAllowedCheck(*this, sectionIdx).Allows(keyIdx);
}

bool TOrderingCodeGenerator::IsSimpleAllowed(int sectionIdx, int keyIdx) const {
    if (!UseSimpleAllowed()) {
        // The check follows the generator's own rule kind; with no simple rules nothing restricts.
        if (sectionIdx != -1 && keyIdx != -1) (void)Sections(sectionIdx).Keys(keyIdx);
        return true;
    }
    return IsAllowed(sectionIdx, keyIdx);
}

std::vector<int> TOrderingCodeGenerator::CreateListAllowedItems(int sectionIdx) const {
    const TAllowedCheck check(*this, sectionIdx);
    std::vector<int> allowed;
    const int keys = sectionIdx == -1 ? 0 : Sections(sectionIdx).Count();
    for (int k = 0; k < keys; ++k)
        if (check.Allows(k)) allowed.push_back(k);
    return allowed;
}

void TOrderingCodeGenerator::CheckSection(int sectionIdx) {
    TOrderingCodeSection& section = Sections(sectionIdx);
    if (section.Mode() != sectionNormal) return;
    const TAllowedCheck check(*this, sectionIdx);
    // An index outside the keys chooses nothing (SelectedKey shows "?") and is dropped here.
    if (section.ItemIndex() != -1 && (!section.ChosenKey() || !check.Allows(section.ItemIndex())))
        section.SetItemIndex(-1);
    int allowedCount = 0, onlyAllowed = -1;
    for (int k = 0; k < section.Count() && allowedCount < 2; ++k)
        if (check.Allows(k)) {
            ++allowedCount;
            onlyAllowed = k;
        }
    if (allowedCount == 1) section.SetItemIndex(onlyAllowed);
}

void TOrderingCodeGenerator::CheckAll() {
    for (int i = 0; i < Count(); ++i)
        CheckSection(i);
}

std::string TOrderingCodeGenerator::GetOrderingCode(std::string_view emptyString) const {
    std::string code;
    ForEachPiece(emptyString, [&](std::string_view piece) {
        if (piece.front() != '[') {
            code.append(piece);
        } else {
            int i = IndexOfFieldSection(piece);
            code.append(i < 0 ? std::string("?") : Sections(i).SelectedKey());
        }
        return true;
    });
    return code;
}

int TOrderingCodeGenerator::IndexInVarablesSection(const TOrderingCodeSection& variablesSection) const {
    if (variablesSection.Mode() != sectionVariables) return -1;
    const std::vector<std::string> names = variablesSection.CreateSectionNameList();
    if (names.empty()) return -1;
    std::vector<std::string> selected;
    for (const auto& n : names) {
        int i = IndexOfSection(n);
        if (i < 0) return -1;
        selected.push_back(Sections(i).SelectedKey());
    }
    int found = -1;
    for (int k = 0; k < variablesSection.Count(); ++k) {
        const auto values = variablesSection.CreateKeyValueList(variablesSection.Keys(k));
        if (values.size() != names.size()) continue;
        bool match = true;
        for (size_t p = 0; p < values.size() && match; ++p)
            match = SameTextAscii(selected[p], values[p]);
        if (match) found = k;
    }
    return found;
}

int TOrderingCodeGenerator::IndexOfCode(std::string_view code) const {
    const TOrderingCodeSection* list = CodeList();
    if (!list) return -1;
    // The code is cut to each shorter entry in turn and stays cut for the entries after it.
    for (int i = 0; i < list->Count(); ++i) {
        const std::string& name = list->Keys(i).Name;
        if (name.size() < code.size()) code = code.substr(0, name.size());
        if (SameTextAscii(name, code)) return i;
    }
    return -1;
}

bool TOrderingCodeGenerator::IsAllowedInCodeList(std::string_view code) const {
    int i = IndexOfCode(code);
    return i < 0 || !SameTextAscii(TrimRecordText(CodeList()->Keys(i).Description), "NO");
}

void TOrderingCodeGenerator::PurgeCodeList() {
    TOrderingCodeSection* list = CodeList();
    if (!list) return;
    std::erase_if(list->fKeys, [](const TOrderingCodeKey& k) {
        return k.Fields.empty() && (k.Description.empty() || SameTextAscii(k.Description, "Yes"));
    });
}

std::vector<std::string> TOrderingCodeGenerator::CreateListFieldsToUse(std::string_view code) const {
    std::vector<std::string> list;
    auto add = [&](const std::string& fields) {
        if (!fields.empty()) list.push_back(fields);
    };
    if (const TOrderingCodeSection* defaults = DefaultsList())
        for (const auto& k : defaults->fKeys)
            add(k.Fields);
    for (const auto& s : fSections)
        if (s->Mode() == sectionNormal)
            if (const TOrderingCodeKey* k = s->ChosenKey()) add(k->Fields);
    for (const auto& s : fSections)
        if (s->Mode() == sectionVariables) {
            int k = IndexInVarablesSection(*s);
            if (k != -1) add(s->Keys(k).Fields);
        }
    if (CodeList() && !code.empty()) {
        int k = IndexOfCode(code);
        if (k != -1) add(CodeList()->Keys(k).Fields);
    }
    return list;
}

void TOrderingCodeGenerator::Dump(TJsonWriter& w) const {
    w.BeginObject();
    w.Field("Class", "TOrderingCodeGenerator");
    w.Key("Sections");
    w.BeginArray();
    for (const auto& s : fSections)
        s->Dump(w);
    w.EndArray();
    w.EndObject();
}

std::vector<TCodeTemplatePiece> SplitCodeTemplate(std::string_view emptyString) {
    std::vector<TCodeTemplatePiece> pieces;
    ForEachPiece(emptyString, [&](std::string_view piece) {
        pieces.push_back({std::string(piece), piece.front() == '['});
        return true;
    });
    return pieces;
}

// ---------------------------------------------------------------------------------------------
// Text form

void TOrderingCodeSectionHelper::ToStrings(const TOrderingCodeSection& section,
                                           std::vector<std::string>& strings) {
    const TOrderingCodeSectionData& d = section.fSectionData;
    std::string header = d.Name;
    switch (d.Mode) {
    case sectionAllowed:
        header += "+" + d.Name2;
        break;
    case sectionNotAllowed:
        header += "-" + d.Name2;
        break;
    case sectionSimpleAllowed:
        header += "&" + d.Name2;
        break;
    case sectionSimpleNotAllowed:
        header += "^" + d.Name2;
        break;
    case sectionVariables:
    case sectionSpecial:
        header += d.Name2;
        break;
    default:
        break;
    }
    if (d.ItemIndex != -1) header += "=" + section.SelectedKey();
    strings.push_back(std::move(header));
    for (const auto& k : section.fKeys)
        strings.push_back(k.Name + "=" + k.Description + (k.Fields.empty() ? "" : "||" + k.Fields));
}

std::vector<std::string>
TOrderingCodeSectionHelper::CreateCompleteFieldList(const TOrderingCodeSection& section) {
    std::vector<std::string> list;
    for (const auto& k : section.fKeys)
        for (std::string_view item : SplitAt(k.Fields, '|'))
            if (!item.empty()) list.emplace_back(item);
    return list;
}

void TOrderingCodeGeneratorHelper::ToStrings(const TOrderingCodeGenerator& generator,
                                             std::vector<std::string>& strings) {
    strings.clear();
    for (int i = 0; i < generator.Count(); ++i)
        TOrderingCodeSectionHelper::ToStrings(generator.Sections(i), strings);
}

void TOrderingCodeGeneratorHelper::FromStrings(TOrderingCodeGenerator& generator,
                                               const std::vector<std::string>& strings) {
    generator.Clear();
    TOrderingCodeSection work;
    std::string pending(NoSelection);
    auto finish = [&]() {
        if (pending != NoSelection) work.SetItemIndex(work.IndexOfKey(pending));
        generator.Add(work.Clone());
    };
    for (const std::string& raw : strings) {
        const std::string_view line = TrimRecordText(raw);
        if (line.empty()) continue;
        if (line.front() != '[') {
            work.Add(ParseKeyLine(line));
            continue;
        }
        if (!work.SectionName().empty()) finish();
        work.ClearData();
        pending = NoSelection;
        TOrderingCodeSectionData& d = work.fSectionData;
        if (line.starts_with("[["))
            d.Mode = sectionVariables;
        else if (line.starts_with("[*"))
            d.Mode = sectionFreeField;
        std::string_view rest;
        TakeBracketName(line, d.Name, rest);
        static constexpr std::string_view operators = "+-&^";
        static constexpr TSectionMode ruleModes[] = {sectionAllowed, sectionNotAllowed, sectionSimpleAllowed,
                                                     sectionSimpleNotAllowed};
        if (rest.size() >= 3 && rest[1] == '[' && operators.find(rest[0]) != std::string_view::npos) {
            d.Mode = ruleModes[operators.find(rest[0])];
            TakeBracketName(rest.substr(1), d.Name2, rest);
            if (d.Name2.empty()) d.Mode = sectionNormal;
        }
        if (SameTextAscii(d.Name, DefaultsName) || SameTextAscii(d.Name, CodeListName) ||
            SameTextAscii(d.Name, IPortsName))
            d.Mode = sectionSpecial;
        if (size_t eq = rest.find('='); eq != std::string_view::npos) {
            std::string_view sel = rest.substr(eq + 1);
            pending.assign(sel.substr(0, sel.find("||")));
        }
    }
    if (!work.SectionName().empty()) finish();
}

std::vector<std::string>
TOrderingCodeGeneratorHelper::CreateListFlexibleSections(std::string_view emptyCode) {
    std::vector<std::string> fields;
    ForEachPiece(emptyCode, [&](std::string_view piece) {
        if (piece.front() == '[') fields.emplace_back(piece);
        return true;
    });
    return fields;
}

namespace {

// Depth-first expansion of a template over a working copy of the generator, with an explicit
// stack: option names may bring fields of their own, so the depth is not bounded by the
// template. The work limit bounds the time, the stack and the texts alike.
class TCodeEnumerator {
public:
    TCodeEnumerator(const TOrderingCodeGenerator& generator, std::vector<std::string>& strings,
                    size_t workLimit)
        : fCopy(generator), fStrings(strings), fSimple(generator.UseSimpleAllowed()), fWorkLimit(workLimit) {
        for (int i = 0; i < fCopy.Count(); ++i)
            fCopy.Sections(i).SetItemIndex(-1);
        for (const auto& s : strings)
            fKnown.insert(UpperAscii(s));
    }

    TCreateAllStop Run(std::string_view emptyCode) {
        fStack.emplace_back(std::string(emptyCode));
        while (!fStack.empty() && fStop == TCreateAllStop::None) {
            TFrame& top = fStack.back();
            if (!top.Entered)
                Enter(top);
            else
                NextOption(top);
        }
        fStack.clear();
        return fStop;
    }

private:
    struct TFrame {
        explicit TFrame(std::string text) : Text(std::move(text)) {}
        std::string Text;
        bool Entered = false;
        int Section = -1;
        std::string Field;
        int NextKey = 0;
        std::optional<TAllowedCheck> Check;
    };

    bool Charge(size_t cost) {
        fWork += cost;
        if (fWork <= fWorkLimit) return true;
        fStop = TCreateAllStop::WorkLimit;
        return false;
    }

    // Replaces the first occurrence of the field, ignoring case.
    static std::string Substitute(const std::string& text, const std::string& field, const std::string& by) {
        size_t p = FindNoCase(text, field);
        std::string r = text;
        if (p != std::string::npos) r.replace(p, field.size(), by);
        return r;
    }

    void Enter(TFrame& frame) {
        if (!Charge(TOrderingCodeGeneratorHelper::CreateAllStepCost + frame.Text.size())) return;
        // The step that finds the list full still ends: it may add its own code.
        const bool full = fStrings.size() > TOrderingCodeGeneratorHelper::CreateAllMaxResults;
        if (full) fStop = TCreateAllStop::TooManyResults;
        std::optional<std::string> field = FirstFieldPiece(frame.Text);
        if (!field) {
            if (fKnown.insert(UpperAscii(frame.Text)).second) fStrings.push_back(frame.Text);
            fStack.pop_back();
            return;
        }
        if (full) return; // what it would expand next returns at once
        const int s = fCopy.IndexOfFieldSection(*field);
        if (s < 0) {
            fStack.pop_back(); // a field without a section yields no code
            return;
        }
        TOrderingCodeSection& section = fCopy.Sections(s);
        if (section.Mode() == sectionFreeField) {
            // The expansion of the result is all that is left of this step, so it takes its place.
            frame.Text = Substitute(frame.Text, *field, section.FreeFieldValue());
            return;
        }
        frame.Entered = true;
        frame.Section = s;
        frame.Field = std::move(*field);
        if (fSimple) frame.Check.emplace(fCopy, s);
    }

    void NextOption(TFrame& frame) {
        TOrderingCodeSection& section = fCopy.Sections(frame.Section);
        while (frame.NextKey < section.Count()) {
            const int k = frame.NextKey++;
            if (!Charge(TOrderingCodeGeneratorHelper::CreateAllStepCost)) return;
            if (frame.Check) {
                // Choices made below this step stay made and count for the options after it.
                frame.Check->Refresh();
                if (!frame.Check->Allows(k)) continue;
            }
            section.SetItemIndex(k);
            std::string next = Substitute(frame.Text, frame.Field, section.Keys(k).Name);
            fStack.emplace_back(std::move(next)); // invalidates frame
            return;
        }
        fStack.pop_back();
    }

    TOrderingCodeGenerator fCopy;
    std::vector<std::string>& fStrings;
    bool fSimple;
    std::unordered_set<std::string> fKnown;
    std::vector<TFrame> fStack;
    size_t fWorkLimit;
    size_t fWork = 0;
    TCreateAllStop fStop = TCreateAllStop::None;
};

} // namespace

TCreateAllStop TOrderingCodeGeneratorHelper::CreateAll(const TOrderingCodeGenerator& generator,
                                                       std::string_view emptyCode,
                                                       std::vector<std::string>& strings, size_t workLimit) {
    const TCreateAllStop stop = TCodeEnumerator(generator, strings, workLimit).Run(emptyCode);
    if (stop != TCreateAllStop::None) {
        strings.insert(strings.begin(), _("Too many results (>32000).....list incomplete"));
        strings.push_back(_("Too many results.....aborted"));
    }
    return stop;
}

std::vector<std::string> TOrderingCodeGeneratorHelper::CreateAll(const TOrderingCodeGenerator& generator,
                                                                 std::string_view emptyCode) {
    std::vector<std::string> strings;
    CreateAll(generator, emptyCode, strings);
    return strings;
}

void TOrderingCodeGeneratorHelper::MergeCodeList(TOrderingCodeGenerator& generator,
                                                 const std::vector<std::string>& newList) {
    TOrderingCodeSection* list = generator.CodeList();
    if (!list) {
        auto section = std::make_unique<TOrderingCodeSection>();
        section->fSectionData.Name = CodeListName;
        // Special, as the section reads back from its block; a normal section would count as a
        // field left unchosen.
        section->fSectionData.Mode = sectionSpecial;
        list = &generator.Add(std::move(section));
    }
    std::vector<TOrderingCodeKey> keys;
    keys.reserve(newList.size());
    for (const auto& code : newList) {
        int i = list->IndexOfKey(code);
        keys.push_back(i >= 0 ? list->Keys(i) : TOrderingCodeKey::Make(code, "Yes", ""));
    }
    list->fKeys = std::move(keys);
}

// ---------------------------------------------------------------------------------------------
// The block in a BOM record

namespace {
// The BOM record's own terminator, alone on its line: no option is named so, and taking it into
// the block would swallow the rest of the file.
bool IsRecordEnd(std::string_view line) {
    return line.find('=') == std::string_view::npos && SameTextAscii(TrimRecordText(line), "EndBom.");
}
} // namespace

TOrderingCodeBlockEnd TOrderingCodeGeneratorReader::Load(TRecordReader& reader,
                                                         TOrderingCodeGenerator& generator) {
    std::vector<std::string> lines;
    TOrderingCodeBlockEnd end = TOrderingCodeBlockEnd::TextEnd;
    std::string_view line;
    std::string key, value;
    while (reader.ReadLine(line)) {
        if (line.empty()) continue;
        SplitKeyValue(line, key, value);
        if (key == "ENDFLEXIBLECODE."sv) {
            end = TOrderingCodeBlockEnd::Terminated;
            break;
        }
        if (IsRecordEnd(line)) {
            end = TOrderingCodeBlockEnd::RecordEnd;
            break;
        }
        lines.emplace_back(line);
    }
    if (end != TOrderingCodeBlockEnd::Terminated) reader.CountDamagedRecord();
    TOrderingCodeGeneratorHelper::FromStrings(generator, lines);
    generator.CheckAll();
    return end;
}

void TOrderingCodeGeneratorWriter::Save(TRecordWriter& writer, const TOrderingCodeGenerator& generator) {
    if (!generator.IsDefined()) return;
    std::vector<std::string> lines;
    TOrderingCodeGeneratorHelper::ToStrings(generator, lines);
    writer.WriteRecordLine("FlexibleCode:");
    for (const auto& l : lines)
        writer.WriteRecordLine(l);
    writer.WriteRecordLine("EndFlexibleCode.");
}
