// SPDX-License-Identifier: MIT
#pragma once

// Requests from outside to end the program: the signals SIGTERM, SIGHUP and
// SIGINT (a logout, `kill`, Ctrl+C in the starting terminal) and the end of
// the desktop session. A signal handler may do almost nothing safely, so it
// only writes the signal's number to a socket; the request reaches the
// windows from the event loop, like any other event.

#include <QObject>

class QSessionManager;
class QSocketNotifier;

namespace solvena::desktop {

class EndRequests : public QObject {
    Q_OBJECT

  public:
    explicit EndRequests(QObject* parent = nullptr);
    // Gives the signals back to the handlers they had before.
    ~EndRequests() override;

    // Starts watching; false when the system gives no socket for it.
    bool Watch();

  signals:
    // `signal`: the signal's number, or 0 for the end of the session. A
    // receiver that does not end the program leaves the next request of
    // the same kind to it again.
    void Requested(int signal);

  private:
    void OnSocket();
    void OnCommitData(QSessionManager& manager);

    QSocketNotifier* notifier_ = nullptr;
    bool watching_ = false;
};

}  // namespace solvena::desktop
