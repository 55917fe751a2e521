// The main window: creation, menus and actions, and every way of opening a file.
#include "shell/MainForm.h"

#include "components/SymbolObjectSymbol.h"
#include "document/DocumentOpener.h"
#include "document/DrawingView.h"
#include "model/BOM.h"
#include "platform/DirectoryHandling.h"
#include "platform/FileExtensions.h"
#include "platform/MessageBox.h"
#include "platform/QUAVGlobs.h"
#include "qt/LocaleDates.h"
#include "qt/QtRasterSurface.h"
#include "qt/QtTranslate.h"
#include "qt/SingleInstance.h"
#include "shell/AboutBox.h"
#include "shell/PaintBox.h"
#include "shell/SaveCursors.h"

#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMenuBar>
#include <QMimeData>
#include <QPdfDocument>
#include <QPdfView>
#include <QPushButton>
#include <QStackedLayout>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>
#include <filesystem>

std::string CurrentDrawingFolder;

namespace {

// The file dialog compares masks exactly on this platform; a mask that ignores case lets
// "PLAN.KDF" show next to "plan.kdf", as the viewer opens both.
QString CaseBlindMask(TFileType Type) {
    QString Mask = QStringLiteral("*");
    for (const QChar C : QString::fromUtf8(FileExtension(Type))) {
        if (C.isLetter())
            Mask += QLatin1Char('[') + C.toLower() + C.toUpper() + QLatin1Char(']');
        else
            Mask += C;
    }
    return Mask;
}

QString FilterEntry(const std::string& DisplayName, const QStringList& Masks) {
    return qtr(DisplayName) + QStringLiteral(" (") + Masks.join(QLatin1Char(' ')) + QLatin1Char(')');
}

const char* DrawModeName(TSymbolGroupDrawMode Mode) {
    switch (Mode) {
    case drawMainGroups:
        return "Main groups";
    case drawSubGroups:
        return "Sub groups";
    case drawNoGroups1:
    case drawNoGroups2:
        break;
    }
    return "No groups";
}

// Day count of a date the way drawings store dates (days since 30 December 1899).
QIcon ActionIcon(const char* ThemeName, QStyle::StandardPixmap Fallback) {
    return QIcon::fromTheme(QString::fromLatin1(ThemeName), QApplication::style()->standardIcon(Fallback));
}

} // namespace

QStringList OpenDialogFilters() {
    const auto Plural = [](TFileType Type) { return std::string(FileTypeDescription(Type)) + "s"; };
    QStringList Compatible;
    for (const TFileType Type : {ftDiagram, ftPackedDiagram, ftSymbol, ftZip})
        Compatible << CaseBlindMask(Type);
    return {FilterEntry("Compatible Files", Compatible),
            FilterEntry(Plural(ftDiagram), {CaseBlindMask(ftDiagram)}),
            FilterEntry(Plural(ftSymbol), {CaseBlindMask(ftSymbol)}),
            FilterEntry(Plural(ftZip), {CaseBlindMask(ftZip)}),
            // "*.*" would hide names without a point here; "*" is every file.
            FilterEntry(Plural(ftAllFiles), {QStringLiteral("*")})};
}

TMainForm::TMainForm(std::string CommandLineFile, QWidget* Parent)
    : QMainWindow(Parent), fBusyIndicator([this](const QString& Text) {
          if (!StatusBar1) return;
          // An empty text ends the progress: the status bar shows the file again.
          StatusBar1->setText(Text.isEmpty() ? QString::fromStdString(fFileName) : Text);
          StatusBar1->repaint();
      }),
      fCommandLineFile(std::move(CommandLineFile)) {
    setObjectName(QStringLiteral("MainForm"));
    FormCreate();
}

TMainForm::~TMainForm() {
    FormDestroy();
}

