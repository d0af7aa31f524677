// SPDX-License-Identifier: MIT
#include "web/cipher_calls.h"

#include <cstdint>
#include <optional>
#include <string>

#include "cipher/alphabet.h"
#include "cipher/cipher_evidence.h"
#include "cipher/decipher.h"
#include "cipher/encipher.h"
#include "document/document_file.h"
#include "ranking/decipher_judge.h"
#include "ranking/pass_ranking.h"
#include "ranking/verdicts.h"
#include "web/format_names.h"
#include "web/js_arrays.h"
#include "web/js_errors.h"

namespace solvena::web {
namespace {

using emscripten::val;

// Reports are spaced by this many code units of the input: often enough
// for a bar to move smoothly, seldom enough to cost nothing.
constexpr std::int64_t kReportEvery = std::int64_t{1} << 18;

// Drives a run from yield point to yield point, reporting progress.
template <class Run>
void Drive(Run& run, const val& progress) {
    const bool reports = progress.typeOf().as<std::string>() == "function";
    std::int64_t next = kReportEvery;
    while (run.RunToYield()) {
        if (reports && run.CipherPosition() >= next) {
            progress(static_cast<double>(run.CipherPosition()),
                     static_cast<double>(run.CipherLength()));
            next = run.CipherPosition() + kReportEvery;
        }
    }
}

std::string JudgementName(ranking::Decipherment judgement) {
    return std::string(ranking::VerdictKey(judgement));
}

const char* DamageName(cipher::Damage kind) {
    switch (kind) {
        case cipher::Damage::OutOfCycle:
            return "outOfCycle";
        case cipher::Damage::OutsideAlphabets:
            return "outsideAlphabets";
        case cipher::Damage::GroupTooLong:
            return "groupTooLong";
        case cipher::Damage::AfterEndMarker:
            break;
    }
    return "afterEndMarker";
}

val DamageOf(const cipher::CipherEvidence& evidence) {
    if (!evidence.damage) {
        return val::null();
    }
    const cipher::DamagePlace& place = *evidence.damage;
    val damage = val::object();
    damage.set("kind", val(DamageName(place.kind)));
    damage.set("position", static_cast<double>(place.position));
    damage.set("last", static_cast<double>(place.last));
    damage.set("line", static_cast<double>(place.line));
    damage.set("column", static_cast<double>(place.column));
    damage.set("severalLines", evidence.severalLines);
    damage.set("question", ranking::DamagedQuestion(evidence));
    return damage;
}

}  // namespace

val VerdictOf(ranking::DecipherJudge& judge) {
    const ranking::Decipherment judgement = judge.Finish();
    val verdict = val::object();
    verdict.set("judgement", val(JudgementName(judgement)));
    verdict.set("damage", judgement == ranking::Decipherment::Damaged ? DamageOf(judge.Evidence())
                                                                      : val::null());
    return verdict;
}

val Encipher(const val& units, int pass, const val& progress) {
    const std::u16string text = UnitsFrom(units);
    cipher::EncipherRun run(text, static_cast<std::int16_t>(pass));
    Drive(run, progress);
    return BytesArray(run.TakeResult());
}

val Decipher(const val& units, int pass, const val& progress) {
    const std::u16string text = UnitsFrom(units);
    const auto pass16 = static_cast<std::int16_t>(pass);
    cipher::DecipherRun run(text, pass16);
    Drive(run, progress);
    const std::u16string plain = run.TakeResult();
    // Judged whole, as zkt judges it: the format and the characters of all
    // of it, the other pass numbers on its opening.
    ranking::DecipherJudge judge(pass16);
    judge.FeedEnciphered(text);
    judge.FeedDeciphered(plain);
    val result = VerdictOf(judge);
    result.set("units", UnitsArray(plain));
    return result;
}

val EncipherFile(const val& bytes, int pass, const std::string& encoding,
                 const std::string& lineEnd) {
    files::Result<document::Document> read =
        document::DecodeDocument(BytesFrom(bytes), ReadChoiceNamed(encoding, lineEnd), "");
    if (!read) {
        return Failure(read.error());
    }
    // Enciphered text is ASCII, the same bytes in code page 932: the writing
    // rule adds only the line end.
    std::string enciphered =
        cipher::EncipherText(read.value().text, static_cast<std::int16_t>(pass));
    enciphered += "\r\n";
    val result = val::object();
    result.set("ok", true);
    result.set("bytes", BytesArray(enciphered));
    return result;
}

val DecipherFile(const val& bytes, int pass, const std::string& encoding,
                 const std::string& lineEnd, bool byteOrderMark) {
    files::Result<document::Document> read = document::DecodeDocument(BytesFrom(bytes), {}, "");
    if (!read) {
        return Failure(read.error());
    }
    const std::u16string& enciphered = read.value().text;
    const auto pass16 = static_cast<std::int16_t>(pass);
    const std::u16string plain = cipher::DecipherText(enciphered, pass16);
    files::Result<std::string> written =
        document::EncodeDocument(plain, FormatNamed(encoding, lineEnd, byteOrderMark), "");
    if (!written) {
        return Failure(written.error());
    }
    val result = val::object();
    result.set("ok", true);
    result.set("bytes", BytesArray(written.value()));
    result.set("judgement",
               val(JudgementName(ranking::JudgeDecipherment(enciphered, pass16, plain))));
    return result;
}

val RankPassNumbers(const val& units, int count, bool opening) {
    std::u16string text = UnitsFrom(units);
    if (opening) {
        text = cipher::ClosedBefore(text, text.size());  // the group cut at its end is no damage
    }
    const ranking::PassRanking ranking =
        ranking::RankPassNumbers(text, static_cast<std::size_t>(count));
    val best = val::array();
    for (const ranking::RankedPass& candidate : ranking.best) {
        val item = val::object();
        item.set("pass", static_cast<int>(candidate.pass));
        item.set("entry", UnitsArray(candidate.entry));
        item.set("score", candidate.score);
        item.set("opening", UnitsArray(candidate.opening));
        best.call<void>("push", item);
    }
    val result = val::object();
    result.set("best", best);
    result.set("looksLikeText", ranking.LooksLikeText());
    result.set("clearlyAhead", ranking.ClearlyAhead());
    // What the format alone says: a text never enciphered has no pass number.
    const std::optional<ranking::Decipherment> format = ranking::FormatVerdict(ranking.evidence);
    result.set("format", format ? val(JudgementName(*format)) : val::null());
    return result;
}

}  // namespace solvena::web
