#pragma once
// The design program's print set-up kept in a drawing: layouts, each naming its title block, paper
// and colour schemes and holding the text blocks, insert blocks, header attributes and layer
// settings it prints with. The viewer reads them so that a file is consumed whole; it draws none
// of them.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/DrawTypes.h"
#include "base/Points.h"
#include "model/DocumentLists.h"
#include "render/XYPoints.h"

class TRecordReader;
class TJsonWriter;

struct TTextBlockData {
    std::string Name;
    double TextHeight = 3.5;
    std::string FontName = "Arial";
    friend bool operator==(const TTextBlockData&, const TTextBlockData&) = default;
};

struct TTextBlock {
    TTextBlockData fData;
    std::vector<std::string> fTextList;
    friend bool operator==(const TTextBlock&, const TTextBlock&) = default;
};

class TTextBlockList {
public:
    std::vector<TTextBlock> fTextBlockList;
    int fItemIndex = -1;

    int Count() const { return int(fTextBlockList.size()); }
    void Clear();
    TTextBlock& Add(TTextBlock block = {});
    void Delete(int index);
    void Exchange(int index1, int index2);
    void Assign(const TTextBlockList& source);
    bool Compare(const TTextBlockList& other) const { return fTextBlockList == other.fTextBlockList; }
    TTextBlock* GetSelected();

    // The first block of that name, ignoring case; -1 when none.
    int IndexOf(std::string_view name) const;
    // Insert blocks refer to text blocks by name, so names must be unique. A block whose name
    // (ignoring case) an earlier block already has is renamed to the name followed by " (n)", n
    // the smallest number from 2 that no block of the list has yet. RenameDuplicates keeps the
    // first block of a name as it is, RenameDuplicatesReverse the last one (it walks from the end).
    void RenameDuplicates();
    void RenameDuplicatesReverse();

    // Reads the block up to "ENDTEXTBLOCKLIST."; the opener line has been consumed.
    void LoadFromReader(TRecordReader& reader);
    void Dump(TJsonWriter& w) const;
};

enum TInsertBlockType : uint8_t {
    ibNone,
    ibSchematic,
    ibBorder,
    ibDefaultDrawingHead,
    ibBOM,
    ibTextBlock,
    ibLogo,
    ibFace,
    ibSurfaceFinish,
    ibItemNumber,
    ibHoleNote,
    ibInfo,
    ibDrillingList,
    ibSpecial,
    ibRevisionHistory,
    ibBOMHoses
};
inline constexpr int InsertBlockTypeCount = 16;

enum TAlign : uint8_t { alNone, alBottomLeft, alBottomRight, alTopLeft, alTopRight, alMiddle, alFixed };
inline constexpr int AlignCount = 7;

struct TInsertBlockData {
    TInsertBlockType BlockType = ibNone;
    std::string FileName;
    TAlign Align = alNone;
    TXYPoint InsertionPoint;
    TXYPoint Offset;
    double Rotation = 0;
    bool Visible = true;
    double Scale = 1;
    int32_t AttachedToFace = 0;
    int32_t Tag = 0;
    bool OverruledPosition = false;
    // Working values of the design program while it places the block; never stored.
    TXYRect Box;
    bool UseBox = false;
    const void* Entity = nullptr;
};

// Pictures the design program places next to an insert block; they are not stored in drawings.
struct TAdditionalPictureData {
    std::string FileName;
    TPoint UpperLeftOriginal;
    TPoint LowerRightOriginal;
    TXYPoint LowerLeft;
    double Scale = 1;
    double Rotation = 0;
    friend bool operator==(const TAdditionalPictureData&, const TAdditionalPictureData&) = default;
};

struct TAdditionalPicture {
    TAdditionalPictureData fData;
    friend bool operator==(const TAdditionalPicture&, const TAdditionalPicture&) = default;
};

class TAdditionalPictureList {
public:
    std::vector<TAdditionalPicture> fAdditionalPictureList;

    int Count() const { return int(fAdditionalPictureList.size()); }
    void Clear() { fAdditionalPictureList.clear(); }
    TAdditionalPicture& Add(TAdditionalPicture picture = {});
    void Delete(int index);
    void Exchange(int index1, int index2);
    void Assign(const TAdditionalPictureList& source) {
        fAdditionalPictureList = source.fAdditionalPictureList;
    }
    bool Compare(const TAdditionalPictureList& other) const {
        return fAdditionalPictureList == other.fAdditionalPictureList;
    }
    void Dump(TJsonWriter& w) const;
};

