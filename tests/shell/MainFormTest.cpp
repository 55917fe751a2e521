// The main window on the offscreen platform: opening files by every path, and the view.
#include "shell/MainForm.h"
#include "document/BOMRows.h"
#include "shell/ProxyServerSettingsDialog.h"
#include "shell/SheetNavigator.h"
#include <QPdfDocument>
#include <QTreeWidget>

#include "TestObjects.h"
#include "components/ConnectionLines.h"
#include "datasheets/ProxyServerSettings.h"
#include "document/DrawingView.h"
#include "packages/QuavZip.h"
#include "platform/MessageBox.h"
#include "platform/OpenWith.h"
#include "platform/QUAVGlobs.h"
#include "qt/SingleInstance.h"
#include "shell/AboutBox.h"
#include "shell/SaveCursors.h"
#include "support/PrivateHome.h"
#include "support/TempFiles.h"
#include "support/TestServers.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDeadlineTimer>
#include <QDialog>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <atomic>
#include <thread>

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

namespace {

const QRgb Black = qRgb(0, 0, 0), White = qRgb(255, 255, 255);

QRgb ToQRgb(TColor c) {
    return qRgb(ColorRed(c), ColorGreen(c), ColorBlue(c));
}
// Highlight of the black scheme, and the colour it gives symbol lines.
const QRgb Highlight = ToQRgb(SymbolCanvasColorsBlack().DrawColors[dcHighlight]);
const QRgb SymbolColour = ToQRgb(SymbolCanvasColorsBlack().LineTypeColors[symlinetypeSymbol]);

void ProcessUntil(const std::function<bool()>& done) {
    QDeadlineTimer deadline(20000);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

class MainFormTest : public ::testing::Test {
protected:
    void SetUp() override { Form = MakeForm(); }

    std::unique_ptr<TMainForm> MakeForm() {
        auto f = std::make_unique<TMainForm>();
        f->resize(800, 600);
        f->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(f.get()));
        QCoreApplication::processEvents(); // the first activation
        return f;
    }

    std::string Drawing(const std::string& name,
                        const std::string& body = ComponentText(1, 100, 100, "A-1")) {
        return Dir.Write(name, DrawingText(body));
    }
    // A ZIP at Name holding the given members (stored name -> content).
    std::string Zip(const std::string& name,
                    const std::vector<std::pair<std::string, std::string>>& members) {
        const std::string path = Dir.File(name);
        TZipFile z(path, TZipMode::zmWrite);
        for (const auto& [Stored, Content] : members)
            z.Add(Dir.Write("zip-src/" + Stored, Content), Stored);
        z.Close();
        return path;
    }
    static std::string Pdf(int page) {
        TTempDir d;
        const std::string path = d.File("p.pdf");
        {
            QPdfWriter writer(QString::fromStdString(path));
            QPainter p(&writer);
            p.drawText(100, 100, QStringLiteral("page %1").arg(page));
        }
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    TSymbolObjectList& Objects() { return Form->SymbolFile().Symbol().fSymbolObjectList; }
    double Ratio() const { return Form->PaintBox()->devicePixelRatioF(); }
    // Where a drawing point shows, in the paint box's logical pixels (those of mouse events).
    QPoint ScreenOf(TPoint drawingPoint) {
        const TPoint d = Form->SymbolCanvas().ToPt(drawingPoint);
        return {qRound(d.X / Ratio()), qRound(d.Y / Ratio())};
    }
    QRgb PixelAt(TPoint drawingPoint) {
        const TPoint d = Form->SymbolCanvas().ToPt(drawingPoint);
        return Form->ViewImage().pixel(d.X, d.Y) | 0xFF000000u;
    }
    void Wheel(QPoint pos, int delta, QWidget* target = nullptr) {
        QWidget* w = target ? target : Form->PaintBox();
        QWheelEvent e(QPointF(pos), QPointF(w->mapToGlobal(pos)), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(w, &e);
    }
    void Mouse(QEvent::Type type, QPoint pos, Qt::MouseButton button, Qt::MouseButtons buttons,
               Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QWidget* w = Form->PaintBox();
        QMouseEvent e(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), button, buttons, mods);
        QApplication::sendEvent(w, &e);
    }
    void Click(QPoint pos, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        Mouse(QEvent::MouseButtonPress, pos, Qt::LeftButton, Qt::LeftButton, mods);
        Mouse(QEvent::MouseButtonRelease, pos, Qt::LeftButton, Qt::NoButton, mods);
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
    const std::string kdf = Drawing("plan.kdf");
    const struct {
        std::string File;
        std::string Opened; // "" when the file is ignored
    } cases[] = {
        {kdf, kdf},
        {Drawing("UPPER.KDF"), Dir.File("UPPER.KDF")},
        {Drawing("part.Sym"), Dir.File("part.Sym")},
        {Drawing("plan.kdf.bak"), ""},
        {Drawing("noextension"), ""},
        {Dir.Write("sheet.pdf", "%PDF-1.4"), ""},
        {Drawing("plan.txt"), ""},
    };
    for (const auto& c : cases) {
        Form->FileCloseAction->trigger();
        Boxes.Messages.clear();
        Form->OpenDocumentFile(c.File);
        EXPECT_EQ(Form->FileName(), c.Opened) << c.File;
        EXPECT_EQ(Form->StatusText().toStdString(), c.Opened) << c.File;
        EXPECT_EQ(Objects().Count(), c.Opened.empty() ? 0 : 1) << c.File;
        if (!c.Opened.empty()) {
            EXPECT_EQ(Form->LastPath(), Dir.Path().string());
            EXPECT_THAT(Boxes.Messages, IsEmpty());
        } else {
            // Ignored, but never in silence.
            ASSERT_EQ(Boxes.Messages.size(), 1u) << c.File;
            EXPECT_EQ(Boxes.Messages[0].Text,
                      "\"" + c.File + "\" is not a file type the viewer opens (.kdf, .sym, .zip, .kdx).");
        }
    }
}

TEST_F(MainFormTest, AnIgnoredFileLeavesTheShownDrawingAndItsPagesAlone) {
    const std::string kdx = Zip("pack.kdx", {{"plan.kdf", DrawingText(ComponentText(1, 0, 0, "A"))},
                                             {"~PrintPreview/1.pdf", Pdf(1)}});
    Form->OpenDocumentFile(kdx);
    ASSERT_EQ(Form->PrintPreviewPDFs().size(), 1u);
    Form->OpenDocumentFile(Dir.Write("notes.txt", "x"));
    EXPECT_EQ(Form->PrintPreviewPDFs().size(), 1u);
    EXPECT_TRUE(Form->ActionPrintPreview->isEnabled());
}

TEST_F(MainFormTest, ADrawingThatFailsToLoadKeepsTheOneShown) {
    const std::string good = Drawing("good.kdf");
    Form->OpenDocumentFile(good);
    fs::create_directories(Dir.Path() / "elsewhere");
    Form->OpenDocumentFile(Dir.File("elsewhere/missing.kdf"));
    EXPECT_EQ(Form->FileName(), good);
    EXPECT_EQ(Form->LastPath(), Dir.Path().string());
    EXPECT_EQ(CurrentDrawingFolder, Dir.Path().string());
    ASSERT_EQ(Boxes.Messages.size(), 1u);
    EXPECT_EQ(Boxes.Messages[0].Kind, TMessageKind::mkError);
    EXPECT_THAT(Boxes.Messages[0].Text, ::testing::HasSubstr("missing.kdf"));
}

// Every way a file reaches the window says why it cannot be shown and keeps what is shown.
TEST_F(MainFormTest, FilesThatCannotBeShownAreSaidOnEveryRoute) {
    const QString socket = QString::fromStdString(Dir.File("handoff"));
    ASSERT_TRUE(Form->StartHandOffServer(socket));
    const std::string shown = Drawing("shown.kdf");
    std::string random(3000, '\0');
    for (size_t i = 0; i < random.size(); ++i)
        random[i] = char((i * 2654435761u) >> 13);
    const std::string whole = DrawingText(ComponentText(7, 10, 10, "B-2"));
    const struct {
        std::string File;
        std::string Says; // "" when the file is shown
    } files[] = {
        {Dir.Write("empty.kdf", ""), "is not a drawing file"},
        {Dir.Write("random.kdf", random), "is not a drawing file"},
        {Dir.Write("letter.kdf", "Dear reader,\nthis is a letter.\n"), "is not a drawing file"},
        {Dir.Write("cut.kdf", whole.substr(0, whole.size() - 20)), ""},
        {Dir.Write("notes.txt", whole), "is not a file type the viewer opens"},
        {Dir.File("missing.kdf"), "does not exist"},
    };
    const auto handOver = [&](const std::string& file) {
        std::atomic<bool> done = false;
        std::thread sender([&] {
            SendToRunningInstance(QString::fromStdString(file), socket);
            done = true;
        });
        ProcessUntil([&] { return done.load(); });
        sender.join();
        for (int i = 0; i < 20; ++i)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    };
    const auto drop = [&](const std::string& file) {
        QMimeData mime;
        mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(file))});
        QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Form.get(), &enter);
        QDropEvent e(QPointF(100, 100), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Form.get(), &e);
    };
    for (const auto& f : files) {
        for (const char* route : {"command line", "hand-off", "drop"}) {
            Form->OpenDocumentFile(shown);
            Boxes.Messages.clear();
            std::unique_ptr<TMainForm> started;
            TMainForm* window = Form.get();
            if (route == std::string("command line")) {
                started = std::make_unique<TMainForm>(f.File);
                started->show();
                ProcessUntil([&] { return !Boxes.Messages.empty() || !started->FileName().empty(); });
                window = started.get();
            } else if (route == std::string("hand-off")) {
                handOver(f.File);
            } else {
                drop(f.File);
            }
            const std::string what = f.File + " by " + route;
            if (f.Says.empty()) {
                EXPECT_THAT(Boxes.Messages, IsEmpty()) << what;
                EXPECT_EQ(window->FileName(), f.File) << what;
                EXPECT_THAT(window->StatusText().toStdString(), HasSubstr("left out")) << what;
            } else {
                ASSERT_EQ(Boxes.Messages.size(), 1u) << what;
                EXPECT_EQ(Boxes.Messages[0].Kind, TMessageKind::mkError) << what;
                EXPECT_THAT(Boxes.Messages[0].Text, HasSubstr(f.Says)) << what;
                EXPECT_EQ(window->FileName(), started ? "" : shown) << what;
            }
        }
    }
}

