#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "TempDir.h"
#include "book/BookInfo.h"
#include "framework/io/File.h"

namespace {

std::string Narrow(const CRkString& s)
{
    const char* n = s.GetNarrow(kEncodingDeviceLatin);
    return n ? n : "";
}

struct Read {
    CBookInfo info;
    char out[32];
    explicit Read(const std::string& path, const char* fill = "\x7F")
    {
        std::memset(out, fill[0], sizeof out);
        ReadBookInfo(CFile(path.c_str()), out, info);
    }
};

TEST(ReadBookInfo, AllKeysAndEscapes)
{
    TempDir dir;
    const std::string path = dir.File("book.lml");
    WriteBytes(path, "TITLE=\"Caf\\a233 Stories\"\n"
                     "AUTHOR= by \"A. \\\\Writer\"\n"
                     "PUBLISHER=\"Press \\q\"\n"
                     "EISBN=\"978-0\"\n"
                     "COPYRIGHT=\"\"\n"
                     "OUT=\"" +
                         std::string(40, 'o') +
                         "\"\n"
                         "Body text.\n");
    Read r(path);
    EXPECT_EQ(Narrow(r.info.title), "Caf\xE9 Stories");
    EXPECT_EQ(Narrow(r.info.author), "A. \\Writer");
    EXPECT_EQ(Narrow(r.info.publisher), "Press \\q");
    EXPECT_EQ(Narrow(r.info.eISBN), "978-0");
    EXPECT_TRUE(r.info.copyright.IsEmpty());
    EXPECT_EQ(std::string(r.out), std::string(31, 'o'));
    EXPECT_EQ(r.out[31], 0);
}

TEST(ReadBookInfo, FirstOccurrenceWinsEvenInsideAnotherKey)
{
    TempDir dir;
    const std::string path = dir.File("book.txt");
    WriteBytes(path, "SUBTITLE=\"Sub\"\nTITLE=\"Real\"\nTITLE=\"Second\"\nAUTHOR=\"no closing quote");
    Read r(path);
    EXPECT_EQ(Narrow(r.info.title), "Sub");
    EXPECT_TRUE(r.info.author.IsEmpty());
    EXPECT_EQ(std::string(r.out), ""); // no OUT= key: the buffer is zeroed
}

TEST(ReadBookInfo, OnlyTheFirst16384BytesAreSearched)
{
    TempDir dir;
    const std::string path = dir.File("long.lml");
    // The author's value closes exactly at the last byte searched; the title
    // lies beyond it.
    std::string text = "AUTHOR=\"";
    text += std::string(16384 - text.size() - 1, 'a') + "\"";
    text += "TITLE=\"Late\"";
    WriteBytes(path, text);
    Read r(path);
    EXPECT_TRUE(r.info.title.IsEmpty());
    EXPECT_EQ(r.info.author.GetLength(), 16384u - 9u);
}

TEST(ReadBookInfo, ShortOrInvalidEscapesStayAsWritten)
{
    TempDir dir;
    const std::string path = dir.File("esc.lml");
    WriteBytes(path, "TITLE=\"x\\a12y \\a999 \\a000 \\a065\"\nAUTHOR=\"end\\a4");
    Read r(path);
    EXPECT_EQ(Narrow(r.info.title), "x\\a12y \\a999 \\a000 A");
    EXPECT_TRUE(r.info.author.IsEmpty()); // no closing quote

    const std::string cut = dir.File("cut.lml");
    WriteBytes(cut, "TITLE=\"v\\a2\"");
    Read c(cut);
    EXPECT_EQ(Narrow(c.info.title), "v\\a2");
}

TEST(ReadBookInfo, MissingOrEmptySourceChangesNothing)
{
    TempDir dir;
    CBookInfo info;
    info.title.Assign("Kept", kEncodingDeviceLatin);
    char out[32];
    std::memset(out, 'z', sizeof out);
    ReadBookInfo(CFile(dir.File("missing.lml").c_str()), out, info);
    EXPECT_EQ(Narrow(info.title), "Kept");
    EXPECT_EQ(out[0], 'z');

    const std::string empty = dir.File("empty.lml");
    WriteBytes(empty, "");
    ReadBookInfo(CFile(empty.c_str()), out, info);
    EXPECT_EQ(Narrow(info.title), "Kept");
    EXPECT_EQ(out[31], 'z');

    // A source without keys empties the fields.
    const std::string plain = dir.File("plain.lml");
    WriteBytes(plain, "Just text.");
    ReadBookInfo(CFile(plain.c_str()), out, info);
    EXPECT_TRUE(info.title.IsEmpty());
}

} // namespace
