#include <gtest/gtest.h>

#include <stdexcept>

#include "model/KeyValues.h"
#include "model/OrderingCodes.h"

namespace {

using TLines = std::vector<std::string>;
namespace Helper = TOrderingCodeGeneratorHelper;

// The generator as the reader leaves it: sections built and choices checked.
TOrderingCodeGenerator Read(const TLines& lines) {
    TOrderingCodeGenerator g;
    Helper::FromStrings(g, lines);
    g.CheckAll();
    return g;
}

// Sections only, choices exactly as written.
TOrderingCodeGenerator Parse(const TLines& lines) {
    TOrderingCodeGenerator g;
    Helper::FromStrings(g, lines);
    return g;
}

std::string Joined(const TLines& lines) {
    std::string s;
    for (const auto& l : lines)
        s += l + "\r\n";
    return s;
}

// ---------------------------------------------------------------------------------------------
// The text block

TEST(OrderingCodeBlock, HeadersGiveNameSecondNameAndMode) {
    struct Case {
        const char* header;
        const char* name;
        const char* name2;
        TSectionMode mode;
    };
    const Case cases[] = {
        {"[Size]", "[Size]", "", sectionNormal},
        {"  [Size]  ", "[Size]", "", sectionNormal},
        {"[[Size]x[Seal]]", "[[Size]x[Seal]]", "", sectionVariables},
        {"[*Text]", "[*Text]", "", sectionFreeField},
        {"[A]+[B]", "[A]", "[B]", sectionAllowed},
        {"[A] -[B]", "[A]", "[B]", sectionNotAllowed},
        {"[A] - [B]", "[A]", "", sectionNormal}, // the operator must touch the bracket
        {"[A]&[B]", "[A]", "[B]", sectionSimpleAllowed},
        {"[A]^[B]", "[A]", "[B]", sectionSimpleNotAllowed},
        {"[A]+[[B]]", "[A]", "[[B]]", sectionAllowed},
        {"[A]+[B", "[A]", "", sectionNormal}, // no second name: an ordinary field
        {"[A]+[", "[A]", "", sectionNormal},  // too short for a rule
        {"[A]*[B]", "[A]", "", sectionNormal},
        {"[/codelist/]", "[/codelist/]", "", sectionSpecial},
        {"[/Defaults/]", "[/Defaults/]", "", sectionSpecial},
        {"[/IPORTS/]+[X]", "[/IPORTS/]", "[X]", sectionSpecial},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.header);
        TOrderingCodeGenerator g = Parse({c.header, "k=v"});
        ASSERT_EQ(g.Count(), 1);
        const TOrderingCodeSectionData& d = g.Sections(0).Data();
        EXPECT_EQ(d.Name, c.name);
        EXPECT_EQ(d.Name2, c.name2);
        EXPECT_EQ(d.Mode, c.mode);
        EXPECT_EQ(g.Sections(0).Count(), 1);
    }
}

TEST(OrderingCodeBlock, KeyLinesAndLostKeys) {
    TOrderingCodeGenerator g =
        Parse({"orphan=before any header", "[Size", "lost=with its header", "[Size]",
               "M10=Size 10||PMax=350|Weight=2", "M12=", "  End.  ", "a=b=c||x||y", "M10 =spaced"});
    ASSERT_EQ(g.Count(), 1);
    const auto& keys = g.Sections(0).fKeys;
    ASSERT_EQ(keys.size(), 5u);
    EXPECT_EQ(keys[0], TOrderingCodeKey::Make("M10", "Size 10", "PMax=350|Weight=2"));
    EXPECT_EQ(keys[1], TOrderingCodeKey::Make("M12", "", ""));
    EXPECT_EQ(keys[2], TOrderingCodeKey::Make("End.", "", ""));
    EXPECT_EQ(keys[3], TOrderingCodeKey::Make("a", "b=c", "x||y"));
    EXPECT_EQ(keys[4], TOrderingCodeKey::Make("M10 ", "spaced", "")); // the name is not trimmed again
}