TEST_F(MainFormTest, ANewerFileIsShownAfterAWarning) {
    const std::string file = Dir.Write("new.kdf", DrawingText(ComponentText(1, 0, 0, "A"), "2030-99999"));
    Form->OpenDocumentFile(file);
    EXPECT_EQ(Form->FileName(), file);
    ASSERT_EQ(Boxes.Messages.size(), 1u);
    EXPECT_EQ(Boxes.Messages[0].Kind, TMessageKind::mkWarning);
    EXPECT_EQ(Boxes.Messages[0].Text,
              std::string("This file is saved with KorvaneViewer 2030-99999, your version is ") +
                  ProgramYear + "-" + ProgramBuild + ", some data might be lost!");
}

TEST_F(MainFormTest, DropOpensOneFileAndNothingWhenSeveralAreDropped) {
    // Deeper than 255 characters: dropped names are taken whole.
    std::string deep = "deep";
    while (Dir.File(deep).size() < 300)
        deep += "/folder-with-a-long-name";
    const std::string longName = Drawing(deep + "/plan.kdf");
    const std::string other = Drawing("other.kdf");
    const auto drop = [&](const std::vector<std::string>& files) {
        QMimeData mime;
        QList<QUrl> urls;
        for (const std::string& f : files)
            urls << QUrl::fromLocalFile(QString::fromStdString(f));
        mime.setUrls(urls);
        // As a real drop arrives: entering first, then the drop.
        QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Form.get(), &enter);
        ASSERT_TRUE(enter.isAccepted());
        QDropEvent e(QPointF(100, 100), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Form.get(), &e);
    };
    drop({longName, other});
    EXPECT_EQ(Form->FileName(), "");
    drop({Dir.Write("sheet.pdf", "%PDF")});
    EXPECT_EQ(Form->FileName(), "");
    drop({longName});
    EXPECT_EQ(Form->FileName(), longName);
}

TEST_F(MainFormTest, HandedOverPathsOpenWhenTheyNameAFile) {
    const QString socket = QString::fromStdString(Dir.File("RUR0033"));
    ASSERT_TRUE(Form->StartHandOffServer(socket));
    const auto send = [&](const std::string& path) {
        std::atomic<bool> done = false, sent = false;
        std::thread sender([&] {
            sent = SendToRunningInstance(QString::fromStdString(path), socket);
            done = true;
        });
        ProcessUntil([&] { return done.load(); });
        sender.join();
        // The receiver reads in its own time: let it drain the socket.
        for (int i = 0; i < 20; ++i)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        return sent.load();
    };
    std::string deep = "handed";
    while (Dir.File(deep).size() < 300)
        deep += "/another-long-folder-name";
    const std::string longName = Drawing(deep + "/plan.kdf");
    ASSERT_TRUE(send(longName));
    EXPECT_EQ(Form->FileName(), longName);
    ASSERT_TRUE(send(""));
    EXPECT_EQ(Form->FileName(), longName);
    EXPECT_THAT(Boxes.Messages, IsEmpty());
    ASSERT_TRUE(send(Dir.File("missing.kdf")));
    EXPECT_EQ(Form->FileName(), longName);
    ASSERT_EQ(Boxes.Messages.size(), 1u);
    EXPECT_EQ(Boxes.Messages[0].Text, "The file \"" + Dir.File("missing.kdf") + "\" does not exist.");
    // A second viewer cannot take the name while this one listens.
    TMainForm second;
    EXPECT_FALSE(second.StartHandOffServer(socket));
}

TEST_F(MainFormTest, PackagesOpenTheirDrawingAndAreDeletedAtExit) {
    const std::string zipFile =
        Zip("Pack.ZIP", {{"readme.txt", "x"},
                         {"sub/dir/plan.kdf", DrawingText(ComponentText(1, 0, 0, "A"))},
                         {"later.kdf", DrawingText("")}});
    Form->OpenDocumentFile(zipFile);
    ASSERT_EQ(Form->TempDirs().Folders().size(), 1u);
    const std::string first = Form->TempDirs().Folders()[0];
    EXPECT_EQ(Form->FileName(), first + "/sub/dir/plan.kdf");
    EXPECT_EQ(Form->LastPath(), Dir.Path().string());
    EXPECT_EQ(CurrentDrawingFolder, first + "/sub/dir");
    EXPECT_THAT(fs::path(first).filename().string(), ::testing::StartsWith("Unpack_"));

    Form->OpenDocumentFile(zipFile);
    ASSERT_EQ(Form->TempDirs().Folders().size(), 2u);
    const std::string second = Form->TempDirs().Folders()[1];
    EXPECT_NE(first, second);
    EXPECT_EQ(Form->FileName(), second + "/sub/dir/plan.kdf");

    EXPECT_THAT(Boxes.Messages, IsEmpty());

    // A package without a drawing opens nothing, unpacks nothing and says so.
    const std::string none = Zip("none.zip", {{"a.txt", "x"}});
    Form->OpenDocumentFile(none);
    EXPECT_EQ(Form->TempDirs().Folders().size(), 2u);
    EXPECT_EQ(Form->FileName(), second + "/sub/dir/plan.kdf");
    ASSERT_EQ(Boxes.Messages.size(), 1u);
    EXPECT_EQ(Boxes.Messages[0].Text, "\"" + none + "\" holds no drawing.");

    Form.reset();
    EXPECT_FALSE(fs::exists(first));
    EXPECT_FALSE(fs::exists(second));
}

TEST_F(MainFormTest, APackageOfSeveralDrawingsNamesTheOneShownAndOffersTheOthers) {
    const std::string zip = Zip("plant.zip", {{"a/first.kdf", DrawingText(ComponentText(1, 0, 0, "A"))},
                                              {"notes.txt", "x"},
                                              {"b/second.sym", DrawingText(ComponentText(2, 0, 0, "B"))}});
    Form->OpenDocumentFile(zip);
    const std::string folder = Form->TempDirs().Folders().at(0);
    EXPECT_EQ(Form->FileName(), folder + "/a/first.kdf");
    EXPECT_EQ(Form->OpenedFileName(), zip);
    // The status bar names the package, not its unpack folder, and the drawing shown.
    EXPECT_EQ(Form->StatusText().toStdString(), zip + ": first.kdf");
    EXPECT_EQ(Form->windowTitle().toStdString(), "plant.zip (first.kdf) - KorvaneViewer");
    QMenu* menu = Form->MenuPackageDrawings;
    ASSERT_TRUE(menu->menuAction()->isVisible());
    ASSERT_EQ(menu->actions().size(), 2);
    EXPECT_EQ(menu->actions()[0]->text(), QStringLiteral("a/first.kdf"));
    EXPECT_TRUE(menu->actions()[0]->isChecked());
    menu->actions()[1]->trigger();
    EXPECT_EQ(Form->FileName(), folder + "/b/second.sym");
    EXPECT_EQ(Form->StatusText().toStdString(), zip + ": second.sym");
    EXPECT_EQ(Form->LastPath(), Dir.Path().string());
    EXPECT_EQ(Form->TempDirs().Folders().size(), 1u); // shown from the same unpack folder
    EXPECT_TRUE(Form->MenuPackageDrawings->actions()[1]->isChecked());

    // A plain drawing has nothing to choose from and is named alone.
    const std::string plan = Drawing("plan.kdf");
    Form->OpenDocumentFile(plan);
    EXPECT_FALSE(Form->MenuPackageDrawings->menuAction()->isVisible());
    EXPECT_EQ(Form->StatusText().toStdString(), plan);
    EXPECT_EQ(Form->windowTitle().toStdString(), "plan.kdf - KorvaneViewer");
    EXPECT_THAT(Boxes.Messages, IsEmpty());
}

