// SPDX-License-Identifier: MIT
#pragma once

// The entries of the file dialog's 文字コード list: how a file is read in
// open mode, how it is stored in save mode.

#include <QList>
#include <QString>
#include <optional>

#include "document/text_format.h"

namespace solvena::filedialog {

struct OpenChoice {
    QString label;
    std::optional<document::Encoding> encoding;  // nothing: detected
};

struct SaveChoice {
    QString label;
    document::TextFormat format;
};

// 自動判別 (first, the default), Shift_JIS, UTF-8.
QList<OpenChoice> OpenChoices();

// Shift_JIS (CR LF), UTF-8 (LF), UTF-8 (CR LF); a document of another form
// (a Shift_JIS file with LF line ends) gets an entry of its own, so that
// saving never changes it unasked. A UTF-8 document's byte-order mark stays
// with the UTF-8 entries.
QList<SaveChoice> SaveChoices(const document::TextFormat& document);

// The entry of the document's own form.
int SaveChoiceOf(const QList<SaveChoice>& choices, const document::TextFormat& document);

}  // namespace solvena::filedialog