TEST(OrderingCodeBlock, SelectionsOnTheHeader) {
    struct Case {
        const char* header;
        int itemIndex;
    };
    const Case cases[] = {
        {"[Size]=m10", 1},       // names compare ignoring case
        {"[Size]=M12", -1},      // names no key: no choice
        {"[Size]=@@", -1},       // the writer's "none"
        {"[Size]", -1},          // no selection at all
        {"[Size]=M10||junk", 1}, // the selection ends at "||"
        {"[Size] =M8", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.header);
        TOrderingCodeGenerator g = Read({c.header, "M8", "M10"});
        EXPECT_EQ(g.Sections(0).ItemIndex(), c.itemIndex);
    }
    // A section with a single option has it chosen, written or not.
    EXPECT_EQ(Read({"[Seal]", "V=Viton"}).Sections(0).ItemIndex(), 0);
    EXPECT_EQ(Read({"[Seal]=N", "V=Viton"}).Sections(0).ItemIndex(), 0);
}

TEST(OrderingCodeBlock, ReaderStopsAtItsTerminatorInAnyCase) {
    TRecordReader r(
        "[Size]=M10\r\n\r\n*M8=star lines are keys\r\nEnd.\r\nM10\r\nendflexiblecode.\r\nNext=1\r\n",
        TRecordVariant::UniCode);
    TOrderingCodeGenerator g;
    EXPECT_EQ(TOrderingCodeGeneratorReader::Load(r, g), TOrderingCodeBlockEnd::Terminated);
    EXPECT_EQ(r.DamagedRecords(), 0);
    ASSERT_EQ(g.Count(), 1);
    EXPECT_EQ(g.Sections(0).Count(), 3);
    EXPECT_EQ(g.Sections(0).SelectedKey(), "M10");
    std::string key, value;
    ASSERT_TRUE(r.NextTopLevelKey(key, value, "END."));
    EXPECT_EQ(key, "NEXT");
}

TEST(OrderingCodeBlock, UnterminatedBlockEndsAtTheRecordEndAsDamaged) {
    // Without its terminator the block must not swallow the rest of the file: it stops at the
    // BOM record's end, which the record reader then no longer sees.
    TRecordReader r("[Size]=M10\r\nM8\r\nM10\r\n  EndBom. =no end\r\n  ENDBOM.  \r\nHandle=7\r\n",
                    TRecordVariant::UniCode);
    TOrderingCodeGenerator g;
    EXPECT_EQ(TOrderingCodeGeneratorReader::Load(r, g), TOrderingCodeBlockEnd::RecordEnd);
    EXPECT_EQ(r.DamagedRecords(), 1);
    ASSERT_EQ(g.Count(), 1);
    EXPECT_EQ(g.Sections(0).Count(), 3); // "EndBom. =no end" is an option
    EXPECT_EQ(g.Sections(0).SelectedKey(), "M10");
    std::string key, value;
    ASSERT_TRUE(r.NextTopLevelKey(key, value, "END."));
    EXPECT_EQ(key, "HANDLE");

    TRecordReader cut("[Size]\r\nM8\r\n", TRecordVariant::UniCode);
    EXPECT_EQ(TOrderingCodeGeneratorReader::Load(cut, g), TOrderingCodeBlockEnd::TextEnd);
    EXPECT_EQ(cut.DamagedRecords(), 1);
    EXPECT_EQ(g.Sections(0).SelectedKey(), "M8");
}

