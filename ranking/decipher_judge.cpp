// SPDX-License-Identifier: MIT
#include "ranking/decipher_judge.h"

#include <algorithm>
#include <chrono>
#include <system_error>

#include "cipher/decipher.h"
#include "ranking/pass_ranking.h"

namespace solvena::ranking {
DecipherJudge::DecipherJudge(std::int16_t pass) : pass_(pass) {}

void DecipherJudge::FeedEnciphered(std::u16string_view piece) {
    scan_.Feed(piece);
    // Once cut, the opening is only read (by a judgement aside, perhaps).
    if (!openingCut_) {
        const std::size_t room = kJudgedOpening - opening_.size();
        opening_.append(piece.substr(0, room));
        openingCut_ = piece.size() > room;
    }
}

void DecipherJudge::FeedDeciphered(std::u16string_view piece) {
    census_.Feed(piece);
}

void DecipherJudge::JudgeOpeningAside() {
    try {
        aside_ = std::async(std::launch::async, [this] { return JudgeOpening(); });
    } catch (const std::system_error&) {
        // No thread to be had (a page in a browser): judged when asked.
    }
}

std::optional<bool> DecipherJudge::OtherPassBetterIfKnown() {
    if (aside_.valid() && aside_.wait_for(std::chrono::seconds(0)) != std::future_status::ready) {
        return std::nullopt;
    }
    return OtherPassBetter();
}

bool DecipherJudge::OtherPassBetter() {
    if (!otherPassBetter_) {
        otherPassBetter_ = aside_.valid() ? aside_.get() : JudgeOpening();
    }
    return *otherPassBetter_;
}

bool DecipherJudge::JudgeOpening() const {
    const std::u16string closed =
        openingCut_ ? cipher::ClosedBefore(opening_, opening_.size()) : std::u16string();
    const std::u16string_view enciphered = openingCut_ ? std::u16string_view(closed) : opening_;
    const std::u16string deciphered = cipher::DecipherText(enciphered, pass_);
    textmodel::TextModel model;
    const textmodel::TextMeasure measure = model.Measure(deciphered);
    if (measure.characters < textmodel::kShortestCompared) {
        return false;
    }
    const PassRanking ranking = RankPassNumbers(enciphered, 1, model, {});
    const RankedPass& best = ranking.best[0];
    // The text is compared as what it costs at most: as writing, or as
    // random characters such as a password, which some other pass number
    // always reads a little better by the luck of the draw.
    const double bits = std::min(measure.bits, measure.randomBits + kRandomTextBits);
    const double margin =
        std::max(kWrongPassBits, static_cast<double>(measure.units) / kUnitsPerMarginBit);
    return best.pass != pass_ && bits - best.measure.bits >= margin;
}

Decipherment DecipherJudge::Finish() {
    if (!verdict_) {
        evidence_ = scan_.Finish();
        verdict_ = Verdict(census_.Finish());
    }
    return *verdict_;
}

Decipherment DecipherJudge::GiveUp() {
    if (!verdict_) {
        evidence_ = scan_.SoFar();
        verdict_ = FormatVerdict(evidence_).value_or(Decipherment::OtherPassBetter);
    }
    return *verdict_;
}

std::optional<Decipherment> FormatVerdict(const cipher::CipherEvidence& evidence) {
    if (!evidence.HoldsEncipheredText()) {
        return Decipherment::NothingEnciphered;
    }
    // A text that ends in the end marker, or is mostly clean, is enciphered
    // text, damaged where it is not clean.
    const bool enough = cipher::EvidenceFactor(evidence) >= cipher::kEnoughEvidence;
    if (evidence.damage && (enough || evidence.markerSeen)) {
        return Decipherment::Damaged;
    }
    if (!enough) {
        return Decipherment::NotEnciphered;
    }
    return std::nullopt;
}

Decipherment DecipherJudge::Verdict(const textmodel::TextMeasure& counted) {
    if (const std::optional<Decipherment> format = FormatVerdict(evidence_)) {
        return *format;
    }
    if (textmodel::GarbageByItself(counted)) {
        return Decipherment::NotText;
    }
    return OtherPassBetter() ? Decipherment::OtherPassBetter : Decipherment::Plausible;
}

Decipherment JudgeDecipherment(std::u16string_view enciphered, std::int16_t pass,
                               std::u16string_view deciphered) {
    DecipherJudge judge(pass);
    judge.FeedEnciphered(enciphered);
    judge.FeedDeciphered(deciphered);
    return judge.Finish();
}

}  // namespace solvena::ranking
