#pragma once
// View > Bill of Materials: a dockable list of every record of the components the BOM shows, in
// the chosen units, sortable by any column. Choosing a row asks the window to show its component.
#include <QDockWidget>
#include <functional>
#include <vector>

#include "document/BOMRows.h"

class QTreeWidget;

class TBOMPanel : public QDockWidget {
    Q_OBJECT
public:
    explicit TBOMPanel(QWidget* parent);

    // Lists Rows with their values in the given units; an empty list for no drawing.
    void Fill(std::vector<TBOMRow> rows, bool metric);
    // Called with the component of the row the user chose.
    void SetShowComponent(std::function<void(TSymbolObject&)> show) { fShowComponent = std::move(show); }

    // Marks the rows of Object (none when null) and scrolls to the first, without showing it again.
    void MarkComponent(const TSymbolObject* object);

    QTreeWidget* List() const { return fList; }

private:
    QTreeWidget* fList;
    std::vector<TBOMRow> fRows;
    std::function<void(TSymbolObject&)> fShowComponent;
};
