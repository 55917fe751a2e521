// The viewer in a real X window (Xvfb): driven with xdotool, checked on screenshots of the screen.
// Without a display every test is skipped (exit status 77).
#include "shell/MainForm.h"

#include "TestObjects.h"
#include "platform/MessageBox.h"
#include "support/PrivateHome.h"
#include "support/TempFiles.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QTest>
#include <QTimer>

namespace fs = std::filesystem;

namespace {

QRgb ToQRgb(TColor c) {
    return qRgb(ColorRed(c), ColorGreen(c), ColorBlue(c));
}

// Runs a tool while this process keeps its own window alive; its standard output.
QByteArray RunTool(const QString& program, const QStringList& arguments, int timeoutMs = 15000) {
    QProcess p;
    p.start(program, arguments);
    QDeadlineTimer deadline(timeoutMs);
    while (p.state() != QProcess::NotRunning && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        p.waitForFinished(10);
    }
    if (p.state() != QProcess::NotRunning) {
        p.kill();
        p.waitForFinished();
        ADD_FAILURE() << program.toStdString() << " did not finish";
    }
    QByteArray out = p.readAllStandardOutput();
    // Let the window handle what the tool sent it.
    for (int i = 0; i < 10; ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return out;
}

QImage Screenshot() {
    QImage shot =
        QImage::fromData(RunTool(QStringLiteral("/usr/bin/import"), {"-window", "root", "png:-"}), "PNG");
    EXPECT_FALSE(shot.isNull());
    return shot.convertToFormat(QImage::Format_RGB32);
}

void Xdo(const QStringList& arguments) {
    RunTool(QStringLiteral("xdotool"), arguments);
}

QRgb Pixel(const QImage& shot, QPoint p) {
    return shot.pixel(p) | 0xFF000000u;
}

bool SamePixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (Pixel(a, {x, y}) != Pixel(b, {x, y})) return false;
    return true;
}

// Whether Needle occurs in Hay with its top left inside Area.
bool Contains(const QImage& hay, const QImage& needle, const QRect& area) {
    for (int y = area.top(); y <= area.bottom() && y + needle.height() <= hay.height(); ++y)
        for (int x = area.left(); x <= area.right() && x + needle.width() <= hay.width(); ++x) {
            bool same = true;
            for (int j = 0; j < needle.height() && same; ++j)
                for (int i = 0; i < needle.width() && same; ++i)
                    same = Pixel(hay, {x + i, y + j}) == Pixel(needle, {i, j});
            if (same) return true;
        }
    return false;
}

// The status-bar text as this Qt draws it: the rows and columns of a label that differ from
// its background.
QImage TextPicture(const QString& text) {
    QLabel label(text);
    label.adjustSize();
    QImage img = label.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb back = Pixel(img, {0, 0});
    QRect ink;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (Pixel(img, {x, y}) != back) ink |= QRect(x, y, 1, 1);
    return img.copy(ink);
}

TEST(ViewerWindow, StartsOnASampleShowingTheDrawingAndItsName) {
    TTempDir dir;
    const std::string sample = fs::canonical(KORVANE_SAMPLES "/pump-unit.kdf").string();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // A private hand-off channel and private folders: this viewer must start its own window.
    for (const char* var : {"XDG_RUNTIME_DIR", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "TMPDIR"}) {
        fs::create_directories(dir.File(var));
        fs::permissions(dir.File(var), fs::perms::owner_all, fs::perm_options::replace);
        env.insert(QString::fromLatin1(var), QString::fromStdString(dir.File(var)));
    }
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("QT_SCALE_FACTOR"));
    QProcess viewer;
    viewer.setProcessEnvironment(env);
    viewer.start(QStringLiteral(KORVANE_VIEWER), {QString::fromStdString(sample)});
    ASSERT_TRUE(viewer.waitForStarted());

