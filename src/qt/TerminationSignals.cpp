#include "qt/TerminationSignals.h"

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <iterator>
#include <unistd.h>

namespace {

constexpr int Watched[] = {SIGINT, SIGTERM, SIGHUP};
constexpr int SignalsBeforeGivingUp = 3;

int PipeFds[2] = {-1, -1};
volatile sig_atomic_t SignalCount = 0;
struct sigaction Previous[std::size(Watched)];
bool Installed[std::size(Watched)] = {};

void OnSignal(int signalNumber) {
    const int savedErrno = errno;
    SignalCount = SignalCount + 1;
    if (SignalCount >= SignalsBeforeGivingUp) {
        // The event loop did not come round to the earlier ones: end the way the signal would
        // have ended the program had nobody caught it.
        ::signal(signalNumber, SIG_DFL);
        ::raise(signalNumber);
    }
    const auto byte = static_cast<unsigned char>(signalNumber);
    // A full pipe already holds a request to end: this one may be dropped.
    [[maybe_unused]] const ssize_t written = ::write(PipeFds[1], &byte, 1);
    errno = savedErrno;
}

} // namespace

TTerminationSignals::TTerminationSignals(QObject* parent) : QObject(parent) {
    Q_ASSERT(PipeFds[0] < 0);
    if (::pipe2(PipeFds, O_CLOEXEC | O_NONBLOCK) != 0) {
        PipeFds[0] = PipeFds[1] = -1;
        return; // the default handling stays: the program ends, without its clean-up
    }
    SignalCount = 0;
    fNotifier = std::make_unique<QSocketNotifier>(PipeFds[0], QSocketNotifier::Read);
    connect(fNotifier.get(), &QSocketNotifier::activated, this, &TTerminationSignals::ReadPipe);

    struct sigaction action {};
    action.sa_handler = OnSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    // One handler at a time keeps the count exact.
    for (const int s : Watched)
        sigaddset(&action.sa_mask, s);
    for (size_t i = 0; i < std::size(Watched); ++i) {
        if (::sigaction(Watched[i], nullptr, &Previous[i]) != 0) continue;
        if (Previous[i].sa_handler == SIG_IGN) continue;
        Installed[i] = ::sigaction(Watched[i], &action, nullptr) == 0;
    }
}

TTerminationSignals::~TTerminationSignals() {
    for (size_t i = 0; i < std::size(Watched); ++i)
        if (Installed[i]) {
            ::sigaction(Watched[i], &Previous[i], nullptr);
            Installed[i] = false;
        }
    fNotifier.reset();
    for (int& fd : PipeFds)
        if (fd >= 0) {
            ::close(fd);
            fd = -1;
        }
}

void TTerminationSignals::ReadPipe() {
    unsigned char bytes[16];
    ssize_t count;
    while ((count = ::read(PipeFds[0], bytes, sizeof bytes)) > 0) {
        // The loop is alive: only signals it does not come round to count towards giving up.
        SignalCount = 0;
        for (ssize_t i = 0; i < count; ++i)
            emit Received(bytes[i]);
    }
}
