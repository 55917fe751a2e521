#include "document/SymbolFile.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#ifdef __GLIBC__
#include <malloc.h>
#endif
#include <fstream>
#include <sstream>
#include <unordered_map>

#include "base/Translate.h"
#include "components/Connectivity.h"
#include "components/SymbolObjectSymbol.h"
#include "document/ObjectKinds.h"
#include "model/AttributeTags.h"
#include "model/JsonWriter.h"
#include "objects/ImageObject.h"

using namespace std::string_view_literals;

namespace fs = std::filesystem;

TSymbolFile::TSymbolFile() : fSymbol((RegisterObjectKinds(), std::make_unique<TSymbolObjectSymbol>())) {
    fSymbol->SetGeometryClock(&fGeometryClock);
    // Nothing is selected in a new drawing.
    SetClickSelection({});
    Clear();
}

TSymbolFile::~TSymbolFile() = default;

const TObjectRefList* TSymbolFile::ClickSelection() const {
    return fClickSelectionStructure == fGeometryClock.Structure &&
                   fClickSelectionSelections == fGeometryClock.Selections
               ? &fClickSelection
               : nullptr;
}

void TSymbolFile::SetClickSelection(TObjectRefList roots) {
    fClickSelection = std::move(roots);
    fClickSelectionStructure = fGeometryClock.Structure;
    fClickSelectionSelections = fGeometryClock.Selections;
}

void TSymbolFile::ForgetClickSelection() {
    fClickSelection.clear();
    fClickSelectionStructure = fClickSelectionSelections = 0;
}

void TSymbolFile::Clear() {
    ForgetClickSelection();
    fDamagedRecords = 0;
    fSymbol->SetDefaults();
    fTextStyleList.Clear();
    fAttributeList.Clear();
    fAdditionalFiles.clear();
    fRevisionList.Clear();
    fSessionList.Clear();
    fRevisionLayoutList.Clear();
    fBOMColumnListList.Clear();
    fSymbolLayerList.Clear();
    fLayoutList.Clear();
    fFileType = sftNone;
    fStartSession = NowAsDayCount();
    fData = TSymbolFileData{};
}

namespace {

// Whether some line opens a section the top level reads. Keys are ASCII in both text variants,
// so the raw bytes serve for either.
bool HoldsDrawingRecord(const std::string& bytes) {
    static constexpr std::string_view sections[] = {
        "HEADER:",  "SYMBOL:",   "ADDITIONALFILE",  "ATTRIBUTELIST:",   "BOMCOLUMNLIST:", "LAYOUTLIST:",
        "SESSION:", "REVISION:", "REVISIONLAYOUT:", "SYMBOLLAYERLIST:", "TEXTSTYLE:"};
    TRecordReader reader(std::string_view(bytes), TRecordVariant::UniCode);
    std::string key, value;
    while (!reader.AtEnd())
        if (reader.ReadRecordLine(key, value) &&
            std::find(std::begin(sections), std::end(sections), key) != std::end(sections))
            return true;
    return false;
}

enum class TReadResult { Ok, Missing, Folder, Unreadable };

TReadResult ReadWholeFile(const std::string& fileName, std::string& bytes, std::string& reason) {
    std::error_code ec;
    auto status = fs::status(fileName, ec);
    if (ec || !fs::exists(status)) return TReadResult::Missing;
    if (fs::is_directory(status)) return TReadResult::Folder;
    std::ifstream in(fileName, std::ios::binary);
    if (!in) {
        reason = std::strerror(errno);
        return TReadResult::Unreadable;
    }
    // One allocation of the file's size; a file that grows while it is read is read to its end.
    bytes.clear();
    if (auto size = fs::file_size(fileName, ec); !ec) bytes.reserve(size_t(size));
    char buffer[1 << 16];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0)
        bytes.append(buffer, size_t(in.gcount()));
    if (in.bad()) {
        reason = "read error";
        return TReadResult::Unreadable;
    }
    return TReadResult::Ok;
}

} // namespace