TEST_F(MainFormTest, PackedArchivesOfferTheirPagesEvenWithoutATopLevelDrawing) {
    const std::string pages1 = Pdf(1), pages2 = Pdf(2);
    const std::string full = Zip("full.kdx", {{"plan.kdf", DrawingText(ComponentText(1, 0, 0, "A"))},
                                              {"~PrintPreview/1.pdf", pages1},
                                              {"~PrintPreview/2.pdf", "%PDF-1.4 cut off"},
                                              {"~PrintPreview/3.pdf", pages2}});
    Form->OpenDocumentFile(full);
    EXPECT_EQ(Form->FileName(), Form->UnpackLocation() + "/plan.kdf");
    EXPECT_EQ(Form->LastPath(), Dir.Path().string());
    ASSERT_EQ(Form->PrintPreviewPDFs().size(), 3u);
    ASSERT_TRUE(Form->ActionPrintPreview->isEnabled());

    // The preview: three pages, Prev and Next step through them, Close goes back to the drawing.
    Form->ActionPrintPreview->trigger();
    ASSERT_TRUE(Form->PrintPreviewShown());
    auto* prev = Form->findChild<QPushButton*>(QStringLiteral("ButtonPrev"));
    auto* next = Form->findChild<QPushButton*>(QStringLiteral("ButtonNext"));
    auto* print = Form->findChild<QPushButton*>(QStringLiteral("ButtonPrint"));
    auto* problem = Form->findChild<QLabel*>(QStringLiteral("LabelPreviewProblem"));
    EXPECT_TRUE(prev->isVisible() && next->isVisible());
    EXPECT_FALSE(prev->isEnabled());
    EXPECT_TRUE(next->isEnabled());
    EXPECT_TRUE(print->isEnabled());
    EXPECT_FALSE(problem->isVisible());
    // A damaged page says so and does not stop the others.
    next->click();
    EXPECT_EQ(Form->CurrentPrintPreviewPDF(), 1);
    EXPECT_TRUE(problem->isVisible());
    EXPECT_THAT(problem->text().toStdString(), HasSubstr("2.pdf"));
    next->click();
    EXPECT_EQ(Form->CurrentPrintPreviewPDF(), 2);
    EXPECT_FALSE(problem->isVisible());
    EXPECT_TRUE(prev->isEnabled());
    EXPECT_FALSE(next->isEnabled());
    // Keys and the wheel belong to the drawing only.
    EXPECT_FALSE(Form->FormKeyDown(Qt::Key_Home, Qt::NoModifier));
    Form->findChild<QPushButton*>(QStringLiteral("ButtonClose"))->click();
    EXPECT_FALSE(Form->PrintPreviewShown());

    // Only a drawing at the top of the archive is opened; the pages come all the same.
    const std::string shown = Form->FileName();
    const std::string nested = Zip("nested.kdx", {{"sub/plan.kdf", DrawingText(ComponentText(1, 0, 0, "A"))},
                                                  {"~PrintPreview/1.pdf", pages1}});
    Form->OpenDocumentFile(nested);
    EXPECT_EQ(Form->FileName(), shown);
    EXPECT_EQ(Form->PrintPreviewPDFs().size(), 1u);
    EXPECT_EQ(Form->TempDirs().Folders().size(), 2u);
    // Nothing to print once the pages are gone.
    Form->FileCloseAction->trigger();
    EXPECT_FALSE(print->isEnabled());
}

TEST_F(MainFormTest, OpenDialogOffersTheCompatibleTypesFirst) {
    const QStringList filters = OpenDialogFilters();
    ASSERT_EQ(filters.size(), 5);
    const QStringList names = [&] {
        QStringList n;
        for (const QString& f : filters)
            n << f.section(QStringLiteral(" ("), 0, 0);
        return n;
    }();
    EXPECT_EQ(names, (QStringList{"Compatible Files", "Korvane Diagram Files", "Korvane Symbol Files",
                                  "Compressed Files", "All Files"}));
    // The masks ignore case, in the order drawing, packed drawing, symbol, package.
    const auto matches = [&](int entry, const QString& name) {
        const QString masks = filters[entry].section(QLatin1Char('('), 1).chopped(1);
        for (const QString& m : masks.split(QLatin1Char(' ')))
            if (QRegularExpression(QRegularExpression::wildcardToRegularExpression(m)).match(name).hasMatch())
                return true;
        return false;
    };
    for (const char* name : {"a.kdf", "A.KDF", "b.Kdx", "c.SYM", "d.zip"})
        EXPECT_TRUE(matches(0, QString::fromLatin1(name))) << name;
    EXPECT_FALSE(matches(0, QStringLiteral("a.kdf.bak")));
    EXPECT_TRUE(matches(1, QStringLiteral("x.KdF")));
    EXPECT_FALSE(matches(1, QStringLiteral("x.sym")));
    EXPECT_TRUE(matches(4, QStringLiteral("README")));
}

// ---------------------------------------------------------------------------------------------
// View

TEST_F(MainFormTest, WheelStepKeepsTheDrawingPointUnderTheCursor) {
    BuildScene();
    const struct {
        bool Reverse;
        int Delta;
        double Factor;
    } cases[] = {{false, -120, 1.5}, {false, 120, 0.5}, {true, -120, 0.5}, {true, 120, 1.5}};
    for (const auto& c : cases) {
        if (Form->ReverseMouseWheel() != c.Reverse) Form->OptionsReverseMouseWheelAction->trigger();
        Form->ZoomAll();
        TSymbolCanvas& canvas = Form->SymbolCanvas();
        const QPoint logical(211, 157);
        // The canvas works in device pixels; mouse events come in logical ones.
        const QPoint at(qRound(logical.x() * Ratio()), qRound(logical.y() * Ratio()));
        const TPoint under = canvas.FromPt({at.x(), at.y()});
        const double zoom = canvas.fZoom, newZoom = zoom * c.Factor;
        Wheel(logical, c.Delta);
        EXPECT_DOUBLE_EQ(canvas.fZoom, newZoom) << c.Delta << " " << c.Reverse;
        // The start the zoom formula gives (halves rounded to even), ...
        EXPECT_EQ(canvas.fStart, TPoint(int(std::nearbyint(at.x() - newZoom * under.X)),
                                        -int(std::nearbyint(newZoom * (canvas.fSize.Y - under.Y) - at.y()))))
            << c.Delta << " " << c.Reverse;
        // ... which keeps the drawing point under the cursor, up to a half pixel rounded away.
        const TPoint now = canvas.ToPt(under);
        EXPECT_LE(std::abs(now.X - at.x()) + std::abs(now.Y - at.y()), 1) << c.Delta << " " << c.Reverse;
    }
}

// A touchpad's small turns add up to whole notches; a turn the other way starts afresh, and a fast
// wheel's double notch is two steps.
TEST_F(MainFormTest, SmallWheelTurnsAddUpToWholeSteps) {
    BuildScene();
    TSymbolCanvas& canvas = Form->SymbolCanvas();
    Form->ZoomAll();
    const double zoom = canvas.fZoom;
    for (int i = 0; i < 7; ++i)
        Wheel({200, 150}, -15);
    EXPECT_EQ(canvas.fZoom, zoom) << "seven eighths of a notch";
    Wheel({200, 150}, -15);
    EXPECT_DOUBLE_EQ(canvas.fZoom, zoom * 1.5);
    Wheel({200, 150}, -100);
    Wheel({200, 150}, 60); // back the other way: the 100 are dropped
    Wheel({200, 150}, 59);
    EXPECT_DOUBLE_EQ(canvas.fZoom, zoom * 1.5);
    Wheel({200, 150}, 1);
    EXPECT_DOUBLE_EQ(canvas.fZoom, zoom * 0.75);
    Wheel({200, 150}, -240);
    EXPECT_DOUBLE_EQ(canvas.fZoom, zoom * 0.75 * 2.25);
}

// File > Recent Files lists the files opened last, newest first, also after a restart; a file
// opened again comes back at the zoom and place it was left at, in a window of any size.
TEST_F(MainFormTest, RecentFilesComeBackAsTheyWereLeft) {
    const std::string a =
        Drawing("a.kdf", ComponentText(1, 100, 100, "A-1") + ComponentText(2, 900, 700, "A-2"));
    const std::string b = Drawing("b.kdf");
    const auto listed = [](TMainForm& form) {
        QStringList names;
        for (QAction* action : form.MenuRecentFiles->actions())
            names << action->text();
        return names;
    };
    Form->OpenDocumentFile(a);
    TSymbolCanvas& canvas = Form->SymbolCanvas();
    Wheel({200, 150}, -120);
    Wheel({200, 150}, -120);
    const TViewPlace left = ViewPlaceOf(canvas);
    Form->OpenDocumentFile(b);
    EXPECT_EQ(listed(*Form), (QStringList{"&1 b.kdf", "&2 a.kdf"}));

    Form->MenuRecentFiles->actions()[1]->trigger();
    EXPECT_EQ(Form->windowTitle().toStdString(), "a.kdf - KorvaneViewer");
    EXPECT_DOUBLE_EQ(canvas.fZoom, left.Zoom);
    EXPECT_LE(std::abs(ViewPlaceOf(canvas).Centre.X - left.Centre.X), 1);
    EXPECT_LE(std::abs(ViewPlaceOf(canvas).Centre.Y - left.Centre.Y), 1);
    EXPECT_EQ(listed(*Form), (QStringList{"&1 a.kdf", "&2 b.kdf"}));

    // A restart in a window of another size.
    Form.reset();
    Form = MakeForm();
    Form->resize(640, 480);
    QCoreApplication::processEvents();
    EXPECT_EQ(listed(*Form), (QStringList{"&1 a.kdf", "&2 b.kdf"}));
    Form->MenuRecentFiles->actions()[0]->trigger();
    EXPECT_DOUBLE_EQ(Form->SymbolCanvas().fZoom, left.Zoom);
    EXPECT_LE(std::abs(ViewPlaceOf(Form->SymbolCanvas()).Centre.X - left.Centre.X), 1);

    // A view the viewer cannot take, written by hand, is no view: the drawing shows whole.
    Form.reset();
    std::string ini = ReadWholeFile(GetIniFileName());
    ini.replace(ini.find("View1=") + 6, 1, "9e99 ");
    std::ofstream(GetIniFileName(), std::ios::binary) << ini;
    Form = MakeForm();
    Form->OpenDocumentFile(a);
    const double whole = Form->SymbolCanvas().fZoom;
    Form->ZoomAll();
    EXPECT_DOUBLE_EQ(Form->SymbolCanvas().fZoom, whole);
}