void TMainForm::FormCreate() {
    fPreviousBusyHook = SetBusyHook(&fBusyIndicator);
    CreateActions();
    CreatePanels();
    CreateMenusAndBars();
    fCurrentPrintPreviewPDF = 0;
    setWindowTitle(QString::fromUtf8(ProgramName));
    fFileName.clear();
    fFirstActivate = true;
    fSymbolFile.Messages().InvalidRevisionDate = [](const std::string& Value) {
        ShowErrorMessage(Value + " " + _("is not a valid date."));
    };
    fSymbolFile.Messages().ParseLocaleDate = ParseUserLocaleDate;
    // Option defaults; the settings file overrides them at the first activation.
    fBlackBackground = true;
    fReverseMouseWheel = false;
    fSearchDataSheetsOnline = true;
    fMetricUnits = QLocale::system().measurementSystem() != QLocale::ImperialUSSystem;
    fUnpackLocation.clear();
    fMeasureSurface = std::make_unique<TQtRasterSurface>(&fMeasureImage);
    fSymbolCanvas.fCanvas = fMeasureSurface.get();
    SetupViewCanvas(fSymbolCanvas, int(logicalDpiX() * PaintBoxPixelRatio() + 0.5));
    ResetPanBitmap();
    fLastPath.clear();
    setAcceptDrops(true);
    fDefaultDataSheetPath = GetTempFolder() + MakerName + PathDelimiter + ProgramName + PathDelimiter +
                            "Data Sheets" + PathDelimiter;
    resize(1024, 768);
    UpdateButtons();
}

void TMainForm::CreateActions() {
    const auto Make = [this](const char* Name, const char* Caption) {
        QAction* A = new QAction(qtr(Caption), this);
        A->setObjectName(QString::fromLatin1(Name));
        return A;
    };
    // Parts of the program that are not in this version yet: visible, disabled, and saying so.
    const auto NotYet = [](QAction* A) {
        A->setEnabled(false);
        A->setToolTip(A->text() + QStringLiteral(" - ") + qtr("Not available in this version."));
        A->setStatusTip(qtr("Not available in this version."));
    };

    FileOpenAction = Make("FileOpenAction", "Open File");
    FileOpenAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    FileOpenAction->setIcon(ActionIcon("document-open", QStyle::SP_DialogOpenButton));
    connect(FileOpenAction, &QAction::triggered, this, &TMainForm::FileOpenActionExecute);

    FileCloseAction = Make("FileCloseAction", "Close");
    FileCloseAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F4));
    FileCloseAction->setIcon(ActionIcon("document-close", QStyle::SP_DialogCloseButton));
    connect(FileCloseAction, &QAction::triggered, this, &TMainForm::FileCloseActionExecute);

    FileExitAction = Make("FileExitAction", "Exit");
    FileExitAction->setIcon(ActionIcon("application-exit", QStyle::SP_TitleBarCloseButton));
    connect(FileExitAction, &QAction::triggered, this, &QWidget::close);

    ShowDataSheetAction = Make("ShowDataSheetAction", "Show Datasheet...");
    connect(ShowDataSheetAction, &QAction::triggered, this, &TMainForm::ShowDataSheetActionExecute);
    PropertiesAction = Make("PropertiesAction", "Properties...");
    connect(PropertiesAction, &QAction::triggered, this, &TMainForm::PropertiesActionExecute);

    ViewZoomAllAction = Make("ViewZoomAllAction", "Zoom All  [Home]");
    ViewZoomAllAction->setIcon(ActionIcon("zoom-fit-best", QStyle::SP_TitleBarMaxButton));
    connect(ViewZoomAllAction, &QAction::triggered, this, &TMainForm::ViewZoomAllActionExecute);

    ActionPrintPreview = Make("ActionPrintPreview", "Print preview");
    ActionPrintPreview->setIcon(ActionIcon("document-print-preview", QStyle::SP_FileDialogContentsView));
    connect(ActionPrintPreview, &QAction::triggered, this, &TMainForm::ActionPrintPreviewExecute);

    OptionsReverseMouseWheelAction = Make("OptionsReverseMouseWheelAction", "Reverse Mouse Wheel Zooming");
    OptionsReverseMouseWheelAction->setCheckable(true);
    connect(OptionsReverseMouseWheelAction, &QAction::triggered, this,
            &TMainForm::OptionsReverseMouseWheelActionExecute);
    OptionsBlackBackgroundAction = Make("OptionsBlackBackgroundAction", "Black Background");
    OptionsBlackBackgroundAction->setCheckable(true);
    connect(OptionsBlackBackgroundAction, &QAction::triggered, this,
            &TMainForm::OptionsBlackBackgroundActionExecute);
    ActionUnits = Make("ActionUnits", "Imperial units");
    ActionUnits->setCheckable(true);
    connect(ActionUnits, &QAction::triggered, this, &TMainForm::ActionUnitsExecute);
    ActionDrawMode = Make("ActionDrawMode", "Draw main groups");
    connect(ActionDrawMode, &QAction::triggered, this, &TMainForm::ActionDrawModeExecute);
    SearchDataSheetsOnlineAction = Make("SearchDataSheetsOnlineAction", "Search online for data sheets");
    SearchDataSheetsOnlineAction->setCheckable(true);
    connect(SearchDataSheetsOnlineAction, &QAction::triggered, this,
            &TMainForm::SearchDataSheetsOnlineActionExecute);
    PathDataSheetsAction = Make("PathDataSheetsAction", "Path local data sheets...");
    NotYet(PathDataSheetsAction);
    ProxyServerAction = Make("ProxyServerAction", "Proxy Server...");
    NotYet(ProxyServerAction);
    OptionsLanguageAction = Make("OptionsLanguageAction", "Language...");
    NotYet(OptionsLanguageAction);
    HelpCheckForUpdatesAction = Make("HelpCheckForUpdatesAction", "Check for Updates...");
    NotYet(HelpCheckForUpdatesAction);
    HelpAboutAction = Make("HelpAboutAction", "About...");
    HelpAboutAction->setIcon(ActionIcon("help-about", QStyle::SP_MessageBoxInformation));
    connect(HelpAboutAction, &QAction::triggered, this, &TMainForm::HelpAboutActionExecute);
}