bool TSymbolFile::LoadFromFile(const std::string& fileName, TConnectivityPass pass) {
    fLastError.clear();
    std::string bytes, reason;
    // The file is read once; both text variants are decoded from the same bytes, so a file
    // that changes or vanishes between two attempts cannot leave a half-read document.
    switch (ReadWholeFile(fileName, bytes, reason)) {
    case TReadResult::Missing:
        fLastError = FormatText(_("The file \"%s\" does not exist."), {fileName});
        return false;
    case TReadResult::Folder:
        fLastError = FormatText(_("\"%s\" is a folder, not a drawing file."), {fileName});
        return false;
    case TReadResult::Unreadable:
        fLastError = FormatText(_("The file \"%s\" cannot be read: %s."), {fileName, reason});
        return false;
    case TReadResult::Ok:
        break;
    }
    // The readers pass over what they do not know, so any bytes would "load" as an empty drawing;
    // a file without one record of a drawing is refused instead, and the document stays as it was.
    if (!HoldsDrawingRecord(bytes)) {
        fLastError = FormatText(_("\"%s\" is not a drawing file."), {fileName});
        return false;
    }
    return LoadFromBytes(std::move(bytes), fileName, pass);
}

namespace {
// Memory the load freed (the file's bytes, the reader's buffers) goes back to the system, so a
// large drawing costs its objects and not the peak of reading it.
void ReturnFreedMemory() {
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}
} // namespace

bool TSymbolFile::LoadFromBytes(std::string bytes, const std::string& fileName, TConnectivityPass pass) {
    if (IsValidUtf8(bytes)) {
        try {
            Clear();
            fFileName = fileName;
            bool result;
            {
                TRecordReader reader(std::string_view(bytes), TRecordVariant::UniCode);
                result = LoadFromUniCodeFile(reader);
                fDamagedRecords = reader.DamagedRecords();
            }
            // The objects hold what they need of the text: the file's bytes go before the
            // connectivity steps, which take memory of their own.
            std::string().swap(bytes);
            fSymbol->fHandle = -1;
            RunAfterLoadSteps(pass);
            ReturnFreedMemory();
            return result;
        } catch (const std::exception&) {
            // Any failure of the current-variant read falls back to the legacy variant.
        }
    }
    Clear();
    fFileName = fileName;
    std::string text = Windows1252ToUtf8(bytes);
    std::string().swap(bytes);
    bool result;
    {
        TRecordReader reader(std::move(text), TRecordVariant::Legacy);
        result = LoadFromLegacyFile(reader);
        fDamagedRecords = reader.DamagedRecords();
    }
    RunAfterLoadSteps(pass);
    ReturnFreedMemory();
    return result;
}

bool TSymbolFile::LoadFromASCIIFile(const std::string& fileName) {
    fLastError.clear();
    std::string bytes, reason;
    if (ReadWholeFile(fileName, bytes, reason) != TReadResult::Ok) {
        fLastError = FormatText(_("The file \"%s\" cannot be read."), {fileName});
        return false;
    }
    Clear();
    fFileName = fileName;
    TRecordReader reader(Windows1252ToUtf8(bytes), TRecordVariant::Legacy);
    bool result = LoadFromLegacyFile(reader);
    RunAfterLoadSteps(TConnectivityPass::cpFirst);
    return result;
}

bool TSymbolFile::LoadFromString(const std::string& text, const std::string& fileName) {
    // Read straight from memory: the result is that of writing the text to a temporary UTF-8
    // file and loading it, without the file.
    fLastError.clear();
    return LoadFromBytes(text, fileName.empty() ? "tmpsymfile.sym" : fileName + ".sym",
                         TConnectivityPass::cpFirst);
}

bool TSymbolFile::LoadFromUniCodeFile(TRecordReader& reader) {
    LoadTopLevel(reader);
    fTextStyleList.AddDefaults();
    fSymbolLayerList.AddDefaults();
    fSymbol->UpdateItemLayout(fData.ItemNumberLayouts);
    MoveRevisionAttributesToRevisions();
    return true;
}

