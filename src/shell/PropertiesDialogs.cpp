#include "shell/PropertiesDialogs.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QTabBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "components/SymbolObjectSymbol.h"
#include "model/BOM.h"
#include "objects/SheetObjects.h"
#include "objects/TextObjects.h"
#include "platform/QUAVGlobs.h"
#include "qt/QtTranslate.h"
#include "shell/BOMDialogSupport.h"

namespace {

TDataSheetViewer& DataSheetViewer() {
    static TDataSheetViewer viewer;
    return viewer;
}

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

QString Colon(const char* text) {
    return qtr(text) + QLatin1Char(':');
}

QGroupBox* Group(QWidget* parent, const char* name, const char* caption) {
    auto* g = new QGroupBox(qtr(caption), parent);
    g->setObjectName(QString::fromLatin1(name));
    return g;
}

QWidget* MainWindowOf(QWidget* parentForm) {
    if (parentForm) return parentForm;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->inherits("QMainWindow")) return w;
    return nullptr;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// The record tabs and values, shared by both dialogs

TBOMViewPropertiesDlg::TBOMViewPropertiesDlg(QWidget* parent, const QString& formName, TSymbolObject& object,
                                             bool fullTechnicalData)
    : TTranslateForm(parent, formName), fBOMOwner(object) {
    auto* layout = new QVBoxLayout(this);
    fTop = new QWidget(this);
    fTop->setObjectName(QStringLiteral("PanelTop"));
    fTop->setVisible(false);
    layout->addWidget(fTop);

    TabControlBOM = new QTabBar(this);
    TabControlBOM->setObjectName(QStringLiteral("TabControlBOM"));
    TabControlBOM->setDocumentMode(true);
    TabControlBOM->setExpanding(false);
    layout->addWidget(TabControlBOM);
    connect(TabControlBOM, &QTabBar::currentChanged, this, &TBOMViewPropertiesDlg::TabControlBOMChange);

    auto* scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("ScrollBoxBOM"));
    scroll->setWidgetResizable(true);
    PanelBOM = new QWidget(scroll);
    PanelBOM->setObjectName(QStringLiteral("PanelBOM"));
    auto* panelLayout = new QVBoxLayout(PanelBOM);
    scroll->setWidget(PanelBOM);
    layout->addWidget(scroll, 1);

    // Bill of materials.
    QGroupBox* bom = Group(PanelBOM, "GroupBoxBOM", N_("Bill of materials:"));
    auto* g = new QGridLayout(bom);
    const char* itemRows[3][3] = {{N_("Item Number"), "EditMainItemNumber", "EditSubItemNumber"},
                                  {N_("2nd Item Number"), "EditMainItemNumber2", "EditSubItemNumber2"},
                                  {N_("3rd Item Number"), "EditMainItemNumber3", "EditSubItemNumber3"}};
    int row = 0;
    for (const auto& r : itemRows) {
        g->addWidget(new QLabel(Colon(r[0]), bom), row, 0);
        g->addWidget(Edit(bom, r[1]), row, 1);
        g->addWidget(Edit(bom, r[2]), row, 2);
        ++row;
    }
    // The ordering code is the type with the options of a configurable component filled in.
    const char* textRows[][2] = {{N_("Article code"), "EditArticleCode"},
                                 {N_("Manufacturer"), "EditManufacturer"},
                                 {N_("Type"), "EditType"},
                                 {N_("Ordering code"), "EditOrderingCode"},
                                 {N_("Description"), "EditDescription"},
                                 {N_("Remark"), "EditRemark"}};
    for (const auto& r : textRows) {
        g->addWidget(new QLabel(Colon(r[0]), bom), row, 0);
        g->addWidget(Edit(bom, r[1]), row, 1, 1, 2);
        ++row;
    }
    if (fullTechnicalData) {
        g->addWidget(new QLabel(Colon(N_("Supplier")), bom), row, 0);
        auto* suppliers = new QComboBox(bom);
        suppliers->setObjectName(QStringLiteral("ComboBoxSupplier"));
        g->addWidget(suppliers, row++, 1, 1, 2);
    }
    g->addWidget(Check(bom, "CheckBoxQuantity", qtr("Quantity:")), row, 0);
    g->addWidget(Edit(bom, "EditQuantity"), row++, 1);
    g->addWidget(Check(bom, "CheckBoxShowInBOM", qtr("Show in Bill Of Materials")), row++, 0, 1, 3);
    g->addWidget(Check(bom, "CheckBoxShowItemNumber", qtr("Show Item Number")), row++, 0, 1, 3);
    for (const auto& [name, caption] : {std::pair{"CheckBoxEuropeanMarket", N_("non-US standard")},
                                        std::pair{"CheckBoxUSMarket", N_("US standard")}}) {
        QCheckBox* market = Check(bom, name, qtr(caption));
        market->setVisible(false);
        g->addWidget(market, row++, 0, 1, 3);
    }
    panelLayout->addWidget(bom);