    // The first start asks for the language before the window opens: English, German, French.
    QByteArray window;
    QDeadlineTimer deadline(15000);
    while (window.isEmpty() && !deadline.hasExpired()) {
        window =
            RunTool(QStringLiteral("xdotool"), {"search", "--onlyvisible", "--name", "^Select language:$"})
                .trimmed();
        if (window.isEmpty()) QTest::qWait(100);
    }
    ASSERT_FALSE(window.isEmpty()) << "no language dialog appeared";
    Xdo({"windowactivate", "--sync", QString::fromLatin1(window.split('\n')[0])});
    Xdo({"key", "--clearmodifiers", "Down", "Return"});
    window.clear();
    while (window.isEmpty() && !deadline.hasExpired()) {
        window = RunTool(QStringLiteral("xdotool"), {"search", "--onlyvisible", "--name", "KorvaneViewer$"})
                     .trimmed();
        if (window.isEmpty()) QTest::qWait(100);
    }
    ASSERT_FALSE(window.isEmpty()) << "no viewer window appeared";
    QTest::qWait(1000); // the first activation opens the file and paints
    // The title names the file shown, then the program.
    EXPECT_EQ(
        RunTool(QStringLiteral("xdotool"), {"getwindowname", window.split('\n')[0]}).trimmed().toStdString(),
        fs::path(sample).filename().string() + " - KorvaneViewer");
    const QString geometry = QString::fromLatin1(
        RunTool(QStringLiteral("xdotool"), {"getwindowgeometry", "--shell", window.split('\n')[0]}));
    const auto value = [&](const char* key) {
        for (const QString& line : geometry.split(QLatin1Char('\n')))
            if (line.startsWith(QLatin1String(key) + QLatin1Char('=')))
                return line.section(QLatin1Char('='), 1).toInt();
        return -1;
    };
    const QRect frame(value("X"), value("Y"), value("WIDTH"), value("HEIGHT"));
    ASSERT_GT(frame.width(), 200);
    const QImage shot = Screenshot();
    viewer.terminate();
    viewer.waitForFinished(5000);
    // German was chosen and stays chosen after the window stored its settings.
    const std::string settings =
        ReadWholeFile(dir.File("XDG_CONFIG_HOME") + "/QUAV/KorvaneViewer/Ini/korvane-viewer.ini");
    EXPECT_NE(settings.find("Language=de\n"), std::string::npos) << settings;
    EXPECT_NE(settings.find("BlackBackground="), std::string::npos) << settings;

    // The drawing area: its 4-pixel border in the background colour runs down the window's left
    // edge from below the tool bar to above the status bar; the drawing itself lies inside.
    const int midY = frame.center().y(), borderX = frame.left() + 2;
    const QRgb background = ToQRgb(SymbolCanvasColorsBlack().DrawColors[dcBackground]);
    int top = midY, bottom = midY;
    while (top > frame.top() && Pixel(shot, {borderX, top - 1}) == background)
        --top;
    while (bottom < frame.bottom() && Pixel(shot, {borderX, bottom + 1}) == background)
        ++bottom;
    EXPECT_GT(top, frame.top() + 20) << "tool bar above the drawing";
    EXPECT_LT(bottom, frame.bottom() - 10) << "status bar below the drawing";
    EXPECT_GT(bottom - top, frame.height() * 2 / 3);
    // What the drawing area shows is what --render draws at its size (inside the 4-pixel border
    // and the panel's line).
    const QRect area(frame.left() + 5, top + 5, frame.width() - 10, bottom - top + 1 - 10);
    const std::string png = dir.File("render.png");
    QProcess render;
    render.setProcessEnvironment(env);
    render.start(QStringLiteral(KORVANE_VIEWER),
                 {"--render", QString::fromStdString(png), "--size",
                  QStringLiteral("%1x%2").arg(area.width()).arg(area.height()),
                  QString::fromStdString(sample)});
    ASSERT_TRUE(render.waitForFinished(15000));
    ASSERT_EQ(render.exitCode(), 0);
    EXPECT_TRUE(SamePixels(shot.copy(area), QImage(QString::fromStdString(png))));

    // The status bar, below the drawing area, shows the file's path.
    const QImage name = TextPicture(QString::fromStdString(sample));
    EXPECT_TRUE(Contains(shot, name, QRect(frame.left(), bottom, 12, frame.bottom() - bottom)))
        << "the file name is not in the status bar";
}

