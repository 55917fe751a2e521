#include "shell/BOMDialogSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHash>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTabBar>
#include <algorithm>
#include <filesystem>
#include <functional>

#include "model/BOM.h"
#include "model/KeyValues.h"
#include "qt/QtTranslate.h"

namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

// The component file's name without folder and extension, as "<>" stands for it.
std::string BareName(const std::string& fileName) {
    return std::filesystem::path(fileName).stem().string();
}

// Every widget inside Panel, depth first, keyed by its upper-cased object name.
void Walk(QWidget* panel, const std::function<void(QWidget*, const QString&)>& visit) {
    for (QWidget* w : panel->findChildren<QWidget*>(QString(), Qt::FindChildrenRecursively))
        if (!w->objectName().isEmpty()) visit(w, w->objectName().toUpper());
}

// "(value)" in the measured-value format, or nothing for a zero value.
QString Hint(double value, int decimals) {
    const std::string text = FormatMeasuredValue(value, decimals);
    return text.empty() ? QString() : QStringLiteral("(") + Q(text) + QStringLiteral(")");
}

} // namespace

void CreateTabs(TBOMList& list, QTabBar* tabs, int newIndex) {
    const QSignalBlocker block(tabs);
    while (tabs->count() > 0)
        tabs->removeTab(0);
    for (int i = 0; i < list.Count(); ++i)
        tabs->addTab(i == 0 ? qtr("Main") : qtr("Accessory") + QLatin1Char(' ') + QString::number(i));
    if (newIndex >= 0 && newIndex < tabs->count()) tabs->setCurrentIndex(newIndex);
    list.fItemIndex = newIndex;
}

void ToDialog(const TBOM& bom, QWidget* panel, const std::string& fileName,
              const QStringList* manufacturers) {
    const TBOMData& d = bom.fData;
    const std::string bare = fileName.empty() ? std::string() : BareName(fileName);
    const auto afterUnderscore = [&] {
        const size_t u = bare.find('_');
        return u == std::string::npos ? std::string("??") : bare.substr(u + 1);
    };
    const std::pair<const char*, const std::string*> texts[] = {
        {"EDITARTICLECODE", &d.ArticleCode},
        {"EDITTYPE", &d.ComponentType},
        {"EDITDESCRIPTION", &d.Description},
        {"EDITDATASHEET", &d.DataSheet},
        {"EDITREMARK", &d.Remark},
        {"EDITALTERNATIVESYMBOLFILE", &d.AlternativeSymbolFile},
        {"EDITCOMPONENTFILE", &d.ComponentFile},
        {"EDITMAINITEMNUMBER", &d.MainItemNumber[0]},
        {"EDITMAINITEMNUMBER2", &d.MainItemNumber[1]},
        {"EDITMAINITEMNUMBER3", &d.MainItemNumber[2]},
        {"EDITSUBITEMNUMBER", &d.SubItemNumber[0]},
        {"EDITSUBITEMNUMBER2", &d.SubItemNumber[1]},
        {"EDITSUBITEMNUMBER3", &d.SubItemNumber[2]},
    };
    const std::tuple<const char*, double, int> measures[] = {
        {"EDITPRICE", d.Price, 2},
        {"EDITWEIGHT", d.Weight, 3},
        {"EDITWEIGHTLBS", d.WeightLBS, 3},
        {"EDITHEIGHT", d.Height, 3},
        {"EDITHEIGHTIN", d.HeightIN, 3},
        {"EDITBOLTHEIGHT", d.BoltHeight, 3},
        {"EDITBOLTHEIGHTIN", d.BoltHeightIN, 3},
        {"EDITPMAX", d.PMax, 0},
        {"EDITPMAXPSI", d.PMaxPSI, 0},
        {"EDITQMAX", d.QMax, 2},
        {"EDITQMAXGPM", d.QMaxGPM, 2},
    };
    // Edits whose field may be "<>": the component file's name is their hint, and "<>" shows empty.
    const std::pair<const char*, std::string> fromFileName[] = {
        {"EDITBREVINDFILE", d.BrevindFile},
        {"EDITBREVINDFILEUS", bom.BrevindFile_US()},
        {"EDITBREVINDFILENONUS", bom.BrevindFile_NonUS()},
        {"EDITSYMBOLFILE", d.SymbolFile},
        {"EDITASSEMBLYDRAWING", d.AssemblyDrawing},
    };
    const std::pair<const char*, bool> checks[] = {
        {"CHECKBOXSHOWITEMNUMBER", !d.HideItemNumber},
        {"CHECKBOXSHOWINBOM", !d.HideInBOM},
        {"CHECKBOXQUANTITY", d.QuantityManualEntered},
        {"CHECKBOXSANDWICH", d.Sandwich},
        {"CHECKBOXFLEXIBLEHOUSING", d.FlexibleHousing},
        {"CHECKBOXBREVINDFILE", d.UseInBrevind},
        {"CHECKBOXBREVINDFILEUS", !bom.BrevindFile_US().empty()},
        {"CHECKBOXBREVINDFILENONUS", !bom.BrevindFile_NonUS().empty()},
        {"CHECKBOXALTERNATIVESYMBOL", !d.AlternativeSymbolFile.empty()},
        {"CHECKBOXSYMBOLFILE", !d.SymbolFile.empty()},
        {"CHECKBOXASSEMBLYDRAWING", !d.AssemblyDrawing.empty()},
        {"CHECKBOXMANUFACTURERFROMFILE", d.Manufacturer == "<>"},
        {"CHECKBOXEUROPEANMARKET", (d.Market & mkEuropean) != 0},
        {"CHECKBOXUSMARKET", (d.Market & mkUS) != 0},
    };

    Walk(panel, [&](QWidget* w, const QString& name) {
        if (auto* edit = qobject_cast<QLineEdit*>(w)) {
            for (const auto& [key, field] : texts)
                if (name == QLatin1String(key)) edit->setText(Q(*field));
            for (const auto& [key, value, decimals] : measures)
                if (name == QLatin1String(key)) edit->setText(Q(FormatMeasuredValue(value, decimals)));
            for (const auto& [key, field] : fromFileName)
                if (name == QLatin1String(key)) {
                    edit->setPlaceholderText(Q(bare));
                    edit->setText(field == "<>" ? QString() : Q(field));
                }
            if (name == QLatin1String("EDITMANUFACTURER"))
                edit->setText(Q(d.Manufacturer == "<>" && !fileName.empty() ? bom.GetManufacturer(fileName)
                                                                            : d.Manufacturer));
            else if (name == QLatin1String("EDITORDERINGCODE"))
                edit->setText(Q(bom.OrderingCode()));
            else if (name == QLatin1String("EDITQUANTITY"))
                edit->setText(QString::number(d.QuantityManualValue));
            else if (name == QLatin1String("EDITTITLE")) {
                edit->setPlaceholderText(fileName.empty() ? QString() : Q(afterUnderscore()));
                edit->setText(d.Title == "<>" ? QString() : Q(d.Title));
            } else if (name == QLatin1String("EDITSIZE"))
                edit->setText(Q(bom.ComponentAttributeValue("SIZE")));
        } else if (auto* check = qobject_cast<QCheckBox*>(w)) {
            for (const auto& [key, value] : checks)
                if (name == QLatin1String(key)) check->setChecked(value);
        } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
            if (name == QLatin1String("COMBOBOXMANUFACTURER")) {
                combo->clear();
                if (manufacturers) combo->addItems(*manufacturers);
                combo->setEditText(Q(!fileName.empty() ? bom.GetManufacturer(fileName) : d.Manufacturer));
            } else if (name == QLatin1String("COMBOBOXSUPPLIER")) {
                TSupplier suppliers;
                suppliers.SetDataString(d.Suppliers);
                combo->clear();
                for (const std::string& item : suppliers.DialogList())
                    combo->addItem(Q(item));
                combo->setCurrentIndex(suppliers.ItemIndex());
            }
        } else if (auto* memo = qobject_cast<QPlainTextEdit*>(w)) {
            if (name == QLatin1String("VALUELISTEDITORATTRIBUTES")) {
                std::vector<std::string> lines;
                bom.fComponentAttributeList.ToStrings(lines);
                QStringList text;
                for (const std::string& line : lines)
                    text << Q(line);
                memo->setPlainText(text.join(QLatin1Char('\n')));
            }
        }
    });
}

