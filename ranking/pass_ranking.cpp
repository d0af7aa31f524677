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

// Ties keep the candidates' order, so the result is the same every time.
bool Cheaper(const SampleCost& a, const SampleCost& b) {
    return a.measure.bits != b.measure.bits ? a.measure.bits < b.measure.bits
                                            : a.candidate < b.candidate;
}

// Every pass number with the first entry that gives it, the same list every
// time: made once, as it parses some seventy thousand entries.
const std::vector<cipher::PassCandidate>& AllCandidates() {
    static const std::vector<cipher::PassCandidate> all = cipher::PassCandidates();
    return all;
}

// The three rounds of a ranking: every candidate on a few units, the
// likeliest on more, the leaders on the whole; told to `going` as they go.
class Ranker {
  public:
    Ranker(std::u16string_view enciphered, textmodel::TextModel& model,
           const RankingProgress& going)
        : candidates_(AllCandidates()),
          groups_(enciphered),
          model_(model),
          going_(going),
          sampleUnits_(std::min(groups_.size(), kSampleUnits)),
          screenUnits_(std::min(sampleUnits_, kScreenUnits)) {
        const double leaders = static_cast<double>(kLeaders * groups_.size());
        work_ = static_cast<double>(candidates_.size() * screenUnits_ + kShortlist * sampleUnits_) +
                leaders;
    }

    bool Cancelled() const { return cancelled_; }

    std::vector<SampleCost> Screen() {
        std::vector<SampleCost> sample;
        sample.reserve(candidates_.size());
        for (std::size_t c = 0; c < candidates_.size() && !cancelled_; ++c) {
            groups_.Decipher(candidates_[c].pass, screenUnits_, text_);
            sample.push_back({model_.Measure(text_), c});
            Done(screenUnits_);
        }
        return sample;
    }

    void Shortlist(std::vector<SampleCost>& sample) {
        if (sampleUnits_ <= screenUnits_ || sample.size() <= kShortlist) {
            return;
        }
        std::partial_sort(sample.begin(), sample.begin() + kShortlist, sample.end(), Cheaper);
        sample.resize(kShortlist);
        for (SampleCost& cost : sample) {
            groups_.Decipher(candidates_[cost.candidate].pass, sampleUnits_, text_);
            cost.measure = model_.Measure(text_);
            Done(sampleUnits_);
        }
    }

    std::vector<RankedPass> Leaders(std::vector<SampleCost>& sample, std::size_t wanted,
                                    double evidence) {
        const std::size_t leaders = std::min(wanted, sample.size());
        std::partial_sort(sample.begin(), sample.begin() + static_cast<std::ptrdiff_t>(leaders),
                          sample.end(), Cheaper);
        std::vector<RankedPass> best;
        for (std::size_t k = 0; k < leaders && !cancelled_; ++k) {
            const cipher::PassCandidate& candidate = candidates_[sample[k].candidate];
            RankedPass ranked{candidate.pass, candidate.entry, sample[k].measure, 0, {}};
            if (groups_.size() > sampleUnits_) {
                groups_.Decipher(candidate.pass, groups_.size(), text_);
                ranked.measure = model_.Measure(text_);
                Done(groups_.size());
            }
            ranked.score = textmodel::Score(ranked.measure) * evidence;
            groups_.Decipher(candidate.pass, std::min(groups_.size(), kOpeningUnits),
                             ranked.opening);
            best.push_back(std::move(ranked));
        }
        std::stable_sort(best.begin(), best.end(), [](const RankedPass& a, const RankedPass& b) {
            return a.measure.bits < b.measure.bits;
        });
        return best;
    }

  private:
    // `units` more units measured; the caller is told now and then.
    void Done(std::size_t units) {
        done_ += static_cast<double>(units);
        if (going_ && ++steps_ % 64 == 0) {
            cancelled_ = !going_(std::min(1.0, done_ / work_));
        }
    }

    const std::vector<cipher::PassCandidate>& candidates_;
    const GroupValues groups_;
    textmodel::TextModel& model_;
    const RankingProgress& going_;
    const std::size_t sampleUnits_;
    const std::size_t screenUnits_;
    std::u16string text_;
    double work_ = 1;
    double done_ = 0;
    std::size_t steps_ = 0;
    bool cancelled_ = false;
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
    return RankPassNumbers(enciphered, count, model, {});
}

PassRanking RankPassNumbers(std::u16string_view enciphered, std::size_t count,
                            textmodel::TextModel& model, const RankingProgress& going) {
    PassRanking ranking;
    ranking.evidence = cipher::ExamineEnciphered(enciphered);
    const std::optional<cipher::DamagePlace>& damage = ranking.evidence.damage;
    const std::u16string readable =
        damage && damage->position > kRankedBeforeDamage
            ? cipher::ClosedBefore(enciphered, static_cast<std::size_t>(damage->position - 1))
            : std::u16string();
    Ranker ranker(readable.empty() ? enciphered : std::u16string_view(readable), model, going);
    std::vector<SampleCost> sample = ranker.Screen();
    if (!ranker.Cancelled()) {
        ranker.Shortlist(sample);
    }
    if (!ranker.Cancelled()) {
        ranking.best = ranker.Leaders(sample, std::max(count, kLeaders),
                                      cipher::EvidenceFactor(ranking.evidence));
    }
    ranking.cancelled = ranker.Cancelled();
    if (ranking.best.size() > 1) {
        ranking.runnerUpBits = ranking.best[1].measure.bits;
    }
    ranking.best.resize(std::min(count, ranking.best.size()));
    return ranking;
}

}  // namespace solvena::ranking
