#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "model/DocumentLists.h"
#include "model/KeyValues.h"
#include "support/TempFiles.h"

namespace {

std::vector<std::string> Names(const TSymbolLayerList& list) {
    std::vector<std::string> names;
    for (const TSymbolLayer& l : list.fList)
        names.push_back(l.fData.Name);
    return names;
}

TSymbolLayer Layer(const std::string& name, TSymbolLayerState state = slsShow,
                   std::vector<std::string> hideSub = {}) {
    return TSymbolLayer{{name, state}, std::move(hideSub)};
}

// Reads a layer list block as a drawing load does: the block, then the default layers.
TSymbolLayerList LoadLayers(const std::string& layers) {
    TRecordReader reader(layers + "EndSymbolLayerList.\r\n", TRecordVariant::UniCode);
    TSymbolLayerList list;
    list.LoadFromReader(reader);
    list.AddDefaults();
    return list;
}

TEST(SymbolLayerList, DefaultLayersAndTheirOrder) {
    struct Case {
        std::string Layers;
        std::vector<std::string> Expected;
    };
    const Case cases[] = {
        {"", {"-- None --", "Attribute", "Item number", "Port", "Revision triangle", "Text"}},
        {"SymbolLayer:\r\nName=Hydraulics\r\nEndSymbolLayer.\r\n",
         {"-- None --", "Hydraulics", "Attribute", "Item number", "Port", "Revision triangle", "Text"}},
        // A default layer spelt otherwise is not added twice; the own layers sort by name.
        {"SymbolLayer:\r\nName=TEXT\r\nEndSymbolLayer.\r\nSymbolLayer:\r\nName=pilot\r\nEndSymbolLayer.\r\n"
         "SymbolLayer:\r\nName=Electric\r\nEndSymbolLayer.\r\n",
         {"-- None --", "Electric", "pilot", "Attribute", "Item number", "Port", "Revision triangle",
          "TEXT"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Names(LoadLayers(c.Layers)), c.Expected) << c.Layers;
}

TEST(SymbolLayerList, LayerStatesAndHiddenSubLayers) {
    TRecordReader reader("SymbolLayer:\r\n  Name=Pilot\r\n  State=Partial\r\n  HideSub=Drain\r\n"
                         "  HideSub=Return\r\nEndSymbolLayer.\r\n"
                         "SymbolLayer:\r\n  Name=a\r\n  State=hide\r\nEndSymbolLayer.\r\n"
                         "SymbolLayer:\r\n  Name=b\r\n  State=Hide\r\n  State=Sleepy\r\nEndSymbolLayer.\r\n"
                         "SymbolLayer:\r\n  Name=cut off\r\n  State=Partial\r\n",
                         TRecordVariant::UniCode);
    TSymbolLayerList list;
    list.LoadFromReader(reader);
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(reader.DamagedRecords(), 2);
    ASSERT_EQ(list.Count(), 4);
    EXPECT_EQ(list.fList[0].fData.State, slsPartial);
    EXPECT_EQ(list.fList[0].fHideSubList, (std::vector<std::string>{"Drain", "Return"}));
    EXPECT_EQ(list.fList[1].fData.State, slsHide);
    EXPECT_EQ(list.fList[2].fData.State, slsShow); // not a state name
    EXPECT_EQ(list.fList[3].fData.State, slsPartial);
}

TEST(SymbolLayer, DefaultStateAndCheckBox) {
    struct Case {
        TSymbolLayer Layer;
        bool DefaultLayer, Default;
        TCheckBoxState Box;
    };
    const Case cases[] = {
        {Layer("port"), true, true, cbChecked},
        {Layer("-- NONE --", slsHide), true, false, cbUnchecked},
        {Layer("Text", slsShow, {"x"}), true, false, cbChecked},
        {Layer("Revision triangle", slsPartial), true, false, cbGrayed},
        {Layer("Pilot"), false, false, cbChecked},
        {Layer(""), false, false, cbChecked},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.Layer.IsDefaultLayer(), c.DefaultLayer) << c.Layer.fData.Name;
        EXPECT_EQ(c.Layer.IsDefault(), c.Default) << c.Layer.fData.Name;
        EXPECT_EQ(c.Layer.CheckBoxState(), c.Box) << c.Layer.fData.Name;
        TSymbolLayer round = Layer(c.Layer.fData.Name);
        round.SetCheckBoxState(c.Box);
        EXPECT_EQ(round.fData.State, c.Layer.fData.State) << c.Layer.fData.Name;
    }

    TSymbolLayer layer = Layer("Pilot", slsPartial);
    EXPECT_TRUE(layer.AddHideSubItem("Drain"));
    EXPECT_FALSE(layer.AddHideSubItem("DRAIN"));
    EXPECT_TRUE(layer.IsHiddenSubLayer("drain"));
    EXPECT_FALSE(layer.RemoveHideSubItem("Return"));
    EXPECT_TRUE(layer.RemoveHideSubItem("dRAIN"));
    EXPECT_TRUE(layer.fHideSubList.empty());
}

TEST(SymbolLayerList, AppendPurgeAndSynchronize) {
    TSymbolLayerList list;
    list.AddDefaults();
    EXPECT_TRUE(list.Append(Layer("Pilot", slsHide)));
    EXPECT_FALSE(list.Append(Layer("PILOT")));
    EXPECT_EQ(list.fList.back().fData.State, slsHide);
    list.fList[list.IndexOf("Port")].fData.State = slsHide;

    TSymbolLayerList other;
    other.Add(Layer("Drain"));
    other.Add(Layer("pilot", slsShow));
    list.Append(other); // sorts
    EXPECT_EQ(Names(list), (std::vector<std::string>{"-- None --", "Drain", "Pilot", "Attribute",
                                                     "Item number", "Port", "Revision triangle", "Text"}));
    EXPECT_EQ(list.IndexOf(list.fList[2]), 2);
    EXPECT_EQ(list.IndexOf(TSymbolLayer(list.fList[2])), -1); // an equal copy is not that layer

    TSymbolLayerList purged;
    purged.Assign(list);
    purged.Purge();
    EXPECT_EQ(Names(purged), (std::vector<std::string>{"Drain", "Pilot", "Port"}));

    // Layers the master lacks go, the master's others come in shown whole, and the states of
    // the layers kept stay.
    TSymbolLayerList master;
    master.Add(Layer("pilot"));
    master.Add(Layer("Return", slsPartial, {"x"}));
    master.Add(Layer("-- None --"));
    list.SynchronizeWith(master);
    EXPECT_EQ(Names(list), (std::vector<std::string>{"-- None --", "Pilot", "Return"}));
    EXPECT_EQ(list.fList[1].fData.State, slsHide);
    EXPECT_EQ(list.fList[2], Layer("Return"));

    TSymbolLayerList copy;
    copy.Assign(list);
    EXPECT_TRUE(copy.Compare(list));
    copy.Exchange(0, 2);
    EXPECT_FALSE(copy.Compare(list));
    std::vector<std::string> strings{"stale"};
    copy.ToStrings(strings); // sorts first
    EXPECT_EQ(strings, (std::vector<std::string>{"-- None --", "Pilot", "Return"}));
    EXPECT_TRUE(copy.Compare(list));
    copy.Delete(1);
    copy.Delete(5);
    EXPECT_EQ(Names(copy), (std::vector<std::string>{"-- None --", "Return"}));
}

TAttributeList Attributes(std::initializer_list<TAttributeData> attributes) {
    TAttributeList list;
    for (const TAttributeData& a : attributes)
        list.Add(a);
    return list;
}

std::vector<std::string> Lines(const TAttributeList& list) {
    std::vector<std::string> lines;
    list.SaveToStringList(lines);
    return lines;
}

TEST(AttributeList, LookUpByTag) {
    TAttributeList list = Attributes({{"Project", "Press", false}, {"PROJECT", "second", false}});
    EXPECT_EQ(list.IndexOf("project"), 0);
    EXPECT_EQ(list.IndexOf("Customer"), -1);
    EXPECT_EQ(list.GetValue("pROJECT"), "Press");
    EXPECT_EQ(list.GetValue("Customer"), "");
    list.SetValue("project", "Lift");
    list.SetValue("Customer", "ACME");
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"Project=Lift", "PROJECT=second"}));
}

