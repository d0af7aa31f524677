// SPDX-License-Identifier: MIT
#include "files/temporary_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "files/kept_copies.h"

namespace solvena::files {
namespace {

constexpr std::string_view kMarker = ".solvena-";
constexpr std::string_view kLetters =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
constexpr std::size_t kRandomLength = 6;
// Names stay well inside the 255-byte limit of a file name.
constexpr std::size_t kLongestTarget = 200;

// The target's name as it appears in its temporary names: cut to fit, never
// inside a UTF-8 sequence.
std::string_view NamePart(std::string_view target) {
    if (target.size() <= kLongestTarget) {
        return target;
    }
    std::size_t end = kLongestTarget;
    while (end > 0 && (static_cast<unsigned char>(target[end]) & 0xC0) == 0x80) {
        --end;
    }
    return target.substr(0, end);
}

std::string Prefix(std::string_view target) {
    std::string prefix(1, '.');
    prefix.append(NamePart(target));
    prefix.append(kMarker);
    return prefix;
}

std::string RandomLetters() {
    unsigned char random[kRandomLength] = {};
    if (::getrandom(random, sizeof random, 0) != static_cast<ssize_t>(sizeof random)) {
        // No entropy to be had: the clock and the process still make the
        // name unlikely to be taken, and O_EXCL settles the rest.
        timespec now{};
        ::clock_gettime(CLOCK_REALTIME, &now);
        std::uint64_t seed = static_cast<std::uint64_t>(now.tv_nsec) ^
                             (static_cast<std::uint64_t>(::getpid()) << 16);
        for (unsigned char& c : random) {
            seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
            c = static_cast<unsigned char>(seed >> 33);
        }
    }
    std::string letters;
    for (unsigned char c : random) {
        letters += kLetters[c % kLetters.size()];
    }
    return letters;
}

// When this process started, from the kernel's count of clock ticks since
// boot (a forked child has a start of its own).
timespec ProcessStart() {
    std::ifstream stat("/proc/self/stat");
    std::string line;
    std::getline(stat, line);
    const std::size_t close = line.rfind(')');
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    if (close == std::string::npos) {
        return now;  // no /proc: nothing counts as older than the process
    }
    // Fields after the name: the state is field 3, the start time field 22.
    std::istringstream fields(line.substr(close + 2));
    std::string field;
    unsigned long long ticks = 0;
    for (int number = 3; number <= 22 && fields >> field; ++number) {
        if (number == 22) {
            ticks = std::strtoull(field.c_str(), nullptr, 10);
        }
    }
    timespec boot{};
    ::clock_gettime(CLOCK_BOOTTIME, &boot);
    const double perSecond = static_cast<double>(::sysconf(_SC_CLK_TCK));
    const double sinceStart = static_cast<double>(boot.tv_sec) +
                              static_cast<double>(boot.tv_nsec) / 1e9 -
                              static_cast<double>(ticks) / perSecond;
    const double started =
        static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9 - sinceStart;
    timespec result{};
    result.tv_sec = static_cast<time_t>(started);
    result.tv_nsec = static_cast<long>((started - static_cast<double>(result.tv_sec)) * 1e9);
    return result;
}

bool Before(const timespec& a, const timespec& b) {
    return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}

// Removes one leftover if it still is what it looked like.
void RemoveIfStale(int folder, const std::string& name, const timespec& started) {
    Descriptor fd(
        ::openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat info {};
    if (!fd.valid() || ::fstat(fd.get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        info.st_uid != ::geteuid() || !Before(info.st_mtim, started) ||
        !Before(info.st_ctim, started)) {
        return;
    }
    // A save in progress holds its file locked; a marked copy is the only
    // good copy of a file a save left damaged, and stays.
    if (::flock(fd.get(), LOCK_EX | LOCK_NB) != 0 || IsMarkedCopy(folder, name)) {
        return;
    }
    struct stat named {};
    if (::fstatat(folder, name.c_str(), &named, AT_SYMLINK_NOFOLLOW) == 0 &&
        named.st_dev == info.st_dev && named.st_ino == info.st_ino) {
        ::unlinkat(folder, name.c_str(), 0);
    }
}

// The temporary of the save in progress, where a signal handler can read
// it: no allocation, no lock. Atomics that are lock-free are safe there.
struct LiveTemporary {
    std::atomic<const Temporary*> owner{nullptr};  // none: nothing to remove
    int folder = -1;
    char name[256] = {};
};
LiveTemporary live;
std::atomic<int> rewritingInPlace{0};
std::atomic<int> endStatus{0};  // asked by a stop at once

void MakeLive(int folder, const Temporary& made) {
    live.owner.store(nullptr);
    if (made.name.size() < sizeof live.name) {
        live.folder = folder;
        std::memcpy(live.name, made.name.c_str(), made.name.size() + 1);
        live.owner.store(&made);
    }
}

}  // namespace

Temporary::~Temporary() {
    const Temporary* self = this;
    live.owner.compare_exchange_strong(self, nullptr);
}

bool AbandonSaveAtOnce(int status) noexcept {
    // Asked first, so that a rewrite ending meanwhile sees it.
    endStatus.store(status);
    if (rewritingInPlace.load() > 0) {
        return false;
    }
    if (live.owner.load() != nullptr) {
        ::unlinkat(live.folder, live.name, 0);
    }
    return true;
}

InPlaceRewrite::InPlaceRewrite() noexcept {
    live.owner.store(nullptr);
    rewritingInPlace.fetch_add(1);
}

InPlaceRewrite::~InPlaceRewrite() {
    if (rewritingInPlace.fetch_sub(1) == 1 && endStatus.load() != 0) {
        ::_exit(endStatus.load());
    }
}

bool MakeTemporary(int folder, std::string_view target, unsigned mode, Temporary& made) {
    const std::string prefix = Prefix(target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string name = prefix + RandomLetters();
        const int fd = ::openat(folder, name.c_str(),
                                O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0) {
            made.fd = Descriptor(fd);
            made.name = std::move(name);
            ::flock(fd, LOCK_EX | LOCK_NB);
            MakeLive(folder, made);
            return true;
        }
        if (errno != EEXIST) {
            return false;
        }
    }
    errno = EEXIST;
    return false;
}

bool IsTemporaryName(std::string_view name) {
    const std::size_t random = name.size() - std::min(name.size(), kRandomLength);
    return name.starts_with('.') && random > kMarker.size() &&
           name.substr(random - kMarker.size(), kMarker.size()) == kMarker &&
           name.substr(random).find_first_not_of(kLetters) == std::string_view::npos;
}

bool IsTemporaryFor(std::string_view name, std::string_view target) {
    const std::string prefix = Prefix(target);
    if (name.size() != prefix.size() + kRandomLength || !name.starts_with(prefix)) {
        return false;
    }
    return name.substr(prefix.size()).find_first_not_of(kLetters) == std::string_view::npos;
}

void RemoveStaleTemporaries(int folder, std::string_view target) {
    const int listed = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listed < 0) {
        return;
    }
    DIR* entries = ::fdopendir(listed);
    if (entries == nullptr) {
        ::close(listed);
        return;
    }
    const timespec started = ProcessStart();
    // A little before the start: file times come from a coarser clock.
    timespec margin = started;
    margin.tv_nsec -= 50'000'000;
    if (margin.tv_nsec < 0) {
        margin.tv_nsec += 1'000'000'000;
        margin.tv_sec -= 1;
    }
    while (const dirent* entry = ::readdir(entries)) {
        const std::string_view name = entry->d_name;
        if (IsTemporaryFor(name, target)) {
            RemoveIfStale(folder, entry->d_name, margin);
        } else if (IsMarkName(name)) {
            // The mark of a copy its owner has removed.
            const std::string copy(name.substr(0, name.rfind('.')));
            if (IsTemporaryFor(copy, target) &&
                ::faccessat(folder, copy.c_str(), F_OK, AT_SYMLINK_NOFOLLOW) != 0) {
                ::unlinkat(folder, entry->d_name, 0);
            }
        }
    }
    ::closedir(entries);
}

}  // namespace solvena::files
