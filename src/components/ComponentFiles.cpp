#include "components/ComponentFiles.h"

#include <filesystem>
#include <fstream>

#include "model/JsonWriter.h"
#include "model/KeyValues.h"

namespace fs = std::filesystem;
using namespace std::string_view_literals;

namespace {

// The whole file, or nothing for what is no regular file of a sensible size: a FIFO would block
// the read and a device would never end.
bool ReadComponentFile(const std::string& fileName, std::string& bytes) {
    std::error_code ec;
    const auto status = fs::status(fileName, ec);
    if (ec || !fs::is_regular_file(status)) return false;
    std::ifstream in(fileName, std::ios::binary);
    if (!in) return false;
    bytes.clear();
    char buffer[1 << 16];
    // A file that grows while it is read is refused at the cap, not read without end.
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        bytes.append(buffer, size_t(in.gcount()));
        if (bytes.size() > TKCFFile::MaxFileBytes) return false;
    }
    return !in.bad();
}

} // namespace

void TKCFFile::Clear() {
    fBOMList.Clear();
    fPortList.Clear();
    fIPortList.Clear();
    fJoinablePortList.Clear();
    fData = TKCFFileData{};
    fDamagedRecords = 0;
}

bool TKCFFile::LoadFromFile(const std::string& fileName) {
    Clear();
    fFileName = fileName;
    std::string bytes;
    if (!ReadComponentFile(fileName, bytes)) return false;
    LoadFromBytes(bytes);
    return true;
}

bool TKCFFile::LoadFromString(const std::string& text, const std::string& fileName) {
    // Read straight from memory: the same as writing the text to a temporary file and loading
    // that, without a file to clean up.
    Clear();
    fFileName = fileName.empty() ? (fs::temp_directory_path() / "tmpkcffile.kcf").string() : fileName;
    LoadFromBytes(text);
    return true;
}

void TKCFFile::LoadFromBytes(const std::string& bytes) {
    if (IsValidUtf8(bytes)) {
        try {
            TRecordReader reader(std::string_view(bytes), TRecordVariant::UniCode);
            LoadFromUniCodeReader(reader);
            return;
        } catch (const std::exception&) {
            // Any failure of the current-variant read falls back to the legacy variant.
        }
    }
    TRecordReader reader(Windows1252ToUtf8(bytes), TRecordVariant::Legacy);
    LoadFromASCIIReader(reader);
}

void TKCFFile::LoadFromUniCodeReader(TRecordReader& reader) {
    LoadFromReader(reader);
}

void TKCFFile::LoadFromASCIIReader(TRecordReader& reader) {
    LoadFromReader(reader);
}

void TKCFFile::LoadFromReader(TRecordReader& reader) {
    const std::string fileName = fFileName;
    Clear();
    fFileName = fileName;
    const bool legacy = reader.IsLegacy();
    TBOMData pending;
    bool pendingUseInBrevind = false;
    bool hasBOMRecord = false;
    std::string key, value;
    auto flt = [&](double& f) { f = ParseRecordFloat(value, 0); };
    while (reader.NextTopLevelKey(key, value, "END."sv)) {
        if (key == "BOM:"sv) {
            hasBOMRecord = true;
            fBOMList.Add()->LoadFromReader(reader);
        } else if (key == "PORTDISPLAYNAMELIST:"sv) {
            fPortList.LoadFromReader(reader);
        } else if (key == "IPORTDISPLAYNAMELIST:"sv && !legacy) {
            fIPortList.LoadFromReader(reader);
        } else if (key == "JOINABLEPORTLIST:"sv && !legacy) {
            fJoinablePortList.LoadFromReader(reader);
        } else if (key == "ARTICLECODE"sv) {
            pending.ArticleCode = value;
        } else if (key == "MANUFACTURER"sv) {
            pending.Manufacturer = value;
        } else if (key == "TYPE"sv) {
            pending.ComponentType = value;
        } else if (key == "DESCRIPTION"sv) {
            pending.Description = value;
        } else if (key == "DATASHEET"sv) {
            pending.DataSheet = value;
        } else if (key == "WEIGHT"sv) {
            flt(pending.Weight);
        } else if (key == "HEIGHT"sv) {
            flt(pending.Height);
        } else if (key == "BOLTHEIGHT"sv) {
            flt(pending.BoltHeight);
        } else if (key == "PMAX"sv) {
            flt(pending.PMax);
        } else if (key == "QMAX"sv) {
            flt(pending.QMax);
        } else if (key == "BREVINDFILE"sv) {
            pending.BrevindFile = value;
        } else if (key == "SYMBOLFILE"sv) {
            pending.SymbolFile = WithoutSymExtension(value);
        } else if (key == "ASSEMBLYDRAWING"sv) {
            pending.AssemblyDrawing = value;
        } else if (key == "TITLE"sv) {
            pending.Title = value;
        } else if (key == "HIDEINBOM"sv) {
            pending.HideInBOM = YesNoToBool(value);
        } else if (key == "SANDWICH"sv) {
            pending.Sandwich = YesNoToBool(value);
        } else if (key == "REMARK"sv) {
            pending.Remark = value;
        } else if (key == "USEINBREVIND"sv) {
            pendingUseInBrevind = YesNoToBool(value);
        } else if (key == "EMEGERGENCYBUTTONSIDE"sv) {
            fData.EmergencyButtonSide = YesNoToBool(value);
        } else if (key == "EMEGERGENCYBUTTONTOP"sv) {
            fData.EmergencyButtonTop = YesNoToBool(value);
        } else if (key == "USEPORTDISPLAYNAMEINBREVIND"sv) {
            fData.UsePortDisplayNameInBrevind = YesNoToBool(value);
        } else if (key == "BOMONLY"sv && !legacy) {
            fData.BOMOnly = YesNoToBool(value);
        } else if (key == "FILEVERSION"sv && !legacy) {
            fData.FileVersion = value;
        }
    }
    if (!hasBOMRecord) {
        // Files of the older form kept one record's fields at the top level.
        if (pending.Height > 0) pending.Sandwich = true;
        pending.UseInBrevind = !pending.BrevindFile.empty() || pendingUseInBrevind;
        fBOMList.Add()->fData = pending;
    }
    fDamagedRecords = reader.DamagedRecords();
}

