// --encoding: a UTF-8 source builds into the book its device-byte twin
// gives; device bytes are read as they always were; bad UTF-8 is an error
// at its place, with no book.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "book/BookInfo.h"
#include "driver/BuildBook.h"
#include "framework/io/File.h"
#include "tests/tools/ToolFolderTest.h"
#include "tests/tools/ToolRun.h"

namespace {

namespace fs = std::filesystem;

// Curly quotes, accented letters, an em dash, a euro sign, letters the
// device lacks (the barred L, the acute z, omega), and a chapter title that
// holds some.
const char kUtf8Source[] = "TITLE=\"Caf\u00E9 \u201CNoir\u201D\"\n"
                           "\\C0=\"\u0141\u00F3d\u017A\"\n"
                           "\u201CCurly quotes\u201D, caf\u00E9, na\u00EFve \u2014 an em dash, 5 \u20AC,\n"
                           "and \u0141\u00F3d\u017A under \u03A9.\n";
// The same source as an author writes it in device bytes.
const char kDeviceSource[] = "TITLE=\"Caf\xE9 \x93Noir\x94\"\n"
                             "\\C0=\"\\U0141\xF3"
                             "d\\U017A\"\n"
                             "\x93"
                             "Curly quotes\x94, caf\xE9, na\xEFve \x97 an em dash, 5 \x80,\n"
                             "and \\U0141\xF3"
                             "d\\U017A under \\U03A9.\n";

std::string Replace(std::string text, const std::string& from, const std::string& to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

class BookEncoding : public ToolFolderTest {
protected:
    void SetUp() override
    {
        ToolFolderTest::SetUp();
        fs::create_directories(m_dir / "utf8");
        fs::create_directories(m_dir / "device");
        m_utf8 = Write("utf8/book.lml", kUtf8Source);
        m_device = Write("device/book.lml", kDeviceSource);
    }

    std::string m_utf8;
    std::string m_device;
};

// The messages of both builds, the UTF-8 one opened by its status line.
// Each warning names its place in the file as written: the same line in
// both, the same column up to the first character that the device-byte
// twin spells as a \U code.
std::string TwinBuildLines(const std::string& source, bool utf8)
{
    std::vector<std::string> lines;
    if (utf8)
        lines.push_back("Reading the source as UTF-8.");
    const std::string unicodeWarning = "warning: Unicode characters currently aren't allowed in chapter or index "
                                       "specifications! Mapping them. Begins with ";
    const std::vector<std::string> rest = {
        "Writing book <Caf\u00E9 \u201CNoir\u201D> from file <" + source + ">...",
        source + ":1:11: warning: Non-ASCII characters in file; attempting to map them",
        source + ":3:45: warning: The Euro symbol may not be on all Lumo OS devices",
        "Generating page tables for the small font...",
        source + ":2:6: " + unicodeWarning +
            "\"=\"\\U0141\u00F3d\\U017A\" \u201C"
            "C\"",
        source + (utf8 ? ":2:9: " : ":2:14: ") + unicodeWarning +
            "\"\u00F3d\\U017A\" \u201C"
            "Curly quo\"",
        "Generating page tables for the large font...",
        "Done.",
    };
    lines.insert(lines.end(), rest.begin(), rest.end());
    return Lines(lines);
}

TEST_F(BookEncoding, Utf8SourceBuildsIntoTheBookOfItsDeviceByteTwin)
{
    const ToolRun device = RunTool({"build", m_device, "-o", Path("device.ldb")});
    ASSERT_EQ(device.status, 0) << device.err;
    EXPECT_EQ(device.err, TwinBuildLines(m_device, false));

    for (const char* encoding : {"auto", "utf-8"}) {
        const ToolRun utf8 = RunTool({"build", m_utf8, "-o", Path("utf8.ldb"), "--encoding", encoding});
        ASSERT_EQ(utf8.status, 0) << utf8.err;
        // One euro warning, for the euro sign: none for the quotes' bytes.
        EXPECT_EQ(utf8.err, TwinBuildLines(m_utf8, true)) << encoding;
        EXPECT_EQ(ReadBytes(Path("utf8.ldb")), ReadBytes(Path("device.ldb"))) << encoding;
    }
    // Auto is the default.
    EXPECT_EQ(RunTool({"build", m_utf8, "-o", Path("default.ldb")}).err, TwinBuildLines(m_utf8, true));
    EXPECT_EQ(ReadBytes(Path("default.ldb")), ReadBytes(Path("device.ldb")));
    // Device bytes are no UTF-8: auto reads them as they are.
    EXPECT_EQ(RunTool({"build", m_device, "-o", Path("again.ldb"), "--encoding", "device"}).err, device.err);
    EXPECT_EQ(ReadBytes(Path("again.ldb")), ReadBytes(Path("device.ldb")));
}

// Without a euro sign in it, a UTF-8 source draws no euro warning at all
// (read as device bytes, each quote and dash would draw one), and its book
// is that of the twin written in device bytes with a \U code.
TEST_F(BookEncoding, Utf8SourceWithoutEuroSignDrawsNoEuroWarning)
{
    const std::string utf8 = Write("plain.lml", "TITLE=\"Plain\"\n"
                                                "\u201CQuoted\u201D na\u00EFve caf\u00E9 \u2014 and \u0141\n");
    const std::string device = Write("plain_device.lml", "TITLE=\"Plain\"\n"
                                                         "\x93Quoted\x94 na\xEFve caf\xE9 \x97 and \\U0141\n");
    const ToolRun a = RunTool({"build", utf8, "-o", Path("plain.ldb")});
    ASSERT_EQ(a.status, 0) << a.err;
    const std::string euroWarning = "warning: The Euro symbol may not be on all Lumo OS devices";
    EXPECT_EQ(a.err.find(euroWarning), std::string::npos) << a.err;
    const ToolRun b = RunTool({"build", device, "-o", Path("plain_device.ldb")});
    ASSERT_EQ(b.status, 0) << b.err;
    EXPECT_EQ(ReadBytes(Path("plain.ldb")), ReadBytes(Path("plain_device.ldb")));
    const ToolRun raw = RunTool({"build", utf8, "-o", Path("raw.ldb"), "--encoding", "device"});
    EXPECT_NE(raw.err.find(euroWarning), std::string::npos) << raw.err;
}

// --encoding device reads the bytes as the build always has: the book is
// the one the driver makes of the file by itself.
TEST_F(BookEncoding, DeviceEncodingBuildsTheSameBookAsTheDriver)
{
    const ToolRun device = RunTool({"build", m_utf8, "-o", Path("tool.ldb"), "--encoding", "device"});
    ASSERT_EQ(device.status, 0) << device.err;
    // Three bytes of every quote and the dash: their 0x80 bytes draw the
    // euro warning, as they always did.
    size_t euros = 0;
    for (size_t at = device.err.find("Euro"); at != std::string::npos; at = device.err.find("Euro", at + 1))
        ++euros;
    EXPECT_EQ(euros, 5u) << device.err;
    EXPECT_EQ(device.err.find("Reading the source as UTF-8."), std::string::npos);

    // The driver given the same book information makes the same book.
    CFile source(m_utf8.c_str());
    CBookInfo info;
    char name[32] = {};
    const std::vector<uint8_t> bytes = ReadBytes(m_utf8);
    ReadBookInfoFromText(bytes.data(), uint32_t(bytes.size()), name, info);
    CFile titled(Path("titled.ldb").c_str());
    ASSERT_EQ(BuildBook(&source, &titled, &info, 0), kBookWritten);
    EXPECT_EQ(ReadBytes(Path("tool.ldb")), ReadBytes(Path("titled.ldb")));
}

TEST_F(BookEncoding, MalformedUtf8IsAnErrorAtItsPlaceAndNoBook)
{
    const std::string bad = Write("bad.lml", "TITLE=\"Bad\"\r\nna\u00EFve \xFF here\n");
    const std::string book = Path("bad.ldb");
    const std::string error = "the byte 0xFF is not part of a UTF-8 character; save the source as UTF-8, or "
                              "read it as device bytes with --encoding device";
    const ToolRun text = RunTool({"build", bad, "-o", book, "--encoding", "utf-8"});
    EXPECT_EQ(text.status, 1);
    EXPECT_EQ(text.err, Lines({"Reading the source as UTF-8.", bad + ":2:7: error: " + error}));
    EXPECT_FALSE(fs::exists(book));

    const ToolRun json = RunTool({"build", bad, "-o", book, "--encoding=utf-8", "--message-format", "json"});
    EXPECT_EQ(json.status, 1);
    EXPECT_EQ(json.err, Lines({"{\"level\": \"status\", \"message\": \"Reading the source as UTF-8.\"}",
                               "{\"level\": \"error\", \"message\": \"" + error + "\", \"file\": \"" + JsonText(bad) +
                                   "\", \"line\": 2, \"column\": 7}"}));

    // With several sources the place is named the same way; the good one
    // is still built.
    const std::string good = Write("good.lml", "TITLE=\"Good\"\nText.\n");
    const ToolRun many = RunTool({"build", bad, good, "--encoding", "utf-8"});
    EXPECT_EQ(many.status, 1);
    EXPECT_EQ(many.err.substr(0, many.err.find('\n', many.err.find('\n') + 1) + 1),
              Lines({bad + ": Reading the source as UTF-8.", bad + ":2:7: error: " + error}));
    EXPECT_TRUE(fs::exists(Path("good.ldb")));

    // Auto takes it for device bytes and builds it.
    const ToolRun guessed = RunTool({"build", bad, "-o", book});
    EXPECT_EQ(guessed.status, 0) << guessed.err;
    EXPECT_EQ(guessed.err.find("UTF-8"), std::string::npos);
}

TEST_F(BookEncoding, ByteOrderMarkIsDroppedAndSaysUtf8)
{
    const std::string plain = Write("plain.lml", "TITLE=\"Plain\"\nJust ASCII.\n");
    const std::string marked = Write("marked.lml", "\xEF\xBB\xBFTITLE=\"Plain\"\nJust ASCII.\n");
    const ToolRun a = RunTool({"build", plain, "-o", Path("plain.ldb")});
    const ToolRun b = RunTool({"build", marked, "-o", Path("marked.ldb")});
    ASSERT_EQ(a.status, 0) << a.err;
    ASSERT_EQ(b.status, 0) << b.err;
    EXPECT_EQ(b.err, "Reading the source as UTF-8.\n" + Replace(a.err, plain, marked));
    EXPECT_EQ(ReadBytes(Path("marked.ldb")), ReadBytes(Path("plain.ldb")));
}

TEST_F(BookEncoding, PagesReadsTheSourceTheSameWay)
{
    const ToolRun device = RunTool({"pages", m_device});
    ASSERT_EQ(device.status, 0) << device.err;
    const ToolRun utf8 = RunTool({"pages", m_utf8});
    ASSERT_EQ(utf8.status, 0) << utf8.err;
    EXPECT_EQ(utf8.out, device.out);
    // The same messages at the same places, but for the column of the
    // character the twin spells as a \U code.
    EXPECT_EQ(utf8.err, "Reading the source as UTF-8.\n" +
                            Replace(Replace(device.err, m_device + ":", m_utf8 + ":"), ":2:14: ", ":2:9: "));
    EXPECT_EQ(RunTool({"pages", m_utf8, "--large", "--encoding", "utf-8"}).out,
              RunTool({"pages", m_device, "--large"}).out);

    const std::string bad = Write("bad.lml", "ok\n\xC3(\n");
    const ToolRun refused = RunTool({"pages", bad, "--encoding", "utf-8"});
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err, Lines({"Reading the source as UTF-8.",
                                  bad + ":2:1: error: the byte 0xC3 is not part of a UTF-8 character; save the "
                                        "source as UTF-8, or read it as device bytes with --encoding device"}));
}

TEST_F(BookEncoding, EncodingWordsAreChecked)
{
    const ToolRun wrong = RunTool({"build", m_utf8, "--encoding", "latin-1"});
    EXPECT_EQ(wrong.status, 2);
    EXPECT_EQ(wrong.err, "vellumix-book: error: option '--encoding' takes 'auto', 'utf-8', 'device', not "
                         "'latin-1'\nTry 'vellumix-book --help' for more information.\n");
    EXPECT_EQ(RunTool({"dump", "x.ldb", "--encoding", "auto"}).status, 2);
}

} // namespace
