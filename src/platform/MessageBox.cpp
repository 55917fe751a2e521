#include "platform/MessageBox.h"

#include "base/Translate.h"

#include <iostream>

namespace {

IMessageBoxes* gInstalled = nullptr;

} // namespace

IMessageBoxes& MessageBoxes() {
    static TStdErrMessageBoxes stdErr;
    return gInstalled != nullptr ? *gInstalled : stdErr;
}

IMessageBoxes* SetMessageBoxes(IMessageBoxes* boxes) {
    IMessageBoxes* previous = gInstalled;
    gInstalled = boxes;
    return previous;
}

bool TStdErrMessageBoxes::Show(TMessageKind kind, const std::string& text) {
    const char* label = "Error";
    switch (kind) {
    case TMessageKind::mkError:
        label = "Error";
        break;
    case TMessageKind::mkWarning:
        label = "Warning";
        break;
    case TMessageKind::mkInformation:
        label = "Information";
        break;
    case TMessageKind::mkQuestion:
        label = "Confirm";
        break;
    }
    std::cerr << _(label) << ": " << text << std::endl;
    // Nobody can answer on stderr: decline, the cautious choice.
    return kind != TMessageKind::mkQuestion;
}

bool TRecordingMessageBoxes::Show(TMessageKind kind, const std::string& text) {
    Messages.push_back({kind, text});
    return kind == TMessageKind::mkQuestion ? QuestionAnswer : true;
}

void ShowErrorMessage(const std::string& text) {
    MessageBoxes().Show(TMessageKind::mkError, text);
}

void ShowWarningMessage(const std::string& text) {
    MessageBoxes().Show(TMessageKind::mkWarning, text);
}

void ShowInformationMessage(const std::string& text) {
    MessageBoxes().Show(TMessageKind::mkInformation, text);
}

bool ShowQuestionMessage(const std::string& text) {
    return MessageBoxes().Show(TMessageKind::mkQuestion, text);
}

std::string CannotHandleFileText(const std::string& path) {
    return _("Cannot handle file:") + "\n" + path;
}

void ShowCannotHandleFile(const std::string& path) {
    ShowErrorMessage(CannotHandleFileText(path));
}