std::string TKCFFile::Title() const {
    return fBOMList.First() ? fBOMList.First()->GetTitle(fFileName) : std::string();
}

std::string TKCFFile::Manufacturer() const {
    return fBOMList.First() ? fBOMList.First()->GetManufacturer(fFileName) : std::string();
}

std::string TKCFFile::SymbolFile() const {
    std::string name = fBOMList.First() ? fBOMList.First()->GetSymbolFile(fFileName) : std::string();
    if (name.empty() && fData.BOMOnly) name = BOMOnlySymbolName;
    return name;
}

std::string TKCFFile::AlternativeSymbolFile() const {
    return fBOMList.First() ? fBOMList.First()->fData.AlternativeSymbolFile : std::string();
}

std::string TKCFFile::BrevindFile() const {
    return fBOMList.First() ? fBOMList.First()->GetBrevindFile(fFileName) : std::string();
}

std::string TKCFFile::AssemblyDrawing() const {
    return fBOMList.First() ? fBOMList.First()->GetAssemblyDrawing(fFileName) : std::string();
}

bool TKCFFile::IsSandwich() const {
    return fBOMList.First() && fBOMList.First()->fData.Sandwich;
}

int TKCFFile::CheckFileVersion(std::string_view programBuild) const {
    auto digits = [](std::string_view s) {
        std::string r;
        for (char c : s)
            if (c >= '0' && c <= '9') r.push_back(c);
        // Compared as numbers of any length: without leading zeros the longer is the larger.
        const size_t nz = r.find_first_not_of('0');
        return nz == std::string::npos ? std::string() : r.substr(nz);
    };
    const std::string& v = fData.FileVersion;
    const size_t dash = v.find('-');
    if (dash == std::string::npos) return -1;
    std::string_view buildPart = std::string_view(v).substr(dash + 1);
    if (buildPart.find_first_of("0123456789") == std::string_view::npos) return -1;
    const std::string fileBuild = digits(buildPart), progBuild = digits(programBuild);
    if (fileBuild.size() != progBuild.size()) return fileBuild.size() < progBuild.size() ? -1 : 1;
    const int c = fileBuild.compare(progBuild);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

void TKCFFile::Dump(TJsonWriter& w) const {
    w.BeginObject();
    w.Field("Class", "TKCFFile");
    w.Field("FileName", fFileName);
    w.Key("BOMList");
    fBOMList.Dump(w);
    w.Key("PortList");
    fPortList.Dump(w);
    w.Key("IPortList");
    fIPortList.Dump(w);
    w.Key("JoinablePortList");
    fJoinablePortList.Dump(w);
    w.Key("Data");
    w.BeginObject();
    w.Field("EmergencyButtonSide", fData.EmergencyButtonSide);
    w.Field("EmergencyButtonTop", fData.EmergencyButtonTop);
    w.Field("UsePortDisplayNameInBrevind", fData.UsePortDisplayNameInBrevind);
    w.Field("BOMOnly", fData.BOMOnly);
    w.Field("FileVersion", fData.FileVersion);
    w.EndObject();
    w.EndObject();
}