// The walk through the view, on a drawing of several components: wheel zoom on a valve,
// pan, click, Escape, background, draw mode, Home.
class ViewerWalk : public ::testing::Test {
protected:
    void SetUp() override {
        std::string body;
        body += ComponentText(1, 200, 200, "PUMP");
        body += ComponentText(2, 600, 200, "RELIEF-VALVE");
        body += ComponentText(3, 1000, 200, "DIRECTIONAL-VALVE");
        body += ComponentText(4, 600, 600, "HIDDEN", true);
        File = Dir.Write("valves.kdf", DrawingText(body));
        Form = std::make_unique<TMainForm>();
        Form->setGeometry(0, 0, 900, 700);
        Form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
        Form->activateWindow();
        QTest::qWait(200);
        Form->OpenDocumentFile(File);
        ASSERT_EQ(Form->FileName(), File);
        // Until every shape draws, the components get outlines here.
        AddOutlineBoxes(Form->SymbolFile(), 60);
        Form->ZoomAll();
        QTest::qWait(200);
    }
    // A drawing point in screen coordinates, and its colour on the screen.
    QPoint OnScreen(TPoint p) {
        const TPoint d = Form->SymbolCanvas().ToPt(p);
        const double r = Form->PaintBox()->devicePixelRatioF();
        return Form->PaintBox()->mapToGlobal(QPoint(qRound(d.X / r), qRound(d.Y / r)));
    }
    QRgb ScreenColour(const QImage& shot, TPoint p) { return Pixel(shot, OnScreen(p)); }
    void MoveTo(QPoint p) { Xdo({"mousemove", QString::number(p.x()), QString::number(p.y())}); }

    TTempDir Dir;
    TRecordingMessageBoxes Boxes;
    TScopedMessageBoxes UseBoxes{Boxes};
    std::string File;
    std::unique_ptr<TMainForm> Form;
};

TEST_F(ViewerWalk, ZoomPanSelectAndSwitchOptionsOnTheScreen) {
    const TSymbolCanvasColorData& blackScheme = SymbolCanvasColorsBlack();
    const QRgb background = ToQRgb(blackScheme.DrawColors[dcBackground]);
    const QRgb normal = ToQRgb(blackScheme.LineTypeColors[symlinetypeSymbol]);
    const QRgb highlight = ToQRgb(blackScheme.DrawColors[dcHighlight]);
    const TPoint valve(600, 200), valveEdge(655, 200), beside(600, 300);
    const QImage start = Screenshot();
    EXPECT_EQ(ScreenColour(start, valve), normal);
    EXPECT_EQ(ScreenColour(start, beside), background);

    // Wheel towards the user over the valve: one step in per event, the valve stays put.
    TSymbolCanvas& canvas = Form->SymbolCanvas();
    const double fit = canvas.fZoom;
    const QPoint valveAt = OnScreen(valve);
    MoveTo(valveAt);
    Xdo({"click", "5"});
    Xdo({"click", "5"});
    EXPECT_DOUBLE_EQ(canvas.fZoom, fit * 1.5 * 1.5);
    EXPECT_LE((OnScreen(valve) - valveAt).manhattanLength(), 2);
    QImage shot = Screenshot();
    EXPECT_EQ(ScreenColour(shot, valve), normal);
    // The valve's edge moved outwards with the zoom.
    EXPECT_GT(OnScreen(valveEdge).x() - valveAt.x(), (OnScreen(valveEdge).x() - valveAt.x()) / 2.25 + 10);

    // Pan with the middle button: the valve follows the mouse.
    Xdo({"mousedown", "2"});
    for (int step = 1; step <= 4; ++step)
        MoveTo(valveAt + QPoint(-20 * step, 10 * step));
    Xdo({"mouseup", "2"});
    EXPECT_LE((OnScreen(valve) - (valveAt + QPoint(-80, 40))).manhattanLength(), 2);
    shot = Screenshot();
    EXPECT_EQ(ScreenColour(shot, valve), normal);

    // Click the valve: it turns to the highlight colour and its actions are enabled.
    MoveTo(OnScreen(valve));
    Xdo({"click", "1"});
    shot = Screenshot();
    EXPECT_EQ(ScreenColour(shot, valve), highlight);
    int selectedComponents = 0;
    for (const auto& object : Form->SymbolFile().Symbol().fSymbolObjectList)
        selectedComponents += object->fSelected;
    EXPECT_EQ(selectedComponents, 1) << "only the valve is selected";
    // Its properties and its datasheet can be asked for.
    EXPECT_TRUE(Form->PropertiesAction->isVisible() && Form->PropertiesAction->isEnabled());
    EXPECT_TRUE(Form->ShowDataSheetAction->isVisible() && Form->ShowDataSheetAction->isEnabled());

    // Escape clears it.
    Xdo({"key", "Escape"});
    shot = Screenshot();
    EXPECT_EQ(ScreenColour(shot, valve), normal);
    EXPECT_FALSE(Form->SymbolFile().Symbol().fSymbolObjectList.HasSelection());

    // The context menu switches to the white background.
    MoveTo(OnScreen(beside));
    Xdo({"click", "3"});
    Xdo({"key", "Down", "Return"});
    ASSERT_FALSE(Form->BlackBackground());
    const TSymbolCanvasColorData& whiteScheme = SymbolCanvasColorsWhite();
    shot = Screenshot();
    EXPECT_EQ(ScreenColour(shot, beside), ToQRgb(whiteScheme.DrawColors[dcBackground]));
    EXPECT_EQ(ScreenColour(shot, valve), ToQRgb(whiteScheme.LineTypeColors[symlinetypeSymbol]));

    // The draw mode from the Options menu, four times round to where it began.
    const QImage beforeModes = Screenshot();
    for (int i = 0; i < 4; ++i) {
        QMenu* options = nullptr;
        for (QAction* a : Form->menuBar()->actions())
            if (a->text() == QStringLiteral("Options")) options = a->menu();
        ASSERT_NE(options, nullptr);
        const QRect title = Form->menuBar()->actionGeometry(options->menuAction());
        MoveTo(Form->menuBar()->mapToGlobal(title.center()));
        Xdo({"click", "1"});
        ASSERT_TRUE(options->isVisible());
        MoveTo(options->mapToGlobal(options->actionGeometry(Form->ActionDrawMode).center()));
        Xdo({"click", "1"});
    }
    EXPECT_EQ(Form->ActionDrawMode->text(), QStringLiteral("Draw Main groups"));
    EXPECT_TRUE(SamePixels(Screenshot(), beforeModes));

    // Home: back to the whole drawing, as it was shown after opening (now on white).
    MoveTo(OnScreen(beside));
    Xdo({"key", "Home"});
    EXPECT_DOUBLE_EQ(canvas.fZoom, fit);
    shot = Screenshot();
    EXPECT_EQ(Pixel(shot, valveAt), ToQRgb(whiteScheme.LineTypeColors[symlinetypeSymbol]));
    EXPECT_EQ(Pixel(shot, OnScreen({1000, 200})), ToQRgb(whiteScheme.LineTypeColors[symlinetypeSymbol]));
    EXPECT_TRUE(Boxes.Messages.empty());
}

