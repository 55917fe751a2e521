#pragma once
// Special attributes: attribute tags whose values the document, the component or the
// connection line fills in, and the older tag spellings that still name them.
#include <cstdint>
#include <string_view>

enum TSpecialAttribute : uint8_t {
    saNone,
    saOrificeValue,
    saOrificeName,
    saSolenoidName,
    saSolenoidNumber,
    saSolenoidFunction,
    saSolenoidItemNumber,
    saSolenoidDescription,
    saLogo,
    saCurrentDate,
    saCurrentTime,
    saCDate,
    saCTime,
    saCYear,
    saCMonth,
    saCDay,
    saLayoutNumber,
    saLayoutTotal,
    saLNum,
    saLTot,
    saDrawingNumber,
    saProjectName,
    saRevision,
    saPaperSize,
    saPSize,
    saConnectionLineSize,
    saConnectionLineFlow,
    saConnectionLineVelocity,
    saConnectionLineFlow2,
    saConnectionLineVelocity2,
    saConnectionLineSingleArrow,
    saConnectionLineSingleRightArrow,
    saConnectionLineDoubleArrow,
    saConnectionLineBothArrows,
    saConnectionLineSingleArrow2,
    saConnectionLineSingleRightArrow2,
    saConnectionLineDoubleArrow2,
    saConnectionLineBothArrows2,
    saConnectionLineBreakText,
    saHoseType,
    saPage,
    saTotal,
    saPageTotal,
    saFileName,
    saFilePath,
    saFName,
    saCustomer,
    saMaterial,
    saProjectNumber,
    saRevisionNumber,
    saRevNo,
    // Five fields for each of the revisions 1 to 10: number, date, description, checked by,
    // drawn by.
    saRev1No,
    saRev10DrawnBy = saRev1No + 49,
    saArticleCode,
    saManufacturer,
    saType,
    saDescription,
    saDataSheet,
    saWeight,
    saHeight,
    saClampingLength,
    saPMax,
    saQMax,
    saPrice,
    saRemark,
    saBrevindFile,
    saFaces,
    saSymbolFile,
    saFile,
    sa3DModel,
    saTitle,
    saSandwich,
    saRevTriangleNumber,
    saRevTriangleDescription,
    saEName,
    saENumber,
    saEFunction,
    saEDescription,
    saEItemNumber,
    saRevDate,
    saRevDrawnBy,
    saRevCheckedBy,
    saRevUser1,
    saRevUser2,
    saRevSapCode,
    saRevDescription,
    saTotalPrice,
    saSCName,
    saSCNumber,
    saSCFunction,
    saSCDescription,
    saSCItemNumber,
    saECName,
    saECNumber,
    saECFunction,
    saECDescription,
    saECItemNumber,
    saCompanyAddress1,
    saCompanyAddress5 = saCompanyAddress1 + 4,
};
constexpr int SpecialAttributeCount = saCompanyAddress5 + 1;

// The fields of one revision, in the order of their special attributes.
enum TRevisionField : uint8_t { rfNumber, rfDate, rfDescription, rfCheckedBy, rfDrawnBy };
constexpr int RevisionFieldCount = 5;

constexpr TSpecialAttribute RevisionAttribute(int revision, TRevisionField field) {
    return TSpecialAttribute(saRev1No + (revision - 1) * RevisionFieldCount + field);
}

// The tag text of a special attribute.
std::string_view SpecialAttributeTag(TSpecialAttribute attribute);
// The special attribute a tag names: the tag table ignoring case, then the older aliases;
// saNone when the tag is not special.
TSpecialAttribute SpecialAttributeOfTag(std::string_view tag);
// Whether the attribute is drawn as connection-line arrows instead of text.
constexpr bool IsGraphicSpecialAttribute(TSpecialAttribute a) {
    return a >= saConnectionLineSingleArrow && a <= saConnectionLineBothArrows2;
}
// Revision 1 to 10 and field of a revision attribute; false for every other attribute.
bool RevisionFieldOf(TSpecialAttribute attribute, int& revision, TRevisionField& field);
