#pragma once
// The document opener with the settings of a command-line job: revision dates in the user's date
// format, load messages on stderr since a job has no message box, and unpack folders that go also
// when SIGINT, SIGTERM or SIGHUP ends the job (call it before the job starts other threads).
#include <memory>
#include <string>

class QGuiApplication;

class TSymbolFile;
class TTempDirs;
struct TOpenResult;

// A job's document. Once the command line has said that the process ends with its job, the
// document is left for the process's end to take back: freeing a large drawing object by object
// takes seconds that the system spends at once. In-process callers (tests) free it as usual.
void LeaveJobDocumentsToProcessEnd();
class TJobDocument {
public:
    TJobDocument();
    ~TJobDocument();
    TJobDocument(const TJobDocument&) = delete;
    TJobDocument& operator=(const TJobDocument&) = delete;
    TSymbolFile& operator*() const { return *fDoc; }

private:
    std::unique_ptr<TSymbolFile> fDoc;
};

// False with a message in the user's terms when nothing was opened, a package without a
// drawing included.
// Result, when given, receives what the opener found besides the document: the drawing's own file
// name (inside the unpack folder for packages) and a packed archive's print-preview pages.
bool OpenForJob(TSymbolFile& doc, const std::string& file, TTempDirs& tempDirs, std::string& error,
                TOpenResult* result = nullptr);

// Drawing text, rendering PDF pages and printing need an application object; without a display Qt
// only starts with the offscreen platform. Returns the object made (nullptr when one exists); the
// caller keeps it for the duration of the job. A job reports its own errors in one line, so
// Qt's notes about the session (a missing runtime folder and the like) are left out of stderr.
std::unique_ptr<QGuiApplication> EnsureGuiApplication();
