// Reading a source as UTF-8: the conversion into device bytes, the way back
// from converted offsets, and the line and column of a byte.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "framework/core/MemBuffer.h"
#include "tools/book/SourceEncoding.h"
#include "tools/book/SourceLocation.h"
#include "tools/book/ToolMessages.h"

namespace {

const uint8_t* Bytes(const std::string& text)
{
    return reinterpret_cast<const uint8_t*>(text.data());
}

struct Converted {
    bool ok;
    std::string text;
    COffsetMap offsets{COffsetMap::kUnbounded};
    Utf8Problem problem;
};

Converted Convert(const std::string& utf8)
{
    Converted c;
    CMemBuffer out;
    c.ok = ConvertUtf8Source(Bytes(utf8), utf8.size(), out, c.offsets, c.problem);
    c.text.assign(reinterpret_cast<const char*>(out.GetData()), out.GetSize());
    return c;
}

SourceLocation Locate(const std::string& text, size_t offset, bool utf8 = true)
{
    return LocateInSource(Bytes(text), text.size(), offset, utf8);
}

// Each character the device shows becomes its byte; the rest, the trade
// mark and the card suits too (the device draws none of them), a \U code.
TEST(SourceEncoding, DeviceCharactersBecomeBytesAndOthersCodes)
{
    const Converted c = Convert("a\u00E9\u00A0\u00FF \u201C\u201D\u2014\u20AC\u0152 "
                                "\u0141\u03A9\u2122\u2660\u0080\uFEFF\u2011");
    ASSERT_TRUE(c.ok) << c.problem.text;
    EXPECT_EQ(c.text, "a\xE9\xA0\xFF \x93\x94\x97\x80\x8C "
                      "\\U0141\\U03A9\\U2122\\U2660\\U0080\\UFEFF\\U2011");
    EXPECT_EQ(DeviceByteFor(0x2022), 0x95);
    EXPECT_EQ(DeviceByteFor(0xFFFD), 0); // what the unused bytes read as
    EXPECT_EQ(DeviceByteFor(0x0081), 0);
}

TEST(SourceEncoding, LeadingByteOrderMarkIsDroppedAndOffsetsSkipIt)
{
    const Converted c = Convert("\xEF\xBB\xBF"
                                "ab"
                                "\xEF\xBB\xBF");
    ASSERT_TRUE(c.ok);
    EXPECT_EQ(c.text, "ab\\UFEFF"); // only the leading one is a mark
    EXPECT_EQ(c.offsets.Original(0), 3u);
    EXPECT_EQ(c.offsets.Original(1), 4u);
    EXPECT_EQ(c.offsets.Original(2), 5u);
    EXPECT_EQ(c.offsets.Original(7), 5u);
    EXPECT_EQ(c.offsets.Original(8), 8u); // the end
}

TEST(SourceEncoding, MalformedUtf8AndCharactersBeyondFourDigitsAreRefusedWhereTheyStand)
{
    const struct {
        std::string bytes;
        size_t offset;
        std::string text;
    } cases[] = {
        {"ok \xFF", 3, "the byte 0xFF is not part of a UTF-8 character"},
        {"ab\x80", 2, "the byte 0x80 is not part of a UTF-8 character"},                 // stray continuation
        {"ab\xC3", 2, "the byte 0xC3 is not part of a UTF-8 character"},                 // cut at the end
        {"\xC3(x", 0, "the byte 0xC3 is not part of a UTF-8 character"},                 // continuation missing
        {"x\xC0\xAF", 1, "the byte 0xC0 is not part of a UTF-8 character"},              // overlong
        {"x\xED\xA0\x80", 1, "the byte 0xED is not part of a UTF-8 character"},          // a surrogate
        {"\u00E9\xF4\x90\x80\x80", 2, "the byte 0xF4 is not part of a UTF-8 character"}, // above U+10FFFF
        {"smile \xF0\x9F\x98\x80", 6, "the character U+1F600 is beyond U+FFFF"},
    };
    for (const auto& t : cases) {
        const Converted c = Convert(t.bytes);
        EXPECT_FALSE(c.ok) << t.text;
        EXPECT_EQ(c.problem.offset, t.offset) << t.text;
        EXPECT_EQ(c.problem.text.substr(0, t.text.size()), t.text);
    }
}

TEST(SourceEncoding, ConvertedOffsetsLeadBackToTheCharacterTheyCameFrom)
{
    // a é b Ł c: 1 + 2 + 1 + 2 + 1 bytes become 1 + 1 + 1 + 6 + 1.
    const std::string utf8 = "a\u00E9b\u0141c";
    const Converted c = Convert(utf8);
    ASSERT_TRUE(c.ok);
    ASSERT_EQ(c.text, "a\xE9"
                      "b\\U0141c");
    const uint64_t expected[] = {0, 1, 3, 4, 4, 4, 4, 4, 4, 6, 7};
    for (uint64_t k = 0; k <= c.text.size(); ++k)
        EXPECT_EQ(c.offsets.Original(k), expected[k]) << "converted offset " << k;

    // Plain text in between costs no checkpoints.
    const Converted ascii = Convert(std::string(5000, 'x') + "\u00E9" + std::string(5000, 'y'));
    EXPECT_EQ(ascii.offsets.CheckpointCount(), 2u);
    EXPECT_EQ(ascii.offsets.Original(5000), 5000u);
    EXPECT_EQ(ascii.offsets.Original(5001), 5002u);
    EXPECT_EQ(ascii.offsets.Original(10000), 10001u);
}

TEST(SourceEncoding, AutoReadsAsUtf8OnlyWhatShowsItIs)
{
    const auto looks = [](const std::string& text) { return LooksLikeUtf8(Bytes(text), text.size()); };
    EXPECT_TRUE(looks("caf\xC3\xA9"));
    EXPECT_TRUE(looks("\xEF\xBB\xBFplain"));
    EXPECT_FALSE(looks("plain ASCII\n"));
    EXPECT_FALSE(looks(""));
    EXPECT_FALSE(looks("caf\xE9"));                 // device bytes
    EXPECT_FALSE(looks("caf\xC3\xA9 and caf\xE9")); // UTF-8 with one bad byte: device bytes
    EXPECT_FALSE(looks("\x93quoted\x94"));
}

TEST(SourceLocation, LinesEndAtLfCrLfAndLoneCr)
{
    const std::string text = "ab\ncd\r\nef\rg\n\nh";
    const struct {
        size_t offset;
        uint32_t line, column;
    } cases[] = {
        {0, 1, 1},  {2, 1, 3},             // the LF ends line 1
        {3, 2, 1},  {5, 2, 3},  {6, 2, 3}, // the CR and the LF of a CR LF are one place
        {7, 3, 1},  {9, 3, 3},  {10, 4, 1}, {11, 4, 2},
        {12, 5, 1}, {13, 6, 1}, {14, 6, 2}, {99, 6, 2}, // past the end: after the last character
    };
    CSourceLines lines(Bytes(text), text.size(), true);
    for (const auto& t : cases) {
        const SourceLocation place = Locate(text, t.offset);
        EXPECT_EQ(place.line, t.line) << "offset " << t.offset;
        EXPECT_EQ(place.column, t.column) << "offset " << t.offset;
        const SourceLocation indexed = lines.Locate(t.offset);
        EXPECT_EQ(indexed.line, t.line) << "offset " << t.offset;
        EXPECT_EQ(indexed.column, t.column) << "offset " << t.offset;
    }
}

TEST(SourceLocation, ColumnsCountCharacters)
{
    // é is two bytes, € three, a tab one character.
    const std::string text = "\xEF\xBB\xBF\xC3\xA9\t\xE2\x82\xACx\xFFy";
    const struct {
        size_t offset;
        uint32_t utf8Column, byteColumn;
    } cases[] = {
        {0, 1, 1},  {3, 1, 4},   {4, 1, 5},   // inside é: é's column
        {5, 2, 6},  {6, 3, 7},   {8, 3, 9},   // the tab, then €
        {9, 4, 10}, {10, 5, 11}, {11, 6, 12}, // a bad byte is one character
    };
    for (const auto& t : cases) {
        EXPECT_EQ(Locate(text, t.offset, true).column, t.utf8Column) << "offset " << t.offset;
        EXPECT_EQ(Locate(text, t.offset, false).column, t.byteColumn) << "offset " << t.offset;
        EXPECT_EQ(Locate(text, t.offset).line, 1u);
    }
    EXPECT_EQ(CSourceLines(Bytes(text), text.size(), true).Locate(10).column, 5u);
}

TEST(SourceLocation, MessagesNameThePlace)
{
    const auto write = [](const MessageStyle& style, const SourceLocation* place, MessageLevel level) {
        std::ostringstream out;
        WriteMessage(out, style, level, "text \"q\"", "", place);
        return out.str();
    };
    MessageStyle one;
    one.sourceName = "a.lml";
    const SourceLocation place{12, 4};
    const SourceLocation whole{};
    EXPECT_EQ(write(one, &place, MessageLevel::Error), "a.lml:12:4: error: text \"q\"\n");
    EXPECT_EQ(write(one, &whole, MessageLevel::Warning), "a.lml: warning: text \"q\"\n");
    EXPECT_EQ(write(one, nullptr, MessageLevel::Error), "error: text \"q\"\n");

    MessageStyle several = one;
    several.source = "b.lml";
    EXPECT_EQ(write(several, &place, MessageLevel::Warning), "b.lml:12:4: warning: text \"q\"\n");
    EXPECT_EQ(write(several, nullptr, MessageLevel::Status), "b.lml: text \"q\"\n");

    MessageStyle json = one;
    json.format = MessageFormat::Json;
    EXPECT_EQ(write(json, &place, MessageLevel::Error),
              "{\"level\": \"error\", \"message\": \"text \\\"q\\\"\", \"file\": \"a.lml\", \"line\": 12, "
              "\"column\": 4}\n");
    EXPECT_EQ(write(json, &whole, MessageLevel::Warning),
              "{\"level\": \"warning\", \"message\": \"text \\\"q\\\"\", \"file\": \"a.lml\"}\n");
    EXPECT_EQ(write(json, nullptr, MessageLevel::Status), "{\"level\": \"status\", \"message\": \"text \\\"q\\\"\"}\n");
}

} // namespace

// The index answers as the scan from the start does, for device bytes
// (kept without the bytes) and for UTF-8, at every offset of a text with
// every kind of line end, a tab, a multi-byte letter and a byte-order mark.
TEST(SourceLocation, IndexAgreesWithTheScanEverywhere)
{
    const std::string text = "\xEF\xBB\xBFgo\r\n\tna\xC3\xAFve\r\rx\n\r\n\xE2\x82\xAC!\r\n";
    for (const bool utf8 : {false, true}) {
        const CSourceLines lines(Bytes(text), text.size(), utf8);
        for (size_t offset = 0; offset <= text.size() + 1; ++offset) {
            const SourceLocation scanned = LocateInSource(Bytes(text), text.size(), offset, utf8);
            const SourceLocation indexed = lines.Locate(offset);
            EXPECT_EQ(indexed.line, scanned.line) << "offset " << offset << " utf8 " << utf8;
            EXPECT_EQ(indexed.column, scanned.column) << "offset " << offset << " utf8 " << utf8;
        }
    }
}
