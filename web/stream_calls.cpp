// SPDX-License-Identifier: MIT
#include "web/stream_calls.h"

#include <cstdint>
#include <cstring>
#include <string>

#include "cipher/alphabet.h"
#include "cipher/decipher.h"
#include "cipher/encipher.h"
#include "document/document_stream.h"
#include "ranking/decipher_judge.h"
#include "web/cipher_calls.h"
#include "web/document_calls.h"
#include "web/format_names.h"
#include "web/js_arrays.h"
#include "web/js_errors.h"

namespace solvena::web {
namespace {

using emscripten::val;

// The next piece of a text's code units; false at the end. A Uint8Array's
// bytes are ASCII units, widened as they are copied in.
bool NextUnits(const val& source, std::u16string& units) {
    const val piece = source();
    if (piece.isNull() || piece.isUndefined()) {
        return false;
    }
    units = UnitsFrom(piece);
    return true;
}

// The source's bytes as the reader asks for them, whatever size the
// pieces come in.
class PulledBytes {
  public:
    explicit PulledBytes(val source) : source_(std::move(source)) {}

    files::Result<std::size_t> operator()(char* out, std::size_t room) {
        while (at_ == held_.size() && !ended_) {
            const val piece = source_();
            ended_ = piece.isNull() || piece.isUndefined();
            held_ = ended_ ? std::string() : BytesFrom(piece);
            at_ = 0;
        }
        const std::size_t size = std::min(room, held_.size() - at_);
        std::memcpy(out, held_.data() + at_, size);
        at_ += size;
        return size;
    }

  private:
    val source_;
    std::string held_;
    std::size_t at_ = 0;
    bool ended_ = false;
};

}  // namespace

val OpenStream(const val& source, const std::string& encoding, const std::string& lineEnd,
               const val& sink) {
    document::DocumentReader reader(PulledBytes(source), ReadChoiceNamed(encoding, lineEnd), "");
    std::u16string text;
    for (;;) {
        text.clear();
        files::Result<bool> more = reader.Next(text);
        if (!more) {
            return Failure(more.error());
        }
        if (!text.empty()) {
            sink(UnitsArray(text));
        }
        if (!more.value()) {
            break;
        }
    }
    val result = FormatValue(reader.Format());
    result.set("ok", true);
    return result;
}

void EncipherStream(const val& source, int pass, const val& sink) {
    const auto pass16 = static_cast<std::int16_t>(pass);
    std::u16string units;
    std::string groups;
    std::uint64_t before = 0;
    while (NextUnits(source, units)) {
        groups.resize(cipher::EncipherPieceRoom(units.size()));
        const char* end = cipher::EncipherPiece(units, pass16, before, groups.data());
        sink(BytesArray(
            std::string_view(groups.data(), static_cast<std::size_t>(end - groups.data()))));
        before += units.size();
    }
    sink(BytesArray(cipher::kEndMarker));
}

val DecipherStream(const val& source, int pass, const val& sink) {
    const auto pass16 = static_cast<std::int16_t>(pass);
    cipher::DecipherStream stream(pass16);
    ranking::DecipherJudge judge(pass16);
    std::u16string units;
    std::u16string plain;
    while (NextUnits(source, units)) {
        judge.FeedEnciphered(units);
        plain.clear();
        stream.Feed(units, plain);
        judge.FeedDeciphered(plain);
        sink(UnitsArray(plain));
    }
    plain.clear();
    stream.Finish(plain);
    judge.FeedDeciphered(plain);
    sink(UnitsArray(plain));
    return VerdictOf(judge);
}

val SaveStream(const val& source, const std::string& encoding, const std::string& lineEnd,
               bool byteOrderMark, const val& sink) {
    document::DocumentWriter writer(FormatNamed(encoding, lineEnd, byteOrderMark), "");
    std::u16string units;
    std::string bytes;
    while (NextUnits(source, units)) {
        bytes.clear();
        writer.Add(units, bytes);
        if (!bytes.empty()) {
            sink(BytesArray(bytes));
        }
    }
    bytes.clear();
    files::Status finished = writer.Finish(bytes);
    if (!finished) {
        return Failure(finished.error());
    }
    sink(BytesArray(bytes));
    val result = val::object();
    result.set("ok", true);
    result.set("lookAlikes", LookAlikesValue(writer.FoundLookAlikes()));
    return result;
}

}  // namespace solvena::web
