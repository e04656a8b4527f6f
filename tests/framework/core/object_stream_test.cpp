#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "TypeTestSupport.h"
#include "framework/core/RkArray.h"
#include "framework/core/RkColor.h"
#include "framework/core/RkData.h"
#include "framework/core/RkRecord.h"
#include "framework/core/RkString.h"
#include "framework/core/TypeHashTable.h"

namespace {

using ObjectStream = TypeStreamTest;

std::vector<uint8_t> TaggedString(const char16_t* units, uint32_t n, uint32_t serial, uint32_t version = 0)
{
    std::vector<uint8_t> out;
    AppendTag(out, "BTyp");
    AppendU32(out, 3);
    AppendU32(out, serial);
    AppendU32(out, version);
    AppendU32(out, n);
    for (uint32_t i = 0; i < n; ++i) {
        out.push_back(uint8_t(units[i]));
        out.push_back(uint8_t(units[i] >> 8));
    }
    AppendTag(out, "ETyp");
    AppendU32(out, 3);
    AppendU32(out, serial);
    return out;
}

TEST_F(ObjectStream, FirstStringOfTheProcessHasTheExactTaggedBytes)
{
    CRkString hi(u"Hi");
    CMemBuffer buffer;
    ASSERT_EQ(WriteToBuffer(&hi, buffer), 0);
    const std::vector<uint8_t> expected = {
        'B',  'T',  'y',  'p',  0, 0, 0, 3, 0, 0, 0, 0, // tag, type id, serial
        0,    0,    0,    0,    0, 0, 0, 2,             // version, length
        0x48, 0x00, 0x69, 0x00,                         // units, low byte first
        'E',  'T',  'y',  'p',  0, 0, 0, 3, 0, 0, 0, 0,
    };
    EXPECT_EQ(Bytes(buffer), expected);
}

TEST_F(ObjectStream, SerialsRunInWritingOrderIncludingNestedObjects)
{
    CRkString a(u"a");
    CMemBuffer buffer;
    CRkMemStream stream(buffer, StreamMode::Write);
    ASSERT_EQ(stream.Open(), 0);
    ASSERT_EQ(WriteObject(&a, &stream), 0);
    ASSERT_EQ(WriteObject(&a, &stream), 0);
    ASSERT_EQ(WriteObject(&a, &stream), 0);
    std::vector<uint8_t> expected;
    for (uint32_t serial = 0; serial < 3; ++serial) {
        const auto one = TaggedString(u"a", 1, serial);
        expected.insert(expected.end(), one.begin(), one.end());
    }
    EXPECT_EQ(Bytes(buffer), expected);

    // An array takes its serial before its elements take theirs.
    CRkArray array;
    array.AddString(a);
    CMemBuffer nested;
    ASSERT_EQ(WriteToBuffer(&array, nested), 0);
    std::vector<uint8_t> arrayBytes;
    AppendTag(arrayBytes, "BTyp");
    AppendU32(arrayBytes, 4);
    AppendU32(arrayBytes, 3);
    AppendU32(arrayBytes, 0);
    AppendU32(arrayBytes, 1);
    const auto element = TaggedString(u"a", 1, 4);
    arrayBytes.insert(arrayBytes.end(), element.begin(), element.end());
    AppendTag(arrayBytes, "ETyp");
    AppendU32(arrayBytes, 4);
    AppendU32(arrayBytes, 3);
    EXPECT_EQ(Bytes(nested), arrayBytes);
    EXPECT_EQ(NextObjectSerial(), 5u);
}

TEST_F(ObjectStream, RoundTripsEveryCoreType)
{
    // Values on the stack outlive the containers that reference them.
    CRkString name(u"name");
    CRkString value(u"Vellumix");
    CRkColor red(255, 0, 0);
    CRkData data("\x01\x02\x03", 3);
    CMemBuffer raw;
    raw.AppendU32BE(0xCAFEBABE);
    CRkTypeHashTable table;
    CRkArray list;
    CRkRecord record;
    record.Set(name, &value);
    record.Set(CRkString(u"color"), &red);
    table.Set(42, &data);
    table.Set(7, &raw);
    record.Set(CRkString(u"table"), &table);
    list.AddString(CRkString(u"x"));
    list.Add(&red);
    record.Set(CRkString(u"list"), &list);

    CMemBuffer buffer;
    ASSERT_EQ(WriteToBuffer(&record, buffer), 0);
    CRkType* object = nullptr;
    ASSERT_EQ(ReadFromBytes(Bytes(buffer), &object), 0);
    ASSERT_NE(object, nullptr);
    ASSERT_EQ(object->GetTypeID(), 5u);
    auto* back = static_cast<CRkRecord*>(object);
    EXPECT_EQ(back->GetCount(), 4u);
    EXPECT_TRUE(back->Get(name)->IsEqual(&value));
    EXPECT_TRUE(back->Get(CRkString(u"color"))->IsEqual(&red));
    auto* backTable = static_cast<CRkTypeHashTable*>(back->Get(CRkString(u"table")));
    ASSERT_EQ(backTable->GetTypeID(), 6u);
    auto* backData = static_cast<CRkData*>(backTable->Get(42));
    ASSERT_EQ(backData->GetLength(), 3u);
    EXPECT_EQ(std::memcmp(backData->GetData(), "\x01\x02\x03", 3), 0);
    auto* backRaw = static_cast<CMemBuffer*>(backTable->Get(7));
    ASSERT_EQ(backRaw->GetSize(), 4u);
    EXPECT_EQ(backRaw->GetData()[0], 0xCA);
    auto* backList = static_cast<CRkArray*>(back->Get(CRkString(u"list")));
    ASSERT_EQ(backList->GetCount(), 2u);
    const CRkString x(u"x");
    EXPECT_TRUE(backList->GetAt(0)->IsEqual(&x));
    EXPECT_TRUE(backList->GetAt(1)->IsEqual(&red));
    EXPECT_EQ(object->GetRefCount(), 1u);
    object->Release();
}

TEST_F(ObjectStream, NullArgumentsGive1)
{
    CRkString s(u"x");
    CMemBuffer buffer;
    CRkMemStream stream(buffer, StreamMode::Write);
    ASSERT_EQ(stream.Open(), 0);
    EXPECT_EQ(WriteObject(&s, nullptr), 1);
    EXPECT_EQ(WriteObject(nullptr, &stream), 1);
    EXPECT_EQ(NextObjectSerial(), 0u) << "a refused write takes no serial";
    EXPECT_EQ(ReadObject(&stream, nullptr), 1);
    CRkType* out = &s;
    EXPECT_EQ(ReadObject(nullptr, &out), 1);
    EXPECT_EQ(out, nullptr);
}

TEST_F(ObjectStream, StreamStateErrorsPassThrough)
{
    CRkString s(u"x");
    CMemBuffer buffer;
    CRkMemStream closed(buffer, StreamMode::Write);
    EXPECT_EQ(WriteObject(&s, &closed), 52);
    CRkMemStream reader(buffer, StreamMode::Read);
    ASSERT_EQ(reader.Open(), 0);
    EXPECT_EQ(WriteObject(&s, &reader), 50);
    CRkType* out = nullptr;
    EXPECT_EQ(ReadFromBytes({}, &out), 53);
    EXPECT_EQ(out, nullptr);
}

TEST_F(ObjectStream, UnknownTypeGives54AndLeavesTheStreamAtTheTag)
{
    std::vector<uint8_t> bytes = {0xEE};
    AppendTag(bytes, "BTyp");
    AppendU32(bytes, 99);
    AppendU32(bytes, 0);
    CMemBuffer buffer;
    buffer.Append(bytes.data(), uint32_t(bytes.size()));
    CRkMemStream stream(buffer, StreamMode::Read);
    ASSERT_EQ(stream.Open(), 0);
    ASSERT_EQ(stream.Skip(1), 0);
    CRkType* out = nullptr;
    EXPECT_EQ(ReadObject(&stream, &out), 54);
    EXPECT_EQ(out, nullptr);
    uint32_t position = 0;
    stream.GetPosition(position);
    EXPECT_EQ(position, 1u);

    // With no factory at all even a core id is unknown.
    GetTypeFactoryChain().Clear();
    EXPECT_EQ(ReadFromBytes(TaggedString(u"a", 1, 0), &out), 54);
}

TEST_F(ObjectStream, FramingMismatchesGive54)
{
    const auto good = TaggedString(u"ab", 2, 9);
    CRkType* out = nullptr;
    ASSERT_EQ(ReadFromBytes(good, &out), 0);
    out->Release();

    const size_t endTag = good.size() - 12;
    struct Case {
        const char* what;
        size_t offset;
    } cases[] = {{"begin tag", 0}, {"end tag", endTag}, {"end type id", endTag + 7}, {"end serial", endTag + 11}};
    for (const Case& c : cases) {
        auto bad = good;
        bad[c.offset] ^= 0x01;
        out = reinterpret_cast<CRkType*>(1);
        EXPECT_EQ(ReadFromBytes(bad, &out), 54) << c.what;
        EXPECT_EQ(out, nullptr) << c.what;
    }
}

// Answers id 3 with an object whose own id differs.
class LyingFactory : public CRkTypeFactory {
public:
    CRkType* Create(uint32_t typeId) override { return typeId == 3 ? new CRkColor() : nullptr; }
};

TEST_F(ObjectStream, ObjectOfAnotherTypeThanTheTagGives54)
{
    RegisterTypeFactory(new LyingFactory);
    CRkType* out = nullptr;
    EXPECT_EQ(ReadFromBytes(TaggedString(u"a", 1, 0), &out), 54);
    EXPECT_EQ(out, nullptr);
}

class TaggingFactory : public CRkTypeFactory {
public:
    explicit TaggingFactory(uint8_t red) : m_red(red) {}
    CRkType* Create(uint32_t typeId) override { return typeId == 7 ? new CRkColor(m_red, 0, 0) : nullptr; }

private:
    uint8_t m_red;
};

TEST_F(ObjectStream, NewestFactoryAnswersFirst)
{
    RegisterTypeFactory(new TaggingFactory(1));
    RegisterTypeFactory(new TaggingFactory(2));
    CRkType* made = GetTypeFactoryChain().Create(7);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(static_cast<CRkColor*>(made)->GetRed(), 2);
    made->Release();
    // Ids the newer factories do not know fall through to older ones.
    made = GetTypeFactoryChain().Create(3);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->GetTypeID(), 3u);
    made->Release();
    EXPECT_EQ(GetTypeFactoryChain().Create(8), nullptr);
    EXPECT_EQ(GetTypeFactoryChain().Create(0), nullptr);
}

