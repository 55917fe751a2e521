// The main window: creation, menus and actions, and every way of opening a file.
#include "shell/MainForm.h"

#include "components/SymbolObjectSymbol.h"
#include "document/BOMRows.h"
#include "document/DocumentOpener.h"
#include "document/DrawingView.h"
#include "model/BOM.h"
#include "platform/DirectoryHandling.h"
#include "platform/FileExtensions.h"
#include "platform/MessageBox.h"
#include "platform/QUAVGlobs.h"
#include "qt/DrawingExport.h"
#include "qt/LocaleDates.h"
#include "qt/QtRasterSurface.h"
#include "qt/QtTranslate.h"
#include "qt/SingleInstance.h"
#include "shell/AboutBox.h"
#include "shell/LanguageDialog.h"
#include "shell/PDFPrint.h"
#include "shell/PaintBox.h"
#include "shell/PropertiesDialogs.h"
#include "shell/ProxyServerSettingsDialog.h"
#include "shell/SaveCursors.h"
#include "shell/SaveWindows.h"
#include "shell/SheetNavigator.h"
#include "shell/ViewerSettings.h"

#include <QAction>
#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
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
#include <cstdio>
#include <filesystem>

std::string CurrentDrawingFolder;

namespace {

// The file dialog compares masks exactly on this platform; a mask that ignores case lets
// "PLAN.KDF" show next to "plan.kdf", as the viewer opens both.
QString CaseBlindMask(TFileType type) {
    QString mask = QStringLiteral("*");
    for (const QChar c : QString::fromUtf8(FileExtension(type))) {
        if (c.isLetter())
            mask += QLatin1Char('[') + c.toLower() + c.toUpper() + QLatin1Char(']');
        else
            mask += c;
    }
    return mask;
}

QString FilterEntry(const std::string& displayName, const QStringList& masks) {
    return qtr(displayName) + QStringLiteral(" (") + masks.join(QLatin1Char(' ')) + QLatin1Char(')');
}

const char* DrawModeName(TSymbolGroupDrawMode mode) {
    switch (mode) {
    case drawMainGroups:
        return N_("Main groups");
    case drawSubGroups:
        return N_("Sub groups");
    case drawNoGroups1:
    case drawNoGroups2:
        break;
    }
    return N_("No groups");
}

// Day count of a date the way drawings store dates (days since 30 December 1899).
QIcon ActionIcon(const char* themeName, QStyle::StandardPixmap fallback) {
    const QIcon source =
        QIcon::fromTheme(QString::fromLatin1(themeName), QApplication::style()->standardIcon(fallback));
    // Grey icons, such as the print preview's, look the same when the style greys them: a disabled
    // button is drawn faded instead, so that it never looks like one that works.
    QIcon icon;
    for (const int side : {16, 22, 24, 32, 48}) {
        const QPixmap normal = source.pixmap(side, side);
        icon.addPixmap(normal, QIcon::Normal);
        QPixmap faded(normal.size());
        faded.fill(Qt::transparent);
        QPainter painter(&faded);
        painter.setOpacity(0.3);
        painter.drawPixmap(0, 0, normal);
        painter.end();
        icon.addPixmap(faded, QIcon::Disabled);
    }
    return icon;
}

} // namespace

QStringList OpenDialogFilters() {
    QStringList compatible;
    for (const TFileType type : {ftDiagram, ftPackedDiagram, ftSymbol, ftZip})
        compatible << CaseBlindMask(type);
    // The names are the file-type descriptions in the plural, translated whole.
    return {FilterEntry(N_("Compatible Files"), compatible),
            FilterEntry(N_("Korvane Diagram Files"), {CaseBlindMask(ftDiagram)}),
            FilterEntry(N_("Korvane Symbol Files"), {CaseBlindMask(ftSymbol)}),
            FilterEntry(N_("Compressed Files"), {CaseBlindMask(ftZip)}),
            // "*.*" would hide names without a point here; "*" is every file.
            FilterEntry(N_("All Files"), {QStringLiteral("*")})};
}

TMainForm::TMainForm(std::string commandLineFile, QWidget* parent)
    : QMainWindow(parent), fBusyIndicator([this](const QString& text) {
          if (!StatusBar1) return;
          // An empty text ends the progress: the status bar shows the file again.
          StatusBar1->setText(text.isEmpty() ? StatusLine() : text);
          StatusBar1->repaint();
      }),
      fCommandLineFile(std::move(commandLineFile)) {
    setObjectName(QStringLiteral("MainForm"));
    FormCreate();
    fSaveWindow =
        std::make_unique<TSaveWindowNew>(GetWindowPosIniFileName(), TWindowToFullScreen::FullScreen, this);
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
    fSymbolFile.Messages().InvalidRevisionDate = [](const std::string& value) {
        ShowErrorMessage(value + " " + _("is not a valid date."));
    };
    fSymbolFile.Messages().ParseLocaleDate = ParseUserLocaleDate;
    // Option defaults; the settings file overrides them at the first activation.
    fBlackBackground = true;
    fReverseMouseWheel = false;
    fSearchDataSheetsOnline = true;
    fMetricUnits = !LocaleUsesUSMeasurement();
    fUnpackLocation.clear();
    fMeasureSurface = std::make_unique<TQtRasterSurface>(&fMeasureImage);
    fSymbolCanvas.fCanvas = fMeasureSurface.get();
    SetupViewCanvas(fSymbolCanvas, int(logicalDpiX() * PaintBoxPixelRatio() + 0.5));
    fSymbolCanvas.fDecimalSeparator = UserDecimalSeparator();
    ResetPanBitmap();
    fLastPath.clear();
    setAcceptDrops(true);
    fDefaultDataSheetPath = GetDefaultDataSheetFolder();
    fWebLibCommunicator = std::make_unique<TWebLibCommunicator>(LoadProxySettingsFromFile());
    fWebLibCommunicator->InitializeConnections();
    fDataSheets = std::make_unique<TDataSheetLookup>(fWebLibCommunicator.get(), GetDataSheetDownloadFolder());
    SetDataSheetViewer([this](const std::string& value) { ShowDataSheet(value); });
    resize(1024, 768);
    UpdateButtons();
}

