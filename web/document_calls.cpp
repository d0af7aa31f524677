// SPDX-License-Identifier: MIT
#include "web/document_calls.h"

#include <optional>
#include <vector>

#include "cipher/pass_entry.h"
#include "document/document_file.h"
#include "document/file_words.h"
#include "document/format_choices.h"
#include "ranking/verdicts.h"
#include "web/format_names.h"
#include "web/js_arrays.h"
#include "web/js_errors.h"

namespace solvena::web {
using emscripten::val;

val OpenDocument(const val& bytes, const std::string& encoding, const std::string& lineEnd) {
    const std::string data = BytesFrom(bytes);
    const document::ReadChoice choice = ReadChoiceNamed(encoding, lineEnd);
    files::Result<document::Document> read = document::DecodeDocument(data, choice, "");
    if (!read) {
        return Failure(read.error());
    }
    val result = FormatValue(read.value().format);
    result.set("ok", true);
    result.set("units", UnitsArray(read.value().text));
    return result;
}

val FormatValue(const document::TextFormat& format) {
    val result = val::object();
    result.set("encoding", val(std::string(document::EntryOf(format.encoding).key)));
    result.set("lineEnd", val(std::string(document::EntryOf(format.lineEnd).key)));
    result.set("byteOrderMark", format.byteOrderMark);
    return result;
}

val SaveDocument(const val& units, const std::string& encoding, const std::string& lineEnd,
                 bool byteOrderMark) {
    files::Result<std::string> bytes = document::EncodeDocument(
        UnitsFrom(units), FormatNamed(encoding, lineEnd, byteOrderMark), "");
    if (!bytes) {
        return Failure(bytes.error());
    }
    val result = val::object();
    result.set("ok", true);
    result.set("bytes", BytesArray(bytes.value()));
    return result;
}

val LookAlikes(const val& units) {
    return LookAlikesValue(document::FindLookAlikes(UnitsFrom(units)));
}

val LookAlikesValue(const std::optional<document::LookAlikes>& found) {
    if (!found) {
        return val::null();
    }
    val result = val::object();
    result.set("count", static_cast<double>(found->count));
    result.set("first", static_cast<int>(found->first));
    result.set("becomes", static_cast<int>(found->becomes));
    result.set("line", static_cast<double>(found->line));
    result.set("column", static_cast<double>(found->column));
    result.set("question", document::LookAlikesQuestion(*found));
    return result;
}

val OpenChoices() {
    val choices = val::array();
    for (const document::OpenChoice& choice : document::OpenChoices()) {
        val entry = val::object();
        entry.set("label", choice.label);
        entry.set("encoding", choice.encoding ? std::string(document::EntryOf(*choice.encoding).key)
                                              : std::string("auto"));
        choices.call<void>("push", entry);
    }
    return choices;
}

val SaveChoices(const std::string& encoding, const std::string& lineEnd, bool byteOrderMark) {
    const document::TextFormat own = FormatNamed(encoding, lineEnd, byteOrderMark);
    const std::vector<document::SaveChoice> choices = document::SaveChoices(own);
    const std::size_t chosen = document::SaveChoiceOf(choices, own);
    val list = val::array();
    for (std::size_t i = 0; i < choices.size(); ++i) {
        const document::TextFormat& format = choices[i].format;
        val entry = val::object();
        entry.set("label", choices[i].label);
        entry.set("encoding", std::string(document::EntryOf(format.encoding).key));
        entry.set("lineEnd", std::string(document::EntryOf(format.lineEnd).key));
        entry.set("byteOrderMark", format.byteOrderMark);
        entry.set("chosen", i == chosen);
        list.call<void>("push", entry);
    }
    return list;
}

val Words() {
    val words = val::object();
    words.set("passPrompt", std::u16string(cipher::kPassPrompt));
    words.set("passRejected", std::u16string(cipher::kPassRejected));
    words.set("doubtfulResult", std::u16string(ranking::kDoubtfulResult));
    words.set("nameToSave", std::u16string(document::kNameToSave));
    words.set("encipherToStoreAll", std::u16string(document::kEncipherToStoreAll));
    words.set("storeInUtf8", std::u16string(document::kStoreInUtf8));
    words.set("outOfMemory", std::u16string(document::kOutOfMemory));
    return words;
}

val PassEntry(const val& units) {
    const std::optional<std::int16_t> pass = cipher::ReadPassEntry(UnitsFrom(units));
    return pass ? val(static_cast<int>(*pass)) : val::null();
}

}  // namespace solvena::web
