// SPDX-License-Identifier: MIT
#include "desktop/end_requests.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>

namespace solvena::desktop {
namespace {

constexpr int kSignals[] = {SIGTERM, SIGHUP, SIGINT};

// The two ends of the socket pair: the handler writes, the event loop reads.
int gWriteEnd = -1;
int gReadEnd = -1;
struct sigaction gPrevious[3];

extern "C" void OnEndSignal(int signal) {
    const int saved = errno;
    const unsigned char number = static_cast<unsigned char>(signal);
    // A full socket already holds a request; nothing is lost by dropping this.
    [[maybe_unused]] const ssize_t wrote = ::write(gWriteEnd, &number, 1);
    errno = saved;
}

}  // namespace

EndRequests::EndRequests(QObject* parent) : QObject(parent) {}

EndRequests::~EndRequests() {
    if (!watching_) {
        return;
    }
    for (int i = 0; i < 3; ++i) {
        ::sigaction(kSignals[i], &gPrevious[i], nullptr);
    }
    ::close(gWriteEnd);
    ::close(gReadEnd);
    gWriteEnd = gReadEnd = -1;
}

bool EndRequests::Watch() {
    if (watching_ || gWriteEnd >= 0) {
        return watching_;
    }
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, ends) != 0) {
        return false;
    }
    gWriteEnd = ends[0];
    gReadEnd = ends[1];
    notifier_ = new QSocketNotifier(gReadEnd, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &EndRequests::OnSocket);
    struct sigaction action {};
    action.sa_handler = OnEndSignal;
    sigemptyset(&action.sa_mask);
    // Interrupted reads and writes go on rather than fail with EINTR.
    action.sa_flags = SA_RESTART;
    for (int i = 0; i < 3; ++i) {
        ::sigaction(kSignals[i], &action, &gPrevious[i]);
    }
    if (auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(application, &QGuiApplication::commitDataRequest, this, &EndRequests::OnCommitData,
                Qt::DirectConnection);
    }
    watching_ = true;
    return true;
}

void EndRequests::OnSocket() {
    unsigned char number = 0;
    while (::read(gReadEnd, &number, 1) == 1) {
        emit Requested(number);
    }
}

void EndRequests::OnCommitData(QSessionManager&) {
    // Asked while the session ends: the request is answered before the
    // session manager is told that this program is done.
    emit Requested(0);
}

}  // namespace solvena::desktop
