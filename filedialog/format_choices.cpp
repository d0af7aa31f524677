// SPDX-License-Identifier: MIT
#include "filedialog/format_choices.h"

#include "document/format_choices.h"

namespace solvena::filedialog {

QList<OpenChoice> OpenChoices() {
    QList<OpenChoice> choices;
    for (const document::OpenChoice& choice : document::OpenChoices()) {
        choices.append({QString::fromStdU16String(choice.label), choice.encoding});
    }
    return choices;
}

QList<SaveChoice> SaveChoices(const document::TextFormat& document) {
    QList<SaveChoice> choices;
    for (const document::SaveChoice& choice : document::SaveChoices(document)) {
        choices.append({QString::fromStdU16String(choice.label), choice.format});
    }
    return choices;
}

int SaveChoiceOf(const document::TextFormat& document) {
    return static_cast<int>(document::SaveChoiceOf(document::SaveChoices(document), document));
}

}  // namespace solvena::filedialog
