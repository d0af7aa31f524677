// SPDX-License-Identifier: MIT
#pragma once

// The kinds of document file, and everything said of each: what a name's
// ending says a file holds, and the name an output gets. A type is added
// here; the windows, zkt and the page find its endings and label in its
// entry. The names of password files are gpg's: `memo.txt` is sealed as
// `memo.txt.gpg` (or `.asc` armored) and unsealed back to `memo.txt`; an
// old note `memo.zkt` holds a text, so it is sealed as `memo.txt.gpg` too.

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace solvena::document {

enum class FileType { Text, Enciphered, Sealed };

struct FileTypeEntry {
    FileType type;
    std::string_view key;        // the page's: "text"
    std::string_view extension;  // what a new file of the type is named with, no dot
    std::string_view armored;    // the text form's, where the type has one
    std::string_view alsoRead;   // one more ending read as the type
    std::u16string_view label;   // the save dialog's format button and the page's list
};

// In the order of the enum.
inline constexpr std::array<FileTypeEntry, 3> kFileTypes{{
    {FileType::Text, "text", "txt", "", "", u"txt"},
    {FileType::Enciphered, "enciphered", "zkt", "", "", u"zkt"},
    {FileType::Sealed, "sealed", "gpg", "asc", "pgp", u"OpenPGP"},
}};

constexpr bool FileTypesInEnumOrder() {
    for (std::size_t i = 0; i < kFileTypes.size(); ++i) {
        if (static_cast<std::size_t>(kFileTypes[i].type) != i) {
            return false;
        }
    }
    return true;
}
static_assert(FileTypesInEnumOrder(), "an entry's place is its type's value");

constexpr const FileTypeEntry& EntryOf(FileType type) {
    return kFileTypes[static_cast<std::size_t>(type)];
}

// Whether a name ends in a dot and one of the type's endings, in any case,
// with something before it ("notes/.gpg" is no password file).
bool HasEnding(std::string_view name, FileType type);

// The one rule for what a name says a file holds: a password file's or an
// enciphered file's ending, or else a text (whatever its ending).
FileType FileTypeOfName(std::string_view name);

// Whether a name ends as one of the types' files do: the files a folder
// lists and the page opens.
bool HasKnownEnding(std::string_view name);

// The type a key names, as the page gives it, or nothing.
std::optional<FileType> FileTypeKeyed(std::string_view key);

// `name` with the ending of `from` (if it has one) swapped for `to`'s:
// memo.txt becomes memo.zkt; any other name gets the ending added.
std::string Renamed(std::string_view name, FileType from, FileType to);

// The name a document called `name` gets as a file of `type`: memo.txt,
// memo.zkt and memo.txt.gpg are the same document's three names.
std::string NameAs(std::string_view name, FileType type);

// The name a save gives the file: one with a known ending as it is, any
// other with the ending of `type` added.
std::string SavedName(std::string_view name, FileType type);

bool IsSealedName(std::string_view path);
// Whether a password file's name asks for the text form (memo.txt.asc).
bool IsArmoredName(std::string_view path);

std::string SealedName(std::string_view path, bool armored);

// The name of the text a password file holds; none when its name does not
// end as one's, for the caller to ask.
std::optional<std::string> UnsealedName(std::string_view path);

}  // namespace solvena::document