TEST(AttributeList, StringListExchange) {
    TAttributeList list = Attributes({{"Project", "old", false}});
    list.AddFromStringList({"project=Press = 2", "Customer=ACME", "no equals sign", "", "Empty="}, true);
    ASSERT_EQ(list.Count(), 3);
    EXPECT_TRUE(list.fAttributeList[0].FromPDM);
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"Project=Press = 2", "Customer=ACME", "Empty="}));

    list.SyncWithStringList({"CUSTOMER=Widgets", "New=1", "Project"});
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"Project=Press = 2", "Customer=Widgets", "Empty="}));

    std::vector<std::string> lines;
    list.ToStrings(lines);
    TAttributeList back;
    back.Add({"stale", "", false});
    back.FromStrings(lines);
    EXPECT_EQ(Lines(back), Lines(list));
    EXPECT_FALSE(back.fAttributeList[0].FromPDM);
}

TEST(AttributeList, AddFromFile) {
    TTempDir dir;
    TAttributeList list = Attributes({{"Customer", "old", true}});
    EXPECT_TRUE(list.AddFromFile(dir.Write("a.txt", "\xEF\xBB\xBF"
                                                    "Customer=ACME\r\nskipped\rTitle=\xC3\xB8l\n"
                                                    "Last=no break")));
    // Latin-1 text is taken for the legacy code page.
    EXPECT_TRUE(list.AddFromFile(dir.Write("b.txt", "Maker=\xF8ystein\r\n"), true));
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"Customer=ACME", "Title=\xC3\xB8l", "Last=no break",
                                                     "Maker=\xC3\xB8ystein"}));
    EXPECT_FALSE(list.fAttributeList[0].FromPDM);
    EXPECT_TRUE(list.fAttributeList[3].FromPDM);

    const std::vector<std::string> before = Lines(list);
    EXPECT_FALSE(list.AddFromFile(dir.File("missing.txt")));
    EXPECT_FALSE(list.AddFromFile(dir.Path().string()));
    EXPECT_FALSE(list.AddFromFile(""));
    std::string huge = "Big=";
    huge.resize(TAttributeList::MaxAttributeFileSize + 1, 'x');
    EXPECT_FALSE(list.AddFromFile(dir.Write("huge.txt", huge)));
    EXPECT_EQ(Lines(list), before);
    huge.pop_back();
    EXPECT_TRUE(list.AddFromFile(dir.Write("limit.txt", huge)));
    EXPECT_EQ(list.GetValue("Big").size(), TAttributeList::MaxAttributeFileSize - 4);
}

