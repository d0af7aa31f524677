// SPDX-License-Identifier: MIT
#pragma once

// Document files read and written a piece at a time, in memory bounded by
// the pieces, by the rules of document_file.h: a reader gives the text
// DecodeDocument gives, a writer the bytes EncodeDocument gives.
//
// A reader decides what the whole-file rules decide, from the bytes read so
// far (a piece of a megabyte at a time): the encoding from the first piece
// that is not ASCII (UTF-8 when its first such character is UTF-8 and the
// piece reads as UTF-8, else CP932), the line end from the first piece with
// a line break (an LF and no CR: every LF ends a line). Where a later byte
// shows that the whole file would have been read otherwise (a byte that is
// not UTF-8 after UTF-8 text, a CR after LF line ends), the reader fails
// there with the byte's offset rather than give a text the whole file would
// not. A file that fits in one piece is read exactly as the whole-file rules
// read it.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "document/document_file.h"
#include "document/text_format.h"
#include "files/file_error.h"

namespace solvena::document {

class DocumentReader {
  public:
    static constexpr std::size_t kPieceBytes = std::size_t{1} << 20;

    // Reads from an open descriptor, or from bytes in memory, which must
    // stay alive; `name` names the source in errors.
    DocumentReader(int fd, const ReadChoice& choice, std::string name,
                   std::size_t pieceBytes = kPieceBytes);
    DocumentReader(std::string_view bytes, const ReadChoice& choice, std::string name,
                   std::size_t pieceBytes = kPieceBytes);

    // Reads what `pull` gives: it fills up to `room` bytes from `out` on and
    // says how many, 0 at the end (a browser's file read a slice at a time).
    using Pull = std::function<files::Result<std::size_t>(char* out, std::size_t room)>;
    DocumentReader(Pull pull, const ReadChoice& choice, std::string name,
                   std::size_t pieceBytes = kPieceBytes);

    // Appends the next piece of the document's text to `text`. False: that
    // was the last piece, the file has ended.
    files::Result<bool> Next(std::u16string& text);

    // The file's format as far as it has been read.
    TextFormat Format() const;

  private:
    files::Result<bool> FillBytes();
    files::Status TakeByteOrderMark();
    void DecideEncoding();
    std::size_t CompleteBytes() const;
    files::Status Decode(std::string_view& bytes, std::u16string& units);
    files::Status CheckLineEnds(std::string_view bytes, std::u16string_view units);
    void ApplyRule(std::u16string_view units, bool anyBreak, std::u16string& text);
    void PassCrLfLines(std::u16string_view units, std::u16string& text);
    files::FileError ChangedAt(std::uint64_t offset, const std::string& why) const;

    int fd_ = -1;
    std::string_view memory_;
    Pull pull_;
    ReadChoice choice_;
    std::string name_;
    std::size_t pieceBytes_;

    std::string bytes_;         // read and not yet decoded
    std::uint64_t offset_ = 0;  // of bytes_[0] in the file
    bool atEnd_ = false;        // everything has been read
    bool done_ = false;         // and given out
    bool markChecked_ = false;  // the start was looked at for a byte-order mark
    bool byteOrderMark_ = false;
    std::optional<Encoding> encoding_;  // given, or decided
    bool encodingDetected_ = false;
    bool utf8Given_ = false;  // text has been given out as UTF-8
    bool sawNonAscii_ = false;
    std::optional<LineEnd> lineEnd_;  // given, or decided by the first piece with a break
    std::u16string units_;            // the decoded piece
    Decoded decoded_;

    // The reading rule across pieces.
    bool lineStarted_ = false;  // a non-empty line has been read
    std::uint64_t breaks_ = 0;  // line ends not yet written out
    bool afterCr_ = false;      // the last unit ended a line at a CR
};

// The bytes of a document text written a piece at a time.
class DocumentWriter {
  public:
    DocumentWriter(const TextFormat& format, std::string name);

    // Appends the bytes of the next piece of text to `bytes`. Once a
    // character the encoding cannot hold has been met, nothing more is
    // appended; the pieces are still looked at, to count such characters.
    void Add(std::u16string_view text, std::string& bytes);

    // Appends the line end after the text; or, when characters could not
    // be encoded, the error that names the first and counts them all.
    files::Status Finish(std::string& bytes);

    bool Failed() const { return bad_.count != 0; }

    // CP932 only: the characters that read back as others, found so far.
    std::optional<LookAlikes> FoundLookAlikes() const;

  private:
    void Encode(std::u16string_view text, std::u16string_view original, std::string& bytes);
    TextPlace PlaceOf(std::u16string_view text, std::u16string_view original,
                      std::size_t index) const;

    TextFormat format_;
    std::string name_;
    bool started_ = false;
    bool converterMissing_ = false;
    // What the next piece may complete: a high surrogate waits for its low
    // half, and in an LF format a CR for its LF.
    std::u16string held_;
    std::u16string scratch_;
    std::u16string original_;
    TextPlace place_;  // where the next piece starts
    Unrepresentable bad_;
    std::uint64_t badLine_ = 0;
    std::uint64_t badColumn_ = 0;
    LookAlikes lookAlikes_;
};

}  // namespace solvena::document