// View > Bill of Materials lists every record the BOM shows, sorts by any column (numbers as
// numbers), follows the units, and a click on a row selects and zooms to its component.
TEST_F(MainFormTest, BOMPanelListsSortsAndShowsComponents) {
    Form->OpenDocumentFile(KORVANE_SAMPLES "/annotated-circuit.kdf");
    Form->BOMPanel->toggleViewAction()->trigger();
    QTreeWidget* list = Form->BOMPanel->List();
    ASSERT_EQ(list->topLevelItemCount(), 6);
    EXPECT_EQ(list->topLevelItem(0)->text(1), QStringLiteral("DV06-43C-24DC"));
    EXPECT_EQ(list->headerItem()->text(6), QStringLiteral("Weight [kg]"));

    list->sortByColumn(4, Qt::DescendingOrder); // quantity
    EXPECT_EQ(list->topLevelItem(0)->text(4), QStringLiteral("2"));
    list->sortByColumn(1, Qt::AscendingOrder);
    EXPECT_EQ(list->topLevelItem(0)->text(1), QStringLiteral("COIL-24DC"));

    const double allZoom = Form->SymbolCanvas().fZoom;
    QTreeWidgetItem* relief = list->findItems(QStringLiteral("PRV10-210"), Qt::MatchExactly, 1).value(0);
    ASSERT_NE(relief, nullptr);
    emit list->itemClicked(relief, 1);
    const TObjectRefList selected =
        Form->SymbolFile().Symbol().fSymbolObjectList.CreateListSelectedObjectsNew(TSymbolObjectTypeSet());
    ASSERT_FALSE(selected.empty());
    EXPECT_EQ(selected.front()->fBOMList.First()->fData.ArticleCode, "PRV10-210");
    EXPECT_GT(Form->SymbolCanvas().fZoom, allZoom);

    Form->ActionUnits->trigger();
    EXPECT_EQ(list->headerItem()->text(6), QStringLiteral("Weight [lbs]"));
    EXPECT_EQ(list->findItems(QStringLiteral("DV06-43C-24DC"), Qt::MatchExactly, 1).value(0)->text(6),
              QStringLiteral("3.2"));
}

// Ctrl+F, a text and Enter select and zoom to the first component holding it; F3 and Shift+F3
// step on and back, round the end; a component on a sheet not shown brings all sheets back.
TEST_F(MainFormTest, FindStepsThroughTheComponentsThatHoldATextAcrossSheets) {
    Form->OpenDocumentFile(KORVANE_SAMPLES "/annotated-circuit.kdf");
    const auto selectedArticle = [&]() -> std::string {
        const TObjectRefList selected =
            Form->SymbolFile().Symbol().fSymbolObjectList.CreateListSelectedObjectsNew(
                TSymbolObjectTypeSet());
        return selected.empty() ? std::string("<none>")
                                : selected.front()->fBOMList.First()->fData.ArticleCode;
    };
    QTest::keyClick(Form->PaintBox(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(Form->EditFind->hasFocus());
    QTest::keyClicks(Form->EditFind, QStringLiteral("valve"));
    QTest::keyClick(Form->EditFind, Qt::Key_Return);
    EXPECT_EQ(selectedArticle(), "DV06-43C-24DC");
    EXPECT_EQ(Form->StatusText(), QStringLiteral("Match 1 of 2: \"valve\""));
    Form->FindNextAction->trigger();
    EXPECT_EQ(selectedArticle(), "PRV10-210");
    // The list marks the component found.
    const QList<QTreeWidgetItem*> marked = Form->BOMPanel->List()->selectedItems();
    ASSERT_EQ(marked.size(), 1);
    EXPECT_EQ(marked[0]->text(1), QStringLiteral("PRV10-210"));
    Form->FindNextAction->trigger(); // round the end
    EXPECT_EQ(selectedArticle(), "DV06-43C-24DC");
    Form->FindPreviousAction->trigger();
    EXPECT_EQ(selectedArticle(), "PRV10-210");
    Form->EditFind->setText(QStringLiteral("no such part"));
    Form->FindNextAction->trigger();
    EXPECT_EQ(Form->StatusText(), QStringLiteral("No component holds \"no such part\"."));

    Form->OpenDocumentFile(KORVANE_SAMPLES "/multi-sheet.kdf");
    Form->SheetNavigator().Step(1); // sheet 1 alone
    Form->EditFind->setText(QStringLiteral("orifice"));
    const std::vector<TSymbolObject*> orifices = FindComponents(Form->SymbolFile(), "orifice");
    ASSERT_EQ(orifices.size(), 1u);
    ASSERT_TRUE(orifices[0]->IsHidden()) << "the sample's orifice is on another sheet";
    Form->FindNextAction->trigger();
    EXPECT_EQ(Form->SheetNavigator().CurrentSheet(), TSheetNavigator::AllSheets);
    EXPECT_FALSE(orifices[0]->IsHidden());
    EXPECT_EQ(selectedArticle(), "OR06-12");
}

// File > Export View / Export Drawing: the picture as the window shows it, and PDF and SVG files
// with the same drawing as vectors, their texts as text.
TEST_F(MainFormTest, ExportWritesTheViewOrTheDrawingAsPictureOrVectors) {
    EXPECT_FALSE(Form->FileExportViewAction->isEnabled());
    Form->OpenDocumentFile(KORVANE_SAMPLES "/annotated-circuit.kdf");
    EXPECT_TRUE(Form->FileExportViewAction->isEnabled());
    Wheel({200, 150}, -120);
    Wheel({200, 150}, -120);
    const TViewPlace view = ViewPlaceOf(Form->SymbolCanvas());

    ASSERT_TRUE(Form->ExportTo(Dir.File("view.png"), false));
    const QImage shown = Form->ViewImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(QImage(QString::fromStdString(Dir.File("view.png"))).convertToFormat(QImage::Format_RGB32),
              shown);

    ASSERT_TRUE(Form->ExportTo(Dir.File("drawing.pdf"), true));
    QPdfDocument pdf;
    ASSERT_EQ(pdf.load(QString::fromStdString(Dir.File("drawing.pdf"))), QPdfDocument::Error::None);
    ASSERT_EQ(pdf.pageCount(), 1);
    const QString text = pdf.getAllText(0).text();
    for (const char* label : {"PRV10-210", "DV06-43C-24DC", "OR06-12"})
        EXPECT_TRUE(text.contains(QLatin1String(label))) << label << " in " << text.toStdString();
    // The page has the view's proportions.
    const QSizeF page = pdf.pagePointSize(0);
    EXPECT_NEAR(page.width() / page.height(), double(shown.width()) / shown.height(), 0.01);

    ASSERT_TRUE(Form->ExportTo(Dir.File("view.svg"), false));
    const std::string svg = ReadWholeFile(Dir.File("view.svg"));
    EXPECT_THAT(svg, HasSubstr("<svg"));
    EXPECT_THAT(svg, HasSubstr("<polyline"));
    EXPECT_THAT(svg, HasSubstr(">PRV10-210</text>"));

    // Exporting changes neither the view nor the drawing's selection.
    EXPECT_DOUBLE_EQ(Form->SymbolCanvas().fZoom, view.Zoom);
    // A folder that cannot be written is said, and nothing is left behind.
    EXPECT_FALSE(Form->ExportTo("/nonexistent/folder/x.pdf", false));
    ASSERT_EQ(Boxes.Messages.size(), 1u);
    EXPECT_THAT(Boxes.Messages[0].Text, HasSubstr("cannot be written"));
}

TEST_F(MainFormTest, WheelStepsBeyondTheLimitsChangeNothing) {
    BuildScene();
    TSymbolCanvas& canvas = Form->SymbolCanvas();
    const struct {
        double Zoom;
        int Delta;
        double Expected;
    } cases[] = {
        {150, -120, 150},      // 225 is above 200
        {0.0015, 120, 0.0015}, // 0.00075 is below 0.001
        {0.002, 120, 0.001},   // the bound itself is allowed
        {100, -120, 150},
    };
    for (const auto& c : cases) {
        canvas.fZoom = c.Zoom;
        canvas.fStart = {7, 9};
        Wheel({100, 100}, c.Delta);
        EXPECT_NEAR(canvas.fZoom, c.Expected, c.Expected * 1e-12) << c.Zoom;
        if (c.Zoom == c.Expected) {
            EXPECT_EQ(canvas.fStart, TPoint(7, 9)) << c.Zoom;
        }
    }
    // Over the tool bar the wheel does not zoom.
    canvas.fZoom = 1;
    Wheel({5, 5}, -120, Form->findChild<QToolBar*>(QStringLiteral("ToolBarMainForm")));
    EXPECT_EQ(canvas.fZoom, 1);
}

TEST_F(MainFormTest, ZoomAllFitsButNeverMagnifiesASmallDrawing) {
    TSymbolCanvas& canvas = Form->SymbolCanvas();
    canvas.fZoom = 3;
    Form->ZoomAll(); // empty document: nothing changes
    EXPECT_EQ(canvas.fZoom, 3);
    AddComponent(Objects(), {0, 0}, {10, 10});
    Form->ZoomAll();
    EXPECT_EQ(canvas.fZoom, 1);
    // Centred: the box's middle sits in the middle of the view.
    const TPoint mid = canvas.ToPt(TPoint(5, 5));
    EXPECT_NEAR(mid.X, canvas.fSize.X / 2, 3);
    EXPECT_NEAR(mid.Y, canvas.fSize.Y / 2, 3);
    AddComponent(Objects(), {0, 0}, {100000, 50000});
    Form->ZoomAll();
    EXPECT_LT(canvas.fZoom, 1);
    const TPoint far = canvas.ToPt(TPoint(100000, 50000)), near = canvas.ToPt(TPoint(0, 0));
    EXPECT_GE(near.X, 0);
    EXPECT_LE(far.X, canvas.fSize.X);
    EXPECT_GE(far.Y, 0);
    EXPECT_LE(near.Y, canvas.fSize.Y);
    // Home does the same.
    canvas.fZoom = 5;
    QTest::keyClick(Form->PaintBox(), Qt::Key_Home);
    EXPECT_LT(canvas.fZoom, 1);
}

TEST_F(MainFormTest, AClickSelectsOnlyComponentsTheBOMShows) {
    BuildScene();
    const auto selected = [&] { return Objects().HasSelection(); };
    const struct {
        const char* What;
        TPoint At;
        Qt::KeyboardModifiers Mods;
        bool Selects;
    } cases[] = {
        {"component with a BOM record", {50, 50}, Qt::NoModifier, true},
        {"with Ctrl held", {50, 50}, Qt::ControlModifier, true},
        {"first BOM record hidden", {250, 50}, Qt::NoModifier, false},
        {"component without BOM", {450, 50}, Qt::NoModifier, false},
        {"line of no component", {250, 305}, Qt::NoModifier, false},
        {"empty space", {250, 200}, Qt::NoModifier, false},
    };
    for (const auto& c : cases) {
        Click(ScreenOf(c.At), c.Mods);
        EXPECT_EQ(selected(), c.Selects) << c.What;
        EXPECT_EQ(A->fSelected, c.Selects) << c.What;
        EXPECT_EQ(PixelAt(TTestBox({0, 0}, {100, 100}).Centre()), c.Selects ? Highlight : SymbolColour)
            << c.What;
    }
    // Shift with a click neither selects nor clears.
    Click(ScreenOf({50, 50}), Qt::ShiftModifier);
    EXPECT_FALSE(selected());
    Click(ScreenOf({50, 50}));
    Click(ScreenOf({250, 200}), Qt::ShiftModifier);
    EXPECT_TRUE(A->fSelected);
    // Escape clears the selection and its highlight.
    QTest::keyClick(Form->PaintBox(), Qt::Key_Escape);
    EXPECT_FALSE(selected());
    EXPECT_EQ(PixelAt({50, 50}), SymbolColour);
}

TEST_F(MainFormTest, WhatIsNotBuiltYetIsNotOffered) {
    BuildScene();
    Click(ScreenOf({50, 50}));
    // Hidden in every menu and bar, and their keys do nothing.
    EXPECT_FALSE(Form->HelpCheckForUpdatesAction->isVisible());
    for (QAction* a : {Form->ShowDataSheetAction, Form->PathDataSheetsAction, Form->ProxyServerAction,
                       Form->OptionsLanguageAction})
        EXPECT_TRUE(a->isVisible()) << a->text().toStdString();
    EXPECT_THAT(Boxes.Messages, IsEmpty());
    EXPECT_FALSE(Form->findChild<QPushButton*>(QStringLiteral("ButtonPrint"))->isHidden());
}

// Alt+Enter and Shift+Enter show the properties of the selected component; with nothing selected
// they show nothing. Each dialog is read and closed with its "Close" button as soon as it shows.
TEST_F(MainFormTest, EnterWithAltOrShiftShowsThePropertiesOfTheSelectedComponent) {
    BuildScene();
    QStringList shown;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            shown << dlg->windowTitle();
            dlg->findChild<QPushButton*>(QStringLiteral("ButtonClose"))->click();
        }
    });
    closer.start(20);
    Click(ScreenOf({50, 50}));
    ASSERT_TRUE(Form->PropertiesAction->isEnabled());
    QTest::keyClick(Form->PaintBox(), Qt::Key_Return, Qt::AltModifier);
    QTest::keyClick(Form->PaintBox(), Qt::Key_Enter, Qt::ShiftModifier | Qt::KeypadModifier);
    EXPECT_EQ(shown,
              QStringList({QStringLiteral("Component Properties"), QStringLiteral("Component Properties")}));
    QTest::keyClick(Form->PaintBox(), Qt::Key_Escape);
    QTest::keyClick(Form->PaintBox(), Qt::Key_Return, Qt::AltModifier);
    EXPECT_EQ(shown.size(), 2);
    EXPECT_THAT(Boxes.Messages, IsEmpty());
}

