// SPDX-License-Identifier: MIT
#include "app/mark_font.h"

#include <QFontDatabase>
#include <QStringList>
#include <QtEndian>
#include <algorithm>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "app/editor_text.h"

namespace solvena::app {
namespace {

// The marks stand on the em square of a CJK character: as wide, and within
// the ascent and descent of the Japanese fonts beside them, so that a row
// holding one is no taller than the others.
constexpr int kUnitsPerEm = 1000;
constexpr int kAdvance = 1000;
constexpr int kAscent = 800;
constexpr int kDescent = 100;

struct Point {
    int x;
    int y;
};
using Contour = std::vector<Point>;

// TrueType fills what outer contours (clockwise) enclose, less what holes
// (counter-clockwise) do; the letters' strokes are holes that never overlap.
Contour Rect(int x0, int y0, int x1, int y1, bool hole) {
    if (hole) {
        return {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
    }
    return {{x0, y0}, {x0, y1}, {x1, y1}, {x1, y0}};
}

// A letter cell: left, right, bottom, top, and the stroke's width.
struct Cell {
    int x0;
    int x1;
    int y0 = 130;
    int y1 = 630;
    int s = 100;
    int Middle() const { return (y0 + y1 - s) / 2; }
};

void AddC(std::vector<Contour>& glyph, const Cell& c) {
    glyph.push_back(Rect(c.x0, c.y0, c.x0 + c.s, c.y1, true));
    glyph.push_back(Rect(c.x0 + c.s, c.y1 - c.s, c.x1, c.y1, true));
    glyph.push_back(Rect(c.x0 + c.s, c.y0, c.x1, c.y0 + c.s, true));
}

void AddR(std::vector<Contour>& glyph, const Cell& c) {
    const int m = c.Middle();
    glyph.push_back(Rect(c.x0, c.y0, c.x0 + c.s, c.y1, true));
    glyph.push_back(Rect(c.x0 + c.s, c.y1 - c.s, c.x1 - c.s, c.y1, true));
    glyph.push_back(Rect(c.x1 - c.s, m, c.x1, c.y1, true));
    glyph.push_back(Rect(c.x0 + c.s, m, c.x1 - c.s, m + c.s, true));
    // The leg, from under the bowl down to the right.
    const int top = c.x0 + c.s + (c.x1 - c.x0) / 5;
    const int wide = c.s * 6 / 5;
    glyph.push_back({{top, m}, {c.x1 - wide, c.y0}, {c.x1, c.y0}, {top + wide, m}});
}

void AddL(std::vector<Contour>& glyph, const Cell& c) {
    glyph.push_back(Rect(c.x0, c.y0, c.x0 + c.s, c.y1, true));
    glyph.push_back(Rect(c.x0 + c.s, c.y0, c.x1, c.y0 + c.s, true));
}

void AddF(std::vector<Contour>& glyph, const Cell& c) {
    const int m = c.Middle();
    glyph.push_back(Rect(c.x0, c.y0, c.x0 + c.s, c.y1, true));
    glyph.push_back(Rect(c.x0 + c.s, c.y1 - c.s, c.x1, c.y1, true));
    glyph.push_back(Rect(c.x0 + c.s, m, c.x1 - c.s / 2, m + c.s, true));
}

std::vector<Contour> MarkGlyph(bool carriageReturn) {
    std::vector<Contour> glyph{Rect(40, -40, 960, 760, false)};
    const Cell first{150, 450};
    const Cell second{550, 850};
    if (carriageReturn) {
        AddC(glyph, first);
        AddR(glyph, second);
    } else {
        AddL(glyph, first);
        AddF(glyph, second);
    }
    return glyph;
}

// Big-endian writing, as every TrueType table is.
class Bytes {
  public:
    void U8(int v) { data_.append(static_cast<char>(v & 0xFF)); }
    void U16(int v) {
        U8(v >> 8);
        U8(v);
    }
    void U16s(std::initializer_list<int> values) {
        for (const int v : values) {
            U16(v);
        }
    }
    void U32(std::uint32_t v) {
        U16(static_cast<int>(v >> 16));
        U16(static_cast<int>(v & 0xFFFF));
    }
    void Tag(const char* tag) { data_.append(tag, 4); }
    void Pad() {
        while (data_.size() % 4 != 0) {
            U8(0);
        }
    }
    void Append(const QByteArray& more) { data_.append(more); }
    const QByteArray& Data() const { return data_; }
    qsizetype Size() const { return data_.size(); }

  private:
    QByteArray data_;
};

QByteArray Glyph(const std::vector<Contour>& contours) {
    Bytes b;
    // The box's bounds are every glyph's.
    b.U16s({static_cast<int>(contours.size()), 40, -40, 960, 760});
    int points = 0;
    for (const Contour& contour : contours) {
        points += static_cast<int>(contour.size());
        b.U16(points - 1);
    }
    b.U16(0);  // no instructions
    for (int i = 0; i < points; ++i) {
        b.U8(1);  // on the curve, coordinates as 16-bit steps
    }
    for (const bool x : {true, false}) {
        int at = 0;
        for (const Contour& contour : contours) {
            for (const Point& p : contour) {
                const int v = x ? p.x : p.y;
                b.U16(v - at);
                at = v;
            }
        }
    }
    b.Pad();
    return b.Data();
}

int PointCount(const std::vector<Contour>& contours) {
    int points = 0;
    for (const Contour& contour : contours) {
        points += static_cast<int>(contour.size());
    }
    return points;
}

QByteArray Head() {
    Bytes b;
    b.U32(0x00010000);
    b.U32(0x00010000);
    b.U32(0);  // checksum adjustment, filled in at the end
    b.U32(0x5F0F3CF5);
    // Baseline and left side bearing at 0, whole pixels; no dates.
    b.U16s({0x000B, kUnitsPerEm, 0, 0, 0, 0, 0, 0, 0, 0});
    // Bounds, regular, smallest size, direction, long offsets.
    b.U16s({40, -40, 960, 760, 0, 8, 2, 1, 0});
    return b.Data();
}

QByteArray Hhea(int glyphs) {
    Bytes b;
    b.U32(0x00010000);
    // Line metrics, widest advance, bearings and extent, an upright caret.
    b.U16s({kAscent, -kDescent, 0, kAdvance, 0, 40, 960, 1, 0, 0, 0, 0, 0, 0, 0, glyphs});
    return b.Data();
}

QByteArray Maxp(int glyphs, int points, int contours) {
    Bytes b;
    b.U32(0x00010000);
    b.U16s({glyphs, points, contours, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0});
    return b.Data();
}

// Unicode BMP, format 4: ␊ is glyph 2, ␍ glyph 1, all else .notdef.
QByteArray Cmap() {
    Bytes sub;
    const std::array<int, 3> codes{kLoneLfMark, kLoneCrMark, 0xFFFF};
    const std::array<int, 3> glyphs{2, 1, 0};
    const int segments = static_cast<int>(codes.size());
    // Search range, entry selector and range shift for 3 segments.
    sub.U16s({4, 16 + 8 * segments, 0, 2 * segments, 4, 1, 2});
    for (const int code : codes) {
        sub.U16(code);
    }
    sub.U16(0);
    for (const int code : codes) {
        sub.U16(code);
    }
    for (std::size_t i = 0; i < codes.size(); ++i) {
        sub.U16(codes[i] == 0xFFFF ? 1 : glyphs[i] - codes[i]);
    }
    for (std::size_t i = 0; i < codes.size(); ++i) {
        sub.U16(0);
    }
    Bytes b;
    b.U16s({0, 2});
    for (const auto& [platform, encoding] : {std::pair{0, 3}, std::pair{3, 1}}) {
        b.U16s({platform, encoding});
        b.U32(4 + 8 * 2);
    }
    b.Append(sub.Data());
    return b.Data();
}

QByteArray Name(const QString& family) {
    const QString postScript = QString(family).remove(QLatin1Char(' '));
    const std::array<std::pair<int, QString>, 4> names{
        {{1, family}, {2, QStringLiteral("Regular")}, {4, family}, {6, postScript}}};
    Bytes b;
    Bytes strings;
    const int count = static_cast<int>(names.size());
    b.U16s({0, count, 6 + 12 * count});
    for (const auto& [id, text] : names) {
        b.U16s({3, 1, 0x0409, id});
        b.U16s({static_cast<int>(text.size() * 2), static_cast<int>(strings.Size())});
        for (const QChar c : text) {
            strings.U16(c.unicode());
        }
    }
    b.Append(strings.Data());
    return b.Data();
}

QByteArray Post() {
    Bytes b;
    b.U32(0x00030000);  // no glyph names
    b.U32(0);
    b.U16s({-100, 50});
    for (int i = 0; i < 5; ++i) {
        b.U32(0);
    }
    return b.Data();
}

QByteArray Os2() {
    Bytes b;
    // Version, width, weight, width class, installable, then sub- and
    // superscripts, strike-out and family class.
    b.U16s({4, kAdvance, 400, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    for (int i = 0; i < 10; ++i) {
        b.U8(0);
    }
    b.U32(0);
    b.U32(1U << 8);  // bit 40: control pictures
    b.U32(0);
    b.U32(0);
    b.Tag("NONE");
    b.U16s({0x0040, kLoneLfMark, kLoneCrMark, kAscent, -kDescent, 0, kAscent, kDescent});
    b.U32(0);
    b.U32(0);
    // x height, cap height, default and break characters, context.
    b.U16s({0, 0, 0, 0, 0});
    return b.Data();
}

std::uint32_t Checksum(const QByteArray& table) {
    std::uint32_t sum = 0;
    for (qsizetype i = 0; i < table.size(); ++i) {
        const auto byte = static_cast<std::uint8_t>(table[i]);
        sum += static_cast<std::uint32_t>(byte) << (24 - 8 * (i % 4));
    }
    return sum;
}

// The tables in the order of their tags, then the file around them.
QByteArray Assemble(const std::vector<std::pair<const char*, QByteArray>>& tables) {
    const int count = static_cast<int>(tables.size());
    Bytes b;
    b.U32(0x00010000);
    // Search range, entry selector, range shift for 10 tables.
    b.U16s({count, 128, 3, count * 16 - 128});
    std::uint32_t offset = 12 + 16 * static_cast<std::uint32_t>(count);
    for (const auto& [tag, table] : tables) {
        b.Tag(tag);
        b.U32(Checksum(table));
        b.U32(offset);
        b.U32(static_cast<std::uint32_t>(table.size()));
        offset += (static_cast<std::uint32_t>(table.size()) + 3) & ~3U;
    }
    for (const auto& table : tables) {
        b.Append(table.second);
        b.Pad();
    }
    QByteArray font = b.Data();
    const std::uint32_t adjustment = 0xB1B0AFBA - Checksum(font);
    const qsizetype head = font.indexOf("head") + 8;
    const std::uint32_t at = qFromBigEndian<std::uint32_t>(font.constData() + head) + 8;
    qToBigEndian(adjustment, font.data() + at);
    return font;
}

}  // namespace

QByteArray MarkFontData() {
    const std::vector<Contour> cr = MarkGlyph(true);
    const std::vector<Contour> lf = MarkGlyph(false);
    const QByteArray crGlyph = Glyph(cr);
    const QByteArray lfGlyph = Glyph(lf);
    Bytes loca;
    loca.U32(0);
    loca.U32(0);  // .notdef draws nothing
    loca.U32(static_cast<std::uint32_t>(crGlyph.size()));
    loca.U32(static_cast<std::uint32_t>(crGlyph.size() + lfGlyph.size()));
    Bytes hmtx;
    hmtx.U16s({kAdvance, 0, kAdvance, 40, kAdvance, 40});
    const int points = std::max(PointCount(cr), PointCount(lf));
    const int contours = static_cast<int>(std::max(cr.size(), lf.size()));
    return Assemble({{"OS/2", Os2()},
                     {"cmap", Cmap()},
                     {"glyf", crGlyph + lfGlyph},
                     {"head", Head()},
                     {"hhea", Hhea(3)},
                     {"hmtx", hmtx.Data()},
                     {"loca", loca.Data()},
                     {"maxp", Maxp(3, points, contours)},
                     {"name", Name(QStringLiteral("Solvena Marks"))},
                     {"post", Post()}});
}

QFont WithMarkFont(const QFont& font) {
    static const QString family = [] {
        const int id = QFontDatabase::addApplicationFontFromData(MarkFontData());
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        return families.isEmpty() ? QString() : families.first();
    }();
    QStringList families = font.families();
    if (families.isEmpty()) {
        families.append(font.family());
    }
    if (family.isEmpty() || families.contains(family)) {
        return font;
    }
    families.append(family);
    QFont withMarks = font;
    withMarks.setFamilies(families);
    return withMarks;
}

}  // namespace solvena::app