    // Technical data, each value in both unit systems side by side.
    QGroupBox* tech = Group(PanelBOM, "GroupBoxTechnicalData", N_("Technical data:"));
    auto* t = new QGridLayout(tech);
    struct TMeasureRow {
        const char* Caption;
        const char* Metric;
        const char* Imperial;
        TUnitKind Kind;
        bool Full; // only in the component dialog
    };
    const TMeasureRow measures[] = {
        {N_("Weight"), "EditWeight", "EditWeightLBS", TUnitKind::Weight, false},
        {N_("Height"), "EditHeight", "EditHeightIN", TUnitKind::Size, true},
        {N_("Clamping length"), "EditBoltHeight", "EditBoltHeightIN", TUnitKind::Size, true},
        {N_("PMax"), "EditPMax", "EditPMaxPSI", TUnitKind::Pressure, false},
        {N_("QMax"), "EditQMax", "EditQMaxGPM", TUnitKind::Flow, false},
    };
    row = 0;
    for (const TMeasureRow& m : measures) {
        if (m.Full && !fullTechnicalData) continue;
        t->addWidget(new QLabel(Colon(m.Caption), tech), row, 0);
        t->addWidget(Edit(tech, m.Metric), row, 1);
        t->addWidget(new QLabel(Q(UnitText(m.Kind, true)), tech), row, 2);
        t->addWidget(Edit(tech, m.Imperial), row, 3);
        t->addWidget(new QLabel(Q(UnitText(m.Kind, false)), tech), row, 4);
        ++row;
    }
    t->addWidget(new QLabel(Colon(N_("Price")), tech), row, 0);
    t->addWidget(Edit(tech, "EditPrice"), row++, 1);
    if (fullTechnicalData) t->addWidget(Check(tech, "CheckBoxSandwich", qtr("Sandwich")), row++, 0, 1, 5);
    panelLayout->addWidget(tech);

    // External references.
    QGroupBox* refs = Group(PanelBOM, "GroupBoxExternalReferences", N_("External references:"));
    auto* r = new QGridLayout(refs);
    row = 0;
    r->addWidget(new QLabel(Colon(N_("Datasheet")), refs), row, 0);
    r->addWidget(Edit(refs, "EditDataSheet"), row, 1);
    ButtonShowDataSheet = new QPushButton(qtr("Show..."), refs);
    ButtonShowDataSheet->setObjectName(QStringLiteral("ButtonShowDataSheet"));
    ButtonShowDataSheet->setEnabled(bool(DataSheetViewer()));
    connect(ButtonShowDataSheet, &QPushButton::clicked, this,
            &TBOMViewPropertiesDlg::ButtonShowDataSheetClick);
    r->addWidget(ButtonShowDataSheet, row++, 2);
    r->addWidget(new QLabel(Colon(N_("Title")), refs), row, 0);
    r->addWidget(Edit(refs, "EditTitle"), row++, 1, 1, 2);
    if (fullTechnicalData) {
        r->addWidget(new QLabel(Colon(N_("Symbol File")), refs), row, 0);
        r->addWidget(Edit(refs, "EditSymbolFile"), row++, 1, 1, 2);
        r->addWidget(new QLabel(Colon(N_("Component File")), refs), row, 0);
        r->addWidget(Edit(refs, "EditComponentFile"), row++, 1, 1, 2);
        // Whole formats, so that a language can put the program's name where its grammar wants it.
        const auto manifold = [](const char* format) {
            return QString::fromStdString(FormatText(_(format), {ManifoldProgramName}));
        };
        r->addWidget(Check(refs, "CheckBoxBrevindFileNonUS", manifold(N_("%s file:"))), row, 0);
        r->addWidget(Edit(refs, "EditBrevindFileNonUS"), row++, 1, 1, 2);
        r->addWidget(Check(refs, "CheckBoxBrevindFileUS", manifold(N_("%s file US:"))), row, 0);
        r->addWidget(Edit(refs, "EditBrevindFileUS"), row++, 1, 1, 2);
        r->addWidget(new QLabel(Colon(N_("3D model")), refs), row, 0);
        r->addWidget(Edit(refs, "EditAssemblyDrawing"), row++, 1, 1, 2);
        r->addWidget(Check(refs, "CheckBoxFlexibleHousing", qtr("Flexible Housing")), row++, 0, 1, 3);
    }
    panelLayout->addWidget(refs);
    panelLayout->addStretch(1);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    ButtonClose = new QPushButton(qtr("Close"), this);
    ButtonClose->setObjectName(QStringLiteral("ButtonClose"));
    connect(ButtonClose, &QPushButton::clicked, this, &QDialog::accept);
    bottom->addWidget(ButtonClose);
    layout->addLayout(bottom);
}

