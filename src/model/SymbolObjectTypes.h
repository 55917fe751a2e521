#pragma once
// Kinds, sub-types and the name tables that the common object keys read.
#include <bitset>
#include <cstdint>
#include <string_view>

#include "base/DrawTypes.h"

enum TSymbolObjectMainType : uint8_t {
    somNone,
    somBOMOnly,
    som1Point,
    som2Point,
    som3Point,
    somText,
    somAttribute,
    somItemNumber,
    somPort,
    somSymbol,
    somConnectionLine,
    somConnectionNode,
    somIBorder,
    somSolenoid,
    somOrifice,
    somPaperSize,
    somConnectionLineRef,
    somImage,
    somLeader,
    somTable,
    somIPort,
    somILine,
    somRevisionTriangle,
    somHose,
    somElectric,
    somSignalConverter,
    somElectricalContact,
    somPolyLine,
};
constexpr int SymbolObjectMainTypeCount = 28;

enum TSymbolObjectType : uint8_t {
    soNone,
    soLine,
    soSpring,
    soArrow,
    soCircle,
    soMotor1,
    soMotor1a,
    soMotor1b,
    soMotor1c,
    soMotor2,
    soMotor2a,
    soMotor2b,
    soPump1,
    soPump1a,
    soPump1b,
    soPump1c,
    soPump2,
    soPump2a,
    soPump2b,
    soEMotor1,
    soEMotor2,
    soMotorPumpControl,
    soText,
    soMultiText,
    soAttribute,
    soItemNumber,
    soPort,
    soCheckValve,
    soCheckValve2,
    soDot,
    soOrifice1,
    soOrifice2,
    soRectangle,
    soTriangle,
    soArc,
    soBlocked,
    soBlockedCross,
    soShutOff,
    soSymbol,
    soConnectionLine,
    soConnectionNode,
    soInsertionPoint,
    soSimpleJoin,
    soMove,
    soCopy,
    soPasteFromClipboard,
    soRotate,
    soMoveText,
    soAddItemNumber,
    soFlipX,
    soFlipY,
    soIBorder,
    soSolenoid,
    soMovePoint,
    soOrifice,
    soBOMOnly,
    soSchematic,
    soZoomWindow,
    soScale,
    soPaperSize,
    soMoveConnectionLineAttributes,
    soConnectionLineRef,
    soInsertConnectionLineBreak,
    soMovePort,
    soImage,
    soleader,
    soTable,
    soIPort,
    soStretch,
    soLeaderArrow,
    soILine,
    soRevisionTriangle,
    soHose,
    soHoseComponentISO,
    soHoseComponent,
    soAutoDV,
    soElectric,
    soSignalConverter,
    soElectricalContact,
    soPolyLine,
    soRevisionCloud,
};
constexpr int SymbolObjectTypeCount = 81;

// A filter over sub-types: empty accepts every object.
using TSymbolObjectTypeSet = std::bitset<SymbolObjectTypeCount>;
// A filter over main types: one bit per main type, 0 accepts every object.
using TMainTypeMask = uint32_t;
constexpr TMainTypeMask MainTypeBit(TSymbolObjectMainType t) {
    return TMainTypeMask(1) << t;
}

TSymbolObjectTypeSet TypeSet(std::initializer_list<TSymbolObjectType> types);

enum TTemporaryHidden : uint8_t { temphiddenAll = 1, temphiddenText = 2 };
enum TUsedIn : uint8_t { usedInMainSymbol = 1, usedInSchematicMainSymbol = 2 };

struct TMainTypeInfo {
    std::string_view Keyword; // record keyword without its colon
    TSymbolObjectType DefaultSubType;
    TSymLineType DefaultLineType;
    std::string_view DefaultLayer;
    bool Legacy; // the legacy variant's object readers know this nested keyword
};
const TMainTypeInfo& MainTypeInfo(TSymbolObjectMainType t);

extern const std::string_view SymLineTypeNames[SymLineTypeCount];
extern const std::string_view SymLineStyleNames[SymLineStyleCount];
extern const std::string_view SymbolObjectTypeNames[SymbolObjectTypeCount];
extern const std::string_view SymbolGroupDrawModeNames[4];
extern const std::string_view TextAlignNames[4];
extern const std::string_view SymBorderStyleNames[5];

// Identifier of an enumeration value as the JSON dump writes it.
std::string_view MainTypeIdent(TSymbolObjectMainType t);
std::string_view SubTypeIdent(TSymbolObjectType t);
std::string_view LineTypeIdent(TSymLineType t);
std::string_view LineStyleIdent(TSymLineStyle t);
std::string_view GroupDrawModeIdent(TSymbolGroupDrawMode m);
std::string_view TextAlignIdent(TTextAlign a);