// The three-sheet sample in the window: Page Down steps to a sheet, which shows as --render
// draws that sheet alone; the tool-bar list goes back to all sheets.
TEST(ViewerWindow, PageDownShowsOneSheetAsTheCommandLineDrawsIt) {
    TTempDir dir;
    TRecordingMessageBoxes boxes;
    TScopedMessageBoxes useBoxes{boxes};
    TMainForm form;
    form.setGeometry(0, 0, 900, 700);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    form.activateWindow();
    QTest::qWait(200);
    form.OpenDocumentFile(KORVANE_SAMPLES "/multi-sheet.kdf");
    QTest::qWait(200);
    QWidget* box = form.PaintBox();
    const QPoint inside = box->mapToGlobal(box->rect().center());
    Xdo({"mousemove", QString::number(inside.x()), QString::number(inside.y())});
    Xdo({"key", "Next", "Next"});
    QTest::qWait(200);
    QComboBox* list = form.findChild<QComboBox*>(QStringLiteral("ComboBoxSheets"));
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->currentText(), QStringLiteral("Sheet 2 - A4 (297 x 210) Scale 0.5"));

    const QImage shot = Screenshot();
    const QRect area(box->mapToGlobal(QPoint(0, 0)), box->size());
    const std::string png = dir.File("sheet2.png");
    QProcess render;
    render.start(QStringLiteral(KORVANE_VIEWER),
                 {"--render", QString::fromStdString(png), "--size",
                  QStringLiteral("%1x%2").arg(area.width()).arg(area.height()), "--sheet", "2",
                  QStringLiteral(KORVANE_SAMPLES "/multi-sheet.kdf")});
    ASSERT_TRUE(render.waitForFinished(15000));
    ASSERT_EQ(render.exitCode(), 0);
    EXPECT_TRUE(SamePixels(shot.copy(area), QImage(QString::fromStdString(png))));

    // Back to all sheets through the list: open it, go to its first entry, take it.
    const QPoint listAt = list->mapToGlobal(list->rect().center());
    Xdo({"mousemove", QString::number(listAt.x()), QString::number(listAt.y())});
    Xdo({"click", "1"});
    QTest::qWait(200);
    Xdo({"key", "Home", "Return"});
    QTest::qWait(200);
    EXPECT_EQ(list->currentIndex(), 0);
    for (const auto& o : form.SymbolFile().Symbol().fSymbolObjectList)
        EXPECT_FALSE(o->IsHidden()) << o->fHandle;
    EXPECT_TRUE(boxes.Messages.empty());
}

