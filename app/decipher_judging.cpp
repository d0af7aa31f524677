// SPDX-License-Identifier: MIT
#include "app/decipher_judging.h"

#include <chrono>

#include "cipher/decipher.h"
#include "desktop/text_convert.h"

namespace solvena::app {

DecipherJudging::DecipherJudging(const QString& enciphered, std::int16_t pass) {
    // The document cannot change during the run: the copy shares its text.
    // Judged here, when it comes to it, if no thread can be had.
    verdict_ = std::async(std::launch::async | std::launch::deferred, [enciphered, pass] {
        const std::u16string_view text = desktop::ToU16View(enciphered);
        ranking::DecipherJudge judge(pass);
        judge.FeedEnciphered(text);
        judge.FeedDeciphered(cipher::DecipherText(text, pass));
        const ranking::Decipherment verdict = judge.Finish();
        return Judgement{verdict, judge.Evidence()};
    });
}

std::optional<Judgement> DecipherJudging::Verdict(const std::function<bool()>& keepWaiting) {
    // Asked once even when the verdict is in already: キャンセル pressed as
    // the run ended is answered before the result takes the document's place.
    do {
        if (!keepWaiting()) {
            return std::nullopt;
        }
    } while (verdict_.wait_for(std::chrono::milliseconds(10)) == std::future_status::timeout);
    return verdict_.get();
}

}  // namespace solvena::app