bool TSymbolFile::LoadFromLegacyFile(TRecordReader& reader) {
    LoadTopLevel(reader);
    // The legacy reader adds the default layers first, then the default text styles.
    fSymbolLayerList.AddDefaults();
    fTextStyleList.AddDefaults();
    fSymbol->UpdateItemLayout(fData.ItemNumberLayouts);
    MoveRevisionAttributesToRevisions();
    return true;
}

bool TSymbolFile::LoadTopLevel(TRecordReader& reader) {
    const bool legacy = reader.IsLegacy();
    std::string key, value;
    while (reader.NextTopLevelKey(key, value, "END.")) {
        if (key == "HEADER:"sv) {
            LoadHeader(reader);
        } else if (key == "SYMBOL:"sv) {
            fSymbol->LoadFromReader(reader);
        } else if (key == "ADDITIONALFILE"sv) {
            fAdditionalFiles.push_back(value);
        } else if (key == "ATTRIBUTELIST:"sv) {
            fAttributeList.LoadFromReader(reader);
        } else if (key == "BOMCOLUMNLIST:"sv) {
            fBOMColumnListList.LoadColumnList(reader);
        } else if (key == "LAYOUTLIST:"sv) {
            fLayoutList.LoadFromReader(reader);
        } else if (legacy) {
            continue;
        } else if (key == "SESSION:"sv) {
            fSessionList.LoadSession(reader);
        } else if (key == "REVISION:"sv) {
            fRevisionList.LoadRevision(reader);
        } else if (key == "REVISIONLAYOUT:"sv) {
            fRevisionLayoutList.LoadRevisionLayout(reader);
        } else if (key == "SYMBOLLAYERLIST:"sv) {
            fSymbolLayerList.LoadFromReader(reader);
        } else if (key == "TEXTSTYLE:"sv) {
            fTextStyleList.Add()->LoadFromUniCodeFile(reader);
        }
    }
    return true;
}

namespace {

constexpr std::string_view FileTypeNames[] = {"None", "Symbol", "Schematic"};
constexpr std::string_view ProjectTypeNames[] = {"Not defined", "Internal", "External"};
constexpr std::string_view BorderNames[] = {"None", "Rectangle", "Rounded Rectangle", "Circle",
                                            "Circled Rectangle"};
constexpr std::string_view OrientationNames[] = {"Horizontal", "Vertical"};
constexpr std::string_view LayoutPrefixes[] = {"LEADERLAYOUT", "ITEMLAYOUT", "ITEM2LAYOUT", "ITEM3LAYOUT"};

bool ApplyItemLayoutKey(TSymbolFileData& d, const std::string& key, const std::string& value, bool legacy) {
    for (int i = 0; i < 4; ++i) {
        std::string_view prefix = LayoutPrefixes[i];
        if (key.size() <= prefix.size() || key.compare(0, prefix.size(), prefix) != 0) continue;
        // The legacy header knows the first item layout only, and not all of its keys.
        if (legacy && i != layout_Item1) return false;
        std::string_view suffix = std::string_view(key).substr(prefix.size());
        TItemNumberLayout& l = d.ItemNumberLayouts[size_t(i)];
        if (suffix == "HEIGHT") {
            if (auto v = ParseRecordInt(value)) l.Height = *v;
        } else if (suffix == "FIXEDWIDTH") {
            if (auto v = ParseRecordInt(value)) l.FixedWidth = *v;
        } else if (suffix == "BORDER") {
            int b = IndexOfName(value, BorderNames, 5);
            l.Border = b < 0 ? itemborderNone : TItemNumberBorderType(b);
        } else if (suffix == "ORIENTATION") {
            int o = IndexOfName(value, OrientationNames, 2);
            l.Orientation = o < 0 ? itemorientationHorz : TItemNumberOrientationType(o);
        } else if (legacy) {
            return false;
        } else if (suffix == "TEXTSTYLENAME") {
            l.TextStyleName = value;
        } else if (suffix == "FILLEDARROW") {
            l.FilledArrow = YesNoToBool(value);
        } else if (suffix == "ALIGN" && i != layout_Leader) {
            int a = IndexOfName(value, TextAlignNames, 4);
            l.TextAlign = a < 0 ? taMiddle : TTextAlign(a);
        } else {
            return false;
        }
        return true;
    }
    return false;
}

} // namespace