TEST_F(ObjectStream, NewerVersionsGive55ForEveryType)
{
    for (uint32_t typeId = 1; typeId <= 7; ++typeId) {
        std::vector<uint8_t> bytes;
        AppendTag(bytes, "BTyp");
        AppendU32(bytes, typeId);
        AppendU32(bytes, 0);
        AppendU32(bytes, 1); // version
        AppendU32(bytes, 0);
        AppendU32(bytes, 0);
        AppendTag(bytes, "ETyp");
        AppendU32(bytes, typeId);
        AppendU32(bytes, 0);
        CRkType* out = nullptr;
        EXPECT_EQ(ReadFromBytes(bytes, &out), 55) << "type " << typeId;
        EXPECT_EQ(out, nullptr);
    }
}

TEST_F(ObjectStream, LengthBeyondTheDataGives53WithoutAllocating)
{
    for (uint32_t typeId : {1u, 2u, 3u}) {
        std::vector<uint8_t> bytes;
        AppendTag(bytes, "BTyp");
        AppendU32(bytes, typeId);
        AppendU32(bytes, 0);
        AppendU32(bytes, 0);
        if (typeId == 2)
            AppendU32(bytes, 1); // element size
        AppendU32(bytes, 0xFFFFFFF0u);
        AppendBytes(bytes, {1, 2, 3, 4});
        CRkType* out = nullptr;
        EXPECT_EQ(ReadFromBytes(bytes, &out), 53) << "type " << typeId;
        EXPECT_EQ(out, nullptr);
    }
}

