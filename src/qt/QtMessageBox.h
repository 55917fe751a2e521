#pragma once
// The message boxes of the GUI: modal QMessageBox dialogs with the usual titles.
#include "platform/MessageBox.h"

#include <QPointer>
#include <QWidget>

class TQtMessageBoxes : public IMessageBoxes {
public:
    // Parent centres the boxes over the main window; null gives free-standing boxes.
    explicit TQtMessageBoxes(QWidget* parent = nullptr) : fParent(parent) {}
    void SetParent(QWidget* parent) { fParent = parent; }
    bool Show(TMessageKind kind, const std::string& text) override;

private:
    QPointer<QWidget> fParent;
};
