// SPDX-License-Identifier: MIT
// Document files read and written a piece at a time agree with the
// whole-file rules, wherever the pieces are cut.

#include "document/document_stream.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "document/document_file.h"
#include "files/file_io.h"
#include "tests/support/random_text.h"

namespace solvena::document {
using namespace files;
namespace {

struct Streamed {
    std::u16string text;
    std::optional<FileError> error;
    TextFormat format;
};

Streamed ReadInPieces(std::string_view bytes, const ReadChoice& choice, std::size_t piece) {
    DocumentReader reader(bytes, choice, "doc", piece);
    Streamed streamed;
    for (;;) {
        Result<bool> next = reader.Next(streamed.text);
        if (!next) {
            streamed.error = next.error();
            return streamed;
        }
        if (!next.value()) {
            streamed.format = reader.Format();
            return streamed;
        }
    }
}

// Pieces of files that the rules treat differently: both encodings, every
// kind of line break, a byte-order mark, UTF-16, bytes that are no text.
std::string RandomFile(std::mt19937& rng, int kind) {
    static const std::vector<std::string> kAscii = {"a", "Z", "12", " ", "\t", "\\"};
    static const std::vector<std::string> kBreaks = {"\r\n", "\r", "\n", "\r\n\r\n", "\n\n"};
    static const std::vector<std::string> kUtf8 = {"\xE3\x81\x82", "\xE6\x97\xA5", "\xC3\xA9",
                                                   "\xF0\x9F\x98\x80"};
    static const std::vector<std::string> kCp932 = {"\x82\xA0", "\x93\xFA", "\xB1", "\x81\x60"};
    std::uniform_int_distribution<int> roll(0, 99);
    if (kind == 4) {
        // UTF-16LE after its mark (now and then the big-endian mark, refused).
        const std::u16string text = Decode(RandomFile(rng, 0), Encoding::Utf8).text;
        std::string bytes = roll(rng) < 5 ? "\xFE\xFF" : "\xFF\xFE";
        bytes.append(reinterpret_cast<const char*>(text.data()), text.size() * 2);
        return bytes;
    }
    std::string bytes = kind == 3 ? "\xEF\xBB\xBF" : "";
    const int parts = std::uniform_int_distribution<int>(0, 40)(rng);
    for (int i = 0; i < parts; ++i) {
        const int r = roll(rng);
        const auto& pool = r < 50 ? kAscii : r < 70 ? kBreaks : kind == 1 ? kCp932 : kUtf8;
        bytes += pool[std::uniform_int_distribution<std::size_t>(0, pool.size() - 1)(rng)];
        if (r == 99 && kind == 2) {
            bytes += "\xFF";  // no text in either encoding
        }
    }
    return bytes;
}

TEST(DocumentReaderTest, OnePieceReadsAsTheWholeFile) {
    std::mt19937 rng(17);
    for (int round = 0; round < 4000; ++round) {
        const std::string bytes = RandomFile(rng, round % 5);
        const ReadChoice choice =
            round % 7 == 0 ? ReadChoice(Encoding::Cp932, LineEnd::Lf) : ReadChoice();
        const Result<Document> whole = DecodeDocument(bytes, choice, "doc");
        const Streamed streamed = ReadInPieces(bytes, choice, 1 << 20);
        if (!whole) {
            ASSERT_TRUE(streamed.error) << round;
            EXPECT_EQ(streamed.error->kind, whole.error().kind) << round;
            EXPECT_EQ(streamed.error->byteOffset, whole.error().byteOffset) << round;
            EXPECT_EQ(streamed.error->encoding, whole.error().encoding) << round;
            continue;
        }
        ASSERT_FALSE(streamed.error) << round << ": " << streamed.error->Describe();
        EXPECT_EQ(streamed.text, whole.value().text) << round;
        EXPECT_EQ(streamed.format, whole.value().format) << round;
    }
}

// Small pieces cut characters, CR LF pairs and the byte-order mark apart.
// Where the file shows late that it reads otherwise, the reader says so at
// the byte that shows it; everything else reads as the whole file does.
TEST(DocumentReaderTest, PiecesOfAnySizeReadAsTheWholeFile) {
    std::mt19937 rng(23);
    for (int round = 0; round < 3000; ++round) {
        const std::string bytes = RandomFile(rng, round % 5);
        const Result<Document> whole = DecodeDocument(bytes, {}, "doc");
        const Streamed streamed = ReadInPieces(bytes, {}, static_cast<std::size_t>(1 + round % 9));
        if (streamed.error && streamed.error->kind == FileError::Kind::ReadOtherwise) {
            const char shown = bytes[static_cast<std::size_t>(streamed.error->byteOffset)];
            EXPECT_TRUE(shown == '\r' || static_cast<unsigned char>(shown) >= 0x80) << round;
            continue;
        }
        if (!whole) {
            ASSERT_TRUE(streamed.error) << round;
            EXPECT_EQ(streamed.error->byteOffset, whole.error().byteOffset) << round;
            continue;
        }
        ASSERT_FALSE(streamed.error) << round << ": " << streamed.error->Describe();
        EXPECT_EQ(streamed.text, whole.value().text) << round;
    }
}

// From a pipe, whose reads return whatever has been written so far: the
// pieces fall wherever the writer paused.
TEST(DocumentReaderTest, APipeReadsAsTheWholeFile) {
    std::mt19937 rng(5);
    std::string bytes;
    while (bytes.size() < 300000) {
        bytes += RandomFile(rng, 0);
        bytes += "\r\n";
    }
    const Result<Document> whole = DecodeDocument(bytes, {}, "doc");
    ASSERT_TRUE(whole.ok());
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    std::signal(SIGPIPE, SIG_IGN);
    std::thread writer([&] {
        for (std::size_t at = 0; at < bytes.size();) {
            const std::size_t size = std::min<std::size_t>(1 + rng() % 5000, bytes.size() - at);
            if (!WriteAll(ends[1], std::string_view(bytes).substr(at, size), "pipe")) {
                break;  // the reader stopped; closing the pipe ends the test
            }
            at += size;
        }
        ::close(ends[1]);
    });
    DocumentReader reader(ends[0], {}, "pipe", 4096);
    std::u16string text;
    Result<bool> next = true;
    while (next && next.value()) {
        next = reader.Next(text);
    }
    ::close(ends[0]);  // a writer still writing gets EPIPE and stops
    writer.join();
    ASSERT_TRUE(next.ok()) << next.error().Describe();
    EXPECT_EQ(text, whole.value().text);
    EXPECT_EQ(reader.Format(), whole.value().format);
}

// From a function that gives a few bytes at a time (a browser's file read
// slice by slice), whose failure is the reader's.
TEST(DocumentReaderTest, APullReadsAsTheWholeFileAndFailsWithIt) {
    std::mt19937 rng(11);
    std::string bytes;
    while (bytes.size() < 100000) {
        bytes += RandomFile(rng, 0);
        bytes += "\r\n";
    }
    const Result<Document> whole = DecodeDocument(bytes, {}, "doc");
    ASSERT_TRUE(whole.ok());
    std::size_t at = 0;
    const std::size_t failAt = bytes.size() / 2;
    bool failing = false;
    auto pull = [&](char* out, std::size_t room) -> Result<std::size_t> {
        if (failing && at >= failAt) {
            return SystemError(FileError::Kind::ReadFailed, "doc", EIO);
        }
        const std::size_t size = std::min({room, std::size_t{1 + rng() % 3000}, bytes.size() - at});
        std::copy_n(bytes.data() + at, size, out);
        at += size;
        return size;
    };
    for (const bool fails : {false, true}) {
        at = 0;
        failing = fails;
        DocumentReader reader(pull, {}, "doc", 4096);
        std::u16string text;
        Result<bool> next = true;
        while (next && next.value()) {
            next = reader.Next(text);
        }
        if (fails) {
            ASSERT_FALSE(next.ok());
            EXPECT_EQ(next.error().kind, FileError::Kind::ReadFailed);
            continue;
        }
        ASSERT_TRUE(next.ok()) << next.error().Describe();
        EXPECT_EQ(text, whole.value().text);
        EXPECT_EQ(reader.Format(), whole.value().format);
    }
}

TEST(DocumentReaderTest, ALaterByteThatContradictsFailsThere) {
    // LF line ends, then a CR in a later piece.
    const std::string lines = std::string(100, 'a') + "\n" + std::string(100, 'b') + "\r\n";
    const Streamed cr = ReadInPieces(lines, {}, 16);
    ASSERT_TRUE(cr.error);
    EXPECT_EQ(cr.error->kind, FileError::Kind::ReadOtherwise);
    EXPECT_EQ(cr.error->byteOffset, 201u);
    EXPECT_NE(cr.error->Describe().find("byte offset 201"), std::string::npos);
    // UTF-8, then a byte that is not.
    const std::string mixed = "\xE3\x81\x82" + std::string(100, 'a') + "\x82\xA0";
    const Streamed utf8 = ReadInPieces(mixed, {}, 16);
    ASSERT_TRUE(utf8.error);
    EXPECT_EQ(utf8.error->kind, FileError::Kind::ReadOtherwise);
    EXPECT_EQ(utf8.error->byteOffset, 103u);
    // Given, nothing is guessed and nothing contradicts.
    EXPECT_FALSE(ReadInPieces(lines, ReadChoice(std::nullopt, LineEnd::CrLf), 16).error);
}

TEST(DocumentWriterTest, PiecesGiveTheBytesOfTheWholeText) {
    std::mt19937 rng(41);
    const std::vector<TextFormat> formats = {
        TextFormat(Encoding::Cp932), TextFormat(Encoding::Utf8, LineEnd::Lf),
        TextFormat(Encoding::Utf8, LineEnd::CrLf, true), TextFormat(Encoding::Utf16le, LineEnd::Lf),
        TextFormat(Encoding::Cp932, LineEnd::Lf)};
    for (int round = 0; round < 1500; ++round) {
        // Japanese with look-alikes, emoji, lone CRs and lone surrogates now
        // and then.
        std::u16string text = testing::RandomJapanese(rng, static_cast<std::size_t>(round % 200));
        const int extra = round % 5;
        for (int k = 0; k < extra && !text.empty(); ++k) {
            const std::size_t at = rng() % text.size();
            static constexpr char16_t kOdd[] = u"\u301C\r\n\xD83D\xDE00\xDC00";
            text.insert(at, 1, kOdd[rng() % 6]);
        }
        const TextFormat& format = formats[static_cast<std::size_t>(round) % formats.size()];
        const Result<std::string> whole = EncodeDocument(text, format, "out");
        DocumentWriter writer(format, "out");
        std::string bytes;
        for (std::size_t at = 0; at < text.size();) {
            const std::size_t size = std::min<std::size_t>(rng() % 9, text.size() - at);
            writer.Add(std::u16string_view(text).substr(at, size), bytes);
            at += size;
        }
        const Status finished = writer.Finish(bytes);
        if (!whole) {
            ASSERT_FALSE(finished) << round;
            EXPECT_EQ(finished.error().character, whole.error().character) << round;
            EXPECT_EQ(finished.error().count, whole.error().count) << round;
            EXPECT_EQ(finished.error().line, whole.error().line) << round;
            EXPECT_EQ(finished.error().column, whole.error().column) << round;
            continue;
        }
        ASSERT_TRUE(finished) << round;
        EXPECT_EQ(bytes, whole.value()) << round;
        if (format.encoding == Encoding::Cp932) {
            const std::optional<LookAlikes> expected = FindLookAlikes(text);
            const std::optional<LookAlikes> found = writer.FoundLookAlikes();
            ASSERT_EQ(found.has_value(), expected.has_value()) << round;
            if (found) {
                EXPECT_EQ(found->count, expected->count);
                EXPECT_EQ(found->first, expected->first);
                EXPECT_EQ(found->line, expected->line);
                EXPECT_EQ(found->column, expected->column);
            }
        }
    }
}

}  // namespace
}  // namespace solvena::document
