// SPDX-License-Identifier: MIT
#include "cli/cipher_streams.h"

#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <new>
#include <thread>

#include "cipher/cipher.h"
#include "cli/messages.h"
#include "cli/refusals.h"
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

#if defined(SOLVENA_NO_THREADS)
// Without threads (a page in a browser), the next piece is read when taken.
class ReadAhead {
  public:
    using Seen = std::function<void(std::u16string_view)>;
    explicit ReadAhead(Input& input, Seen seen = nullptr) : input_(input), seen_(std::move(seen)) {}
    files::Status Take(std::u16string& piece) {
        piece.clear();
        files::Status read = NextPiece(input_.reader, piece, input_.more);
        if (seen_ && read) {
            seen_(piece);
        }
        return read;
    }

  private:
    Input& input_;
    Seen seen_;
};
#else
// Reads and decodes the next piece on a second thread while the one before
// is ciphered and written: the two halves of the work take about as long.
// `seen`, if any, is shown each piece on that thread as it is read.
class ReadAhead {
  public:
    using Seen = std::function<void(std::u16string_view)>;
    explicit ReadAhead(Input& input, Seen seen = nullptr)
        : input_(input), seen_(std::move(seen)), thread_([this] { Run(); }) {}
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
                if (seen_ && status) {
                    seen_(next);
                }
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
    Seen seen_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::u16string piece_;  // read, not yet taken
    files::Status status_ = files::Done{};
    bool more_ = true;
    bool ready_ = false;
    bool stop_ = false;
    std::thread thread_;  // last: it starts once the rest is ready
};
#endif

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

namespace {

std::string RecoverCommand(const Names& names) {
    return names.fromStdin ? "zkt recover" : "zkt recover " + Shown(names.input);
}

// The refused decipherment is given up: the save keeps the old file.
files::FileError Abandoned(const std::string& outputName) {
    files::FileError refused;
    refused.kind = files::FileError::Kind::Abandoned;
    refused.path = outputName;
    return refused;
}

}  // namespace

std::optional<std::string> EarlyRefusal(ranking::DecipherJudge& judge, const Input& input,
                                        const Names& names) {
    if (!input.more) {
        return std::nullopt;  // judged whole before anything is written
    }
    if (!names.toStdout) {
        // A file is put in place only once all of it has been judged: the
        // opening is judged meanwhile, and stops the writing once it is.
        judge.JudgeOpeningAside();
        return std::nullopt;
    }
    // Standard output cannot be taken back: the opening's format says first
    // whether the input is enciphered text at all.
    // Its whole groups: the last may go on in the next piece.
    const cipher::CipherEvidence opening =
        cipher::ExamineEnciphered(cipher::WholeGroupsBefore(input.opening, input.opening.size()));
    if (const std::optional<ranking::Decipherment> verdict = ranking::FormatVerdict(opening)) {
        return RefusalLine(*verdict, opening, Shown(names.input), RecoverCommand(names));
    }
    if (judge.OtherPassBetter()) {
        return RefusalLine(ranking::Decipherment::OtherPassBetter, {}, Shown(names.input),
                           RecoverCommand(names));
    }
    return std::nullopt;
}

std::optional<std::string> Refusal(ranking::DecipherJudge& judge, const Names& names,
                                   const std::string& outcome) {
    const ranking::Decipherment verdict = judge.Finish();
    if (verdict == ranking::Decipherment::Plausible) {
        return std::nullopt;
    }
    return RefusalLine(verdict, judge.Evidence(), Shown(names.input), RecoverCommand(names),
                       outcome);
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
                buffer = std::unique_ptr<char[]>(new char[room]);  // uninitialised
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

namespace {

// A piece deciphered into `bytes` and judged; false once the judge has seen
// enough to refuse the text.
bool DecipherPiece(cipher::DecipherStream& stream, document::DocumentWriter& writer,
                   ranking::DecipherJudge* judge, const std::u16string& piece, bool last,
                   std::u16string& plain, std::string& bytes) {
    plain.clear();
    stream.Feed(piece, plain);
    if (last) {
        stream.Finish(plain);
    }
    writer.Add(plain, bytes);
    if (judge == nullptr) {
        return true;
    }
    judge->FeedDeciphered(plain);
    return !judge->OtherPassBetterIfKnown().value_or(false);
}

// Writes what is ready and takes the next piece.
files::Status WriteAndTake(files::StreamSink& sink, std::string& bytes, ReadAhead& ahead,
                           std::u16string& piece) {
    if (!bytes.empty()) {
        files::Status written = sink.Write(bytes);
        if (!written) {
            return written;
        }
        bytes.clear();
    }
    return ahead.Take(piece);
}

}  // namespace

files::Status DecipherInto(int fd, Input& input, std::int16_t pass,
                           document::DocumentWriter& writer, const std::string& outputName,
                           ranking::DecipherJudge* judge) {
    files::Status deciphered = Guarded(outputName, [&]() -> files::Status {
        files::StreamSink sink(fd, outputName);
        cipher::DecipherStream stream(pass);
        std::u16string piece = std::move(input.opening);
        // The enciphered text is judged on the reading thread, the text
        // deciphered from it on this one.
        ReadAhead ahead(
            input, judge == nullptr ? ReadAhead::Seen() : [judge](std::u16string_view read) {
                judge->FeedEnciphered(read);
            });
        std::u16string plain;
        std::string bytes;
        for (;;) {
            if (!DecipherPiece(stream, writer, judge, piece, !input.more, plain, bytes)) {
                return Abandoned(outputName);
            }
            if (!input.more) {
                break;
            }
            if (files::Status next = WriteAndTake(sink, bytes, ahead, piece); !next) {
                return next;
            }
        }
        if (judge != nullptr && judge->Finish() != ranking::Decipherment::Plausible) {
            return Abandoned(outputName);
        }
        files::Status finished = writer.Finish(bytes);
        if (!finished) {
            return finished;
        }
        return sink.Write(bytes);
    });
    // Given up midway, the judge has seen only what was read before (and
    // the reading thread, gone now, no longer feeds it).
    if (judge != nullptr && !deciphered &&
        deciphered.error().kind == files::FileError::Kind::Abandoned) {
        judge->GiveUp();
    }
    return deciphered;
}

}  // namespace solvena::zkt
