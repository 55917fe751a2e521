#pragma once
// The message boxes of the GUI: modal QMessageBox dialogs with the usual titles.
#include "platform/MessageBox.h"

#include <QPointer>
#include <QWidget>

class TQtMessageBoxes : public IMessageBoxes {
public:
    // Parent centres the boxes over the main window; null gives free-standing boxes.
    explicit TQtMessageBoxes(QWidget* Parent = nullptr) : fParent(Parent) {}
    void SetParent(QWidget* Parent) { fParent = Parent; }
    bool Show(TMessageKind Kind, const std::string& Text) override;

private:
    QPointer<QWidget> fParent;
};
