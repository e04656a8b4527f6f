#include <gtest/gtest.h>

#include "TypeTestSupport.h"
#include "framework/core/RkArray.h"
#include "framework/core/RkString.h"

namespace {

using Array = TypeStreamTest;

TEST_F(Array, AddInsertRemoveKeepReferencesBalanced)
{
    CountedType::live = 0;
    auto* a = new CountedType;
    auto* b = new CountedType;
    auto* c = new CountedType;
    {
        CRkArray array;
        array.Add(a);
        array.Add(c);
        array.Insert(1, b);
        array.Add(nullptr);
        ASSERT_EQ(array.GetCount(), 3u);
        EXPECT_EQ(array.GetAt(0), a);
        EXPECT_EQ(array.GetAt(1), b);
        EXPECT_EQ(array.GetAt(2), c);
        EXPECT_EQ(array.GetAt(3), nullptr);
        EXPECT_EQ(b->GetRefCount(), 2u);
        a->Release();
        b->Release();
        c->Release();
        EXPECT_EQ(CountedType::live, 3);
        array.RemoveAt(1);
        EXPECT_EQ(CountedType::live, 2);
        EXPECT_EQ(array.GetAt(1), c);
        array.RemoveAt(7); // past the end: nothing
        EXPECT_EQ(array.GetCount(), 2u);
        array.Insert(50, new CountedType); // past the end: appended
        array.GetAt(2)->Release();
        EXPECT_EQ(array.GetCount(), 3u);
    }
    EXPECT_EQ(CountedType::live, 0);
}

TEST_F(Array, StringsAreCopiedAndFreedWithTheirElement)
{
    CRkArray array;
    CRkString original(u"chapter");
    array.AddString(original);
    array.InsertString(0, CRkString(u"first"));
    original.Assign(u"changed");
    ASSERT_EQ(array.GetCount(), 2u);
    auto* copy = static_cast<CRkString*>(array.GetAt(1));
    EXPECT_EQ(copy->GetRefCount(), 1u); // the array holds the only reference
    const CRkString expected(u"chapter");
    EXPECT_TRUE(copy->IsEqual(&expected));
    const CRkString first(u"first");
    EXPECT_TRUE(array.GetAt(0)->IsEqual(&first));
    array.RemoveAt(1);
    array.RemoveAll();
    EXPECT_EQ(array.GetCount(), 0u);
}

TEST_F(Array, RoundTripAndFailingElement)
{
    CRkArray array;
    array.AddString(CRkString(u"a"));
    array.AddString(CRkString(u"bc"));
    CMemBuffer buffer;
    ASSERT_EQ(WriteToBuffer(&array, buffer), 0);
    auto bytes = Bytes(buffer);
    CRkType* out = nullptr;
    ASSERT_EQ(ReadFromBytes(bytes, &out), 0);
    auto* back = static_cast<CRkArray*>(out);
    ASSERT_EQ(back->GetCount(), 2u);
    const CRkString bc(u"bc");
    EXPECT_TRUE(back->GetAt(1)->IsEqual(&bc));
    EXPECT_EQ(back->GetAt(1)->GetRefCount(), 1u);
    out->Release();

    // A count larger than the elements present meets the closing tag.
    bytes[12 + 7] = 3;
    EXPECT_EQ(ReadFromBytes(bytes, &out), 54);
    EXPECT_EQ(out, nullptr);
    // Data cut inside an element ends with 53.
    const std::vector<uint8_t> cut(bytes.begin(), bytes.begin() + 40);
    EXPECT_EQ(ReadFromBytes(cut, &out), 53);
    EXPECT_EQ(out, nullptr);
    // An element with a newer version stops the reading with 55.
    bytes[12 + 7] = 2;
    bytes[20 + 12 + 3] = 1;
    EXPECT_EQ(ReadFromBytes(bytes, &out), 55);
}

} // namespace
