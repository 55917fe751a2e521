#include "components/Ports.h"

#include <algorithm>
#include <cmath>

#include "model/JsonWriter.h"
#include "model/KeyValues.h"
#include "model/SymbolObjectTypes.h"
#include "objects/TextObjects.h"
#include "render/PointUtils.h"

using namespace std::string_view_literals;

namespace {

bool ReadInt(const std::string& value, int32_t& field) {
    if (auto v = ParseRecordInt(value)) field = *v;
    return true;
}

std::string TrimRight(const std::string& s) {
    size_t e = s.size();
    while (e > 0 && static_cast<unsigned char>(s[e - 1]) <= 32)
        --e;
    return s.substr(0, e);
}

std::string ReplaceAll(const std::string& text, std::string_view what, const std::string& with) {
    std::string out;
    size_t start = 0;
    for (size_t p; (p = text.find(what, start)) != std::string::npos; start = p + what.size())
        out.append(text, start, p - start).append(with);
    out.append(text, start);
    return out;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TSymbolObjectBasicPort

void TSymbolObjectBasicPort::SetDefaults() {
    TSymbolObjectWithGroups::SetDefaults();
    fHeight = 20;
    fRotation = 0;
    fPortText.clear();
    fP2 = {};
    fPortType = soptNormal;
    fLoopedToHandle = fLoopedFromHandle = fMateWithHandle = fJoinedWithHandle = -1;
    fClosedPort = false;
    fMateText.clear();
    fOverrideTextStyleSettings = {};
    fBorder = symborderstyleNone;
    fForExternalConnection = false;
    fJoinableFiles.clear();
}

bool TSymbolObjectBasicPort::LoadBasicKey(const std::string& key, const std::string& value) {
    if (key == "HEIGHT"sv) return ReadInt(value, fHeight);
    if (key == "ROTATION"sv) return ReadInt(value, fRotation);
    if (key == "POINT2X"sv) return ReadInt(value, fP2.X);
    if (key == "POINT2Y"sv) return ReadInt(value, fP2.Y);
    if (key == "LOOPEDTOHANDLE"sv) return ReadInt(value, fLoopedToHandle);
    if (key == "LOOPEDFROMHANDLE"sv) return ReadInt(value, fLoopedFromHandle);
    if (key == "MATEWITHHANDLE"sv) return ReadInt(value, fMateWithHandle);
    if (key == "JOINEDWITHHANDLE"sv) return ReadInt(value, fJoinedWithHandle);
    if (key == "PORTTEXT"sv) {
        fPortText = value;
    } else if (key == "BORDER"sv) {
        fBorder = BorderStyleOfName(value);
    } else if (key == "FOREXTERNALCONNECTION"sv) {
        fForExternalConnection = YesNoToBool(value);
    } else if (key == "PORTTYPE"sv) {
        fPortType = SameTextAscii(value, "LoopThrough") ? soptLoopThrough : soptNormal;
    } else if (key == "CLOSEDPORT"sv) {
        fClosedPort = YesNoToBool(value);
    } else if (key == "TEXTSTYLE"sv) {
        fTextStyleName = value;
    } else if (key == "MATETEXT"sv) {
        fMateText = value;
    } else if (key == "JOINABLEFILES"sv) {
        fJoinableFiles = value;
    } else {
        return LoadOverrideTextStyleKey(fOverrideTextStyleSettings, key, value);
    }
    return true;
}

bool TSymbolObjectBasicPort::LoadOwnKey(TRecordReader& reader, const std::string& key,
                                        const std::string& value) {
    if (TSymbolObjectWithGroups::LoadOwnKey(reader, key, value)) return true;
    return LoadBasicKey(key, value);
}

std::vector<std::string> TSymbolObjectBasicPort::CreateJoinableFileList() const {
    if (fJoinableFiles.empty()) return {};
    return SplitLines(fJoinableFiles);
}

std::string TSymbolObjectBasicPort::PortTextWithGroupCode() const {
    const std::string& code = SubGroupData().Code;
    return ReplaceAll(fPortText, "<>", code.empty() ? std::string("*") : code);
}

TPoint TSymbolObjectBasicPort::LeaderCorner(TPoint towards, TPoint centre) const {
    const TRect box = NormalRectFromPoints(fExtents.C1, fExtents.C2);
    return {towards.X < centre.X ? box.P1.X : box.P2.X, towards.Y > centre.Y ? box.P2.Y : box.P1.Y};
}

void TSymbolObjectBasicPort::DumpFields(TJsonWriter& w) const {
    TSymbolObjectWithGroups::DumpFields(w);
    w.Field("Height", fHeight);
    w.Field("Rotation", fRotation);
    w.Field("PortText", fPortText);
    w.Field("P2", fP2);
    w.Field("PortType", fPortType == soptLoopThrough ? "soptLoopThrough" : "soptNormal");
    w.Field("LoopedToHandle", fLoopedToHandle);
    w.Field("LoopedFromHandle", fLoopedFromHandle);
    w.Field("MateWithHandle", fMateWithHandle);
    w.Field("ClosedPort", fClosedPort);
    w.Field("TextStyleName", fTextStyleName);
    w.Field("MateText", fMateText);
    w.Key("OverrideTextStyleSettings");
    DumpOverrideTextStyleSettings(w, fOverrideTextStyleSettings);
    w.Field("JoinedWithHandle", fJoinedWithHandle);
    w.Field("Border", BorderStyleIdent(fBorder));
    w.Field("ForExternalConnection", fForExternalConnection);
    w.Field("JoinableFiles", fJoinableFiles);
}

// ---------------------------------------------------------------------------------------------
// TSymbolObjectPort

void TSymbolObjectPort::SetDefaults() {
    TSymbolObjectBasicPort::SetDefaults();
    fTextStyleName = "TextStyle_Port";
    fPortName.clear();
    fP3 = {};
    fVirtualPort = false;
    fUsedAsHelpPort = false;
}

bool TSymbolObjectPort::LoadOwnKey(TRecordReader& reader, const std::string& key, const std::string& value) {
    if (reader.IsLegacy()) {
        // The legacy port record: a few keys and the older sub-group keys.
        if (key == "HEIGHT"sv || key == "ROTATION"sv || key == "POINT2X"sv || key == "POINT2Y"sv ||
            key == "PORTTEXT"sv || key == "PORTTYPE"sv || key == "LOOPEDTOHANDLE"sv ||
            key == "LOOPEDFROMHANDLE"sv)
            return LoadBasicKey(key, value);
        if (key == "SYMGROUPCODE"sv) {
            EditSubGroupData().Code = TrimRight(value);
        } else if (key == "SYMGROUPCOLOR"sv) {
            if (auto v = ParseRecordInt(value)) EditSubGroupData().Color = TColor(*v);
        } else if (key == "SYMGROUPLINE"sv) {
            const int s = IndexOfName(value, SymLineStyleNames, SymLineStyleCount);
            EditSubGroupData().SymLineStyle = s < 0 ? symlinestyleDefault : TSymLineStyle(s);
        } else if (key != "POINT3X"sv && key != "POINT3Y"sv && key != "PORTNAME"sv &&
                   key != "VIRTUALPORT"sv) {
            return false;
        }
    } else if (TSymbolObjectBasicPort::LoadOwnKey(reader, key, value)) {
        return true;
    }
    if (key == "POINT3X"sv) return ReadInt(value, fP3.X);
    if (key == "POINT3Y"sv) return ReadInt(value, fP3.Y);
    if (key == "PORTNAME"sv) {
        fPortName = value;
    } else if (key == "VIRTUALPORT"sv) {
        fVirtualPort = YesNoToBool(value);
    } else {
        return reader.IsLegacy();
    }
    return true;
}

std::string TSymbolObjectPort::Caption() const {
    return fPortText.empty() ? fPortName : PortTextWithGroupCode();
}

std::vector<std::string> TSymbolObjectPort::CreateCaptionList() const {
    std::vector<std::string> lines = IsMultiLine() ? SplitLines(Caption()) : std::vector{Caption()};
    // A joinable port at the far end of a loop shows only where to join.
    if (IsLoopedAndJoinable()) lines[0] = "\xE2\x96\xBC";
    return lines;
}

TLineDirection TSymbolObjectPort::LineDirection() const {
    if (!HasLine()) return ldNone;
    if (fP1.Y == fP2.Y) return fP1.X < fP2.X ? ldRight : ldLeft;
    if (fP1.X == fP2.X) return fP1.Y < fP2.Y ? ldTop : ldBottom;
    return ldNone;
}

std::string TSymbolObjectPort::BrevindPortName(bool useDisplayName) const {
    return useDisplayName && !fPortText.empty() ? fPortText : fPortName;
}

bool TSymbolObjectPort::HitTest(TPoint pt, double minPickDistance) const {
    // Only the caption takes clicks, and not where no caption is shown.
    const bool captionHidden =
        fVirtualPort || fUsedAsHelpPort || fPortType > soptLoopThrough || (IsLoopThrough() && IsLoopedFrom());
    if (captionHidden && !IsLoopedAndJoinable()) return false;
    return fExtents.Defined && TextBoxHitTest(fExtents.C1, fExtents.C2, pt, minPickDistance);
}

bool TSymbolObjectPort::HitTestRect(const TRect& rt) const {
    const bool crossing = rt.P2.X < rt.P1.X;
    const TRect area = NormalRectFromPoints(rt.P1, rt.P2);
    if (crossing) {
        if (SegmentMeetsRect(area, fP1, fP2)) return true;
        return fExtents.Defined && TextBoxHitTestRect(fExtents.C1, fExtents.C2, rt);
    }
    if (!PointInRect(fP1, area) || !PointInRect(fP2, area)) return false;
    return !fExtents.Defined || TextBoxHitTestRect(fExtents.C1, fExtents.C2, rt);
}

TExtentsRect TSymbolObjectPort::Extents(TExtentsRect current) const {
    current = TSymbolObject::Extents(current);
    if (IsHidden()) return current;
    ExtentsAddPoint(fP1, current);
    ExtentsAddPoint(fP2, current);
    if (fExtents.Defined) {
        ExtentsAddPoint(fExtents.C1, current);
        ExtentsAddPoint(fExtents.C2, current);
    }
    return current;
}

void TSymbolObjectPort::DumpFields(TJsonWriter& w) const {
    TSymbolObjectBasicPort::DumpFields(w);
    w.Field("PortName", fPortName);
    w.Field("P3", fP3);
    w.Field("VirtualPort", fVirtualPort);
    w.Field("UsedAsHelpPort", fUsedAsHelpPort);
}

// ---------------------------------------------------------------------------------------------
// TSymbolObjectIPort

void TSymbolObjectIPort::SetDefaults() {
    TSymbolObjectBasicPort::SetDefaults();
    fPortText = "<>";
    fTextStyleName = "TextStyle_IPort";
    fHideText = false;
    fAttachedIBorderHandle = fAttachedIBorderSide = -1;
    fTextIsClicked = false;
}

bool TSymbolObjectIPort::LoadOwnKey(TRecordReader& reader, const std::string& key, const std::string& value) {
    // The legacy variant has no inner-port keys of its own.
    if (reader.IsLegacy()) return false;
    if (TSymbolObjectBasicPort::LoadOwnKey(reader, key, value)) return true;
    if (key == "ATTACHEDIBORDERHANDLE"sv) return ReadInt(value, fAttachedIBorderHandle);
    if (key == "ATTACHEDIBORDERSIDE"sv) return ReadInt(value, fAttachedIBorderSide);
    if (key == "HIDETEXT"sv) {
        // Writers write the key only as "Yes"; its presence is what counts.
        fHideText = true;
        return true;
    }
    return false;
}

std::string TSymbolObjectIPort::Caption() const {
    return fPortText.empty() ? std::string("\xC2\xB7") : PortTextWithGroupCode();
}

std::vector<std::string> TSymbolObjectIPort::CreateCaptionList() const {
    return IsMultiLine() ? SplitLines(Caption()) : std::vector{Caption()};
}

void TSymbolObjectIPort::SetJoinedWithHandle(int32_t handle) {
    TSymbolObjectBasicPort::SetJoinedWithHandle(handle);
    fHideText = handle != -1;
}

void TSymbolObjectIPort::ClearSelection() {
    TSymbolObjectBasicPort::ClearSelection();
    fTextIsClicked = false;
}

bool TSymbolObjectIPort::HitTest(TPoint pt, double minPickDistance) const {
    if (!fHideText && fExtents.Defined && TextBoxHitTest(fExtents.C1, fExtents.C2, pt, minPickDistance)) {
        fTextIsClicked = true;
        return true;
    }
    return PointDist(pt, fP1) <= minPickDistance + Radius();
}

bool TSymbolObjectIPort::HitTestRect(const TRect& rt) const {
    const TRect area = NormalRectFromPoints(rt.P1, rt.P2);
    const bool caption = !fHideText && fExtents.Defined;
    if (rt.P2.X < rt.P1.X)
        return CircleMeetsRect(area, fP1, Radius()) ||
               (caption && TextBoxHitTestRect(fExtents.C1, fExtents.C2, rt));
    return CircleInsideRect(area, fP1, Radius()) &&
           (!caption || TextBoxHitTestRect(fExtents.C1, fExtents.C2, rt));
}

TExtentsRect TSymbolObjectIPort::Extents(TExtentsRect current) const {
    current = TSymbolObject::Extents(current);
    if (fTemporaryHidden & temphiddenAll) return current;
    ExtentsAddSquare(fP1, Round(fClosedPort ? Radius() * 1.5 : Radius()), current);
    if (!fHideText && fExtents.Defined) {
        ExtentsAddPoint(fExtents.C1, current);
        ExtentsAddPoint(fExtents.C2, current);
    }
    return current;
}

void TSymbolObjectIPort::DumpFields(TJsonWriter& w) const {
    TSymbolObjectBasicPort::DumpFields(w);
    w.Field("HideText", fHideText);
    w.Field("AttachedIBorderHandle", fAttachedIBorderHandle);
    w.Field("AttachedIBorderSide", fAttachedIBorderSide);
    w.Field("TextIsClicked", fTextIsClicked);
}
