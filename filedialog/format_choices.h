// SPDX-License-Identifier: MIT
#pragma once

// The entries of the file dialog's 文字コード list: how a file is read in
// open mode, how it is stored in save mode. The rule and its words are
// document/format_choices.h's, which the page shows too.

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

QList<OpenChoice> OpenChoices();
QList<SaveChoice> SaveChoices(const document::TextFormat& document);

// The entry of the document's own form among SaveChoices(document).
int SaveChoiceOf(const document::TextFormat& document);

}  // namespace solvena::filedialog
