#include "bench/SourceGenerator.h"

#include <fstream>

namespace {

// Words in device Latin; the 8-bit ones are written as their bytes.
const char* const kWords[] = {
    "the",
    "harbour",
    "clock",
    "tide",
    "water",
    "boat",
    "morning",
    "and",
    "of",
    "a",
    "to",
    "in",
    "was",
    "she",
    "he",
    "they",
    "wall",
    "light",
    "keeper",
    "quiet",
    "long",
    "rope",
    "salt",
    "bread",
    "window",
    "street",
    "bell",
    "evening",
    "stone",
    "river",
    "letter",
    "winter",
    "summer",
    "coffee",
    "ladder",
    "wheel",
    "brass",
    "caf\xe9",
    "na\xefve",
    "fa\xe7"
    "ade",
    "se\xf1or",
    "\xfc"
    "ber",
    "\xc5ngstr\xf6m",
    "cr\xe8me",
    "r\xe9sum\xe9",
    "gar\xe7on",
    "M\xfcller",
    "S\xe3o",
    "\xe9t\xe9",
    "co\xf6perate",
    "\xa3"
    "5",
    "\xbd",
    "d\xe9j\xe0",
};
constexpr uint32_t kWordCount = sizeof kWords / sizeof kWords[0];

const char* const kEscapes[] = {"\\a233", "\\a232", "\\a252", "\\a241", "\\a169", "\\a188", "\\a150"};
constexpr uint32_t kEscapeCount = sizeof kEscapes / sizeof kEscapes[0];

class CRandom {
public:
    explicit CRandom(uint32_t seed) : m_state(seed * 2654435761u + 1) {}
    uint32_t Next(uint32_t bound)
    {
        m_state = m_state * 1664525u + 1013904223u;
        return (m_state >> 8) % bound;
    }

private:
    uint32_t m_state;
};

// A paragraph of prose with some markup: italic words and, when there is
// an earlier chapter, now and then a link to one.
void AppendParagraph(std::string& text, CRandom& random, uint32_t chapters)
{
    if (random.Next(3) == 0)
        text += '\t';
    uint32_t sentences = 3 + random.Next(10);
    for (uint32_t s = 0; s < sentences; ++s) {
        uint32_t words = 6 + random.Next(18);
        for (uint32_t w = 0; w < words; ++w) {
            std::string word = kWords[random.Next(kWordCount)];
            if (w == 0 && word[0] >= 'a' && word[0] <= 'z')
                word[0] = char(word[0] - 'a' + 'A');
            if (random.Next(30) == 0)
                text += "\\i" + word + "\\i";
            else
                text += word;
            if (random.Next(40) == 0)
                text += kEscapes[random.Next(kEscapeCount)];
            if (w + 1 < words)
                text += random.Next(12) == 0 ? ", " : " ";
        }
        text += random.Next(8) == 0 ? "? " : ". ";
    }
    if (chapters > 0 && random.Next(20) == 0) {
        std::string target = std::to_string(1 + random.Next(chapters));
        text += "(\\q=\"#chapter" + target + "\"see chapter " + target + "\\q) ";
    }
    text.pop_back();
    // Most paragraphs end in CR LF, some in LF; a blank line follows.
    text += random.Next(4) == 0 ? "\n\n" : "\r\n\r\n";
}

} // namespace

void GenerateLmlSource(std::string& text, uint64_t targetBytes, uint32_t seed)
{
    CRandom random(seed);
    text += "TITLE=\"A Very Long Generated Book\"\r\n"
            "AUTHOR=\"The Generator\"\r\n"
            "PUBLISHER=\"Bench Press\"\r\n"
            "EISBN=\"978-0-0000-0000-0\"\r\n"
            "COPYRIGHT=\"\\a169 2024 nobody\"\r\n\r\n";
    uint32_t chapters = 0;
    for (uint32_t paragraph = 0; text.size() < targetBytes; ++paragraph) {
        if (paragraph % 150 == 0) {
            ++chapters;
            std::string number = std::to_string(chapters);
            text += "\\x\\Q=\"chapter" + number + "\"Chapter " + number + "\\x\r\n\r\n";
        }
        AppendParagraph(text, random, chapters);
    }
}

bool WriteLmlSource(const std::string& path, uint64_t targetBytes, uint32_t seed)
{
    std::string text;
    text.reserve(size_t(targetBytes + 4096));
    GenerateLmlSource(text, targetBytes, seed);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(text.data(), std::streamsize(text.size()));
    out.close();
    return bool(out);
}
