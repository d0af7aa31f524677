// SPDX-License-Identifier: MIT
#include "textmodel/unit_census.h"

namespace solvena::textmodel {

CountedUnit CountUnit(UnitClass own, char16_t unit, char16_t next, UnitClass nextClass,
                      UnitClass before) {
    if (own == UnitClass::CarriageReturn && next == u'\n') {
        return {UnitClass::LineFeed, true};
    }
    if (unit == 0x1B && next == u'[') {
        return {UnitClass::Symbol};
    }
    if ((own == UnitClass::HighSurrogate && nextClass != UnitClass::LowSurrogate) ||
        (own == UnitClass::LowSurrogate && before != UnitClass::HighSurrogate)) {
        return {UnitClass::Impossible};
    }
    return {own};
}

UnitCensus::UnitCensus() : plain_(0x10000) {
    std::vector<std::uint16_t> blocks;
    FillClassesAndBlocks(classOf_, blocks);
    for (std::size_t u = 0; u < plain_.size(); ++u) {
        const auto own = static_cast<UnitClass>(classOf_[u]);
        plain_[u] = own != UnitClass::CarriageReturn && own != UnitClass::HighSurrogate &&
                    own != UnitClass::LowSurrogate && own != UnitClass::Impossible && u != 0x1B;
    }
}

void UnitCensus::Feed(std::u16string_view piece) {
    std::size_t plain = 0;
    for (const char16_t unit : piece) {
        if (plain_[unit] != 0 && !holding_) {
            ++plain;
            continue;
        }
        if (plain > 0) {
            counted_.units += plain;
            counted_.characters += plain;
            before_ = UnitClass::Letter;  // of the kind that pairs with nothing
            plain = 0;
        }
        if (holding_) {
            holding_ = false;
            if (Count(held_, unit)) {
                ++counted_.units;  // the LF of a CR LF, one line break with it
                ++counted_.characters;
                continue;
            }
        }
        held_ = unit;
        holding_ = true;
    }
    counted_.units += plain;
    counted_.characters += plain;
    if (plain > 0) {
        before_ = UnitClass::Letter;
    }
}

bool UnitCensus::Count(char16_t unit, char16_t next) {
    const auto own = static_cast<UnitClass>(classOf_[unit]);
    const CountedUnit counted =
        CountUnit(own, unit, next, static_cast<UnitClass>(classOf_[next]), before_);
    ++counted_.units;
    counted_.impossible += counted.cls == UnitClass::Impossible ? 1 : 0;
    counted_.characters += counted.cls == UnitClass::LowSurrogate ? 0 : 1;
    before_ = counted.cls;
    return counted.pair;
}

TextMeasure UnitCensus::Finish() {
    if (holding_) {
        Count(held_, 0);
        holding_ = false;
    }
    return counted_;
}

}  // namespace solvena::textmodel