TEST_F(ObjectStream, RecordKeysMustBeStrings)
{
    std::vector<uint8_t> bytes;
    AppendTag(bytes, "BTyp");
    AppendU32(bytes, 5);
    AppendU32(bytes, 0);
    AppendU32(bytes, 0);
    AppendU32(bytes, 1);
    CRkColor key(1, 2, 3);
    CMemBuffer keyBytes;
    ASSERT_EQ(WriteToBuffer(&key, keyBytes), 0);
    const auto k = Bytes(keyBytes);
    bytes.insert(bytes.end(), k.begin(), k.end());
    bytes.insert(bytes.end(), k.begin(), k.end());
    AppendTag(bytes, "ETyp");
    AppendU32(bytes, 5);
    AppendU32(bytes, 0);
    CRkType* out = nullptr;
    EXPECT_EQ(ReadFromBytes(bytes, &out), 54);
    EXPECT_EQ(out, nullptr);
}

TEST_F(ObjectStream, DeepNestingIsRefused)
{
    // Arrays nested far deeper than any real data: refused with 1, no crash.
    std::vector<uint8_t> bytes;
    const uint32_t depth = kMaxObjectNesting + 50;
    for (uint32_t i = 0; i < depth; ++i) {
        AppendTag(bytes, "BTyp");
        AppendU32(bytes, 4);
        AppendU32(bytes, i);
        AppendU32(bytes, 0);
        AppendU32(bytes, 1);
    }
    CRkType* out = nullptr;
    EXPECT_EQ(ReadFromBytes(bytes, &out), 1);
    EXPECT_EQ(out, nullptr);

    // Shallow nesting still reads.
    CRkArray inner;
    inner.AddString(CRkString(u"deep"));
    CRkArray outer;
    outer.Add(&inner);
    CMemBuffer buffer;
    ASSERT_EQ(WriteToBuffer(&outer, buffer), 0);
    ASSERT_EQ(ReadFromBytes(Bytes(buffer), &out), 0);
    out->Release();
}

