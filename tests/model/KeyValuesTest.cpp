#include <gtest/gtest.h>

#include "model/IntegerLists.h"
#include "model/KeyValues.h"

namespace {

struct SplitCase {
    std::string line, key, value;
};

TEST(RecordFormat, SplitKeyValue) {
    const SplitCase cases[] = {
        {"  Handle = 12 ", "HANDLE", "12"},
        {"Caption=a=b = c", "CAPTION", "a=b = c"},
        {"  End.", "END.", ""},
        {"end.", "END.", ""},
        {" *not a comment", "*NOT A COMMENT", ""},
        {"\tLayerName=\tTëxt ø ", "LAYERNAME", "Tëxt ø"},
        {"straße=1", "STRAßE", "1"}, // only ASCII letters change case
        {"=", "", ""},
    };
    for (const auto& c : cases) {
        std::string k, v;
        SplitKeyValue(c.line, k, v);
        EXPECT_EQ(k, c.key) << c.line;
        EXPECT_EQ(v, c.value) << c.line;
    }
}

TEST(RecordFormat, YesNoAndNumbers) {
    EXPECT_TRUE(YesNoToBool("yes"));
    EXPECT_TRUE(YesNoToBool("  YeS "));
    EXPECT_FALSE(YesNoToBool("True"));
    EXPECT_FALSE(YesNoToBool("1"));
    EXPECT_EQ(BoolToYesNo(true), "Yes");

    EXPECT_EQ(ParseRecordInt("-42"), -42);
    EXPECT_EQ(ParseRecordInt("+7"), 7);
    EXPECT_FALSE(ParseRecordInt("12a"));
    EXPECT_FALSE(ParseRecordInt("1.5"));
    EXPECT_FALSE(ParseRecordInt("99999999999"));
    EXPECT_FALSE(ParseRecordInt(""));

    EXPECT_DOUBLE_EQ(ParseRecordFloat("2.5", 1), 2.5);
    EXPECT_DOUBLE_EQ(ParseRecordFloat("-1.5e2", 1), -150);
    EXPECT_DOUBLE_EQ(ParseRecordFloat("+.5", 1), 0.5);
    EXPECT_DOUBLE_EQ(ParseRecordFloat("2,5", 1), 1); // only "." separates decimals
    EXPECT_DOUBLE_EQ(ParseRecordFloat("abc", 7), 7);
    EXPECT_DOUBLE_EQ(ParseRecordFloat("inf", 1), 1);
    EXPECT_DOUBLE_EQ(ParseRecordFloat("nan", 0), 0);
    EXPECT_DOUBLE_EQ(ParseRecordFloat("1e999", 1), 1);
}

TEST(RecordFormat, FormatRecordFloat) {
    const std::pair<double, const char*> cases[] = {
        {1, "1"},          {0.5, "0.5"},     {2.25, "2.25"}, {1.0 / 3, "0.33333"}, {0.1, "0.1"}, {100, "100"},
        {12.000004, "12"}, {-3.75, "-3.75"}, {0, "0"},       {-0.000001, "0"},
    };
    for (const auto& [v, text] : cases)
        EXPECT_EQ(FormatRecordFloat(5, v), text) << v;
    // Whatever is written reads back.
    EXPECT_FLOAT_EQ(float(ParseRecordFloat(FormatRecordFloat(5, 123456789.0), 0)), 123456789.0f);
}

TEST(RecordFormat, TrimTrailingZeros) {
    const std::pair<const char*, const char*> cases[] = {
        {"1.500", "1.5"}, {"2.000", "2"}, {"10.05", "10.05"}, {"0.0", "0"}, {"-0.00", "-0"},
        {"1.", "1"},      {"100", "100"}, {"1.000000", "1"},  {"", ""},     {"1200", "1200"},
    };
    for (const auto& [in, out] : cases) {
        std::string s = in;
        TrimTrailingZeros(s);
        EXPECT_EQ(s, out) << in;
    }
}

TEST(RecordFormat, SameFloatTolerance) {
    EXPECT_TRUE(SameFloat(1.0, 1.0 + 1e-13));
    EXPECT_FALSE(SameFloat(1.0, 1.0 + 1e-9));
    EXPECT_TRUE(SameFloat(0, 5e-13));
    EXPECT_TRUE(SameFloat(1e6, 1e6 + 1e-7));
}

TEST(RecordFormat, IntegerList) {
    TIntegerList l;
    l.SetAsString("3;x;5");
    EXPECT_EQ(l.fItems, (std::vector<int32_t>{3, 5}));
    EXPECT_EQ(l.AsString(), "3;5");
    l.SetAsString("");
    EXPECT_EQ(l.Count(), 0);
}

TEST(RecordFormat, KeyValueParser) {
    TKeyValue kv;
    kv.ParseFromString("EndJoinablePort.");
    EXPECT_TRUE(kv.HasKey());
    EXPECT_FALSE(kv.IsEnd());
    kv.ParseFromString("  end. ");
    EXPECT_TRUE(kv.HasKey());
    EXPECT_TRUE(kv.IsEnd());
    kv.ParseFromString("word");
    EXPECT_FALSE(kv.HasKey());
    EXPECT_FALSE(kv.HasKeyAndValue());
    EXPECT_FALSE(kv.IsKey("word"));
    kv.ParseFromString(" Option Code = a=b ");
    EXPECT_TRUE(kv.HasKeyAndValue());
    EXPECT_EQ(kv.Key(), "Option Code");
    EXPECT_EQ(kv.Value(), "a=b");
    EXPECT_TRUE(kv.IsKey("OPTION CODE"));
    kv.TrimKey();
    EXPECT_EQ(kv.Key(), "OptionCode");
    kv.ParseFromString("N=x");
    EXPECT_EQ(kv.IntValue(), -1);
    EXPECT_DOUBLE_EQ(kv.FloatValue(), 0);
}

TEST(RecordFormat, LineBreaksAndComments) {
    // CR LF, LF and lone CR all end lines in the current variant; "*" starts a comment only
    // in the first column.
    TRecordReader r("\xEF\xBB\xBF"
                    "a=1\r\nb=2\nc=3\rd=4\r\n\r\n*x=9\n e=5",
                    TRecordVariant::UniCode);
    std::vector<std::string> seen;
    std::string k, v;
    while (!r.AtEnd())
        if (r.ReadRecordLine(k, v)) seen.push_back(k + v);
    EXPECT_EQ(seen, (std::vector<std::string>{"A1", "B2", "C3", "D4", "E5"}));

    // The legacy variant ends lines at LF only.
    TRecordReader legacy("a=1\r\nb=2\rc=3\n", TRecordVariant::Legacy);
    seen.clear();
    while (!legacy.AtEnd())
        if (legacy.ReadRecordLine(k, v)) seen.push_back(k + v);
    EXPECT_EQ(seen, (std::vector<std::string>{"A1", "B2\rc=3"}));
}

struct NextKeyCase {
    const char* name;
    const char* text;
    std::vector<std::string> keys; // key=value of each line the record yields
    std::vector<std::string> rest; // what the reader finds after the record
};

TEST(RecordFormat, NextKeyReadsOneRecord) {
    const NextKeyCase cases[] = {
        {"terminator ends the record and is consumed",
         "a=1\r\nb=2\r\nEND.\r\nc=3\r\n",
         {"A=1", "B=2"},
         {"C=3"}},
        {"terminator compared after the key is split", "a=1\r\n    End.  \r\nc=3", {"A=1"}, {"C=3"}},
        {"blank, spaces-only and comment lines passed over",
         "\r\n   \r\n*End.\r\na=1\r\n\r\nEnd.\r\nc=3",
         {"A=1"},
         {"C=3"}},
        {"another record's terminator is an ordinary key", "EndAttribute.\nEnd.\n", {"ENDATTRIBUTE.="}, {}},
        {"end of text without terminator", "a=1\r\nb=2", {"A=1", "B=2"}, {}},
        {"empty text", "", {}, {}},
        {"empty record", "End.\r\nc=3", {}, {"C=3"}},
    };
    for (const auto& c : cases) {
        TRecordReader r(c.text, TRecordVariant::UniCode);
        std::vector<std::string> keys, rest;
        std::string k, v;
        while (r.NextKey(k, v, "END."))
            keys.push_back(k + "=" + v);
        while (!r.AtEnd())
            if (r.ReadRecordLine(k, v)) rest.push_back(k + "=" + v);
        EXPECT_EQ(keys, c.keys) << c.name;
        EXPECT_EQ(rest, c.rest) << c.name;
    }
}

// Skipping a record that is nested too deep: the lines after it are read again, whatever nested
// records with other terminators it holds.
TEST(RecordFormat, SkippingARecordStopsAtItsOwnEnd) {
    const struct {
        const char* Name;
        const char* Body;
    } cases[] = {
        {"nested records", "Symbol:\r\n  Text:\r\n  End.\r\nEnd.\r\n"},
        {"table cells", "Table:\r\n  StringCellStart:\r\n  StringCellEnd.\r\n  FloatCellStart:\r\n"
                        "  FloatCellEnd.\r\nEnd.\r\n"},
        {"an empty comment line", "IBorder:\r\n  Comments:=\r\n  Comments:=x\r\nEndIBorder.\r\n"},
    };
    for (const auto& c : cases) {
        // The keyword line of the skipped record has been read by its owner.
        TRecordReader r(std::string(c.Body).substr(std::string(c.Body).find('\n') + 1) + "After=1\r\n",
                        TRecordVariant::UniCode);
        r.SkipRecord();
        std::string k, v;
        ASSERT_TRUE(r.ReadRecordLine(k, v)) << c.Name;
        EXPECT_EQ(k, "AFTER") << c.Name;
        EXPECT_EQ(r.DamagedRecords(), 1) << c.Name;
    }
}

TEST(RecordFormat, Writers) {
    TRecordWriter w;
    w.WriteIntIfChanged("  Handle", 5, -1);
    w.WriteIntIfChanged("  Skip", 0, 0);
    w.WriteFloatIfChanged("  Scale", 1, 1.0 + 1e-14);
    w.WriteFloatIfChanged("  Rot", 0, 0.1);
    w.WriteBoolIfChanged("  Fill", true, false);
    w.WriteStringIfChanged("  Layer", "Text", "Text");
    w.WritePointIfChanged("  P", {3, -4}, {0, 0});
    w.WritePointRecord("Start", {1, 2});
    EXPECT_EQ(
        w.Text(),
        "  Handle=5\r\n  Rot=0.1\r\n  Fill=Yes\r\n  P=3,-4\r\n  Start\r\n    X=1\r\n    Y=2\r\n  End.\r\n");
}

TEST(RecordFormat, Utf8ValidationAndLegacyDecoding) {
    EXPECT_TRUE(IsValidUtf8("plain ascii"));
    EXPECT_TRUE(IsValidUtf8("\xC3\xB8 \xE2\x82\xAC \xF0\x9F\x98\x80"));
    EXPECT_FALSE(IsValidUtf8("\xF8"));
    EXPECT_FALSE(IsValidUtf8("\xC3"));            // cut off
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));        // overlong
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));    // surrogate
    EXPECT_FALSE(IsValidUtf8("abcdefghijk\xFF")); // after the fast path
    EXPECT_EQ(Windows1252ToUtf8("\xF8\x80\x41"), "\xC3\xB8\xE2\x82\xAC"
                                                 "A");
}

} // namespace
