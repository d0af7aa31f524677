// SPDX-License-Identifier: MIT
#include "document/cp932_table.h"

#include <memory>

namespace solvena::document::detail {
namespace {

// The way there and back through the two halves of the table.
void BuildRoundTrip(Cp932Table& table) {
    table.readsBackAs.resize(0x10000);
    for (char32_t u = 0; u < 0x10000; ++u) {
        const std::uint16_t code = table.code[u];
        std::int32_t back = Cp932Table::kNoUnit;
        if (code > 0xFF) {
            back = table.pair[code];
        } else if (code != Cp932Table::kNoCode) {
            back = table.single[code];
        }
        table.readsBackAs[u] =
            static_cast<char16_t>(back >= 0 ? back : static_cast<std::int32_t>(u));
    }
}

void FindUsualLeadBytes(Cp932Table& table) {
    table.usualLeadBytes = true;
    for (std::size_t byte = 0; byte < 256; ++byte) {
        const bool usual = (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
        table.usualLeadBytes &= usual == (table.single[byte] == Cp932Table::kLeadByte);
    }
}

std::unique_ptr<Cp932Table> Build() {
    auto table = std::make_unique<Cp932Table>();
    if (!FillCodes(*table)) {
        return nullptr;
    }
    FindUsualLeadBytes(*table);
    BuildRoundTrip(*table);
    return table;
}

}  // namespace

std::vector<std::uint16_t> FirstCodes(const Cp932Table& table) {
    std::vector<std::uint16_t> code(0x10000, Cp932Table::kNoCode);
    const auto take = [&](std::int32_t unit, std::size_t bytes) {
        if (unit >= 0 && code[static_cast<std::size_t>(unit)] == Cp932Table::kNoCode) {
            code[static_cast<std::size_t>(unit)] = static_cast<std::uint16_t>(bytes);
        }
    };
    for (std::size_t byte = 0; byte < 256; ++byte) {
        take(table.single[byte], byte);
    }
    for (std::size_t bytes = 0x100; bytes < table.pair.size(); ++bytes) {
        take(table.pair[bytes], bytes);
    }
    return code;
}

const Cp932Table* Cp932() {
    static const std::unique_ptr<Cp932Table> table = Build();
    return table.get();
}

}  // namespace solvena::document::detail
