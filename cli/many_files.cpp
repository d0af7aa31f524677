// SPDX-License-Identifier: MIT
#include "cli/many_files.h"

#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

#include "cli/command_table.h"
#include "cli/file_walk.h"
#include "cli/job_clashes.h"
#include "cli/messages.h"
#include "cli/progress_line.h"
#include "cli/recover_command.h"
#include "files/temporary_files.h"

namespace solvena::zkt {
namespace {

namespace fs = std::filesystem;

// Set by Ctrl+C: the run stops between two files.
volatile std::sig_atomic_t stopAsked = 0;

// A second Ctrl+C, or SIGTERM, ends the run at once, even in a file that
// stalls: the careful save of the file being written has not put anything
// in place yet, so the target is untouched once the hidden file of the new
// bytes (deciphered text, maybe) is removed. A file rewritten in place is
// first made whole, by the save.
extern "C" void AskToStop(int signal) {
    if (signal == SIGTERM || stopAsked != 0) {
        constexpr std::string_view kNow =
            "\nzkt: stopped at once; the file being written is left as it was\n";
        constexpr std::string_view kSoon =
            "\nzkt: stopping once the file being rewritten in place is whole\n";
        const bool now = files::AbandonSaveAtOnce(128 + signal);
        const std::string_view said = now ? kNow : kSoon;
        if (::write(STDERR_FILENO, said.data(), said.size()) < 0) {
            // Nowhere to say it.
        }
        if (now) {
            ::_exit(128 + signal);
        }
        return;
    }
    stopAsked = 1;
}

// Ctrl+C stops the run after the file being saved, a second one or SIGTERM
// at once, for as long as this lives.
class StopBetweenFiles {
  public:
    StopBetweenFiles() {
        struct sigaction action {};
        action.sa_handler = AskToStop;
        ::sigemptyset(&action.sa_mask);
        ::sigaction(SIGINT, &action, &savedInt_);
        ::sigaction(SIGTERM, &action, &savedTerm_);
    }
    ~StopBetweenFiles() {
        ::sigaction(SIGINT, &savedInt_, nullptr);
        ::sigaction(SIGTERM, &savedTerm_, nullptr);
    }
    StopBetweenFiles(const StopBetweenFiles&) = delete;
    StopBetweenFiles& operator=(const StopBetweenFiles&) = delete;