void TMainForm::CreateMenusAndBars() {
    QMenu* File = menuBar()->addMenu(qtr("File"));
    File->addActions({FileOpenAction, FileCloseAction, FileExitAction});
    QMenu* Modify = menuBar()->addMenu(qtr("Modify"));
    Modify->addActions({ShowDataSheetAction, PropertiesAction});
    QMenu* View = menuBar()->addMenu(qtr("View"));
    View->addActions({ViewZoomAllAction, ActionPrintPreview});
    QMenu* Options = menuBar()->addMenu(qtr("Options"));
    Options->addActions({OptionsReverseMouseWheelAction, OptionsBlackBackgroundAction, ActionUnits,
                         ActionDrawMode, SearchDataSheetsOnlineAction, PathDataSheetsAction});
    Options->addSeparator();
    Options->addActions({ProxyServerAction, OptionsLanguageAction});
    QMenu* Help = menuBar()->addMenu(qtr("Help"));
    Help->addActions({HelpCheckForUpdatesAction, HelpAboutAction});

    ToolBarMainForm = addToolBar(QStringLiteral("ToolBarMainForm"));
    ToolBarMainForm->setObjectName(QStringLiteral("ToolBarMainForm"));
    ToolBarMainForm->setMovable(false);
    ToolBarMainForm->addActions({FileOpenAction, FileCloseAction, ActionPrintPreview});
    ToolBarMainForm->addSeparator();
    ToolBarMainForm->addAction(ViewZoomAllAction);
    ToolBarMainForm->addSeparator();
    ToolBarMainForm->addAction(HelpAboutAction);

    PopupMenuPaintBox = new QMenu(this);
    PopupMenuPaintBox->setObjectName(QStringLiteral("PopupMenuPaintBox"));
    PopupMenuPaintBox->addAction(OptionsBlackBackgroundAction);
    PopupMenuPaintBox->addSeparator();
    PopupMenuPaintBox->addActions({ShowDataSheetAction, PropertiesAction});
    PanelPaintBox->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(PanelPaintBox, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& Pos) { PopupMenuPaintBox->popup(PanelPaintBox->mapToGlobal(Pos)); });

    StatusBar1 = new QLabel(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->addWidget(StatusBar1, 1);
}

