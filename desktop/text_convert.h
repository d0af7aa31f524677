// SPDX-License-Identifier: MIT
#pragma once

// QString holds UTF-16 code units, as the cipher and the file layer do: the
// two views of a text convert without any change to its units.

#include <QString>
#include <string>
#include <string_view>

namespace solvena::desktop {

inline std::u16string_view ToU16View(const QString& text) {
    return {reinterpret_cast<const char16_t*>(text.constData()),
            static_cast<std::size_t>(text.size())};
}

inline QString ToQString(std::u16string_view text) {
    return QString(reinterpret_cast<const QChar*>(text.data()),
                   static_cast<qsizetype>(text.size()));
}

inline QString FromAscii(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace solvena::desktop
