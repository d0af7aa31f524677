// SPDX-License-Identifier: MIT
#include "web/zkt_run.h"

#include <emscripten/bind.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "cli/zkt.h"
#include "files/descriptor.h"
#include "files/file_io.h"
#include "web/js_arrays.h"

namespace solvena::web {
namespace {

// The standard descriptors are files of the module's memory, put in place
// of descriptors 0, 1 and 2 for one run: zkt reads and writes them as it
// reads and writes a pipe.
constexpr const char* kFolder = "/zkt";
const std::string kInput = std::string(kFolder) + "/stdin";
const std::string kOutput = std::string(kFolder) + "/stdout";
const std::string kError = std::string(kFolder) + "/stderr";

bool Redirect(const std::string& path, int flags, int target) {
    const files::Descriptor fd(::open(path.c_str(), flags, 0600));
    return fd.valid() && ::dup2(fd.get(), target) == target;
}

bool PrepareStreams(const std::string& input) {
    ::mkdir(kFolder, 0700);
    {
        const files::Descriptor fd(::open(kInput.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600));
        if (!fd.valid() || !files::WriteAll(fd.get(), input, kInput)) {
            return false;
        }
    }
    const int written = O_WRONLY | O_CREAT | O_TRUNC;
    return Redirect(kInput, O_RDONLY, STDIN_FILENO) && Redirect(kOutput, written, STDOUT_FILENO) &&
           Redirect(kError, written, STDERR_FILENO);
}

// The bytes a run left in one of its files, which then goes.
std::string Collect(const std::string& path) {
    files::Result<std::string> bytes = files::ReadWholeFile(path);
    ::unlink(path.c_str());
    return bytes ? std::move(bytes.value()) : std::string();
}

}  // namespace

emscripten::val RunZkt(const emscripten::val& args, const emscripten::val& input) {
    const std::vector<std::string> arguments = emscripten::vecFromJSArray<std::string>(args);
    emscripten::val result = emscripten::val::object();
    if (!PrepareStreams(BytesFrom(input))) {
        result.set("status", 1);
        result.set("stdout", BytesArray(""));
        result.set("stderr", BytesArray("zkt: standard input could not be prepared\n"));
        return result;
    }
    // No terminal: no pass-number prompt, and output is not shown on one.
    const zkt::Environment environment;
    const int status = zkt::Run(arguments, environment);
    // The files go; the descriptors stay open (on /dev/null), so that no
    // file of the next run is opened as one of them.
    for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        Redirect("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY, fd);
    }
    result.set("status", status);
    result.set("stdout", BytesArray(Collect(kOutput)));
    result.set("stderr", BytesArray(Collect(kError)));
    ::unlink(kInput.c_str());
    return result;
}

}  // namespace solvena::web
