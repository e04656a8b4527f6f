#include <cstring>
#include <filesystem>
#include <string>

#include "FileTestSupport.h"
#include "framework/io/DataFile.h"

namespace {

class DataFile : public ScratchFolderTest {
protected:
    std::string Path() const { return At("prefs.dat"); }
    CRkDataFile* Open(uint32_t flags) const
    {
        return new CRkDataFile(CFile(Path().c_str()), FourCC("VxAp"), flags, FourCC("DATA"));
    }
};

std::string U32BE(uint32_t v)
{
    return {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}

std::string U32LE(uint32_t v)
{
    return {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
}

std::string Value(const CRkDataFile& file, uint32_t key)
{
    CMemBuffer out;
    if (file.Get(key, out) != 0)
        return "<none>";
    return std::string(reinterpret_cast<const char*>(out.GetData()), out.GetSize());
}

TEST_F(DataFile, WritesVersion2BigEndianAndReadsItBack)
{
    {
        std::unique_ptr<CRkDataFile> file(Open(kDataFileWriteBack));
        EXPECT_FALSE(file->IsLoaded());
        EXPECT_EQ(file->Set(0x0A0B0C0D, "abc", 3), 0u);
        EXPECT_EQ(file->Set(7, "de", 2), 0u);
        EXPECT_TRUE(file->IsDirty());
        EXPECT_EQ(file->Lookup(7), 1u);
        EXPECT_EQ(file->Lookup(8), kDataFileNoEntry);
    }
    const std::string expected =
        U32BE(2) + U32BE(2) + U32BE(0x0A0B0C0D) + U32BE(0) + U32BE(3) + U32BE(7) + U32BE(3) + U32BE(2) + "abcde";
    EXPECT_EQ(ReadBytes("prefs.dat"), expected);
    EXPECT_FALSE(std::filesystem::exists(At("prefs.dat.tmp")));

    std::unique_ptr<CRkDataFile> again(Open(0));
    EXPECT_TRUE(again->IsLoaded());
    EXPECT_EQ(again->GetCount(), 2u);
    EXPECT_EQ(Value(*again, 0x0A0B0C0D), "abc");
    EXPECT_EQ(Value(*again, 7), "de");
    EXPECT_EQ(Value(*again, 9), "<none>");
}

TEST_F(DataFile, ReadsVersion1LittleEndianEntries)
{
    WriteBytes("prefs.dat", U32BE(1) + U32BE(2) + U32LE(0x01020304) + U32LE(0) + U32LE(4) + U32LE(9) + U32LE(4) +
                                U32LE(1) + "wxyzQ");
    {
        std::unique_ptr<CRkDataFile> file(Open(kDataFileWriteBack));
        ASSERT_TRUE(file->IsLoaded());
        EXPECT_EQ(Value(*file, 0x01020304), "wxyz");
        EXPECT_EQ(Value(*file, 9), "Q");
        file->Set(9, "R", 1);
    }
    // Saving always writes version 2.
    EXPECT_EQ(ReadBytes("prefs.dat").substr(0, 12), U32BE(2) + U32BE(2) + U32BE(0x01020304));
}

TEST_F(DataFile, ReplacingAValueShiftsTheValuesBehindIt)
{
    std::unique_ptr<CRkDataFile> file(Open(0));
    file->Set(1, "abc", 3);
    file->Set(2, "", 0);
    file->Set(3, "de", 2);
    file->Set(4, "f", 1);
    file->Set(1, "XXXXX", 5);
    EXPECT_EQ(Value(*file, 1), "XXXXX");
    EXPECT_EQ(Value(*file, 2), "");
    EXPECT_EQ(Value(*file, 3), "de");
    EXPECT_EQ(Value(*file, 4), "f");
    file->Set(3, "", 0);
    file->Set(2, "gh", 2);
    EXPECT_EQ(Value(*file, 1), "XXXXX");
    EXPECT_EQ(Value(*file, 2), "gh");
    EXPECT_EQ(Value(*file, 3), "");
    EXPECT_EQ(Value(*file, 4), "f");
    EXPECT_EQ(file->Set(5, nullptr, 1), 1u);
    EXPECT_EQ(file->GetCount(), 4u);

    ASSERT_EQ(file->Save(), 0u);
    const std::string bytes = ReadBytes("prefs.dat");
    EXPECT_EQ(bytes.substr(8 + 48), "XXXXXghf");
    // Entry 4 (key 4) now starts at offset 7.
    EXPECT_EQ(bytes.substr(8 + 36, 12), U32BE(4) + U32BE(7) + U32BE(1));
}

TEST_F(DataFile, EmbeddedInADeviceDatabase)
{
    {
        std::unique_ptr<CRkDataFile> file(Open(kDataFileWriteBack | kDataFileEmbedded));
        file->Set(42, "hello", 5);
    }
    const std::string bytes = ReadBytes("prefs.dat");
    ASSERT_EQ(bytes.size(), 88u + 8 + 12 + 5);
    EXPECT_EQ(bytes.substr(0, 10), std::string("prefs.dat\0", 10));
    EXPECT_EQ(bytes.substr(60, 8), "DATAVxDc");
    EXPECT_EQ(bytes.substr(76, 2), std::string("\0\1", 2));
    EXPECT_EQ(bytes.substr(78, 4), U32BE(88));
    EXPECT_EQ(bytes.substr(88), U32BE(2) + U32BE(1) + U32BE(42) + U32BE(0) + U32BE(5) + "hello");

    std::unique_ptr<CRkDataFile> embedded(Open(kDataFileEmbedded));
    EXPECT_TRUE(embedded->IsLoaded());
    EXPECT_EQ(Value(*embedded, 42), "hello");
    // Without the flag the database header is not understood.
    std::unique_ptr<CRkDataFile> plain(Open(0));
    EXPECT_FALSE(plain->IsLoaded());
    EXPECT_EQ(plain->GetCount(), 0u);
}

TEST_F(DataFile, EmbeddedStartIsTakenFromTheFirstRecordEntry)
{
    std::string header(100, '\0');
    header.replace(64, 4, "VxDc");
    header.replace(78, 4, U32BE(100));
    WriteBytes("prefs.dat", header + U32BE(2) + U32BE(1) + U32BE(5) + U32BE(0) + U32BE(2) + "ok");
    std::unique_ptr<CRkDataFile> file(Open(kDataFileEmbedded));
    ASSERT_TRUE(file->IsLoaded());
    EXPECT_EQ(Value(*file, 5), "ok");

    // A plain data file still loads with the flag set.
    WriteBytes("prefs.dat", U32BE(2) + U32BE(1) + U32BE(5) + U32BE(0) + U32BE(2) + "ok");
    std::unique_ptr<CRkDataFile> plain(Open(kDataFileEmbedded));
    EXPECT_TRUE(plain->IsLoaded());

    // A start offset past the end of the file fails cleanly.
    header.replace(78, 4, U32BE(0xFFFFFF00u));
    WriteBytes("prefs.dat", header + "junk");
    std::unique_ptr<CRkDataFile> broken(Open(kDataFileEmbedded));
    EXPECT_FALSE(broken->IsLoaded());
}

TEST_F(DataFile, CorruptFilesBehaveAsEmpty)
{
    const std::string entry = U32BE(1) + U32BE(0) + U32BE(2);
    const struct {
        const char* what;
        std::string bytes;
    } cases[] = {
        {"empty file", ""},
        {"short header", U32BE(2)},
        {"unknown version", U32BE(3) + U32BE(0)},
        {"count beyond the file", U32BE(2) + U32BE(0x10000000) + entry},
        {"truncated index", U32BE(2) + U32BE(2) + entry + "ab"},
        {"last entry past the blob", U32BE(2) + U32BE(1) + U32BE(1) + U32BE(1) + U32BE(2) + "ab"},
        {"middle entry past the blob", U32BE(2) + U32BE(2) + U32BE(1) + U32BE(0xFFFFFFFF) + U32BE(2) + entry + "ab"},
        {"overflowing offset + length", U32BE(2) + U32BE(1) + U32BE(1) + U32BE(1) + U32BE(0xFFFFFFFF) + "ab"},
    };
    for (const auto& c : cases) {
        WriteBytes("prefs.dat", c.bytes);
        std::unique_ptr<CRkDataFile> file(Open(kDataFileWriteBack));
        EXPECT_FALSE(file->IsLoaded()) << c.what;
        EXPECT_EQ(file->GetCount(), 0u) << c.what;
        EXPECT_EQ(Value(*file, 1), "<none>") << c.what;
        EXPECT_FALSE(file->IsDirty()) << c.what;
    }
    // Nothing changed, so nothing was written back over the damaged file.
    EXPECT_EQ(ReadBytes("prefs.dat"), cases[7].bytes);
}

TEST_F(DataFile, WriteBackOnlyWhenAskedAndChanged)
{
    {
        std::unique_ptr<CRkDataFile> file(Open(kDataFileWriteBack));
    }
    EXPECT_FALSE(std::filesystem::exists(Path())) << "unchanged: no file";
    {
        std::unique_ptr<CRkDataFile> file(Open(0));
        file->Set(1, "x", 1);
    }
    EXPECT_FALSE(std::filesystem::exists(Path())) << "no write-back flag";
}

TEST_F(DataFile, SaveFailsCleanlyWhereNoFileCanBeMade)
{
    CRkDataFile file(CFile(At("missing/prefs.dat").c_str()), 0, 0, 0);
    file.Set(1, "x", 1);
    EXPECT_EQ(file.Save(), 1u);
    EXPECT_TRUE(file.IsDirty());
    EXPECT_FALSE(std::filesystem::exists(At("missing")));
}

} // namespace
