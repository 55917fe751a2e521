#include "shell/BOMPanel.h"

#include <QHeaderView>
#include <QSignalBlocker>
#include <QTreeWidget>

#include "qt/QtTranslate.h"

namespace {

// Numbers sort as numbers ("10" after "9"), texts as the user's language sorts them, and an
// empty cell after any value.
class TBOMItem : public QTreeWidgetItem {
public:
    using QTreeWidgetItem::QTreeWidgetItem;
    bool operator<(const QTreeWidgetItem& other) const override {
        const int column = treeWidget() ? treeWidget()->sortColumn() : 0;
        const QString a = text(column), b = other.text(column);
        if (a.isEmpty() != b.isEmpty()) return b.isEmpty();
        bool aNumber = false, bNumber = false;
        const double x = a.toDouble(&aNumber), y = b.toDouble(&bNumber);
        if (aNumber && bNumber && x != y) return x < y;
        const int byText = QString::localeAwareCompare(a, b);
        // Equal cells keep the drawing's order.
        return byText != 0 ? byText < 0 : data(0, Qt::UserRole).toInt() < other.data(0, Qt::UserRole).toInt();
    }
};

} // namespace

TBOMPanel::TBOMPanel(QWidget* parent) : QDockWidget(qtr("Bill of Materials"), parent) {
    setObjectName(QStringLiteral("BOMPanel"));
    fList = new QTreeWidget(this);
    fList->setObjectName(QStringLiteral("ListBOM"));
    fList->setRootIsDecorated(false);
    fList->setUniformRowHeights(true);
    fList->setAlternatingRowColors(true);
    fList->setSortingEnabled(true);
    fList->sortByColumn(-1, Qt::AscendingOrder); // the drawing's order until the user sorts
    fList->header()->setSectionsMovable(true);
    setWidget(fList);
    connect(fList, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) {
        const int i = item->data(0, Qt::UserRole).toInt();
        if (fShowComponent && i >= 0 && size_t(i) < fRows.size() && fRows[size_t(i)].Object)
            fShowComponent(*fRows[size_t(i)].Object);
    });
    // A single click shows the component too; activation covers Enter and double clicks.
    connect(fList, &QTreeWidget::itemClicked, fList, &QTreeWidget::itemActivated);
}

void TBOMPanel::Fill(std::vector<TBOMRow> rows, bool metric) {
    fRows = std::move(rows);
    fList->setSortingEnabled(false);
    fList->clear();
    QStringList header;
    for (const std::string& caption : BOMHeader(metric))
        header << QString::fromStdString(caption);
    fList->setHeaderLabels(header);
    QList<QTreeWidgetItem*> items;
    for (size_t i = 0; i < fRows.size(); ++i) {
        QStringList texts;
        for (const std::string& t : BOMRowTexts(fRows[i], metric))
            texts << QString::fromStdString(t);
        auto* item = new TBOMItem(texts);
        item->setData(0, Qt::UserRole, int(i));
        for (int c = 4; c < texts.size(); ++c)
            if (c != 5) item->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
        items << item;
    }
    fList->addTopLevelItems(items);
    fList->setSortingEnabled(true);
    for (int c = 0; c < fList->columnCount(); ++c)
        fList->resizeColumnToContents(c);
}

void TBOMPanel::MarkComponent(const TSymbolObject* object) {
    const QSignalBlocker block(fList);
    fList->clearSelection();
    QTreeWidgetItem* first = nullptr;
    for (int i = 0; object && i < fList->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = fList->topLevelItem(i);
        const int row = item->data(0, Qt::UserRole).toInt();
        if (row >= 0 && size_t(row) < fRows.size() && fRows[size_t(row)].Object == object) {
            item->setSelected(true);
            if (!first) first = item;
        }
    }
    if (first) fList->scrollToItem(first);
}
