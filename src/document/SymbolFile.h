#pragma once
// One drawing document: a component symbol or a hydraulic schematic read from a drawing file.
#include <array>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/DrawTypes.h"
#include "base/Points.h"
#include "model/BOMLayouts.h"
#include "model/DocumentLists.h"
#include "model/ItemNumberLayouts.h"
#include "model/KeyValues.h"
#include "model/Layouts.h"
#include "model/RevisionLayouts.h"
#include "model/SymbolObjects.h"
#include "model/TextStyles.h"

class TSymbolObjectSymbol;
class TSymbolObjectPaperSize;
class TJsonWriter;

enum TSymbolFileType : uint8_t { sftNone, sftSymbol, sftSchematic };
enum TProjectType : uint8_t { ptNotDefined, ptInternal, ptExternal };
struct TBOMHosesSettings {
    bool KeepHosesSeparate = false;
    bool AddHosesToBOM = false;
};

struct TSymbolFileData {
    TPoint Start;
    double Zoom = 1;
    TItemNumberLayoutSet ItemNumberLayouts = ::DefaultItemNumberLayouts();
    bool IsBorder = false;
    int32_t PrintBOMLayoutIndex = 1;
    int32_t PrintBOMHosesLayoutIndex = 1;
    int32_t PackAndSaveBOMLayoutIndex = 1;
    int32_t PackAndSaveBOMHosesLayoutIndex = 1;
    bool IsMultiSheetFile = false;
    bool DisableAddAllSheet = false;
    TProjectType ProjectType = ptNotDefined;
    bool IsFixedDate = false;
    double FixedDate = 0;
    TSymbolGroupDrawMode GroupDrawMode = drawMainGroups;
    std::string FileVersion;
    std::string KeyWords;
    std::string ExcelExportProfileName;
    std::string ExcelExportFileName;
    TBOMHosesSettings BOMHosesSettings;
};

// How the document reports a problem the user can act on while it loads (the shell shows a
// message box; tests record it).
struct TLoadMessages {
    // A revision date in the header attributes that is not a date: the value as read.
    std::function<void(const std::string& value)> InvalidRevisionDate;
    // Converts a date text in the user's short date format into a day count.
    std::function<std::optional<double>(const std::string&)> ParseLocaleDate;
};

// How far the connectivity update goes after a load: the first pass only (line jump modes and
// the selected objects' lines), or the full update that the viewer runs on every file it opens.
enum class TConnectivityPass { cpFirst, cpFull };

class TSymbolFile {
public:
    TSymbolFile();
    ~TSymbolFile();
    TSymbolFile(const TSymbolFile&) = delete;
    TSymbolFile& operator=(const TSymbolFile&) = delete;

    void Clear();
    // False when the file does not exist or cannot be read; LastError() then says why in the
    // user's terms and the document is unchanged.
    bool LoadFromFile(const std::string& fileName, TConnectivityPass pass = TConnectivityPass::cpFirst);
    bool LoadFromASCIIFile(const std::string& fileName);
    // Loads a drawing held in memory; fileName names it.
    bool LoadFromString(const std::string& text, const std::string& fileName);
    // Reads the top level of the current variant.
    bool LoadFromUniCodeFile(TRecordReader& reader);
    // Reads the top level of the legacy variant.
    bool LoadFromLegacyFile(TRecordReader& reader);
    // Compares the writing program's build (in FileVersion) with programBuild: negative,
    // zero or positive when the file's build is lower, equal or higher; -1 when the file
    // version carries no build.
    int CheckFileVersion(std::string_view programBuild) const;