struct TInsertBlock {
    TInsertBlockData fData;
    TAdditionalPictureList fAdditionalPictures;

    // The file name without folder and extension, spaces and points made "_".
    std::string BlockName() const;
    bool IsPicture() const;
    bool IsExcel() const;
};

class TInsertBlockList {
public:
    std::vector<TInsertBlock> fInsertBlockList;
    int fItemIndex = -1;

    int Count() const { return int(fInsertBlockList.size()); }
    void Clear();
    TInsertBlock& Add(TInsertBlock block = {});
    void Delete(int index);
    void Exchange(int index1, int index2);
    void Assign(const TInsertBlockList& source);
    // Equal stored fields and pictures at equal positions; the working values do not count.
    bool Compare(const TInsertBlockList& other) const;
    TInsertBlock* GetSelected();

    // The first block whose BlockName equals the text ignoring case; -1 when none.
    int IndexOf(std::string_view blockName) const;
    // Without it a literal would take the entity overload, a pointer conversion beating the one
    // to string_view.
    int IndexOf(const char* blockName) const { return IndexOf(std::string_view(blockName)); }
    int IndexOf(TInsertBlockType blockType) const;
    // The block placed as that entity; -1 for none or nullptr.
    int IndexOf(const void* entity) const;

    // Reads the block up to "ENDINSERTBLOCKLIST."; the opener line has been consumed.
    void LoadFromReader(TRecordReader& reader);
    void Dump(TJsonWriter& w) const;
};

enum TShowConnectionLineBreak : uint8_t {
    breakShowAsDefault,
    breakShowAll,
    breakHideLine,
    breakHideBreak,
    breakHideAll
};
inline constexpr int ShowConnectionLineBreakCount = 5;

struct TLayoutData {
    std::string DrawingHeadName;
    std::string PaperSizeName;
    std::string LineWeightsName;
    std::string ColorsName;
    std::string BorderName;
    bool BackgroundWhite = true;
    bool ShowColors = true;
    bool ShowLineWeights = false;
    int32_t OverruledNumber = -1;
    int32_t OverruledTotal = -1;
    bool IsOverruled = false;
    std::string BOMLayoutName;
    std::string BOMHosesLayoutName;
    int32_t SheetIndex = -1;
    std::string Language;
    TSymbolGroupDrawMode ConnectionLineColors = drawMainGroups;
    bool HideConnectionNodes = false;
    TShowConnectionLineBreak ShowConnectionLineBreaks = breakShowAsDefault;
    friend bool operator==(const TLayoutData&, const TLayoutData&) = default;
};

struct TLayout {
    TLayoutData fData;
    TInsertBlockList fInsertBlockList;
    TTextBlockList fTextBlockList;
    TAttributeList fAttributeList;
    TSymbolLayerList fSymbolLayers;

    bool HasBorder() const { return !fData.BorderName.empty(); }
    // Deletes the text blocks no text-block insert block refers to. An insert block refers to a
    // text block by its BlockName, which has spaces and points made "_", so a text block's name
    // is compared in that form too, ignoring case.
    void RemoveNotUsedTextBlocks();
    bool Compare(const TLayout& other) const;
};

class TLayoutList {
public:
    std::vector<TLayout> fLayoutList;
    int fItemIndex = -1;

    int Count() const { return int(fLayoutList.size()); }
    void Clear();
    TLayout& Add(TLayout layout = {});
    void Delete(int index);
    void Exchange(int index1, int index2);
    void Assign(const TLayoutList& source);
    bool Compare(const TLayoutList& other) const;
    TLayout* GetSelected();

    // Gives every layout without a language that language.
    void SetDefaultLanguage(std::string_view defaultLanguage);
    // Clears the language of the layouts whose language is that one, ignoring case.
    void RemoveDefaultLanguage(std::string_view defaultLanguage);

    // Reads the block up to "ENDLAYOUTLIST."; the opener line has been consumed. The legacy
    // variant knows only the older layout keys and no layer settings.
    void LoadFromReader(TRecordReader& reader);
    void Dump(TJsonWriter& w) const;
};
