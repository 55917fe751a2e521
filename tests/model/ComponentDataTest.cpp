#include <gtest/gtest.h>

#include "model/BOM.h"
#include "model/ComponentData.h"
#include "model/JsonWriter.h"
#include "model/KeyValues.h"

namespace {

using TLines = std::vector<std::string>;

TLines Lines(const TComponentAttributeList& list) {
    TLines lines;
    list.ToStrings(lines);
    return lines;
}

TEST(ComponentAttributes, ReadFromTheBOMRecordFirstTagWinsIgnoringCase) {
    TBOM bom;
    TRecordReader r("  ComponentAttribute:\r\n    AttributeTag=Size\r\n    AttributeValue=NG6\r\n"
                    "  EndComponentAttribute.\r\n"
                    "  ComponentAttribute:\r\n    AttributeTag=SIZE\r\n    AttributeValue=NG10\r\n"
                    "  EndComponentAttribute.\r\nEndBom.\r\n",
                    TRecordVariant::UniCode);
    bom.LoadFromReader(r);
    EXPECT_EQ(r.DamagedRecords(), 0);
    ASSERT_EQ(bom.fComponentAttributeList.Count(), 2);
    EXPECT_EQ(bom.fComponentAttributeList.ValueOf("size"), "NG6");
    EXPECT_EQ(bom.fComponentAttributeList.ValueOf("SIZE"), "NG6");
    EXPECT_EQ(bom.ComponentAttributeValue("Size"), "NG6");
    EXPECT_EQ(bom.fComponentAttributeList.IndexOf("missing"), -1);
    EXPECT_EQ(bom.fComponentAttributeList.ValueOf("missing"), "");
}

TEST(ComponentAttributes, ListOperations) {
    TComponentAttributeList list;
    list.FromStrings({"size = NG6", "Flow=", "novalue", "=orphan"});
    EXPECT_EQ(Lines(list), (TLines{"SIZE=NG6", "FLOW=", "NOVALUE=", "=orphan"}));
    list.Purge();
    EXPECT_EQ(Lines(list), (TLines{"SIZE=NG6", "FLOW=", "NOVALUE="}));

    list.SetValueOf("flow", "40");   // an existing tag keeps its place and spelling
    list.SetValueOf("Cavity", "C2"); // a new one is appended
    EXPECT_EQ(Lines(list), (TLines{"SIZE=NG6", "FLOW=40", "NOVALUE=", "Cavity=C2"}));

    TComponentAttributeList copy;
    copy.Assign(list);
    EXPECT_TRUE(copy.Compare(list));
    copy.Sort();
    EXPECT_EQ(Lines(copy), (TLines{"Cavity=C2", "FLOW=40", "NOVALUE=", "SIZE=NG6"}));
    EXPECT_FALSE(copy.Compare(list)); // the order counts
    copy.Exchange(0, 3);
    copy.Exchange(0, 99); // out of range: nothing
    copy.Delete(-1);
    copy.Delete(2);
    EXPECT_EQ(Lines(copy), (TLines{"SIZE=NG6", "FLOW=40", "Cavity=C2"}));
    copy.fItemIndex = 2;
    copy.Delete(2);
    EXPECT_EQ(copy.Selected(), nullptr); // no dangling selection
    EXPECT_EQ(copy.ItemIndex(), -1);
}

TEST(ComponentAttributes, WriterSkipsEmptyTags) {
    TComponentAttributeList list;
    list.AddWithData("SIZE", "NG6");
    list.AddWithData("", "lost");
    TRecordWriter w;
    list.SaveToWriter(w);
    EXPECT_EQ(w.Text(), "  ComponentAttribute:\r\n    AttributeTag=SIZE\r\n    AttributeValue=NG6\r\n"
                        "  EndComponentAttribute.\r\n");
}

TEST(UserFields, ReadTypesAndQueries) {
    TUserFieldList list;
    TRecordReader r(
        "  UserField:\r\n    FieldTag=Colour\r\n    FieldValue=red\r\n    FieldType=LIST\r\n"
        "    FieldIgnoreInBOM=Yes\r\n  End.\r\n"
        "  UserField:\r\n    FieldTag=Mass\r\n    FieldType=float\r\n    FieldFloatValue=heavy\r\n"
        "  End.\r\n"
        "  UserField:\r\n    FieldTag=Tested\r\n    FieldValue=yes\r\n    FieldType=Bool\r\n  End.\r\n"
        "End.\r\nAfter=1\r\n",
        TRecordVariant::UniCode);
    list.LoadFromReader(r);
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Items(0)->FieldType(), ufList);
    EXPECT_TRUE(list.Items(0)->FieldIgnoreInBOM());
    EXPECT_TRUE(list.Items(1)->IsFloat());
    EXPECT_EQ(list.Items(1)->Data().FieldFloatValue, 0); // not a number
    EXPECT_EQ(list.Items(2)->FieldType(), ufString);     // unknown type names are text
    std::string key, value;
    ASSERT_TRUE(r.NextTopLevelKey(key, value, "END."));
    EXPECT_EQ(key, "AFTER");

