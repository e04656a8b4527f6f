#include "book/IndexCollation.h"

#include <array>
#include <cstdint>

namespace {

// The fold table: letters to lower case, accented letters to their base
// letter, digits, space and parentheses unchanged, the six ligature bytes
// unchanged, everything else to a space.
std::array<uint8_t, 256> MakeFoldTable()
{
    std::array<uint8_t, 256> t{};
    t.fill(' ');
    for (int c = 'a'; c <= 'z'; ++c)
        t[c] = static_cast<uint8_t>(c);
    for (int c = 'A'; c <= 'Z'; ++c)
        t[c] = static_cast<uint8_t>(c - 'A' + 'a');
    for (int c = '0'; c <= '9'; ++c)
        t[c] = static_cast<uint8_t>(c);
    t['('] = '(';
    t[')'] = ')';
    auto range = [&t](int from, int to, char base) {
        for (int c = from; c <= to; ++c)
            t[c] = static_cast<uint8_t>(base);
    };
    range(0xC0, 0xC5, 'a');
    range(0xE0, 0xE5, 'a');
    range(0xC7, 0xC7, 'c');
    range(0xE7, 0xE7, 'c');
    range(0xC8, 0xCB, 'e');
    range(0xE8, 0xEB, 'e');
    range(0xCC, 0xCF, 'i');
    range(0xEC, 0xEF, 'i');
    range(0xD1, 0xD1, 'n');
    range(0xF1, 0xF1, 'n');
    range(0xD2, 0xD6, 'o');
    range(0xD8, 0xD8, 'o');
    range(0xF2, 0xF6, 'o');
    range(0xF8, 0xF8, 'o');
    range(0xD9, 0xDC, 'u');
    range(0xF9, 0xFC, 'u');
    for (int c : {0xDD, 0xFD, 0xFF, 0x9F})
        t[c] = 'y';
    t[0x8A] = 's';
    t[0x9A] = 's';
    t[0x83] = 'f';
    t[0xA9] = 'c';
    t[0xAE] = 'r';
    t[0xB2] = '2';
    t[0xB3] = '3';
    for (int c : {0x8C, 0x9C, 0x99, 0xC6, 0xE6, 0xDF})
        t[c] = static_cast<uint8_t>(c);
    return t;
}

const std::array<uint8_t, 256>& FoldTable()
{
    static const std::array<uint8_t, 256> table = MakeFoldTable();
    return table;
}

// The two letters of a ligature byte, or null for any other byte.
const char* LigatureLetters(uint8_t c)
{
    switch (c) {
    case 0x8C:
    case 0x9C:
        return "oe";
    case 0x99:
        return "tm";
    case 0xC6:
    case 0xE6:
        return "ae";
    case 0xDF:
        return "ss";
    default:
        return nullptr;
    }
}

} // namespace

std::string FoldIndexTerm(std::string_view term)
{
    const auto& table = FoldTable();
    std::string folded;
    folded.reserve(term.size());
    for (char raw : term) {
        const uint8_t c = static_cast<uint8_t>(raw);
        if (c == 0)
            break;
        const uint8_t f = table[c];
        if (f == ' ')
            continue;
        if (const char* letters = LigatureLetters(f))
            folded.append(letters, 2);
        else
            folded.push_back(static_cast<char>(f));
    }
    return folded;
}

int CompareIndexTerms(std::string_view a, std::string_view b)
{
    return FoldIndexTerm(a).compare(FoldIndexTerm(b));
}
