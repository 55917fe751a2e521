#pragma once
// Showing bill-of-materials records in a dialog: one tab per record, and the record's values put
// into the controls named after them.
#include <QStringList>
#include <string>

class QTabBar;
class QWidget;
class TBOM;
class TBOMList;

// One tab per record ("Main", then "Accessory 1", ...) without firing the tab bar's change
// signal; then tab NewIndex is current, in the bar and as the list's current record.
void CreateTabs(TBOMList& list, QTabBar* tabs, int newIndex);

// Fills every edit, check box and list inside Panel (at any depth) whose object name matches one
// of the record's control names, ignoring case; "EditOrderingCode" shows the evaluated ordering code.
// FileName is the component file the record came from (for the values that hold "<>"); Manufacturers, when
// given, fills the manufacturer list.
void ToDialog(const TBOM& bom, QWidget* panel, const std::string& fileName = {},
              const QStringList* manufacturers = nullptr);

// Gives each metric edit and its imperial twin the other's value converted, in parentheses, as
// placeholder text.
void UpdateTextHints(QWidget* panel);
