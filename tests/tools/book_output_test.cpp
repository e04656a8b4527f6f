// What the build command writes to, and what it refuses to write over.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include <sys/stat.h>

#include "tests/tools/ToolRun.h"

namespace {

namespace fs = std::filesystem;

std::string Text(const fs::path& path)
{
    const std::vector<uint8_t> bytes = ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

void Write(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

class BookOutput : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_dir = fs::temp_directory_path() /
                ("vx_output_" + std::string(info->name()) + "_" + std::to_string(std::random_device{}()));
        fs::create_directories(m_dir);
        m_source = m_dir / "book.lml";
        Write(m_source, "TITLE=\"Out\"\nSome text of the book.\n");
        setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
    }
    void TearDown() override
    {
        unsetenv("SOURCE_DATE_EPOCH");
        std::error_code ignored;
        fs::remove_all(m_dir, ignored);
    }
    ToolRun Build(const std::string& output) { return RunTool({"build", m_source.string(), "-o", output}); }
    // Every name in the folder, so that a stray temporary file shows.
    size_t Entries() const { return size_t(std::distance(fs::directory_iterator(m_dir), {})); }

    fs::path m_dir;
    fs::path m_source;
};

TEST_F(BookOutput, OutputsThatAreNoRegularFilesAreLeftAsTheyAre)
{
    fs::create_directory(m_dir / "folder");
    ASSERT_EQ(::mkfifo((m_dir / "fifo").c_str(), 0600), 0);
    fs::create_symlink(m_dir / "fifo", m_dir / "to-fifo");
    fs::create_symlink(m_dir / "folder", m_dir / "to-folder");
    fs::create_symlink(m_dir / "nothing", m_dir / "to-nothing");
    const size_t before = Entries();
    for (const char* name : {"folder", "fifo", "to-fifo", "to-folder", "to-nothing"}) {
        const ToolRun run = Build((m_dir / name).string());
        EXPECT_EQ(run.status, 1) << name;
        EXPECT_NE(run.err.find("is not a regular file; it was left as it is."), std::string::npos) << run.err;
    }
    EXPECT_TRUE(fs::is_directory(m_dir / "folder"));
    EXPECT_TRUE(fs::is_empty(m_dir / "folder"));
    EXPECT_TRUE(fs::is_fifo(m_dir / "fifo"));
    EXPECT_TRUE(fs::is_symlink(m_dir / "to-fifo"));
    EXPECT_TRUE(fs::is_symlink(m_dir / "to-nothing"));
    EXPECT_FALSE(fs::exists(m_dir / "nothing"));
    EXPECT_EQ(Entries(), before);

    // As root this once replaced the device node with a regular file.
    const ToolRun null = Build("/dev/null");
    EXPECT_EQ(null.status, 1);
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

TEST_F(BookOutput, LinkToABookReplacesItsTargetAndKeepsTheLink)
{
    fs::create_directory(m_dir / "shelf");
    Write(m_dir / "shelf" / "real.ldb", "old");
    fs::create_symlink(m_dir / "shelf" / "real.ldb", m_dir / "link.ldb");
    const ToolRun run = Build((m_dir / "link.ldb").string());
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(fs::is_symlink(m_dir / "link.ldb"));
    EXPECT_EQ(ReadBytes(m_dir / "shelf" / "real.ldb").size(), fs::file_size(m_dir / "shelf" / "real.ldb"));
    EXPECT_NE(Text(m_dir / "shelf" / "real.ldb"), "old");
    EXPECT_EQ(size_t(std::distance(fs::directory_iterator(m_dir / "shelf"), {})), 1u);
}

TEST_F(BookOutput, SourceUnderAnotherNameIsRefused)
{
    const std::string source = Text(m_source);
    fs::create_hard_link(m_source, m_dir / "hard.ldb");
    fs::create_symlink(m_source, m_dir / "soft.ldb");
    for (const char* name : {"hard.ldb", "soft.ldb"}) {
        const ToolRun run = Build((m_dir / name).string());
        EXPECT_EQ(run.status, 1) << name;
        EXPECT_NE(run.err.find("The input and output files are the same!"), std::string::npos) << run.err;
        EXPECT_EQ(Text(m_source), source);
    }
    EXPECT_TRUE(fs::is_symlink(m_dir / "soft.ldb"));
}

TEST_F(BookOutput, OutputInTheImageDirectoryIsRefused)
{
    fs::create_directories(m_dir / "book_img" / "deeper");
    Write(m_dir / "book_img" / "pic.png", "picture bytes");
    for (const fs::path& output : {m_dir / "book_img" / "pic.png", m_dir / "book_img" / "deeper" / "new.ldb"}) {
        const ToolRun run = Build(output.string());
        EXPECT_EQ(run.status, 1) << output;
        EXPECT_NE(run.err.find("is in the book's image directory"), std::string::npos) << run.err;
    }
    EXPECT_EQ(Text(m_dir / "book_img" / "pic.png"), "picture bytes");
    EXPECT_FALSE(fs::exists(m_dir / "book_img" / "deeper" / "new.ldb"));
    EXPECT_EQ(size_t(std::distance(fs::directory_iterator(m_dir / "book_img"), {})), 2u);
    EXPECT_TRUE(fs::is_empty(m_dir / "book_img" / "deeper"));
}

TEST_F(BookOutput, DashWritesTheBookToStandardOutput)
{
    const ToolRun file = Build((m_dir / "book.ldb").string());
    ASSERT_EQ(file.status, 0) << file.err;
    const size_t before = Entries();
    const ToolRun stream = Build("-");
    ASSERT_EQ(stream.status, 0) << stream.err;
    EXPECT_EQ(stream.out, Text(m_dir / "book.ldb"));
    EXPECT_EQ(Entries(), before);
    EXPECT_FALSE(fs::exists(m_dir / "-"));
}

} // namespace