// A file handed over while a properties dialog shows an object of the drawing waits until the
// dialog is closed: opening it at once would free the object under the dialog.
TEST_F(MainFormTest, AFileHandedOverDuringThePropertiesOpensAfterThem) {
    BuildScene();
    const std::string next = Drawing("next.kdf");
    std::string shownWhileOpen;
    bool dialogStayed = false;
    QTimer::singleShot(50, [&] {
        Form->HandOffDocument(QString::fromStdString(next));
        shownWhileOpen = Form->FileName();
        auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        dialogStayed = dlg != nullptr;
        if (dlg) dlg->findChild<QPushButton*>(QStringLiteral("ButtonClose"))->click();
    });
    Click(ScreenOf({50, 50}));
    Form->PropertiesAction->trigger();
    EXPECT_TRUE(dialogStayed);
    EXPECT_NE(shownWhileOpen, next);
    EXPECT_EQ(Form->FileName(), next);
    EXPECT_THAT(Boxes.Messages, IsEmpty());
}

TEST_F(MainFormTest, DoubleClickZoomsAllAndDoesNotSelect) {
    BuildScene();
    TSymbolCanvas& canvas = Form->SymbolCanvas();
    const double fit = canvas.fZoom;
    Wheel({300, 300}, -120);
    Mouse(QEvent::MouseButtonDblClick, ScreenOf({50, 50}), Qt::LeftButton, Qt::LeftButton);
    EXPECT_DOUBLE_EQ(canvas.fZoom, fit);
    EXPECT_FALSE(A->fSelected);
}

TEST_F(MainFormTest, PanMovesOneRenderedPictureAndEndsWhereItShowed) {
    BuildScene();
    TSymbolCanvas& canvas = Form->SymbolCanvas();
    const TPoint start = canvas.fStart;
    for (const auto& [Button, Mods] : {std::pair{Qt::MiddleButton, Qt::KeyboardModifiers(Qt::NoModifier)},
                                       std::pair{Qt::LeftButton, Qt::KeyboardModifiers(Qt::ShiftModifier)}}) {
        Form->ZoomAll();
        const TPoint from = canvas.fStart;
        Mouse(QEvent::MouseButtonPress, {300, 300}, Button, Button, Mods);
        Mouse(QEvent::MouseMove, {310, 305}, Qt::NoButton, Button, Mods);
        const qint64 picture = Form->PanBitmap().cacheKey();
        ASSERT_FALSE(Form->PanBitmap().isNull());
        EXPECT_EQ(Form->PanBitmap().size(), QSize(2 * canvas.fSize.X, 2 * canvas.fSize.Y));
        Mouse(QEvent::MouseMove, {350, 280}, Qt::NoButton, Button, Mods);
        EXPECT_EQ(Form->PanBitmap().cacheKey(), picture) << "rendered once per drag";
        const QImage lastFrame = Form->ViewImage();
        Mouse(QEvent::MouseButtonRelease, {350, 280}, Button, Qt::NoButton, Mods);
        EXPECT_TRUE(Form->PanBitmap().isNull());
        EXPECT_EQ(canvas.fStart, TPoint(from.X + qRound(50 * Ratio()), from.Y - qRound(20 * Ratio())));
        EXPECT_FALSE(canvas.fPan);
        // The redrawn view is the picture the drag showed last.
        EXPECT_EQ(Form->ViewImage(), lastFrame);
        EXPECT_FALSE(A->fSelected) << "a pan is no click";
    }
    EXPECT_NE(canvas.fStart, start);
}

TEST_F(MainFormTest, ShiftRightDragZoomsAtTheCursor) {
    BuildScene();
    TSymbolCanvas& canvas = Form->SymbolCanvas();
    const double zoom = canvas.fZoom;
    Mouse(QEvent::MouseButtonPress, {300, 300}, Qt::RightButton, Qt::RightButton, Qt::ShiftModifier);
    Mouse(QEvent::MouseMove, {300, 310}, Qt::NoButton, Qt::RightButton, Qt::ShiftModifier);
    EXPECT_DOUBLE_EQ(canvas.fZoom, zoom * 1.05);
    Mouse(QEvent::MouseMove, {320, 310}, Qt::NoButton, Qt::RightButton, Qt::ShiftModifier);
    EXPECT_DOUBLE_EQ(canvas.fZoom, zoom * 1.05 * 0.95);
    Mouse(QEvent::MouseButtonRelease, {320, 310}, Qt::RightButton, Qt::NoButton, Qt::ShiftModifier);
}

