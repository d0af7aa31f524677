// SPDX-License-Identifier: MIT
#include "cli/sealed_output.h"

#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <exception>
#include <thread>

#include "files/descriptor.h"
#include "sealing/fd_streams.h"

namespace solvena::zkt {
namespace {

using Kind = files::FileError::Kind;

// The deciphering side, on a thread of its own.
class Producer {
  public:
    Producer(const files::ContentWriter& plain, files::Descriptor writeEnd)
        : writeEnd_(std::move(writeEnd)), thread_([this, &plain] { Run(plain); }) {}
    Producer(const Producer&) = delete;
    Producer& operator=(const Producer&) = delete;
    // The read end is closed first (declared after this), so the thread ends.
    ~Producer() {
        if (thread_.joinable()) {
            thread_.join();
        }
    }

    // Waits for the end of the text; what the producer's writing came to.
    files::Status Join() {
        if (thread_.joinable()) {
            thread_.join();
        }
        if (thrown_) {
            std::rethrow_exception(std::exchange(thrown_, nullptr));
        }
        return status_;
    }

  private:
    void Run(const files::ContentWriter& plain) {
        // The sealing side may stop reading: a write to the closed pipe then
        // fails on this thread instead of ending the program.
        sigset_t pipe;
        ::sigemptyset(&pipe);
        ::sigaddset(&pipe, SIGPIPE);
        ::pthread_sigmask(SIG_BLOCK, &pipe, nullptr);
        try {
            status_ = plain(writeEnd_.get());
        } catch (...) {
            thrown_ = std::current_exception();
        }
        writeEnd_ = files::Descriptor();  // the end of the text, for the reader
    }

    files::Descriptor writeEnd_;
    files::Status status_ = files::Done{};
    std::exception_ptr thrown_;
    std::thread thread_;
};

}  // namespace

files::ContentWriter SealedWriter(files::ContentWriter plain, std::string password,
                                  sealing::SealChoices choices, std::string outputName,
                                  sealing::Outcome& outcome) {
    return [=, &outcome](int fd) -> files::Status {
        int ends[2];
        if (::pipe2(ends, O_CLOEXEC) != 0) {
            return files::SystemError(Kind::WriteFailed, outputName, errno);
        }
        Producer producer(plain, files::Descriptor(ends[1]));
        files::Descriptor readEnd(ends[0]);
        int readFailure = 0;
        int writeFailure = 0;
        const sealing::Reader pipeRead = sealing::ReadFd(readEnd.get(), readFailure);
        files::Status produced = files::Done{};
        // At the end of the text, the message is finished only when the
        // text came whole.
        const sealing::Reader read = [&](char* buffer, std::size_t room, std::size_t& got) {
            if (!pipeRead(buffer, room, got)) {
                return false;
            }
            if (got == 0) {
                produced = producer.Join();
                return produced.ok();
            }
            return true;
        };
        outcome = sealing::Seal(read, sealing::WriteFd(fd, writeFailure), password, choices);
        readEnd = files::Descriptor();  // a producer still writing stops
        const files::Status joined = producer.Join();
        if (!produced) {
            return produced;  // the text's own fault, which stopped the sealing
        }
        if (outcome == sealing::Outcome::Done) {
            return joined;
        }
        // The sealing stopped first: the producer's broken pipe says nothing.
        if (outcome == sealing::Outcome::WriteFailed) {
            return files::SystemError(Kind::WriteFailed, outputName, writeFailure);
        }
        files::FileError abandoned;
        abandoned.kind = Kind::Abandoned;
        abandoned.path = outputName;
        return abandoned;
    };
}

}  // namespace solvena::zkt