TEST(AttributeList, RemoveAutoFilledInAttributes) {
    TAttributeList list = Attributes({{"CurrentDate", "1", false},
                                      {"ProjectName", "2", false},
                                      {"ctime", "3", false},
                                      {"CYEAR", "4", false},
                                      {"CMonth", "5", false},
                                      {"cday", "6", false},
                                      {"CDATE", "7", false},
                                      {"CurrentTime", "8", false},
                                      {"REV1DATE", "9", false},
                                      {"LayoutNumber", "10", false}});
    list.RemoveAutoFilledInAttributes();
    EXPECT_EQ(Lines(list), (std::vector<std::string>{"ProjectName=2", "REV1DATE=9", "LayoutNumber=10"}));
}

TEST(AttributeList, CombineCompareAndHousekeeping) {
    const TAttributeList header = Attributes({{"project", "Press", true}, {"Customer", "ACME", false}});

    TAttributeList combined = Attributes({{"Project", "Lift", false}, {"Own", "1", false}});
    combined.CombineWith(header);
    EXPECT_EQ(Lines(combined), (std::vector<std::string>{"Project=Press", "Own=1", "Customer=ACME"}));
    EXPECT_TRUE(combined.fAttributeList[0].FromPDM);

    TAttributeList layout = Attributes({{"Project", "Lift", false}, {"Own", "1", false}});
    layout.CombineWithDrawingHeader(header);
    EXPECT_EQ(Lines(layout), (std::vector<std::string>{"Project=Lift", "Own=1", "Customer=ACME"}));
    layout.CombineWithDrawingHeader(layout);
    EXPECT_EQ(layout.Count(), 3);

    // Tags compare ignoring case, values and origins exactly.
    TAttributeList copy;
    copy.Assign(header);
    EXPECT_TRUE(copy.Compare(header));
    copy.fAttributeList[0].Tag = "PROJECT";
    EXPECT_TRUE(copy.Compare(header));
    copy.fAttributeList[0].FromPDM = false;
    EXPECT_FALSE(copy.Compare(header));
    copy.Assign(header);
    copy.fAttributeList[1].Value = "acme";
    EXPECT_FALSE(copy.Compare(header));
    copy.Assign(header);
    copy.Add({});
    EXPECT_FALSE(copy.Compare(header));

    copy.Exchange(0, 2);
    EXPECT_EQ(copy.fAttributeList[0].Tag, "");
    copy.Exchange(0, 3);
    EXPECT_EQ(copy.GetSelected(), nullptr);
    copy.fItemIndex = 1;
    ASSERT_NE(copy.GetSelected(), nullptr);
    EXPECT_EQ(copy.GetSelected()->Tag, "Customer");
    copy.Clear();
    EXPECT_EQ(copy.GetSelected(), nullptr);
    EXPECT_EQ(copy.fItemIndex, -1);
}