  private:
    struct sigaction savedInt_ {};
    struct sigaction savedTerm_ {};
};

struct Tally {
    std::size_t done = 0;
    std::vector<std::string> failed;
    std::vector<std::string> links;  // not followed
};

// Makes the folders an output under -O goes into; `made` gets those it
// made, the deepest first.
bool MakeParents(const std::string& output, const Environment& env, std::vector<fs::path>& made) {
    std::error_code error;
    if (fs::path(output).parent_path().empty()) {
        return true;
    }
    for (fs::path parent = fs::path(output).parent_path();
         !parent.empty() && !fs::exists(fs::symlink_status(parent, error));
         parent = parent.parent_path()) {
        made.push_back(parent);
    }
    fs::create_directories(fs::path(output).parent_path(), error);
    if (error) {
        Say(env, "zkt: " + Shown(fs::path(output).parent_path().string()) + ": " + error.message() +
                     "\n");
        return false;
    }
    return true;
}

bool CipherJob(const Options& options, const Environment& env, const Job& job,
               std::optional<std::int16_t> pass, const std::string& note = "") {
    return WriteJob(
        options, env, job, [&](const Options& one) { return CipherOneFile(one, env, pass); }, note);
}

// With --find-pass: deciphered with the pass number the ranking finds
// clearly ahead for it, if any.
bool FindPassJob(const Options& options, const Environment& env, const Job& job) {
    if (!OutputFree(options, env, job)) {
        return false;  // before the ranking, which takes a while
    }
    const FoundPass found = FindPass(job.input, env, job.opening);
    if (!found.pass) {
        return false;  // said why
    }
    return CipherJob(options, env, job, found.pass, " (pass number " + found.entry + ")");
}

bool RunJob(const Options& options, const Environment& env, const Job& job,
            std::optional<std::int16_t> pass) {
    if (!CommandRowOf(options.command).ciphers) {
        return RecoverLine(options, env, job.input, job.opening) == kSuccess;
    }
    return options.findPass ? FindPassJob(options, env, job) : CipherJob(options, env, job, pass);
}

// Whether a file the walk found is a link now: swapped since, and not followed.
bool SwappedForALink(const Job& job) {
    std::error_code error;
    return job.opening == files::Opening::NormalFileOnly && fs::is_symlink(job.input, error);
}

void Summarize(const Environment& env, const Options& options, const Tally& tally,
               std::size_t total, std::string_view note) {
    const std::string verb(CommandRowOf(options.command).done);
    std::string line =
        "zkt: " + std::to_string(total) + " file(s): " + std::to_string(tally.done) + " " + verb;
    if (!tally.failed.empty()) {
        line += ", " + std::to_string(tally.failed.size()) + " not:";
        for (const std::string& name : tally.failed) {
            line += ' ';
            line += Shown(name);
        }
    }
    if (!tally.links.empty()) {
        line += "; " + std::to_string(tally.links.size()) + " link(s) not followed:";
        for (const std::string& name : tally.links) {
            line += ' ';
            line += Shown(name);
        }
    }
    if (const std::size_t undone = total - tally.done - tally.failed.size(); undone > 0) {
        line += "; stopped when asked, " + std::to_string(undone) + " not begun";
    }
    if (tally.done > 0 && !note.empty()) {
        line += "; ";
        line += note;
    }
    Say(env, line + "\n");
}

}  // namespace

bool OutputFree(const Options& options, const Environment& env, const Job& job) {
    std::error_code error;
    if (!options.overwrite && fs::exists(fs::symlink_status(job.output, error))) {
        Say(env, "zkt: " + Shown(job.output) +
                     ": exists; not written over (--overwrite writes over it)\n");
        return false;
    }
    return true;
}

bool WriteJob(const Options& options, const Environment& env, const Job& job,
              const std::function<int(const Options& one)>& write, const std::string& note) {
    if (!OutputFree(options, env, job)) {
        return false;
    }
    std::vector<fs::path> made;
    Options one = options;
    one.input = job.input;
    one.output = job.output;
    one.inputOpening = job.opening;
    if (!MakeParents(job.output, env, made) || write(one) != kSuccess) {
        for (const fs::path& folder : made) {
            std::error_code error;
            fs::remove(folder, error);  // only while empty
        }
        return false;
    }
    Say(env, "zkt: " + Shown(job.input) + " -> " + Shown(job.output) + note + "\n");
    return true;
}

std::string OtherName(const std::string& name, Command command, bool armored) {
    const CommandRow& row = CommandRowOf(command);
    if (row.writes == document::FileType::Sealed) {
        return document::SealedName(name, armored);
    }
    if (row.reads == document::FileType::Sealed) {
        return document::NameAs(name, document::FileType::Text);
    }
    return document::Renamed(name, row.reads, row.writes);
}

bool RunsOnManyFiles(const Options& options) {
    std::error_code error;
    return options.ManyFiles() || (options.input != "-" && options.output == "-" &&
                                   fs::is_directory(options.input, error));
}

int CipherManyFiles(const Options& options, const Environment& env) {
    const JobsReady ready = [&](const std::vector<Job>& /*jobs*/, JobRunner& run,
                                std::string& /*summaryNote*/) -> int {
        std::optional<std::int16_t> pass;
        const CommandRow& command = CommandRowOf(options.command);
        if (command.ciphers && !options.findPass) {
            if (const int status = ObtainPass(options, env, command.enciphers, pass);
                status != kSuccess) {
                return status;
            }
        }
        run = [&options, &env, pass](const Job& job) { return RunJob(options, env, job, pass); };
        return kSuccess;
    };
    return RunManyFiles(options, env, ready);
}

int RunManyFiles(const Options& options, const Environment& env, const JobsReady& ready) {
    Tally tally;
    PassedOver passed;
    const std::vector<Job> jobs = FindJobs(options, env, passed);
    tally.failed = std::move(passed.refused);
    tally.links = std::move(passed.links);
    if (const std::optional<std::string> clashes = Clashes(jobs)) {
        Say(env, *clashes);
        return kUsageError;
    }
    JobRunner run;
    std::string summaryNote;
    if (const int status = ready(jobs, run, summaryNote); status != kSuccess) {
        return status;
    }
    std::size_t total = jobs.size() + tally.failed.size();
    const StopBetweenFiles stopping;
    ProgressLine progress(env, total);
    for (const Job& job : jobs) {
        if (stopAsked != 0) {
            break;
        }
        progress.Clear();
        if (run(job)) {
            ++tally.done;
        } else if (SwappedForALink(job)) {
            // Passed over as the walk passes over links, and no file of the run.
            tally.links.push_back(job.input);
            --total;
        } else {
            tally.failed.push_back(job.input);
        }
        progress.Show(tally.done + tally.failed.size());
    }
    progress.Clear();
    Summarize(env, options, tally, total, summaryNote);
    // Stopped when asked only where something was left undone.
    const bool stopped = tally.done + tally.failed.size() < total;
    stopAsked = 0;
    return stopped ? 128 + SIGINT : tally.failed.empty() ? kSuccess : kDataError;
}

}  // namespace solvena::zkt
