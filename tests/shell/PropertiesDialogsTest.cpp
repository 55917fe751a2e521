// The properties dialogs of components and I-borders, filled from records read as the drawing
// file holds them.
#include "shell/PropertiesDialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "document/ObjectKinds.h"
#include "document/SymbolFile.h"
#include "objects/SheetObjects.h"
#include "shell/BOMDialogSupport.h"
#include "support/Records.h"

namespace {

// Records are read through the object kinds the document registers.
const bool KindsRegistered = (RegisterObjectKinds(), true);

QString TextOf(QWidget& dlg, const char* name) {
    auto* e = dlg.findChild<QLineEdit*>(QString::fromLatin1(name));
    return e ? e->text() : QStringLiteral("<no %1>").arg(QString::fromLatin1(name));
}
QString HintOf(QWidget& dlg, const char* name) {
    return dlg.findChild<QLineEdit*>(QString::fromLatin1(name))->placeholderText();
}
bool Checked(QWidget& dlg, const char* name) {
    return dlg.findChild<QCheckBox*>(QString::fromLatin1(name))->isChecked();
}

const char* const ValveRecord =
    "Symbol:\r\n  Handle=5\r\n"
    "  Bom:\r\n    ArticleCode=DV06\r\n    Manufacturer=Korvane\r\n    Description=4/3 valve\r\n"
    "    Weight=1.5\r\n    PMax=100\r\n    PMaxPSI=1450\r\n    QMax=60\r\n    HideItemNumber=Yes\r\n"
    "    Title=Valve NG6\r\n    Datasheet=dv06.pdf\r\n    Suppliers=Beta;alpha;Gamma\r\n"
    "    ComponentAttribute:\r\n      AttributeTag=SIZE\r\n      AttributeValue=NG6\r\n"
    "    EndComponentAttribute.\r\n"
    "  EndBom.\r\n"
    "  Bom:\r\n    ArticleCode=COIL-24\r\n  EndBom.\r\n"
    "  Bom:\r\n    ArticleCode=PLUG\r\n  EndBom.\r\n"
    "  Attribute:\r\n    Handle=7\r\n    Tag=NOMINAL\r\n    FloatValue=12.5\r\n    FloatingPoint=Yes\r\n"
    "    Decimals=2\r\n  End.\r\n"
    "  Attribute:\r\n    Handle=8\r\n    Tag=NOTE\r\n    Value=seal kit\r\n    Hide=Yes\r\n  End.\r\n"
    "End.\r\n";

TEST(ComponentProperties, OneTabPerRecordAndTheRecordsValues) {
    auto root = ReadSymbol(ValveRecord);
    auto* valve = dynamic_cast<TSymbolObjectSymbol*>(root->fSymbolObjectList.SymbolObjects(0));
    ASSERT_NE(valve, nullptr);
    TSymbolObjectSymbolViewPropertiesDlg dlg(nullptr, *valve);
    dlg.FormActivate();

    ASSERT_EQ(dlg.TabControlBOM->count(), 3);
    EXPECT_EQ(dlg.TabControlBOM->tabText(0), QStringLiteral("Main"));
    EXPECT_EQ(dlg.TabControlBOM->tabText(2), QStringLiteral("Accessory 2"));
    EXPECT_EQ(TextOf(dlg, "EditArticleCode"), QStringLiteral("DV06"));
    EXPECT_EQ(TextOf(dlg, "EditWeight"), QStringLiteral("1.5"));
    EXPECT_EQ(TextOf(dlg, "EditWeightLBS"), QString()); // zero shows empty
    EXPECT_EQ(TextOf(dlg, "EditSize"), QStringLiteral("<no EditSize>"));
    EXPECT_FALSE(Checked(dlg, "CheckBoxShowItemNumber"));
    EXPECT_TRUE(Checked(dlg, "CheckBoxShowInBOM"));
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Component - Valve NG6"));
    // Each value's twin in the other unit system is its hint: psi from bar and back.
    EXPECT_EQ(HintOf(dlg, "EditPMax"), QStringLiteral("(100)"));
    EXPECT_EQ(HintOf(dlg, "EditPMaxPSI"), QStringLiteral("(1450)"));
    EXPECT_EQ(HintOf(dlg, "EditWeightLBS"), QStringLiteral("(3.307)"));
    EXPECT_EQ(HintOf(dlg, "EditWeight"), QString()); // no pounds given

    // The attributes: checked when drawn, numeric ones by their caption, handles in decimal.
    auto* list = dlg.ListViewAttributes;
    ASSERT_EQ(list->topLevelItemCount(), 2);
    EXPECT_EQ(list->topLevelItem(0)->text(0), QStringLiteral("NOMINAL"));
    EXPECT_EQ(list->topLevelItem(0)->text(1), QStringLiteral("12.50"));
    EXPECT_EQ(list->topLevelItem(0)->text(2), QStringLiteral("7"));
    EXPECT_EQ(list->topLevelItem(0)->checkState(0), Qt::Checked);
    EXPECT_EQ(list->topLevelItem(1)->checkState(0), Qt::Unchecked);
    auto* attributes = dlg.findChild<QGroupBox*>(QStringLiteral("GroupBoxAttributes"));
    EXPECT_FALSE(attributes->isHidden());

    // An accessory's tab shows its record and hides the attributes, which are the component's.
    dlg.TabControlBOM->setCurrentIndex(1);
    EXPECT_EQ(valve->fBOMList.fItemIndex, 1);
    EXPECT_EQ(TextOf(dlg, "EditArticleCode"), QStringLiteral("COIL-24"));
    EXPECT_EQ(TextOf(dlg, "EditWeight"), QString());
    EXPECT_TRUE(attributes->isHidden());
    dlg.TabControlBOM->setCurrentIndex(0);
    EXPECT_FALSE(attributes->isHidden());
}

TEST(ComponentProperties, AComponentWithoutRecordsShowsOneEmptyMainTab) {
    auto root = ReadSymbol("Symbol:\r\n  Handle=5\r\nEnd.\r\n");
    auto* bare = dynamic_cast<TSymbolObjectSymbol*>(root->fSymbolObjectList.SymbolObjects(0));
    ASSERT_NE(bare, nullptr);
    TSymbolObjectSymbolViewPropertiesDlg dlg(nullptr, *bare);
    dlg.FormActivate();
    ASSERT_EQ(dlg.TabControlBOM->count(), 1);
    EXPECT_EQ(dlg.TabControlBOM->tabText(0), QStringLiteral("Main"));
    EXPECT_EQ(bare->fBOMList.Count(), 1);
    EXPECT_EQ(TextOf(dlg, "EditArticleCode"), QString());
    EXPECT_EQ(TextOf(dlg, "EditQuantity"), QStringLiteral("1"));
    // Without a main window there is no datasheet look-up: the button is there but cannot be pressed.
    EXPECT_FALSE(dlg.ButtonShowDataSheet->isEnabled());
}

TEST(ComponentProperties, ValuesThatComeFromTheComponentFileName) {
    auto root =
        ReadSymbol("Symbol:\r\n  Bom:\r\n    Manufacturer=<>\r\n    Title=<>\r\n    SymbolFile=<>\r\n"
                   "    Suppliers=Beta;alpha;Gamma\r\n"
                   "    ComponentAttribute:\r\n      AttributeTag=SIZE\r\n      AttributeValue=NG6\r\n"
                   "    EndComponentAttribute.\r\n"
                   "  EndBom.\r\nEnd.\r\n");
    const TBOM& bom = *root->fSymbolObjectList.SymbolObjects(0)->fBOMList.First();
    QWidget panel;
    const char* names[] = {"EditManufacturer", "EditTitle", "EditSymbolFile", "EditSize"};
    for (const char* n : names)
        (new QLineEdit(&panel))->setObjectName(QString::fromLatin1(n).toLower()); // names ignore case
    auto* suppliers = new QComboBox(&panel);
    suppliers->setObjectName(QStringLiteral("ComboBoxSupplier"));
    auto* attributes = new QPlainTextEdit(&panel);
    attributes->setObjectName(QStringLiteral("ValueListEditorAttributes"));
    ToDialog(bom, &panel, "/parts/Acme_Valve12.kcf");
    EXPECT_EQ(TextOf(panel, "editmanufacturer"), QStringLiteral("Acme"));
    EXPECT_EQ(TextOf(panel, "edittitle"), QString());
    EXPECT_EQ(HintOf(panel, "edittitle"), QStringLiteral("Valve12"));
    EXPECT_EQ(TextOf(panel, "editsymbolfile"), QString());
    EXPECT_EQ(HintOf(panel, "editsymbolfile"), QStringLiteral("Acme_Valve12"));
    EXPECT_EQ(TextOf(panel, "editsize"), QStringLiteral("NG6"));
    EXPECT_EQ(attributes->toPlainText(), QStringLiteral("SIZE=NG6"));
    // Suppliers sorted, the first of the record chosen, and the list's edit entry last.
    ASSERT_EQ(suppliers->count(), 4);
    EXPECT_EQ(suppliers->itemText(0), QStringLiteral("alpha"));
    EXPECT_EQ(suppliers->currentText(), QStringLiteral("Beta"));
    EXPECT_EQ(suppliers->itemText(3), QStringLiteral("-- Edit list --"));
}

TEST(BorderProperties, LinesProjectDataAndRemarks) {
    auto root = ReadSymbol("IBorder:\r\n  Point2X=100\r\n  Point2Y=50\r\n  ProjectName=Press\r\n"
                           "  ProjectBrevindFile=|MB-4\r\n  ShowTopLine=No\r\n  HideInOutput=Yes\r\n"
                           "  Comments:=first\r\n  Comments:=second\r\n"
                           "  Bom:\r\n    ArticleCode=BLOCK\r\n    Weight=12\r\n  EndBom.\r\n"
                           "EndIBorder.\r\n");
    auto* border = dynamic_cast<TSymbolObjectIBorder*>(root->fSymbolObjectList.SymbolObjects(0));
    ASSERT_NE(border, nullptr);
    TSymbolObjectIBorderViewPropertiesDlg dlg(nullptr, *border);
    dlg.FormActivate();
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("IBorder - |MB-4"));
    EXPECT_EQ(TextOf(dlg, "EditProjectName"), QStringLiteral("Press"));
    EXPECT_TRUE(Checked(dlg, "CheckBoxLeft"));
    EXPECT_FALSE(Checked(dlg, "CheckBoxTop"));
    EXPECT_TRUE(Checked(dlg, "CheckBoxHideInOutput"));
    EXPECT_EQ(dlg.findChild<QPlainTextEdit*>(QStringLiteral("MemoRemark"))->toPlainText(),
              QStringLiteral("first\nsecond"));
    EXPECT_EQ(TextOf(dlg, "EditArticleCode"), QStringLiteral("BLOCK"));
    EXPECT_EQ(TextOf(dlg, "EditWeight"), QStringLiteral("12"));
    // The border's record has no heights, symbol files or attributes.
    EXPECT_EQ(TextOf(dlg, "EditHeight"), QStringLiteral("<no EditHeight>"));
    EXPECT_EQ(dlg.findChild<QTreeWidget*>(), nullptr);
}