TRevisionData ReadRevision(const std::string& body) {
    TRecordReader reader(body + "EndRevision.\r\nAfter=1\r\n", TRecordVariant::UniCode);
    TRevisionList list;
    list.LoadRevision(reader);
    std::string key, value;
    EXPECT_TRUE(reader.ReadRecordLine(key, value));
    EXPECT_EQ(key, "AFTER");
    EXPECT_EQ(list.Count(), 1);
    return list.fList.at(0);
}

TEST(RevisionList, ANewRevisionIsDatedTodayAtMidnight) {
    TRevisionList list;
    const TRevisionData& added = list.Add();
    EXPECT_EQ(added.Date, std::floor(added.Date));
    EXPECT_LE(added.Date, NowAsDayCount());
    EXPECT_GT(added.Date + 1, NowAsDayCount() - 1e-6); // the day cannot have turned twice

    // So is a revision read without a date; a date that is no number gives day 0.
    const TRevisionData onlyNumber = ReadRevision("  Number=C\r\n");
    EXPECT_EQ(onlyNumber.Number, "C");
    EXPECT_EQ(onlyNumber.Date, std::floor(onlyNumber.Date));
    EXPECT_NEAR(onlyNumber.Date, NowAsDayCount(), 1.0);
    EXPECT_TRUE(onlyNumber.Description.empty() && onlyNumber.User2.empty());
    EXPECT_EQ(ReadRevision("  Date=yesterday\r\n").Date, 0);
    EXPECT_EQ(ReadRevision("  Date=45366.25\r\n  Unknown=1\r\n").Date, 45366.25);
}

