// SPDX-License-Identifier: MIT
#include "tests/support/other_user.h"

#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/support/process.h"

namespace solvena::testing {
namespace {

// The exit codes of useradd and userdel for a password or group file that
// another program has locked.
bool Locked(int exitCode) {
    return exitCode == 1 || exitCode == 10;
}

}  // namespace

OtherUser::OtherUser() {
    if (::geteuid() != 0) {
        why_ = "not running as root: no second user can be made for this test";
        return;
    }
    name_ = "solvena-t" + std::to_string(::getpid());
    ProcessResult added;
    // Tests run side by side; useradd refuses while another holds its lock.
    for (int attempt = 0; attempt < 20; ++attempt) {
        added = RunProcess("/usr/sbin/useradd",
                           {"--no-create-home", "--user-group", "--shell", "/bin/false", name_});
        if (!Locked(added.exitCode)) {
            break;
        }
        ::usleep(250000);
    }
    const passwd* entry = ::getpwnam(name_.c_str());
    if (added.exitCode != 0 || entry == nullptr) {
        why_ = "useradd failed: " + added.err;
        return;
    }
    uid_ = entry->pw_uid;
    gid_ = entry->pw_gid;
    made_ = true;
}

OtherUser::~OtherUser() {
    for (int attempt = 0; made_ && attempt < 20; ++attempt) {
        if (!Locked(RunProcess("/usr/sbin/userdel", {name_}).exitCode)) {
            break;
        }
        ::usleep(250000);
    }
}

int OtherUser::Run(const std::function<int()>& act) const {
    return RunAs(uid_, gid_, act);
}

int RunAs(uid_t uid, gid_t gid, const std::function<int()>& act) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::getegid() != gid || ::geteuid() != uid) {
            if (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0) {
                ::_exit(126);
            }
        }
        ::_exit(act());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace solvena::testing
