// Book names for long source names, where the file system cannot hold the
// source itself (names over 255 bytes), and the numbered names' cut.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "app/OutputNames.h"
#include "framework/io/File.h"

namespace {

std::u16string Units(const CRkString& text)
{
    return std::u16string(text.GetChars(), text.GetLength());
}

TEST(OutputNames, ExtensionsGoAndLongNamesAreCutTo251)
{
    EXPECT_EQ(Units(BookNameForSource(CRkString(u"tale.txt"))), u"tale.ldb");
    EXPECT_EQ(Units(BookNameForSource(CRkString(u"tale"))), u"tale.ldb");
    EXPECT_EQ(Units(BookNameForSource(CRkString(u"my.tale.lml"))), u"my.tale.ldb");
    const std::u16string base(300, u'n');
    EXPECT_EQ(Units(BookNameForSource(CRkString((base + u".lml").c_str()))), base.substr(0, 251) + u".ldb");
    EXPECT_EQ(Units(BookNameForSource(CRkString(base.c_str()))), base.substr(0, 251) + u".ldb");
}

TEST(OutputNames, ACutNeverSplitsASurrogatePair)
{
    // 250 letters, then a character outside the BMP in units 251 and 252.
    std::u16string name(250, u'a');
    name += u"\U0001F4D6";
    name += u"tail.lml";
    EXPECT_EQ(Units(BookNameForSource(CRkString(name.c_str()))), std::u16string(250, u'a') + u".ldb");
    std::u16string fits(249, u'a');
    fits += u"\U0001F4D6.lml";
    EXPECT_EQ(Units(BookNameForSource(CRkString(fits.c_str()))), std::u16string(249, u'a') + u"\U0001F4D6.ldb");
}

TEST(OutputNames, BookEndingsInAnyCase)
{
    EXPECT_TRUE(IsBookName(CRkString(u"tale.ldb")));
    EXPECT_TRUE(IsBookName(CRkString(u"TALE.LDB")));
    EXPECT_FALSE(IsBookName(CRkString(u"tale.ldb.lml")));
    EXPECT_FALSE(IsBookName(CRkString(u"ldb")));
}

TEST(OutputNames, NumberedNamesKeepBasePlusNumberWithin251)
{
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / "vx_app_numbered_names";
    fs::remove_all(dir);
    fs::create_directories(dir);
    const std::string base(251, 'n');
    std::ofstream(dir / (base + ".ldb")) << "kept";
    std::ofstream(dir / (base.substr(0, 249) + ".1.ldb")) << "kept";
    CFile output((dir / (base + ".ldb")).c_str());
    std::unique_ptr<CFile> free(FirstFreeBookFile(output));
    ASSERT_NE(free, nullptr);
    CRkString name;
    free->GetName(name);
    EXPECT_EQ(std::string(name.GetNarrow()), base.substr(0, 249) + ".2.ldb");

    // A name that does not exist is used as it is.
    CFile fresh((dir / "fresh.ldb").c_str());
    std::unique_ptr<CFile> same(FirstFreeBookFile(fresh));
    ASSERT_NE(same, nullptr);
    same->GetName(name);
    EXPECT_EQ(std::string(name.GetNarrow()), "fresh.ldb");
    fs::remove_all(dir);
}

TEST(OutputNames, TheNumberedSearchStopsAfter99999)
{
    CFile output("/books/tale.ldb");
    std::vector<std::string> asked;
    auto allTaken = [&](const CFile& file) {
        CRkString name;
        file.GetName(name);
        asked.push_back(name.GetNarrow());
        return true;
    };
    EXPECT_EQ(FirstFreeBookFile(output, allTaken), nullptr);
    ASSERT_EQ(asked.size(), 100000u); // the book itself, then 1 to 99999
    EXPECT_EQ(asked[1], "tale.1.ldb");
    EXPECT_EQ(asked.back(), "tale.99999.ldb");

    auto freeAt = [](const CFile& file) {
        CRkString name;
        file.GetName(name);
        return std::string(name.GetNarrow()) != "tale.99999.ldb";
    };
    std::unique_ptr<CFile> last(FirstFreeBookFile(output, freeAt));
    ASSERT_NE(last, nullptr);
    CRkString name;
    last->GetName(name);
    EXPECT_EQ(std::string(name.GetNarrow()), "tale.99999.ldb");
}

} // namespace
