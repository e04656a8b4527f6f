// The source is read once, to the end of its stream: a FIFO or standard
// input builds the same book as the same bytes in a file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "driver/BuildBook.h"
#include "tests/tools/ToolRun.h"

namespace {

namespace fs = std::filesystem;

// Long enough that its text is more than any first read would take.
std::string Source()
{
    std::string text = "TITLE=\"Streamed\"\nAUTHOR=\"Pipe Author\"\n\n";
    for (int i = 0; i < 4000; ++i)
        text += "Paragraph " + std::to_string(i) + " of a book that arrives through a stream.\n";
    return text;
}

class BookSource : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_dir = fs::temp_directory_path() /
                ("vx_source_" + std::string(info->name()) + "_" + std::to_string(std::random_device{}()));
        fs::create_directories(m_dir);
        setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
    }
    void TearDown() override
    {
        unsetenv("SOURCE_DATE_EPOCH");
        std::error_code ignored;
        fs::remove_all(m_dir, ignored);
    }
    // The book built from the same bytes in a regular file.
    std::vector<uint8_t> FileBook(const std::string& text)
    {
        const fs::path source = m_dir / "file.lml";
        std::ofstream(source, std::ios::binary) << text;
        const ToolRun run = RunTool({"build", source.string(), "-o", (m_dir / "file.ldb").string()});
        EXPECT_EQ(run.status, 0) << run.err;
        return ReadBytes(m_dir / "file.ldb");
    }

    fs::path m_dir;
};

TEST_F(BookSource, FifoBuildsTheSameBookAsAFile)
{
    const std::string text = Source();
    const std::vector<uint8_t> expected = FileBook(text);
    ASSERT_FALSE(expected.empty());

    const fs::path fifo = m_dir / "book.lml";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // The writer feeds it in small pieces, as a slow producer would.
    std::thread writer([&] {
        const int fd = ::open(fifo.c_str(), O_WRONLY);
        for (size_t at = 0; fd >= 0 && at < text.size(); at += 777)
            if (::write(fd, text.data() + at, std::min<size_t>(777, text.size() - at)) < 0)
                break;
        if (fd >= 0)
            ::close(fd);
    });
    const ToolRun run = RunTool({"build", fifo.string(), "-o", (m_dir / "fifo.ldb").string()});
    writer.join();
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadBytes(m_dir / "fifo.ldb"), expected);
    EXPECT_TRUE(fs::is_fifo(fifo));
}

TEST_F(BookSource, StandardInputBuildsTheSameBookAsAFile)
{
    const std::string text = Source();
    const std::vector<uint8_t> expected = FileBook(text);
    const ToolRun run = RunToolWithInput({"build", "-", "-o", (m_dir / "stdin.ldb").string()}, text);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadBytes(m_dir / "stdin.ldb"), expected);

    // Both ends streams.
    const ToolRun piped = RunToolWithInput({"build", "-", "-o", "-"}, text);
    ASSERT_EQ(piped.status, 0) << piped.err;
    EXPECT_EQ(std::vector<uint8_t>(piped.out.begin(), piped.out.end()), expected);

    // Without an output there is no name to derive one from.
    EXPECT_EQ(RunToolWithInput({"build", "-"}, text).status, 2);
    // An empty stream holds no title.
    const ToolRun empty = RunToolWithInput({"build", "-", "-o", (m_dir / "empty.ldb").string()}, "");
    EXPECT_EQ(empty.status, 1);
    EXPECT_NE(empty.err.find("no title"), std::string::npos) << empty.err;
    EXPECT_FALSE(fs::exists(m_dir / "empty.ldb"));
}

TEST_F(BookSource, PagesReadsAFifoToItsEnd)
{
    const std::string text = Source();
    const fs::path file = m_dir / "file.lml";
    std::ofstream(file, std::ios::binary) << text;
    const ToolRun fromFile = RunTool({"pages", file.string()});
    ASSERT_EQ(fromFile.status, 0) << fromFile.err;

    const fs::path fifo = m_dir / "book.lml";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::thread writer([&] { std::ofstream(fifo, std::ios::binary) << text; });
    const ToolRun fromFifo = RunTool({"pages", fifo.string()});
    writer.join();
    ASSERT_EQ(fromFifo.status, 0) << fromFifo.err;
    EXPECT_EQ(fromFifo.out, fromFile.out);
    EXPECT_EQ(RunToolWithInput({"pages", "-"}, text).out, fromFile.out);
}

// A source over the size limit fails before the output is looked at: an
// old book stays as it was, and no temporary file is left.
TEST_F(BookSource, OverlongSourceKeepsTheOldBook)
{
    std::ofstream(m_dir / "book.ldb") << "old book";
    {
        std::ofstream big(m_dir / "big.lml", std::ios::binary);
        big.seekp(std::streamoff(kMaxSourceSize));
        big.put('x');
    }
    const ToolRun run =
        RunTool({"build", (m_dir / "big.lml").string(), "-o", (m_dir / "book.ldb").string(), "--title", "T"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("is too large to build"), std::string::npos) << run.err;
    EXPECT_EQ(ReadBytes(m_dir / "book.ldb"), std::vector<uint8_t>({'o', 'l', 'd', ' ', 'b', 'o', 'o', 'k'}));
    EXPECT_EQ(size_t(std::distance(fs::directory_iterator(m_dir), {})), 2u);
}

} // namespace