// The configurable valve of the annotated sample: clicked, Alt+Enter, and its dialog shows on the
// screen the ordering code that --dump gives.
TEST(ViewerWindow, AltEnterShowsTheConfigurableValvesOrderingCode) {
    TRecordingMessageBoxes boxes;
    TScopedMessageBoxes useBoxes{boxes};
    TMainForm form;
    form.setGeometry(0, 0, 900, 700);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    form.activateWindow();
    QTest::qWait(200);
    form.OpenDocumentFile(KORVANE_SAMPLES "/annotated-circuit.kdf");
    QTest::qWait(200);
    // The left edge of the valve's body.
    const TPoint d = form.SymbolCanvas().ToPt(TPoint(100, 440));
    const double r = form.PaintBox()->devicePixelRatioF();
    const QPoint valve = form.PaintBox()->mapToGlobal(QPoint(qRound(d.X / r), qRound(d.Y / r)));
    Xdo({"mousemove", QString::number(valve.x()), QString::number(valve.y())});
    Xdo({"click", "1"});
    ASSERT_TRUE(form.PropertiesAction->isEnabled());

    QString code, title;
    bool codeOnScreen = false;
    // The dialog runs its own loop: it is read, photographed and closed from inside it.
    QTimer::singleShot(700, [&] {
        QWidget* dlg = QApplication::activeModalWidget();
        if (!dlg) return;
        title = dlg->windowTitle();
        auto* edit = dlg->findChild<QLineEdit*>(QStringLiteral("EditOrderingCode"));
        code = edit->text();
        const QImage shot = Screenshot();
        // Inside the frame: the grab leaves the frame's rounded corners transparent.
        const QRect inner = edit->rect().adjusted(2, 2, -2, -2);
        const QImage drawn = edit->grab(inner).toImage().convertToFormat(QImage::Format_RGB32);
        codeOnScreen = SamePixels(shot.copy(QRect(edit->mapToGlobal(inner.topLeft()), drawn.size())), drawn);
        Xdo({"key", "Escape"});
    });
    Xdo({"key", "alt+Return"});
    QTest::qWait(300);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the dialog did not close";
    EXPECT_EQ(code, QStringLiteral("DV06-43C-24DC"));
    EXPECT_TRUE(codeOnScreen) << "the ordering code is not on the screen as the dialog draws it";
    EXPECT_EQ(title, QStringLiteral("Component Properties"));

    QProcess dump;
    dump.start(QStringLiteral(KORVANE_VIEWER),
               {"--dump", QStringLiteral(KORVANE_SAMPLES "/annotated-circuit.kdf")});
    ASSERT_TRUE(dump.waitForFinished(15000));
    EXPECT_TRUE(dump.readAllStandardOutput().contains("\"OrderingCode\": \"DV06-43C-24DC\""));
    EXPECT_TRUE(boxes.Messages.empty());
}

} // namespace

int main(int Argc, char** Argv) {
    if (!getenv("DISPLAY") || !*getenv("DISPLAY")) {
        std::printf("No X display: the real-window tests are skipped.\n");
        return 77;
    }
    UsePrivateHomeFolders();
    // A real window: whatever platform the other tests use does not apply here.
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    unsetenv("QT_SCALE_FACTOR");
    QApplication app(Argc, Argv);
    ::testing::InitGoogleTest(&Argc, Argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new TFreshSettingsEachTest);
    return RUN_ALL_TESTS();
}
