#pragma once
// Component files (".kcf"): one library component with its BOM records, port display names and
// joinable ports. The viewer never opens them itself; placed components carry the same records.
#include <cstdint>
#include <string>
#include <string_view>

#include "model/BOM.h"
#include "model/ComponentData.h"

class TRecordReader;
class TJsonWriter;

struct TKCFFileData {
    bool EmergencyButtonSide = false;
    bool EmergencyButtonTop = false;
    bool UsePortDisplayNameInBrevind = false;
    bool BOMOnly = false;
    std::string FileVersion;
};

class TKCFFile {
public:
    // A component file is a few kilobytes; anything far larger is not one, and reading it whole
    // would only cost memory.
    static constexpr uint64_t MaxFileBytes = uint64_t(16) << 20;
    // The symbol name of a component that exists for the bill of materials only.
    static constexpr const char* BOMOnlySymbolName = "BOM-only_001";

    std::string fFileName;
    TBOMList fBOMList;
    TPortDisplayNameList fPortList;
    TIPortDisplayNameList fIPortList;
    TJoinablePortList fJoinablePortList;
    TKCFFileData fData;

    void Clear();
    // False, with the defaults, for a file that is missing, no regular file, unreadable or larger
    // than MaxFileBytes.
    bool LoadFromFile(const std::string& fileName);
    // Reads the text as if it were the content of FileName.
    bool LoadFromString(const std::string& text, const std::string& fileName = {});
    // The top level of each text variant, to the end of the text or an "END." line.
    void LoadFromUniCodeReader(TRecordReader& reader);
    void LoadFromASCIIReader(TRecordReader& reader);

    // From the first BOM record, "<>" resolved against the file's own name.
    std::string Title() const;
    std::string Manufacturer() const;
    std::string SymbolFile() const;
    std::string AlternativeSymbolFile() const;
    std::string BrevindFile() const;
    std::string AssemblyDrawing() const;
    bool IsSandwich() const;
    // Negative, zero or positive when the build of FileVersion is lower, equal or higher than
    // programBuild; -1 when the file version carries no build.
    int CheckFileVersion(std::string_view programBuild) const;

    int DamagedRecords() const { return fDamagedRecords; }
    void Dump(TJsonWriter& w) const;

private:
    void LoadFromReader(TRecordReader& reader);
    void LoadFromBytes(const std::string& bytes);

    int fDamagedRecords = 0;
};
