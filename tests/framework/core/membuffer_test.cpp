#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "framework/core/MemBuffer.h"
#include "framework/core/RkStream.h"

// Sanitizers reserve address space of their own: no limit test there.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define VX_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(memory_sanitizer) || __has_feature(thread_sanitizer)
#define VX_SANITIZED 1
#endif
#endif

#if !defined(_WIN32)
#include <new>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

std::string Bytes(const CMemBuffer& b)
{
    return std::string(reinterpret_cast<const char*>(b.GetData()), b.GetSize());
}

int CompareInts(const void* a, const void* b)
{
    const int x = *static_cast<const int*>(a);
    const int y = *static_cast<const int*>(b);
    return (x > y) - (x < y);
}

} // namespace

TEST(MemBuffer, ConstructionAndGrowthFigures)
{
    CMemBuffer zero(0);
    EXPECT_EQ(zero.GetCapacity(), 256u);
    EXPECT_EQ(zero.GetGrowIncrement(), kGrowDoubling);
    EXPECT_EQ(zero.GetElementSize(), 1u);
    EXPECT_EQ(zero.GetTypeID(), 2u);

    CMemBuffer stepped(256, 100);
    stepped.Reserve(300);
    EXPECT_EQ(stepped.GetCapacity(), 356u);
    CMemBuffer stepped2(256, 100);
    stepped2.Reserve(1000);
    EXPECT_EQ(stepped2.GetCapacity(), 1056u);
    stepped2.Reserve(1056); // already enough
    EXPECT_EQ(stepped2.GetCapacity(), 1056u);

    CMemBuffer doubling;
    doubling.Reserve(257);
    EXPECT_EQ(doubling.GetCapacity(), 512u);
    CMemBuffer doubling2;
    doubling2.Reserve(3000);
    EXPECT_EQ(doubling2.GetCapacity(), 4096u);

    CMemBuffer small(3);
    small.Append("abcdefgh", 8); // growth keeps the bytes in use
    EXPECT_EQ(small.GetCapacity(), 12u);
    EXPECT_EQ(Bytes(small), "abcdefgh");
}

TEST(MemBuffer, SetSizeCopyAndCopyBytes)
{
    CMemBuffer b(4, 4);
    b.Append("xy", 2);
    b.SetSize(6, true);
    EXPECT_EQ(Bytes(b), std::string("xy\0\0\0\0", 6));
    b.SetSize(1);
    EXPECT_EQ(Bytes(b), "x");
    b.SetElementSize(2);

    CMemBuffer copy(b);
    EXPECT_EQ(copy.GetCapacity(), b.GetCapacity());
    EXPECT_EQ(copy.GetGrowIncrement(), 4u);
    EXPECT_EQ(copy.GetElementSize(), 2u);
    EXPECT_EQ(Bytes(copy), "x");
    EXPECT_NE(copy.GetData(), b.GetData());

    uint8_t* bytes = b.CopyBytes();
    ASSERT_NE(bytes, nullptr);
    EXPECT_EQ(bytes[0], 'x');
    std::free(bytes);
    EXPECT_EQ(CMemBuffer().CopyBytes(), nullptr);
}

TEST(MemBuffer, BigEndianAppends)
{
    CMemBuffer b;
    b.AppendU32BE(0x01020304);
    b.AppendU16BE(0x0102);
    b.AppendU8(0xFF);
    EXPECT_EQ(Bytes(b), std::string("\x01\x02\x03\x04\x01\x02\xFF", 7));
    CMemBuffer c;
    c.Append("<", 1);
    EXPECT_EQ(c.AppendBuffer(b), 8u);
    EXPECT_EQ(Bytes(c).substr(1), Bytes(b));
}