void TMainForm::CreateActions() {
    const auto make = [this](const char* name, const char* caption) {
        QAction* a = new QAction(qtr(caption), this);
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    // Parts of the program that are not in this version yet are not offered at all: a menu item
    // that only says it does nothing is no use to anyone.
    const auto notYet = [](QAction* a) { a->setVisible(false); };

    FileOpenAction = make("FileOpenAction", N_("Open File"));
    FileOpenAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    FileOpenAction->setIcon(ActionIcon("document-open", QStyle::SP_DialogOpenButton));
    connect(FileOpenAction, &QAction::triggered, this, &TMainForm::FileOpenActionExecute);

    FileCloseAction = make("FileCloseAction", N_("Close"));
    FileCloseAction->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F4));
    FileCloseAction->setIcon(ActionIcon("document-close", QStyle::SP_DialogCloseButton));
    connect(FileCloseAction, &QAction::triggered, this, &TMainForm::FileCloseActionExecute);
    FileExportViewAction = make("FileExportViewAction", N_("Export View..."));
    connect(FileExportViewAction, &QAction::triggered, this, [this] { FileExportActionExecute(false); });
    FileExportDrawingAction = make("FileExportDrawingAction", N_("Export Drawing..."));
    connect(FileExportDrawingAction, &QAction::triggered, this, [this] { FileExportActionExecute(true); });

    FileExitAction = make("FileExitAction", N_("Exit"));
    FileExitAction->setIcon(ActionIcon("application-exit", QStyle::SP_TitleBarCloseButton));
    connect(FileExitAction, &QAction::triggered, this, &QWidget::close);

    ShowDataSheetAction = make("ShowDataSheetAction", N_("Show Datasheet..."));
    connect(ShowDataSheetAction, &QAction::triggered, this, &TMainForm::ShowDataSheetActionExecute);
    PropertiesAction = make("PropertiesAction", N_("Properties..."));
    connect(PropertiesAction, &QAction::triggered, this, &TMainForm::PropertiesActionExecute);

    ViewZoomAllAction = make("ViewZoomAllAction", N_("Zoom All  [Home]"));
    ViewZoomAllAction->setIcon(ActionIcon("zoom-fit-best", QStyle::SP_TitleBarMaxButton));
    connect(ViewZoomAllAction, &QAction::triggered, this, &TMainForm::ViewZoomAllActionExecute);

    ActionPrintPreview = make("ActionPrintPreview", N_("Print preview"));
    ActionPrintPreview->setIcon(ActionIcon("document-print-preview", QStyle::SP_FileDialogContentsView));
    connect(ActionPrintPreview, &QAction::triggered, this, &TMainForm::ActionPrintPreviewExecute);

    OptionsReverseMouseWheelAction =
        make("OptionsReverseMouseWheelAction", N_("Reverse Mouse Wheel Zooming"));
    OptionsReverseMouseWheelAction->setCheckable(true);
    connect(OptionsReverseMouseWheelAction, &QAction::triggered, this,
            &TMainForm::OptionsReverseMouseWheelActionExecute);
    OptionsBlackBackgroundAction = make("OptionsBlackBackgroundAction", N_("Black Background"));
    OptionsBlackBackgroundAction->setCheckable(true);
    connect(OptionsBlackBackgroundAction, &QAction::triggered, this,
            &TMainForm::OptionsBlackBackgroundActionExecute);
    ActionUnits = make("ActionUnits", N_("Imperial units"));
    ActionUnits->setCheckable(true);
    connect(ActionUnits, &QAction::triggered, this, &TMainForm::ActionUnitsExecute);
    ActionDrawMode = make("ActionDrawMode", N_("Draw main groups"));
    connect(ActionDrawMode, &QAction::triggered, this, &TMainForm::ActionDrawModeExecute);
    SearchDataSheetsOnlineAction = make("SearchDataSheetsOnlineAction", N_("Search online for data sheets"));
    SearchDataSheetsOnlineAction->setCheckable(true);
    connect(SearchDataSheetsOnlineAction, &QAction::triggered, this,
            &TMainForm::SearchDataSheetsOnlineActionExecute);
    PathDataSheetsAction = make("PathDataSheetsAction", N_("Path local data sheets..."));
    connect(PathDataSheetsAction, &QAction::triggered, this, &TMainForm::PathDataSheetsActionExecute);
    ProxyServerAction = make("ProxyServerAction", N_("Proxy Server..."));
    connect(ProxyServerAction, &QAction::triggered, this, &TMainForm::ProxyServerActionExecute);
    OptionsLanguageAction = make("OptionsLanguageAction", N_("Language..."));
    // The choice applies from the next start: the language is fixed while the program runs.
    connect(OptionsLanguageAction, &QAction::triggered, this, [this] { TLanguageDlg(this).Execute(); });
    HelpCheckForUpdatesAction = make("HelpCheckForUpdatesAction", N_("Check for Updates..."));
    notYet(HelpCheckForUpdatesAction);
    FindAction = make("FindAction", N_("Find..."));
    FindAction->setShortcut(QKeySequence::Find);
    FindAction->setIcon(ActionIcon("edit-find", QStyle::SP_FileDialogContentsView));
    FindNextAction = make("FindNextAction", N_("Find Next"));
    FindNextAction->setShortcut(QKeySequence(Qt::Key_F3));
    connect(FindNextAction, &QAction::triggered, this, [this] { FindStep(1); });
    FindPreviousAction = make("FindPreviousAction", N_("Find Previous"));
    FindPreviousAction->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3));
    connect(FindPreviousAction, &QAction::triggered, this, [this] { FindStep(-1); });
    HelpAboutAction = make("HelpAboutAction", N_("About..."));
    HelpAboutAction->setIcon(ActionIcon("help-about", QStyle::SP_MessageBoxInformation));
    connect(HelpAboutAction, &QAction::triggered, this, &TMainForm::HelpAboutActionExecute);
}

