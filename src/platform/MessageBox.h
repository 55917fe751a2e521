#pragma once
// Modal message boxes behind a small interface, so that the core of the shell can report to the
// user without a window system: the GUI installs the Qt boxes, command-line jobs write to stderr,
// tests record what would have been shown.
#include <string>
#include <vector>

enum class TMessageKind { mkError, mkWarning, mkInformation, mkQuestion };

class IMessageBoxes {
public:
    virtual ~IMessageBoxes() = default;
    // Shows Text (already translated) and waits for the user. Questions offer Yes and No and
    // return true for Yes; the other kinds have an OK button only and return true.
    virtual bool Show(TMessageKind kind, const std::string& text) = 0;
};

// The boxes in use: the installed ones, else a stderr writer that answers questions with No.
IMessageBoxes& MessageBoxes();
// Installs Boxes (not owned; nullptr goes back to the stderr writer) and returns the previous ones.
IMessageBoxes* SetMessageBoxes(IMessageBoxes* boxes);

// Writes one line per message to stderr, prefixed by the translated kind.
class TStdErrMessageBoxes : public IMessageBoxes {
public:
    bool Show(TMessageKind kind, const std::string& text) override;
};

// Keeps every message instead of showing it; questions get QuestionAnswer.
class TRecordingMessageBoxes : public IMessageBoxes {
public:
    struct TMessage {
        TMessageKind Kind;
        std::string Text;
        friend bool operator==(const TMessage&, const TMessage&) = default;
    };
    std::vector<TMessage> Messages;
    bool QuestionAnswer = false;

    bool Show(TMessageKind kind, const std::string& text) override;
};

// Installs a set of boxes for the lifetime of the scope and restores the previous ones after.
class TScopedMessageBoxes {
public:
    explicit TScopedMessageBoxes(IMessageBoxes& boxes) : fPrevious(SetMessageBoxes(&boxes)) {}
    ~TScopedMessageBoxes() { SetMessageBoxes(fPrevious); }
    TScopedMessageBoxes(const TScopedMessageBoxes&) = delete;
    TScopedMessageBoxes& operator=(const TScopedMessageBoxes&) = delete;

private:
    IMessageBoxes* fPrevious;
};

void ShowErrorMessage(const std::string& text);
void ShowWarningMessage(const std::string& text);
void ShowInformationMessage(const std::string& text);
bool ShowQuestionMessage(const std::string& text);
// Error box "Cannot handle file:" + line break + Path.
void ShowCannotHandleFile(const std::string& path);
// The text ShowCannotHandleFile shows, for callers that hand the message on.
std::string CannotHandleFileText(const std::string& path);