TEST(MemBuffer, InsertRemoveReplace)
{
    CMemBuffer b;
    b.Append("abcdef", 6);
    b.Insert(2, "XY", 2);
    EXPECT_EQ(Bytes(b), "abXYcdef");
    b.Insert(8, "!", 1);
    EXPECT_EQ(Bytes(b), "abXYcdef!");
    b.Insert(0, "?", 0);
    EXPECT_EQ(Bytes(b), "abXYcdef!");
    b.Remove(2, 2);
    EXPECT_EQ(Bytes(b), "abcdef!");
    b.Remove(6, 1);
    EXPECT_EQ(Bytes(b), "abcdef");

    b.Replace(1, 3, "123", 3); // grows
    EXPECT_EQ(Bytes(b), "a123def");
    b.Replace(1, 4, "Z", 1); // shrinks
    EXPECT_EQ(Bytes(b), "aZdef");
    b.Replace(1, 2, "Q", 1); // same length
    EXPECT_EQ(Bytes(b), "aQdef");
    b.Replace(3, 100, "END", 3); // end past the end: replaced up to the end
    EXPECT_EQ(Bytes(b), "aQdEND");
    b.Replace(50, 60, "+", 1); // start past the end: appended
    EXPECT_EQ(Bytes(b), "aQdEND+");
    b.Replace(4, 2, "no", 2); // end below start: nothing
    EXPECT_EQ(Bytes(b), "aQdEND+");
    b.Replace(0, 7, nullptr, 0);
    EXPECT_EQ(b.GetSize(), 0u);

    // Growth inside Replace keeps the tail.
    CMemBuffer g(4, 1);
    g.Append("abcd", 4);
    g.Replace(1, 2, "0123456789", 10);
    EXPECT_EQ(Bytes(g), "a0123456789cd");
}

TEST(MemBuffer, ElementLayer)
{
    CMemBuffer b;
    b.SetElementSize(4);
    const int values[] = {5, 1, 4};
    b.AppendElements(values, 3);
    const int two = 2;
    b.InsertElement(1, &two);
    EXPECT_EQ(b.GetCount(), 4u);
    int out = 0;
    b.GetElement(1, &out);
    EXPECT_EQ(out, 2);
    const int nine = 9;
    b.SetElement(0, &nine);
    EXPECT_EQ(*reinterpret_cast<int*>(b.ElementAt(0)), 9);
    const int repl[] = {7, 8};
    b.ReplaceElements(1, 3, repl, 2); // 9 7 8 4
    b.RemoveElement(0);               // 7 8 4
    b.InsertElements(3, values, 2);   // 7 8 4 5 1
    b.RemoveElements(1, 1);           // 7 4 5 1
    b.Sort(CompareInts);              // 1 4 5 7
    ASSERT_EQ(b.GetCount(), 4u);
    const int expected[] = {1, 4, 5, 7};
    EXPECT_EQ(std::memcmp(b.GetData(), expected, sizeof expected), 0);
    b.SetCount(6, true);
    EXPECT_EQ(*reinterpret_cast<int*>(b.ElementAt(5)), 0);
    b.SetCount(4);
    b.SetElementSize(3);
    EXPECT_EQ(b.GetCount(), 5u); // 16 bytes / 3
}

TEST(MemBuffer, SearchFindsEveryElementAndNothingElse)
{
    for (int count = 0; count < 12; ++count) {
        CMemBuffer b;
        b.SetElementSize(4);
        for (int i = 0; i < count; ++i) {
            const int v = i * 10;
            b.AppendElement(&v);
        }
        for (int key = -5; key <= count * 10; key += 5) {
            void* hit = b.Search(&key, CompareInts);
            if (key >= 0 && key % 10 == 0 && key < count * 10)
                ASSERT_EQ(hit, b.ElementAt(key / 10)) << "count " << count << " key " << key;
            else
                ASSERT_EQ(hit, nullptr) << "count " << count << " key " << key;
        }
    }
    CMemBuffer b;
    b.SetElementSize(4);
    const int v = 3;
    b.AppendElement(&v);
    EXPECT_EQ(b.Search(nullptr, CompareInts), nullptr);
    EXPECT_EQ(b.Search(&v, nullptr), nullptr);
    b.SetElementSize(0);
    EXPECT_EQ(b.Search(&v, CompareInts), nullptr);
}

