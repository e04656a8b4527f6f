// Test support: a test with a folder of its own under the temporary
// directory (removed afterwards) and SOURCE_DATE_EPOCH fixed, so that
// books built twice are the same bytes.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "tests/PortableEnv.h"

class ToolFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_dir = std::filesystem::temp_directory_path() / ("vx_" + std::string(info->test_suite_name()) + "_" +
                                                          info->name() + "_" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(m_dir);
        setenv("SOURCE_DATE_EPOCH", "1700000000", 1);
    }
    void TearDown() override
    {
        unsetenv("SOURCE_DATE_EPOCH");
        std::error_code ignored;
        std::filesystem::remove_all(m_dir, ignored);
    }
    // Writes `bytes` to the file `name` in the folder; its path.
    std::string Write(const std::string& name, const std::string& bytes)
    {
        std::ofstream(m_dir / name, std::ios::binary) << bytes;
        return (m_dir / name).string();
    }
    std::string Path(const std::string& name) const { return (m_dir / name).string(); }

    std::filesystem::path m_dir;
};

// The lines, each ended by a line feed.
inline std::string Lines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}
