// SPDX-License-Identifier: MIT
#include "ranking/pass_ranking.h"

#include <algorithm>

#include "cipher/decipher.h"
#include "cipher/pass_entry.h"

namespace solvena::ranking {
namespace {

// Every candidate is screened on this many units of its text, the
// kShortlist cheapest of them judged on kSampleUnits units.
constexpr std::size_t kScreenUnits = 64;
constexpr std::size_t kShortlist = 256;
constexpr std::size_t kSampleUnits = 512;
// A damaged text is ranked on what comes before its first damage when that
// is at least this many units: after a group lost or added, every pass
// number reads the rest with the signs turned about.
constexpr std::size_t kRankedBeforeDamage = 256;
// At least this many leaders of the sample are judged on the whole text.
constexpr std::size_t kLeaders = 16;

// Every group's unit is its value plus or minus the pass number, modulo
// 65536, the sign fixed by the group's place in the cycle. Deciphering once
// under 0 and once under 1 therefore gives each group's value and sign, and
// the text under any pass number follows from them without reading the
// enciphered text again, exactly as DecipherText would give it.
class GroupValues {
  public:
    explicit GroupValues(std::u16string_view enciphered)
        : underZero_(cipher::DecipherText(enciphered, 0)) {
        const std::u16string underOne = cipher::DecipherText(enciphered, 1);
        down_.resize(underZero_.size());
        for (std::size_t i = 0; i < underZero_.size(); ++i) {
            down_[i] = static_cast<char16_t>(underZero_[i] - underOne[i]) == 1;
        }
    }

    std::size_t size() const { return underZero_.size(); }

    // The first `length` units deciphered under `pass`, into `out`.
    void Decipher(std::int16_t pass, std::size_t length, std::u16string& out) const {
        out.resize(length);
        const auto p = static_cast<std::uint16_t>(pass);
        for (std::size_t i = 0; i < length; ++i) {
            const std::uint16_t zero = underZero_[i];
            out[i] = static_cast<char16_t>(down_[i] != 0 ? zero - p : zero + p);
        }
    }

  private:
    std::u16string underZero_;
    std::vector<std::uint8_t> down_;
};

struct SampleCost {
    textmodel::TextMeasure measure;
    std::size_t candidate;
};

}  // namespace

bool PassRanking::LooksLikeText() const {
    return !best.empty() && !textmodel::GarbageByItself(best[0].measure) &&
           cipher::EvidenceFactor(evidence) >= cipher::kEnoughEvidence;
}

bool PassRanking::ClearlyAhead() const {
    return LooksLikeText() && runnerUpBits - best[0].measure.bits >= kClearLeadBits;
}

PassRanking RankPassNumbers(std::u16string_view enciphered, std::size_t count) {
    textmodel::TextModel model;
    return RankPassNumbers(enciphered, count, model);
}

PassRanking RankPassNumbers(std::u16string_view enciphered, std::size_t count,
                            textmodel::TextModel& model) {
    PassRanking ranking;
    ranking.evidence = cipher::ExamineEnciphered(enciphered);
    const double evidence = cipher::EvidenceFactor(ranking.evidence);
    const std::vector<cipher::PassCandidate> candidates = cipher::PassCandidates();
    const std::optional<cipher::DamagePlace>& damage = ranking.evidence.damage;
    const std::u16string readable = damage && damage->position > kRankedBeforeDamage
                                        ? cipher::ClosedBefore(enciphered, damage->position - 1)
                                        : std::u16string();
    const GroupValues groups(readable.empty() ? enciphered : std::u16string_view(readable));

    const std::size_t sampleUnits = std::min(groups.size(), kSampleUnits);
    const std::size_t screenUnits = std::min(sampleUnits, kScreenUnits);
    std::vector<SampleCost> sample;
    sample.reserve(candidates.size());
    std::u16string text;
    for (std::size_t c = 0; c < candidates.size(); ++c) {
        groups.Decipher(candidates[c].pass, screenUnits, text);
        sample.push_back({model.Measure(text), c});
    }
    // Ties keep the candidates' order, so the result is the same every time.
    const auto cheaper = [](const SampleCost& a, const SampleCost& b) {
        return a.measure.bits != b.measure.bits ? a.measure.bits < b.measure.bits
                                                : a.candidate < b.candidate;
    };
    if (sampleUnits > screenUnits && sample.size() > kShortlist) {
        std::partial_sort(sample.begin(), sample.begin() + kShortlist, sample.end(), cheaper);
        sample.resize(kShortlist);
        for (SampleCost& cost : sample) {
            groups.Decipher(candidates[cost.candidate].pass, sampleUnits, text);
            cost.measure = model.Measure(text);
        }
    }
    const std::size_t leaders = std::min(std::max(count, kLeaders), sample.size());
    std::partial_sort(sample.begin(), sample.begin() + static_cast<std::ptrdiff_t>(leaders),
                      sample.end(), cheaper);

    for (std::size_t k = 0; k < leaders; ++k) {
        const cipher::PassCandidate& candidate = candidates[sample[k].candidate];
        RankedPass ranked{candidate.pass, candidate.entry, sample[k].measure, 0, {}};
        if (groups.size() > sampleUnits) {
            groups.Decipher(candidate.pass, groups.size(), text);
            ranked.measure = model.Measure(text);
        }
        ranked.score = textmodel::Score(ranked.measure) * evidence;
        groups.Decipher(candidate.pass, std::min(groups.size(), kOpeningUnits), ranked.opening);
        ranking.best.push_back(std::move(ranked));
    }
    std::stable_sort(
        ranking.best.begin(), ranking.best.end(),
        [](const RankedPass& a, const RankedPass& b) { return a.measure.bits < b.measure.bits; });
    if (ranking.best.size() > 1) {
        ranking.runnerUpBits = ranking.best[1].measure.bits;
    }
    ranking.best.resize(std::min(count, ranking.best.size()));
    return ranking;
}

}  // namespace solvena::ranking
