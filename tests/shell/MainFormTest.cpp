// The main window on the offscreen platform: opening files by every path, and the view.
#include "shell/MainForm.h"

#include "TestObjects.h"
#include "components/ConnectionLines.h"
#include "document/DrawingView.h"
#include "packages/QuavZip.h"
#include "platform/MessageBox.h"
#include "platform/QUAVGlobs.h"
#include "qt/SingleInstance.h"
#include "shell/AboutBox.h"
#include "shell/SaveCursors.h"
#include "support/PrivateHome.h"
#include "support/TempFiles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QMimeData>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QToolBar>
#include <QUrl>
#include <atomic>
#include <thread>

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

const QRgb Black = qRgb(0, 0, 0), White = qRgb(255, 255, 255);

QRgb ToQRgb(TColor C) {
    return qRgb(ColorRed(C), ColorGreen(C), ColorBlue(C));
}
// Highlight of the black scheme, and the colour it gives symbol lines.
const QRgb Highlight = ToQRgb(SymbolCanvasColorsBlack().DrawColors[dcHighlight]);
const QRgb SymbolColour = ToQRgb(SymbolCanvasColorsBlack().LineTypeColors[symlinetypeSymbol]);

void ProcessUntil(const std::function<bool()>& Done) {
    QDeadlineTimer Deadline(20000);
    while (!Done() && !Deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

class MainFormTest : public ::testing::Test {
protected:
    void SetUp() override { Form = MakeForm(); }

    std::unique_ptr<TMainForm> MakeForm() {
        auto F = std::make_unique<TMainForm>();
        F->resize(800, 600);
        F->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(F.get()));
        QCoreApplication::processEvents(); // the first activation
        return F;
    }

    std::string Drawing(const std::string& Name,
                        const std::string& Body = ComponentText(1, 100, 100, "A-1")) {
        return Dir.Write(Name, DrawingText(Body));
    }
    // A ZIP at Name holding the given members (stored name -> content).
    std::string Zip(const std::string& Name,
                    const std::vector<std::pair<std::string, std::string>>& Members) {
        const std::string Path = Dir.File(Name);
        TZipFile Z(Path, TZipMode::zmWrite);
        for (const auto& [Stored, Content] : Members)
            Z.Add(Dir.Write("zip-src/" + Stored, Content), Stored);
        Z.Close();
        return Path;
    }
    static std::string Pdf(int Page) {
        TTempDir D;
        const std::string Path = D.File("p.pdf");
        {
            QPdfWriter Writer(QString::fromStdString(Path));
            QPainter P(&Writer);
            P.drawText(100, 100, QStringLiteral("page %1").arg(Page));
        }
        std::ifstream In(Path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(In), {});
    }

    TSymbolObjectList& Objects() { return Form->SymbolFile().Symbol().fSymbolObjectList; }
    double Ratio() const { return Form->PaintBox()->devicePixelRatioF(); }
    // Where a drawing point shows, in the paint box's logical pixels (those of mouse events).
    QPoint ScreenOf(TPoint DrawingPoint) {
        const TPoint D = Form->SymbolCanvas().ToPt(DrawingPoint);
        return {qRound(D.X / Ratio()), qRound(D.Y / Ratio())};
    }
    QRgb PixelAt(TPoint DrawingPoint) {
        const TPoint D = Form->SymbolCanvas().ToPt(DrawingPoint);
        return Form->ViewImage().pixel(D.X, D.Y) | 0xFF000000u;
    }
    void Wheel(QPoint Pos, int Delta, QWidget* Target = nullptr) {
        QWidget* W = Target ? Target : Form->PaintBox();
        QWheelEvent E(QPointF(Pos), QPointF(W->mapToGlobal(Pos)), QPoint(), QPoint(0, Delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(W, &E);
    }
    void Mouse(QEvent::Type Type, QPoint Pos, Qt::MouseButton Button, Qt::MouseButtons Buttons,
               Qt::KeyboardModifiers Mods = Qt::NoModifier) {
        QWidget* W = Form->PaintBox();
        QMouseEvent E(Type, QPointF(Pos), QPointF(W->mapToGlobal(Pos)), Button, Buttons, Mods);
        QApplication::sendEvent(W, &E);
    }
    void Click(QPoint Pos, Qt::KeyboardModifiers Mods = Qt::NoModifier) {
        Mouse(QEvent::MouseButtonPress, Pos, Qt::LeftButton, Qt::LeftButton, Mods);
        Mouse(QEvent::MouseButtonRelease, Pos, Qt::LeftButton, Qt::NoButton, Mods);
    }
    // Three components and a loose box, zoomed all: A selectable, B with a hidden BOM record,
    // C without BOM, and a line belonging to no component.
    void BuildScene() {
        A = AddComponent(Objects(), {0, 0}, {100, 100});
        B = AddComponent(Objects(), {200, 0}, {300, 100}, true, true);
        C = AddComponent(Objects(), {400, 0}, {500, 100}, false);
        Objects().Append(std::make_unique<TTestBox>(TPoint(0, 300), TPoint(500, 310)));
        Form->ZoomAll();
    }

    TTempDir Dir;
    TRecordingMessageBoxes Boxes;
    TScopedMessageBoxes UseBoxes{Boxes};
    std::unique_ptr<TMainForm> Form;
    TSymbolObject *A = nullptr, *B = nullptr, *C = nullptr;
};

// ---------------------------------------------------------------------------------------------
// Opening files

TEST_F(MainFormTest, OpensByTypeWhateverTheCaseOfTheExtension) {
    const std::string Kdf = Drawing("plan.kdf");
    const struct {
        std::string File;
        std::string Opened; // "" when the file is ignored
    } Cases[] = {
        {Kdf, Kdf},
        {Drawing("UPPER.KDF"), Dir.File("UPPER.KDF")},
        {Drawing("part.Sym"), Dir.File("part.Sym")},
        {Drawing("plan.kdf.bak"), ""},
        {Drawing("noextension"), ""},
        {Dir.Write("sheet.pdf", "%PDF-1.4"), ""},
        {Drawing("plan.txt"), ""},
    };
    for (const auto& C : Cases) {
        Form->FileCloseAction->trigger();
        Form->OpenDocumentFile(C.File);
        EXPECT_EQ(Form->FileName(), C.Opened) << C.File;
        EXPECT_EQ(Form->StatusText().toStdString(), C.Opened) << C.File;
        EXPECT_EQ(Objects().Count(), C.Opened.empty() ? 0 : 1) << C.File;
        if (!C.Opened.empty()) {
            EXPECT_EQ(Form->LastPath(), Dir.Path().string());
        }
    }
    EXPECT_THAT(Boxes.Messages, IsEmpty());
}

TEST_F(MainFormTest, AnIgnoredFileLeavesTheShownDrawingAndItsPagesAlone) {
    const std::string Kdx = Zip("pack.kdx", {{"plan.kdf", DrawingText(ComponentText(1, 0, 0, "A"))},
                                             {"~PrintPreview/1.pdf", Pdf(1)}});
    Form->OpenDocumentFile(Kdx);
    ASSERT_EQ(Form->PrintPreviewPDFs().size(), 1u);
    Form->OpenDocumentFile(Dir.Write("notes.txt", "x"));
    EXPECT_EQ(Form->PrintPreviewPDFs().size(), 1u);
    EXPECT_TRUE(Form->ActionPrintPreview->isEnabled());
}

TEST_F(MainFormTest, ADrawingThatFailsToLoadKeepsTheOneShown) {
    const std::string Good = Drawing("good.kdf");
    Form->OpenDocumentFile(Good);
    fs::create_directories(Dir.Path() / "elsewhere");
    Form->OpenDocumentFile(Dir.File("elsewhere/missing.kdf"));
    EXPECT_EQ(Form->FileName(), Good);
    EXPECT_EQ(Form->LastPath(), Dir.Path().string());
    EXPECT_EQ(CurrentDrawingFolder, Dir.Path().string());
    ASSERT_EQ(Boxes.Messages.size(), 1u);
    EXPECT_EQ(Boxes.Messages[0].Kind, TMessageKind::mkError);
    EXPECT_THAT(Boxes.Messages[0].Text, ::testing::HasSubstr("missing.kdf"));
}

TEST_F(MainFormTest, ANewerFileIsShownAfterAWarning) {
    const std::string File = Dir.Write("new.kdf", DrawingText(ComponentText(1, 0, 0, "A"), "2030-99999"));
    Form->OpenDocumentFile(File);
    EXPECT_EQ(Form->FileName(), File);
    ASSERT_EQ(Boxes.Messages.size(), 1u);
    EXPECT_EQ(Boxes.Messages[0].Kind, TMessageKind::mkWarning);
    EXPECT_EQ(Boxes.Messages[0].Text,
              std::string("This file is saved with KorvaneViewer 2030-99999, your version is ") +
                  ProgramYear + "-" + ProgramBuild + ", some data might be lost!");
}

TEST_F(MainFormTest, DropOpensOneFileAndNothingWhenSeveralAreDropped) {
    // Deeper than 255 characters: dropped names are taken whole.
    std::string Deep = "deep";
    while (Dir.File(Deep).size() < 300)
        Deep += "/folder-with-a-long-name";
    const std::string Long = Drawing(Deep + "/plan.kdf");
    const std::string Other = Drawing("other.kdf");
    const auto Drop = [&](const std::vector<std::string>& Files) {
        QMimeData Mime;
        QList<QUrl> Urls;
        for (const std::string& F : Files)
            Urls << QUrl::fromLocalFile(QString::fromStdString(F));
        Mime.setUrls(Urls);
        // As a real drop arrives: entering first, then the drop.
        QDragEnterEvent Enter(QPoint(100, 100), Qt::CopyAction, &Mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Form.get(), &Enter);
        ASSERT_TRUE(Enter.isAccepted());
        QDropEvent E(QPointF(100, 100), Qt::CopyAction, &Mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Form.get(), &E);
    };
    Drop({Long, Other});
    EXPECT_EQ(Form->FileName(), "");
    Drop({Dir.Write("sheet.pdf", "%PDF")});
    EXPECT_EQ(Form->FileName(), "");
    Drop({Long});
    EXPECT_EQ(Form->FileName(), Long);
}

TEST_F(MainFormTest, HandedOverPathsOpenWhenTheyNameAFile) {
    const QString Socket = QString::fromStdString(Dir.File("RUR0033"));
    ASSERT_TRUE(Form->StartHandOffServer(Socket));
    const auto Send = [&](const std::string& Path) {
        std::atomic<bool> Done = false, Sent = false;
        std::thread Sender([&] {
            Sent = SendToRunningInstance(QString::fromStdString(Path), Socket);
            Done = true;
        });
        ProcessUntil([&] { return Done.load(); });
        Sender.join();
        // The receiver reads in its own time: let it drain the socket.
        for (int I = 0; I < 20; ++I)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return Sent.load();
    };
    std::string Deep = "handed";
    while (Dir.File(Deep).size() < 300)
        Deep += "/another-long-folder-name";
    const std::string Long = Drawing(Deep + "/plan.kdf");
    ASSERT_TRUE(Send(Long));
    EXPECT_EQ(Form->FileName(), Long);
    ASSERT_TRUE(Send(""));
    EXPECT_EQ(Form->FileName(), Long);
    ASSERT_TRUE(Send(Dir.File("missing.kdf")));
    EXPECT_EQ(Form->FileName(), Long);
    EXPECT_THAT(Boxes.Messages, IsEmpty());
    // A second viewer cannot take the name while this one listens.
    TMainForm Second;
    EXPECT_FALSE(Second.StartHandOffServer(Socket));
}

TEST_F(MainFormTest, PackagesOpenTheirDrawingAndAreDeletedAtExit) {
    const std::string ZipFile =
        Zip("Pack.ZIP", {{"readme.txt", "x"},
                         {"sub/dir/plan.kdf", DrawingText(ComponentText(1, 0, 0, "A"))},
                         {"later.kdf", DrawingText("")}});
    Form->OpenDocumentFile(ZipFile);
    ASSERT_EQ(Form->TempDirs().Folders().size(), 1u);
    const std::string First = Form->TempDirs().Folders()[0];
    EXPECT_EQ(Form->FileName(), First + "/sub/dir/plan.kdf");
    EXPECT_EQ(Form->LastPath(), Dir.Path().string());
    EXPECT_EQ(CurrentDrawingFolder, First + "/sub/dir");
    EXPECT_THAT(fs::path(First).filename().string(), ::testing::StartsWith("Unpack_"));

    Form->OpenDocumentFile(ZipFile);
    ASSERT_EQ(Form->TempDirs().Folders().size(), 2u);
    const std::string Second = Form->TempDirs().Folders()[1];
    EXPECT_NE(First, Second);
    EXPECT_EQ(Form->FileName(), Second + "/sub/dir/plan.kdf");

    // A package without a drawing opens nothing and unpacks nothing.
    Form->OpenDocumentFile(Zip("none.zip", {{"a.txt", "x"}}));
    EXPECT_EQ(Form->TempDirs().Folders().size(), 2u);
    EXPECT_EQ(Form->FileName(), Second + "/sub/dir/plan.kdf");

    Form.reset();
    EXPECT_FALSE(fs::exists(First));
    EXPECT_FALSE(fs::exists(Second));
    EXPECT_THAT(Boxes.Messages, IsEmpty());
}

TEST_F(MainFormTest, PackedArchivesOfferTheirPagesEvenWithoutATopLevelDrawing) {
    const std::string Pages1 = Pdf(1), Pages2 = Pdf(2);
    const std::string Full = Zip("full.kdx", {{"plan.kdf", DrawingText(ComponentText(1, 0, 0, "A"))},
                                              {"~PrintPreview/1.pdf", Pages1},
                                              {"~PrintPreview/2.pdf", Pages2}});
    Form->OpenDocumentFile(Full);
    EXPECT_EQ(Form->FileName(), Form->UnpackLocation() + "/plan.kdf");
    EXPECT_EQ(Form->LastPath(), Dir.Path().string());
    ASSERT_EQ(Form->PrintPreviewPDFs().size(), 2u);
    ASSERT_TRUE(Form->ActionPrintPreview->isEnabled());

    // The preview: two pages, Prev and Next step through them, Close goes back to the drawing.
    Form->ActionPrintPreview->trigger();
    ASSERT_TRUE(Form->PrintPreviewShown());
    auto* Prev = Form->findChild<QPushButton*>(QStringLiteral("ButtonPrev"));
    auto* Next = Form->findChild<QPushButton*>(QStringLiteral("ButtonNext"));
    EXPECT_TRUE(Prev->isVisible() && Next->isVisible());
    EXPECT_FALSE(Prev->isEnabled());
    EXPECT_TRUE(Next->isEnabled());
    Next->click();
    EXPECT_EQ(Form->CurrentPrintPreviewPDF(), 1);
    EXPECT_TRUE(Prev->isEnabled());
    EXPECT_FALSE(Next->isEnabled());
    // Keys and the wheel belong to the drawing only.
    EXPECT_FALSE(Form->FormKeyDown(Qt::Key_Home, Qt::NoModifier));
    Form->findChild<QPushButton*>(QStringLiteral("ButtonClose"))->click();
    EXPECT_FALSE(Form->PrintPreviewShown());

    // Only a drawing at the top of the archive is opened; the pages come all the same.
    const std::string Shown = Form->FileName();
    const std::string Nested = Zip("nested.kdx", {{"sub/plan.kdf", DrawingText(ComponentText(1, 0, 0, "A"))},
                                                  {"~PrintPreview/1.pdf", Pages1}});
    Form->OpenDocumentFile(Nested);
    EXPECT_EQ(Form->FileName(), Shown);
    EXPECT_EQ(Form->PrintPreviewPDFs().size(), 1u);
    EXPECT_EQ(Form->TempDirs().Folders().size(), 2u);
}

TEST_F(MainFormTest, OpenDialogOffersTheCompatibleTypesFirst) {
    const QStringList Filters = OpenDialogFilters();
    ASSERT_EQ(Filters.size(), 5);
    const QStringList Names = [&] {
        QStringList N;
        for (const QString& F : Filters)
            N << F.section(QStringLiteral(" ("), 0, 0);
        return N;
    }();
    EXPECT_EQ(Names, (QStringList{"Compatible Files", "Korvane Diagram Files", "Korvane Symbol Files",
                                  "Compressed Files", "All Files"}));
    // The masks ignore case, in the order drawing, packed drawing, symbol, package.
    const auto Matches = [&](int Entry, const QString& Name) {
        const QString Masks = Filters[Entry].section(QLatin1Char('('), 1).chopped(1);
        for (const QString& M : Masks.split(QLatin1Char(' ')))
            if (QRegularExpression(QRegularExpression::wildcardToRegularExpression(M)).match(Name).hasMatch())
                return true;
        return false;
    };
    for (const char* Name : {"a.kdf", "A.KDF", "b.Kdx", "c.SYM", "d.zip"})
        EXPECT_TRUE(Matches(0, QString::fromLatin1(Name))) << Name;
    EXPECT_FALSE(Matches(0, QStringLiteral("a.kdf.bak")));
    EXPECT_TRUE(Matches(1, QStringLiteral("x.KdF")));
    EXPECT_FALSE(Matches(1, QStringLiteral("x.sym")));
    EXPECT_TRUE(Matches(4, QStringLiteral("README")));
}

// ---------------------------------------------------------------------------------------------
// View

TEST_F(MainFormTest, WheelStepKeepsTheDrawingPointUnderTheCursor) {
    BuildScene();
    const struct {
        bool Reverse;
        int Delta;
        double Factor;
    } Cases[] = {
        {false, -120, 1.5}, {false, 120, 0.5}, {false, -1, 1.5}, {true, -120, 0.5}, {true, 120, 1.5}};
    for (const auto& C : Cases) {
        if (Form->ReverseMouseWheel() != C.Reverse) Form->OptionsReverseMouseWheelAction->trigger();
        Form->ZoomAll();
        TSymbolCanvas& Canvas = Form->SymbolCanvas();
        const QPoint Logical(211, 157);
        // The canvas works in device pixels; mouse events come in logical ones.
        const QPoint At(qRound(Logical.x() * Ratio()), qRound(Logical.y() * Ratio()));
        const TPoint Under = Canvas.FromPt({At.x(), At.y()});
        const double Zoom = Canvas.fZoom, NewZoom = Zoom * C.Factor;
        Wheel(Logical, C.Delta);
        EXPECT_DOUBLE_EQ(Canvas.fZoom, NewZoom) << C.Delta << " " << C.Reverse;
        // The start the zoom formula gives (halves rounded to even), ...
        EXPECT_EQ(Canvas.fStart, TPoint(int(std::nearbyint(At.x() - NewZoom * Under.X)),
                                        -int(std::nearbyint(NewZoom * (Canvas.fSize.Y - Under.Y) - At.y()))))
            << C.Delta << " " << C.Reverse;
        // ... which keeps the drawing point under the cursor, up to a half pixel rounded away.
        const TPoint Now = Canvas.ToPt(Under);
        EXPECT_LE(std::abs(Now.X - At.x()) + std::abs(Now.Y - At.y()), 1) << C.Delta << " " << C.Reverse;
    }
}

TEST_F(MainFormTest, WheelStepsBeyondTheLimitsChangeNothing) {
    BuildScene();
    TSymbolCanvas& Canvas = Form->SymbolCanvas();
    const struct {
        double Zoom;
        int Delta;
        double Expected;
    } Cases[] = {
        {150, -120, 150},      // 225 is above 200
        {0.0015, 120, 0.0015}, // 0.00075 is below 0.001
        {0.002, 120, 0.001},   // the bound itself is allowed
        {100, -120, 150},
    };
    for (const auto& C : Cases) {
        Canvas.fZoom = C.Zoom;
        Canvas.fStart = {7, 9};
        Wheel({100, 100}, C.Delta);
        EXPECT_NEAR(Canvas.fZoom, C.Expected, C.Expected * 1e-12) << C.Zoom;
        if (C.Zoom == C.Expected) {
            EXPECT_EQ(Canvas.fStart, TPoint(7, 9)) << C.Zoom;
        }
    }
    // Over the tool bar the wheel does not zoom.
    Canvas.fZoom = 1;
    Wheel({5, 5}, -120, Form->findChild<QToolBar*>(QStringLiteral("ToolBarMainForm")));
    EXPECT_EQ(Canvas.fZoom, 1);
}

TEST_F(MainFormTest, ZoomAllFitsButNeverMagnifiesASmallDrawing) {
    TSymbolCanvas& Canvas = Form->SymbolCanvas();
    Canvas.fZoom = 3;
    Form->ZoomAll(); // empty document: nothing changes
    EXPECT_EQ(Canvas.fZoom, 3);
    AddComponent(Objects(), {0, 0}, {10, 10});
    Form->ZoomAll();
    EXPECT_EQ(Canvas.fZoom, 1);
    // Centred: the box's middle sits in the middle of the view.
    const TPoint Mid = Canvas.ToPt(TPoint(5, 5));
    EXPECT_NEAR(Mid.X, Canvas.fSize.X / 2, 3);
    EXPECT_NEAR(Mid.Y, Canvas.fSize.Y / 2, 3);
    AddComponent(Objects(), {0, 0}, {100000, 50000});
    Form->ZoomAll();
    EXPECT_LT(Canvas.fZoom, 1);
    const TPoint Far = Canvas.ToPt(TPoint(100000, 50000)), Near = Canvas.ToPt(TPoint(0, 0));
    EXPECT_GE(Near.X, 0);
    EXPECT_LE(Far.X, Canvas.fSize.X);
    EXPECT_GE(Far.Y, 0);
    EXPECT_LE(Near.Y, Canvas.fSize.Y);
    // Home does the same.
    Canvas.fZoom = 5;
    QTest::keyClick(Form->PaintBox(), Qt::Key_Home);
    EXPECT_LT(Canvas.fZoom, 1);
}

TEST_F(MainFormTest, AClickSelectsOnlyComponentsTheBOMShows) {
    BuildScene();
    const auto Selected = [&] { return Objects().HasSelection(); };
    const struct {
        const char* What;
        TPoint At;
        Qt::KeyboardModifiers Mods;
        bool Selects;
    } Cases[] = {
        {"component with a BOM record", {50, 50}, Qt::NoModifier, true},
        {"with Ctrl held", {50, 50}, Qt::ControlModifier, true},
        {"first BOM record hidden", {250, 50}, Qt::NoModifier, false},
        {"component without BOM", {450, 50}, Qt::NoModifier, false},
        {"line of no component", {250, 305}, Qt::NoModifier, false},
        {"empty space", {250, 200}, Qt::NoModifier, false},
    };
    for (const auto& C : Cases) {
        Click(ScreenOf(C.At), C.Mods);
        EXPECT_EQ(Selected(), C.Selects) << C.What;
        EXPECT_EQ(A->fSelected, C.Selects) << C.What;
        EXPECT_EQ(Form->PropertiesAction->isEnabled(), C.Selects) << C.What;
        EXPECT_EQ(Form->ShowDataSheetAction->isEnabled(), C.Selects) << C.What;
        EXPECT_EQ(PixelAt(TTestBox({0, 0}, {100, 100}).Centre()), C.Selects ? Highlight : SymbolColour)
            << C.What;
    }
    // Shift with a click neither selects nor clears.
    Click(ScreenOf({50, 50}), Qt::ShiftModifier);
    EXPECT_FALSE(Selected());
    Click(ScreenOf({50, 50}));
    Click(ScreenOf({250, 200}), Qt::ShiftModifier);
    EXPECT_TRUE(A->fSelected);
    // Escape clears the selection and its highlight.
    QTest::keyClick(Form->PaintBox(), Qt::Key_Escape);
    EXPECT_FALSE(Selected());
    EXPECT_FALSE(Form->PropertiesAction->isEnabled());
    EXPECT_EQ(PixelAt({50, 50}), SymbolColour);
}

TEST_F(MainFormTest, PropertiesAndDatasheetSayTheyAreNotAvailableYet) {
    BuildScene();
    Click(ScreenOf({50, 50}));
    QTest::keyClick(Form->PaintBox(), Qt::Key_Return, Qt::AltModifier);
    QTest::keyClick(Form->PaintBox(), Qt::Key_Enter, Qt::ShiftModifier | Qt::KeypadModifier);
    Form->ShowDataSheetAction->trigger();
    ASSERT_EQ(Boxes.Messages.size(), 3u);
    for (const auto& M : Boxes.Messages)
        EXPECT_EQ(M.Kind, TMessageKind::mkInformation);
    // Nothing selected: the actions are disabled and the keys do nothing.
    QTest::keyClick(Form->PaintBox(), Qt::Key_Escape);
    QTest::keyClick(Form->PaintBox(), Qt::Key_Return, Qt::AltModifier);
    EXPECT_EQ(Boxes.Messages.size(), 3u);
}

TEST_F(MainFormTest, DoubleClickZoomsAllAndDoesNotSelect) {
    BuildScene();
    TSymbolCanvas& Canvas = Form->SymbolCanvas();
    const double Fit = Canvas.fZoom;
    Wheel({300, 300}, -120);
    Mouse(QEvent::MouseButtonDblClick, ScreenOf({50, 50}), Qt::LeftButton, Qt::LeftButton);
    EXPECT_DOUBLE_EQ(Canvas.fZoom, Fit);
    EXPECT_FALSE(A->fSelected);
}

TEST_F(MainFormTest, PanMovesOneRenderedPictureAndEndsWhereItShowed) {
    BuildScene();
    TSymbolCanvas& Canvas = Form->SymbolCanvas();
    const TPoint Start = Canvas.fStart;
    for (const auto& [Button, Mods] : {std::pair{Qt::MiddleButton, Qt::KeyboardModifiers(Qt::NoModifier)},
                                       std::pair{Qt::LeftButton, Qt::KeyboardModifiers(Qt::ShiftModifier)}}) {
        Form->ZoomAll();
        const TPoint From = Canvas.fStart;
        Mouse(QEvent::MouseButtonPress, {300, 300}, Button, Button, Mods);
        Mouse(QEvent::MouseMove, {310, 305}, Qt::NoButton, Button, Mods);
        const qint64 Picture = Form->PanBitmap().cacheKey();
        ASSERT_FALSE(Form->PanBitmap().isNull());
        EXPECT_EQ(Form->PanBitmap().size(), QSize(2 * Canvas.fSize.X, 2 * Canvas.fSize.Y));
        Mouse(QEvent::MouseMove, {350, 280}, Qt::NoButton, Button, Mods);
        EXPECT_EQ(Form->PanBitmap().cacheKey(), Picture) << "rendered once per drag";
        const QImage LastFrame = Form->ViewImage();
        Mouse(QEvent::MouseButtonRelease, {350, 280}, Button, Qt::NoButton, Mods);
        EXPECT_TRUE(Form->PanBitmap().isNull());
        EXPECT_EQ(Canvas.fStart, TPoint(From.X + qRound(50 * Ratio()), From.Y - qRound(20 * Ratio())));
        EXPECT_FALSE(Canvas.fPan);
        // The redrawn view is the picture the drag showed last.
        EXPECT_EQ(Form->ViewImage(), LastFrame);
        EXPECT_FALSE(A->fSelected) << "a pan is no click";
    }
    EXPECT_NE(Canvas.fStart, Start);
}

TEST_F(MainFormTest, ShiftRightDragZoomsAtTheCursor) {
    BuildScene();
    TSymbolCanvas& Canvas = Form->SymbolCanvas();
    const double Zoom = Canvas.fZoom;
    Mouse(QEvent::MouseButtonPress, {300, 300}, Qt::RightButton, Qt::RightButton, Qt::ShiftModifier);
    Mouse(QEvent::MouseMove, {300, 310}, Qt::NoButton, Qt::RightButton, Qt::ShiftModifier);
    EXPECT_DOUBLE_EQ(Canvas.fZoom, Zoom * 1.05);
    Mouse(QEvent::MouseMove, {320, 310}, Qt::NoButton, Qt::RightButton, Qt::ShiftModifier);
    EXPECT_DOUBLE_EQ(Canvas.fZoom, Zoom * 1.05 * 0.95);
    Mouse(QEvent::MouseButtonRelease, {320, 310}, Qt::RightButton, Qt::NoButton, Qt::ShiftModifier);
}

TEST_F(MainFormTest, OptionsSwitchBackgroundUnitsAndDrawMode) {
    BuildScene();
    EXPECT_TRUE(Form->OptionsBlackBackgroundAction->isChecked());
    EXPECT_EQ(Form->ViewImage().pixel(2, 2) | 0xFF000000u, Black);
    Form->OptionsBlackBackgroundAction->trigger();
    EXPECT_FALSE(Form->OptionsBlackBackgroundAction->isChecked());
    EXPECT_EQ(Form->ViewImage().pixel(2, 2) | 0xFF000000u, White);
    EXPECT_EQ(Form->findChild<QWidget*>(QStringLiteral("PanelPaintBox"))->palette().color(QPalette::Window),
              QColor(White));

    const bool Metric = Form->MetricUnits();
    Form->ActionUnits->trigger();
    EXPECT_EQ(Form->ActionUnits->isChecked(), Metric);
    for (const TUnitKind Kind :
         {TUnitKind::Size, TUnitKind::Pressure, TUnitKind::Flow, TUnitKind::Weight, TUnitKind::Velocity})
        EXPECT_EQ(IsMetric(Kind), !Metric);
    Form->ActionUnits->trigger();
    EXPECT_EQ(IsMetric(TUnitKind::Pressure), Metric);

    std::vector<std::string> Captions;
    std::vector<TSymbolGroupDrawMode> Modes;
    for (int I = 0; I < 4; ++I) {
        Form->ActionDrawMode->trigger();
        Captions.push_back(Form->ActionDrawMode->text().toStdString());
        Modes.push_back(Form->SymbolCanvas().fSymbolGroupDrawMode);
    }
    EXPECT_THAT(Captions,
                ElementsAre("Draw No groups", "Draw Sub groups", "Draw No groups", "Draw Main groups"));
    EXPECT_THAT(Modes, ElementsAre(drawNoGroups1, drawSubGroups, drawNoGroups2, drawMainGroups));
}

TEST_F(MainFormTest, AnEmptyDrawingReplacesTheOneShown) {
    // Zoom All leaves an empty drawing alone; the view must still stop showing the old one.
    const std::string Full = Dir.Write("full.kdf", DrawingText(ComponentText(1, 0, 0, "A")));
    Form->OpenDocumentFile(Full);
    AddOutlineBoxes(Form->SymbolFile(), 50);
    Form->ZoomAll();
    const auto Uniform = [&] {
        const QImage View = Form->ViewImage();
        for (int Y = 0; Y < View.height(); ++Y)
            for (int X = 0; X < View.width(); ++X)
                if (View.pixel(X, Y) != View.pixel(0, 0)) return false;
        return true;
    };
    ASSERT_FALSE(Uniform());
    Form->OpenDocumentFile(Dir.Write("empty.kdf", DrawingText("")));
    EXPECT_EQ(Form->FileName(), Dir.File("empty.kdf"));
    EXPECT_TRUE(Uniform());
}

TEST_F(MainFormTest, CloseEmptiesTheView) {
    const std::string File = Drawing("plan.kdf");
    Form->OpenDocumentFile(File);
    EXPECT_EQ(Form->StatusText().toStdString(), File);
    Form->FileCloseAction->trigger();
    EXPECT_EQ(Form->FileName(), "");
    EXPECT_EQ(Form->StatusText(), QString());
    EXPECT_EQ(Objects().Count(), 0);
    // Unpack folders stay until the end; last path is kept for the next Open dialog.
    EXPECT_EQ(Form->LastPath(), Dir.Path().string());
}

TEST_F(MainFormTest, TheCanvasCanMeasureTextsOutsideAPaint) {
    // Zoom All and hit tests run between paints and measure texts through the canvas.
    for (int I = 0; I < 2; ++I) {
        ASSERT_NE(Form->SymbolCanvas().fCanvas, nullptr);
        EXPECT_GT(Form->SymbolCanvas().fCanvas->TextExtent("Korvane").cx, 0);
        Form->DrawSymbolFile();
    }
}

TEST_F(MainFormTest, ViewPictureFollowsTheScreensScale) {
    BuildScene();
    const double Ratio = Form->PaintBox()->devicePixelRatioF();
    const QSize Logical = Form->PaintBox()->size();
    EXPECT_EQ(Form->ViewImage().size(),
              QSize(qRound(Logical.width() * Ratio), qRound(Logical.height() * Ratio)));
    EXPECT_EQ(Form->SymbolCanvas().fSize, TPoint(Form->ViewImage().width(), Form->ViewImage().height()));
    // A click at a logical position selects what is drawn under it.
    Click(ScreenOf({50, 50}));
    EXPECT_TRUE(A->fSelected);
}

// ---------------------------------------------------------------------------------------------
// About box and cursor

TEST(AboutBox, ShowsTheLogoTheViewerLabelAndTheVersion) {
    EXPECT_EQ(LogoResolutionBucket(96), "096");
    EXPECT_EQ(LogoResolutionBucket(119), "096");
    EXPECT_EQ(LogoResolutionBucket(120), "120");
    EXPECT_EQ(LogoResolutionBucket(191), "168");
    EXPECT_EQ(LogoResolutionBucket(500), "288");
    for (const int Ppi : {96, 144, 288}) {
        const QImage Logo = LoadMainLogo(Ppi);
        EXPECT_EQ(Logo.size(), QSize(650 * Ppi / 96, 350 * Ppi / 96)) << Ppi;
        // The decoded logo, not the blank stand-in.
        EXPECT_NE(Logo.pixel(Logo.width() / 2, Logo.height() / 2) | 0xFF000000u, White) << Ppi;
    }
    EXPECT_TRUE(DecodePngLogo(QByteArray("not a png")).isNull());

    TAboutDlg About;
    About.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&About));
    EXPECT_EQ(About.size(), QSize(650, 350));
    EXPECT_EQ(About.ViewerLabel()->text(), QStringLiteral("Viewer"));
    EXPECT_EQ(About.ViewerLabel()->pos(), QPoint(480, 150));
    EXPECT_EQ(About.VersionLabel()->text().toStdString(), GetProgramVersionText());
    EXPECT_EQ(About.VersionLabel()->geometry().bottom() + 1, 350 - 4);
    EXPECT_EQ(About.VersionLabel()->geometry().right() + 1, 650 - 8);
    QTest::keyClick(&About, Qt::Key_Escape);
    EXPECT_FALSE(About.isVisible());
}

TEST(SaveCursor, ShowsTheHourglassForItsScopeOnly) {
    ASSERT_EQ(QGuiApplication::overrideCursor(), nullptr);
    try {
        TSaveCursor Outer;
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        {
            TSaveCursor Inner(Qt::CrossCursor);
            EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::CrossCursor);
        }
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        throw std::runtime_error("leaves the scope");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

} // namespace

int main(int Argc, char** Argv) {
    // Everything the window writes goes to one private folder.
    UsePrivateHomeFolders();
    if (!getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication App(Argc, Argv);
    ::testing::InitGoogleTest(&Argc, Argv);
    return RUN_ALL_TESTS();
}

namespace {

TEST_F(MainFormTest, OpeningReattachesEveryLineToItsPort) {
    // The line's stored first point is off its port; opening puts it on the port's end.
    const std::string Text = DrawingText("  Symbol:\r\n    Handle=1\r\n    Port:\r\n      Handle=2\r\n"
                                         "      Point1X=0\r\n      Point1Y=0\r\n      Point2X=10\r\n"
                                         "      Point2Y=0\r\n      PortName=P\r\n    End.\r\n  End.\r\n"
                                         "  ConnectionLine:\r\n    Handle=3\r\n    Port1Handle=2\r\n"
                                         "    Point:\r\n      X=50\r\n      Y=50\r\n    End.\r\n"
                                         "    Point:\r\n      X=300\r\n      Y=50\r\n    End.\r\n  End.\r\n");
    Form->OpenDocumentFile(Dir.Write("lines.kdf", Text));
    auto* Line = dynamic_cast<TSymbolObjectConnectionLine*>(Objects().Find(3));
    ASSERT_NE(Line, nullptr);
    ASSERT_FALSE(Line->fDrawPoints.Items.empty());
    EXPECT_EQ(Line->fDrawPoints.Items.front(), TPoint(10, 0));
}

TEST(BusyIndicator, ShowsProgressAndThenTheFileAgain) {
    std::vector<QString> Shown;
    TBusyIndicator Busy([&](const QString& Text) { Shown.push_back(Text); });
    Busy.BeginBusy();
    Busy.BeginBusy(); // nested updates keep one hourglass
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    Busy.BusyProgress(40);
    Busy.EndBusy();
    EXPECT_NE(QGuiApplication::overrideCursor(), nullptr);
    Busy.EndBusy();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    ASSERT_EQ(Shown.size(), 2u);
    EXPECT_TRUE(Shown[0].endsWith(QStringLiteral(" 40%")));
    EXPECT_TRUE(Shown[1].isEmpty());
}

} // namespace
