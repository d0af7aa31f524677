// SPDX-License-Identifier: MIT
#include "ranking/verdicts.h"

#include <string>

namespace solvena::ranking {
namespace {

std::u16string Number(std::uint64_t value) {
    const std::string digits = std::to_string(value);
    return std::u16string(digits.begin(), digits.end());
}

std::u16string_view DamageWords(cipher::Damage kind) {
    switch (kind) {
        case cipher::Damage::OutOfCycle:
            return u"区切りの記号が順番どおりでないところ";
        case cipher::Damage::OutsideAlphabets:
            return u"暗号文に使われない文字";
        case cipher::Damage::GroupTooLong:
            return u"長すぎる数字のまとまり";
        case cipher::Damage::AfterEndMarker:
            break;
    }
    return u"終わりの印の後の文字";
}

}  // namespace

std::u16string DamagedQuestion(const cipher::CipherEvidence& evidence) {
    const cipher::DamagePlace& place = *evidence.damage;
    std::u16string text(u"暗号文が壊れています。");
    text.append(Number(place.position));
    if (place.last > place.position) {
        text.append(u"～").append(Number(place.last));
    }
    text.append(u" 文字目");
    if (evidence.severalLines) {
        text.append(u"（").append(Number(place.line)).append(u" 行 ");
        text.append(Number(place.column)).append(u" 列）");
    }
    text.append(u"に").append(DamageWords(place.kind));
    text.append(u"があります。\nパスナンバーの違いではありません。結果を表示しますか？");
    return text;
}

}  // namespace solvena::ranking
