// SPDX-License-Identifier: MIT
#pragma once

// The lists a person picks a file's form from, in the windows and on the
// page alike: how a file is read when it is opened, how it is stored when
// it is saved. Their words are the encodings' and line ends' labels.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/text_format.h"

namespace solvena::document {

inline constexpr std::u16string_view kDetectedLabel = u"自動判別";

struct OpenChoice {
    std::u16string label;
    std::optional<Encoding> encoding;  // nothing: detected
};

struct SaveChoice {
    std::u16string label;
    TextFormat format;
};

// The forms offered to save in, in their order.
struct SaveForm {
    Encoding encoding;
    LineEnd lineEnd;
};
inline constexpr SaveForm kSaveForms[] = {
    {Encoding::Cp932, LineEnd::CrLf},
    {Encoding::Utf8, LineEnd::Lf},
    {Encoding::Utf8, LineEnd::CrLf},
};

// 自動判別 (first, the default), then every offered encoding.
std::vector<OpenChoice> OpenChoices();

// The offered forms; a document of another form (a Shift_JIS file with LF
// line ends, a UTF-16 file) gets an entry of its own, last, so that saving
// never changes it unasked. A document's byte-order mark stays with the
// entries of its encoding.
std::vector<SaveChoice> SaveChoices(const TextFormat& document);

// The entry of the document's own form, or the first.
std::size_t SaveChoiceOf(const std::vector<SaveChoice>& choices, const TextFormat& document);

}  // namespace solvena::document
