#pragma once
// Ports and inner ports of component symbols: the points where connection lines attach, with
// their captions.
#include <string>
#include <vector>

#include "model/FontSelection.h"
#include "model/SymbolObjectWithGroups.h"

enum TSymbolObjectPortType : uint8_t { soptNormal, soptLoopThrough };
enum TLineDirection : uint8_t { ldNone, ldRight, ldLeft, ldTop, ldBottom };

class TSymbolObjectBasicPort : public TSymbolObjectWithGroups {
public:
    const char* ClassName() const override { return "TSymbolObjectBasicPort"; }
    // A port whose caption is hidden for the moment does not count among the visible children.
    bool CountsAsVisible() const override { return !IsHidden() && !(fTemporaryHidden & temphiddenText); }

    int32_t fHeight = 20;
    int32_t fRotation = 0;
    std::string fPortText;
    TPoint fP2;
    TSymbolObjectPortType fPortType = soptNormal;
    int32_t fLoopedToHandle = -1;
    int32_t fLoopedFromHandle = -1;
    int32_t fMateWithHandle = -1;
    bool fClosedPort = false;
    std::string fTextStyleName;
    std::string fMateText;
    TOverrideTextStyleSettingsData fOverrideTextStyleSettings;
    int32_t fJoinedWithHandle = -1;
    TSymBorderStyle fBorder = symborderstyleNone;
    bool fForExternalConnection = false;
    std::string fJoinableFiles;

    // --- the virtual operations ports add, in their order ---
    virtual std::string Caption() const = 0;
    virtual std::string PortName() const = 0;
    virtual TPoint ConnectionLinePoint() const = 0;
    virtual std::string MateText() const = 0;
    virtual void SetPortName(const std::string& value) = 0;
    virtual void SetJoinedWithHandle(int32_t handle) { fJoinedWithHandle = handle; }
    virtual TLineDirection LineDirection() const { return ldNone; }
    virtual bool HasLine() const { return false; }
    virtual bool IsVert() const { return false; }
    // The caption's lines.
    virtual std::vector<std::string> CreateCaptionList() const = 0;
    virtual void GetCaptionList(std::vector<std::string>& list) const = 0;

    bool IsMultiLine() const { return fPortText.find('|') != std::string::npos; }
    bool HasBorder() const { return fBorder != symborderstyleNone; }
    bool HasJoinableFiles() const { return !fJoinableFiles.empty(); }
    bool HasMate() const { return fMateWithHandle != -1; }
    bool IsLoopedTo() const { return fLoopedToHandle != -1; }
    bool IsLoopedFrom() const { return fLoopedFromHandle != -1; }
    bool IsLooped() const { return IsLoopedTo() || IsLoopedFrom(); }
    bool IsLoopThrough() const { return fPortType == soptLoopThrough; }
    std::vector<std::string> CreateJoinableFileList() const;

    void SetDefaults() override;
    bool LoadOwnKey(TRecordReader& reader, const std::string& key, const std::string& value) override;

protected:
    explicit TSymbolObjectBasicPort(TSymbolObjectMainType mainType) : TSymbolObjectWithGroups(mainType) {}
    void DumpFields(TJsonWriter& w) const override;

    // fPortText with every "<>" replaced by the sub-group code, or "*" without a sub group.
    std::string PortTextWithGroupCode() const;
    // Measures the caption and caches its box about the centre as the object's extents.
    void ComputeCaptionBox(TSymbolCanvas& canvas, TSymbolDrawMode mode, const TTextStyleList* styles,
                           TPoint centre);
    // The corner of the caption box nearest to the point.
    TPoint LeaderCorner(TPoint towards, TPoint centre) const;
    // Writes the caption lines about the centre in the current font, when the font at the
    // zoom is larger than 1 point; false when it is not.
    bool DrawCaptionLines(TSymbolCanvas& canvas, TPoint centre, const std::vector<std::string>& lines);
    // Sets the canvas font for the caption at the zoom, with the pitch and half block of
    // the caption in pixels.
    void CaptionMetrics(TSymbolCanvas& canvas, size_t lineCount, int32_t& pitchPx, int32_t& halfBlockPx);
    // The keys both port classes read.
    bool LoadBasicKey(const std::string& key, const std::string& value);
};

