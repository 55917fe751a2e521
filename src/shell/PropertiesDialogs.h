#pragma once
// The properties of a component or an I-border: its bill-of-materials records one tab per record,
// its attributes, and for a border its lines and project data. They only show: nothing typed into
// them goes back to the drawing.
#include "shell/TranslateForms.h"
#include <functional>
#include <string>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QScrollArea;
class QTabBar;
class QTreeWidget;
class TSymbolObject;
class TSymbolObjectIBorder;
class TSymbolObjectSymbol;

// What "Show..." hands the datasheet value to: the main window's datasheet look-up. Without one
// the button is unavailable.
using TDataSheetViewer = std::function<void(const std::string& value)>;
void SetDataSheetViewer(TDataSheetViewer viewer);

// The shared part of both dialogs: the record tabs over the panel of record values.
class TBOMViewPropertiesDlg : public TTranslateForm {
    Q_OBJECT
public:
    // Adds an empty record when the object has none, builds the tabs, shows the first record.
    void FormActivate();
    QTabBar* TabControlBOM = nullptr;
    QWidget* PanelBOM = nullptr;
    QPushButton* ButtonShowDataSheet = nullptr;
    QPushButton* ButtonClose = nullptr;

protected:
    TBOMViewPropertiesDlg(QWidget* parent, const QString& formName, TSymbolObject& object,
                          bool fullTechnicalData);
    // Fills the dialog from the current record; the dialogs add what is their own.
    virtual void Fill();
    // Cuts a dialog taller than the screen to the screen's height less 80 pixels.
    void FitToScreen();
    void TabControlBOMChange(int index);
    void ButtonShowDataSheetClick();
    QLineEdit* Edit(QWidget* parent, const char* name, bool readOnly = true);
    QCheckBox* Check(QWidget* parent, const char* name, const QString& caption);

    TSymbolObject& fBOMOwner;
    QWidget* fTop = nullptr; // the border dialog's lines and project data, above the tabs
    QGroupBox* fAttributesGroup = nullptr;

private:
    void showEvent(QShowEvent* event) override;
    bool fActivated = false;
};

class TSymbolObjectSymbolViewPropertiesDlg : public TBOMViewPropertiesDlg {
    Q_OBJECT
public:
    TSymbolObjectSymbolViewPropertiesDlg(QWidget* parent, TSymbolObjectSymbol& object);
    // Shows the dialog modally over ParentForm (the application's main window without one).
    static bool Execute(QWidget* parentForm, TSymbolObjectSymbol& symbolObject);

    QTreeWidget* ListViewAttributes = nullptr;
    QTreeWidget* ListViewUserFields = nullptr;

protected:
    void Fill() override;

private:
    void EditTitleChange(const QString& text);
    TSymbolObjectSymbol& fObject;
};

class TSymbolObjectIBorderViewPropertiesDlg : public TBOMViewPropertiesDlg {
    Q_OBJECT
public:
    TSymbolObjectIBorderViewPropertiesDlg(QWidget* parent, TSymbolObjectIBorder& object);
    static bool Execute(QWidget* parentForm, TSymbolObjectIBorder& symbolObjectIBorder);

    int fJumpToBOMIndex = -1;
    // "Close" is also the cancel button: Escape closes with the same result.
    void reject() override { accept(); }

protected:
    void Fill() override;

private:
    TSymbolObjectIBorder& fObject;
};

// The dialog of the object's kind: components and I-borders have one, other objects none (false).
bool ExecutePropertiesDialog(QWidget* parentForm, TSymbolObject& object);
