#pragma once
// The main window: one drawing shown in a paint box, opened from the command line, the Open
// dialog, drag and drop or a second start of the program, and looked at with zoom, pan, Zoom All,
// selection and the display options. A print-preview panel takes the drawing's place on demand.
#include "datasheets/DataSheetLookup.h"
#include "document/SymbolFile.h"
#include "packages/TempDirs.h"
#include "render/SymbolCanvas.h"
#include "shell/SaveCursors.h"
#include "shell/ViewerSettings.h"

#include <QImage>
#include <QMainWindow>

#include "shell/BOMPanel.h"
#include "shell/RecentFiles.h"
#include <QStringList>
#include <memory>
#include <string>
#include <vector>

class QAction;
class QFrame;
class QLabel;
class QMenu;
class QPdfDocument;
class QPdfView;
class QPushButton;
class QToolBar;
class QWidget;
class TPaintBox;
class TSaveWindowNew;
class TSheetNavigator;
class QLineEdit;
class THandOffServer;

// Folder (without trailing separator) of the drawing last loaded successfully; for a drawing
// taken from a package, its unpack folder. Datasheets are looked for there first.
extern std::string CurrentDrawingFolder;

// Entries of the Open dialog, each "Display name (masks)", the compatible types first.
QStringList OpenDialogFilters();

class TMainForm : public QMainWindow {
    Q_OBJECT
public:
    // CommandLineFile, when not empty, is opened at the first activation.
    explicit TMainForm(std::string commandLineFile = {}, QWidget* parent = nullptr);
    ~TMainForm() override;

    // Every way of opening a file ends here; the type is told by the extension.
    void OpenDocumentFile(const std::string& fileName);
    void DeleteTempDirs();
    // Listens for files handed over by later starts of the program and opens them here. False,
    // with ErrorText set, when another viewer already listens on SocketPath.
    bool StartHandOffServer(const QString& socketPath, QString* errorText = nullptr);
    // A file handed over by a later start: brought to the front and opened.
    void HandOffDocument(const QString& longFileName);

    // View.
    void DrawSymbolFile();
    void DrawSelectionMarks(TSymbolDrawMode mode);
    void DeselectAll();
    void ZoomAll();
    // Shows one sheet alone (its number from 0) zoomed to it, or with AllSheets the whole drawing.
    void ShowSheet(int32_t sheetIndex);
    TSheetNavigator& SheetNavigator() { return *fSheetNavigator; }
    void ZoomAtPoint(TPoint p, double factor);
    // Moves the view by a tenth of its width (dx) and height (dy), -1, 0 or 1 each.
    void PanByTenth(int dx, int dy);
    void SetColors();
    void ShowPrintPreview(bool value);
    void UpdateButtons();

    // Datasheets: every one Value names, from the drawing's folder, the local folders or the
    // online library, opened with the desktop's PDF application.
    void ShowDataSheet(const std::string& value);
    TDataSheetLookup& DataSheets() { return *fDataSheets; }
    TWebLibCommunicator& WebLibCommunicator() { return *fWebLibCommunicator; }

