#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "ByteHelpers.h"
#include "TempDir.h"
#include "book/Container.h"
#include "book/LDBFile.h"
#include "framework/io/File.h"

namespace {

// A container with the given record offsets and total size (records zero).
std::string Container(const std::vector<uint32_t>& offsets, size_t total, uint16_t count)
{
    LDBHeader h;
    std::strncpy(h.name, "Probe", 31);
    h.type = FourCC("VxBk");
    h.creator = FourCC("VxCr");
    h.version = 3;
    h.modificationNumber = 9;
    h.recordCount = count;
    CMemBuffer b;
    AppendLDBHeader(h, b);
    for (size_t i = 0; i < offsets.size(); ++i)
        AppendRecordEntry(offsets[i], 0, kFirstUniqueId + uint32_t(i), b);
    std::string s(reinterpret_cast<const char*>(b.GetData()), b.GetSize());
    s.resize(total, '\0');
    return s;
}

TEST(Container, HeaderAndEntryLayout)
{
    LDBHeader h;
    std::strncpy(h.name, "abcdefghijklmnopqrstuvwxyz012", 31); // 29 characters
    h.attributes = 0x0008;
    h.creationTime = 0x01020304;
    h.modificationTime = 0x01020305;
    h.type = FourCC("VxBk");
    h.creator = FourCC("VxCr");
    h.recordCount = 0x0A0B;
    CMemBuffer b;
    AppendLDBHeader(h, b);
    AppendRecordEntry(0x11223344, 0, 0x6F8001, b);
    const auto expected = Expect()
                              .str("abcdefghijklmnopqrstuvwxyz012")
                              .zeros(3)
                              .u16(8)
                              .u16(0)
                              .u32(0x01020304)
                              .u32(0x01020305)
                              .zeros(16)
                              .str("VxBk")
                              .str("VxCr")
                              .zeros(8)
                              .u16(0x0A0B)
                              .u32(0x11223344)
                              .u8(0)
                              .u8(0x6F)
                              .u8(0x80)
                              .u8(0x01)
                              .bytes;
    EXPECT_EQ(Bytes(b), expected);
    EXPECT_EQ(FirstRecordOffset(3), 80u + 24u);
}

TEST(LDBFile, OddOffsetsGiveZeroSizesNeverReadsPastTheEnd)
{
    TempDir dir;
    const std::string path = dir.File("odd.ldb");
    // Record 1 lies before record 0; record 2 far beyond the end.
    WriteBytes(path, Container({120, 100, 0x7FFFFFF0}, 200, 3));
    CLDBFile file{CFile(path.c_str())};
    ASSERT_TRUE(file.IsValid());
    EXPECT_EQ(file.GetVersion(), 3);
    EXPECT_EQ(file.GetModificationNumber(), 9u);
    EXPECT_EQ(file.GetRecordCount(), 3u);
    EXPECT_EQ(file.GetRecordSize(0), 0u);
    EXPECT_EQ(file.GetRecordSize(1), 0x7FFFFFF0u - 100u);
    EXPECT_EQ(file.GetRecordSize(2), 0u);
    EXPECT_EQ(file.GetRecordOffset(2), 0x7FFFFFF0u);
    EXPECT_EQ(file.GetRecordOffset(3), 0u);
    CMemBuffer out;
    EXPECT_EQ(file.ReadRecord(1, out), 1u); // would run past the end: refused
    EXPECT_EQ(out.GetSize(), 0u);
    EXPECT_EQ(file.ReadRecord(0, out), 0u);
    EXPECT_FALSE(file.IsComplete());
}

TEST(LDBFile, TruncatedAndGarbageFilesStayInvalid)
{
    TempDir dir;
    const std::string shortHeader = dir.File("short.ldb");
    WriteBytes(shortHeader, std::string(50, 'x'));
    const std::string shortList = dir.File("list.ldb");
    WriteBytes(shortList, Container({}, 78 + 8 * 100 - 1, 100)); // list cut off
    const std::string absurd = dir.File("absurd.ldb");
    WriteBytes(absurd, Container({}, 90, 0xFFFF));
    for (const std::string& path : {shortHeader, shortList, absurd, dir.File("missing.ldb")}) {
        CLDBFile file{CFile(path.c_str())};
        EXPECT_FALSE(file.IsValid()) << path;
        EXPECT_EQ(file.GetName(), nullptr);
        EXPECT_EQ(file.GetType(), 0xFFFFFFFFu);
        EXPECT_EQ(file.GetCreator(), 0xFFFFFFFFu);
        EXPECT_EQ(file.GetVersion(), -1);
        EXPECT_EQ(file.GetRecordCount(), 0u);
        EXPECT_EQ(file.GetRecordSize(0), 0u);
        CMemBuffer out;
        EXPECT_EQ(file.ReadRecord(0, out), 1u);
        EXPECT_FALSE(file.IsComplete());
    }
    EXPECT_EQ(CLDBFile::ProbeType(CFile(shortHeader.c_str())), 0u);
    CRkString name;
    EXPECT_FALSE(CLDBFile::ProbeName(CFile(dir.File("missing.ldb").c_str()), name));
}

TEST(LDBFile, TruncatedBookIsIncomplete)
{
    TempDir dir;
    const std::string path = dir.File("cut.ldb");
    // Three records of 10 bytes at 104, 114, 124; file cut inside record 1.
    WriteBytes(path, Container({104, 114, 124}, 118, 3));
    CLDBFile file{CFile(path.c_str())};
    ASSERT_TRUE(file.IsValid());
    EXPECT_FALSE(file.IsComplete());
    CMemBuffer out;
    EXPECT_EQ(file.ReadRecord(0, out), 0u);
    EXPECT_EQ(out.GetSize(), 10u);
    EXPECT_EQ(file.ReadRecord(1, out), 1u);
    file.Close();
    EXPECT_EQ(file.ReadRecord(0, out), 0u); // reopens
    file.Close();                           // an open file cannot be replaced on Windows

    WriteBytes(path, Container({104, 114, 124}, 134, 3));
    CLDBFile whole{CFile(path.c_str())};
    EXPECT_TRUE(whole.IsComplete());
    EXPECT_EQ(whole.GetRecordSize(2), 10u);
}

} // namespace