// The configurable valve of the annotated sample: its type is a template, and the dialog shows the
// code its chosen options give, with its accessories on their own tabs.
TEST(ComponentProperties, TheConfigurableValveShowsItsOrderingCode) {
    TSymbolFile doc;
    ASSERT_TRUE(doc.LoadFromFile(KORVANE_SAMPLES "/annotated-circuit.kdf")) << doc.LastError();
    auto* valve = dynamic_cast<TSymbolObjectSymbol*>(doc.Symbol().fSymbolObjectList.SymbolObjects(0));
    ASSERT_NE(valve, nullptr);
    TSymbolObjectSymbolViewPropertiesDlg dlg(nullptr, *valve);
    dlg.FormActivate();
    EXPECT_EQ(TextOf(dlg, "EditType"), QStringLiteral("DV06-[Spool]-[Voltage]"));
    EXPECT_EQ(TextOf(dlg, "EditOrderingCode"), QStringLiteral("DV06-43C-24DC"));
    EXPECT_EQ(dlg.findChild<QComboBox*>(QStringLiteral("ComboBoxSupplier"))->currentText(),
              QStringLiteral("Nordhyd"));
    QTreeWidget* fields = dlg.ListViewUserFields;
    ASSERT_EQ(fields->topLevelItemCount(), 3);
    EXPECT_EQ(fields->topLevelItem(0)->text(0), QStringLiteral("Body material"));
    EXPECT_EQ(fields->topLevelItem(0)->text(1), QStringLiteral("Cast iron"));
    EXPECT_EQ(fields->topLevelItem(2)->text(1), QStringLiteral("80"));
    ASSERT_EQ(dlg.TabControlBOM->count(), 3);
    dlg.TabControlBOM->setCurrentIndex(2);
    EXPECT_EQ(TextOf(dlg, "EditArticleCode"), QStringLiteral("PLUG-DIN"));
    EXPECT_EQ(TextOf(dlg, "EditOrderingCode"), QString()); // a plain record has no type
    EXPECT_EQ(TextOf(dlg, "EditQuantity"), QStringLiteral("2"));
    EXPECT_EQ(fields->topLevelItemCount(), 0); // the accessory has none
}

TEST(PropertiesDispatch, OnlyComponentsAndBordersHaveADialog) {
    auto root = ReadSymbol("2PointSymbol:\r\n  SymbolType=Line\r\nEnd.\r\n");
    EXPECT_FALSE(ExecutePropertiesDialog(nullptr, *root->fSymbolObjectList.SymbolObjects(0)));
}

} // namespace