void TMainForm::CreatePanels() {
    PanelMain = new QWidget(this);
    PanelMain->setObjectName(QStringLiteral("PanelMain"));
    auto* Stack = new QStackedLayout(PanelMain);
    Stack->setStackingMode(QStackedLayout::StackOne);

    PanelBackGround = new QFrame(PanelMain);
    PanelBackGround->setObjectName(QStringLiteral("PanelBackGround"));
    PanelBackGround->setFrameStyle(QFrame::Box | QFrame::Plain);
    PanelBackGround->setLineWidth(1);
    PanelBackGround->setAutoFillBackground(true);
    auto* BackLayout = new QVBoxLayout(PanelBackGround);
    BackLayout->setContentsMargins(4, 4, 4, 4);
    PanelPaintBox = new QWidget(PanelBackGround);
    PanelPaintBox->setObjectName(QStringLiteral("PanelPaintBox"));
    PanelPaintBox->setAutoFillBackground(true);
    BackLayout->addWidget(PanelPaintBox);
    auto* BoxLayout = new QVBoxLayout(PanelPaintBox);
    BoxLayout->setContentsMargins(0, 0, 0, 0);
    PaintBoxMain = new TPaintBox(*this, PanelPaintBox);
    PaintBoxMain->setObjectName(QStringLiteral("PaintBoxMain"));
    BoxLayout->addWidget(PaintBoxMain);
    Stack->addWidget(PanelBackGround);

    PanelPrintPreview = new QWidget(PanelMain);
    PanelPrintPreview->setObjectName(QStringLiteral("PanelPrintPreview"));
    auto* PreviewLayout = new QVBoxLayout(PanelPrintPreview);
    auto* Buttons = new QHBoxLayout;
    const auto Button = [this](const char* Name, const char* Caption) {
        auto* B = new QPushButton(qtr(Caption), PanelPrintPreview);
        B->setObjectName(QString::fromLatin1(Name));
        return B;
    };
    ButtonPrint = Button("ButtonPrint", "Print...");
    ButtonPrint->setEnabled(false);
    ButtonPrint->setToolTip(qtr("Not available in this version."));
    ButtonPrev = Button("ButtonPrev", "Prev");
    ButtonNext = Button("ButtonNext", "Next");
    ButtonClosePreview = Button("ButtonClose", "Close print preview");
    Buttons->addWidget(ButtonPrint);
    Buttons->addWidget(ButtonPrev);
    Buttons->addWidget(ButtonNext);
    Buttons->addStretch(1);
    Buttons->addWidget(ButtonClosePreview);
    PreviewLayout->addLayout(Buttons);
    fPDFDocument = new QPdfDocument(this);
    fPDFViewer = new QPdfView(PanelPrintPreview);
    fPDFViewer->setObjectName(QStringLiteral("PDFViewer"));
    fPDFViewer->setDocument(fPDFDocument);
    fPDFViewer->setPageMode(QPdfView::PageMode::MultiPage);
    PreviewLayout->addWidget(fPDFViewer, 1);
    Stack->addWidget(PanelPrintPreview);
    connect(ButtonPrev, &QPushButton::clicked, this,
            [this] { ShowPrintPreviewPage(fCurrentPrintPreviewPDF - 1); });
    connect(ButtonNext, &QPushButton::clicked, this,
            [this] { ShowPrintPreviewPage(fCurrentPrintPreviewPDF + 1); });
    connect(ButtonClosePreview, &QPushButton::clicked, this, &TMainForm::ButtonCloseClick);

    Stack->setCurrentWidget(PanelBackGround);
    setCentralWidget(PanelMain);
    PaintBoxMain->setFocus();
}

void TMainForm::showEvent(QShowEvent* Event) {
    QMainWindow::showEvent(Event);
    // A window without a window manager may never be activated: the first showing counts as the
    // first activation. It runs once the window is laid out, so Zoom All fits the real size.
    if (fFirstActivate) QTimer::singleShot(0, this, &TMainForm::FormActivate);
}