TEST(MemBuffer, StreamRoundTrip)
{
    CMemBuffer source(16, 8);
    source.SetElementSize(2);
    source.Append("\x00\x01\x02\x03", 4);
    CMemBuffer stream;
    {
        CRkMemStream out(stream, StreamMode::Write);
        ASSERT_EQ(out.Open(), 0);
        ASSERT_EQ(source.Write(out), 0);
        ASSERT_EQ(out.Close(), 0);
    }
    EXPECT_EQ(Bytes(stream), std::string("\0\0\0\0\0\0\0\2\0\0\0\4\0\1\2\3", 16));

    CMemBuffer back;
    back.Append("junk", 4);
    CRkMemStream in(stream, StreamMode::Read);
    ASSERT_EQ(in.Open(), 0);
    ASSERT_EQ(back.Read(in), 0);
    EXPECT_EQ(back.GetElementSize(), 2u);
    EXPECT_EQ(Bytes(back), Bytes(source));
}

TEST(MemBuffer, ReadFailures)
{
    CMemBuffer newer;
    newer.AppendU32BE(1);
    newer.AppendU32BE(1);
    CMemBuffer target;
    target.SetElementSize(4);
    target.Append("data", 4);
    CRkMemStream in(newer, StreamMode::Read);
    ASSERT_EQ(in.Open(), 0);
    EXPECT_EQ(target.Read(in), kStreamNewerVersion);
    EXPECT_EQ(target.GetSize(), 0u);
    EXPECT_EQ(target.GetElementSize(), 1u);

    // A size far beyond the data ends with the end-of-data error, keeping
    // what was there, without reserving the claimed size.
    CMemBuffer damaged;
    damaged.AppendU32BE(0);
    damaged.AppendU32BE(1);
    damaged.AppendU32BE(0xFFFFFFF0u);
    damaged.Append("abc", 3);
    CRkMemStream in2(damaged, StreamMode::Read);
    ASSERT_EQ(in2.Open(), 0);
    EXPECT_EQ(target.Read(in2), kStreamEndOfData);
    EXPECT_EQ(Bytes(target), "abc");
    EXPECT_LT(target.GetCapacity(), 1u << 20);
}

#if !defined(_WIN32) && !defined(VX_SANITIZED)
// Growth that cannot be had throws std::bad_alloc (TryReserve says false)
// and leaves the buffer as it was; run in a child whose address space is
// limited, so that the failure is real.
TEST(MemBuffer, GrowthBeyondTheMemoryLeftFailsCleanly)
{
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        CMemBuffer buffer(16, 0);
        buffer.Append("kept", 4);
        rlimit current{};
        ::getrlimit(RLIMIT_AS, &current);
        const rlimit limit{rlim_t(512) << 20, current.rlim_max};
        if (::setrlimit(RLIMIT_AS, &limit) != 0)
            ::_exit(2);
        int failures = 0;
        if (buffer.TryReserve(0xF0000000u))
            failures |= 4;
        try {
            buffer.SetSize(0xF0000000u);
            failures |= 8;
        } catch (const std::bad_alloc&) {
        }
        try {
            CMemBuffer huge(0xF0000000u);
            failures |= 16;
        } catch (const std::bad_alloc&) {
        }
        if (buffer.GetSize() != 4 || std::memcmp(buffer.GetData(), "kept", 4) != 0 || buffer.GetCapacity() != 16)
            failures |= 32;
        // Room that can be had is still given.
        if (!buffer.TryReserve(1u << 20) || buffer.GetCapacity() < (1u << 20))
            failures |= 64;
        ::_exit(failures);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}
#endif