void TSymbolFile::LoadHeader(TRecordReader& reader) {
    const bool legacy = reader.IsLegacy();
    TSymbolFileData d = fData;
    std::string key, value;
    auto intOr1 = [](const std::string& v) { return ParseRecordInt(v).value_or(1); };
    while (reader.NextKey(key, value, "END.")) {
        if (key == "FILETYPE"sv) {
            int t = IndexOfName(value, FileTypeNames, 3);
            fFileType = t < 0 ? sftNone : TSymbolFileType(t);
        } else if (key == "STARTX"sv) {
            if (auto v = ParseRecordInt(value)) d.Start.X = *v;
        } else if (key == "STARTY"sv) {
            if (auto v = ParseRecordInt(value)) d.Start.Y = *v;
        } else if (key == "ZOOM"sv) {
            // Written as the zoom times 1000; a text that is no integer reads as 1.
            d.Zoom = ParseRecordInt(value).value_or(1) / 1000.0;
        } else if (key == "ISBORDER"sv) {
            d.IsBorder = YesNoToBool(value);
        } else if (key == "PRINTBOMLAYOUTINDEX"sv) {
            d.PrintBOMLayoutIndex = intOr1(value);
        } else if (key == "PACKANDSAVEBOMLAYOUTINDEX"sv) {
            d.PackAndSaveBOMLayoutIndex = intOr1(value);
        } else if (ApplyItemLayoutKey(d, key, value, legacy)) {
        } else if (legacy) {
            continue;
        } else if (key == "FILEVERSION"sv) {
            d.FileVersion = value;
        } else if (key == "KEYWORDS"sv) {
            d.KeyWords = value;
        } else if (key == "GROUPDRAWMODE"sv) {
            int m = IndexOfName(value, SymbolGroupDrawModeNames, 4);
            d.GroupDrawMode = m < 0 ? drawMainGroups : TSymbolGroupDrawMode(m);
        } else if (key == "ISFIXEDDATE"sv) {
            d.IsFixedDate = YesNoToBool(value);
        } else if (key == "FIXEDDATE"sv) {
            d.FixedDate = ParseRecordFloat(value, 0);
        } else if (key == "DISABLEADDALLSHEET"sv) {
            d.DisableAddAllSheet = YesNoToBool(value);
        } else if (key == "PRINTBOMHOSESLAYOUTINDEX"sv) {
            d.PrintBOMHosesLayoutIndex = intOr1(value);
        } else if (key == "PACKANDSAVEBOMHOSESLAYOUTINDEX"sv || key == "PACKANDSAVEBOMHOSELAYOUTINDEX"sv) {
            // The design program writes the key without the s of Hoses; both forms are read.
            d.PackAndSaveBOMHosesLayoutIndex = intOr1(value);
        } else if (key == "ISMULTISHEETFILE"sv) {
            d.IsMultiSheetFile = YesNoToBool(value);
        } else if (key == "PROJECTTYPE"sv) {
            int p = IndexOfName(value, ProjectTypeNames + 1, 2);
            d.ProjectType = p < 0 ? ptNotDefined : TProjectType(p + 1);
        } else if (key == "EXCELEXPORTPROFILENAME"sv) {
            d.ExcelExportProfileName = value;
        } else if (key == "EXCELEXPORTFILENAME"sv) {
            d.ExcelExportFileName = value;
        } else if (key == "KEEPHOSESSEPARATE"sv) {
            d.BOMHosesSettings.KeepHosesSeparate = YesNoToBool(value);
        } else if (key == "ADDHOSESTOBOM"sv) {
            d.BOMHosesSettings.AddHosesToBOM = YesNoToBool(value);
        }
    }
    fData = d;
}

