#include "model/Layouts.h"

#include <algorithm>
#include <initializer_list>

#include "model/JsonWriter.h"
#include "model/KeyValues.h"
#include "model/SymbolObjectTypes.h"
#include "platform/FileExtensions.h"

using namespace std::string_view_literals;

namespace {

template <typename T> void ExchangeIn(std::vector<T>& list, int index1, int index2) {
    const int count = int(list.size());
    if (index1 >= 0 && index1 < count && index2 >= 0 && index2 < count)
        std::swap(list[size_t(index1)], list[size_t(index2)]);
}

template <typename T> void DeleteIn(std::vector<T>& list, int index) {
    if (index >= 0 && index < int(list.size())) list.erase(list.begin() + index);
}

template <typename T> T* SelectedIn(std::vector<T>& list, int itemIndex) {
    return itemIndex >= 0 && itemIndex < int(list.size()) ? &list[size_t(itemIndex)] : nullptr;
}

void ReadIntKeeping(int32_t& field, std::string_view text) {
    if (const auto v = ParseRecordInt(text)) field = *v;
}

// ---------------------------------------------------------------------------------------------
// Text blocks

TTextBlock ReadTextBlock(TRecordReader& reader) {
    TTextBlock block;
    TTextBlockData& d = block.fData;
    std::string key, value;
    while (reader.NextKey(key, value, "ENDTEXTBLOCK.")) {
        if (key == "NAME"sv)
            d.Name = value;
        else if (key == "TEXTHEIGHT"sv)
            ReadFloatKeeping(d.TextHeight, value);
        else if (key == "FONTNAME"sv)
            d.FontName = value;
        else if (key == "TEXT"sv)
            block.fTextList.push_back(value);
    }
    return block;
}

bool NameTaken(const std::vector<TTextBlock>& blocks, std::string_view name) {
    return std::any_of(blocks.begin(), blocks.end(),
                       [&](const TTextBlock& b) { return SameTextAscii(b.fData.Name, name); });
}

// Order lists the positions in the order the names are kept: the first of a name in that order
// keeps it.
void RenameDuplicatesInOrder(std::vector<TTextBlock>& blocks, const std::vector<size_t>& order) {
    for (size_t k = 1; k < order.size(); ++k) {
        std::string& name = blocks[order[k]].fData.Name;
        const bool duplicate = std::any_of(order.begin(), order.begin() + std::ptrdiff_t(k), [&](size_t i) {
            return SameTextAscii(blocks[i].fData.Name, name);
        });
        if (!duplicate) continue;
        // Each number taken stands for a block of the list, so a free one comes within
        // blocks.size() + 1 tries.
        for (size_t n = 2;; ++n) {
            std::string candidate = name + " (" + std::to_string(n) + ")";
            if (!NameTaken(blocks, candidate)) {
                name = std::move(candidate);
                break;
            }
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Insert blocks

constexpr std::string_view InsertBlockTypeNames[InsertBlockTypeCount] = {
    "None",         "Schematic", "Border",          "DefaultDrawingHead",  "BillOfMaterials", "TextBlock",
    "Logo",         "Face",      "SurfaceFinish",   "ItemNumber",          "HoleNote",        "Info",
    "DrillingList", "Special",   "RevisionHistory", "BillOfMaterialsHoses"};
constexpr std::string_view InsertBlockTypeIdents[InsertBlockTypeCount] = {"ibNone",
                                                                          "ibSchematic",
                                                                          "ibBorder",
                                                                          "ibDefaultDrawingHead",
                                                                          "ibBOM",
                                                                          "ibTextBlock",
                                                                          "ibLogo",
                                                                          "ibFace",
                                                                          "ibSurfaceFinish",
                                                                          "ibItemNumber",
                                                                          "ibHoleNote",
                                                                          "ibInfo",
                                                                          "ibDrillingList",
                                                                          "ibSpecial",
                                                                          "ibRevisionHistory",
                                                                          "ibBOMHoses"};
constexpr std::string_view AlignNames[AlignCount] = {"None",      "Bottom Left", "Bottom Right", "Top Left",
                                                     "Top Right", "Middle",      "Fixed"};
constexpr std::string_view AlignIdents[AlignCount] = {
    "alNone", "alBottomLeft", "alBottomRight", "alTopLeft", "alTopRight", "alMiddle", "alFixed"};
constexpr std::string_view ShowConnectionLineBreakIdents[ShowConnectionLineBreakCount] = {
    "breakShowAsDefault", "breakShowAll", "breakHideLine", "breakHideBreak", "breakHideAll"};

template <size_t N> std::string_view IdentOf(const std::string_view (&idents)[N], unsigned value) {
    return idents[value < N ? value : 0];
}

TInsertBlock ReadInsertBlock(TRecordReader& reader) {
    TInsertBlock block;
    TInsertBlockData& d = block.fData;
    struct TNumber {
        std::string_view Key;
        double* Field;
    };
    const TNumber numbers[] = {{"INSERTIONPOINTX", &d.InsertionPoint.X},
                               {"INSERTIONPOINTY", &d.InsertionPoint.Y},
                               {"OFFSETX", &d.Offset.X},
                               {"OFFSETY", &d.Offset.Y},
                               {"ROTATION", &d.Rotation},
                               {"SCALE", &d.Scale}};
    std::string key, value;
    while (reader.NextKey(key, value, "ENDINSERTBLOCK.")) {
        if (key == "BLOCKTYPE"sv) {
            const int type = IndexOfName(value, InsertBlockTypeNames, InsertBlockTypeCount);
            d.BlockType = type < 0 ? ibNone : TInsertBlockType(type);
        } else if (key == "FILENAME"sv) {
            d.FileName = value;
        } else if (key == "ALIGN"sv) {
            const int align = IndexOfName(value, AlignNames, AlignCount);
            d.Align = align < 0 ? alNone : TAlign(align);
        } else if (key == "VISIBLE"sv) {
            d.Visible = YesNoToBool(value);
        } else if (key == "OVERRULEDPOSITION"sv) {
            d.OverruledPosition = YesNoToBool(value);
        } else if (key == "ATTACHEDTOFACE"sv || key == "ATTACHEDTOFACE,"sv) {
            // The design program writes the key with a comma before the "=".
            ReadIntKeeping(d.AttachedToFace, value);
        } else if (key == "TAG"sv) {
            ReadIntKeeping(d.Tag, value);
        } else {
            for (const TNumber& n : numbers)
                if (key == n.Key) {
                    ReadFloatKeeping(*n.Field, value);
                    break;
                }
        }
    }
    return block;
}

bool SameStoredData(const TInsertBlockData& a, const TInsertBlockData& b) {
    return a.BlockType == b.BlockType && a.FileName == b.FileName && a.Align == b.Align &&
           a.InsertionPoint == b.InsertionPoint && a.Offset == b.Offset && a.Rotation == b.Rotation &&
           a.Visible == b.Visible && a.Scale == b.Scale && a.AttachedToFace == b.AttachedToFace &&
           a.Tag == b.Tag && a.OverruledPosition == b.OverruledPosition;
}

// The last path component, a folder being closed by either separator: names written on Windows
// reach us with back-slashes.
std::string_view FileNamePart(std::string_view path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string UnderscoreSpacesAndPoints(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == ' ' || c == '.'; }, '_');
    return text;
}

bool IsTypeOfAny(const std::string& fileName, std::initializer_list<const char*> samples) {
    const TFileType type = GetFileType(fileName);
    return type != ftUnknown &&
           std::any_of(samples.begin(), samples.end(), [&](const char* s) { return GetFileType(s) == type; });
}

// ---------------------------------------------------------------------------------------------
// Layouts

// The keys both text variants know; false for the others.
bool ReadCommonLayoutKey(TLayoutData& d, const std::string& key, const std::string& value) {
    struct TText {
        std::string_view Key;
        std::string TLayoutData::*Field;
    };
    static constexpr TText texts[] = {{"DRAWINGHEADNAME", &TLayoutData::DrawingHeadName},
                                      {"PAPERSIZENAME", &TLayoutData::PaperSizeName},
                                      {"LINEWEIGHTSNAME", &TLayoutData::LineWeightsName},
                                      {"COLORSNAME", &TLayoutData::ColorsName},
                                      {"BORDERNAME", &TLayoutData::BorderName}};
    struct TFlag {
        std::string_view Key;
        bool TLayoutData::*Field;
    };
    static constexpr TFlag flags[] = {{"BACKGROUNDWHITE", &TLayoutData::BackgroundWhite},
                                      {"SHOWCOLORS", &TLayoutData::ShowColors},
                                      {"SHOWLINEWEIGHTS", &TLayoutData::ShowLineWeights},
                                      {"ISOVERRULED", &TLayoutData::IsOverruled}};
    for (const TText& t : texts)
        if (key == t.Key) return d.*t.Field = value, true;
    for (const TFlag& f : flags)
        if (key == f.Key) return d.*f.Field = YesNoToBool(value), true;
    if (key == "OVERRULEDNUMBER"sv) return d.OverruledNumber = ParseRecordInt(value).value_or(-1), true;
    if (key == "OVERRULEDTOTAL"sv) return d.OverruledTotal = ParseRecordInt(value).value_or(-1), true;
    return false;
}

// The keys only the current variant writes.
void ReadLaterLayoutKey(TLayoutData& d, const std::string& key, const std::string& value) {
    if (key == "BOMLAYOUTNAME"sv) {
        d.BOMLayoutName = value;
    } else if (key == "BOMHOSESLAYOUTNAME"sv) {
        d.BOMHosesLayoutName = value;
    } else if (key == "LANGUAGE"sv) {
        d.Language = value;
    } else if (key == "HIDECONNECTIONNODES"sv) {
        d.HideConnectionNodes = YesNoToBool(value);
    } else if (key == "SHEETINDEX"sv) {
        d.SheetIndex = ParseRecordInt(value).value_or(-1);
    } else if (key == "CONNECTIONLINECOLORS"sv) {
        const int mode = IndexOfName(value, SymbolGroupDrawModeNames, 4);
        d.ConnectionLineColors = mode < 0 ? drawMainGroups : TSymbolGroupDrawMode(mode);
    } else if (key == "SHOWCONNECTIONLINEBREAKS"sv) {
        // An ordinal outside the enumeration is as bad as no number at all.
        const int32_t breaks = ParseRecordInt(value).value_or(0);
        d.ShowConnectionLineBreaks = breaks >= 0 && breaks < ShowConnectionLineBreakCount
                                         ? TShowConnectionLineBreak(breaks)
                                         : breakShowAsDefault;
    }
}

TLayout ReadLayout(TRecordReader& reader) {
    TLayout layout;
    const bool legacy = reader.IsLegacy();
    std::string key, value;
    while (reader.NextKey(key, value, "ENDLAYOUT.")) {
        if (key == "TEXTBLOCKLIST:"sv)
            layout.fTextBlockList.LoadFromReader(reader);
        else if (key == "INSERTBLOCKLIST:"sv)
            layout.fInsertBlockList.LoadFromReader(reader);
        else if (key == "ATTRIBUTELIST:"sv)
            layout.fAttributeList.LoadFromReader(reader);
        else if (ReadCommonLayoutKey(layout.fData, key, value) || legacy)
            continue;
        else if (key == "SYMBOLLAYERLIST:"sv)
            layout.fSymbolLayers.LoadFromReader(reader);
        else
            ReadLaterLayoutKey(layout.fData, key, value);
    }
    return layout;
}

void DumpLayoutData(TJsonWriter& w, const TLayoutData& d) {
    w.BeginObject();
    w.Field("DrawingHeadName", d.DrawingHeadName);
    w.Field("PaperSizeName", d.PaperSizeName);
    w.Field("LineWeightsName", d.LineWeightsName);
    w.Field("ColorsName", d.ColorsName);
    w.Field("BorderName", d.BorderName);
    w.Field("BackgroundWhite", d.BackgroundWhite);
    w.Field("ShowColors", d.ShowColors);
    w.Field("ShowLineWeights", d.ShowLineWeights);
    w.Field("OverruledNumber", d.OverruledNumber);
    w.Field("OverruledTotal", d.OverruledTotal);
    w.Field("IsOverruled", d.IsOverruled);
    w.Field("BOMLayoutName", d.BOMLayoutName);
    w.Field("BOMHosesLayoutName", d.BOMHosesLayoutName);
    w.Field("SheetIndex", d.SheetIndex);
    w.Field("Language", d.Language);
    w.Field("ConnectionLineColors", GroupDrawModeIdent(d.ConnectionLineColors));
    w.Field("HideConnectionNodes", d.HideConnectionNodes);
    w.Field("ShowConnectionLineBreaks", IdentOf(ShowConnectionLineBreakIdents, d.ShowConnectionLineBreaks));
    w.EndObject();
}

} // namespace

// ---------------------------------------------------------------------------------------------

void TTextBlockList::Clear() {
    fTextBlockList.clear();
    fItemIndex = -1;
}

TTextBlock& TTextBlockList::Add(TTextBlock block) {
    return fTextBlockList.emplace_back(std::move(block));
}

void TTextBlockList::Delete(int index) {
    DeleteIn(fTextBlockList, index);
}

void TTextBlockList::Exchange(int index1, int index2) {
    ExchangeIn(fTextBlockList, index1, index2);
}

void TTextBlockList::Assign(const TTextBlockList& source) {
    fTextBlockList = source.fTextBlockList;
    fItemIndex = source.fItemIndex;
}

TTextBlock* TTextBlockList::GetSelected() {
    return SelectedIn(fTextBlockList, fItemIndex);
}

int TTextBlockList::IndexOf(std::string_view name) const {
    for (int i = 0; i < Count(); ++i)
        if (SameTextAscii(fTextBlockList[size_t(i)].fData.Name, name)) return i;
    return -1;
}

void TTextBlockList::RenameDuplicates() {
    std::vector<size_t> order(fTextBlockList.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    RenameDuplicatesInOrder(fTextBlockList, order);
}

void TTextBlockList::RenameDuplicatesReverse() {
    std::vector<size_t> order(fTextBlockList.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = order.size() - 1 - i;
    RenameDuplicatesInOrder(fTextBlockList, order);
}

void TTextBlockList::LoadFromReader(TRecordReader& reader) {
    std::string key, value;
    while (reader.NextKey(key, value, "ENDTEXTBLOCKLIST."))
        if (key == "TEXTBLOCK:"sv) fTextBlockList.push_back(ReadTextBlock(reader));
}

void TTextBlockList::Dump(TJsonWriter& w) const {
    w.BeginArray();
    for (const TTextBlock& b : fTextBlockList) {
        w.BeginObject();
        w.Field("Class", "TTextBlock");
        w.Key("Data");
        w.BeginObject();
        w.Field("Name", b.fData.Name);
        w.Field("TextHeight", b.fData.TextHeight);
        w.Field("FontName", b.fData.FontName);
        w.EndObject();
        w.Field("TextList", b.fTextList);
        w.EndObject();
    }
    w.EndArray();
}

// ---------------------------------------------------------------------------------------------

TAdditionalPicture& TAdditionalPictureList::Add(TAdditionalPicture picture) {
    return fAdditionalPictureList.emplace_back(std::move(picture));
}

void TAdditionalPictureList::Delete(int index) {
    DeleteIn(fAdditionalPictureList, index);
}

void TAdditionalPictureList::Exchange(int index1, int index2) {
    ExchangeIn(fAdditionalPictureList, index1, index2);
}

void TAdditionalPictureList::Dump(TJsonWriter& w) const {
    w.BeginArray();
    for (const TAdditionalPicture& p : fAdditionalPictureList) {
        const TAdditionalPictureData& d = p.fData;
        w.BeginObject();
        w.Field("Class", "TAdditionalPicture");
        w.Key("Data");
        w.BeginObject();
        w.Field("FileName", d.FileName);
        w.Field("UpperLeftOriginal", d.UpperLeftOriginal);
        w.Field("LowerRightOriginal", d.LowerRightOriginal);
        w.Key("LowerLeft");
        w.Point(d.LowerLeft.X, d.LowerLeft.Y);
        w.Field("Scale", d.Scale);
        w.Field("Rotation", d.Rotation);
        w.EndObject();
        w.EndObject();
    }
    w.EndArray();
}

// ---------------------------------------------------------------------------------------------

std::string TInsertBlock::BlockName() const {
    std::string_view name = FileNamePart(fData.FileName);
    if (const size_t dot = name.find_last_of('.'); dot != std::string_view::npos) name = name.substr(0, dot);
    return UnderscoreSpacesAndPoints(std::string(name));
}

bool TInsertBlock::IsPicture() const {
    return IsTypeOfAny(fData.FileName, {"a.jpg", "a.jpeg", "a.bmp"});
}

bool TInsertBlock::IsExcel() const {
    return IsTypeOfAny(fData.FileName, {"a.xls", "a.xlsx"});
}

void TInsertBlockList::Clear() {
    fInsertBlockList.clear();
    fItemIndex = -1;
}

TInsertBlock& TInsertBlockList::Add(TInsertBlock block) {
    return fInsertBlockList.emplace_back(std::move(block));
}

void TInsertBlockList::Delete(int index) {
    DeleteIn(fInsertBlockList, index);
}

void TInsertBlockList::Exchange(int index1, int index2) {
    ExchangeIn(fInsertBlockList, index1, index2);
}

void TInsertBlockList::Assign(const TInsertBlockList& source) {
    fInsertBlockList = source.fInsertBlockList;
    fItemIndex = source.fItemIndex;
}

bool TInsertBlockList::Compare(const TInsertBlockList& other) const {
    return std::equal(fInsertBlockList.begin(), fInsertBlockList.end(), other.fInsertBlockList.begin(),
                      other.fInsertBlockList.end(), [](const TInsertBlock& a, const TInsertBlock& b) {
                          return SameStoredData(a.fData, b.fData) &&
                                 a.fAdditionalPictures.Compare(b.fAdditionalPictures);
                      });
}

TInsertBlock* TInsertBlockList::GetSelected() {
    return SelectedIn(fInsertBlockList, fItemIndex);
}

int TInsertBlockList::IndexOf(std::string_view blockName) const {
    for (int i = 0; i < Count(); ++i)
        if (SameTextAscii(fInsertBlockList[size_t(i)].BlockName(), blockName)) return i;
    return -1;
}

int TInsertBlockList::IndexOf(TInsertBlockType blockType) const {
    for (int i = 0; i < Count(); ++i)
        if (fInsertBlockList[size_t(i)].fData.BlockType == blockType) return i;
    return -1;
}

int TInsertBlockList::IndexOf(const void* entity) const {
    if (!entity) return -1;
    for (int i = 0; i < Count(); ++i)
        if (fInsertBlockList[size_t(i)].fData.Entity == entity) return i;
    return -1;
}

void TInsertBlockList::LoadFromReader(TRecordReader& reader) {
    std::string key, value;
    while (reader.NextKey(key, value, "ENDINSERTBLOCKLIST."))
        if (key == "INSERTBLOCK:"sv) fInsertBlockList.push_back(ReadInsertBlock(reader));
}

void TInsertBlockList::Dump(TJsonWriter& w) const {
    w.BeginArray();
    for (const TInsertBlock& b : fInsertBlockList) {
        const TInsertBlockData& d = b.fData;
        w.BeginObject();
        w.Field("Class", "TInsertBlock");
        w.Key("Data");
        w.BeginObject();
        w.Field("BlockType", IdentOf(InsertBlockTypeIdents, d.BlockType));
        w.Field("FileName", d.FileName);
        w.Field("Align", IdentOf(AlignIdents, d.Align));
        w.Key("InsertionPoint");
        w.Point(d.InsertionPoint.X, d.InsertionPoint.Y);
        w.Key("Offset");
        w.Point(d.Offset.X, d.Offset.Y);
        w.Field("Rotation", d.Rotation);
        w.Field("Visible", d.Visible);
        w.Field("Scale", d.Scale);
        w.Field("AttachedToFace", d.AttachedToFace);
        w.Field("Tag", d.Tag);
        w.Field("OverruledPosition", d.OverruledPosition);
        w.Key("Box");
        w.BeginArray();
        w.Point(d.Box.TopLeft.X, d.Box.TopLeft.Y);
        w.Point(d.Box.BottomRight.X, d.Box.BottomRight.Y);
        w.EndArray();
        w.Field("UseBox", d.UseBox);
        // An address means nothing outside the running program: only whether one is set.
        w.Key("Entity");
        if (d.Entity)
            w.Bool(true);
        else
            w.Null();
        w.EndObject();
        w.Key("AdditionalPictures");
        b.fAdditionalPictures.Dump(w);
        w.EndObject();
    }
    w.EndArray();
}

// ---------------------------------------------------------------------------------------------

void TLayout::RemoveNotUsedTextBlocks() {
    std::vector<std::string> used;
    for (const TInsertBlock& b : fInsertBlockList.fInsertBlockList)
        if (b.fData.BlockType == ibTextBlock) used.push_back(b.BlockName());
    std::erase_if(fTextBlockList.fTextBlockList, [&](const TTextBlock& t) {
        const std::string name = UnderscoreSpacesAndPoints(t.fData.Name);
        return std::none_of(used.begin(), used.end(),
                            [&](const std::string& u) { return SameTextAscii(u, name); });
    });
}

bool TLayout::Compare(const TLayout& other) const {
    return fData == other.fData && fInsertBlockList.Compare(other.fInsertBlockList) &&
           fTextBlockList.Compare(other.fTextBlockList) && fAttributeList.Compare(other.fAttributeList) &&
           fSymbolLayers.Compare(other.fSymbolLayers);
}

void TLayoutList::Clear() {
    fLayoutList.clear();
    fItemIndex = -1;
}

TLayout& TLayoutList::Add(TLayout layout) {
    return fLayoutList.emplace_back(std::move(layout));
}

void TLayoutList::Delete(int index) {
    DeleteIn(fLayoutList, index);
}

void TLayoutList::Exchange(int index1, int index2) {
    ExchangeIn(fLayoutList, index1, index2);
}

void TLayoutList::Assign(const TLayoutList& source) {
    fLayoutList = source.fLayoutList;
    fItemIndex = source.fItemIndex;
}

bool TLayoutList::Compare(const TLayoutList& other) const {
    return std::equal(fLayoutList.begin(), fLayoutList.end(), other.fLayoutList.begin(),
                      other.fLayoutList.end(),
                      [](const TLayout& a, const TLayout& b) { return a.Compare(b); });
}

TLayout* TLayoutList::GetSelected() {
    return SelectedIn(fLayoutList, fItemIndex);
}

void TLayoutList::SetDefaultLanguage(std::string_view defaultLanguage) {
    for (TLayout& l : fLayoutList)
        if (l.fData.Language.empty()) l.fData.Language = defaultLanguage;
}

void TLayoutList::RemoveDefaultLanguage(std::string_view defaultLanguage) {
    for (TLayout& l : fLayoutList)
        if (SameTextAscii(l.fData.Language, defaultLanguage)) l.fData.Language.clear();
}

void TLayoutList::LoadFromReader(TRecordReader& reader) {
    std::string key, value;
    while (reader.NextKey(key, value, "ENDLAYOUTLIST."))
        if (key == "LAYOUT:"sv) fLayoutList.push_back(ReadLayout(reader));
}

void TLayoutList::Dump(TJsonWriter& w) const {
    w.BeginArray();
    for (const TLayout& l : fLayoutList) {
        w.BeginObject();
        w.Field("Class", "TLayout");
        w.Key("Data");
        DumpLayoutData(w, l.fData);
        w.Key("InsertBlockList");
        l.fInsertBlockList.Dump(w);
        w.Key("TextBlockList");
        l.fTextBlockList.Dump(w);
        w.Key("AttributeList");
        l.fAttributeList.Dump(w);
        w.Key("SymbolLayers");
        l.fSymbolLayers.Dump(w);
        w.EndObject();
    }
    w.EndArray();
}
