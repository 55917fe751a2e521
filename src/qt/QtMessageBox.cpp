#include "qt/QtMessageBox.h"

#include "qt/QtTranslate.h"

#include <QApplication>
#include <QGuiApplication>
#include <QMessageBox>

bool TQtMessageBoxes::Show(TMessageKind kind, const std::string& text) {
    // Without a QApplication no widget can be made; fall back rather than abort the process.
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
        return TStdErrMessageBoxes().Show(kind, text);

    // An override cursor (the hourglass) would otherwise stay over the box the user must click.
    const bool hadOverride = QGuiApplication::overrideCursor() != nullptr;
    if (hadOverride) QGuiApplication::setOverrideCursor(Qt::ArrowCursor);

    const QString message = QString::fromStdString(text);
    bool result = true;
    switch (kind) {
    case TMessageKind::mkError:
        QMessageBox::critical(fParent, qtr("Error"), message);
        break;
    case TMessageKind::mkWarning:
        QMessageBox::warning(fParent, qtr("Warning"), message);
        break;
    case TMessageKind::mkInformation:
        QMessageBox::information(fParent, qtr("Information"), message);
        break;
    case TMessageKind::mkQuestion:
        result = QMessageBox::question(fParent, qtr("Confirm"), message, QMessageBox::Yes | QMessageBox::No,
                                       QMessageBox::No) == QMessageBox::Yes;
        break;
    }

    if (hadOverride) QGuiApplication::restoreOverrideCursor();
    return result;
}
