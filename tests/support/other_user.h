// SPDX-License-Identifier: MIT
#pragma once

// Running part of a test as another, unprivileged user: a user account made
// for the test when it runs as root (and removed afterwards).

#include <sys/types.h>

#include <functional>
#include <string>

namespace solvena::testing {

class OtherUser {
  public:
    // Makes the account when running as root; otherwise there is none.
    OtherUser();
    ~OtherUser();
    OtherUser(const OtherUser&) = delete;
    OtherUser& operator=(const OtherUser&) = delete;

    bool ok() const { return made_; }
    // Why there is no user, for a skipped test.
    const std::string& why() const { return why_; }
    uid_t uid() const { return uid_; }
    gid_t gid() const { return gid_; }

    // Runs `act` in a child process as this user; its result, or -1 when
    // the child did not end normally.
    int Run(const std::function<int()>& act) const;

  private:
    std::string name_;
    std::string why_;
    uid_t uid_ = 0;
    gid_t gid_ = 0;
    bool made_ = false;
};

// Runs `act` in a child process as `uid` and `gid` (no other groups).
int RunAs(uid_t uid, gid_t gid, const std::function<int()>& act);

}  // namespace solvena::testing
