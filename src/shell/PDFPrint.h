#pragma once
// Printing the PDF pages of a packed drawing archive. Qt PDF has no vector path onto a printer, so
// each page is rasterised at the printer's resolution (capped, see PDFPrint.cpp) and drawn as an
// image.
#include <QString>
#include <stdexcept>
#include <string>

class QPainter;
class QPrinter;
class QWidget;

// How a PDF page of size P is fitted onto the paper, with printable area A and full page F:
// smOff: actual size at the top-left of A (what does not fit is cut off);
// smShrinkIfNeeded: actual size, shrunk to fit A when larger;
// smShrinkToPage: actual size, shrunk to fit F when larger;
// smScaleToPrintArea: scaled up or down to fit A;
// smScaleToPageArea: scaled up or down to fit F.
// Every mode but smOff centres the page in its area, as PDF viewers do when they fit a page.
enum TScaleMode { smOff, smShrinkIfNeeded, smShrinkToPage, smScaleToPrintArea, smScaleToPageArea };

// The PDF file to print does not exist.
class EFileNotFound : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The PDF file cannot be loaded (also when a page size is absurd), or the printer is missing or
// cannot be started.
class EPDFPrintError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TPDFPrint {
public:
    // True when the user printed, false when the dialog was cancelled. The dialog starts on the
    // named printer, or on the default one when the name is empty or names no installed printer.
    static bool PrintWithDialog(const QString& fileName, const QString& printer, QWidget* parent,
                                TScaleMode mode);
    static bool PrintWithDialog(const QString& fileName, const QString& printer, TScaleMode mode);
    static bool PrintWithDialog(const QString& fileName);
    // Prints on the named printer, or the default one for an empty name; a name that is not
    // installed, or no printer at all, is an EPDFPrintError, never another printer.
    static void PrintNoDialog(const QString& fileName, const QString& printer, TScaleMode mode);

    // Prints the pages of fileName (the printer's page range when it has one, else all, in the
    // printer's page order) onto printer. With painter, an already begun painter on printer, the pages follow
    // what is on it: printer.newPage() comes before each page but the first of this call, so the caller
    // starts a new page between files. Without, it begins and ends its own painter. Throws EFileNotFound or
    // EPDFPrintError before anything is drawn.
    static void PrintToPrinter(QPrinter& printer, const QString& fileName, TScaleMode mode,
                               QPainter* painter = nullptr);

    // The number of pages of fileName; throws as PrintToPrinter does. Lets a caller that puts
    // several files into one output check a file before it starts a page for it.
    static int PageCount(const QString& fileName);
};
