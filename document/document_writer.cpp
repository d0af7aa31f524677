// SPDX-License-Identifier: MIT
// DocumentWriter: a document text written a piece at a time.

#include <string_view>

#include "document/document_stream.h"
#include "document/text_scans.h"

namespace solvena::document {

using scans::kCr;
using scans::kLf;
using scans::kUtf16leBom;
using scans::kUtf8Bom;

DocumentWriter::DocumentWriter(const TextFormat& format, std::string name)
    : format_(format), name_(std::move(name)) {}

void DocumentWriter::Add(std::u16string_view text, std::string& bytes) {
    const bool lf = format_.lineEnd == LineEnd::Lf;
    std::u16string_view source = text;
    if (!held_.empty() || lf) {
        scratch_.assign(held_);
        scratch_.append(text);
        source = scratch_;
    }
    std::size_t keep = source.size();
    if (keep > 0 && format_.encoding != Encoding::Utf16le && IsHighSurrogate(source[keep - 1])) {
        --keep;
    }
    if (keep > 0 && lf && source[keep - 1] == kCr) {
        --keep;
    }
    held_.assign(source.substr(keep));
    if (!lf) {
        Encode(source.substr(0, keep), source.substr(0, keep), bytes);
        return;
    }
    // Every CR LF becomes LF; lines and columns are counted in the text
    // as it was.
    original_.assign(source.substr(0, keep));
    std::size_t w = 0;
    for (std::size_t r = 0; r < keep; ++r) {
        if (!(scratch_[r] == kCr && r + 1 < keep && scratch_[r + 1] == kLf)) {
            scratch_[w++] = scratch_[r];
        }
    }
    Encode(std::u16string_view(scratch_).substr(0, w), original_, bytes);
}

TextPlace DocumentWriter::PlaceOf(std::u16string_view text, std::u16string_view original,
                                  std::size_t index) const {
    if (text.data() != original.data()) {
        index = IndexBeforeLfForm(original, index);
    }
    TextPlace place = place_;
    for (std::size_t i = 0; i < index; ++i) {
        place.Pass(original[i]);
    }
    return place;
}

void DocumentWriter::Encode(std::u16string_view text, std::u16string_view original,
                            std::string& bytes) {
    if (!started_) {
        started_ = true;
        if (format_.byteOrderMark && format_.encoding != Encoding::Cp932) {
            bytes += format_.encoding == Encoding::Utf8 ? kUtf8Bom : kUtf16leBom;
        }
    }
    Encoded encoded = document::Encode(text, format_.encoding);
    if (encoded.converterMissing) {
        converterMissing_ = true;
        return;
    }
    if (encoded.bad.count != 0) {
        if (bad_.count == 0) {
            bad_.character = encoded.bad.character;
            const TextPlace place = PlaceOf(text, original, encoded.bad.index);
            badLine_ = place.line;
            badColumn_ = place.column;
        }
        bad_.count += encoded.bad.count;
    } else if (!Failed()) {
        bytes += encoded.bytes;
        if (format_.encoding == Encoding::Cp932) {
            std::size_t first = 0;
            char16_t becomes = 0;
            const std::uint64_t count = CountLookAlikes(text, encoded.bytes, first, becomes);
            if (count != 0 && lookAlikes_.count == 0) {
                const TextPlace place = PlaceOf(text, original, first);
                lookAlikes_.first = text[first];
                lookAlikes_.becomes = becomes;
                lookAlikes_.line = place.line;
                lookAlikes_.column = place.column;
            }
            lookAlikes_.count += count;
        }
    }
    // Places are needed for the first character of each kind only.
    const bool locate =
        bad_.count == 0 || (format_.encoding == Encoding::Cp932 && lookAlikes_.count == 0);
    if (locate && format_.encoding != Encoding::Utf16le) {
        for (const char16_t c : original) {
            place_.Pass(c);
        }
    }
}

files::Status DocumentWriter::Finish(std::string& bytes) {
    if (!held_.empty()) {
        const std::u16string rest = std::move(held_);
        held_.clear();
        // Nothing follows to complete it; it holds no CR LF.
        Encode(rest, rest, bytes);
    }
    if (!started_) {
        Encode(u"", u"", bytes);
    }
    if (converterMissing_) {
        return files::ConverterMissing(name_, EncodingName(format_.encoding));
    }
    if (Failed()) {
        return UnstorableError(name_, format_.encoding, bad_, badLine_, badColumn_);
    }
    bytes.append(LineEndBytes(format_));
    return files::Done{};
}

std::optional<LookAlikes> DocumentWriter::FoundLookAlikes() const {
    if (lookAlikes_.count == 0) {
        return std::nullopt;
    }
    return lookAlikes_;
}

}  // namespace solvena::document
