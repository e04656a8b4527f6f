// ReadSourceText reads its source to the end of the stream, whatever the
// source's size says, and stops one byte past the limit.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "book/BookInfo.h"
#include "driver/BuildBook.h"
#include "framework/core/MemBuffer.h"
#include "framework/io/File.h"
#include "tests/markup/ReportCapture.h"

namespace {

namespace fs = std::filesystem;

class SourceRead : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_dir = fs::temp_directory_path() /
                ("vx_sourceread_" + std::string(info->name()) + "_" + std::to_string(std::random_device{}()));
        fs::create_directories(m_dir);
    }
    void TearDown() override
    {
        std::error_code ignored;
        fs::remove_all(m_dir, ignored);
    }
    fs::path m_dir;
};

std::string Text(const CMemBuffer& buffer)
{
    return std::string(reinterpret_cast<const char*>(buffer.GetData()), buffer.GetSize());
}

TEST_F(SourceRead, FileAndFifoGiveTheSameBytes)
{
    std::string text;
    for (int i = 0; i < 20000; ++i)
        text += char('a' + i % 23);
    const fs::path file = m_dir / "file.lml";
    std::ofstream(file, std::ios::binary) << text;
    ReportCapture capture;
    CFile fromFile(file.c_str());
    std::unique_ptr<CMemBuffer> fileBytes = ReadSourceText(fromFile);
    ASSERT_TRUE(fileBytes);
    EXPECT_EQ(Text(*fileBytes), text);

    const fs::path fifo = m_dir / "fifo.lml";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::thread writer([&] { std::ofstream(fifo, std::ios::binary) << text; });
    CFile fromFifo(fifo.c_str());
    std::unique_ptr<CMemBuffer> fifoBytes = ReadSourceText(fromFifo);
    writer.join();
    ASSERT_TRUE(fifoBytes);
    EXPECT_EQ(Text(*fifoBytes), text);
    EXPECT_TRUE(capture.errors().empty());

    // A file at the limit is read whole; one byte more is refused unread.
    CFile atLimit(file.c_str());
    EXPECT_TRUE(ReadSourceText(atLimit, text.size()));
    EXPECT_FALSE(ReadSourceText(atLimit, text.size() - 1));
    EXPECT_EQ(capture.CountErrors("The file " + file.string() + " is too large to build"), 1u);
}

// A stream that never ends (its writer keeps it open) over the limit: the
// read stops with the size error having taken exactly one byte past it.
TEST_F(SourceRead, StreamOverTheLimitStopsOneBytePast)
{
    const fs::path fifo = m_dir / "fifo.lml";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // A read end of the test's own keeps what is left in the pipe countable.
    const int keep = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(keep, 0);
    const int writer = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
    ASSERT_GE(writer, 0);
    const std::string bytes(6000, 'x');
    ASSERT_EQ(::write(writer, bytes.data(), bytes.size()), ssize_t(bytes.size()));

    ReportCapture capture;
    CFile source(fifo.c_str());
    EXPECT_FALSE(ReadSourceText(source, 4000));
    EXPECT_EQ(capture.CountErrors("The file " + fifo.string() + " is too large to build (more than 4000 bytes)"), 1u);
    int left = 0;
    ASSERT_EQ(::ioctl(keep, FIONREAD, &left), 0);
    EXPECT_EQ(left, 6000 - 4001);
    ::close(writer);
    ::close(keep);
}

// The build reads the source once: a FIFO, which can be read only once,
// gives the whole text.
TEST_F(SourceRead, BuildFromAFifoHasItsWholeText)
{
    std::string text = "TITLE=\"Once\"\n";
    for (int i = 0; i < 3000; ++i)
        text += "Line " + std::to_string(i) + " of the text.\n";
    const fs::path fifo = m_dir / "fifo.lml";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::thread writer([&] { std::ofstream(fifo, std::ios::binary) << text; });
    ReportCapture capture;
    CFile source(fifo.c_str());
    CFile output((m_dir / "book.ldb").c_str());
    CBookInfo info;
    info.title.Assign(u"Once");
    EXPECT_EQ(BuildBook(&source, &output, &info, 0), kBookWritten);
    writer.join();
    EXPECT_TRUE(capture.errors().empty());
    // About 45 KB of text compresses to far more than an empty book's size.
    EXPECT_GT(fs::file_size(m_dir / "book.ldb"), 8000u);
}

} // namespace