TEST(OrderingCodeBlock, WriterFormAndRoundTrip) {
    const TLines lines = {"[Size]=M10",
                          "M8=Size 8",
                          "M10=Size 10||PMax=350",
                          "[Seal]",
                          "N=",
                          "V=Viton",
                          "[Size]+[Seal]",
                          "M8=V",
                          "[Size]&[Seal]",
                          "M10=N",
                          "[[Size]x[Seal]]",
                          "M8xV=||Weight=2",
                          "[*Text]",
                          "Description=Your text",
                          "Value=abc",
                          "[/CodeList/]",
                          "M10=NO||Price=1",
                          "[/IPorts/]",
                          "A=B"};
    TOrderingCodeGenerator g = Parse(lines);
    TRecordWriter w;
    TOrderingCodeGeneratorWriter::Save(w, g);
    EXPECT_EQ(w.Text(), "FlexibleCode:\r\n" + Joined(lines) + "EndFlexibleCode.\r\n");

    TRecordReader r(w.Text(), TRecordVariant::UniCode);
    std::string key, value;
    ASSERT_TRUE(r.NextTopLevelKey(key, value, ""));
    ASSERT_EQ(key, "FLEXIBLECODE:");
    TOrderingCodeGenerator back;
    TOrderingCodeGeneratorReader::Load(r, back);
    TOrderingCodeGenerator checked = g;
    checked.CheckAll();
    EXPECT_TRUE(back.Compare(checked));

    TRecordWriter none;
    TOrderingCodeGeneratorWriter::Save(none, TOrderingCodeGenerator{});
    EXPECT_EQ(none.Text(), "");
}

// ---------------------------------------------------------------------------------------------
// Copies and comparison

TEST(OrderingCodeGenerator, CopiesAreDeepAndCompareByContent) {
    TOrderingCodeGenerator g = Read({"[Size]=M10", "M8", "M10", "[Seal]", "N", "V"});
    TOrderingCodeGenerator copy;
    copy.Assign(g);
    EXPECT_TRUE(copy.Compare(g));
    copy.Sections(0).SetItemIndex(0);
    EXPECT_FALSE(copy.Compare(g));
    EXPECT_EQ(g.Sections(0).SelectedKey(), "M10");
    auto clone = g.Clone();
    clone->Sections(1).Keys(0).Fields = "x";
    EXPECT_FALSE(clone->Compare(g));
    copy.Assign(copy); // assigning itself keeps it
    EXPECT_EQ(copy.Count(), 2);
    EXPECT_FALSE(copy.IsFilledIn()); // [Seal] has no choice
    copy.Sections(1).SetItemIndex(1);
    EXPECT_TRUE(copy.IsFilledIn());
}

// ---------------------------------------------------------------------------------------------
// Rules

// Sections [A] (a1, a2) and [B] (b1, b2), A's choice as given, and one rule section.
TOrderingCodeGenerator WithRule(const char* chosenInA, const char* ruleHeader, const TLines& ruleLines) {
    TLines lines = {std::string("[A]") + (chosenInA ? std::string("=") + chosenInA : ""),
                    "a1",
                    "a2",
                    "[B]",
                    "b1",
                    "b2",
                    ruleHeader};
    lines.insert(lines.end(), ruleLines.begin(), ruleLines.end());
    return Parse(lines);
}