    EXPECT_EQ(list.IndexOf("MASS"), 1);
    EXPECT_EQ(list.IndexOfFieldValue("RED"), 0);
    EXPECT_EQ(list.GetValueOf("colour"), "red");
    EXPECT_EQ(list.GetValueOf("none"), "");
    EXPECT_TRUE(list.GetBoolValueOf("tested", false));
    EXPECT_FALSE(list.GetBoolValueOf("colour", true));
    EXPECT_TRUE(list.GetBoolValueOf("none", true));
    EXPECT_EQ(list.CreateListIgnoreInBOM(), TLines{"Colour"});
    EXPECT_EQ(list.Items(1)->DisplayTitle(), "Mass");
    EXPECT_EQ(list.Items(0)->DisplayTitle(), "red");

    list.SetValueOf("new", "", true); // an empty value adds nothing
    list.SetValueOf("new", "x", false);
    EXPECT_FALSE(list.TagExists("new"));
    list.SetValueOf("new", "x", true);
    EXPECT_EQ(list.GetValueOf("NEW"), "x");
    list.SetValueOf("MASS", "m", false);
    EXPECT_EQ(list.Items(1)->FieldValue(), "m");
}

TEST(UserFields, WriterKeepsOnlyFieldsWithContent) {
    TUserFieldList list;
    TRecordWriter empty;
    list.SaveToWriter(empty);
    EXPECT_EQ(empty.Text(), "");

    auto add = [&](TUserFieldType type, const char* tag, const char* value, double number) {
        TUserFieldData& d = list.Add()->fData;
        d.FieldType = type;
        d.FieldTag = tag;
        d.FieldValue = value;
        d.FieldFloatValue = number;
    };
    add(ufFloat, "Zero", "", 0);
    add(ufFloat, "Tiny", "", 1e-13);
    add(ufString, "Blank", "", 5);
    add(ufFloat, "Mass", "", 2.5);
    add(ufString, "Colour", "red", 0);
    TRecordWriter w;
    list.SaveToWriter(w);
    EXPECT_EQ(w.Text(), "UserFieldList:\r\n"
                        "  UserField:\r\n  FieldType=Float\r\n    FieldTag=Mass\r\n    FieldValue=\r\n"
                        "    FieldFloatValue=2.5\r\n  End.\r\n"
                        "  UserField:\r\n    FieldTag=Colour\r\n    FieldValue=red\r\n  End.\r\n"
                        "End.\r\n");

    TUserFieldList copy;
    copy.Assign(list);
    EXPECT_TRUE(copy.Compare(list));
    copy.Items(3)->fData.FieldFloatValue = 2.5 * (1 + 1e-15); // within the tolerance
    EXPECT_TRUE(copy.Compare(list));
    copy.Items(4)->fData.FieldIgnoreInBOM = true;
    EXPECT_FALSE(copy.Compare(list));
}