void TMainForm::CreateMenusAndBars() {
    QMenu* file = menuBar()->addMenu(qtr("File"));
    file->addAction(FileOpenAction);
    MenuRecentFiles = file->addMenu(qtr("Recent Files"));
    MenuRecentFiles->setObjectName(QStringLiteral("MenuRecentFiles"));
    file->addAction(FileCloseAction);
    MenuPackageDrawings = file->addMenu(qtr("Drawings in the package"));
    MenuPackageDrawings->setObjectName(QStringLiteral("MenuPackageDrawings"));
    file->addSeparator();
    file->addActions({FileExportViewAction, FileExportDrawingAction});
    file->addSeparator();
    file->addAction(FileExitAction);
    QMenu* modify = menuBar()->addMenu(qtr("Modify"));
    modify->addActions({ShowDataSheetAction, PropertiesAction});
    modify->addSeparator();
    modify->addActions({FindAction, FindNextAction, FindPreviousAction});

    BOMPanel = new TBOMPanel(this);
    addDockWidget(Qt::RightDockWidgetArea, BOMPanel);
    BOMPanel->hide();
    BOMPanel->SetShowComponent([this](TSymbolObject& object) { ShowComponent(object); });
    BOMPanel->toggleViewAction()->setObjectName(QStringLiteral("ViewBOMAction"));
    BOMPanel->toggleViewAction()->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
    QMenu* view = menuBar()->addMenu(qtr("View"));
    view->addActions({ViewZoomAllAction, ActionPrintPreview, BOMPanel->toggleViewAction()});
    QMenu* options = menuBar()->addMenu(qtr("Options"));
    options->addActions({OptionsReverseMouseWheelAction, OptionsBlackBackgroundAction, ActionUnits,
                         ActionDrawMode, SearchDataSheetsOnlineAction, PathDataSheetsAction});
    options->addSeparator();
    options->addActions({ProxyServerAction, OptionsLanguageAction});
    QMenu* help = menuBar()->addMenu(qtr("Help"));
    help->addActions({HelpCheckForUpdatesAction, HelpAboutAction});

    // The title names the bar in the menu that shows and hides it.
    ToolBarMainForm = addToolBar(qtr("Toolbar"));
    ToolBarMainForm->setObjectName(QStringLiteral("ToolBarMainForm"));
    ToolBarMainForm->setMovable(false);
    ToolBarMainForm->addActions({FileOpenAction, FileCloseAction, ActionPrintPreview});
    ToolBarMainForm->addSeparator();
    ToolBarMainForm->addAction(ViewZoomAllAction);
    fSheetNavigator = new TSheetNavigator(ToolBarMainForm, this);
    connect(fSheetNavigator, &TSheetNavigator::SheetChosen, this, &TMainForm::ShowSheet);
    ToolBarMainForm->addSeparator();
    EditFind = new QLineEdit(ToolBarMainForm);
    EditFind->setObjectName(QStringLiteral("EditFind"));
    EditFind->setPlaceholderText(qtr("Find component (Ctrl+F)"));
    EditFind->setClearButtonEnabled(true);
    EditFind->setMaximumWidth(220);
    ToolBarMainForm->addWidget(EditFind);
    connect(EditFind, &QLineEdit::returnPressed, this, [this] { FindStep(1); });
    connect(FindAction, &QAction::triggered, this, [this] {
        EditFind->setFocus(Qt::ShortcutFocusReason);
        EditFind->selectAll();
    });
    ToolBarMainForm->addSeparator();
    ToolBarMainForm->addAction(HelpAboutAction);

    PopupMenuPaintBox = new QMenu(this);
    PopupMenuPaintBox->setObjectName(QStringLiteral("PopupMenuPaintBox"));
    PopupMenuPaintBox->addAction(OptionsBlackBackgroundAction);
    PopupMenuPaintBox->addSeparator();
    PopupMenuPaintBox->addActions({ShowDataSheetAction, PropertiesAction});

    StatusBar1 = new QLabel(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->addWidget(StatusBar1, 1);
}

void TMainForm::CreatePanels() {
    PanelMain = new QWidget(this);
    PanelMain->setObjectName(QStringLiteral("PanelMain"));
    auto* stack = new QStackedLayout(PanelMain);
    stack->setStackingMode(QStackedLayout::StackOne);

    PanelBackGround = new QFrame(PanelMain);
    PanelBackGround->setObjectName(QStringLiteral("PanelBackGround"));
    PanelBackGround->setFrameStyle(QFrame::Box | QFrame::Plain);
    PanelBackGround->setLineWidth(1);
    PanelBackGround->setAutoFillBackground(true);
    auto* backLayout = new QVBoxLayout(PanelBackGround);
    backLayout->setContentsMargins(4, 4, 4, 4);
    PanelPaintBox = new QWidget(PanelBackGround);
    PanelPaintBox->setObjectName(QStringLiteral("PanelPaintBox"));
    PanelPaintBox->setAutoFillBackground(true);
    backLayout->addWidget(PanelPaintBox);
    auto* boxLayout = new QVBoxLayout(PanelPaintBox);
    boxLayout->setContentsMargins(0, 0, 0, 0);
    PaintBoxMain = new TPaintBox(*this, PanelPaintBox);
    PaintBoxMain->setObjectName(QStringLiteral("PaintBoxMain"));
    boxLayout->addWidget(PaintBoxMain);
    stack->addWidget(PanelBackGround);

    PanelPrintPreview = new QWidget(PanelMain);
    PanelPrintPreview->setObjectName(QStringLiteral("PanelPrintPreview"));
    auto* previewLayout = new QVBoxLayout(PanelPrintPreview);
    auto* buttons = new QHBoxLayout;
    const auto button = [this](const char* name, const char* caption) {
        auto* b = new QPushButton(qtr(caption), PanelPrintPreview);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    ButtonPrint = button("ButtonPrint", N_("Print..."));
    ButtonPrev = button("ButtonPrev", N_("Prev"));
    ButtonNext = button("ButtonNext", N_("Next"));
    ButtonClosePreview = button("ButtonClose", N_("Close print preview"));
    buttons->addWidget(ButtonPrint);
    buttons->addWidget(ButtonPrev);
    buttons->addWidget(ButtonNext);
    buttons->addStretch(1);
    buttons->addWidget(ButtonClosePreview);
    previewLayout->addLayout(buttons);
    // A page that cannot be shown says so above the viewer instead of leaving it blank.
    LabelPreviewProblem = new QLabel(PanelPrintPreview);
    LabelPreviewProblem->setObjectName(QStringLiteral("LabelPreviewProblem"));
    LabelPreviewProblem->setWordWrap(true);
    LabelPreviewProblem->setVisible(false);
    previewLayout->addWidget(LabelPreviewProblem);
    fPDFDocument = new QPdfDocument(this);
    fPDFViewer = new QPdfView(PanelPrintPreview);
    fPDFViewer->setObjectName(QStringLiteral("PDFViewer"));
    fPDFViewer->setDocument(fPDFDocument);
    fPDFViewer->setPageMode(QPdfView::PageMode::MultiPage);
    previewLayout->addWidget(fPDFViewer, 1);
    stack->addWidget(PanelPrintPreview);
    connect(ButtonPrev, &QPushButton::clicked, this,
            [this] { ShowPrintPreviewPage(fCurrentPrintPreviewPDF - 1); });
    connect(ButtonNext, &QPushButton::clicked, this,
            [this] { ShowPrintPreviewPage(fCurrentPrintPreviewPDF + 1); });
    connect(ButtonClosePreview, &QPushButton::clicked, this, &TMainForm::ButtonCloseClick);
    connect(ButtonPrint, &QPushButton::clicked, this, &TMainForm::ButtonPrintClick);

    stack->setCurrentWidget(PanelBackGround);
    setCentralWidget(PanelMain);
    PaintBoxMain->setFocus();
}

void TMainForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // A window without a window manager may never be activated: the first showing counts as the
    // first activation. It runs once the window is laid out, so Zoom All fits the real size.
    if (fFirstActivate) QTimer::singleShot(0, this, &TMainForm::FormActivate);
}

void TMainForm::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

void TMainForm::FormActivate() {
    if (fFirstActivate) {
        fFirstActivate = false;
        ForceFolder(GetUserDataFolder() + "Cache" + PathDelimiter);
        ReadSettings();
        fRecentFiles.Load(GetIniFileName());
        UpdateRecentFilesMenu();
        fDataSheets->SetLocalFolders(fDataSheetPath, GetDataSheetIndexFileName());
        SetSymbolCanvasDPI();
        SetColors();
        if (!fCommandLineFile.empty()) OpenDocumentFile(fCommandLineFile);
    }
    UpdateButtons();
}

void TMainForm::FormDestroy() {
    SetBusyHook(fPreviousBusyHook);
    SetDataSheetViewer({});
    fPDFDocument->close();
    DeleteTempDirs();
    ForceFolder(ExtractFileDir(GetWindowPosIniFileName()));
    fSaveWindow.reset();
    WriteSettings();
    RememberView();
    std::string error;
    if (!fFirstActivate && !fRecentFiles.Save(GetIniFileName(), &error))
        std::fprintf(stderr, "korvane-viewer: %s\n", error.c_str());
}

TViewerSettings TMainForm::Settings() const {
    TViewerSettings s;
    s.BlackBackground = fBlackBackground;
    s.ReverseMouseWheel = fReverseMouseWheel;
    s.LastPath = fLastPath;
    s.SearchDataSheetsOnline = fSearchDataSheetsOnline;
    s.DataSheetPath = fDataSheetPath;
    s.MetricUnits = fMetricUnits;
    return s;
}

void TMainForm::ReadSettings() {
    const TViewerSettings s = TViewerSettings::Read(Settings(), fDefaultDataSheetPath, GetIniFileName());
    fBlackBackground = s.BlackBackground;
    fReverseMouseWheel = s.ReverseMouseWheel;
    fLastPath = s.LastPath;
    fSearchDataSheetsOnline = s.SearchDataSheetsOnline;
    // The datasheet folder is made when a look-up first needs it, not by every start.
    fDataSheetPath = s.DataSheetPath;
    fMetricUnits = s.MetricUnits;
}

void TMainForm::WriteSettings() {
    std::string error;
    if (!Settings().Write(fDefaultDataSheetPath, GetIniFileName(), &error))
        std::fprintf(stderr, "korvane-viewer: %s\n", error.c_str());
}

void TMainForm::DeleteTempDirs() {
    fTempDirs.DeleteTempDirs();
}

bool TMainForm::StartHandOffServer(const QString& socketPath, QString* errorText) {
    auto server = std::make_unique<THandOffServer>(socketPath);
    if (!server->Listen(errorText)) return false;
    connect(server.get(), &THandOffServer::DocumentRequested, this, &TMainForm::HandOffDocument);
    fHandOffServer = std::move(server);
    return true;
}

void TMainForm::HandOffDocument(const QString& longFileName) {
    if (isMinimized()) showNormal();
    raise();
    activateWindow();
    if (fPropertiesOpen > 0) {
        // The last file handed over opens when the properties dialogs are closed; the dialog
        // stays in front, since it is what the user must close first.
        fPendingHandOff = longFileName;
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            dialog->raise();
            dialog->activateWindow();
        }
        return;
    }
    OpenDocumentFile(longFileName.toStdString());
}

