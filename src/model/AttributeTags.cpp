#include "model/AttributeTags.h"

#include <array>
#include <string>
#include <unordered_map>

#include "model/KeyValues.h"

namespace {

const std::array<std::string, SpecialAttributeCount>& TagTable() {
    static const auto table = [] {
        std::array<std::string, SpecialAttributeCount> t;
        static constexpr std::string_view head[] = {"NONE",
                                                    "ORIFICE VALUE",
                                                    "ORIFICE NAME",
                                                    "SOLENOID NAME",
                                                    "SOLENOID NUMBER",
                                                    "SOLENOID FUNCTION",
                                                    "SOLENOID ITEMNUMBER",
                                                    "SOLENOID DESCRIPTION",
                                                    "LOGO",
                                                    "CURRENTDATE",
                                                    "CURRENTTIME",
                                                    "CDATE",
                                                    "CTIME",
                                                    "CYEAR",
                                                    "CMONTH",
                                                    "CDAY",
                                                    "LAYOUTNUMBER",
                                                    "LAYOUTTOTAL",
                                                    "LNUM",
                                                    "LTOT",
                                                    "DRAWINGNUMBER",
                                                    "PROJECTNAME",
                                                    "REVISION",
                                                    "PAPERSIZE",
                                                    "PSIZE",
                                                    "CONNECTION LINE SIZE",
                                                    "CONNECTION LINE FLOW",
                                                    "CONNECTION LINE VELOCITY",
                                                    "CONNECTION LINE FLOW2",
                                                    "CONNECTION LINE VELOCITY2",
                                                    "CONNECTION LINE SINGLE ARROW",
                                                    "CONNECTION LINE SINGLE RIGHT ARROW",
                                                    "CONNECTION LINE DOUBLE ARROW",
                                                    "CONNECTION LINE BOTH ARROWS",
                                                    "CONNECTION LINE SINGLE ARROW2",
                                                    "CONNECTION LINE SINGLE RIGHT ARROW2",
                                                    "CONNECTION LINE DOUBLE ARROW2",
                                                    "CONNECTION LINE BOTH ARROWS2",
                                                    "CONNECTION LINE BREAK TEXT",
                                                    "HOSE TYPE",
                                                    "PAGE",
                                                    "TOTAL",
                                                    "PAGETOTAL",
                                                    "FILENAME",
                                                    "FILEPATH",
                                                    "FNAME",
                                                    "CUSTOMER",
                                                    "MATERIAL",
                                                    "PROJECTNUMBER",
                                                    "REVISIONNUMBER",
                                                    "REVNO"};
        static constexpr std::string_view tail[] = {"_cArticleCode",
                                                    "_cManufacturer",
                                                    "_cType",
                                                    "_cDescription",
                                                    "_cDataSheet",
                                                    "_cWeight",
                                                    "_cHeight",
                                                    "_cClampingLength",
                                                    "_cPMax",
                                                    "_cQMax",
                                                    "_cPrice",
                                                    "_cRemark",
                                                    "_cBrevindFile",
                                                    "_cFaces",
                                                    "_cSymbolFile",
                                                    "_cFile",
                                                    "_c3DModel",
                                                    "_cTitle",
                                                    "_Sandwich",
                                                    "REVTRIANGLE NUMBER",
                                                    "REVTRIANGLE DESCRIPTION",
                                                    "E NAME",
                                                    "E NUMBER",
                                                    "E FUNCTION",
                                                    "E DESCRIPTION",
                                                    "E ITEMNUMBER",
                                                    "REVDATE",
                                                    "REVDRAWNBY",
                                                    "REVCHECKEDBY",
                                                    "REVUSER1",
                                                    "REVUSER2",
                                                    "REVSAPCODE",
                                                    "REVDESCRIPTION",
                                                    "TOTALPRICE",
                                                    "SC NAME",
                                                    "SC NUMBER",
                                                    "SC FUNCTION",
                                                    "SC DESCRIPTION",
                                                    "SC ITEMNUMBER",
                                                    "EC NAME",
                                                    "EC NUMBER",
                                                    "EC FUNCTION",
                                                    "EC DESCRIPTION",
                                                    "EC ITEMNUMBER",
                                                    "_COMPANYADDRESS1",
                                                    "_COMPANYADDRESS2",
                                                    "_COMPANYADDRESS3",
                                                    "_COMPANYADDRESS4",
                                                    "_COMPANYADDRESS5"};
        static_assert(std::size(head) == saRev1No);
        static_assert(std::size(tail) == SpecialAttributeCount - saRev10DrawnBy - 1);
        size_t i = 0;
        for (auto s : head)
            t[i++] = s;
        static constexpr std::string_view fields[] = {"NO", "DATE", "DESCRIPTION", "CHECKEDBY", "DRAWNBY"};
        for (int n = 1; n <= 10; ++n)
            for (auto f : fields)
                t[i++] = "REV" + std::to_string(n) + std::string(f);
        for (auto s : tail)
            t[i++] = s;
        return t;
    }();
    return table;
}

// Upper-cased tags (the table's and the older spellings) to their attribute. The table's own
// tags come first, so an alias can never shadow one.
const std::unordered_map<std::string, TSpecialAttribute>& LookUp() {
    static const auto map = [] {
        std::unordered_map<std::string, TSpecialAttribute> m;
        const auto& tags = TagTable();
        for (int i = 0; i < SpecialAttributeCount; ++i)
            m.emplace(UpperAscii(tags[size_t(i)]), TSpecialAttribute(i));
        for (int n = 1; n <= 10; ++n) {
            const std::string num = std::to_string(n);
            for (const std::string& a : {"REVISION" + num + "NUMBER", "REV" + num, "REV NR. " + num,
                                         "REV NAME " + num, "REVISION " + num})
                m.emplace(a, RevisionAttribute(n, rfNumber));
            for (const std::string& a : {"REVISION" + num + "DATE", "REV DATE " + num})
                m.emplace(a, RevisionAttribute(n, rfDate));
            for (const std::string& a :
                 {"REVISION" + num + "DESCRIPTION", "REVISION DESCRIPTION " + num, "REV DESCRIPTION " + num})
                m.emplace(a, RevisionAttribute(n, rfDescription));
            m.emplace("REV. APPR " + num, RevisionAttribute(n, rfCheckedBy));
        }
        m.emplace("REV", saRevNo);
        return m;
    }();
    return map;
}

} // namespace

std::string_view SpecialAttributeTag(TSpecialAttribute attribute) {
    return attribute < SpecialAttributeCount ? std::string_view(TagTable()[attribute]) : std::string_view();
}

TSpecialAttribute SpecialAttributeOfTag(std::string_view tag) {
    if (tag.empty()) return saNone;
    const auto& m = LookUp();
    auto it = m.find(UpperAscii(tag));
    return it == m.end() ? saNone : it->second;
}

bool RevisionFieldOf(TSpecialAttribute attribute, int& revision, TRevisionField& field) {
    if (attribute < saRev1No || attribute > saRev10DrawnBy) return false;
    const int k = attribute - saRev1No;
    revision = k / RevisionFieldCount + 1;
    field = TRevisionField(k % RevisionFieldCount);
    return true;
}
