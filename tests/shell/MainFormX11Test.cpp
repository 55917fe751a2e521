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
#include <QDeadlineTimer>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QTest>

namespace fs = std::filesystem;

namespace {

QRgb ToQRgb(TColor C) {
    return qRgb(ColorRed(C), ColorGreen(C), ColorBlue(C));
}

// Runs a tool while this process keeps its own window alive; its standard output.
QByteArray RunTool(const QString& Program, const QStringList& Arguments, int TimeoutMs = 15000) {
    QProcess P;
    P.start(Program, Arguments);
    QDeadlineTimer Deadline(TimeoutMs);
    while (P.state() != QProcess::NotRunning && !Deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        P.waitForFinished(10);
    }
    if (P.state() != QProcess::NotRunning) {
        P.kill();
        P.waitForFinished();
        ADD_FAILURE() << Program.toStdString() << " did not finish";
    }
    QByteArray Out = P.readAllStandardOutput();
    // Let the window handle what the tool sent it.
    for (int I = 0; I < 10; ++I)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return Out;
}

QImage Screenshot() {
    QImage Shot =
        QImage::fromData(RunTool(QStringLiteral("/usr/bin/import"), {"-window", "root", "png:-"}), "PNG");
    EXPECT_FALSE(Shot.isNull());
    return Shot.convertToFormat(QImage::Format_RGB32);
}

void Xdo(const QStringList& Arguments) {
    RunTool(QStringLiteral("xdotool"), Arguments);
}

QRgb Pixel(const QImage& Shot, QPoint P) {
    return Shot.pixel(P) | 0xFF000000u;
}

bool SamePixels(const QImage& A, const QImage& B) {
    if (A.size() != B.size()) return false;
    for (int Y = 0; Y < A.height(); ++Y)
        for (int X = 0; X < A.width(); ++X)
            if (Pixel(A, {X, Y}) != Pixel(B, {X, Y})) return false;
    return true;
}

// Whether Needle occurs in Hay with its top left inside Area.
bool Contains(const QImage& Hay, const QImage& Needle, const QRect& Area) {
    for (int Y = Area.top(); Y <= Area.bottom() && Y + Needle.height() <= Hay.height(); ++Y)
        for (int X = Area.left(); X <= Area.right() && X + Needle.width() <= Hay.width(); ++X) {
            bool Same = true;
            for (int J = 0; J < Needle.height() && Same; ++J)
                for (int I = 0; I < Needle.width() && Same; ++I)
                    Same = Pixel(Hay, {X + I, Y + J}) == Pixel(Needle, {I, J});
            if (Same) return true;
        }
    return false;
}

// The status-bar text as this Qt draws it: the rows and columns of a label that differ from
// its background.
QImage TextPicture(const QString& Text) {
    QLabel Label(Text);
    Label.adjustSize();
    QImage Img = Label.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QRgb Back = Pixel(Img, {0, 0});
    QRect Ink;
    for (int Y = 0; Y < Img.height(); ++Y)
        for (int X = 0; X < Img.width(); ++X)
            if (Pixel(Img, {X, Y}) != Back) Ink |= QRect(X, Y, 1, 1);
    return Img.copy(Ink);
}

TEST(ViewerWindow, StartsOnASampleShowingTheDrawingAndItsName) {
    TTempDir Dir;
    const std::string Sample = fs::canonical(KORVANE_SAMPLES "/pump-unit.kdf").string();
    QProcessEnvironment Env = QProcessEnvironment::systemEnvironment();
    // A private hand-off channel and private folders: this viewer must start its own window.
    for (const char* Var : {"XDG_RUNTIME_DIR", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "TMPDIR"}) {
        fs::create_directories(Dir.File(Var));
        fs::permissions(Dir.File(Var), fs::perms::owner_all, fs::perm_options::replace);
        Env.insert(QString::fromLatin1(Var), QString::fromStdString(Dir.File(Var)));
    }
    Env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    Env.remove(QStringLiteral("QT_SCALE_FACTOR"));
    QProcess Viewer;
    Viewer.setProcessEnvironment(Env);
    Viewer.start(QStringLiteral(KORVANE_VIEWER), {QString::fromStdString(Sample)});
    ASSERT_TRUE(Viewer.waitForStarted());

    QByteArray Window;
    QDeadlineTimer Deadline(15000);
    while (Window.isEmpty() && !Deadline.hasExpired()) {
        Window = RunTool(QStringLiteral("xdotool"), {"search", "--onlyvisible", "--name", "^KorvaneViewer$"})
                     .trimmed();
        if (Window.isEmpty()) QTest::qWait(100);
    }
    ASSERT_FALSE(Window.isEmpty()) << "no viewer window appeared";
    QTest::qWait(1000); // the first activation opens the file and paints
    const QString Geometry = QString::fromLatin1(
        RunTool(QStringLiteral("xdotool"), {"getwindowgeometry", "--shell", Window.split('\n')[0]}));
    const auto Value = [&](const char* Key) {
        for (const QString& Line : Geometry.split(QLatin1Char('\n')))
            if (Line.startsWith(QLatin1String(Key) + QLatin1Char('=')))
                return Line.section(QLatin1Char('='), 1).toInt();
        return -1;
    };
    const QRect Frame(Value("X"), Value("Y"), Value("WIDTH"), Value("HEIGHT"));
    ASSERT_GT(Frame.width(), 200);
    const QImage Shot = Screenshot();
    Viewer.terminate();
    Viewer.waitForFinished(5000);

    // The drawing area: its 4-pixel border in the background colour runs down the window's left
    // edge from below the tool bar to above the status bar; the drawing itself lies inside.
    const int MidY = Frame.center().y(), BorderX = Frame.left() + 2;
    const QRgb Background = ToQRgb(SymbolCanvasColorsBlack().DrawColors[dcBackground]);
    int Top = MidY, Bottom = MidY;
    while (Top > Frame.top() && Pixel(Shot, {BorderX, Top - 1}) == Background)
        --Top;
    while (Bottom < Frame.bottom() && Pixel(Shot, {BorderX, Bottom + 1}) == Background)
        ++Bottom;
    EXPECT_GT(Top, Frame.top() + 20) << "tool bar above the drawing";
    EXPECT_LT(Bottom, Frame.bottom() - 10) << "status bar below the drawing";
    EXPECT_GT(Bottom - Top, Frame.height() * 2 / 3);
    // What the drawing area shows is what --render draws at its size (inside the 4-pixel border
    // and the panel's line).
    const QRect Area(Frame.left() + 5, Top + 5, Frame.width() - 10, Bottom - Top + 1 - 10);
    const std::string Png = Dir.File("render.png");
    QProcess Render;
    Render.setProcessEnvironment(Env);
    Render.start(QStringLiteral(KORVANE_VIEWER),
                 {"--render", QString::fromStdString(Png), "--size",
                  QStringLiteral("%1x%2").arg(Area.width()).arg(Area.height()),
                  QString::fromStdString(Sample)});
    ASSERT_TRUE(Render.waitForFinished(15000));
    ASSERT_EQ(Render.exitCode(), 0);
    EXPECT_TRUE(SamePixels(Shot.copy(Area), QImage(QString::fromStdString(Png))));

    // The status bar, below the drawing area, shows the file's path.
    const QImage Name = TextPicture(QString::fromStdString(Sample));
    EXPECT_TRUE(Contains(Shot, Name, QRect(Frame.left(), Bottom, 12, Frame.bottom() - Bottom)))
        << "the file name is not in the status bar";
}

// The walk through the view, on a drawing of several components: wheel zoom on a valve,
// pan, click, Escape, background, draw mode, Home.
class ViewerWalk : public ::testing::Test {
protected:
    void SetUp() override {
        std::string Body;
        Body += ComponentText(1, 200, 200, "PUMP");
        Body += ComponentText(2, 600, 200, "RELIEF-VALVE");
        Body += ComponentText(3, 1000, 200, "DIRECTIONAL-VALVE");
        Body += ComponentText(4, 600, 600, "HIDDEN", true);
        File = Dir.Write("valves.kdf", DrawingText(Body));
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
    QPoint OnScreen(TPoint P) {
        const TPoint D = Form->SymbolCanvas().ToPt(P);
        const double R = Form->PaintBox()->devicePixelRatioF();
        return Form->PaintBox()->mapToGlobal(QPoint(qRound(D.X / R), qRound(D.Y / R)));
    }
    QRgb ScreenColour(const QImage& Shot, TPoint P) { return Pixel(Shot, OnScreen(P)); }
    void MoveTo(QPoint P) { Xdo({"mousemove", QString::number(P.x()), QString::number(P.y())}); }

    TTempDir Dir;
    TRecordingMessageBoxes Boxes;
    TScopedMessageBoxes UseBoxes{Boxes};
    std::string File;
    std::unique_ptr<TMainForm> Form;
};

TEST_F(ViewerWalk, ZoomPanSelectAndSwitchOptionsOnTheScreen) {
    const TSymbolCanvasColorData& BlackScheme = SymbolCanvasColorsBlack();
    const QRgb Background = ToQRgb(BlackScheme.DrawColors[dcBackground]);
    const QRgb Normal = ToQRgb(BlackScheme.LineTypeColors[symlinetypeSymbol]);
    const QRgb Highlight = ToQRgb(BlackScheme.DrawColors[dcHighlight]);
    const TPoint Valve(600, 200), ValveEdge(655, 200), Beside(600, 300);
    const QImage Start = Screenshot();
    EXPECT_EQ(ScreenColour(Start, Valve), Normal);
    EXPECT_EQ(ScreenColour(Start, Beside), Background);

    // Wheel towards the user over the valve: one step in per event, the valve stays put.
    TSymbolCanvas& Canvas = Form->SymbolCanvas();
    const double Fit = Canvas.fZoom;
    const QPoint ValveAt = OnScreen(Valve);
    MoveTo(ValveAt);
    Xdo({"click", "5"});
    Xdo({"click", "5"});
    EXPECT_DOUBLE_EQ(Canvas.fZoom, Fit * 1.5 * 1.5);
    EXPECT_LE((OnScreen(Valve) - ValveAt).manhattanLength(), 2);
    QImage Shot = Screenshot();
    EXPECT_EQ(ScreenColour(Shot, Valve), Normal);
    // The valve's edge moved outwards with the zoom.
    EXPECT_GT(OnScreen(ValveEdge).x() - ValveAt.x(), (OnScreen(ValveEdge).x() - ValveAt.x()) / 2.25 + 10);

    // Pan with the middle button: the valve follows the mouse.
    Xdo({"mousedown", "2"});
    for (int Step = 1; Step <= 4; ++Step)
        MoveTo(ValveAt + QPoint(-20 * Step, 10 * Step));
    Xdo({"mouseup", "2"});
    EXPECT_LE((OnScreen(Valve) - (ValveAt + QPoint(-80, 40))).manhattanLength(), 2);
    Shot = Screenshot();
    EXPECT_EQ(ScreenColour(Shot, Valve), Normal);

    // Click the valve: it turns to the highlight colour and its actions are enabled.
    MoveTo(OnScreen(Valve));
    Xdo({"click", "1"});
    Shot = Screenshot();
    EXPECT_EQ(ScreenColour(Shot, Valve), Highlight);
    int SelectedComponents = 0;
    for (const auto& Object : Form->SymbolFile().Symbol().fSymbolObjectList)
        SelectedComponents += Object->fSelected;
    EXPECT_EQ(SelectedComponents, 1) << "only the valve is selected";
    EXPECT_TRUE(Form->PropertiesAction->isEnabled());
    EXPECT_TRUE(Form->ShowDataSheetAction->isEnabled());

    // Escape clears it.
    Xdo({"key", "Escape"});
    Shot = Screenshot();
    EXPECT_EQ(ScreenColour(Shot, Valve), Normal);
    EXPECT_FALSE(Form->PropertiesAction->isEnabled());

    // The context menu switches to the white background.
    MoveTo(OnScreen(Beside));
    Xdo({"click", "3"});
    Xdo({"key", "Down", "Return"});
    ASSERT_FALSE(Form->BlackBackground());
    const TSymbolCanvasColorData& WhiteScheme = SymbolCanvasColorsWhite();
    Shot = Screenshot();
    EXPECT_EQ(ScreenColour(Shot, Beside), ToQRgb(WhiteScheme.DrawColors[dcBackground]));
    EXPECT_EQ(ScreenColour(Shot, Valve), ToQRgb(WhiteScheme.LineTypeColors[symlinetypeSymbol]));

    // The draw mode from the Options menu, four times round to where it began.
    const QImage BeforeModes = Screenshot();
    for (int I = 0; I < 4; ++I) {
        QMenu* Options = nullptr;
        for (QAction* A : Form->menuBar()->actions())
            if (A->text() == QStringLiteral("Options")) Options = A->menu();
        ASSERT_NE(Options, nullptr);
        const QRect Title = Form->menuBar()->actionGeometry(Options->menuAction());
        MoveTo(Form->menuBar()->mapToGlobal(Title.center()));
        Xdo({"click", "1"});
        ASSERT_TRUE(Options->isVisible());
        MoveTo(Options->mapToGlobal(Options->actionGeometry(Form->ActionDrawMode).center()));
        Xdo({"click", "1"});
    }
    EXPECT_EQ(Form->ActionDrawMode->text(), QStringLiteral("Draw Main groups"));
    EXPECT_TRUE(SamePixels(Screenshot(), BeforeModes));

    // Home: back to the whole drawing, as it was shown after opening (now on white).
    MoveTo(OnScreen(Beside));
    Xdo({"key", "Home"});
    EXPECT_DOUBLE_EQ(Canvas.fZoom, Fit);
    Shot = Screenshot();
    EXPECT_EQ(Pixel(Shot, ValveAt), ToQRgb(WhiteScheme.LineTypeColors[symlinetypeSymbol]));
    EXPECT_EQ(Pixel(Shot, OnScreen({1000, 200})), ToQRgb(WhiteScheme.LineTypeColors[symlinetypeSymbol]));
    EXPECT_TRUE(Boxes.Messages.empty());
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
    QApplication App(Argc, Argv);
    ::testing::InitGoogleTest(&Argc, Argv);
    return RUN_ALL_TESTS();
}
