// SPDX-License-Identifier: MIT
#include "cli/output_rules.h"

#include <sys/stat.h>
#include <unistd.h>

namespace solvena::zkt {

bool OutputIsInput(int input) {
    struct stat in {};
    struct stat out {};
    return ::fstat(input, &in) == 0 && ::fstat(STDOUT_FILENO, &out) == 0 && S_ISREG(out.st_mode) &&
           in.st_dev == out.st_dev && in.st_ino == out.st_ino;
}

files::NewFileRules NewOutputRules(const Options& options, int input) {
    files::NewFileRules rules;
    struct stat info {};
    if (::fstat(input, &info) == 0 && S_ISREG(info.st_mode)) {
        rules.mode = info.st_mode & 0666;
    }
    rules.onlyNew = options.ManyFiles() && !options.overwrite;
    return rules;
}

}  // namespace solvena::zkt
