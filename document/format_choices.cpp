// SPDX-License-Identifier: MIT
#include "document/format_choices.h"

#include <algorithm>

namespace solvena::document {
namespace {

std::u16string LabelOf(const TextFormat& format) {
    std::u16string label(EntryOf(format.encoding).label);
    label += u" (";
    label += EntryOf(format.lineEnd).label;
    label += u")";
    return label;
}

bool SameForm(const TextFormat& a, const TextFormat& b) {
    return a.encoding == b.encoding && a.lineEnd == b.lineEnd;
}

}  // namespace

std::vector<OpenChoice> OpenChoices() {
    std::vector<OpenChoice> choices{{std::u16string(kDetectedLabel), std::nullopt}};
    for (const EncodingEntry& entry : kEncodings) {
        if (entry.offered) {
            choices.push_back({std::u16string(entry.label), entry.encoding});
        }
    }
    return choices;
}

std::vector<SaveChoice> SaveChoices(const TextFormat& document) {
    std::vector<SaveChoice> choices;
    for (const SaveForm& form : kSaveForms) {
        const TextFormat format(form.encoding, form.lineEnd,
                                form.encoding == document.encoding && document.byteOrderMark);
        choices.push_back({LabelOf(format), format});
    }
    if (std::none_of(choices.begin(), choices.end(),
                     [&](const SaveChoice& c) { return SameForm(c.format, document); })) {
        choices.push_back({LabelOf(document), document});
    }
    return choices;
}

std::size_t SaveChoiceOf(const std::vector<SaveChoice>& choices, const TextFormat& document) {
    for (std::size_t i = 0; i < choices.size(); ++i) {
        if (SameForm(choices[i].format, document)) {
            return i;
        }
    }
    return 0;
}

}  // namespace solvena::document