// ---------------------------------------------------------------------------------------------
// Opening files

void TMainForm::OpenDocumentFile(const std::string& fileName) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(std::filesystem::path(fileName), error);
    const std::string path = error ? fileName : absolute.lexically_normal().string();
    TOpenResult result;
    {
        TSaveCursor hourglass;
        result = ::OpenDocumentFile(fSymbolFile, path, fTempDirs);
    }
    // What the viewer does not open is said and changes nothing, not even the print-preview pages.
    if (result.Status == TOpenStatus::osNotOpened || !IsOpenableFile(path)) {
        ShowErrorMessage(result.Error);
        return;
    }
    // Pages come only with a packed archive, also one whose drawing failed or is missing.
    fPrintPreviewPDFs = result.PrintPreviewPDFs;
    fCurrentPrintPreviewPDF = 0;
    if (GetFileType(path) == ftPackedDiagram) fUnpackLocation = result.UnpackFolder;
    // An archive of print pages alone is opened for its pages, without a word.
    if (result.Status == TOpenStatus::osFailed ||
        (result.Status == TOpenStatus::osNoDrawing && fPrintPreviewPDFs.empty()))
        ShowErrorMessage(result.Error);
    if (result.Opened()) {
        fPackageDrawings = result.PackageDrawings;
        fPackageFolder = result.UnpackFolder;
        ShowOpenedDrawing(result.DrawingFileName, path, true);
    }
    if (PrintPreviewShown()) ShowPrintPreviewPage(fCurrentPrintPreviewPDF);
    UpdateButtons();
}