QLineEdit* TBOMViewPropertiesDlg::Edit(QWidget* parent, const char* name, bool readOnly) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    e->setReadOnly(readOnly);
    return e;
}

QCheckBox* TBOMViewPropertiesDlg::Check(QWidget* parent, const char* name, const QString& caption) {
    auto* c = new QCheckBox(caption, parent);
    c->setObjectName(QString::fromLatin1(name));
    // Shows the record's flag; a click must not pretend to change it.
    c->setAttribute(Qt::WA_TransparentForMouseEvents);
    c->setFocusPolicy(Qt::NoFocus);
    return c;
}

void TBOMViewPropertiesDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (fActivated) return;
    fActivated = true;
    FormActivate();
}

void TBOMViewPropertiesDlg::FormActivate() {
    fActivated = true;
    TBOMList& list = fBOMOwner.fBOMList;
    // In memory only: the drawing is never written.
    if (list.Count() == 0) list.Add();
    CreateTabs(list, TabControlBOM, 0);
    Fill();
    FitToScreen();
    ButtonClose->setFocus();
}

void TBOMViewPropertiesDlg::FitToScreen() {
    // Room for the whole record panel without scrolling, unless the screen is too small: then the
    // dialog is as tall as the screen less 80 pixels and the panel scrolls.
    const QSize panel = PanelBOM->sizeHint();
    const auto* scroll = findChild<QScrollArea*>(QStringLiteral("ScrollBoxBOM"));
    const int chrome = sizeHint().height() - (scroll ? scroll->sizeHint().height() : 0);
    int h = chrome + panel.height() + 8;
    if (const QScreen* screen = this->screen()) h = std::min(h, screen->availableGeometry().height() - 80);
    resize(std::max(width(), panel.width() + 60), std::max(h, 200));
}

void TBOMViewPropertiesDlg::Fill() {
    if (const TBOM* bom = fBOMOwner.fBOMList.Selected()) {
        ToDialog(*bom, PanelBOM, bom->fData.ComponentFile);
        UpdateTextHints(PanelBOM);
    }
}

void TBOMViewPropertiesDlg::TabControlBOMChange(int index) {
    fBOMOwner.fBOMList.fItemIndex = index;
    Fill();
}

void TBOMViewPropertiesDlg::ButtonShowDataSheetClick() {
    const auto* edit = findChild<QLineEdit*>(QStringLiteral("EditDataSheet"));
    std::string value = edit ? edit->text().toStdString() : std::string();
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t'))
        value.pop_back();
    if (!value.empty() && DataSheetViewer()) DataSheetViewer()(value);
}

// ---------------------------------------------------------------------------------------------
// Components