void UpdateTextHints(QWidget* panel) {
    const struct {
        const char* Metric;
        const char* Imperial;
        TUnitKind Kind;
        int Decimals;
    } pairs[] = {
        {"EDITQMAX", "EDITQMAXGPM", TUnitKind::Flow, 2},
        {"EDITPMAX", "EDITPMAXPSI", TUnitKind::Pressure, 0},
        {"EDITWEIGHT", "EDITWEIGHTLBS", TUnitKind::Weight, 3},
        {"EDITHEIGHT", "EDITHEIGHTIN", TUnitKind::Size, 3},
        {"EDITBOLTHEIGHT", "EDITBOLTHEIGHTIN", TUnitKind::Size, 3},
    };
    QHash<QString, QLineEdit*> edits;
    Walk(panel, [&](QWidget* w, const QString& name) {
        if (auto* e = qobject_cast<QLineEdit*>(w)) edits.insert(name, e);
    });
    // The user's decimal separator may have been typed; a text that is no number counts as 0.
    const auto value = [](const QLineEdit* e) {
        return ParseRecordFloat(e->text().replace(',', '.').toStdString(), 0);
    };
    for (const auto& p : pairs) {
        QLineEdit* metric = edits.value(QLatin1String(p.Metric));
        QLineEdit* imperial = edits.value(QLatin1String(p.Imperial));
        if (!metric || !imperial) continue;
        const double m = value(metric), i = value(imperial);
        metric->setPlaceholderText(Hint(ImperialToMetric(p.Kind, i), p.Decimals));
        imperial->setPlaceholderText(Hint(MetricToImperial(p.Kind, m), p.Decimals));
    }
}