void TMainForm::OpenPackageDrawing(size_t index) {
    if (index >= fPackageDrawings.size()) return;
    const std::string drawing = fPackageDrawings[index];
    bool loaded;
    {
        TSaveCursor hourglass;
        loaded = fSymbolFile.LoadFromFile(drawing, TConnectivityPass::cpFull);
    }
    if (!loaded) {
        ShowErrorMessage(fSymbolFile.LastError());
        return;
    }
    ShowOpenedDrawing(drawing, fOpenedFileName, false);
    UpdateButtons();
}

void TMainForm::ShowOpenedDrawing(const std::string& drawingFileName, const std::string& openedFileName,
                                  bool asOpened) {
    RememberView();
    if (fSymbolFile.CheckFileVersion(ProgramBuild) > 0)
        ShowWarningMessage(FormatText(
            _("This file is saved with %s %s, your version is %s, some data might be lost!"),
            {ProgramName, fSymbolFile.Data().FileVersion, std::string(ProgramYear) + "-" + ProgramBuild}));
    fFileName = drawingFileName;
    fOpenedFileName = openedFileName;
    if (fOpenedFileName == fFileName) fPackageDrawings.clear();
    fLoadNote =
        fSymbolFile.DamagedRecords() > 0 ? _("Damaged records of this file were left out.") : std::string();
    fSymbolCanvas.fSymbolGroupDrawMode = fSymbolFile.Data().GroupDrawMode;
    fShownSheet = TSheetNavigator::AllSheets;
    fSheetNavigator->Fill(fSymbolFile);
    ZoomAll();
    // A drawing with no objects is shown all the same: the previous view must not stay.
    if (fSymbolFile.Symbol().fSymbolObjectList.Count() == 0) DrawSymbolFile();
    // The folder the user opened from: a package's own, not its unpack folder.
    fLastPath = ExtractFileDir(openedFileName);
    CurrentDrawingFolder = ExtractFileDir(drawingFileName);
    fViewIsOpenedFiles = asOpened;
    DrawingChanged();
    if (!asOpened) return;
    // A file opened again comes back as it was left: its sheet, zoom and place.
    fRecentFiles.Opened(openedFileName);
    if (const TRecentFiles::TEntry* entry = fRecentFiles.Find(openedFileName); entry && entry->View) {
        if (entry->Sheet != TSheetNavigator::AllSheets) fSheetNavigator->Select(entry->Sheet);
        if (SetViewPlace(fSymbolCanvas, *entry->View)) DrawSymbolFile();
    }
    std::string error;
    if (!fRecentFiles.Save(GetIniFileName(), &error))
        std::fprintf(stderr, "korvane-viewer: %s\n", error.c_str());
    UpdateRecentFilesMenu();
}