TEST_F(MainFormTest, TheContextMenuOpensOnAPlainRightClickOnly) {
    BuildScene();
    auto* menu = Form->findChild<QMenu*>(QStringLiteral("PopupMenuPaintBox"));
    ASSERT_NE(menu, nullptr);
    // X11 asks for the menu on the press; the window waits for the release to tell a click.
    const auto press = [&](QPoint at, Qt::KeyboardModifiers mods) {
        Mouse(QEvent::MouseButtonPress, at, Qt::RightButton, Qt::RightButton, mods);
        QContextMenuEvent request(QContextMenuEvent::Mouse, at, Form->PaintBox()->mapToGlobal(at), mods);
        QApplication::sendEvent(Form->PaintBox(), &request);
        EXPECT_FALSE(menu->isVisible());
    };
    const struct {
        const char* What;
        Qt::KeyboardModifiers Mods;
        QPoint To;
        bool Opens;
    } cases[] = {
        {"Shift+right-drag zooms", Qt::ShiftModifier, {300, 340}, false},
        {"Shift+right click", Qt::ShiftModifier, {300, 300}, false},
        {"right drag", Qt::NoModifier, {340, 300}, false},
        {"right click", Qt::NoModifier, {301, 300}, true},
    };
    for (const auto& c : cases) {
        const double zoom = Form->SymbolCanvas().fZoom;
        press({300, 300}, c.Mods);
        if (c.To != QPoint(300, 300)) Mouse(QEvent::MouseMove, c.To, Qt::NoButton, Qt::RightButton, c.Mods);
        Mouse(QEvent::MouseButtonRelease, c.To, Qt::RightButton, Qt::NoButton, c.Mods);
        EXPECT_EQ(menu->isVisible(), c.Opens) << c.What;
        EXPECT_EQ(Form->SymbolCanvas().fZoom != zoom, c.Mods == Qt::ShiftModifier && c.To.y() != 300)
            << c.What;
        menu->hide();
    }
    // The menu key still opens it.
    QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(10, 10),
                          Form->PaintBox()->mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(Form->PaintBox(), &key);
    EXPECT_TRUE(menu->isVisible());
    menu->hide();
}

TEST_F(MainFormTest, PlusMinusZoomAtTheCentreAndArrowsPanByATenth) {
    BuildScene();
    TSymbolCanvas& canvas = Form->SymbolCanvas();
    const QSize size = Form->PaintBox()->size() * Ratio();
    const TPoint centre(size.width() / 2, size.height() / 2);
    const TPoint middle = canvas.FromPt(centre);
    const double zoom = canvas.fZoom;
    QTest::keyClick(Form->PaintBox(), Qt::Key_Plus, Qt::ShiftModifier);
    EXPECT_DOUBLE_EQ(canvas.fZoom, zoom * 1.5);
    EXPECT_EQ(canvas.FromPt(centre), middle);
    QTest::keyClick(Form->PaintBox(), Qt::Key_Minus, Qt::KeypadModifier);
    EXPECT_DOUBLE_EQ(canvas.fZoom, zoom * 1.5 * 0.5);
    EXPECT_EQ(canvas.FromPt(centre), middle);

    const struct {
        Qt::Key Key;
        TPoint Moves; // of the drawing on the screen, in tenths of the view
    } arrows[] = {
        {Qt::Key_Right, {-1, 0}}, {Qt::Key_Left, {1, 0}}, {Qt::Key_Down, {0, -1}}, {Qt::Key_Up, {0, 1}}};
    for (const auto& a : arrows) {
        const TPoint before = canvas.ToPt(TPoint(0, 0));
        QTest::keyClick(Form->PaintBox(), a.Key);
        const TPoint after = canvas.ToPt(TPoint(0, 0));
        EXPECT_EQ(after.X - before.X, a.Moves.X * (size.width() / 10)) << a.Key;
        EXPECT_EQ(after.Y - before.Y, a.Moves.Y * (size.height() / 10)) << a.Key;
    }
}

TEST_F(MainFormTest, TheSheetListShowsOneSheetAtATimeAndPageKeysStepThroughIt) {
    Form->OpenDocumentFile(KORVANE_SAMPLES "/multi-sheet.kdf");
    QComboBox* list = Form->findChild<QComboBox*>(QStringLiteral("ComboBoxSheets"));
    ASSERT_NE(list, nullptr);
    QCoreApplication::processEvents(); // the tool bar lays out its widgets
    EXPECT_TRUE(list->isVisibleTo(Form.get()));
    ASSERT_EQ(list->count(), 4);
    EXPECT_EQ(list->itemText(0), QStringLiteral("All sheets"));
    EXPECT_EQ(list->itemText(2), QStringLiteral("Sheet 2 - A4 (297 x 210) Scale 0.5"));
    EXPECT_THAT(Form->StatusText().toStdString(), HasSubstr("All sheets"));

    // Shown objects of the top level, and the zoom, for each step.
    const auto shown = [&] {
        int n = 0;
        for (const auto& o : Objects())
            n += !o->IsHidden();
        return n;
    };
    const int all = shown();
    const double allZoom = Form->SymbolCanvas().fZoom;
    QTest::keyClick(Form->PaintBox(), Qt::Key_PageDown);
    EXPECT_EQ(list->currentIndex(), 1);
    EXPECT_LT(shown(), all);
    EXPECT_GT(Form->SymbolCanvas().fZoom, allZoom); // zoomed to the sheet
    EXPECT_THAT(Form->StatusText().toStdString(), HasSubstr("Sheet 1 - A3"));
    QTest::keyClick(Form->PaintBox(), Qt::Key_PageDown);
    QTest::keyClick(Form->PaintBox(), Qt::Key_PageDown);
    QTest::keyClick(Form->PaintBox(), Qt::Key_PageDown); // past the last sheet: stays
    EXPECT_EQ(list->currentIndex(), 3);
    EXPECT_THAT(Form->StatusText().toStdString(), HasSubstr("Sheet 3 - A4"));
    // Zoom All while one sheet is shown fits that sheet, not the whole drawing.
    const double sheetZoom = Form->SymbolCanvas().fZoom;
    Form->ZoomAll();
    EXPECT_DOUBLE_EQ(Form->SymbolCanvas().fZoom, sheetZoom);

    // Picking "All sheets" shows everything again.
    list->setCurrentIndex(0);
    emit list->activated(0);
    EXPECT_EQ(shown(), all);
    EXPECT_DOUBLE_EQ(Form->SymbolCanvas().fZoom, allZoom);

    // A drawing without sheets hides the list; the page keys do nothing then.
    Form->OpenDocumentFile(KORVANE_SAMPLES "/pump-unit.kdf");
    QCoreApplication::processEvents();
    EXPECT_FALSE(list->isVisibleTo(Form.get()));
    const int count = shown();
    QTest::keyClick(Form->PaintBox(), Qt::Key_PageDown);
    EXPECT_EQ(shown(), count);
    EXPECT_THAT(Form->StatusText().toStdString(), Not(HasSubstr("sheets")));
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

    const bool metric = Form->MetricUnits();
    Form->ActionUnits->trigger();
    EXPECT_EQ(Form->ActionUnits->isChecked(), metric);
    for (const TUnitKind kind :
         {TUnitKind::Size, TUnitKind::Pressure, TUnitKind::Flow, TUnitKind::Weight, TUnitKind::Velocity})
        EXPECT_EQ(IsMetric(kind), !metric);
    Form->ActionUnits->trigger();
    EXPECT_EQ(IsMetric(TUnitKind::Pressure), metric);

    std::vector<std::string> captions;
    std::vector<TSymbolGroupDrawMode> modes;
    for (int i = 0; i < 4; ++i) {
        Form->ActionDrawMode->trigger();
        captions.push_back(Form->ActionDrawMode->text().toStdString());
        modes.push_back(Form->SymbolCanvas().fSymbolGroupDrawMode);
    }
    EXPECT_THAT(captions,
                ElementsAre("Draw No groups", "Draw Sub groups", "Draw No groups", "Draw Main groups"));
    EXPECT_THAT(modes, ElementsAre(drawNoGroups1, drawSubGroups, drawNoGroups2, drawMainGroups));
}

TEST_F(MainFormTest, AnEmptyDrawingReplacesTheOneShown) {
    // Zoom All leaves an empty drawing alone; the view must still stop showing the old one.
    const std::string full = Dir.Write("full.kdf", DrawingText(ComponentText(1, 0, 0, "A")));
    Form->OpenDocumentFile(full);
    AddOutlineBoxes(Form->SymbolFile(), 50);
    Form->ZoomAll();
    const auto uniform = [&] {
        const QImage view = Form->ViewImage();
        for (int y = 0; y < view.height(); ++y)
            for (int x = 0; x < view.width(); ++x)
                if (view.pixel(x, y) != view.pixel(0, 0)) return false;
        return true;
    };
    ASSERT_FALSE(uniform());
    Form->OpenDocumentFile(Dir.Write("empty.kdf", DrawingText("")));
    EXPECT_EQ(Form->FileName(), Dir.File("empty.kdf"));
    EXPECT_TRUE(uniform());
}

TEST_F(MainFormTest, CloseEmptiesTheView) {
    const std::string file = Drawing("plan.kdf");
    Form->OpenDocumentFile(file);
    EXPECT_EQ(Form->StatusText().toStdString(), file);
    Form->FileCloseAction->trigger();
    EXPECT_EQ(Form->FileName(), "");
    EXPECT_EQ(Form->StatusText(), QString());
    EXPECT_EQ(Objects().Count(), 0);
    // Unpack folders stay until the end; last path is kept for the next Open dialog.
    EXPECT_EQ(Form->LastPath(), Dir.Path().string());
}