TEST_F(ObjectStream, CorruptedInputNeverCrashesOrLeaks)
{
    CRkData data("xyz", 3);
    CRkTypeHashTable table;
    CRkArray list;
    CRkRecord record;
    list.AddString(CRkString(u"one"));
    list.Add(new CRkColor(1, 2, 3));
    list.GetAt(1)->Release();
    table.Set(5, &data);
    record.Set(CRkString(u"list"), &list);
    record.Set(CRkString(u"table"), &table);
    CMemBuffer buffer;
    ASSERT_EQ(WriteToBuffer(&record, buffer), 0);
    const auto good = Bytes(buffer);

    std::mt19937 random(12345);
    int successes = 0;
    for (int round = 0; round < 3000; ++round) {
        auto bytes = good;
        const int edits = 1 + int(random() % 4);
        for (int e = 0; e < edits; ++e) {
            const size_t at = random() % bytes.size();
            switch (random() % 3) {
            case 0:
                bytes[at] = uint8_t(random());
                break;
            case 1:
                bytes.resize(at);
                break;
            default:
                bytes[at] = 0xFF;
                break;
            }
            if (bytes.empty())
                break;
        }
        CRkType* out = nullptr;
        const int32_t err = ReadFromBytes(bytes, &out);
        if (err == 0) {
            ASSERT_NE(out, nullptr);
            ++successes;
            out->Release();
        } else {
            EXPECT_TRUE(err == 1 || (err >= 53 && err <= 55)) << err;
            EXPECT_EQ(out, nullptr);
        }
    }
    // Serial and string bytes can change without breaking the framing.
    EXPECT_GT(successes, 0);
}

} // namespace