void TSymbolFile::RunAfterLoadSteps(TConnectivityPass pass) {
    // The fixed order after every load: group colours from the root's group tables, then the
    // first connectivity pass, then the help ports. The full update reads nothing the help ports
    // set, so an open runs it right after the first pass, in the same walk of the file.
    fSymbol->fSymbolObjectList.UpdateGroupColors(fSymbol->fSymGroups);
    UpdateConnections(*fSymbol, false);
    if (pass == TConnectivityPass::cpFull) UpdateConnections(*fSymbol, true);
    UpdateHelpPorts(fSymbol->fSymbolObjectList, IsSchematic(), nullptr);
    // Pictures named without a folder lie beside the drawing; for a package, in its unpack folder.
    SetImageFolder(*fSymbol, fs::path(fFileName).parent_path().string());
    // Reading sets no selection flags: a loaded drawing has nothing selected.
    SetClickSelection({});
}

bool RevisionFieldOfTag(std::string_view tag, int& revision, int& field) {
    TRevisionField f;
    if (!RevisionFieldOf(SpecialAttributeOfTag(tag), revision, f)) return false;
    field = f;
    return true;
}

std::optional<double> ParseDefaultDate(const std::string& text) {
    int y = 0, m = 0, d = 0;
    char sep1 = 0, sep2 = 0;
    std::istringstream in(text);
    if (!(in >> y >> sep1 >> m >> sep2 >> d) || !in.eof()) return std::nullopt;
    if (sep1 == '/' && sep2 == '/') {
        // C locale short form: month/day/year.
        int mm = y, dd = m, yy = d;
        y = yy, m = mm, d = dd;
    } else if (!(sep1 == '-' && sep2 == '-')) {
        return std::nullopt;
    }
    using namespace std::chrono;
    year_month_day ymd{year(y), month(unsigned(m)), day(unsigned(d))};
    if (!ymd.ok()) return std::nullopt;
    return double(sys_days(ymd).time_since_epoch().count() + 25569);
}

void TSymbolFile::MoveRevisionAttributesToRevisions() {
    if (fFileType != sftSchematic) return;
    for (int i = fAttributeList.Count() - 1; i >= 0; --i) {
        const TAttributeData a = fAttributeList.fAttributeList[size_t(i)];
        int n, f;
        if (!RevisionFieldOfTag(a.Tag, n, f) || n > 5) continue;
        if (!a.Value.empty()) {
            while (fRevisionList.Count() < n)
                fRevisionList.Add();
            TRevisionData& r = fRevisionList.fList[size_t(n - 1)];
            switch (f) {
            case 0:
                r.Number = a.Value;
                break;
            case 1: {
                auto date = fMessages.ParseLocaleDate ? fMessages.ParseLocaleDate(a.Value)
                                                      : ParseDefaultDate(a.Value);
                if (date)
                    r.Date = *date;
                else if (fMessages.InvalidRevisionDate)
                    fMessages.InvalidRevisionDate(a.Value);
                break;
            }
            case 2:
                r.Description = a.Value;
                break;
            case 3:
                r.CheckedBy = a.Value;
                break;
            case 4:
                r.DrawnBy = a.Value;
                break;
            }
        }
        fAttributeList.Delete(i);
    }
}