TEST_F(MainFormTest, TheCanvasCanMeasureTextsOutsideAPaint) {
    // Zoom All and hit tests run between paints and measure texts through the canvas.
    for (int i = 0; i < 2; ++i) {
        ASSERT_NE(Form->SymbolCanvas().fCanvas, nullptr);
        EXPECT_GT(Form->SymbolCanvas().fCanvas->TextExtent("Korvane").cx, 0);
        Form->DrawSymbolFile();
    }
}

TEST_F(MainFormTest, ViewPictureFollowsTheScreensScale) {
    BuildScene();
    const double ratio = Form->PaintBox()->devicePixelRatioF();
    const QSize logical = Form->PaintBox()->size();
    EXPECT_EQ(Form->ViewImage().size(),
              QSize(qRound(logical.width() * ratio), qRound(logical.height() * ratio)));
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
    for (const int ppi : {96, 144, 288}) {
        const QImage logo = LoadMainLogo(ppi);
        EXPECT_EQ(logo.size(), QSize(650 * ppi / 96, 350 * ppi / 96)) << ppi;
        // The decoded logo, not the blank stand-in.
        EXPECT_NE(logo.pixel(logo.width() / 2, logo.height() / 2) | 0xFF000000u, White) << ppi;
    }
    EXPECT_TRUE(DecodePngLogo(QByteArray("not a png")).isNull());

    TAboutDlg about;
    about.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
    EXPECT_EQ(about.size(), QSize(650, 350));
    EXPECT_EQ(about.ViewerLabel()->text(), QStringLiteral("Viewer"));
    EXPECT_EQ(about.ViewerLabel()->pos(), QPoint(480, 150));
    EXPECT_EQ(about.VersionLabel()->text().toStdString(), GetProgramVersionText());
    EXPECT_EQ(about.VersionLabel()->geometry().bottom() + 1, 350 - 4);
    EXPECT_EQ(about.VersionLabel()->geometry().right() + 1, 650 - 8);
    QTest::keyClick(&about, Qt::Key_Escape);
    EXPECT_FALSE(about.isVisible());
}

