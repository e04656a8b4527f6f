// Path splitting, derived paths, byte paths and unique sibling names.
#include <filesystem>
#include <memory>

#include "tests/framework/io/FileTestSupport.h"

namespace {

TEST(FilePathTest, FolderAndNameSplitAtLastSeparator)
{
    CFile file(u"/books/a.lml");
    EXPECT_EQ(PathOf(file), u"/books/a.lml");
    EXPECT_EQ(FolderOf(file), u"/books");
    EXPECT_EQ(NameOf(file), u"a.lml");
    std::unique_ptr<CFile> parent(file.GetParent());
    ASSERT_NE(parent, nullptr);
    EXPECT_EQ(PathOf(*parent), u"/books");
    EXPECT_EQ(NameOf(*parent), u"books");

    std::unique_ptr<CFile> root(parent->GetParent());
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(PathOf(*root), u"/");
    EXPECT_EQ(FolderOf(*root), u"/");
    std::unique_ptr<CFile> rootParent(root->GetParent());
    EXPECT_EQ(PathOf(*rootParent), u"/");

    CFile bare(u"a.lml");
    EXPECT_EQ(FolderOf(bare), u"a.lml");
    EXPECT_EQ(NameOf(bare), u"a.lml");
    EXPECT_EQ(PathOf(bare), u"a.lml");

    CFile relative(CRkString(u"books/b.txt"));
    EXPECT_EQ(FolderOf(relative), u"books");
    EXPECT_EQ(NameOf(relative), u"b.txt");
}

TEST(FilePathTest, ChildAndCopyBuildPaths)
{
    EXPECT_EQ(PathOf(CFile(CFile(u"/books"), CRkString(u"a.lml"))), u"/books/a.lml");
    EXPECT_EQ(PathOf(CFile(CFile(u"/"), CRkString(u"etc"))), u"/etc");
    EXPECT_EQ(PathOf(CFile(CFile(u"out/"), CRkString(u"x"))), u"out/x");
    CFile original(u"/a/b");
    CFile copy(original);
    EXPECT_EQ(PathOf(copy), u"/a/b");
    EXPECT_EQ(NameOf(copy), u"b");
}

TEST_F(ScratchFolderTest, NonUtf8BytePathsRoundTrip)
{
    // Stray bytes, a two-byte and a four-byte character, an encoded
    // surrogate (not valid UTF-8) and a sequence cut short at the end.
    const std::string name = "\xFF\xFE-\xC3\xA9-\xF0\x9F\x98\x80-\xED\xA0\x80-\xC0\xAF.\xE2\x82";
    CFile file(At(name).c_str());
    const std::u16string expected = u"\xDCFF\xDCFE-\u00E9-\U0001F600-\xDCED\xDCA0\xDC80-\xDCC0\xDCAF.\xDCE2\xDC82";
    EXPECT_EQ(NameOf(file), expected);

    ASSERT_EQ(file.Create(), 0u);
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::path(At(name))));
    EXPECT_TRUE(file.Exists());

    // The same name given as UTF-16 reaches the same bytes.
    CFile folder(m_dir.c_str());
    CFile again(folder, Str(expected));
    EXPECT_TRUE(again.Exists());
    EXPECT_TRUE(again.IsSameFile(file));
    EXPECT_EQ(PathOf(again), PathOf(file));

    // A UTF-16 name with a NUL can name nothing.
    CFile withNul(folder, Str(std::u16string(u"a\0b", 3)));
    EXPECT_EQ(withNul.Create(), 1u);
    EXPECT_FALSE(withNul.Exists());
    EXPECT_FALSE(std::filesystem::exists(At("a")));
}

std::u16string Expect8Hex(const std::u16string& name, const std::u16string& base, uint32_t& value)
{
    if (name.size() != base.size() + 9 || name.compare(0, base.size(), base) != 0 || name[base.size()] != u'-')
        return u"bad shape: " + name;
    value = 0;
    for (size_t i = base.size() + 1; i < name.size(); ++i) {
        const char16_t c = name[i];
        if (!((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F')))
            return u"bad digit: " + name;
        value = value * 16 + uint32_t(c <= u'9' ? c - u'0' : c - u'A' + 10);
    }
    return u"";
}

TEST_F(ScratchFolderTest, UniqueSiblingNamesAndSkipsTakenNames)
{
    CFile source(At("book.lml").c_str());
    std::unique_ptr<CFile> first(source.MakeUniqueSibling(CRkString(u"out")));
    ASSERT_NE(first, nullptr);
    uint32_t stamp = 0;
    EXPECT_EQ(Expect8Hex(NameOf(*first), u"out", stamp), u"");
    EXPECT_EQ(FolderOf(*first), FolderOf(source));
    EXPECT_FALSE(first->Exists());

    // Take the next names; a later call must skip every one of them.
    const uint32_t kTaken = 300;
    for (uint32_t i = 0; i < kTaken; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "out-%08X", stamp + i);
        WriteBytes(name, "taken");
    }
    std::unique_ptr<CFile> second(source.MakeUniqueSibling(CRkString(u"out")));
    ASSERT_NE(second, nullptr);
    uint32_t later = 0;
    EXPECT_EQ(Expect8Hex(NameOf(*second), u"out", later), u"");
    EXPECT_GE(later - stamp, kTaken);
    EXPECT_FALSE(second->Exists());

    // A bare name's sibling is a bare name, not a path below it.
    CFile bare(u"book.lml");
    std::unique_ptr<CFile> bareSibling(bare.MakeUniqueSibling(CRkString(u"tmp")));
    ASSERT_NE(bareSibling, nullptr);
    EXPECT_EQ(PathOf(*bareSibling), NameOf(*bareSibling));
}

} // namespace
