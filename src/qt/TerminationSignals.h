#pragma once
// SIGINT, SIGTERM and SIGHUP (Ctrl+C in the terminal, kill, the end of the session) turned into a
// Qt signal, so that the window can end the way File > Exit ends it and delete its unpack folders
// on the way out. Almost nothing is safe inside a signal handler: the handler only writes the
// signal number into a pipe, and the event loop reads it.
#include <QObject>
#include <memory>

class QSocketNotifier;

class TTerminationSignals : public QObject {
    Q_OBJECT
public:
    // Installs the handlers; one object at a time. A signal the program was started with ignored
    // (nohup, a background job of a shell without job control) stays ignored. Should the event
    // loop hang, the third signal it has not come round to ends the program at once, as if nobody
    // had caught it.
    explicit TTerminationSignals(QObject* parent = nullptr);
    // Puts back the handling found before.
    ~TTerminationSignals() override;
    TTerminationSignals(const TTerminationSignals&) = delete;
    TTerminationSignals& operator=(const TTerminationSignals&) = delete;

signals:
    void Received(int signalNumber);

private:
    void ReadPipe();

    std::unique_ptr<QSocketNotifier> fNotifier;
};
