// The build's stages as one object: `pages` (layout only) and the build
// (with the records compressed alongside) must lay a text out alike, the
// layout's messages wait for the records, and a stage that fails leaves no
// book.
#include "driver/BookPipeline.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "book/BookInfo.h"
#include "driver/BuildBook.h"
#include "framework/core/MemBuffer.h"
#include "framework/io/File.h"
#include "tests/book/TempDir.h"
#include "tests/driver/IncompressibleText.h"
#include "tests/markup/ReportCapture.h"

namespace {

std::unique_ptr<CMemBuffer> Text(const std::string& text)
{
    auto buffer = std::make_unique<CMemBuffer>();
    buffer->Append(text.data(), static_cast<uint32_t>(text.size()));
    return buffer;
}

// Enough text for several records (so that the compression has a thread
// of its own), chapters, and a footnote in the notes block; `ending` comes
// just before the notes block.
std::string LongBook(const std::string& ending = "")
{
    std::string text;
    for (int chapter = 1; chapter <= 6; ++chapter) {
        text += "\\x" + std::string("Chapter ") + std::to_string(chapter) + "\\x\n";
        for (int line = 0; line < 300; ++line)
            text += "Line " + std::to_string(line) + " of chapter " + std::to_string(chapter) +
                    ", long enough to wrap on the small page at least once.\n";
    }
    text += "The end\\Fn=\"n\"1\\Fn." + ending + "\n<footnote id=\"n\">A note.</footnote>\n";
    return text;
}

std::string Records(const PageRecList& pages)
{
    CMemBuffer bytes;
    for (uint32_t i = 0; i < pages.GetRecordCount(); ++i)
        pages.AppendRecord(i, bytes);
    return std::string(reinterpret_cast<const char*>(bytes.GetData()), bytes.GetSize());
}

std::string ReadAll(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

TEST(BookPipeline, PagesAndTheBuildLayTheTextOutAlike)
{
    // As `pages` runs it: no compression.
    CBookPipeline pages(Text(LongBook()), CRkString(), 0);
    pages.Prepare();
    pages.SplitNotes();
    pages.DivideRecords();
    ASSERT_TRUE(pages.Paginate());
    ASSERT_GT(pages.Lists().textRecordEnds.GetCount(), 3u);
    ASSERT_GT(pages.RecLists().smallPages.GetEntryCount(), 100u);

    // As the build runs it: the records compressed while the text is laid out.
    CBookPipeline build(Text(LongBook()), CRkString(), 0);
    build.Prepare();
    build.SplitNotes();
    build.DivideRecords();
    build.StartCompression();
    ASSERT_TRUE(build.Paginate());
    ASSERT_TRUE(build.FinishCompression());
    EXPECT_EQ(build.Lists().textRecordSizes.GetCount(), build.Lists().textRecordEnds.GetCount());
    EXPECT_EQ(Records(pages.RecLists().smallPages), Records(build.RecLists().smallPages));
    EXPECT_EQ(Records(pages.RecLists().largePages), Records(build.RecLists().largePages));
    EXPECT_EQ(pages.RecLists().chapters.GetCount(), 6u);
    EXPECT_EQ(build.RecLists().chapters.GetCount(), 6u);
    EXPECT_EQ(build.Notes().GetSize(), pages.Notes().GetSize());

    // And BuildBook writes the very page tables `pages` lists.
    TempDir dir;
    std::ofstream(dir.File("book.lml"), std::ios::binary) << LongBook();
    CFile source(dir.File("book.lml").c_str());
    CFile output(dir.File("book.ldb").c_str());
    CBookInfo info;
    info.title.Assign("Pipeline", kEncodingDeviceLatin);
    ASSERT_EQ(BuildBook(&source, &output, &info, 0), kBookWritten);
    const std::string book = ReadAll(dir.File("book.ldb"));
    EXPECT_NE(book.find(Records(pages.RecLists().smallPages)), std::string::npos);
    EXPECT_NE(book.find(Records(pages.RecLists().largePages)), std::string::npos);
}

TEST(BookPipeline, LayoutMessagesWaitForTheRecords)
{
    const std::string text = LongBook("\\bbold to the end");
    {
        // Nothing compressing: the layout's messages go out as they come.
        ReportCapture capture;
        CBookPipeline pages(Text(text), CRkString(), 0);
        pages.Prepare();
        pages.SplitNotes();
        pages.DivideRecords();
        EXPECT_TRUE(pages.Paginate());
        EXPECT_EQ(capture.CountWarnings("This file does not end in the normal font!"), 2u);
    }
    {
        ReportCapture capture;
        CBookPipeline build(Text(text), CRkString(), 0);
        build.Prepare();
        build.SplitNotes();
        build.DivideRecords();
        build.StartCompression();
        EXPECT_TRUE(build.Paginate());
        EXPECT_TRUE(capture.warnings().empty());
        EXPECT_TRUE(build.FinishCompression());
        EXPECT_EQ(capture.CountWarnings("This file does not end in the normal font!"), 2u);
    }
    {
        // A record that does not compress ends the build before the layout
        // has said anything.
        ReportCapture capture;
        CBookPipeline build(Text(IncompressibleText() + IncompressibleText() + "\n\\bbold"), CRkString(), 0);
        build.Prepare();
        build.SplitNotes();
        build.DivideRecords();
        build.StartCompression();
        build.Paginate();
        EXPECT_FALSE(build.FinishCompression());
        EXPECT_TRUE(capture.warnings().empty());
        ASSERT_EQ(capture.errors().size(), 1u);
        EXPECT_EQ(capture.CountErrors("The text beginning \""), 1u);
    }
}

TEST(BookPipeline, FailingStageLeavesNoBook)
{
    // A footnote that the notes block does not hold: the layout succeeds,
    // the notes stage refuses.
    const std::string text = "See \\Fn=\"missing\"1\\Fn.\n<footnote id=\"other\">F</footnote>\n";
    {
        ReportCapture capture;
        CBookPipeline pipeline(Text(text), CRkString(), 0);
        pipeline.Prepare();
        pipeline.SplitNotes();
        pipeline.DivideRecords();
        pipeline.StartCompression();
        ASSERT_TRUE(pipeline.Paginate());
        ASSERT_TRUE(pipeline.FinishCompression());
        EXPECT_FALSE(pipeline.ResolveNotes());
        EXPECT_EQ(capture.errors().size(), 1u);
    }
    TempDir dir;
    std::ofstream(dir.File("book.lml"), std::ios::binary) << text;
    std::ofstream(dir.File("book.ldb")) << "an old book";
    CFile source(dir.File("book.lml").c_str());
    CFile output(dir.File("book.ldb").c_str());
    ReportCapture capture;
    EXPECT_EQ(BuildBook(&source, &output, nullptr, 0), kBookNotWritten);
    EXPECT_EQ(ReadAll(dir.File("book.ldb")), "an old book");
    EXPECT_EQ(capture.CountStatuses("Done."), 0u);
    EXPECT_EQ(dir.Names().size(), 2u); // no temporary file left beside them
}
