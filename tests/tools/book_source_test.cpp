// The source is read once, from its start to the end of its stream: a FIFO
// or standard input builds the same book as a file of the same bytes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <thread>

#include <sys/stat.h>

#include "book/driver/BuildBook.h"
#include "framework/core/MemBuffer.h"
#include "framework/io/File.h"
#include "tests/markup/ReportCapture.h"
#include "tests/tools/ToolRun.h"

namespace {

namespace fs = std::filesystem;

const std::string kSource = "TITLE=\"From A Stream\"\nAUTHOR=\"Me\"\nThe text of the book,\n\tlong enough.\n";

class BookSource : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_dir = fs::temp_directory_path() /
                ("vx_source_" + std::string(info->name()) + "_" + std::to_string(std::random_device{}()));
        fs::create_directories(m_dir);
        std::ofstream(m_dir / "file.lml", std::ios::binary) << kSource;
        setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
    }
    void TearDown() override
    {
        unsetenv("SOURCE_DATE_EPOCH");
        std::error_code ignored;
        fs::remove_all(m_dir, ignored);
    }
    std::vector<uint8_t> FileBook()
    {
        const ToolRun run = RunTool({"build", (m_dir / "file.lml").string(), "-o", (m_dir / "file.ldb").string()});
        EXPECT_EQ(run.status, 0) << run.err;
        return ReadBytes(m_dir / "file.ldb");
    }
    // A FIFO whose writer comes a little after the reader opened it.
    fs::path Fifo(const std::string& bytes, std::thread& writer)
    {
        const fs::path fifo = m_dir / "fifo.lml";
        EXPECT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
        writer = std::thread([fifo, bytes] {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            std::ofstream(fifo, std::ios::binary) << bytes;
        });
        return fifo;
    }

    fs::path m_dir;
};

TEST_F(BookSource, FifoBuildsTheSameBookAsAFile)
{
    const std::vector<uint8_t> expected = FileBook();
    std::thread writer;
    const fs::path fifo = Fifo(kSource, writer);
    const ToolRun run = RunTool({"build", fifo.string(), "-o", (m_dir / "fifo.ldb").string()});
    writer.join();
    ASSERT_EQ(run.status, 0) << run.err;
    // Same bytes, title included: the book information came from the one read.
    EXPECT_EQ(ReadBytes(m_dir / "fifo.ldb"), expected);
}

TEST_F(BookSource, StandardInputBuildsTheSameBookAsAFile)
{
    const std::vector<uint8_t> expected = FileBook();
    std::vector<const char*> argv = {"vellumix-book", "build", "-", "-o", "-"};
    std::istringstream in(kSource);
    std::ostringstream out, err;
    ASSERT_EQ(RunBookTool(int(argv.size()), argv.data(), in, out, err), 0) << err.str();
    EXPECT_EQ(out.str(), std::string(expected.begin(), expected.end()));

    // Without -o there is no name to write to.
    const ToolRun noOutput = RunTool({"build", "-"});
    EXPECT_EQ(noOutput.status, 2);
    EXPECT_NE(noOutput.err.find("needs -o"), std::string::npos);
}

TEST_F(BookSource, StreamsAreReadToTheirEndNotByTheirSize)
{
    ReportCapture capture;
    std::thread writer;
    const fs::path fifo = Fifo(std::string(5000, 'x'), writer);
    CFile stream(fifo.c_str());
    std::unique_ptr<CMemBuffer> text = ReadSourceText(stream, 5000);
    writer.join();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->GetSize(), 5000u);
    EXPECT_TRUE(capture.errors().empty());
}

TEST_F(BookSource, StreamOverTheLimitStopsOneBytePastIt)
{
    ReportCapture capture;
    // An endless device: the read must stop, not run on or give nothing.
    CFile zero("/dev/zero");
    EXPECT_EQ(ReadSourceText(zero, 1000), nullptr);
    ASSERT_EQ(capture.errors().size(), 1u);
    EXPECT_EQ(capture.errors()[0], "The file /dev/zero is too large to build (more than 1000 bytes).");

    // A FIFO one byte over the limit is refused.

    std::thread writer;
    const fs::path fifo = Fifo(std::string(5001, 'x'), writer);
    CFile stream(fifo.c_str());
    EXPECT_EQ(ReadSourceText(stream, 5000), nullptr);
    writer.join();
    EXPECT_EQ(capture.CountErrors("The file " + fifo.string() + " is too large"), 1u);
}

TEST_F(BookSource, OverlongSourceKeepsTheOldBook)
{
    std::ofstream(m_dir / "book.ldb") << "old book";
    {
        std::ofstream big(m_dir / "big.lml", std::ios::binary);
        big.seekp(std::streamoff(kMaxSourceSize));
        big.put('x');
    }
    const ToolRun run = RunTool({"build", (m_dir / "big.lml").string(), "-o", (m_dir / "book.ldb").string(),
                                 "--title", "T"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("is too large to build"), std::string::npos) << run.err;
    EXPECT_EQ(ReadBytes(m_dir / "book.ldb"), std::vector<uint8_t>({'o', 'l', 'd', ' ', 'b', 'o', 'o', 'k'}));
    EXPECT_EQ(size_t(std::distance(fs::directory_iterator(m_dir), {})), 3u);
}

} // namespace
