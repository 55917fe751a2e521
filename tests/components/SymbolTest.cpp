#include <gtest/gtest.h>

#include "support/Records.h"

#include "components/SymbolObjectSymbol.h"
#include "model/KeyValues.h"
#include "objects/AnnotationObjects.h"

namespace {

TEST(ComponentSymbol, OwnKeys) {
    EXPECT_EQ(ReadSymbol("")->fJumpMode, jmVertRight);
    EXPECT_EQ(ReadSymbol("JumpMode=0\r\n")->fJumpMode, jmNone);
    EXPECT_EQ(ReadSymbol("JumpMode=x\r\n")->fJumpMode, jmVertRight);
    EXPECT_EQ(ReadSymbol("JumpMode=77\r\n")->fJumpMode, jmVertRight);
    auto s = ReadSymbol("Rotation=270\r\nMirrorX=Yes\r\nUsePortDisplayNameInBrevind=yes\r\n");
    EXPECT_EQ(s->fRotation, 270);
    EXPECT_TRUE(s->fMirrorX);
    EXPECT_TRUE(s->fUsePortDisplayNameInBrevind);
    EXPECT_FALSE(ReadSymbol("MirrorX=Yes\r\n", TRecordVariant::Legacy)->fMirrorX);
}

TEST(ComponentSymbol, OlderBomFields) {
    auto older = ReadSymbol("ArticleCode=X\r\nWeight=abc\r\nBrevindFile=m.bvd\r\n");
    ASSERT_EQ(older->fBOMList.Count(), 1);
    EXPECT_EQ(older->fBOMList.First()->fData.ArticleCode, "X");
    EXPECT_TRUE(older->fBOMList.First()->fData.UseInBrevind);

    auto withRecord = ReadSymbol("ArticleCode=X\r\nBom:\r\n  ArticleCode=Y\r\nEndBom.\r\n");
    ASSERT_EQ(withRecord->fBOMList.Count(), 1);
    EXPECT_EQ(withRecord->fBOMList.First()->fData.ArticleCode, "Y");

    EXPECT_EQ(ReadSymbol("ArticleCode=\r\nWeight=0\r\nHideInBOM=No\r\n")->fBOMList.Count(), 0);
}

TEST(ComponentSymbol, ItemNumbersBindToRecordsInOrder) {
    auto s = ReadSymbol("Bom:\r\nEndBom.\r\nBom:\r\nEndBom.\r\n"
                        "ItemNumber:\r\n  MainNumber=12\r\n  SubNumber=3\r\nEnd.\r\n"
                        "ItemNumber:\r\n  MainNumber=5\r\n  BOMIndex=0\r\nEnd.\r\n"
                        "ItemNumber:\r\n  MainNumber=13\r\nEnd.\r\n"
                        "ItemNumber:\r\n  MainNumber=14\r\nEnd.\r\n");
    auto item = [&](int i) {
        return static_cast<TSymbolObjectItemNumber*>(s->fSymbolObjectList.SymbolObjects(i));
    };
    EXPECT_EQ(item(0)->fBOMIndex, 0);
    EXPECT_EQ(item(1)->fBOMIndex, 0); // had its index already and does not count
    EXPECT_EQ(item(2)->fBOMIndex, 1);
    EXPECT_EQ(item(3)->fBOMIndex, -1);
    EXPECT_EQ(s->fBOMList.Items(0)->fData.MainItemNumber[0], "12");
    EXPECT_EQ(s->fBOMList.Items(0)->fData.SubItemNumber[0], "3");
    EXPECT_EQ(s->fBOMList.Items(1)->fData.MainItemNumber[0], "13");
    EXPECT_EQ(s->ItemNumber(), "12.3");
}

TEST(ComponentSymbol, Queries) {
    auto hose = ReadSymbol("2PointSymbol:\r\n  SymbolType=Hose\r\nEnd.\r\nPort:\r\nEnd.\r\nSymbol:\r\n  "
                           "Port:\r\n  End.\r\nEnd.\r\n"
                           "Solenoid:\r\nEnd.\r\n");
    EXPECT_TRUE(hose->IsHose());
    EXPECT_EQ(hose->SolenoidCount(), 1);
    auto three = ReadSymbol(
        "2PointSymbol:\r\n  SymbolType=Hose\r\nEnd.\r\nPort:\r\nEnd.\r\nPort:\r\nEnd.\r\nPort:\r\nEnd.\r\n");
    EXPECT_FALSE(three->IsHose());
    EXPECT_FALSE(three->IsFlexibleHousing());
    EXPECT_FALSE(three->IsSandwich());
}

TEST(ComponentSymbol, SolenoidOptionsOfTheDirectChildren) {
    EXPECT_TRUE(ReadSymbol("")->GetSolenoids().none());
    // A solenoid deeper down is not the component's.
    EXPECT_TRUE(ReadSymbol("Symbol:\r\n  Solenoid:\r\n  End.\r\nEnd.\r\n")->GetSolenoids().none());

    auto s = ReadSymbol("Solenoid:\r\n  Button Top=True\r\nEnd.\r\nText:\r\nEnd.\r\n"
                        "Solenoid:\r\n  Proportional=True\r\nEnd.\r\n"
                        "Symbol:\r\n  Solenoid:\r\n  End.\r\nEnd.\r\n");
    EXPECT_EQ(s->GetSolenoids(), SolenoidOptions({solSolenoid, solProportional})); // the last one
    auto* first = static_cast<TSymbolObjectSolenoid*>(s->fSymbolObjectList.SymbolObjects(0));
    auto* second = static_cast<TSymbolObjectSolenoid*>(s->fSymbolObjectList.SymbolObjects(2));
    auto* nested = static_cast<TSymbolObjectSolenoid*>(
        s->fSymbolObjectList.SymbolObjects(3)->fSymbolObjectList.SymbolObjects(0));

    // Include first, then exclude; the solenoid flag itself is not theirs to change.
    s->SetSolenoids(SolenoidOptions({solButtonSide, solPilot, solNone}),
                    SolenoidOptions({solButtonTop, solPilot, solSolenoid}));
    EXPECT_EQ(first->fOptions, SolenoidOptions({solSolenoid, solButtonSide}));
    EXPECT_EQ(second->fOptions, SolenoidOptions({solSolenoid, solButtonSide, solProportional}));
    EXPECT_EQ(nested->fOptions, SolenoidOptions({solSolenoid}));
    EXPECT_EQ(s->GetSolenoids(), second->fOptions);

    s->SetSolenoids(SolenoidOptions({solButtonTop, solProportional}), {});
    EXPECT_EQ(first->fOptions, SolenoidOptions({solSolenoid, solButtonSide, solButtonTop, solProportional}));
    s->SetSolenoids({}, SolenoidOptions({solButtonSide, solButtonTop, solProportional}));
    EXPECT_EQ(first->fOptions, SolenoidOptions({solSolenoid}));
    EXPECT_EQ(second->fOptions, SolenoidOptions({solSolenoid}));
}

} // namespace
