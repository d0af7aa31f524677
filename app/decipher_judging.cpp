// SPDX-License-Identifier: MIT
#include "app/decipher_judging.h"

#include <chrono>

#include "cipher/cipher_evidence.h"
#include "cipher/decipher.h"
#include "desktop/text_convert.h"

namespace solvena::app {

DecipherJudging::DecipherJudging(const QString& enciphered, std::int16_t pass) {
    const std::u16string_view text = desktop::ToU16View(enciphered);
    std::u16string judged =
        static_cast<qsizetype>(text.size()) > kJudgedUnits
            ? cipher::ClosedOpening(text.substr(0, static_cast<std::size_t>(kJudgedUnits)))
            : std::u16string(text);
    // Judged here, when it comes to it, if no thread can be had.
    verdict_ =
        std::async(std::launch::async | std::launch::deferred, [judged = std::move(judged), pass] {
            return ranking::JudgeDecipherment(judged, pass, cipher::DecipherText(judged, pass));
        });
}

std::optional<ranking::Decipherment> DecipherJudging::Verdict(
    const std::function<bool()>& keepWaiting) {
    while (verdict_.wait_for(std::chrono::milliseconds(10)) == std::future_status::timeout) {
        if (!keepWaiting()) {
            return std::nullopt;
        }
    }
    return verdict_.get();
}

}  // namespace solvena::app