TEST(OrderingCodeRules, AllowedOptionsOfTheSecondSection) {
    struct Case {
        const char* name;
        const char* chosenInA;
        const char* header;
        TLines rule;
        std::vector<int> allowedInB;
    };
    const Case cases[] = {
        {"pair allowed", "a1", "[A]+[B]", {"a1=b1"}, {0}},
        {"pair allowed written backwards", "a1", "[A]+[B]", {"b1=a1"}, {0}},
        {"pair rule named the other way round", "A1", "[B]+[A]", {"a1=b1"}, {0}},
        {"pair allowed, other option chosen", "a2", "[A]+[B]", {"a1=b1"}, {}},
        {"pair forbidden", "a1", "[A]-[B]", {"a1=b1"}, {1}},
        {"pair rule, nothing chosen", nullptr, "[A]+[B]", {"a1=b1"}, {0, 1}},
        {"simple allowed", "a1", "[A]&[B]", {"a1=b1"}, {0}},
        {"simple allowed, list of names", "a2", "[A]&[B]", {"a1;a2=b1"}, {0}},
        {"simple allowed, list of values", "a1", "[A]&[B]", {"a1=b2;B1"}, {0, 1}},
        {"simple allowed, option not named", "a2", "[A]&[B]", {"a1=b1"}, {}},
        {"simple forbidden", "a1", "[A]^[B]", {"a1;a2=b1"}, {1}},
        {"simple rule the wrong way round", "a1", "[B]&[A]", {"a1=b1", "b1=a1"}, {0, 1}},
        {"simple rule, nothing chosen", nullptr, "[A]&[B]", {"a1=b1"}, {0, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TOrderingCodeGenerator g = WithRule(c.chosenInA, c.header, c.rule);
        EXPECT_EQ(g.CreateListAllowedItems(1), c.allowedInB);
        EXPECT_EQ(g.CountAllowedItems(1), int(c.allowedInB.size()));
        for (int k = 0; k < 2; ++k)
            EXPECT_EQ(g.IsAllowed(1, k), std::count(c.allowedInB.begin(), c.allowedInB.end(), k) == 1);
    }
}

TEST(OrderingCodeRules, RuleKindsAndIndices) {
    // A simple rule anywhere switches the pair rules off.
    TOrderingCodeGenerator g = WithRule("a1", "[A]+[B]", {"a1=b1", "[A]^[C]", "a1=c1", "[C]", "c1", "c2"});
    EXPECT_TRUE(g.UseSimpleAllowed());
    EXPECT_EQ(g.CreateListAllowedItems(1), (std::vector<int>{0, 1}));
    EXPECT_EQ(g.CreateListAllowedItems(4), (std::vector<int>{1}));

    // The first chosen section with a rule decides alone.
    TOrderingCodeGenerator pairs =
        Parse({"[A]=a1", "a1", "[C]=c1", "c1", "[B]", "b1", "b2", "[A]+[B]", "a1=b1", "[C]+[B]", "c1=b2"});
    EXPECT_EQ(pairs.CreateListAllowedItems(2), (std::vector<int>{0}));

    EXPECT_FALSE(pairs.IsAllowed(-1, 0));
    EXPECT_FALSE(pairs.IsAllowed(2, -1));
    EXPECT_TRUE(g.IsSimpleAllowed(1, -1));
    EXPECT_THROW(pairs.IsAllowed(2, 2), std::out_of_range);
    EXPECT_THROW(pairs.CreateListAllowedItems(9), std::out_of_range);
}

TEST(OrderingCodeRules, ValidationDropsForbiddenChoicesAndFillsSingleOnes) {
    // a1 does not go with b2: dropped, and a2, the only option left, is chosen. That choice
    // already counts for C after it, where it leaves c1 alone.
    TOrderingCodeGenerator g = Read({"[A]=a1", "a1", "a2", "[B]=b2", "b1", "b2", "[C]", "c1", "c2", "[A]+[B]",
                                     "a1=b1", "a2=b1", "a2=b2", "[A]-[C]", "a2=c2"});
    EXPECT_EQ(g.Sections(0).SelectedKey(), "a2");
    EXPECT_EQ(g.Sections(1).SelectedKey(), "b2");
    EXPECT_EQ(g.Sections(2).SelectedKey(), "c1");

    // A choice set outside the keys is dropped rather than read.
    TOrderingCodeGenerator free = Read({"[S]", "s1", "s2"});
    free.Sections(0).SetItemIndex(7);
    EXPECT_EQ(free.Sections(0).SelectedKey(), "?");
    free.CheckSection(0);
    EXPECT_EQ(free.Sections(0).ItemIndex(), -1);
}

// ---------------------------------------------------------------------------------------------
// The code

TEST(OrderingCodeEvaluation, TemplatesIncludingOddBrackets) {
    TOrderingCodeGenerator g = Read({"[Size]=M10", "M8", "M10", "[Seal]", "N", "V", "[*Text]",
                                     "Description=Say", "Value=abc", "[*Empty]", "Description=Nothing"});
    struct Case {
        const char* emptyString;
        const char* code;
    };
    const Case cases[] = {
        {"", ""},
        {"XY10", "XY10"},
        {"XY-[Size]-[Seal]", "XY-M10-?"}, // no choice in [Seal]
        {"XY-[size]", "XY-M10"},
        {"XY-[Missing]", "XY-?"},
        {"[*Text]/[*Empty]", "abc/"},
        {"A[Size", "A?"},
        {"A]B", "A]B"},
        {"]]x[[Size]]", "x?M10"},
        {"[[[", "???"},
        {"[Size][Size]", "M10M10"},
        {"[]", "?"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.emptyString);
        EXPECT_EQ(g.GetOrderingCode(c.emptyString), c.code);
    }
    EXPECT_EQ(Helper::CreateListFlexibleSections("]]x[[Size]]-[Seal]"), (TLines{"[", "[Size]", "[Seal]"}));
}

TEST(OrderingCodeEvaluation, SelectedTexts) {
    TOrderingCodeGenerator g = Parse({"[Size]=M10", "M10=Size 10", "[Seal]=", "=none", "[Bare]=x", "x"});
    EXPECT_EQ(g.Sections(0).SelectedDisplayDescription(), "M10 - Size 10");
    EXPECT_EQ(g.Sections(0).SelectedDisplayDescriptionAsHint(), "M10 (Size 10)");
    EXPECT_EQ(g.Sections(1).SelectedDisplayDescription(), "(empty) - none");
    EXPECT_EQ(g.Sections(2).SelectedDisplayDescriptionAsHint(), "x");
    g.Sections(2).SetItemIndex(-1);
    EXPECT_EQ(g.Sections(2).SelectedDisplayDescription(), "?");
}

TEST(OrderingCodeEvaluation, FreeFieldValue) {
    TOrderingCodeGenerator g = Parse({"[*Text]", "description=Prompt", "[Size]", "Value=x"});
    TOrderingCodeSection& text = g.Sections(0);
    EXPECT_EQ(text.FreeFieldDescription(), "Prompt");
    EXPECT_EQ(text.FreeFieldValue(), "");
    text.SetFreeFieldValue("abc");
    EXPECT_EQ(text.Keys(1), TOrderingCodeKey::Make("Value", "abc", ""));
    text.SetFreeFieldValue("def");
    EXPECT_EQ(text.FreeFieldValue(), "def");
    EXPECT_EQ(text.Count(), 2);
    text.SetFreeFieldValue("");
    EXPECT_EQ(text.Count(), 1);
    // Other sections have no free text.
    EXPECT_EQ(g.Sections(1).FreeFieldValue(), "");
    g.Sections(1).SetFreeFieldValue("y");
    EXPECT_EQ(g.Sections(1).Keys(0).Description, "x");
}

TEST(OrderingCodeVariables, SeparatorNamesAndMatchingKey) {
    TOrderingCodeGenerator g =
        Parse({"[A]", "a1", "a2", "[B]=b1", "b1", "b2", "[[A]+[B]]", "a1+b1=||Weight=1", "?+B1=||Weight=2",
               "a2+b1+x=||Weight=3", "[[A] x [B]]", "a2xb1"});
    const TOrderingCodeSection& plus = g.Sections(2);
    EXPECT_EQ(plus.GetSeparator(), "+");
    EXPECT_EQ(plus.CreateSectionNameList(), (TLines{"[A]", "[B]"}));
    EXPECT_EQ(g.Sections(3).GetSeparator(), "x");
    EXPECT_EQ(g.Sections(3).CreateSectionNameList(), (TLines{"[A]", "[B]"}));
    EXPECT_EQ(plus.CreateKeyValueList(TOrderingCodeKey::Make("a1+", "", "")), (TLines{"a1", ""}));

    EXPECT_EQ(g.IndexInVarablesSection(plus), 1); // A has no choice: "?"
    g.Sections(0).SetItemIndex(0);
    EXPECT_EQ(g.IndexInVarablesSection(plus), 0);
    g.Sections(0).SetItemIndex(1);
    EXPECT_EQ(g.IndexInVarablesSection(plus), -1); // three values for two names
    EXPECT_EQ(g.IndexInVarablesSection(g.Sections(3)), 0);
    EXPECT_EQ(g.IndexInVarablesSection(g.Sections(0)), -1); // not a variables section
}

TEST(OrderingCodeCodeList, LookUpPurgeAndMerge) {
    struct Case {
        TLines keys;
        const char* code;
        int index;
    };
    const Case cases[] = {
        {{"AB", "ABCD"}, "ABCDEF", 0},
        {{"XY", "ABCD"}, "ABCDEF", -1}, // the cut to XY's length stays for ABCD
        {{"ABCDEFGH", "abcdef"}, "ABCDEF", 1},
        {{}, "AB", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        TLines lines = {"[/CodeList/]"};
        lines.insert(lines.end(), c.keys.begin(), c.keys.end());
        EXPECT_EQ(Parse(lines).IndexOfCode(c.code), c.index);
    }
    EXPECT_EQ(TOrderingCodeGenerator{}.IndexOfCode("AB"), -1);

    TOrderingCodeGenerator g = Parse(
        {"[/CodeList/]", "A1= no ", "A2=Yes", "A3=", "A4=YES||Price=3", "A5=maybe", "[/codelist/]", "A2=NO"});
    EXPECT_FALSE(g.IsAllowedInCodeList("A1-extra"));
    EXPECT_TRUE(g.IsAllowedInCodeList("A2")); // the first code list wins
    EXPECT_TRUE(g.IsAllowedInCodeList("Z"));
    g.PurgeCodeList();
    EXPECT_EQ(g.CodeList()->fKeys,
              (std::vector<TOrderingCodeKey>{TOrderingCodeKey::Make("A1", " no", ""),
                                             TOrderingCodeKey::Make("A4", "YES", "Price=3"),
                                             TOrderingCodeKey::Make("A5", "maybe", "")}));
    Helper::MergeCodeList(g, {"a5", "B1"});
    EXPECT_EQ(g.CodeList()->fKeys, (std::vector<TOrderingCodeKey>{TOrderingCodeKey::Make("A5", "maybe", ""),
                                                                  TOrderingCodeKey::Make("B1", "Yes", "")}));

    TOrderingCodeGenerator fresh = Read({"[Size]=M8", "M8", "M10"});
    Helper::MergeCodeList(fresh, {"M8"});
    ASSERT_NE(fresh.CodeList(), nullptr);
    EXPECT_TRUE(fresh.IsFilledIn()); // the new list is no field waiting for a choice
}

TEST(OrderingCodeFieldsToUse, OrderOfTheTexts) {
    TOrderingCodeGenerator g = Read({"[A]=a1", "a1=||FromA", "a2=||NotChosen", "[B]=b1", "b1", "b2",
                                     "[/CodeList/]", "XY=||FromCodeList", "[[A]+[B]]",
                                     "a1+b1=||FromVariables", "[/Defaults/]", "=||D1", "=", "=||D2"});
    EXPECT_EQ(g.CreateListFieldsToUse("XY-a1"),
              (TLines{"D1", "D2", "FromA", "FromVariables", "FromCodeList"}));
    EXPECT_EQ(g.CreateListFieldsToUse(""), (TLines{"D1", "D2", "FromA", "FromVariables"}));
    EXPECT_EQ(TOrderingCodeSectionHelper::CreateCompleteFieldList(g.Sections(0)),
              (TLines{"FromA", "NotChosen"}));
}

// ---------------------------------------------------------------------------------------------
// Every code

TEST(OrderingCodeCreateAll, CodesInOrderUnderTheSimpleRules) {
    TOrderingCodeGenerator g = Read({"[A]", "a1", "a2", "[B]", "b1", "b2"});
    EXPECT_EQ(Helper::CreateAll(g, "X[A]-[B]"), (TLines{"Xa1-b1", "Xa1-b2", "Xa2-b1", "Xa2-b2"}));
    EXPECT_EQ(Helper::CreateAll(g, "[A][Missing]"), TLines{});
    EXPECT_EQ(Helper::CreateAll(g, "plain"), TLines{"plain"});

    TOrderingCodeGenerator simple =
        Read({"[A]", "a1", "a2", "[B]", "b1", "b2", "[A]&[B]", "a1=b1", "a2=b1;b2"});
    EXPECT_EQ(Helper::CreateAll(simple, "[A][B]"), (TLines{"a1b1", "a2b1", "a2b2"}));
    // Pair rules are not applied while enumerating.
    TOrderingCodeGenerator pairs = Read({"[A]", "a1", "a2", "[B]", "b1", "b2", "[A]+[B]", "a1=b1"});
    EXPECT_EQ(Helper::CreateAll(pairs, "[A][B]").size(), 4u);

    // Codes already listed, in any case, are not added again; free fields take their text.
    TOrderingCodeGenerator dup = Read({"[A]", "x", "X", "y", "[*T]", "Value=t"});
    TLines codes = {"Y-t"};
    EXPECT_EQ(Helper::CreateAll(dup, "[A]-[*T]", codes), TCreateAllStop::None);
    EXPECT_EQ(codes, (TLines{"Y-t", "x-t"}));
}

// n sections [F0] ... [Fn-1] of `options` options each, and the template naming all of them.
std::pair<TOrderingCodeGenerator, std::string> Wide(int n, int options) {
    TLines lines;
    std::string emptyCode;
    for (int i = 0; i < n; ++i) {
        const std::string name = "[F" + std::to_string(i) + "]";
        lines.push_back(name);
        for (int k = 0; k < options; ++k)
            lines.push_back(std::to_string(k));
        emptyCode += name;
    }
    return {Parse(lines), emptyCode};
}

TEST(OrderingCodeCreateAll, StopsPastTheResultCap) {
    auto [g, emptyCode] = Wide(30, 10); // 10^30 codes
    TLines codes;
    EXPECT_EQ(Helper::CreateAll(g, emptyCode, codes), TCreateAllStop::TooManyResults);
    ASSERT_GT(codes.size(), Helper::CreateAllMaxResults + 2);
    EXPECT_LE(codes.size(), Helper::CreateAllMaxResults + 4);
    EXPECT_EQ(codes.front(), "Too many results (>32000).....list incomplete");
    EXPECT_EQ(codes.back(), "Too many results.....aborted");
    EXPECT_EQ(codes[1], std::string(30, '0'));

    // A caller's smaller budget: an eighth still reaches the cap on codes this short, a tiny one
    // stops on the work first, with the same marker lines.
    TLines eighth;
    EXPECT_EQ(Helper::CreateAll(g, emptyCode, eighth, Helper::CreateAllWorkLimit / 8),
              TCreateAllStop::TooManyResults);
    TLines tiny;
    EXPECT_EQ(Helper::CreateAll(g, emptyCode, tiny, 8192), TCreateAllStop::WorkLimit);
    ASSERT_GE(tiny.size(), 3u);
    EXPECT_LT(tiny.size(), 40u);
    EXPECT_EQ(tiny.front(), codes.front());
    EXPECT_EQ(tiny[1], codes[1]);
    EXPECT_EQ(tiny.back(), codes.back());
}

TEST(OrderingCodeCreateAll, WorkLimitBoundsWhatTheResultCapCannot) {
    struct Case {
        const char* name;
        TOrderingCodeGenerator generator;
        std::string emptyCode;
    };
    auto [wide, wideCode] = Wide(29, 10);
    std::vector<Case> cases;
    // Every one of 10^29 combinations runs into a field without a section: no code, ever.
    cases.push_back({"no code at the end", std::move(wide), wideCode + "[Missing]"});
    // Options that bring their own field back never finish a code.
    cases.push_back({"option naming its field", Parse({"[A]", "x[A]", "y[A]"}), "[A]"});
    cases.push_back({"free text naming its field", Parse({"[*T]", "Value=[*T]."}), "-[*T]-"});
    // Forty options all named alike give one code over and over.
    TLines same = {"[S]"};
    for (int i = 0; i < 40; ++i)
        same.push_back("s");
    std::string sameCode;
    for (int i = 0; i < 8; ++i)
        sameCode += "[S]";
    cases.push_back({"one code over and over", Parse(same), sameCode});
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        TLines codes;
        EXPECT_EQ(Helper::CreateAll(c.generator, c.emptyCode, codes), TCreateAllStop::WorkLimit);
        ASSERT_GE(codes.size(), 2u);
        EXPECT_LE(codes.size(), 3u);
        EXPECT_EQ(codes.front(), "Too many results (>32000).....list incomplete");
        EXPECT_EQ(codes.back(), "Too many results.....aborted");
    }
}

} // namespace
