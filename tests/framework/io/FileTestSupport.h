// Shared helpers of the file tests: a scratch folder and string shortcuts.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <gtest/gtest.h>

#include "framework/core/RkString.h"
#include "framework/io/File.h"

inline std::u16string Units(const CRkString& s)
{
    return std::u16string(s.GetChars(), s.GetLength());
}

inline CRkString Str(const std::u16string& s)
{
    return CRkString(s.data(), uint32_t(s.size()));
}

inline std::u16string PathOf(const CFile& f)
{
    CRkString s;
    f.GetPath(s);
    return Units(s);
}

inline std::u16string NameOf(const CFile& f)
{
    CRkString s;
    f.GetName(s);
    return Units(s);
}

inline std::u16string FolderOf(const CFile& f)
{
    CRkString s;
    f.GetFolder(s);
    return Units(s);
}

// ASCII to UTF-16, for expected values built from native paths.
inline std::u16string Wide(const std::string& ascii)
{
    return std::u16string(ascii.begin(), ascii.end());
}

// A fresh folder under the system's temporary folder, removed afterwards.
class ScratchFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "vx_io_test_XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        m_dir = pattern;
    }
    void TearDown() override
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_dir, ignored);
    }

    // Native path of an entry in the scratch folder.
    std::string At(const std::string& name) const { return m_dir + "/" + name; }

    void WriteBytes(const std::string& name, const std::string& bytes) const
    {
        std::ofstream out(At(name), std::ios::binary);
        out << bytes;
    }

    std::string ReadBytes(const std::string& name) const
    {
        std::ifstream in(At(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    std::string m_dir;
};