TEST(Suppliers, DataStringRoundTrips) {
    struct Case {
        const char* data;
        TLines names;
        int itemIndex;
        const char* written;
    };
    const Case cases[] = {
        {"B;A;C", {"A", "B", "C"}, 1, "B;A;C"},
        {"beta;Alpha;gamma", {"Alpha", "beta", "gamma"}, 1, "beta;Alpha;gamma"},
        {";A;B", {"A", "B"}, -1, ";A;B"}, // no selection
        {"", {}, -1, ""},
        {"B; A ;;B", {"A", "B"}, 1, "B;A"}, // blanks and repeats dropped
    };
    for (const Case& c : cases) {
        TSupplier s;
        s.SetDataString(c.data);
        EXPECT_EQ(s.Names(), c.names) << c.data;
        EXPECT_EQ(s.ItemIndex(), c.itemIndex) << c.data;
        EXPECT_EQ(s.DataString(), c.written) << c.data;
    }
}

TEST(Suppliers, SetSupplierAndTheDialogList) {
    TSupplier s;
    EXPECT_EQ(s.SetSupplier("D", "B;A;C"), "D;A;B;C");
    EXPECT_EQ(s.SetSupplier("a", "B;A;C"), "a;A;B;C"); // names are kept as spelled
    EXPECT_EQ(s.SetSupplier("A", ";A;C"), "A;C");
    EXPECT_EQ(s.SelectedSupplier("C;A"), "C");
    EXPECT_EQ(s.SelectedSupplier(";C;A"), "");
    s.SetDataString("B;A");
    EXPECT_EQ(s.DialogList(), (TLines{"A", "B", "-- Edit list --"}));
}

TEST(PortDisplayNames, IndexOfSortAndPurge) {
    TPortDisplayNameList list;
    list.Add("p", "first");
    list.Add("T", "T");
    list.Add("P", "second");
    list.Add("A", "");
    list.Add("B", "B2");
    EXPECT_EQ(list.IndexOf("p"), 2); // the last match
    EXPECT_EQ(list.IndexOf("x"), -1);
    list.Sort();
    TLines order;
    for (int i = 0; i < list.Count(); ++i)
        order.push_back(list.Items(i)->OriginalName());
    EXPECT_EQ(order, (TLines{"A", "B", "P", "T", "p"})); // ordinal: capitals first
    list.Purge();
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Items(0)->DisplayName(), "B2");

    TIPortDisplayNameList inner;
    inner.Assign(list);
    EXPECT_TRUE(inner.Compare(list));
    inner.Items(0)->fData.DisplayName = "other";
    EXPECT_FALSE(inner.Compare(list));
}

TEST(PortDisplayNames, ReadAndWrite) {
    TIPortDisplayNameList list;
    // Either closer ends either list; an entry left open ends with the list, not the file.
    TRecordReader r("  PortDisplayName:\r\n    OriginalName=X1\r\n    DisplayName=Inlet\r\n"
                    "  EndPortDisplayName.\r\n"
                    "  PortDisplayName:\r\n    OriginalName=X2\r\n    DisplayName=X2\r\n"
                    "  EndPortDisplayName.\r\n"
                    "  PortDisplayName:\r\n    OriginalName=X3\r\n"
                    "EndPortDisplayNameList.\r\nNext=1\r\n",
                    TRecordVariant::UniCode);
    list.LoadFromReader(r);
    ASSERT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Items(0)->DisplayName(), "Inlet");
    EXPECT_EQ(list.Items(2)->OriginalName(), "X3");
    EXPECT_EQ(r.DamagedRecords(), 1);
    std::string key, value;
    ASSERT_TRUE(r.NextTopLevelKey(key, value, "END."));
    EXPECT_EQ(key, "NEXT");

    TRecordWriter w;
    list.SaveToWriter(w);
    EXPECT_EQ(w.Text(), "\r\nIPortDisplayNameList:\r\n  PortDisplayName:\r\n    OriginalName=X1\r\n"
                        "    DisplayName=Inlet\r\n  EndPortDisplayName.\r\nEndIPortDisplayNameList.\r\n\r\n");
    TPortDisplayNameList none;
    TRecordWriter nothing;
    none.SaveToWriter(nothing);
    EXPECT_EQ(nothing.Text(), "");
}