void TMainForm::changeEvent(QEvent* Event) {
    QMainWindow::changeEvent(Event);
    if (Event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

void TMainForm::FormActivate() {
    if (fFirstActivate) {
        fFirstActivate = false;
        ForceFolder(GetUserDataFolder() + "Cache" + PathDelimiter);
        if (fDataSheetPath.empty()) fDataSheetPath = fDefaultDataSheetPath;
        ForceFolder(fDataSheetPath);
        SetSymbolCanvasDPI();
        SetColors();
        if (!fCommandLineFile.empty()) OpenDocumentFile(fCommandLineFile);
    }
    UpdateButtons();
}

void TMainForm::FormDestroy() {
    SetBusyHook(fPreviousBusyHook);
    fPDFDocument->close();
    DeleteTempDirs();
    ForceFolder(ExtractFileDir(GetWindowPosIniFileName()));
}

void TMainForm::DeleteTempDirs() {
    fTempDirs.DeleteTempDirs();
}

bool TMainForm::StartHandOffServer(const QString& SocketPath, QString* ErrorText) {
    auto Server = std::make_unique<THandOffServer>(SocketPath);
    if (!Server->Listen(ErrorText)) return false;
    connect(Server.get(), &THandOffServer::DocumentRequested, this, &TMainForm::HandOffDocument);
    fHandOffServer = std::move(Server);
    return true;
}

void TMainForm::HandOffDocument(const QString& LongFileName) {
    if (isMinimized()) showNormal();
    raise();
    activateWindow();
    OpenDocumentFile(LongFileName.toStdString());
}

// ---------------------------------------------------------------------------------------------
// Opening files

void TMainForm::OpenDocumentFile(const std::string& FileName) {
    // A type the viewer does not open changes nothing at all, not even the print-preview pages.
    if (!IsOpenableFile(FileName)) return;
    std::error_code Error;
    const std::filesystem::path Absolute = std::filesystem::absolute(std::filesystem::path(FileName), Error);
    const std::string Path = Error ? FileName : Absolute.lexically_normal().string();
    TOpenResult Result;
    {
        TSaveCursor Hourglass;
        Result = ::OpenDocumentFile(fSymbolFile, Path, fTempDirs);
    }
    // Pages come only with a packed archive, also one whose drawing failed or is missing.
    fPrintPreviewPDFs = Result.PrintPreviewPDFs;
    fCurrentPrintPreviewPDF = 0;
    if (GetFileType(Path) == ftPackedDiagram) fUnpackLocation = Result.UnpackFolder;
    if (Result.Status == TOpenStatus::osFailed) ShowErrorMessage(Result.Error);
    if (Result.Opened()) ShowOpenedDrawing(Result.DrawingFileName, Path);
    if (PrintPreviewShown()) ShowPrintPreviewPage(fCurrentPrintPreviewPDF);
    UpdateButtons();
}

void TMainForm::ShowOpenedDrawing(const std::string& DrawingFileName, const std::string& OpenedFileName) {
    if (fSymbolFile.CheckFileVersion(ProgramBuild) > 0)
        ShowWarningMessage(FormatText(
            _("This file is saved with %s %s, your version is %s, some data might be lost!"),
            {ProgramName, fSymbolFile.Data().FileVersion, std::string(ProgramYear) + "-" + ProgramBuild}));
    fFileName = DrawingFileName;
    fSymbolCanvas.fSymbolGroupDrawMode = fSymbolFile.Data().GroupDrawMode;
    ZoomAll();
    // A drawing with no objects is shown all the same: the previous view must not stay.
    if (fSymbolFile.Symbol().fSymbolObjectList.Count() == 0) DrawSymbolFile();
    // The folder the user opened from: a package's own, not its unpack folder.
    fLastPath = ExtractFileDir(OpenedFileName);
    CurrentDrawingFolder = ExtractFileDir(DrawingFileName);
}

void TMainForm::FileIsDroppend(const QStringList& FileNames) {
    if (FileNames.size() == 1) OpenDocumentFile(FileNames.front().toStdString());
}

void TMainForm::dragEnterEvent(QDragEnterEvent* Event) {
    if (Event->mimeData()->hasUrls()) Event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* Event) {
    QStringList Names;
    for (const QUrl& Url : Event->mimeData()->urls())
        Names << Url.toLocalFile();
    Event->acceptProposedAction();
    FileIsDroppend(Names);
}

// ---------------------------------------------------------------------------------------------
// Actions

void TMainForm::FileOpenActionExecute() {
    QFileDialog Dialog(this, qtr("Open File"), QString::fromStdString(fLastPath));
    Dialog.setObjectName(QStringLiteral("OpenDialog"));
    Dialog.setFileMode(QFileDialog::ExistingFile);
    Dialog.setAcceptMode(QFileDialog::AcceptOpen);
    Dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    const QStringList Filters = OpenDialogFilters();
    Dialog.setNameFilters(Filters);
    Dialog.selectNameFilter(Filters.front());
    if (Dialog.exec() != QDialog::Accepted || Dialog.selectedFiles().isEmpty()) return;
    OpenDocumentFile(Dialog.selectedFiles().front().toStdString());
}

void TMainForm::FileCloseActionExecute() {
    fCurrentPrintPreviewPDF = 0;
    fPrintPreviewPDFs.clear();
    ShowPrintPreview(false);
    fSymbolFile.Clear();
    fFileName.clear();
    DrawSymbolFile();
    UpdateButtons();
}

void TMainForm::HelpAboutActionExecute() {
    TAboutDlg About(this);
    About.exec();
}

void TMainForm::PropertiesActionExecute() {
    ShowInformationMessage(_("The properties of components are not available in this version."));
}

void TMainForm::ShowDataSheetActionExecute() {
    ShowInformationMessage(_("Datasheets cannot be shown in this version."));
}

void TMainForm::OptionsBlackBackgroundActionExecute() {
    fBlackBackground = !fBlackBackground;
    SetColors();
    UpdateButtons();
}

void TMainForm::OptionsReverseMouseWheelActionExecute() {
    fReverseMouseWheel = !fReverseMouseWheel;
    UpdateButtons();
}

void TMainForm::SearchDataSheetsOnlineActionExecute() {
    fSearchDataSheetsOnline = !fSearchDataSheetsOnline;
    UpdateButtons();
}

void TMainForm::ActionUnitsExecute() {
    fMetricUnits = !fMetricUnits;
    UpdateButtons();
}

void TMainForm::ActionDrawModeExecute() {
    fSymbolCanvas.fSymbolGroupDrawMode = TSymbolGroupDrawMode((fSymbolCanvas.fSymbolGroupDrawMode + 1) % 4);
    DrawSymbolFile();
}

void TMainForm::ActionPrintPreviewExecute() {
    ShowPrintPreview(true);
}

void TMainForm::ButtonCloseClick() {
    ShowPrintPreview(false);
}

bool TMainForm::PrintPreviewShown() const {
    return static_cast<QStackedLayout*>(PanelMain->layout())->currentWidget() == PanelPrintPreview;
}

void TMainForm::ShowPrintPreview(bool Value) {
    auto* Stack = static_cast<QStackedLayout*>(PanelMain->layout());
    if (Value) {
        ResetPanBitmap();
        Stack->setCurrentWidget(PanelPrintPreview);
        ShowPrintPreviewPage(fCurrentPrintPreviewPDF);
    } else {
        Stack->setCurrentWidget(PanelBackGround);
        PaintBoxMain->setFocus();
    }
    UpdateButtons();
}

void TMainForm::ShowPrintPreviewPage(int Index) {
    fPDFDocument->close();
    if (Index < 0 || Index >= int(fPrintPreviewPDFs.size())) {
        fCurrentPrintPreviewPDF = 0;
    } else {
        fCurrentPrintPreviewPDF = Index;
        fPDFDocument->load(QString::fromStdString(fPrintPreviewPDFs[size_t(Index)]));
    }
    UpdateButtons();
}

void TMainForm::UpdateButtons() {
    OptionsReverseMouseWheelAction->setChecked(fReverseMouseWheel);
    OptionsBlackBackgroundAction->setChecked(fBlackBackground);
    SearchDataSheetsOnlineAction->setChecked(fSearchDataSheetsOnline);
    ActionUnits->setChecked(!fMetricUnits);
    SetDisplayUnits(fMetricUnits, fMetricUnits, fMetricUnits, fMetricUnits, fMetricUnits);
    if (StatusBar1) StatusBar1->setText(QString::fromStdString(fFileName));
    PropertiesAction->setEnabled(fSymbolFile.Symbol().fSymbolObjectList.HasSelection());
    ShowDataSheetAction->setEnabled(PropertiesAction->isEnabled());
    ActionPrintPreview->setEnabled(!fPrintPreviewPDFs.empty());
    const int Pages = int(fPrintPreviewPDFs.size());
    ButtonPrev->setVisible(Pages >= 2);
    ButtonNext->setVisible(Pages >= 2);
    ButtonNext->setEnabled(fCurrentPrintPreviewPDF < Pages - 1);
    ButtonPrev->setEnabled(fCurrentPrintPreviewPDF > 0);
    ActionDrawMode->setText(qtr("Draw") + QLatin1Char(' ') +
                            qtr(DrawModeName(fSymbolCanvas.fSymbolGroupDrawMode)));
}

QString TMainForm::StatusText() const {
    return StatusBar1->text();
}
