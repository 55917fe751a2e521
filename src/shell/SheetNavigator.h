#pragma once
// The tool-bar list of a multi-sheet drawing's sheets: "All sheets", then each sheet by number and
// caption. Picking one, or stepping with Page Up / Page Down, asks the window to show it.
#include <QObject>
#include <QString>
#include <cstdint>

class QAction;
class QComboBox;
class QToolBar;
class TSymbolFile;

class TSheetNavigator : public QObject {
    Q_OBJECT
public:
    // The whole drawing rather than one sheet.
    static constexpr int32_t AllSheets = -1;

    TSheetNavigator(QToolBar* toolBar, QObject* parent);

    // Lists the sheets of the document and selects "All sheets"; hidden when the document is not
    // divided into sheets.
    void Fill(const TSymbolFile& doc);
    void Clear();
    bool HasSheets() const;
    int32_t CurrentSheet() const;
    // Moves the choice by Delta entries (no wrap) and reports it; false when already at the end.
    bool Step(int delta);
    // Chooses the sheet with that index (from 0), or AllSheets, and reports it; false when it is
    // not listed.
    bool Select(int32_t sheetIndex);
    // What the status bar says: the sheet shown, or that all are; empty without sheets.
    QString StatusText() const;
    QComboBox* ComboBox() const { return fComboBox; }

signals:
    void SheetChosen(int32_t sheetIndex);

private:
    QComboBox* fComboBox;
    QAction* fAction; // the list's place in the tool bar, hidden with it
};
