// Opening, reading, writing, sizes and the big-endian helpers of CFile.
#include <cstring>
#include <ctime>
#include <filesystem>

#include "framework/core/MemBuffer.h"
#include "tests/framework/io/FileTestSupport.h"

namespace {

std::string Hundred()
{
    std::string s;
    for (int i = 0; i < 100; ++i)
        s.push_back(char(i));
    return s;
}

class FileOpsTest : public ScratchFolderTest {};

TEST(FileNoImpTest, EveryOperationFailsQuietly)
{
    CFile none;
    uint32_t got = 7;
    char byte = 0;
    CMemBuffer buffer;
    FileDate date;
    EXPECT_FALSE(none.HasImp());
    EXPECT_FALSE(none.Exists());
    EXPECT_FALSE(none.IsOpen());
    EXPECT_NE(none.Open(kFileModeRead), 0u);
    EXPECT_NE(none.Read(&byte, 1, got), 0u);
    EXPECT_EQ(got, 0u);
    EXPECT_NE(none.Write("x", 1), 0u);
    EXPECT_NE(none.Create(), 0u);
    EXPECT_NE(none.ReadRest(buffer), 0u);
    EXPECT_EQ(none.GetSize(), 0u);
    EXPECT_EQ(none.GetPosition(), kFilePositionNone);
    EXPECT_FALSE(none.GetModificationDate(date));
    EXPECT_EQ(none.GetParent(), nullptr);
    EXPECT_EQ(none.MakeUniqueSibling(CRkString(u"out")), nullptr);
    CFile copy(none);
    EXPECT_FALSE(copy.HasImp());
}

TEST_F(FileOpsTest, CreateMakesEmptyFileAndNeverTouchesExistingOne)
{
    CFile fresh(At("new.txt").c_str());
    EXPECT_FALSE(fresh.Exists());
    EXPECT_EQ(fresh.Create(), 0u);
    EXPECT_TRUE(fresh.Exists());
    EXPECT_FALSE(fresh.IsDirectory());
    EXPECT_FALSE(fresh.IsOpen());
    EXPECT_EQ(fresh.GetSize(), 0u);

    WriteBytes("old.txt", "keep me");
    CFile old(At("old.txt").c_str());
    EXPECT_EQ(old.Create(), 1u);
    EXPECT_EQ(ReadBytes("old.txt"), "keep me");
}

TEST_F(FileOpsTest, GetSizeOpensOnlyWhenNeeded)
{
    WriteBytes("a.bin", Hundred());
    CFile file(At("a.bin").c_str());
    EXPECT_EQ(file.GetSize(), 100u);
    EXPECT_FALSE(file.IsOpen());

    ASSERT_EQ(file.Open(kFileModeReadWrite), 0u);
    ASSERT_EQ(file.Seek(0, kSeekFromEnd), 0u);
    ASSERT_EQ(file.Write("xyz", 3), 0u);
    EXPECT_EQ(file.GetSize(), 103u);
    EXPECT_TRUE(file.IsOpen());
    EXPECT_EQ(file.Close(), 0u);

    CFile missing(At("missing.bin").c_str());
    EXPECT_EQ(missing.GetSize(), 0u);
    EXPECT_FALSE(missing.IsOpen());
}

TEST_F(FileOpsTest, SeekOriginsAndSetLength)
{
    WriteBytes("a.bin", Hundred());
    CFile file(At("a.bin").c_str());
    EXPECT_EQ(file.GetPosition(), kFilePositionNone);
    EXPECT_EQ(file.Seek(0), 1u); // closed
    ASSERT_EQ(file.Open(kFileModeReadWrite), 0u);

    EXPECT_EQ(file.Seek(0, kSeekFromEnd), 0u);
    EXPECT_EQ(file.GetPosition(), 100u);
    EXPECT_EQ(file.Seek(-10, kSeekFromCurrent), 0u);
    EXPECT_EQ(file.GetPosition(), 90u);
    EXPECT_EQ(file.Seek(5), 0u);
    EXPECT_EQ(file.GetPosition(), 5u);
    EXPECT_EQ(file.Seek(-1), 1u);
    EXPECT_EQ(file.Seek(0, 3), 1u);
    EXPECT_EQ(file.GetPosition(), 5u);

    EXPECT_EQ(file.SetLength(40), 0u);
    EXPECT_EQ(file.GetLength(), 40u);
    EXPECT_EQ(file.GetPosition(), 40u);
    EXPECT_EQ(file.SetLength(0), 0u);
    EXPECT_EQ(file.GetLength(), 0u);
    EXPECT_EQ(file.Close(), 0u);
    EXPECT_EQ(ReadBytes("a.bin"), "");
    EXPECT_EQ(file.Close(), 1u); // already closed
}

TEST_F(FileOpsTest, ReadRestAndReadInto)
{
    WriteBytes("a.bin", Hundred());
    CFile file(At("a.bin").c_str());
    CMemBuffer buffer;
    EXPECT_EQ(file.ReadRest(buffer), 1u); // not open
    ASSERT_EQ(file.Open(kFileModeRead), 0u);

    char head[10];
    uint32_t got = 0;
    ASSERT_EQ(file.Read(head, 10, got), 0u);
    EXPECT_EQ(got, 10u);
    ASSERT_EQ(file.ReadRest(buffer), 0u);
    ASSERT_EQ(buffer.GetSize(), 90u);
    EXPECT_EQ(std::memcmp(buffer.GetData(), Hundred().data() + 10, 90), 0);
    EXPECT_EQ(file.ReadRest(buffer), 0u);
    EXPECT_EQ(buffer.GetSize(), 0u);

    // Reading past the end: a short read, counted, and reported by ReadInto.
    ASSERT_EQ(file.Seek(95), 0u);
    char tail[20];
    EXPECT_EQ(file.Read(tail, 20, got), 0u);
    EXPECT_EQ(got, 5u);
    ASSERT_EQ(file.Seek(95), 0u);
    EXPECT_EQ(file.ReadInto(buffer, 20), 1u);
    ASSERT_EQ(buffer.GetSize(), 5u);
    EXPECT_EQ(buffer.GetData()[0], 95);
    EXPECT_EQ(file.Close(), 0u);
}

TEST_F(FileOpsTest, BigEndianNumbersAndText)
{
    CFile file(At("be.bin").c_str());
    ASSERT_EQ(file.Create(), 0u);
    ASSERT_EQ(file.Open(kFileModeWrite), 0u);
    EXPECT_EQ(file.WriteU32BE(0x01020304u), 0u);
    EXPECT_EQ(file.WriteU16BE(0xA0B1u), 0u);
    EXPECT_EQ(file.WriteText("VxBk"), 0u);
    EXPECT_EQ(file.WriteU16BE(0x7F80u), 0u);
    ASSERT_EQ(file.Close(), 0u);
    EXPECT_EQ(ReadBytes("be.bin"), std::string("\x01\x02\x03\x04\xA0\xB1VxBk\x7F\x80", 12));

    ASSERT_EQ(file.Open(kFileModeRead), 0u);
    uint32_t u32 = 0;
    uint16_t u16 = 0;
    EXPECT_EQ(file.ReadU32BE(u32), 0u);
    EXPECT_EQ(u32, 0x01020304u);
    EXPECT_EQ(file.ReadU16BE(u16), 0u);
    EXPECT_EQ(u16, 0xA0B1u);
    EXPECT_EQ(file.ReadU32BE(u32), 0u);
    EXPECT_EQ(u32, FourCC("VxBk"));
    // Two bytes left: a 32-bit read comes up short and fails.
    EXPECT_EQ(file.ReadU32BE(u32), 1u);
    EXPECT_EQ(u32, 0u);
    ASSERT_EQ(file.Seek(-2, kSeekFromEnd), 0u);
    EXPECT_EQ(file.ReadU16BE(u16), 0u);
    EXPECT_EQ(u16, 0x7F80u);
    EXPECT_EQ(file.ReadU16BE(u16), 1u);
    EXPECT_EQ(file.Close(), 0u);
}

TEST_F(FileOpsTest, AccessFollowsTheOpenMode)
{
    WriteBytes("a.bin", Hundred());
    CFile file(At("a.bin").c_str());
    char byte = 0;
    uint32_t got = 0;

    EXPECT_EQ(file.Write("x", 1), 1u); // closed
    EXPECT_EQ(file.Read(&byte, 1, got), 1u);

    ASSERT_EQ(file.Open(kFileModeRead), 0u);
    EXPECT_EQ(file.Write("x", 1), 1u);
    EXPECT_EQ(file.SetLength(0), 1u);

    ASSERT_EQ(file.Open(kFileModeWrite), 0u); // reopening closes first
    EXPECT_EQ(file.Read(&byte, 1, got), 1u);
    EXPECT_EQ(got, 0u);

    ASSERT_EQ(file.Open(kFileModeQuery), 0u);
    EXPECT_EQ(file.GetLength(), 100u);
    EXPECT_EQ(file.Read(&byte, 1, got), 1u);
    EXPECT_EQ(file.Write("x", 1), 1u);
    EXPECT_EQ(file.Close(), 0u);
    EXPECT_EQ(ReadBytes("a.bin"), Hundred());

    CFile missing(At("missing").c_str());
    EXPECT_EQ(missing.Open(kFileModeWrite), 1u);
    EXPECT_FALSE(missing.Exists()); // opening never creates
    CFile folder(m_dir.c_str());
    EXPECT_EQ(folder.Open(kFileModeRead), 1u);
    EXPECT_FALSE(folder.IsOpen());
}

TEST(FileDeviceTest, FailedWriteIsReported)
{
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    CFile full("/dev/full");
    ASSERT_EQ(full.Open(kFileModeWrite), 0u);
    EXPECT_EQ(full.Write("data", 4), 1u);
    EXPECT_EQ(full.WriteU32BE(1), 1u);
    full.Close();
}

FileDate LocalDate(std::time_t when)
{
    std::tm local{};
    localtime_r(&when, &local);
    return FileDate{uint16_t(local.tm_year + 1900), uint8_t(local.tm_mon + 1), uint8_t(local.tm_mday)};
}

bool SameDate(const FileDate& a, const FileDate& b)
{
    return a.year == b.year && a.month == b.month && a.day == b.day;
}

TEST_F(FileOpsTest, ModificationDateIsLocalDateOfLastWrite)
{
    const FileDate before = LocalDate(std::time(nullptr));
    WriteBytes("a.bin", "x");
    const FileDate after = LocalDate(std::time(nullptr));

    CFile file(At("a.bin").c_str());
    FileDate closedDate, openDate;
    ASSERT_TRUE(file.GetModificationDate(closedDate));
    EXPECT_TRUE(SameDate(closedDate, before) || SameDate(closedDate, after))
        << closedDate.year << "-" << int(closedDate.month) << "-" << int(closedDate.day);
    ASSERT_EQ(file.Open(kFileModeRead), 0u);
    ASSERT_TRUE(file.GetModificationDate(openDate));
    EXPECT_TRUE(SameDate(openDate, closedDate));
    file.Close();

    FileDate none;
    EXPECT_FALSE(CFile(At("missing").c_str()).GetModificationDate(none));
}

} // namespace