TEST(RevisionList, WrittenAsReadBack) {
    TRevisionList list;
    TRevisionData& first = list.Add();
    first = {"A", "", 0, "", "", "", "", ""};
    list.Add() = {"B", "4711", 45366.5, "Pump changed", "KV", "PL", "u1", "u2"};
    TRecordWriter writer;
    list.SaveToUniCodeFile(writer);
    EXPECT_EQ(writer.Text(), "\r\nRevision:\r\n  Number=A\r\nEndRevision.\r\n"
                             "\r\nRevision:\r\n  Number=B\r\n  Code=4711\r\n  Date=45366.5\r\n"
                             "  Description=Pump changed\r\n  DrawnBy=KV\r\n  CheckedBy=PL\r\n"
                             "  User1=u1\r\n  User2=u2\r\nEndRevision.\r\n");

    // A revision written without a date reads back dated today, as the design program has it.
    list.fList[0].Date = 45000;
    writer.Text().clear();
    list.SaveToUniCodeFile(writer);
    TRecordReader reader(writer.Text(), TRecordVariant::UniCode);
    TRevisionList back;
    std::string key, value;
    while (reader.NextTopLevelKey(key, value, "END."))
        if (key == "REVISION:") back.LoadRevision(reader);
    EXPECT_TRUE(back.Compare(list));
    back.fList[1].User2 = "U2";
    EXPECT_FALSE(back.Compare(list));
}

TEST(RevisionList, Housekeeping) {
    TRevisionList list;
    EXPECT_EQ(list.GetFirst(), nullptr);
    EXPECT_EQ(list.GetLast(), nullptr);
    for (const char* number : {"A", "B", "C"})
        list.Add().Number = number;
    list.Exchange(0, 2);
    list.Delete(1);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.GetFirst()->Number, "C");
    EXPECT_EQ(list.GetLast()->Number, "A");
    TRevisionList before;
    before.Assign(list);
    for (int bad : {-1, 2, 50}) {
        list.Delete(bad);
        list.Exchange(bad, 0);
        list.Exchange(0, bad);
        EXPECT_EQ(list.GetRevisions(bad), nullptr) << bad;
    }
    EXPECT_TRUE(list.Compare(before));
    list.fList[0].Date += 1e-6; // a few seconds: beyond the tolerance
    EXPECT_FALSE(list.Compare(before));
}

TSessionData ReadSession(const std::string& body) {
    TRecordReader reader(body + "EndSession.\r\n", TRecordVariant::UniCode);
    TSessionList list;
    list.LoadSession(reader);
    EXPECT_TRUE(reader.AtEnd());
    EXPECT_EQ(list.Count(), 1);
    return list.fList.at(0);
}

