#include "shell/SheetNavigator.h"

#include <QAction>
#include <QComboBox>
#include <QSignalBlocker>
#include <QToolBar>

#include "document/SymbolFile.h"
#include "objects/SheetObjects.h"
#include "qt/LocaleDates.h"
#include "qt/QtTranslate.h"

TSheetNavigator::TSheetNavigator(QToolBar* toolBar, QObject* parent) : QObject(parent) {
    fComboBox = new QComboBox(toolBar);
    fComboBox->setObjectName(QStringLiteral("ComboBoxSheets"));
    fComboBox->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    fComboBox->setToolTip(qtr("Sheet shown  [Page Up / Page Down]"));
    // The window keeps the keyboard: Page Up and Page Down step through the sheets from there.
    fComboBox->setFocusPolicy(Qt::NoFocus);
    fAction = toolBar->addWidget(fComboBox);
    fAction->setVisible(false);
    connect(fComboBox, &QComboBox::activated, this, [this](int) { emit SheetChosen(CurrentSheet()); });
}

void TSheetNavigator::Fill(const TSymbolFile& doc) {
    const QSignalBlocker block(fComboBox);
    fComboBox->clear();
    const std::vector<int32_t> numbers = doc.SheetNumbers();
    if (numbers.empty()) {
        fAction->setVisible(false);
        return;
    }
    fComboBox->addItem(qtr("All sheets"), AllSheets);
    int32_t last = AllSheets;
    for (const TSymbolObjectPaperSize* p : doc.CreateSheetList()) {
        // Sheets that share a number are shown together, so they share one entry.
        if (p->fSheetNumber < 0 || p->fSheetNumber == last) continue;
        last = p->fSheetNumber;
        fComboBox->addItem(QString::fromStdString(p->Caption(UserDecimalSeparator())), p->fSheetNumber);
    }
    fComboBox->setCurrentIndex(0);
    fAction->setVisible(true);
}

void TSheetNavigator::Clear() {
    const QSignalBlocker block(fComboBox);
    fComboBox->clear();
    fAction->setVisible(false);
}

bool TSheetNavigator::HasSheets() const {
    return fComboBox->count() > 1;
}

int32_t TSheetNavigator::CurrentSheet() const {
    return fComboBox->currentIndex() <= 0 ? AllSheets : fComboBox->currentData().toInt();
}

bool TSheetNavigator::Step(int delta) {
    const int index = fComboBox->currentIndex() + delta;
    if (!HasSheets() || index < 0 || index >= fComboBox->count()) return false;
    {
        const QSignalBlocker block(fComboBox);
        fComboBox->setCurrentIndex(index);
    }
    emit SheetChosen(CurrentSheet());
    return true;
}

bool TSheetNavigator::Select(int32_t sheetIndex) {
    const int index = fComboBox->findData(sheetIndex);
    if (index < 0) return false;
    {
        const QSignalBlocker block(fComboBox);
        fComboBox->setCurrentIndex(index);
    }
    emit SheetChosen(CurrentSheet());
    return true;
}

QString TSheetNavigator::StatusText() const {
    if (!HasSheets()) return {};
    if (CurrentSheet() == AllSheets) return qtr("All sheets");
    return fComboBox->currentText();
}
