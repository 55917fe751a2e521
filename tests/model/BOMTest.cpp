#include <gtest/gtest.h>

#include "model/BOM.h"
#include "model/JsonWriter.h"
#include "model/KeyValues.h"

namespace {

TBOM ReadBOM(const std::string& body, TRecordVariant variant = TRecordVariant::UniCode) {
    TBOM bom;
    TRecordReader r(body + "EndBom.\r\nHandle=99\r\n", variant);
    bom.LoadFromReader(r);
    return bom;
}

TEST(BOMRecord, KeysAndEndOfRecordRules) {
    TBOM b = ReadBOM("  ArticleCode=R900\r\n  Type=4WE6\r\n  MainItemNumber2=7\r\n  Height=12.5\r\n"
                     "  BrevindFile=a;b\r\n  UseInBrevind=No\r\n  OverruledQuantity=many\r\n  US=No\r\n"
                     "  SymbolFile=valve.SYM\r\n  QuantityManualValue=x\r\n  Size=NG6\r\n  LineNumber=4\r\n");
    const TBOMData& d = b.fData;
    EXPECT_EQ(d.ArticleCode, "R900");
    EXPECT_EQ(d.ComponentType, "4WE6");
    EXPECT_EQ(d.MainItemNumber[1], "7");
    EXPECT_TRUE(d.Sandwich);     // a height makes it a sandwich plate
    EXPECT_TRUE(d.UseInBrevind); // a manifold file wins over an explicit No
    EXPECT_EQ(d.OverruledQuantity, -666);
    EXPECT_EQ(d.Market, mkUS);
    EXPECT_EQ(d.SymbolFile, "valve");
    EXPECT_EQ(d.QuantityManualValue, 1);
    EXPECT_EQ(d.LineNumber, 4);
    EXPECT_EQ(b.ComponentAttributeValue("size"), "NG6");
    EXPECT_EQ(b.BrevindFile_NonUS(), "a");
    EXPECT_EQ(b.BrevindFile_US(), "b");
}

TEST(BOMRecord, NestedBlocksDoNotEndTheRecord) {
    TBOM b =
        ReadBOM("  ComponentAttribute:\r\n    AttributeTag=Pressure\r\n    AttributeValue=350\r\n"
                "  EndComponentAttribute.\r\n"
                "UserFieldList:\r\n  UserField:\r\n    FieldTag=Color\r\n    FieldType=float\r\n"
                "    FieldFloatValue=2.5\r\n  End.\r\nEnd.\r\n"
                "FlexibleCode:\r\n[Size]=M10\r\n*M8\r\nEnd.\r\n  EndBom. is no terminator here=1\r\nM10\r\n"
                "EndFlexibleCode.\r\n"
                "  Description=after the blocks\r\n  Type=XY-[Size]\r\n");
    EXPECT_EQ(b.ComponentAttributeValue("PRESSURE"), "350");
    ASSERT_EQ(b.fUserFields.Count(), 1);
    EXPECT_EQ(b.fUserFields.Items(0)->FieldType(), ufFloat);
    EXPECT_DOUBLE_EQ(b.fUserFields.Items(0)->Data().FieldFloatValue, 2.5);
    ASSERT_EQ(b.fOrderingCode.Count(), 1);
    const TOrderingCodeSection& size = b.fOrderingCode.Sections(0);
    ASSERT_EQ(size.Count(), 4);
    EXPECT_EQ(size.Keys(2).Name, "EndBom. is no terminator here");
    EXPECT_EQ(size.SelectedKey(), "M10");
    EXPECT_EQ(b.fData.Description, "after the blocks");
    EXPECT_EQ(b.OrderingCode(), "XY-M10");
}

TEST(BOMRecord, UnterminatedOrderingCodeBlockEndsWithTheRecord) {
    TRecordReader r("  Type=T-[Size]\r\nFlexibleCode:\r\n[Size]\r\nM8\r\nEndBom.\r\nHandle=99\r\n",
                    TRecordVariant::UniCode);
    TBOM b;
    b.LoadFromReader(r);
    EXPECT_EQ(r.DamagedRecords(), 1);
    EXPECT_EQ(b.OrderingCode(), "T-M8");
    std::string key, value;
    ASSERT_TRUE(r.NextTopLevelKey(key, value, "END."));
    EXPECT_EQ(key, "HANDLE"); // the rest of the file is read as such
}

TEST(BOMRecord, OrderingCodeIsTheTypeWithoutGenerator) {
    TBOM b;
    b.fData.ComponentType = "XY-[Size]";
    EXPECT_EQ(b.OrderingCode(), "XY-[Size]");
    TOrderingCodeGeneratorHelper::FromStrings(b.fOrderingCode, {"[Size]", "M8", "M10"});
    EXPECT_EQ(b.OrderingCode(), "XY-?");
    b.fOrderingCode.Sections(0).SetItemIndex(0);
    EXPECT_EQ(b.OrderingCode(), "XY-M8");

    TJsonWriter w;
    b.Dump(w);
    EXPECT_NE(w.Text().find("\"OrderingCode\": \"XY-M8\""), std::string::npos) << w.Text();
    EXPECT_NE(w.Text().find("\"OrderingCodeGenerator\""), std::string::npos);
    EXPECT_NE(w.Text().find("\"Mode\": \"sectionNormal\""), std::string::npos);
}

TEST(BOMList, AssignCompareAndIndexOfCarryTheGenerator) {
    TBOMList list;
    TBOM* main = list.Add();
    main->fData.ArticleCode = "A";
    TOrderingCodeGeneratorHelper::FromStrings(main->fOrderingCode, {"[Size]=M8", "M8", "M10"});
    list.Add(true)->fComponentAttributeList.AddWithData("SIZE", "6");
    list.fItemIndex = 1;

    TBOMList copy;
    copy.Assign(list);
    EXPECT_EQ(copy.fItemIndex, 1);
    EXPECT_TRUE(copy.Compare(list));
    EXPECT_EQ(copy.IndexOf(copy.Items(1)), 1);
    EXPECT_EQ(copy.IndexOf(main), -1); // a record of another list
    copy.First()->fOrderingCode.Sections(0).SetItemIndex(1);
    EXPECT_FALSE(copy.Compare(list)); // the choice alone tells them apart
    copy.First()->Assign(*main);
    EXPECT_TRUE(copy.Compare(list));
    copy.Items(1)->fUserFields.Add();
    EXPECT_FALSE(copy.Compare(list));
}

TEST(BOMRecord, LegacyVariantKnowsFewerKeys) {
    TBOM b = ReadBOM("ArticleCode=A\r\nWeightLBS=3\r\nUS=Yes\r\nWeight=2\r\n", TRecordVariant::Legacy);
    EXPECT_EQ(b.fData.ArticleCode, "A");
    EXPECT_DOUBLE_EQ(b.fData.Weight, 2);
    EXPECT_DOUBLE_EQ(b.fData.WeightLBS, 0);
    EXPECT_EQ(b.fData.Market, 0);
}

TEST(BOMRecord, ResolvedValues) {
    TBOM b;
    b.fData.Manufacturer = "<>";
    b.fData.Title = "<>";
    b.fData.BrevindFile = "<>.bvd;<>_us.bvd";
    EXPECT_EQ(b.GetManufacturer("/lib/Acme_Valve12.kcf"), "Acme");
    EXPECT_EQ(b.GetManufacturer("/lib/Valve12.kcf"), "??");
    EXPECT_EQ(b.GetTitle("Acme_Valve12.KCF"), "Valve12");
    EXPECT_EQ(b.GetBrevindFile("x/Acme_V.kcf"), "Acme_V.bvd;Acme_V_us.bvd");
    b.fData.BrevindFile = "a;b";
    b.SetBrevindFile_US("c");
    EXPECT_EQ(b.fData.BrevindFile, "a;c");
    b.SetBrevindFile_NonUS("x");
    EXPECT_EQ(b.fData.BrevindFile, "x;c");
}

TEST(BOMRecord, DataComparisonFlags) {
    TBOMData a, b;
    b.SubItemNumber[0] = "2";
    EXPECT_FALSE(BOMDataEqual(a, b));
    EXPECT_TRUE(BOMDataEqual(a, b, 4));
    b.MainItemNumber[0] = "1";
    EXPECT_FALSE(BOMDataEqual(a, b, 4));
    EXPECT_TRUE(BOMDataEqual(a, b, 2));
    b.Weight = 1e-13;
    EXPECT_TRUE(BOMDataEqual(a, b, 2));
    b.Suppliers = "S";
    EXPECT_FALSE(BOMDataEqual(a, b, 2));
    EXPECT_TRUE(BOMDataEqual(a, b, 2 | 8));
}

TEST(DisplayUnits, ConversionsAndTexts) {
    struct Case {
        TUnitKind kind;
        double metric, imperial;
        const char *metricText, *imperialText;
    };
    const Case cases[] = {
        {TUnitKind::Size, 25.4, 1, "mm", "inch"},
        {TUnitKind::Pressure, 100, 1450.37738, "bar", "psi"},
        {TUnitKind::Flow, 3.78541178, 1, "l/min", "gpm"},
        {TUnitKind::Weight, 1, 2.20462262185, "kg", "lbs"},
        {TUnitKind::Velocity, 1, 3.2808399, "m/s", "fps"},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(MetricToImperial(c.kind, c.metric), c.imperial, 1e-9);
        EXPECT_NEAR(ImperialToMetric(c.kind, c.imperial), c.metric, 1e-9);
        SetDisplayUnits(true, true, true, true, true);
        EXPECT_EQ(UnitText(c.kind), c.metricText);
        EXPECT_DOUBLE_EQ(DisplayValue(c.kind, c.metric), c.metric);
        SetDisplayUnits(false, false, false, false, false);
        EXPECT_EQ(UnitText(c.kind), c.imperialText);
        EXPECT_NEAR(DisplayValue(c.kind, c.metric), c.imperial, 1e-9);
    }
    SetDisplayUnits(true, true, true, true, true);
}

TEST(DisplayUnits, MeasuredValueTexts) {
    EXPECT_EQ(FormatMeasuredValue(0, 3), "");
    EXPECT_EQ(FormatMeasuredValue(1e-13, 3), "");
    EXPECT_EQ(FormatMeasuredValue(1.5, 3), "1.5");
    EXPECT_EQ(FormatMeasuredValue(1450.37738, 0), "1450");
    EXPECT_EQ(FormatMeasuredValue(26.417, 2), "26.42");
    EXPECT_EQ(FormatMeasuredValue(-2.5, 3), "-2.5");
}

} // namespace
