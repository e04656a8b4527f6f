#include "markup/SourcePrep.h"

#include <gtest/gtest.h>

#include <string>

#include "framework/core/MemBuffer.h"
#include "tests/markup/ReportCapture.h"

namespace {

using namespace std::string_literals;

CMemBuffer MakeBuffer(const std::string& text)
{
    CMemBuffer buffer(static_cast<uint32_t>(text.size() + 1), 1);
    buffer.Append(text.data(), static_cast<uint32_t>(text.size()));
    return buffer;
}

std::string Contents(const CMemBuffer& buffer)
{
    return std::string(reinterpret_cast<const char*>(buffer.GetData()), buffer.GetSize());
}

template <typename Pass>
std::string Apply(Pass pass, const std::string& text)
{
    CMemBuffer buffer = MakeBuffer(text);
    pass(buffer);
    return Contents(buffer);
}

TEST(MapDeviceCharacters, EveryLineEndBecomesOneLineFeed)
{
    ReportCapture capture;
    EXPECT_EQ(Apply(MapDeviceCharacters, "a\r\nb\rc\nd\n\re\r"), "a\nb\nc\nd\n\ne\n");
    EXPECT_EQ(Apply(MapDeviceCharacters, "\r\r\n\r"), "\n\n\n");
    EXPECT_EQ(Apply(MapDeviceCharacters, "\r"), "\n");
    EXPECT_TRUE(capture.warnings().empty());
}

TEST(MapDeviceCharacters, LowControlBytesDisappearOthersStay)
{
    ReportCapture capture;
    EXPECT_EQ(Apply(MapDeviceCharacters, "\0a\x01"s
                                         "b\x08"
                                         "c\x09"s
                                         "d\x0b\x0c\x1f\x7f\0"s),
              "abc\td\x0b\x0c\x1f\x7f");
    // A CR whose LF follows only after a removed byte is not part of a pair.
    EXPECT_EQ(Apply(MapDeviceCharacters, "x\r\0\ny"s), "x\n\ny");
    EXPECT_EQ(Apply(MapDeviceCharacters, ""), "");
}

TEST(MapDeviceCharacters, NonAsciiWarningsAreCountedPerKind)
{
    ReportCapture capture;
    const std::string text = "A\x80 b\x8D c\xE9 d\x99 e\x80 f\x8E\x8F\x90\xFF";
    EXPECT_EQ(Apply(MapDeviceCharacters, text), text);
    EXPECT_EQ(capture.CountWarnings("Non-ASCII characters in file; attempting to map them"), 1u);
    EXPECT_EQ(capture.CountWarnings("Unmappable character in string"), 5u);
    EXPECT_EQ(capture.CountWarnings("The Euro symbol may not be on all Lumo OS devices"), 2u);
    EXPECT_EQ(capture.warnings().size(), 8u);
    EXPECT_TRUE(capture.errors().empty());

    // The once-per-file flag belongs to one pass.
    Apply(MapDeviceCharacters, "\xE9");
    EXPECT_EQ(capture.CountWarnings("Non-ASCII"), 2u);
}

TEST(MapDeviceCharacters, BatchModeIsSilentAndZeroesUnmappableBytes)
{
    ReportCapture capture(true);
    EXPECT_EQ(Apply(MapDeviceCharacters, "A\x80 b\x8D c\xE9 d\x99\tx\r\n"), "A\x80 b\0 c\xE9 d\0\tx\n"s);
    EXPECT_TRUE(capture.warnings().empty());
}

TEST(MapDeviceCharacters, UnmappableContextIsCutFromTheInputAsRead)
{
    {
        ReportCapture capture;
        // Removed bytes and line ends before the character show as they were read.
        Apply(MapDeviceCharacters, "ab\r\ncd\x01"s
                                   "e\x8F"
                                   "fg");
        ASSERT_EQ(capture.CountWarnings("Unmappable"), 1u);
        EXPECT_EQ(capture.warnings()[1], "Unmappable character in string \"ab\r\ncd\x01"
                                         "e\x8F"
                                         "fg\"");
    }
    // 40 bytes before, at most 79 bytes in all.
    std::string text;
    for (int i = 0; i < 120; ++i)
        text += static_cast<char>('0' + i % 10);
    text[60] = '\x90';
    text[10] = '\r'; // outside the context window
    text[30] = '\r'; // inside it: read as CR, rewritten as LF
    text[31] = '\n';
    ReportCapture capture;
    Apply(MapDeviceCharacters, text);
    ASSERT_EQ(capture.CountWarnings("Unmappable"), 1u);
    EXPECT_EQ(capture.warnings()[1], "Unmappable character in string \"" + text.substr(20, 79) + "\"");
}

TEST(MapDeviceCharacters, SecondUnmappableByteShowsTheFirstAsRead)
{
    ReportCapture capture(false);
    Apply(MapDeviceCharacters, "x\x8D\x8Ey");
    ASSERT_EQ(capture.CountWarnings("Unmappable"), 2u);
    EXPECT_EQ(capture.warnings()[1], "Unmappable character in string \"x\x8D\x8Ey\"");
    EXPECT_EQ(capture.warnings()[2], "Unmappable character in string \"x\x8D\x8Ey\"");
}

TEST(ExpandTabs, EveryTabIsFourSpacesWithOneWarning)
{
    ReportCapture capture;
    EXPECT_EQ(Apply(ExpandTabs, "\ta\tb\t\t"), "    a    b        ");
    EXPECT_EQ(capture.CountWarnings("Tab characters are being mapped to four spaces."), 1u);
    EXPECT_EQ(Apply(ExpandTabs, "no tabs"), "no tabs");
    EXPECT_EQ(capture.warnings().size(), 1u);
}

TEST(ExpandTabs, BatchModeExpandsSilently)
{
    ReportCapture capture(true);
    EXPECT_EQ(Apply(ExpandTabs, "a\t"), "a    ");
    EXPECT_TRUE(capture.warnings().empty());
}

TEST(ResolveByteEscapes, DecimalEscapesBecomeBytes)
{
    EXPECT_EQ(Apply(ResolveByteEscapes, "\\a065 text"), "A text");
    EXPECT_EQ(Apply(ResolveByteEscapes, "x\\a999yyyy"), "x\xE7yyyy");
    EXPECT_EQ(Apply(ResolveByteEscapes, "\\a256\\a000 end"), "\0\0 end"s);
    // The three bytes are not checked; the value is taken modulo 256.
    EXPECT_EQ(Apply(ResolveByteEscapes, "\\aXYZ----"), "d----");
    EXPECT_EQ(Apply(ResolveByteEscapes, "\\a!!!----"), "\x7F----");
}

TEST(ResolveByteEscapes, EscapedBackslashAndUppercaseAreNotEscapes)
{
    EXPECT_EQ(Apply(ResolveByteEscapes, "\\\\a065 text"), "\\\\a065 text");
    EXPECT_EQ(Apply(ResolveByteEscapes, "\\\\\\a065 text"), "\\\\A text");
    EXPECT_EQ(Apply(ResolveByteEscapes, "\\A065 text"), "\\A065 text");
    EXPECT_EQ(Apply(ResolveByteEscapes, "\\U0141 \\b text"), "\\U0141 \\b text");
}

TEST(ResolveByteEscapes, TheLastFourBytesAreCopiedAsTheyAre)
{
    EXPECT_EQ(Apply(ResolveByteEscapes, "xx\\a065"), "xxA");
    EXPECT_EQ(Apply(ResolveByteEscapes, "\\a065"), "A");
    EXPECT_EQ(Apply(ResolveByteEscapes, "xxx\\a06"), "xxx\\a06");
    EXPECT_EQ(Apply(ResolveByteEscapes, "xxxx\\a0"), "xxxx\\a0");
    for (const char* shortText : {"", "\\", "\\a", "\\a0", "\\a06"})
        EXPECT_EQ(Apply(ResolveByteEscapes, shortText), shortText);
}

TEST(PrepareSourceText, PassesRunInOrderAndEscapeOutputIsNotReworked)
{
    ReportCapture capture;
    // The escaped tab, CR and unmappable byte come out of the last pass, so
    // they are neither expanded, mapped nor warned about.
    EXPECT_EQ(Apply(PrepareSourceText, "\\a009|\\a013|\\a141|\t|\r\n\\a065\\a066"), "\t|\r|\x8D|    |\nAB");
    EXPECT_EQ(capture.CountWarnings("Tab characters"), 1u);
    EXPECT_EQ(capture.warnings().size(), 1u);
    // A removed control byte can complete an escape.
    EXPECT_EQ(Apply(PrepareSourceText, "\\\x01"
                                       "a065 tail"),
              "A tail");
}

} // namespace