void TMainForm::DrawingChanged() {
    fFindText.clear();
    fFindMatches.clear();
    fFindIndex = -1;
    BOMPanel->Fill(fFileName.empty() ? std::vector<TBOMRow>() : CollectBOMRows(fSymbolFile), fMetricUnits);
}

void TMainForm::ShowComponent(TSymbolObject& object) {
    if (PrintPreviewShown()) ShowPrintPreview(false);
    // A component on a sheet that is not shown: the whole drawing, where every sheet is.
    bool onShownSheet = true;
    for (TSymbolObject* o = &object; o && o != &fSymbolFile.Symbol(); o = fSymbolFile.Symbol().GetOwner(o))
        onShownSheet = onShownSheet && !o->IsHidden();
    if (fShownSheet != TSheetNavigator::AllSheets && !onShownSheet) {
        fSheetNavigator->Select(TSheetNavigator::AllSheets);
    }
    DrawSelectionMarks(sdmNormal);
    SelectAndZoomTo(fSymbolFile, fSymbolCanvas, object);
    BOMPanel->MarkComponent(&object);
    DrawSymbolFile();
    UpdateButtons();
}

void TMainForm::FindStep(int step) {
    const std::string text = EditFind->text().trimmed().toStdString();
    if (text.empty()) {
        FindAction->trigger();
        return;
    }
    if (text != fFindText) {
        fFindText = text;
        fFindMatches = FindComponents(fSymbolFile, text);
        fFindIndex = step > 0 ? -1 : 0;
    }
    if (fFindMatches.empty()) {
        StatusBar1->setText(QString::fromStdString(FormatText(_("No component holds \"%s\"."), {text})));
        return;
    }
    const int n = int(fFindMatches.size());
    fFindIndex = ((fFindIndex + step) % n + n) % n;
    ShowComponent(*fFindMatches[size_t(fFindIndex)]);
    StatusBar1->setText(QString::fromStdString(
        FormatText(_("Match %s of %s: \"%s\""), {std::to_string(fFindIndex + 1), std::to_string(n), text})));
}

void TMainForm::FileExportActionExecute(bool wholeDrawing) {
    const QString pdf = qtr("PDF file (vector)") + QStringLiteral(" (*.pdf)");
    const QString svg = qtr("SVG file (vector)") + QStringLiteral(" (*.svg)");
    const QString png = qtr("PNG picture") + QStringLiteral(" (*.png)");
    const std::string base = std::filesystem::path(fOpenedFileName).stem().string();
    QString filter = pdf;
    QString name = QFileDialog::getSaveFileName(
        this, wholeDrawing ? qtr("Export Drawing") : qtr("Export View"),
        QString::fromStdString((std::filesystem::path(fLastPath) / (base + ".pdf")).string()),
        pdf + QStringLiteral(";;") + svg + QStringLiteral(";;") + png, &filter);
    if (name.isEmpty()) return;
    // A name without one of the three extensions gets the chosen filter's.
    if (!ExportFormatOf(name.toStdString()))
        name += filter == svg   ? QStringLiteral(".svg")
                : filter == png ? QStringLiteral(".png")
                                : QStringLiteral(".pdf");
    ExportTo(name.toStdString(), wholeDrawing);
}

bool TMainForm::ExportTo(const std::string& fileName, bool wholeDrawing) {
    const std::optional<TExportFormat> format = ExportFormatOf(fileName);
    if (!format) return false;
    TSymbolCanvas canvas(fMeasureSurface.get());
    ScaleViewCanvas(fSymbolCanvas, canvas, 1);
    if (wholeDrawing) {
        if (fShownSheet == TSheetNavigator::AllSheets)
            ZoomCanvasToDrawing(fSymbolFile, canvas);
        else
            ZoomCanvasToSheet(fSymbolFile, canvas, fShownSheet);
    }
    std::string error;
    bool written;
    {
        TSaveCursor hourglass;
        written = ExportDrawing(fSymbolFile, canvas, fileName, *format, error);
    }
    if (!written) ShowErrorMessage(error);
    return written;
}

