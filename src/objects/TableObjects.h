#pragma once
// Tables placed on a drawing: a grid of text and number cells with merged cells, word wrap and
// cell marks.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/FontSelection.h"
#include "model/IntegerLists.h"
#include "model/SymbolObjects.h"

enum TCellStyle : uint8_t {
    cellstyleClear,
    cellstyleSolid,
    cellstyleDiagonalTopRight,
    cellstyleDiagonalBottomRight,
    cellstyleCross,
    cellstyleCircle,
    cellstyleFilledCircle,
    cellstyleRectangle,
    cellstyleFilledRectangle
};
enum TCellType : uint8_t { celltypeNone, celltypeString, celltypeFloat };
enum TTableType : uint8_t { tableNormal, tableSolenoid, tableHose };

class TSymbolObjectTableCell {
public:
    TSymbolObjectTableCell() = default;
    virtual ~TSymbolObjectTableCell() = default;
    TSymbolObjectTableCell(const TSymbolObjectTableCell&) = delete;
    TSymbolObjectTableCell& operator=(const TSymbolObjectTableCell&) = delete;
    virtual const char* ClassName() const { return "TSymbolObjectTableCell"; }

    TCellStyle fCellStyle = cellstyleClear;
    TCellType fCellType = celltypeNone;
    TTextAlign fAlign = taLeft;
    TTextAlign fVertAlign = taMiddle;
    int32_t fHeight = 20;
    int32_t fRotation = 0;
    std::string fTextStyleName = "TextStyle_Text";
    TOverrideTextStyleSettingsData fOverrideTextStyleSettings;
    bool fUseTableTextStyle = true;
    int32_t fMergeHandle = -1;
    int32_t fColSpan = 1;
    int32_t fRowSpan = 1;
    bool fWordWrap = false;
    std::vector<std::string> fWrappedText; // the wrapped lines, once measured
    int32_t fMatchedWithHandle = -1;
    int32_t fCellTag = 0;

    bool IsMerged() const { return fMergeHandle != -1; }
    // Covered by the first cell of its merge, so neither drawn nor bounding anything.
    bool IsCovered() const { return IsMerged() && (fColSpan == -1 || fRowSpan == -1); }
    bool IsFirstOfMerge() const { return IsMerged() && !IsCovered(); }
    // The text shown; empty for a cell without content.
    virtual std::string Text(char decimalSeparator) const;

    // Reads the record up to its terminator; the opening line has been consumed.
    void LoadFromReader(TRecordReader& reader);
    void Dump(TJsonWriter& w) const;

protected:
    explicit TSymbolObjectTableCell(TCellType cellType) : fCellType(cellType) {}
    virtual std::string_view Terminator() const { return "END."; }
    virtual bool LoadKey(const std::string& key, const std::string& value);
    virtual void DumpFields(TJsonWriter& w) const;
};

class TSymbolObjectTableCellString : public TSymbolObjectTableCell {
public:
    TSymbolObjectTableCellString() : TSymbolObjectTableCell(celltypeString) {}
    const char* ClassName() const override { return "TSymbolObjectTableCellString"; }

    std::string fContent;

    std::string Text(char decimalSeparator) const override;

protected:
    std::string_view Terminator() const override { return "STRINGCELLEND."; }
    bool LoadKey(const std::string& key, const std::string& value) override;
    void DumpFields(TJsonWriter& w) const override;
};

class TSymbolObjectTableCellFloat : public TSymbolObjectTableCell {
public:
    TSymbolObjectTableCellFloat() : TSymbolObjectTableCell(celltypeFloat) {}
    const char* ClassName() const override { return "TSymbolObjectTableCellFloat"; }

    double fContent = 0;
    int32_t fPrecision = 2;

    std::string Text(char decimalSeparator) const override;

protected:
    std::string_view Terminator() const override { return "FLOATCELLEND."; }
    bool LoadKey(const std::string& key, const std::string& value) override;
    void DumpFields(TJsonWriter& w) const override;
};

// Cells in row-major order: column c of row r at c + r * column count.
using TTableCellList = std::vector<std::unique_ptr<TSymbolObjectTableCell>>;

class TSymbolObjectTable : public TSymbolObject {
public:
    TSymbolObjectTable() : TSymbolObject(somTable) {}
    const char* ClassName() const override { return "TSymbolObjectTable"; }

    TTableCellList fCellList;
    TIntegerList fRowHeights; // drawing units, row 0 at the top
    TIntegerList fColWidths;
    int32_t fRowCount = 0;
    int32_t fColCount = 0;
    std::string fTextStyleName = "TextStyle_Text";
    TOverrideTextStyleSettingsData fOverrideTextStyleSettings;
    int32_t fHeight = 20;
    int32_t fHeaderRows = 0;
    int32_t fHeaderCols = 0;
    bool fInnerGrid = true;
    bool fOuterGrid = true;
    TTableType fTableType = tableNormal;

    // Far beyond any real table; a file asking for more is cut down to it, so that no count
    // from a file can make the drawing loop or allocate without end.
    static constexpr int32_t MaxCells = 1 << 16;
    // Sizes of rows and columns the file does not give.
    static constexpr int32_t DefaultRowHeight = 40;
    static constexpr int32_t DefaultColWidth = 120;
    // A cell holds no more wrapped lines than this; the rest of its text is the last one.
    static constexpr size_t MaxWrappedLines = 256;

    void SetDefaults() override;
    bool LoadOwnKey(TRecordReader& reader, const std::string& key, const std::string& value) override;
    void AfterLoad() override;
    bool HitTest(TPoint pt, double minPickDistance) const override;
    bool HitTestRect(const TRect& rt) const override;
    TExtentsRect Extents(TExtentsRect current) const override;
    bool DrawSymbol(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                    const TTextStyleList* styles) override;

    // The counts the table has, cut down to MaxCells as the reader cuts them.
    int Cols() const;
    int Rows() const;
    // The cell at that place; nullptr outside the table or where the file gave no cell.
    TSymbolObjectTableCell* GetCell(int aCol, int aRow) const;
    // False for a table without columns.
    bool PositionToCoord(int position, int& col, int& row) const;
    int CoordToPosition(int aCol, int aRow) const;
    // Upper-right corner; fP1 is the lower left.
    TPoint GetP2() const;
    int32_t GetColX(int aCol) const;
    int32_t GetRowY(int aRow) const;
    int32_t RowHeight(int aRow) const;
    int32_t ColWidth(int aCol) const;
    void ClearWrappedTexts();
    bool HasMergedCells() const;
    // The columns and rows a cell covers, cut at the table's edges: 1 for a cell that is not merged.
    int ColSpanOf(int aCol, int aRow) const;
    int RowSpanOf(int aCol, int aRow) const;

protected:
    void DumpFields(TJsonWriter& w) const override;
};

// Width of a text in drawing units, as the cell's font measures it.
using TTextWidthFunction = std::function<int64_t(const std::string&)>;
// Breaks the text into lines no wider than maxWidth: after the last blank, ",", "-", ":" or ";"
// that fits, or where the width runs out when a line has none, and at every line feed. Every
// line holds at least one character, and past maxLines the rest of the text is the last line.
std::vector<std::string> WordWrap(const std::string& text, int64_t maxWidth, const TTextWidthFunction& width,
                                  size_t maxLines);
// Fixed-point with that many decimals after rounding to 7 significant digits.
std::string FormatCellFloat(double value, int32_t precision, char decimalSeparator);
