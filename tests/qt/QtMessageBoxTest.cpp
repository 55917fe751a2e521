// The Qt message boxes: the box the user sees, and the answer it gives back.
#include "qt/QtMessageBox.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

namespace {

struct TSeen {
    QString Title, Text;
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
};

// Answers the next modal box with Button once it is up, noting what it showed.
void AnswerNextBox(TSeen& Seen, QMessageBox::StandardButton Button) {
    QTimer::singleShot(0, [&Seen, Button] {
        auto* Box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (Box == nullptr) return AnswerNextBox(Seen, Button);
        Seen = {Box->windowTitle(), Box->text(), Box->icon()};
        Box->button(Button)->click();
    });
}

} // namespace

TEST(QtMessageBoxes, ShowKindTextAndAnswer) {
    int Argc = 1;
    char Name[] = "test_shell";
    char* Argv[] = {Name, nullptr};
    QApplication App(Argc, Argv);
    TQtMessageBoxes Boxes;
    TSeen Seen;

    AnswerNextBox(Seen, QMessageBox::Ok);
    EXPECT_TRUE(Boxes.Show(TMessageKind::mkError, "Cannot open /x.pdf !"));
    EXPECT_EQ(Seen.Title, "Error");
    EXPECT_EQ(Seen.Text, "Cannot open /x.pdf !");
    EXPECT_EQ(Seen.Icon, QMessageBox::Critical);

    AnswerNextBox(Seen, QMessageBox::Ok);
    Boxes.Show(TMessageKind::mkWarning, "newer file");
    EXPECT_EQ(Seen.Title, "Warning");
    EXPECT_EQ(Seen.Icon, QMessageBox::Warning);

    AnswerNextBox(Seen, QMessageBox::Yes);
    EXPECT_TRUE(Boxes.Show(TMessageKind::mkQuestion, "Download?"));
    AnswerNextBox(Seen, QMessageBox::No);
    EXPECT_FALSE(Boxes.Show(TMessageKind::mkQuestion, "Download?"));
    EXPECT_EQ(Seen.Icon, QMessageBox::Question);
}