void TMainForm::RememberView() {
    if (fViewIsOpenedFiles && !fOpenedFileName.empty())
        fRecentFiles.LeftAt(fOpenedFileName, ViewPlaceOf(fSymbolCanvas), fShownSheet);
}

void TMainForm::UpdateRecentFilesMenu() {
    MenuRecentFiles->clear();
    const auto& entries = fRecentFiles.Entries();
    MenuRecentFiles->menuAction()->setEnabled(!entries.empty());
    for (size_t i = 0; i < entries.size(); ++i) {
        const QString file = QString::fromStdString(entries[i].File);
        // "&1 name": a key for each of the first nine, the folder in the tip.
        QAction* a = MenuRecentFiles->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(
            QString::fromStdString(std::filesystem::path(entries[i].File).filename().string())));
        a->setToolTip(file);
        a->setStatusTip(file);
        connect(a, &QAction::triggered, this, [this, file] { OpenDocumentFile(file.toStdString()); });
    }
    MenuRecentFiles->setToolTipsVisible(true);
}

void TMainForm::FileIsDroppend(const QStringList& fileNames) {
    if (fileNames.size() == 1) OpenDocumentFile(fileNames.front().toStdString());
}

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent* event) {
    QStringList names;
    for (const QUrl& url : event->mimeData()->urls())
        names << url.toLocalFile();
    event->acceptProposedAction();
    FileIsDroppend(names);
}

// ---------------------------------------------------------------------------------------------
// Actions

