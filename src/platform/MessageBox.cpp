#include "platform/MessageBox.h"

#include "base/Translate.h"

#include <iostream>

namespace {

IMessageBoxes* gInstalled = nullptr;

} // namespace

IMessageBoxes& MessageBoxes() {
    static TStdErrMessageBoxes StdErr;
    return gInstalled != nullptr ? *gInstalled : StdErr;
}

IMessageBoxes* SetMessageBoxes(IMessageBoxes* Boxes) {
    IMessageBoxes* Previous = gInstalled;
    gInstalled = Boxes;
    return Previous;
}

bool TStdErrMessageBoxes::Show(TMessageKind Kind, const std::string& Text) {
    const char* Label = "Error";
    switch (Kind) {
    case TMessageKind::mkError:
        Label = "Error";
        break;
    case TMessageKind::mkWarning:
        Label = "Warning";
        break;
    case TMessageKind::mkInformation:
        Label = "Information";
        break;
    case TMessageKind::mkQuestion:
        Label = "Confirm";
        break;
    }
    std::cerr << _(Label) << ": " << Text << std::endl;
    // Nobody can answer on stderr: decline, the cautious choice.
    return Kind != TMessageKind::mkQuestion;
}

bool TRecordingMessageBoxes::Show(TMessageKind Kind, const std::string& Text) {
    Messages.push_back({Kind, Text});
    return Kind == TMessageKind::mkQuestion ? QuestionAnswer : true;
}

void ShowErrorMessage(const std::string& Text) {
    MessageBoxes().Show(TMessageKind::mkError, Text);
}

void ShowWarningMessage(const std::string& Text) {
    MessageBoxes().Show(TMessageKind::mkWarning, Text);
}

void ShowInformationMessage(const std::string& Text) {
    MessageBoxes().Show(TMessageKind::mkInformation, Text);
}

bool ShowQuestionMessage(const std::string& Text) {
    return MessageBoxes().Show(TMessageKind::mkQuestion, Text);
}

std::string CannotHandleFileText(const std::string& Path) {
    return _("Cannot handle file:") + "\n" + Path;
}

void ShowCannotHandleFile(const std::string& Path) {
    ShowErrorMessage(CannotHandleFileText(Path));
}