int TSymbolFile::CheckFileVersion(std::string_view programBuild) const {
    auto digits = [](std::string_view s) {
        std::string r;
        for (char c : s)
            if (c >= '0' && c <= '9') r.push_back(c);
        return r;
    };
    const std::string& v = fData.FileVersion;
    size_t dash = v.find('-');
    std::string fileBuild =
        dash == std::string::npos ? std::string() : digits(std::string_view(v).substr(dash + 1));
    if (fileBuild.empty()) return -1;
    std::string progBuild = digits(programBuild);
    // Compare as numbers of any length: drop leading zeros, then the longer is larger.
    auto strip = [](std::string s) {
        size_t nz = s.find_first_not_of('0');
        return nz == std::string::npos ? std::string() : s.substr(nz);
    };
    fileBuild = strip(fileBuild);
    progBuild = strip(progBuild);
    if (fileBuild.size() != progBuild.size()) return fileBuild.size() < progBuild.size() ? -1 : 1;
    int c = fileBuild.compare(progBuild);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

std::string TSymbolFile::DumpJson() const {
    std::ostringstream out;
    DumpJson(out);
    return std::move(out).str();
}

void TSymbolFile::DumpJson(std::ostream& out) const {
    static constexpr std::string_view fileTypeIdents[] = {"sftNone", "sftSymbol", "sftSchematic"};
    static constexpr std::string_view projectIdents[] = {"ptNotDefined", "ptInternal", "ptExternal"};
    TJsonWriter w(out);
    w.BeginObject();
    w.Field("FileName", fFileName);
    w.Field("FileType", fileTypeIdents[fFileType]);
    w.Key("Data");
    w.BeginObject();
    w.Field("Start", fData.Start);
    w.Field("Zoom", fData.Zoom);
    w.Key("ItemNumberLayouts");
    w.BeginArray();
    for (const auto& l : fData.ItemNumberLayouts)
        DumpItemNumberLayout(w, l);
    w.EndArray();
    w.Field("IsBorder", fData.IsBorder);
    w.Field("PrintBOMLayoutIndex", fData.PrintBOMLayoutIndex);
    w.Field("PrintBOMHosesLayoutIndex", fData.PrintBOMHosesLayoutIndex);
    w.Field("PackAndSaveBOMLayoutIndex", fData.PackAndSaveBOMLayoutIndex);
    w.Field("PackAndSaveBOMHosesLayoutIndex", fData.PackAndSaveBOMHosesLayoutIndex);
    w.Field("IsMultiSheetFile", fData.IsMultiSheetFile);
    w.Field("DisableAddAllSheet", fData.DisableAddAllSheet);
    w.Field("ProjectType", projectIdents[fData.ProjectType]);
    w.Field("IsFixedDate", fData.IsFixedDate);
    w.Field("FixedDate", fData.FixedDate);
    w.Field("GroupDrawMode", GroupDrawModeIdent(fData.GroupDrawMode));
    w.Field("FileVersion", fData.FileVersion);
    w.Field("KeyWords", fData.KeyWords);
    w.Field("ExcelExportProfileName", fData.ExcelExportProfileName);
    w.Field("ExcelExportFileName", fData.ExcelExportFileName);
    w.Key("BOMHosesSettings");
    w.BeginObject();
    w.Field("KeepHosesSeparate", fData.BOMHosesSettings.KeepHosesSeparate);
    w.Field("AddHosesToBOM", fData.BOMHosesSettings.AddHosesToBOM);
    w.EndObject();
    w.EndObject();
    w.Key("TextStyleList");
    fTextStyleList.Dump(w);
    w.Key("SymbolLayerList");
    fSymbolLayerList.Dump(w);
    w.Key("AttributeList");
    fAttributeList.Dump(w);
    w.Key("RevisionList");
    fRevisionList.Dump(w);
    w.Key("SessionList");
    fSessionList.Dump(w);
    w.Key("LayoutList");
    fLayoutList.Dump(w);
    w.Key("BOMColumnListList");
    fBOMColumnListList.Dump(w);
    w.Key("RevisionLayoutList");
    fRevisionLayoutList.Dump(w);
    w.Field("AdditionalFiles", fAdditionalFiles);
    w.Key("Symbol");
    fSymbol->Dump(w);
    w.EndObject();
    w.Flush();
    out << "\n";
}