void TMainForm::FileOpenActionExecute() {
    QFileDialog dialog(this, qtr("Open File"), QString::fromStdString(fLastPath));
    dialog.setObjectName(QStringLiteral("OpenDialog"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setOption(QFileDialog::HideNameFilterDetails, true);
    const QStringList filters = OpenDialogFilters();
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.front());
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    OpenDocumentFile(dialog.selectedFiles().front().toStdString());
}

void TMainForm::FileCloseActionExecute() {
    RememberView();
    fViewIsOpenedFiles = false;
    fCurrentPrintPreviewPDF = 0;
    fPrintPreviewPDFs.clear();
    ShowPrintPreview(false);
    fSymbolFile.Clear();
    fFileName.clear();
    fOpenedFileName.clear();
    fPackageDrawings.clear();
    fLoadNote.clear();
    fShownSheet = TSheetNavigator::AllSheets;
    fSheetNavigator->Clear();
    DrawingChanged();
    DrawSymbolFile();
    UpdateButtons();
}

void TMainForm::HelpAboutActionExecute() {
    TAboutDlg about(this);
    about.exec();
}

void TMainForm::PropertiesActionExecute() {
    std::vector<TSymbolObject*> shown;
    for (const auto& o : fSymbolFile.Symbol().fSymbolObjectList)
        if (o->Selected() &&
            (o->fSymbolObjectMainType == somSymbol || o->fSymbolObjectMainType == somIBorder))
            shown.push_back(o.get());
    {
        // The dialogs show objects of this drawing: a drawing handed over meanwhile waits.
        struct TOpenCount {
            int& Count;
            explicit TOpenCount(int& count) : Count(++count) {}
            ~TOpenCount() { --Count; }
        } open(fPropertiesOpen);
        for (TSymbolObject* o : shown)
            ExecutePropertiesDialog(this, *o);
    }
    if (fPropertiesOpen == 0 && !fPendingHandOff.isEmpty()) {
        const QString next = std::exchange(fPendingHandOff, QString());
        OpenDocumentFile(next.toStdString());
    }
}

void TMainForm::ShowDataSheetActionExecute() {
    const TObjectRefList selected =
        fSymbolFile.Symbol().fSymbolObjectList.CreateListSelectedObjectsNew(TypeSet({soSymbol, soIBorder}));
    for (TSymbolObject* o : selected) {
        const std::string value = o->fBOMList.DataSheet();
        if (!value.empty()) ShowDataSheet(value);
    }
}

void TMainForm::ShowDataSheet(const std::string& value) {
    fDataSheets->ShowDataSheet(value, CurrentDrawingFolder, fMetricUnits, fSearchDataSheetsOnline,
                               [](const std::string& file) { return OpenDocument(file); });
}

void TMainForm::PathDataSheetsActionExecute() {
    std::error_code ec;
    const QString start = std::filesystem::is_directory(fDataSheetPath, ec)
                              ? QString::fromStdString(fDataSheetPath)
                              : QString();
    const QString chosen = QFileDialog::getExistingDirectory(this, qtr("Path local data sheets"), start);
    if (chosen.isEmpty()) return;
    fDataSheetPath = IncludeTrailingPathDelimiter(chosen.toStdString());
    ForceFolder(fDataSheetPath);
}

void TMainForm::ProxyServerActionExecute() {
    TProxyServerSettingsDlg::ModifyProxyServerSettings(this);
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
    SetDisplayUnits(fMetricUnits, fMetricUnits, fMetricUnits, fMetricUnits, fMetricUnits);
    BOMPanel->Fill(fFileName.empty() ? std::vector<TBOMRow>() : CollectBOMRows(fSymbolFile), fMetricUnits);
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

void TMainForm::ShowPrintPreview(bool value) {
    auto* stack = static_cast<QStackedLayout*>(PanelMain->layout());
    if (value) {
        ResetPanBitmap();
        stack->setCurrentWidget(PanelPrintPreview);
        ShowPrintPreviewPage(fCurrentPrintPreviewPDF);
    } else {
        stack->setCurrentWidget(PanelBackGround);
        PaintBoxMain->setFocus();
    }
    UpdateButtons();
}

void TMainForm::ShowPrintPreviewPage(int index) {
    fPDFDocument->close();
    LabelPreviewProblem->setVisible(false);
    if (index < 0 || index >= int(fPrintPreviewPDFs.size())) {
        fCurrentPrintPreviewPDF = 0;
    } else {
        fCurrentPrintPreviewPDF = index;
        const std::string& file = fPrintPreviewPDFs[size_t(index)];
        if (fPDFDocument->load(QString::fromStdString(file)) != QPdfDocument::Error::None) {
            LabelPreviewProblem->setText(
                qtr("This page cannot be shown: the file is damaged or not a PDF file.") + QLatin1Char(' ') +
                QString::fromStdString(std::filesystem::path(file).filename().string()));
            LabelPreviewProblem->setVisible(true);
        }
    }
    UpdateButtons();
}

void TMainForm::ButtonPrintClick() {
    if (fCurrentPrintPreviewPDF < 0 || fCurrentPrintPreviewPDF >= int(fPrintPreviewPDFs.size())) return;
    try {
        TPDFPrint::PrintWithDialog(QString::fromStdString(fPrintPreviewPDFs[size_t(fCurrentPrintPreviewPDF)]),
                                   QString(), this, smShrinkIfNeeded);
    } catch (const std::exception& e) {
        ShowErrorMessage(e.what());
    }
}

void TMainForm::UpdateButtons() {
    OptionsReverseMouseWheelAction->setChecked(fReverseMouseWheel);
    OptionsBlackBackgroundAction->setChecked(fBlackBackground);
    SearchDataSheetsOnlineAction->setChecked(fSearchDataSheetsOnline);
    ActionUnits->setChecked(!fMetricUnits);
    SetDisplayUnits(fMetricUnits, fMetricUnits, fMetricUnits, fMetricUnits, fMetricUnits);
    if (StatusBar1) StatusBar1->setText(StatusLine());
    UpdateTitle();
    UpdatePackageDrawingsMenu();
    PropertiesAction->setEnabled(DrawingHasSelection(fSymbolFile));
    ShowDataSheetAction->setEnabled(PropertiesAction->isEnabled());
    FileExportViewAction->setEnabled(!fFileName.empty());
    FileExportDrawingAction->setEnabled(!fFileName.empty());
    ActionPrintPreview->setEnabled(!fPrintPreviewPDFs.empty());
    ButtonPrint->setEnabled(fCurrentPrintPreviewPDF >= 0 &&
                            fCurrentPrintPreviewPDF < int(fPrintPreviewPDFs.size()));
    const int pages = int(fPrintPreviewPDFs.size());
    ButtonPrev->setVisible(pages >= 2);
    ButtonNext->setVisible(pages >= 2);
    ButtonNext->setEnabled(fCurrentPrintPreviewPDF < pages - 1);
    ButtonPrev->setEnabled(fCurrentPrintPreviewPDF > 0);
    ActionDrawMode->setText(qtr("Draw") + QLatin1Char(' ') +
                            qtr(DrawModeName(fSymbolCanvas.fSymbolGroupDrawMode)));
}

QString TMainForm::StatusLine() const {
    QString line = QString::fromStdString(fOpenedFileName);
    if (!fPackageDrawings.empty() && fFileName != fOpenedFileName)
        line += QStringLiteral(": ") +
                QString::fromStdString(std::filesystem::path(fFileName).filename().string());
    const QString sheet = fSheetNavigator ? fSheetNavigator->StatusText() : QString();
    if (!sheet.isEmpty()) line += QStringLiteral("  -  ") + sheet;
    if (!fLoadNote.empty()) line += QStringLiteral("  -  ") + QString::fromStdString(fLoadNote);
    return line;
}

void TMainForm::UpdateTitle() {
    if (fOpenedFileName.empty()) {
        setWindowTitle(QString::fromUtf8(ProgramName));
        return;
    }
    QString name = QString::fromStdString(std::filesystem::path(fOpenedFileName).filename().string());
    if (!fPackageDrawings.empty() && fFileName != fOpenedFileName)
        name += QStringLiteral(" (") +
                QString::fromStdString(std::filesystem::path(fFileName).filename().string()) +
                QLatin1Char(')');
    setWindowTitle(name + QStringLiteral(" - ") + QString::fromUtf8(ProgramName));
}

void TMainForm::UpdatePackageDrawingsMenu() {
    MenuPackageDrawings->clear();
    // A package of one drawing has nothing to choose from.
    MenuPackageDrawings->menuAction()->setVisible(fPackageDrawings.size() > 1);
    for (size_t i = 0; i < fPackageDrawings.size(); ++i) {
        const std::filesystem::path relative =
            std::filesystem::path(fPackageDrawings[i]).lexically_relative(fPackageFolder);
        QAction* a = MenuPackageDrawings->addAction(QString::fromStdString(relative.string()));
        a->setCheckable(true);
        a->setChecked(fPackageDrawings[i] == fFileName);
        connect(a, &QAction::triggered, this, [this, i] { OpenPackageDrawing(i); });
    }
}

QString TMainForm::StatusText() const {
    return StatusBar1->text();
}
