// SPDX-License-Identifier: MIT
#include "cipher/value_code.h"

#include <cstdlib>

#include "cipher/alphabet.h"

namespace solvena::cipher {

void AppendValueCode(std::int32_t v, std::string& out) {
    // Integer division truncates towards zero and the remainder takes the
    // sign of the dividend, which is the rounding the command relies on.
    const std::int32_t q = v / 43;
    const auto r = static_cast<std::int16_t>(std::abs(v % 43));
    if (q > 43 || q < -43) {
        const std::int32_t q2 = q / 43;
        const auto m = static_cast<std::int16_t>(std::abs(q % 43));
        if (q2 > 0) {
            out += st(static_cast<std::int16_t>(q2));
        } else {
            out += '-';
            out += st(static_cast<std::int16_t>(-q2));
        }
        out += st(m);
        out += st(r);
    } else if (q < 0) {
        out += '-';
        out += st(static_cast<std::int16_t>(-q));
        out += st(r);
    } else if (q > 0) {
        out += st(static_cast<std::int16_t>(q));
        out += st(r);
    } else {
        if (v < 0) {
            out += '-';
        }
        out += st(r);
    }
}

std::string ValueCode(std::int32_t v) {
    std::string code;
    AppendValueCode(v, code);
    return code;
}

std::uint32_t PackedValueCode(std::int32_t v) {
    const std::string code = ValueCode(v);
    std::uint32_t packed = 0;
    for (std::size_t i = 0; i < code.size() && i < 4; ++i) {
        packed |= std::uint32_t{static_cast<unsigned char>(code[i])} << (8 * i);
    }
    return packed;
}

std::uint64_t ValueCodeEntry(std::int32_t v) {
    return PackedValueCode(v) | std::uint64_t{ValueCode(v).size()} << 32;
}

}  // namespace solvena::cipher