TSymbolObjectSymbolViewPropertiesDlg::TSymbolObjectSymbolViewPropertiesDlg(QWidget* parent,
                                                                           TSymbolObjectSymbol& object)
    : TBOMViewPropertiesDlg(parent, QStringLiteral("SymbolObjectSymbolViewPropertiesDlg"), object, true),
      fObject(object) {
    setWindowTitle(qtr("Component Properties"));
    fAttributesGroup = Group(PanelBOM, "GroupBoxAttributes", N_("Attributes:"));
    auto* a = new QVBoxLayout(fAttributesGroup);
    ListViewAttributes = new QTreeWidget(fAttributesGroup);
    ListViewAttributes->setObjectName(QStringLiteral("ListViewAttributes"));
    ListViewAttributes->setRootIsDecorated(false);
    ListViewAttributes->setHeaderLabels({qtr("Attribute"), qtr("Value"), QStringLiteral("#")});
    ListViewAttributes->setSelectionMode(QAbstractItemView::NoSelection);
    a->addWidget(ListViewAttributes);
    auto* panelLayout = static_cast<QVBoxLayout*>(PanelBOM->layout());
    panelLayout->insertWidget(panelLayout->count() - 1, fAttributesGroup);
    // The installation's own fields of the record shown.
    QGroupBox* userFields = Group(PanelBOM, "GroupBoxUserFields", N_("User fields:"));
    auto* u = new QVBoxLayout(userFields);
    ListViewUserFields = new QTreeWidget(userFields);
    ListViewUserFields->setObjectName(QStringLiteral("ListViewUserFields"));
    ListViewUserFields->setRootIsDecorated(false);
    ListViewUserFields->setHeaderLabels({qtr("Field"), qtr("Value")});
    ListViewUserFields->setSelectionMode(QAbstractItemView::NoSelection);
    u->addWidget(ListViewUserFields);
    panelLayout->insertWidget(panelLayout->count() - 1, userFields);
    connect(findChild<QLineEdit*>(QStringLiteral("EditTitle")), &QLineEdit::textChanged, this,
            &TSymbolObjectSymbolViewPropertiesDlg::EditTitleChange);
}

bool TSymbolObjectSymbolViewPropertiesDlg::Execute(QWidget* parentForm, TSymbolObjectSymbol& symbolObject) {
    TSymbolObjectSymbolViewPropertiesDlg dlg(MainWindowOf(parentForm), symbolObject);
    // Filled and sized before it shows, so that it is placed on the screen at its final size.
    dlg.FormActivate();
    return dlg.exec() == QDialog::Accepted;
}

void TSymbolObjectSymbolViewPropertiesDlg::EditTitleChange(const QString& text) {
    setWindowTitle(qtr("Component") + QStringLiteral(" - ") + text);
}

void TSymbolObjectSymbolViewPropertiesDlg::Fill() {
    TBOMViewPropertiesDlg::Fill();
    ListViewAttributes->clear();
    for (const auto& child : fObject.fSymbolObjectList) {
        const auto* attr = dynamic_cast<const TSymbolObjectAttribute*>(child.get());
        if (!attr) continue;
        auto* item = new QTreeWidgetItem(ListViewAttributes);
        item->setText(0, Q(attr->fTag));
        item->setText(1, Q(attr->fFloatingPoint ? attr->GetCaption() : attr->fValue));
        item->setText(2, QString::number(attr->fHandle));
        item->setCheckState(0, attr->fHide ? Qt::Unchecked : Qt::Checked);
        // Read-only: the box shows whether the attribute is drawn.
        item->setFlags(Qt::ItemIsEnabled);
    }
    ListViewAttributes->resizeColumnToContents(0);
    ListViewUserFields->clear();
    if (const TBOM* bom = fObject.fBOMList.Selected())
        for (int i = 0; i < bom->fUserFields.Count(); ++i) {
            const TUserFieldData& f = bom->fUserFields.Items(i)->fData;
            auto* item = new QTreeWidgetItem(ListViewUserFields);
            item->setText(0, Q(f.FieldTag));
            item->setText(
                1, Q(f.FieldType == ufFloat ? FormatMeasuredValue(f.FieldFloatValue, 3) : f.FieldValue));
        }
    ListViewUserFields->resizeColumnToContents(0);
    fAttributesGroup->setVisible(TabControlBOM->currentIndex() == 0);
}

// ---------------------------------------------------------------------------------------------
// I-borders

