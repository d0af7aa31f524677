// SPDX-License-Identifier: MIT
#include "cli/cipher_streams.h"

#include <condition_variable>
#include <memory>
#include <mutex>
#include <new>
#include <thread>

#include "cipher/cipher.h"
#include "cli/messages.h"
#include "files/file_io.h"
#include "ranking/pass_ranking.h"

namespace solvena::zkt {
namespace {

// Runs `step` with running out of memory turned into the error it is.
template <class Step>
files::Status Guarded(const std::string& name, Step step) {
    try {
        return step();
    } catch (const std::bad_alloc&) {
        return files::OutOfMemory(name);
    }
}

// The next piece of the input into `piece`, when there is `more`, which
// then says whether another follows.
files::Status NextPiece(document::DocumentReader& reader, std::u16string& piece, bool& more) {
    if (!more) {
        return files::Done{};
    }
    files::Result<bool> next = reader.Next(piece);
    more = next && next.value();
    if (!next) {
        return next.error();
    }
    return files::Done{};
}

// Reads and decodes the next piece on a second thread while the one before
// is ciphered and written: the two halves of the work take about as long.
class ReadAhead {
  public:
    explicit ReadAhead(Input& input) : input_(input), thread_([this] { Run(); }) {}
    ~ReadAhead() {
        {
            const std::lock_guard lock(mutex_);
            stop_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // The next piece, swapped into `piece` (whose storage goes back to the
    // reading thread); input.more says whether another follows.
    files::Status Take(std::u16string& piece) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return ready_; });
        ready_ = false;
        piece.swap(piece_);
        input_.more = more_;
        changed_.notify_all();
        return status_;
    }

  private:
    void Run() {
        std::u16string next;
        bool more = input_.more;
        while (more) {
            next.clear();
            files::Status status = files::Done{};
            try {
                status = NextPiece(input_.reader, next, more);
            } catch (const std::bad_alloc&) {
                status = files::OutOfMemory(input_.name);
                more = false;
            }
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [this] { return !ready_ || stop_; });
            if (stop_) {
                return;
            }
            piece_.swap(next);
            status_ = std::move(status);
            more_ = more;
            ready_ = true;
            changed_.notify_all();
        }
    }

    Input& input_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::u16string piece_;  // read, not yet taken
    files::Status status_ = files::Done{};
    bool more_ = true;
    bool ready_ = false;
    bool stop_ = false;
    std::thread thread_;  // last: it starts once the rest is ready
};

}  // namespace

files::Status ReadOpening(Input& input) {
    return Guarded(input.name, [&] {
        while (input.more && input.opening.size() < kOpeningUnits) {
            files::Status read = NextPiece(input.reader, input.opening, input.more);
            if (!read) {
                return read;
            }
        }
        return files::Status(files::Done{});
    });
}

std::optional<std::string> Refusal(const Input& input, std::int16_t pass, const Names& names) {
    const std::u16string closed =
        input.more ? cipher::ClosedOpening(input.opening) : std::u16string();
    const std::u16string_view enciphered = input.more ? std::u16string_view(closed) : input.opening;
    const std::u16string plain = cipher::DecipherText(enciphered, pass);
    const std::string inputName = Shown(names.input);
    switch (ranking::JudgeDecipherment(enciphered, pass, plain)) {
        case ranking::Decipherment::Plausible:
            return std::nullopt;
        case ranking::Decipherment::NothingEnciphered:
            return "zkt: " + inputName + ": holds no enciphered text; nothing written\n";
        default: {
            const std::string recover =
                names.fromStdin ? "zkt recover" : "zkt recover " + inputName;
            return "zkt: " + inputName +
                   ": the result does not look like text: wrong pass number? (try " + recover +
                   "; --force writes it anyway)\n";
        }
    }
}

files::Status EncipherInto(int fd, Input& input, std::int16_t pass, const std::string& outputName) {
    return Guarded(outputName, [&]() -> files::Status {
        files::StreamSink sink(fd, outputName);
        std::u16string piece = std::move(input.opening);
        ReadAhead ahead(input);
        std::unique_ptr<char[]> buffer;
        std::size_t room = 0;
        std::uint64_t before = 0;
        for (;;) {
            if (cipher::EncipherPieceRoom(piece.size()) > room) {
                room = cipher::EncipherPieceRoom(piece.size());
                buffer = std::make_unique_for_overwrite<char[]>(room);
            }
            const char* end = cipher::EncipherPiece(piece, pass, before, buffer.get());
            before += piece.size();
            files::Status written = sink.Write(
                std::string_view(buffer.get(), static_cast<std::size_t>(end - buffer.get())));
            if (!written) {
                return written;
            }
            if (!input.more) {
                break;
            }
            files::Status read = ahead.Take(piece);
            if (!read) {
                return read;
            }
        }
        // Enciphered text is ASCII, the same bytes in code page 932: the
        // writing rule adds only the line end.
        return sink.Write(std::string(cipher::kEndMarker) + "\r\n");
    });
}

files::Status DecipherInto(int fd, Input& input, std::int16_t pass,
                           document::DocumentWriter& writer, const std::string& outputName) {
    return Guarded(outputName, [&]() -> files::Status {
        files::StreamSink sink(fd, outputName);
        cipher::DecipherStream stream(pass);
        std::u16string piece = std::move(input.opening);
        ReadAhead ahead(input);
        std::u16string plain;
        std::string bytes;
        for (;;) {
            plain.clear();
            stream.Feed(piece, plain);
            if (!input.more) {
                stream.Finish(plain);
            }
            writer.Add(plain, bytes);
            if (!input.more) {
                break;
            }
            if (!bytes.empty()) {
                files::Status written = sink.Write(bytes);
                if (!written) {
                    return written;
                }
                bytes.clear();
            }
            files::Status read = ahead.Take(piece);
            if (!read) {
                return read;
            }
        }
        files::Status finished = writer.Finish(bytes);
        if (!finished) {
            return finished;
        }
        return sink.Write(bytes);
    });
}

}  // namespace solvena::zkt
