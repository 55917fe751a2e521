#pragma once
// The base of the viewer's dialogs. Their texts are translated where they are made (qtr), so what
// a form adds here is the rest of what every form does: it comes back where the user left it, and
// sizes given in design pixels follow the screen's resolution.
#include <QDialog>
#include <memory>

#include "shell/SaveWindows.h"

// P design pixels (at 96 dots per inch) on Form's screen, rounded.
int ToDPI(const QWidget* form, int p);

class TTranslateForm : public QDialog {
    Q_OBJECT
public:
    ~TTranslateForm() override;

protected:
    // FormName names the form and its section in the window-position file. A form whose name holds
    // "MAINFORM" (in any case) starts nearly full screen; any other keeps the place it is given
    // until the user has moved it.
    TTranslateForm(QWidget* parent, const QString& formName);

    // The window-position file and the form's section in it.
    static std::string IniFileName();
    std::string IniFileSection() const;

    std::unique_ptr<TSaveWindowNew> fSaveWindow;
};
