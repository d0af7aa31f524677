// SPDX-License-Identifier: MIT
#include "filedialog/format_choices.h"

namespace solvena::filedialog {

using document::Encoding;
using document::LineEnd;
using document::TextFormat;

QList<OpenChoice> OpenChoices() {
    return {
        {QStringLiteral("自動判別"), std::nullopt},
        {QStringLiteral("Shift_JIS"), Encoding::Cp932},
        {QStringLiteral("UTF-8"), Encoding::Utf8},
    };
}

QList<SaveChoice> SaveChoices(const TextFormat& document) {
    const bool bom = document.encoding == Encoding::Utf8 && document.byteOrderMark;
    QList<SaveChoice> choices{
        {QStringLiteral("Shift_JIS (CR LF)"), TextFormat(Encoding::Cp932, LineEnd::CrLf)},
        {QStringLiteral("UTF-8 (LF)"), TextFormat(Encoding::Utf8, LineEnd::Lf, bom)},
        {QStringLiteral("UTF-8 (CR LF)"), TextFormat(Encoding::Utf8, LineEnd::CrLf, bom)},
    };
    if (document.encoding == Encoding::Cp932 && document.lineEnd == LineEnd::Lf) {
        choices.append({QStringLiteral("Shift_JIS (LF)"), document});
    }
    return choices;
}

int SaveChoiceOf(const QList<SaveChoice>& choices, const TextFormat& document) {
    for (int i = 0; i < choices.size(); ++i) {
        const TextFormat& format = choices[i].format;
        if (format.encoding == document.encoding && format.lineEnd == document.lineEnd) {
            return i;
        }
    }
    return 0;
}

}  // namespace solvena::filedialog
