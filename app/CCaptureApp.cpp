#include "CCaptureApp.h"

#include "CCaptureDlg.h"
#include "CaptureJob.h"

#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// SIGTERM and SIGINT reach the event loop through a socket: the handler only writes a byte.
int g_signalSocket[2] = {-1, -1};

void OnSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(g_signalSocket[1], &byte, 1);
}

}  // namespace

int CCaptureApp::Run(const JobOptions& options) {
    CCaptureDlg dlg;
    dlg.Initialise();
    CaptureJob job(dlg, options);
    if (const QString why = job.Apply(); !why.isEmpty()) {
        std::fprintf(stderr, "capture-station: %s\n", qPrintable(why));
        return 2;
    }
    // A signal to stop ends the file whole, as Stop does, and the program with status 0.
    std::unique_ptr<QSocketNotifier> stopSignal;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signalSocket) == 0) {
        stopSignal = std::make_unique<QSocketNotifier>(g_signalSocket[0], QSocketNotifier::Read);
        QObject::connect(stopSignal.get(), &QSocketNotifier::activated, &dlg, [&job] { job.Finish(0); });
        struct sigaction action = {};
        action.sa_handler = OnSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        sigaction(SIGTERM, &action, nullptr);
        sigaction(SIGINT, &action, nullptr);
    }
    job.Start();
    dlg.RunModal();
    dlg.RememberSettings();
    return job.ExitCode();
}