TEST(SaveCursor, ShowsTheHourglassForItsScopeOnly) {
    ASSERT_EQ(QGuiApplication::overrideCursor(), nullptr);
    try {
        TSaveCursor outer;
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        {
            TSaveCursor inner(Qt::CrossCursor);
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
    QApplication app(Argc, Argv);
    ::testing::InitGoogleTest(&Argc, Argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new TFreshSettingsEachTest);
    return RUN_ALL_TESTS();
}

namespace {

TEST_F(MainFormTest, OpeningReattachesEveryLineToItsPort) {
    // The line's stored first point is off its port; opening puts it on the port's end.
    const std::string text = DrawingText("  Symbol:\r\n    Handle=1\r\n    Port:\r\n      Handle=2\r\n"
                                         "      Point1X=0\r\n      Point1Y=0\r\n      Point2X=10\r\n"
                                         "      Point2Y=0\r\n      PortName=P\r\n    End.\r\n  End.\r\n"
                                         "  ConnectionLine:\r\n    Handle=3\r\n    Port1Handle=2\r\n"
                                         "    Point:\r\n      X=50\r\n      Y=50\r\n    End.\r\n"
                                         "    Point:\r\n      X=300\r\n      Y=50\r\n    End.\r\n  End.\r\n");
    Form->OpenDocumentFile(Dir.Write("lines.kdf", text));
    auto* line = dynamic_cast<TSymbolObjectConnectionLine*>(Objects().Find(3));
    ASSERT_NE(line, nullptr);
    ASSERT_FALSE(line->fDrawPoints.Items.empty());
    EXPECT_EQ(line->fDrawPoints.Items.front(), TPoint(10, 0));
}

TEST(BusyIndicator, ShowsProgressAndThenTheFileAgain) {
    std::vector<QString> shown;
    TBusyIndicator busy([&](const QString& text) { shown.push_back(text); });
    busy.BeginBusy();
    busy.BeginBusy(); // nested updates keep one hourglass
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    busy.BusyProgress(40);
    busy.EndBusy();
    EXPECT_NE(QGuiApplication::overrideCursor(), nullptr);
    busy.EndBusy();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_TRUE(shown[0].endsWith(QStringLiteral(" 40%")));
    EXPECT_TRUE(shown[1].isEmpty());
}

} // namespace

// ---------------------------------------------------------------------------------------------
// Datasheets

namespace {

// A component at (X, Y) whose first BOM record names Datasheet.
std::string ComponentWithDataSheet(int handle, int x, int y, const std::string& datasheet) {
    return "  Symbol:\n    Handle=" + std::to_string(handle) + "\n    Point1X=" + std::to_string(x) +
           "\n    Point1Y=" + std::to_string(y) + "\n    Bom:\n      ArticleCode=A" + std::to_string(handle) +
           "\n      Datasheet=" + datasheet + "\n    EndBom.\n  End.\n";
}

class DataSheetWindowTest : public MainFormTest {
protected:
    void SetUp() override {
        // A library that cannot be reached: nothing here may depend on a network.
        setenv("KORVANE_WEBLIB_URL", "https://127.0.0.1:9/", 1);
        MainFormTest::SetUp();
        fPreviousOpener = SetDocumentOpener([this](const std::string& path) {
            Opened.push_back(path);
            return true;
        });
    }
    void TearDown() override {
        SetDocumentOpener(fPreviousOpener);
        unsetenv("KORVANE_WEBLIB_URL");
    }
    void OpenAndSelectAll(const std::string& body) {
        Form->OpenDocumentFile(Dir.Write("plan.kdf", DrawingText(body)));
        Form->SymbolFile().Symbol().SelectAll();
        Form->UpdateButtons();
    }
    static std::string Pdf() { return "%PDF-1.4\n%%EOF\n"; }

    std::vector<std::string> Opened;
    TDocumentOpener fPreviousOpener;
};

TEST_F(DataSheetWindowTest, ShowDatasheetOpensEachSelectedComponentsSheetFromTheDrawingOrTheLocalFolder) {
    const std::string beside = Dir.Write("dv06.pdf", Pdf());
    const std::string local = GetDefaultDataSheetFolder() + "maker/Pump-12.PDF";
    fs::create_directories(fs::path(local).parent_path());
    std::ofstream(local, std::ios::binary) << Pdf();
    OpenAndSelectAll(ComponentWithDataSheet(1, 0, 0, "dv06.pdf") +
                     ComponentWithDataSheet(2, 300, 0, "pump-12") +
                     ComponentWithDataSheet(3, 600, 0, "nowhere"));
    ASSERT_TRUE(Form->ShowDataSheetAction->isEnabled());
    Form->ShowDataSheetAction->trigger();
    EXPECT_THAT(Opened, ElementsAre(beside, local));
    // "nowhere" is found in no folder, so the online library is asked; it cannot be reached, and
    // the user is told once.
    ASSERT_EQ(Boxes.Messages.size(), 1u);
    EXPECT_THAT(Boxes.Messages[0].Text, HasSubstr("Cannot access the online library"));
    Boxes.Messages.clear();
    Form->ShowDataSheetAction->trigger();
    EXPECT_THAT(Boxes.Messages, IsEmpty()) << "a failed connection is reported once per run";
}

TEST_F(DataSheetWindowTest, WithOnlineSearchOffNothingLeavesTheMachine) {
    Form->SearchDataSheetsOnlineAction->trigger();
    ASSERT_FALSE(Form->SearchDataSheetsOnline());
    OpenAndSelectAll(ComponentWithDataSheet(1, 0, 0, "nowhere"));
    Form->ShowDataSheetAction->trigger();
    EXPECT_THAT(Opened, IsEmpty());
    EXPECT_THAT(Boxes.Messages, IsEmpty());
    EXPECT_TRUE(Form->WebLibCommunicator().InternetAccess()) << "no request was tried";
}

TEST_F(DataSheetWindowTest, PathLocalDataSheetsTakesTheChosenFolder) {
    const std::string before = Form->DataSheetPath();
    EXPECT_EQ(before, Form->DefaultDataSheetPath());
    const std::string chosen = Dir.File("sheets/new");
    const auto answer = [&](bool ok) {
        QTimer::singleShot(0, [&, ok] {
            auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dlg, nullptr);
            EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Path local data sheets"));
            fs::create_directories(chosen);
            dlg->setDirectory(QString::fromStdString(chosen));
            if (ok)
                QMetaObject::invokeMethod(dlg, "accept");
            else
                dlg->reject();
        });
    };
    answer(false);
    Form->PathDataSheetsAction->trigger();
    EXPECT_EQ(Form->DataSheetPath(), before);
    answer(true);
    Form->PathDataSheetsAction->trigger();
    EXPECT_EQ(Form->DataSheetPath(), chosen + "/");
}

TEST_F(DataSheetWindowTest, ThePropertiesDialogShowsTheDatasheetOfItsRecord) {
    const std::string beside = Dir.Write("dv06.pdf", Pdf());
    OpenAndSelectAll(ComponentWithDataSheet(1, 0, 0, "dv06   "));
    QTimer::singleShot(0, [] {
        auto* dlg = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        auto* show = dlg->findChild<QPushButton*>(QStringLiteral("ButtonShowDataSheet"));
        ASSERT_NE(show, nullptr);
        EXPECT_TRUE(show->isEnabled());
        show->click();
        dlg->findChild<QPushButton*>(QStringLiteral("ButtonClose"))->click();
    });
    Form->PropertiesAction->trigger();
    EXPECT_THAT(Opened, ElementsAre(beside));
}

// The whole way to the maker's library: a real HTTPS server behind tinyproxy with credentials.
TEST(DataSheetWindowOnline, ShowDatasheetDownloadsFromTheLibraryThroughTheProxy) {
    using namespace testservers;
    TCertificates certs;
    THttpsServer library(certs.Cert, certs.Key);
    TTinyProxy proxy("fitter", "pass-w0rd");
    TProxyServerData d;
    d.UseProxy = true;
    d.Host = "127.0.0.1";
    d.Port = proxy.Port;
    d.UserName = "fitter";
    d.PassWord = "pass-w0rd";
    ASSERT_TRUE(SaveProxySettingsToFile(d));
    setenv("KORVANE_WEBLIB_URL", library.URL().c_str(), 1);
    setenv("KORVANE_CA_BUNDLE", certs.Ca.c_str(), 1);
    TRecordingMessageBoxes boxes;
    TScopedMessageBoxes useBoxes(boxes);
    std::vector<std::string> opened;
    const TDocumentOpener previous = SetDocumentOpener([&](const std::string& path) {
        opened.push_back(path);
        return true;
    });
    {
        TTempDir dir;
        TMainForm form;
        form.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
        QCoreApplication::processEvents();
        form.OpenDocumentFile(
            dir.Write("plan.kdf", DrawingText(ComponentWithDataSheet(1, 0, 0, "dv06-web"))));
        form.SymbolFile().Symbol().SelectAll();
        form.UpdateButtons();
        form.ShowDataSheetAction->trigger();
        EXPECT_THAT(opened, ElementsAre(GetDataSheetDownloadFolder() + "dv06-web.pdf"));
        EXPECT_THAT(boxes.Messages, IsEmpty());
        EXPECT_THAT(library.Log(), HasSubstr("\"path\": \"/datasheets/dv06-web/download\""));
    }
    SetDocumentOpener(previous);
    SaveProxySettingsToFile(TProxyServerData());
    unsetenv("KORVANE_WEBLIB_URL");
    unsetenv("KORVANE_CA_BUNDLE");
}

// ---------------------------------------------------------------------------------------------
// Settings

TEST_F(MainFormTest, FirstStartHasTheDefaultsAndEveryOptionSurvivesARestart) {
    EXPECT_TRUE(Form->BlackBackground());
    EXPECT_FALSE(Form->ReverseMouseWheel());
    EXPECT_TRUE(Form->SearchDataSheetsOnline());
    EXPECT_EQ(Form->MetricUnits(), QLocale::system().measurementSystem() != QLocale::ImperialUSSystem);
    EXPECT_EQ(Form->DataSheetPath(), Form->DefaultDataSheetPath());

    // The default datasheet folder is stored as empty.
    Form.reset();
    EXPECT_THAT(ReadWholeFile(GetIniFileName()), HasSubstr("DataSheetPath=\n"));

    Form = MakeForm();
    Form->OptionsBlackBackgroundAction->trigger();
    Form->OptionsReverseMouseWheelAction->trigger();
    Form->SearchDataSheetsOnlineAction->trigger();
    const bool metric = Form->MetricUnits();
    Form->ActionUnits->trigger();
    Form->OpenDocumentFile(Drawing("plan.kdf"));
    Form.reset();
    EXPECT_THAT(ReadWholeFile(GetIniFileName()),
                HasSubstr("[Main]\nBlackBackground=0\nReverseMouseWheel=1\nLastPath=" + Dir.Path().string() +
                          "\nSearchDataSheetsOnline=0\nUnits=" + (metric ? "0" : "1") +
                          "\nDataSheetPath=\n"));

    Form = MakeForm();
    EXPECT_FALSE(Form->BlackBackground());
    EXPECT_TRUE(Form->ReverseMouseWheel());
    EXPECT_FALSE(Form->SearchDataSheetsOnline());
    EXPECT_EQ(Form->MetricUnits(), !metric);
    EXPECT_EQ(Form->LastPath(), Dir.Path().string());
    EXPECT_FALSE(Form->OptionsBlackBackgroundAction->isChecked());
}

TEST_F(MainFormTest, AHandWrittenSettingsFileIsReadWhateverItsCase) {
    Form.reset();
    const std::string folder = Dir.File("sheets") + "/";
    fs::create_directories(folder);
    std::ofstream(GetIniFileName(), std::ios::binary)
        << "[MAIN]\r\nblackbackground=0\r\nREVERSEMOUSEWHEEL=-1\r\nunits=0\r\nSearchDataSheetsOnline=yes\r\n"
           "DataSheetPath="
        << folder << "\r\n";
    Form = MakeForm();
    EXPECT_FALSE(Form->BlackBackground());
    EXPECT_TRUE(Form->ReverseMouseWheel());
    EXPECT_FALSE(Form->MetricUnits());
    EXPECT_TRUE(Form->SearchDataSheetsOnline()) << "not a number: the default";
    EXPECT_EQ(Form->DataSheetPath(), folder);
    Form.reset();
    // Written back in the file's own line ends, the folder as it was chosen.
    EXPECT_THAT(ReadWholeFile(GetIniFileName()), HasSubstr("DataSheetPath=" + folder + "\r\n"));
}

// ---------------------------------------------------------------------------------------------
// Window positions

class WindowPositionTest : public ::testing::Test {
protected:
    // The window as a start makes it, before anything else moves it.
    static QRect Restored(const std::string& stored) {
        if (!stored.empty()) std::ofstream(GetWindowPosIniFileName(), std::ios::binary) << stored;
        TMainForm form;
        return QRect(form.pos(), form.size());
    }
    static QRect NearlyFullScreen() {
        const QRect s = QGuiApplication::primaryScreen()->geometry();
        return {s.left() + 20, s.top() + 20, s.width() - 40, s.height() - 70};
    }
};

TEST_F(WindowPositionTest, WindowsComeBackWhereTheyWereOrNearlyFullScreen) {
    fs::create_directories(fs::path(GetWindowPosIniFileName()).parent_path());
    const struct {
        const char* What;
        std::string Stored;
        QRect Expected;
    } cases[] = {
        {"no file", "", NearlyFullScreen()},
        {"where it was", "[MainForm]\nState=0\nHeight=300\nLeft=40\nTop=50\nWidth=400\n", {40, 50, 400, 300}},
        {"minimised comes back normal",
         "[mainform]\nSTATE=1\nheight=300\nLeft=40\nTop=50\nWidth=400\n",
         {40, 50, 400, 300}},
        {"on a monitor no longer there", "[MainForm]\nState=0\nHeight=300\nLeft=5000\nTop=50\nWidth=400\n",
         NearlyFullScreen()},
        {"hardly on the screen", "[MainForm]\nState=0\nHeight=300\nLeft=-350\nTop=50\nWidth=400\n",
         NearlyFullScreen()},
        {"nothing stored", "[Other]\nState=0\n", NearlyFullScreen()},
    };
    for (const auto& c : cases) {
        fs::remove(GetWindowPosIniFileName());
        EXPECT_EQ(Restored(c.Stored), c.Expected) << c.What;
    }
    std::ofstream(GetWindowPosIniFileName(), std::ios::binary)
        << "[MainForm]\nState=2\nHeight=300\nLeft=40\nTop=50\nWidth=400\n";
    TMainForm maximised;
    EXPECT_TRUE(maximised.windowState() & Qt::WindowMaximized);
}

// Dialogs keep their designed place until the user moves one; from then on it comes back there,
// in its own section beside the main window's.
TEST_F(WindowPositionTest, DialogsComeBackWhereTheUserLeftThem) {
    QSize designed;
    {
        TProxyServerSettingsDlg dialog(nullptr);
        designed = dialog.size();
        EXPECT_NE(QRect(dialog.pos(), dialog.size()), NearlyFullScreen());
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        dialog.move(150, 120);
        dialog.resize(designed + QSize(40, 30));
    }
    EXPECT_THAT(
        ReadWholeFile(GetWindowPosIniFileName()),
        HasSubstr("[ProxyServerSettingsDlg]\nState=0\nHeight=" + std::to_string(designed.height() + 30) +
                  "\nLeft=150\nTop=120\nWidth=" + std::to_string(designed.width() + 40) + "\n"));
    TProxyServerSettingsDlg again(nullptr);
    EXPECT_EQ(QRect(again.pos(), again.size()), QRect(QPoint(150, 120), designed + QSize(40, 30)));
    // The main window's place is its own.
    EXPECT_EQ(Restored(""), NearlyFullScreen());
}

TEST_F(WindowPositionTest, WhereTheUserLeftTheWindowIsStoredAtTheEnd) {
    {
        TMainForm form;
        form.move(60, 70);
        form.resize(500, 400);
    }
    std::ifstream in(GetWindowPosIniFileName(), std::ios::binary);
    const std::string text(std::istreambuf_iterator<char>(in), {});
    EXPECT_THAT(text, HasSubstr("[MainForm]\nState=0\nHeight=400\nLeft=60\nTop=70\nWidth=500\n"));
    EXPECT_EQ(Restored(""), QRect(60, 70, 500, 400));
}

} // namespace