class TSymbolObjectPort : public TSymbolObjectBasicPort {
public:
    TSymbolObjectPort() : TSymbolObjectBasicPort(somPort) { fTextStyleName = "TextStyle_Port"; }
    const char* ClassName() const override { return "TSymbolObjectPort"; }

    std::string fPortName;
    TPoint fP3;
    bool fVirtualPort = false;
    // Computed by the connectivity update, never stored.
    bool fUsedAsHelpPort = false;

    std::string Caption() const override;
    std::string PortName() const override { return fPortName; }
    TPoint ConnectionLinePoint() const override { return fP2; }
    std::string MateText() const override { return fMateText.empty() ? fPortName : fMateText; }
    void SetPortName(const std::string& value) override { fPortName = value; }
    TLineDirection LineDirection() const override;
    bool HasLine() const override { return !(fP1 == fP2); }
    bool IsVert() const override { return fP1.X == fP2.X; }
    // Nor does a help port that draws no line of its own.
    bool CountsAsVisible() const override {
        return TSymbolObjectBasicPort::CountsAsVisible() && (!fUsedAsHelpPort || HasLine());
    }
    std::vector<std::string> CreateCaptionList() const override;
    void GetCaptionList(std::vector<std::string>& list) const override { list = CreateCaptionList(); }

    bool IsLoopedAndJoinable() const { return IsLoopThrough() && IsLoopedFrom() && HasJoinableFiles(); }
    // The port's name in the manifold designer: the display text when asked for and present.
    std::string BrevindPortName(bool useDisplayName) const;

    void SetDefaults() override;
    bool LoadOwnKey(TRecordReader& reader, const std::string& key, const std::string& value) override;
    bool HitTest(TPoint pt, double minPickDistance) const override;
    bool HitTestRect(const TRect& rt) const override;
    TExtentsRect Extents(TExtentsRect current) const override;
    void PrepareDraw(TSymbolCanvas& canvas, TSymbolDrawMode mode, const TTextStyleList* styles) override;
    bool DrawSymbol(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                    const TTextStyleList* styles) override;

protected:
    void DumpFields(TJsonWriter& w) const override;

private:
    void DrawClosedMark(TSymbolCanvas& canvas);
    void DrawCaption(TSymbolCanvas& canvas, TSymbolDrawMode mode);
};

class TSymbolObjectIPort : public TSymbolObjectBasicPort {
public:
    TSymbolObjectIPort() : TSymbolObjectBasicPort(somIPort) {
        fPortText = "<>";
        fTextStyleName = "TextStyle_IPort";
    }
    const char* ClassName() const override { return "TSymbolObjectIPort"; }

    bool fHideText = false;
    int32_t fAttachedIBorderHandle = -1;
    int32_t fAttachedIBorderSide = -1;
    // Set by a hit on the caption (a const hit test records it), cleared with the selection.
    mutable bool fTextIsClicked = false;

    std::string Caption() const override;
    std::string PortName() const override { return "*"; }
    TPoint ConnectionLinePoint() const override { return fP1; }
    std::string MateText() const override { return fMateText.empty() ? fPortText : fMateText; }
    void SetPortName(const std::string&) override {}
    void SetJoinedWithHandle(int32_t handle) override;
    std::vector<std::string> CreateCaptionList() const override;
    void GetCaptionList(std::vector<std::string>& list) const override { list = CreateCaptionList(); }

    double Radius() const { return 10 * fScale; }
    void AttachToIBorder(int32_t handle, int32_t side) {
        fAttachedIBorderHandle = handle;
        fAttachedIBorderSide = side;
    }

    void SetDefaults() override;
    bool LoadOwnKey(TRecordReader& reader, const std::string& key, const std::string& value) override;
    void ClearSelection() override;
    bool HitTest(TPoint pt, double minPickDistance) const override;
    bool HitTestRect(const TRect& rt) const override;
    TExtentsRect Extents(TExtentsRect current) const override;
    void PrepareDraw(TSymbolCanvas& canvas, TSymbolDrawMode mode, const TTextStyleList* styles) override;
    bool DrawSymbol(TSymbolCanvas& canvas, TSymbolDrawMode mode, bool clip,
                    const TTextStyleList* styles) override;

protected:
    void DumpFields(TJsonWriter& w) const override;
};
