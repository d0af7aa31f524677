// SPDX-License-Identifier: MIT
#include "bench/found_texts.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <sstream>

#include "tests/support/random_text.h"

namespace solvena::bench {
namespace {

namespace fs = std::filesystem;

std::string ReadFile(const fs::path& path, std::size_t limit = 1 << 22) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes(limit, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(limit));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

std::optional<std::u16string> Decoded(std::string_view utf8) {
    try {
        std::u16string text;
        for (char16_t c : testing::FromUtf8(utf8)) {
            if (c == u'\n') {
                text += u'\r';
            }
            text += c;
        }
        return text;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

std::uint32_t Word(const std::string& bytes, std::size_t at, bool swapped) {
    if (at + 4 > bytes.size()) {
        return 0;
    }
    std::uint32_t w;
    std::memcpy(&w, bytes.data() + at, 4);
    return swapped ? __builtin_bswap32(w) : w;
}

// The translations of a gettext catalogue (the first form of each), in
// its order; nothing when it is not UTF-8.
std::vector<std::u16string> Translations(const fs::path& path) {
    const std::string bytes = ReadFile(path, 1 << 24);
    const std::uint32_t magic = Word(bytes, 0, false);
    const bool swapped = magic == 0xde120495;
    if (magic != 0x950412de && !swapped) {
        return {};
    }
    const std::uint32_t count = Word(bytes, 8, swapped);
    const std::uint32_t table = Word(bytes, 16, swapped);
    std::vector<std::u16string> out;
    for (std::uint32_t k = 0; k < count; ++k) {
        const std::uint32_t length = Word(bytes, table + 8 * k, swapped);
        const std::uint32_t offset = Word(bytes, table + 8 * k + 4, swapped);
        if (std::size_t(offset) + length > bytes.size()) {
            return {};
        }
        const std::string_view message(bytes.data() + offset,
                                       strnlen(bytes.data() + offset, length));
        if (k == 0 && message.find("charset=") != std::string_view::npos) {
            if (message.find("charset=UTF-8") == std::string_view::npos &&
                message.find("charset=utf-8") == std::string_view::npos) {
                return {};
            }
            continue;
        }
        if (const auto text = Decoded(message); text && !text->empty()) {
            out.push_back(*text);
        }
    }
    return out;
}

// `wanted` of `from`, spread evenly over it.
template <typename T>
std::vector<T> Spread(const std::vector<T>& from, std::size_t wanted) {
    std::vector<T> out;
    for (std::size_t k = 0; k < wanted && k < from.size(); ++k) {
        out.push_back(from[k * from.size() / std::min(wanted, from.size())]);
    }
    return out;
}

// Messages joined by line breaks until the text reaches `length` characters.
std::u16string Joined(const std::vector<std::u16string>& messages, std::size_t& next,
                      std::size_t length) {
    std::u16string text;
    while (next < messages.size() && Characters(text) < length) {
        if (!text.empty()) {
            text += u"\r\n";
        }
        text += messages[next++];
    }
    return text;
}

// One text of each form from catalogues spread over the language's
// programs, so that no one catalogue (the long lists of place and language
// names, say) makes most of them.
void AddLanguage(const std::string& language, const std::vector<fs::path>& paths,
                 std::vector<FoundText>& texts) {
    std::vector<std::vector<std::u16string>> catalogues;
    for (const fs::path& path : paths) {
        if (std::vector<std::u16string> c = Translations(path); c.size() >= 20) {
            catalogues.push_back(std::move(c));
        }
    }
    if (catalogues.size() < 4) {
        return;
    }
    std::set<std::u16string> seen;
    // The first new translation of a catalogue, from its middle on, that `fits`.
    const auto pick = [&](const std::vector<std::u16string>& c, auto&& fits) {
        for (std::size_t k = 0; k < c.size(); ++k) {
            const std::u16string& m = c[(c.size() / 2 + k) % c.size()];
            if (fits(Characters(m)) && seen.insert(m).second) {
                return m;
            }
        }
        return std::u16string();
    };
    for (const auto& c : Spread(catalogues, 6)) {
        if (std::u16string m = pick(c, [](std::size_t n) { return n < 10; }); !m.empty()) {
            texts.push_back({language, "note", m});
        }
    }
    for (const auto& c : Spread(catalogues, 8)) {
        const auto fits = [](std::size_t n) { return n >= 10 && n <= 300; };
        if (std::u16string m = pick(c, fits); !m.empty()) {
            texts.push_back({language, "message", m});
        }
    }
    const auto chosen = Spread(catalogues, 3);
    for (std::size_t f = 0; f < chosen.size(); ++f) {
        std::size_t next = chosen[f].size() / 3;
        texts.push_back({language, "paragraph", Joined(chosen[f], next, 200)});
        if (f < 2) {
            texts.push_back({language, "page", Joined(chosen[f], next, 2000)});
        }
    }
    std::size_t next = 0;
    const auto largest =
        std::max_element(catalogues.begin(), catalogues.end(),
                         [](const auto& a, const auto& b) { return a.size() < b.size(); });
    texts.push_back({language, "file", Joined(*largest, next, 30000)});
}

// Plain files: an opening paragraph, a page and up to 30,000 characters.
void AddFiles(const std::string& kind, const std::vector<fs::path>& paths,
              std::vector<FoundText>& texts) {
    for (const fs::path& path : paths) {
        const auto text = Decoded(ReadFile(path, 120000));
        if (!text || Characters(*text) < 2000) {
            continue;
        }
        texts.push_back({kind, "paragraph", text->substr(0, 200)});
        texts.push_back({kind, "page", text->substr(0, 2000)});
        texts.push_back({kind, "file", text->substr(0, 30000)});
    }
}

std::vector<fs::path> Sorted(const fs::path& folder, auto&& wanted, std::size_t most) {
    std::vector<fs::path> paths;
    std::error_code error;
    for (const auto& entry : fs::recursive_directory_iterator(folder, error)) {
        if (entry.is_regular_file(error) && wanted(entry.path())) {
            paths.push_back(entry.path());
        }
    }
    std::sort(paths.begin(), paths.end());
    return Spread(paths, most);
}

}  // namespace

std::vector<FoundText> FindTexts() {
    std::map<std::string, std::vector<fs::path>> catalogues;
    std::error_code error;
    for (const auto& language : fs::directory_iterator("/usr/share/locale", error)) {
        const fs::path messages = language.path() / "LC_MESSAGES";
        for (const auto& file : fs::directory_iterator(messages, error)) {
            if (file.path().extension() == ".mo") {
                catalogues[language.path().filename().string()].push_back(file.path());
            }
        }
    }
    std::vector<FoundText> texts;
    for (auto& [language, paths] : catalogues) {
        std::sort(paths.begin(), paths.end());
        AddLanguage(language, paths, texts);
    }
    const auto readme = [](const fs::path& p) {
        return p.filename().string().starts_with("README") && p.extension() != ".gz";
    };
    AddFiles("doc", Sorted("/usr/share/doc", readme, 8), texts);
    const auto header = [](const fs::path& p) { return p.extension() == ".h"; };
    AddFiles("source", Sorted("/usr/include", header, 8), texts);
    return texts;
}

namespace {

struct ScriptRange {
    char16_t first;
    char16_t last;
    const char* name;
};

constexpr ScriptRange kScripts[] = {
    {u'A', u'z', "Latin"},          {0x00C0, 0x024F, "Latin"},      {0x1E00, 0x1EFF, "Latin"},
    {0x0370, 0x03FF, "Greek"},      {0x0400, 0x052F, "Cyrillic"},   {0x0530, 0x058F, "Armenian"},
    {0x0590, 0x05FF, "Hebrew"},     {0x0600, 0x06FF, "Arabic"},     {0x0750, 0x077F, "Arabic"},
    {0x0900, 0x097F, "Devanagari"}, {0x0980, 0x09FF, "Bengali"},    {0x0A00, 0x0A7F, "Gurmukhi"},
    {0x0A80, 0x0AFF, "Gujarati"},   {0x0B00, 0x0B7F, "Oriya"},      {0x0B80, 0x0BFF, "Tamil"},
    {0x0C00, 0x0C7F, "Telugu"},     {0x0C80, 0x0CFF, "Kannada"},    {0x0D00, 0x0D7F, "Malayalam"},
    {0x0D80, 0x0DFF, "Sinhala"},    {0x0E00, 0x0E7F, "Thai"},       {0x0E80, 0x0EFF, "Lao"},
    {0x0F00, 0x0FFF, "Tibetan"},    {0x1000, 0x109F, "Myanmar"},    {0x10A0, 0x10FF, "Georgian"},
    {0x1200, 0x139F, "Ethiopic"},   {0x1780, 0x17FF, "Khmer"},      {0x1100, 0x11FF, "Hangul"},
    {0x3040, 0x30FF, "Kana"},       {0x3400, 0x4DBF, "Han"},        {0x4E00, 0x9FFF, "Han"},
    {0xAC00, 0xD7AF, "Hangul"},     {0xD800, 0xDBFF, "Emoji etc."},
};

}  // namespace

std::size_t Characters(std::u16string_view text) {
    return static_cast<std::size_t>(std::count_if(
        text.begin(), text.end(), [](char16_t u) { return u < 0xDC00 || u > 0xDFFF; }));
}

std::string ScriptOf(std::u16string_view text) {
    std::map<std::string, std::size_t> counts;
    bool kana = false;
    for (char16_t u : text) {
        for (const ScriptRange& r : kScripts) {
            if (u >= r.first && u <= r.last && (u >= 0x80 || std::isalpha(u))) {
                ++counts[r.name];
                kana = kana || std::string_view(r.name) == "Kana";
            }
        }
    }
    // Japanese writes kanji among its kana.
    if (kana) {
        counts["Kana"] += counts["Han"];
        counts.erase("Han");
    }
    // Latin letters stand in most texts: another script wins with a third of them.
    std::string best = "Signs";
    std::size_t most = 0;
    for (const auto& [name, count] : counts) {
        const std::size_t weighed = name == "Latin" ? count / 3 : count;
        if (weighed > most) {
            best = name;
            most = weighed;
        }
    }
    return best == "Kana" ? "Japanese" : best;
}

}  // namespace solvena::bench
