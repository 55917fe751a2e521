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
void AnswerNextBox(TSeen& seen, QMessageBox::StandardButton button) {
    QTimer::singleShot(0, [&seen, button] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) return AnswerNextBox(seen, button);
        seen = {box->windowTitle(), box->text(), box->icon()};
        box->button(button)->click();
    });
}

} // namespace

TEST(QtMessageBoxes, ShowKindTextAndAnswer) {
    int argc = 1;
    char name[] = "test_shell";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    TQtMessageBoxes boxes;
    TSeen seen;

    AnswerNextBox(seen, QMessageBox::Ok);
    EXPECT_TRUE(boxes.Show(TMessageKind::mkError, "Cannot open /x.pdf !"));
    EXPECT_EQ(seen.Title, "Error");
    EXPECT_EQ(seen.Text, "Cannot open /x.pdf !");
    EXPECT_EQ(seen.Icon, QMessageBox::Critical);

    AnswerNextBox(seen, QMessageBox::Ok);
    boxes.Show(TMessageKind::mkWarning, "newer file");
    EXPECT_EQ(seen.Title, "Warning");
    EXPECT_EQ(seen.Icon, QMessageBox::Warning);

    AnswerNextBox(seen, QMessageBox::Yes);
    EXPECT_TRUE(boxes.Show(TMessageKind::mkQuestion, "Download?"));
    AnswerNextBox(seen, QMessageBox::No);
    EXPECT_FALSE(boxes.Show(TMessageKind::mkQuestion, "Download?"));
    EXPECT_EQ(seen.Icon, QMessageBox::Question);
}
