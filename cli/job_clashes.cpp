// SPDX-License-Identifier: MIT
#include "cli/job_clashes.h"

#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <system_error>
#include <tuple>

#include "cli/messages.h"
#include "cli/options.h"

namespace solvena::zkt {
namespace {

namespace fs = std::filesystem;

// Where a name leads: its folder (by device and inode when it exists, else
// by its absolute spelling) and its last part, case folded.
struct Place {
    dev_t device = 0;
    ino_t inode = 0;
    std::string folder;
    std::string name;
    // Spelt out: the page's C++ library has no three-way comparison of strings.
    bool operator<(const Place& other) const {
        return std::tie(device, inode, folder, name) <
               std::tie(other.device, other.inode, other.folder, other.name);
    }
};

Place PlaceOf(const std::string& path) {
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error).lexically_normal();
    Place place;
    place.name = AsciiLowerCase(absolute.filename().string());
    struct stat folder {};
    if (::stat(absolute.parent_path().c_str(), &folder) == 0) {
        place.device = folder.st_dev;
        place.inode = folder.st_ino;
    } else {
        place.folder = absolute.parent_path().string();
    }
    return place;
}

// The file itself, when there is one: a link or a second name of it is it.
std::optional<std::pair<dev_t, ino_t>> FileOf(const std::string& path) {
    struct stat file {};
    if (::stat(path.c_str(), &file) != 0) {
        return std::nullopt;
    }
    return std::pair(file.st_dev, file.st_ino);
}

class ClashFinder {
  public:
    explicit ClashFinder(const std::vector<Job>& jobs) : jobs_(jobs) {
        for (std::size_t i = 0; i < jobs.size(); ++i) {
            inputs_.emplace(PlaceOf(jobs[i].input), i);
            if (const auto file = FileOf(jobs[i].input)) {
                inputFiles_.emplace(*file, i);
            }
        }
    }

    void Check(std::size_t i) {
        const Job& job = jobs_[i];
        const Place place = PlaceOf(job.output);
        const auto file = FileOf(job.output);
        const auto [first, added] = outputs_.emplace(place, i);
        std::optional<std::size_t> other = added ? std::nullopt : std::optional(first->second);
        if (!other && file) {
            const auto [sameFile, fresh] = outputFiles_.emplace(*file, i);
            other = fresh ? std::nullopt : std::optional(sameFile->second);
        }
        if (other) {
            Tell(Shown(jobs_[*other].input) + " and " + Shown(job.input) +
                 " would both be written to " + Shown(job.output));
        }
        std::optional<std::size_t> read = Find(inputs_, place, i);
        if (!read && file) {
            read = Find(inputFiles_, *file, i);
        }
        if (read) {
            Tell(Shown(job.output) + ", the output of " + Shown(job.input) + ", is the input " +
                 Shown(jobs_[*read].input));
        }
    }

    std::optional<std::string> Said() const {
        if (said_.empty()) {
            return std::nullopt;
        }
        return "zkt: refused, as files would be lost: " + said_ + "; nothing written\n";
    }

  private:
    template <class Key>
    static std::optional<std::size_t> Find(const std::multimap<Key, std::size_t>& map,
                                           const Key& key, std::size_t self) {
        const auto [from, to] = map.equal_range(key);
        for (auto it = from; it != to; ++it) {
            if (it->second != self) {
                return it->second;
            }
        }
        return std::nullopt;
    }

    void Tell(const std::string& clash) { said_ += (said_.empty() ? "" : "; ") + clash; }

    const std::vector<Job>& jobs_;
    std::multimap<Place, std::size_t> inputs_;
    std::multimap<std::pair<dev_t, ino_t>, std::size_t> inputFiles_;
    std::map<Place, std::size_t> outputs_;
    std::map<std::pair<dev_t, ino_t>, std::size_t> outputFiles_;
    std::string said_;
};

}  // namespace

std::optional<std::string> Clashes(const std::vector<Job>& jobs) {
    ClashFinder finder(jobs);
    for (std::size_t i = 0; i < jobs.size(); ++i) {
        if (!jobs[i].output.empty()) {
            finder.Check(i);
        }
    }
    return finder.Said();
}

}  // namespace solvena::zkt