    // Handlers the paint box and the window hand their events to (positions in device pixels).
    // True when the event zoomed (and so is handled).
    bool FormMouseWheel(const QPointF& globalPos, int delta);
    void PaintBoxMainMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, TPoint p,
                               bool doubleClick);
    void PaintBoxMainMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, TPoint p);
    void PaintBoxMainMouseUp();
    void PaintBoxMainDblClick();
    bool FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
    // Drop of local files: one file opens, more open nothing.
    void FileIsDroppend(const QStringList& fileNames);

    // State, for the shell's own parts and tests.
    TSymbolFile& SymbolFile() { return fSymbolFile; }
    TSymbolCanvas& SymbolCanvas() { return fSymbolCanvas; }
    const std::string& FileName() const { return fFileName; }
    // What the user opened: the drawing, or the package it came from.
    const std::string& OpenedFileName() const { return fOpenedFileName; }
    // The drawings of the package last opened, the one shown among them.
    const std::vector<std::string>& PackageDrawings() const { return fPackageDrawings; }
    // Shows another drawing of the package last opened.
    void OpenPackageDrawing(size_t index);
    const std::string& LastPath() const { return fLastPath; }
    const std::string& UnpackLocation() const { return fUnpackLocation; }
    const std::vector<std::string>& PrintPreviewPDFs() const { return fPrintPreviewPDFs; }
    int CurrentPrintPreviewPDF() const { return fCurrentPrintPreviewPDF; }
    TTempDirs& TempDirs() { return fTempDirs; }
    bool BlackBackground() const { return fBlackBackground; }
    bool ReverseMouseWheel() const { return fReverseMouseWheel; }
    bool MetricUnits() const { return fMetricUnits; }
    bool SearchDataSheetsOnline() const { return fSearchDataSheetsOnline; }
    const std::string& DataSheetPath() const { return fDataSheetPath; }
    const std::string& DefaultDataSheetPath() const { return fDefaultDataSheetPath; }
    bool PrintPreviewShown() const;
    // The picture the paint box shows: the drawing, or during a pan the moved pan picture.
    QImage ViewImage() const;
    const QImage& PanBitmap() const { return fPanBitmap; }
    QWidget* PaintBox() const;
    QString StatusText() const;

    QAction* FileOpenAction;
    QAction* FileCloseAction;
    QAction* FileExportViewAction = nullptr;
    QAction* FileExportDrawingAction = nullptr;
    // Writes the view, or the whole drawing (the sheet shown alone) at the view's size, to
    // FileName as PNG, PDF or SVG by its extension; a failure is said in a message box.
    bool ExportTo(const std::string& fileName, bool wholeDrawing);
    void FileExportActionExecute(bool wholeDrawing);
    QAction* FileExitAction;
    QAction* ShowDataSheetAction;
    QAction* PropertiesAction;
    QAction* ViewZoomAllAction;
    QAction* ActionPrintPreview;
    QAction* OptionsReverseMouseWheelAction;
    QAction* OptionsBlackBackgroundAction;
    QAction* ActionUnits;
    QAction* ActionDrawMode;
    QAction* SearchDataSheetsOnlineAction;
    QAction* PathDataSheetsAction;
    QAction* ProxyServerAction;
    QAction* OptionsLanguageAction;
    QAction* HelpCheckForUpdatesAction;
    QAction* HelpAboutAction;
    QMenu* MenuPackageDrawings = nullptr;
    QMenu* MenuRecentFiles = nullptr;
    // Find: Ctrl+F goes to the field, Enter and F3 step to the next component that holds the
    // text, Shift+F3 back; each is selected and zoomed to, across the sheets.
    QAction* FindAction = nullptr;
    QAction* FindNextAction = nullptr;
    QAction* FindPreviousAction = nullptr;
    QLineEdit* EditFind = nullptr;
    TBOMPanel* BOMPanel = nullptr;
    // Shows Object: its sheet (all sheets when it is on none shown), selected and zoomed to.
    void ShowComponent(TSymbolObject& object);
    void FindStep(int step);

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    friend class TPaintBox;
    void FormCreate();
    void FormActivate();
    void FormDestroy();
    // The options, the last folder and the datasheet folder, kept in the settings file between runs.
    void ReadSettings();
    void WriteSettings();
    TViewerSettings Settings() const;
    void CreateActions();
    void CreateMenusAndBars();
    void CreatePanels();

    void FileOpenActionExecute();
    void FileCloseActionExecute();
    void HelpAboutActionExecute();
    void ViewZoomAllActionExecute();
    void OptionsBlackBackgroundActionExecute();
    void OptionsReverseMouseWheelActionExecute();
    void SearchDataSheetsOnlineActionExecute();
    void ActionUnitsExecute();
    void ActionDrawModeExecute();
    void ActionPrintPreviewExecute();
    void ButtonCloseClick();
    void PropertiesActionExecute();
    void ShowDataSheetActionExecute();
    void PathDataSheetsActionExecute();
    void ProxyServerActionExecute();
    void ShowPrintPreviewPage(int index);
    void ButtonPrintClick();

    // After a successful open: the version warning, the view of the whole drawing, the folders.
    // AsOpened: the drawing an open shows first (not another drawing of the package), whose view
    // the recent files keep.
    void ShowOpenedDrawing(const std::string& drawingFileName, const std::string& openedFileName,
                           bool asOpened);
    // The status line: what was opened, the drawing shown of a package, and a note on the load.
    QString StatusLine() const;
    void UpdateTitle();
    void UpdatePackageDrawingsMenu();
    // Paint-box size in device pixels, and the factor from its logical pixels to them.
    QSize PaintBoxDeviceSize() const;
    double PaintBoxPixelRatio() const;
    // Renders into the view picture, sized to the paint box, and schedules the repaint.
    void PaintBoxMainPaint();
    void SetSymbolCanvasDPI();
    void PreparePanBitmap(int x, int y);
    void ResetPanBitmap();

    // Fields of the window, in the order of its design.
    std::string fUnpackLocation;
    TSymbolFile fSymbolFile;
    TSymbolCanvas fSymbolCanvas{nullptr};
    QImage fPanBitmap;
    TPoint fPanStart, fPanPos, fCursorPos;
    bool fReverseMouseWheel = false;
    // The wheel's turn not yet spent on a zoom step, in eighths of a degree.
    static constexpr int WheelNotch = 120;
    int fWheelRemainder = 0;
    bool fBlackBackground = true;
    bool fFirstActivate = true;
    std::string fLastPath;
    std::string fFileName;
    std::string fDataSheetPath;
    TTempDirs fTempDirs;
    // Long connectivity updates show the hourglass and their progress in the status bar.
    TBusyIndicator fBusyIndicator;
    TBusyHook* fPreviousBusyHook = nullptr;
    bool fSearchDataSheetsOnline = true;
    std::string fDefaultDataSheetPath;
    bool fMetricUnits = true;
    std::vector<std::string> fPrintPreviewPDFs;
    int fCurrentPrintPreviewPDF = 0;

    std::string fCommandLineFile;
    std::string fOpenedFileName;
    std::vector<std::string> fPackageDrawings;
    std::string fPackageFolder;
    std::string fLoadNote;
    // The canvas's surface outside painting: objects measure their texts before any paint
    // (Zoom All, hit tests), and a canvas without a surface would have nothing to measure with.
    QImage fMeasureImage{1, 1, QImage::Format_RGB32};
    std::unique_ptr<TRasterSurface> fMeasureSurface;
    // The drawing as last rendered, in device pixels; the paint box only copies it to the screen.
    QImage fViewImage;

    QToolBar* ToolBarMainForm = nullptr;
    TSheetNavigator* fSheetNavigator = nullptr;
    // Properties dialogs open now, and the file handed over while they were.
    int fPropertiesOpen = 0;
    QString fPendingHandOff;
    int32_t fShownSheet = -1;
    // The files opened last with their views; the view shown is recorded for the opened file
    // only while it shows the drawing the open showed (not another drawing of its package).
    TRecentFiles fRecentFiles;
    std::string fFindText;
    std::vector<TSymbolObject*> fFindMatches;
    int fFindIndex = -1;
    // The find results and the BOM list follow the drawing shown.
    void DrawingChanged();
    bool fViewIsOpenedFiles = false;
    void RememberView();
    void UpdateRecentFilesMenu();
    QWidget* PanelMain = nullptr;
    QFrame* PanelBackGround = nullptr;
    QWidget* PanelPaintBox = nullptr;
    TPaintBox* PaintBoxMain = nullptr;
    QWidget* PanelPrintPreview = nullptr;
    QPushButton* ButtonPrint = nullptr;
    QPushButton* ButtonPrev = nullptr;
    QPushButton* ButtonNext = nullptr;
    QPushButton* ButtonClosePreview = nullptr;
    QPdfView* fPDFViewer = nullptr;
    QPdfDocument* fPDFDocument = nullptr;
    QLabel* StatusBar1 = nullptr;
    QMenu* PopupMenuPaintBox = nullptr;
    std::unique_ptr<THandOffServer> fHandOffServer;
    QLabel* LabelPreviewProblem = nullptr;
    // Set up once per run: proxy changes take effect at the next start.
    std::unique_ptr<TWebLibCommunicator> fWebLibCommunicator;
    std::unique_ptr<TDataSheetLookup> fDataSheets;
    std::unique_ptr<TSaveWindowNew> fSaveWindow;
};