TSymbolObjectIBorderViewPropertiesDlg::TSymbolObjectIBorderViewPropertiesDlg(QWidget* parent,
                                                                             TSymbolObjectIBorder& object)
    : TBOMViewPropertiesDlg(parent, QStringLiteral("SymbolObjectIBorderViewPropertiesDlg"), object, false),
      fObject(object) {
    setWindowTitle(qtr("I-Border Data"));
    fTop->setVisible(true);
    auto* top = new QHBoxLayout(fTop);
    top->setContentsMargins(0, 0, 0, 0);

    QGroupBox* lines = Group(fTop, "GroupBoxLines", N_("Lines"));
    auto* l = new QVBoxLayout(lines);
    for (const auto& [name, caption] :
         {std::pair{"CheckBoxLeft", N_("Left")}, std::pair{"CheckBoxTop", N_("Top")},
          std::pair{"CheckBoxRight", N_("Right")}, std::pair{"CheckBoxBottom", N_("Bottom")}})
        l->addWidget(Check(lines, name, qtr(caption)));
    top->addWidget(lines);

    QGroupBox* project = Group(fTop, "GroupBoxProject", N_("Project:"));
    auto* p = new QGridLayout(project);
    const QString manifoldFile = QString::fromStdString(FormatText(_("%s File:"), {ManifoldProgramName}));
    const std::pair<QString, const char*> rows[] = {
        {Colon(N_("Project")), "EditProjectName"},      {Colon(N_("Number")), "EditProjectNumber"},
        {Colon(N_("Drawing")), "EditProjectDrawing"},   {Colon(N_("Client")), "EditProjectClient"},
        {Colon(N_("Material")), "EditProjectMaterial"}, {manifoldFile, "EditProjectBrevindFile"},
        {Colon(N_("Mounting")), "EditMountingText"},
    };
    int row = 0;
    for (const auto& [caption, name] : rows) {
        p->addWidget(new QLabel(caption, project), row, 0);
        p->addWidget(Edit(project, name), row++, 1);
    }
    top->addWidget(project, 1);

    QGroupBox* remark = Group(fTop, "GroupBoxRemark", "");
    auto* m = new QVBoxLayout(remark);
    m->addWidget(new QLabel(Colon(N_("Remark")), remark));
    auto* memo = new QPlainTextEdit(remark);
    memo->setObjectName(QStringLiteral("MemoRemark"));
    memo->setReadOnly(true);
    memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    m->addWidget(memo, 1);
    m->addWidget(Check(remark, "CheckBoxHideInOutput", qtr("Hide In Output")));
    top->addWidget(remark, 1);
}

bool TSymbolObjectIBorderViewPropertiesDlg::Execute(QWidget* parentForm,
                                                    TSymbolObjectIBorder& symbolObjectIBorder) {
    TSymbolObjectIBorderViewPropertiesDlg dlg(MainWindowOf(parentForm), symbolObjectIBorder);
    dlg.FormActivate();
    return dlg.exec() == QDialog::Accepted;
}

void TSymbolObjectIBorderViewPropertiesDlg::Fill() {
    TBOMViewPropertiesDlg::Fill();
    const TIBorderData& d = fObject.fData;
    const std::pair<const char*, const std::string*> edits[] = {
        {"EditProjectName", &d.ProjectName},         {"EditProjectNumber", &d.ProjectNumber},
        {"EditProjectDrawing", &d.ProjectDrawing},   {"EditProjectClient", &d.ProjectClient},
        {"EditProjectMaterial", &d.ProjectMaterial}, {"EditProjectBrevindFile", &d.ProjectBrevindFile},
        {"EditMountingText", &d.MountingText},
    };
    for (const auto& [name, value] : edits)
        findChild<QLineEdit*>(QString::fromLatin1(name))->setText(Q(*value));
    const std::pair<const char*, bool> checks[] = {{"CheckBoxLeft", d.ShowLeftLine},
                                                   {"CheckBoxTop", d.ShowTopLine},
                                                   {"CheckBoxRight", d.ShowRightLine},
                                                   {"CheckBoxBottom", d.ShowBottomLine},
                                                   {"CheckBoxHideInOutput", fObject.fHideInOutput}};
    for (const auto& [name, value] : checks)
        findChild<QCheckBox*>(QString::fromLatin1(name))->setChecked(value);
    QStringList comments;
    for (const std::string& c : fObject.fComments)
        comments << Q(c);
    findChild<QPlainTextEdit*>(QStringLiteral("MemoRemark"))->setPlainText(comments.join(QLatin1Char('\n')));
    setWindowTitle(qtr("IBorder") + QStringLiteral(" - ") + Q(d.ProjectBrevindFile));
}

bool ExecutePropertiesDialog(QWidget* parentForm, TSymbolObject& object) {
    if (object.fSymbolObjectMainType == somSymbol)
        if (auto* s = dynamic_cast<TSymbolObjectSymbol*>(&object))
            return TSymbolObjectSymbolViewPropertiesDlg::Execute(parentForm, *s);
    if (object.fSymbolObjectMainType == somIBorder)
        if (auto* b = dynamic_cast<TSymbolObjectIBorder*>(&object))
            return TSymbolObjectIBorderViewPropertiesDlg::Execute(parentForm, *b);
    return false;
}

void SetDataSheetViewer(TDataSheetViewer viewer) {
    DataSheetViewer() = std::move(viewer);
}