TEST(SessionList, ReadingSeconds) {
    const struct {
        std::string Value;
        int64_t Seconds;
    } cases[] = {
        {"3600", 3600}, {"-25", -25}, {"2147483647", 2147483647}, {"12.5", 0}, {"2147483648", 0}, {"1E3", 0},
        {"", 0},        {"many", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadSession("  Date=45000\r\n  Seconds=" + c.Value + "\r\n").Seconds, c.Seconds) << c.Value;
    const TSessionData s = ReadSession("  Date=x\r\n  Remark=late\r\n");
    EXPECT_EQ(s.Date, 0);
    EXPECT_EQ(s.Remark, "late");
}

TEST(SessionList, WrittenAsReadBack) {
    TSessionList list;
    list.Add() = {45366, 5400, ""};
    list.Add() = {45367, 9999999, "long day"};
    TRecordWriter writer;
    list.SaveToUniCodeFile(writer);
    // Every key always, the remark also when empty.
    EXPECT_EQ(writer.Text(), "\r\nSession:\r\n  Date=45366\r\n  Seconds=5400\r\n  Remark=\r\nEndSession.\r\n"
                             "\r\nSession:\r\n  Date=45367\r\n  Seconds=9999999\r\n  Remark=long day\r\n"
                             "EndSession.\r\n");
    TRecordReader reader(writer.Text(), TRecordVariant::UniCode);
    TSessionList back;
    std::string key, value;
    while (reader.NextTopLevelKey(key, value, "END."))
        if (key == "SESSION:") back.LoadSession(reader);
    EXPECT_TRUE(back.Compare(list));
}

TEST(SessionList, LookUpAndHousekeeping) {
    TSessionList list;
    EXPECT_EQ(list.IndexOf(0), -1);
    EXPECT_EQ(list.GetFirst(), nullptr);
    const TSessionData& added = list.Add();
    EXPECT_EQ(added.Date, 0);
    EXPECT_EQ(added.Seconds, 0);
    list.Add() = {45366, 60, "a"};
    list.Add() = {45366, 120, "b"};
    EXPECT_EQ(list.IndexOf(45366), 1);
    EXPECT_EQ(list.IndexOf(45366.5), -1);
    EXPECT_EQ(list.IndexOf(45366 + 1e-9), -1); // exactly, not within a tolerance
    EXPECT_EQ(list.IndexOf(-0.0), 0);
    EXPECT_EQ(list.GetLast()->Remark, "b");

    TSessionList before;
    before.Assign(list);
    for (int bad : {-1, 3, 7}) {
        list.Delete(bad);
        list.Exchange(bad, 1);
        list.Exchange(1, bad);
        EXPECT_EQ(list.GetSessions(bad), nullptr) << bad;
    }
    EXPECT_TRUE(list.Compare(before));
    list.Exchange(1, 2);
    EXPECT_FALSE(list.Compare(before));
    list.Delete(0);
    EXPECT_EQ(list.GetFirst()->Remark, "b");
}

// The design program's exchange sort, as described: the order Sort must leave.
void ExchangeSort(std::vector<TSessionData>& list) {
    for (size_t i = 0; i + 1 < list.size(); ++i)
        for (size_t j = i + 1; j < list.size(); ++j)
            if (!(list[i].Date >= list[j].Date)) std::swap(list[i], list[j]);
}

std::vector<std::string> Remarks(const std::vector<TSessionData>& sessions) {
    std::vector<std::string> remarks;
    for (const TSessionData& s : sessions)
        remarks.push_back(s.Remark);
    return remarks;
}

TSessionList Sessions(const std::vector<double>& dates) {
    TSessionList list;
    for (size_t i = 0; i < dates.size(); ++i)
        list.Add() = {dates[i], int64_t(i), std::to_string(i)};
    return list;
}

TEST(SessionList, SortNewestFirstAsTheExchangeSort) {
    const struct {
        std::vector<double> Dates;
        std::vector<std::string> Expected; // original positions
    } cases[] = {
        {{}, {}},
        {{5}, {"0"}},
        {{1, 2, 3}, {"2", "1", "0"}},
        {{3, 1, 2}, {"0", "2", "1"}},
        // Equal dates do not keep their order.
        {{1, 1, 2}, {"2", "1", "0"}},
        {{1, 3, 1, 2}, {"1", "3", "2", "0"}},
        {{0, 0, 0, 1}, {"3", "1", "2", "0"}},
        {{2, 2, 2}, {"0", "1", "2"}},
        {{2, 2, 1, 1}, {"0", "1", "2", "3"}},
        {{-0.0, 0.0, 1}, {"2", "1", "0"}},
    };
    for (const auto& c : cases) {
        TSessionList list = Sessions(c.Dates);
        list.Sort();
        EXPECT_EQ(Remarks(list.fList), c.Expected) << c.Dates.size();
    }

    // Many ties in every pattern: the same order as the exchange sort, and nothing lost.
    std::mt19937 random(20240315);
    for (int round = 0; round < 400; ++round) {
        std::vector<double> dates(size_t(random() % 60));
        const unsigned distinct = 1 + random() % 8;
        for (double& d : dates)
            d = 45000 + double(random() % distinct);
        TSessionList list = Sessions(dates);
        std::vector<TSessionData> expected = list.fList;
        ExchangeSort(expected);
        list.Sort();
        ASSERT_EQ(Remarks(list.fList), Remarks(expected)) << "round " << round;
    }

    // A date that is no number cannot come from a file; set in code, it still sorts as described.
    const double nan = std::numeric_limits<double>::quiet_NaN();
    TSessionList odd = Sessions({1, nan, 3, 1, nan, 2});
    std::vector<TSessionData> expected = odd.fList;
    ExchangeSort(expected);
    odd.Sort();
    EXPECT_EQ(Remarks(odd.fList), Remarks(expected));
}

} // namespace