TEST(JoinablePorts, ReadDropsUnnamedEntriesAndStopsAtAnyEnd) {
    struct Case {
        const char* text;
        TLines ports; // "name:files"
        const char* after;
    };
    const Case cases[] = {
        {"  JoinablePort:\r\n    JoinPortName=P\r\n    JoinableFiles=a.kcf|b.kcf\r\n  EndJoinablePort.\r\n"
         "  JoinablePort:\r\n    JoinPortName=\r\n    JoinableFiles=c.kcf\r\n  EndJoinablePort.\r\n"
         "EndJoinablePortList.\r\nNext=1\r\n",
         {"P:a.kcf|b.kcf"},
         "Next=1"},
        {"  JoinablePort:\r\n    joinportname=T\r\nEnd.\r\nNext=1\r\n", {"T:"}, "Next=1"},
        {"  JoinablePort:\r\n    JoinPortName=A\r\n", {"A:"}, nullptr}, // cut off
    };
    for (const Case& c : cases) {
        TJoinablePortList list;
        TRecordReader r(c.text, TRecordVariant::UniCode);
        list.LoadFromReader(r);
        TLines ports;
        for (int i = 0; i < list.Count(); ++i)
            ports.push_back(list.Items(i)->fData.JoinPortName + ":" + list.Items(i)->fData.JoinableFiles);
        EXPECT_EQ(ports, c.ports) << c.text;
        std::string_view line;
        if (c.after) {
            ASSERT_TRUE(r.ReadLine(line));
            EXPECT_EQ(line, c.after);
        } else {
            EXPECT_TRUE(r.AtEnd());
        }
    }
}

TEST(JoinablePorts, LookUpAndWrite) {
    TJoinablePortList list;
    list.Add("P", "a.kcf");
    list.Add("p", "b.kcf");
    EXPECT_EQ(list.IndexOfPort("P"), 0);
    EXPECT_EQ(list.FileNamesOfPort("p"), "a.kcf");
    EXPECT_EQ(list.FileNamesOfPort("T"), "");
    EXPECT_TRUE(list.Items(0)->IsDefined());
    list.Delete(1);
    TRecordWriter w;
    list.SaveToWriter(w);
    EXPECT_EQ(w.Text(),
              "JoinablePortList:\r\n  JoinablePort:\r\n    JoinPortName=P\r\n    JoinableFiles=a.kcf\r\n"
              "  EndJoinablePort.\r\nEndJoinablePortList.\r\n");
    TRecordReader r(std::string_view(w.Text()).substr(std::string_view("JoinablePortList:\r\n").size()),
                    TRecordVariant::UniCode);
    TJoinablePortList back;
    back.LoadFromReader(r);
    EXPECT_TRUE(back.Compare(list));
}

TEST(ComponentData, BOMDumpShowsTheLists) {
    TBOM bom;
    bom.fComponentAttributeList.AddWithData("SIZE", "NG6");
    bom.fComponentAttributeList.fItemIndex = 0;
    bom.fUserFields.Add()->fData = {ufFloat, "Mass", "kg", 2.5, true};
    TJsonWriter w;
    bom.Dump(w);
    for (const char* text : {"\"AttributeTag\": \"SIZE\"", "\"AttributeValue\": \"NG6\"", "\"ItemIndex\": 0",
                             "\"FieldType\": \"ufFloat\"", "\"FieldTag\": \"Mass\"", "\"FieldValue\": \"kg\"",
                             "\"FieldFloatValue\": 2.5", "\"FieldIgnoreInBOM\": true"})
        EXPECT_NE(w.Text().find(text), std::string::npos) << text << "\n" << w.Text();
}

} // namespace
