#include "qt/QtMessageBox.h"

#include "qt/QtTranslate.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>

bool TQtMessageBoxes::Show(TMessageKind Kind, const std::string& Text) {
    // Without a QApplication no widget can be made; fall back rather than abort the process.
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
        return TStdErrMessageBoxes().Show(Kind, Text);

    // An override cursor (the hourglass) would otherwise stay over the box the user must click.
    const bool HadOverride = QGuiApplication::overrideCursor() != nullptr;
    if (HadOverride) QGuiApplication::setOverrideCursor(Qt::ArrowCursor);

    const QString Message = QString::fromStdString(Text);
    bool Result = true;
    switch (Kind) {
    case TMessageKind::mkError:
        QMessageBox::critical(fParent, qtr("Error"), Message);
        break;
    case TMessageKind::mkWarning:
        QMessageBox::warning(fParent, qtr("Warning"), Message);
        break;
    case TMessageKind::mkInformation:
        QMessageBox::information(fParent, qtr("Information"), Message);
        break;
    case TMessageKind::mkQuestion:
        Result = QMessageBox::question(fParent, qtr("Confirm"), Message, QMessageBox::Yes | QMessageBox::No,
                                       QMessageBox::No) == QMessageBox::Yes;
        break;
    }

    if (HadOverride) QGuiApplication::restoreOverrideCursor();
    return Result;
}
