// SPDX-License-Identifier: MIT
// Any bytes as a document file: reading never fails other than with an
// error value, agrees with reading line by line, and reading what the
// writer wrote gives the text back.

#include "document/codepage.h"
#include "document/document_file.h"
#include "tests/fuzz/fuzz_input.h"
#include "tests/support/oracles.h"

namespace {

using solvena::document::CountLookAlikes;
using solvena::document::DecodeDocument;
using solvena::document::EncodeDocument;
using solvena::document::Encoding;

// A UTF-16 file may hold half a surrogate pair, which no other encoding can.
bool HasLoneSurrogate(std::u16string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool high = text[i] >= 0xD800 && text[i] < 0xDC00;
        const bool low = text[i] >= 0xDC00 && text[i] < 0xE000;
        if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) {
            ++i;
        } else if (high || low) {
            return true;
        }
    }
    return false;
}

void CheckWrittenReadsBack(std::u16string text, Encoding encoding) {
    // The rule cannot give back empty lines at the start or a lone CR.
    while (text.starts_with(u"\r\n")) {
        text.erase(0, 2);
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' && (i + 1 == text.size() || text[i + 1] != u'\n')) {
            text[i] = u' ';
        }
    }
    if (text.starts_with(u"\r\n")) {
        return;
    }
    const auto bytes = EncodeDocument(text, encoding, "fuzz");
    if (!bytes) {
        if (encoding != Encoding::Cp932 && !HasLoneSurrogate(text)) {
            solvena::fuzz::Fail("a decoded text cannot be written");
        }
        return;  // characters code page 932 cannot hold
    }
    const auto back = DecodeDocument(bytes.value(), encoding, "fuzz");
    if (!back || back.value().text.size() != text.size()) {
        solvena::fuzz::Fail("reading what was written differs");
    }
    // Code page 932 gives a look-alike back for some characters (£ as ￡),
    // which the save asks about: those, and only those, may differ.
    const std::u16string& read = back.value().text;
    std::size_t differ = 0;
    std::size_t firstDiffer = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (read[i] != text[i] && differ++ == 0) {
            firstDiffer = i;
        }
    }
    std::size_t first = 0;
    char16_t becomes = 0;
    const std::uint64_t lookAlikes =
        encoding == Encoding::Cp932 ? CountLookAlikes(text, bytes.value(), first, becomes) : 0;
    if (differ != lookAlikes || (differ > 0 && (first != firstDiffer || becomes != read[first]))) {
        solvena::fuzz::Fail("reading what was written differs beyond the look-alikes");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto detected = DecodeDocument(bytes, std::nullopt, "fuzz");
    if (detected) {
        CheckWrittenReadsBack(detected.value().text, Encoding::Utf8);
        CheckWrittenReadsBack(detected.value().text, Encoding::Cp932);
    } else if (detected.error().byteOffset > size) {
        solvena::fuzz::Fail("error offset beyond the input");
    }
    const std::u16string units = solvena::fuzz::Units(data, size);
    if (solvena::document::ApplyReadingRule(units) != solvena::testing::ReadLineByLine(units)) {
        solvena::fuzz::Fail("reading rule differs from reading line by line");
    }
    const auto utf16 = DecodeDocument(bytes, Encoding::Utf16le, "fuzz");
    if (utf16.ok() != (size % 2 == 0)) {
        solvena::fuzz::Fail("UTF-16LE accepts exactly the even lengths");
    }
    return 0;
}