    const std::string& FileName() const { return fFileName; }
    const std::string& LastError() const { return fLastError; }
    // Records of the last load that were cut off or too deep to read, and so left out.
    int DamagedRecords() const { return fDamagedRecords; }
    TSymbolFileType FileType() const { return fFileType; }
    bool IsSchematic() const { return fFileType == sftSchematic; }
    const TSymbolFileData& Data() const { return fData; }
    TTextStyleList& TextStyleList() { return fTextStyleList; }
    const TTextStyleList& TextStyleList() const { return fTextStyleList; }
    TSymbolObjectSymbol& Symbol() { return *fSymbol; }
    const TSymbolObjectSymbol& Symbol() const { return *fSymbol; }
    TItemNumberLayout GetItemNumberLayout(TItemNumberLayouts index) const {
        return fData.ItemNumberLayouts[index];
    }

    TLoadMessages& Messages() { return fMessages; }

    // Sheets: the paper sizes anywhere in the drawing, by sheet number.
    std::vector<TSymbolObjectPaperSize*> CreateSheetList() const;
    // 0 unless the drawing is divided into sheets; else the number of paper sizes.
    int GetSheetCount() const;
    // "Sheet n" for each paper size in sheet order, then "All"; empty unless divided into sheets.
    void GetSheetList(std::vector<std::string>& strings) const;
    // The distinct sheet numbers (from 0) in order, without the paper sizes that are no sheet.
    std::vector<int32_t> SheetNumbers() const;
    // Numbers the paper sizes 0, 1, ... in handle order; one or none makes the drawing undivided.
    void RenumberSheets();
    // Hides for the moment every top-level object outside the paper of the sheet; false, with
    // everything shown, when no paper size has that number. Clears the selection either way.
    bool HideObjectsNotInSheet(int32_t sheetIndex);

    // The document as JSON, as the --dump command prints it.
    std::string DumpJson() const;
    // The same text, written to out as it is made.
    void DumpJson(std::ostream& out) const;

    // The top-level objects whose subtrees hold all of the selection (none after loading; after
    // a click, those it hit), so that the next click and the selection marks visit those
    // instead of the whole drawing. Null when the record cannot be trusted: objects were added
    // or removed since, or selected by the tree's own operations. Whoever sets selection flags
    // by hand calls ForgetClickSelection.
    const TObjectRefList* ClickSelection() const;
    void SetClickSelection(TObjectRefList roots);
    void ForgetClickSelection();

    // Fields, in order.
    std::string fFileName;
    TSymbolFileData fData;
    TTextStyleList fTextStyleList;
    std::unique_ptr<TSymbolObjectSymbol> fSymbol;
    TSymbolFileType fFileType = sftNone;
    TAttributeList fAttributeList;
    std::vector<std::string> fAdditionalFiles;
    TRevisionList fRevisionList;
    TSessionList fSessionList;
    TLayoutList fLayoutList;
    TBOMColumnListList fBOMColumnListList;
    TRevisionLayoutList fRevisionLayoutList;
    TSymbolLayerList fSymbolLayerList;
    double fStartSession = 0;

private:
    bool LoadFromBytes(std::string bytes, const std::string& fileName, TConnectivityPass pass);
    bool LoadTopLevel(TRecordReader& reader);
    void LoadHeader(TRecordReader& reader);
    void RunAfterLoadSteps(TConnectivityPass pass);
    void MoveRevisionAttributesToRevisions();

    std::string fLastError;
    int fDamagedRecords = 0;
    TLoadMessages fMessages;
    // Cached bounds in the drawing follow this document's changes, not another document's.
    TGeometryClock fGeometryClock;
    TObjectRefList fClickSelection;
    // The clock's counts the record was made at; 0: no record.
    uint64_t fClickSelectionStructure = 0, fClickSelectionSelections = 0;
};

// Maps a header-attribute tag (the special-attribute tags and their older spellings) to a
// revision field: revision 1 to 10 and field 0 number, 1 date, 2 description, 3 checked by,
// 4 drawn by. False for every other tag.
bool RevisionFieldOfTag(std::string_view tag, int& revision, int& field);
// Parses a short date of the C locale or ISO form into a day count; used when no locale
// service is installed.
std::optional<double> ParseDefaultDate(const std::string& text);
