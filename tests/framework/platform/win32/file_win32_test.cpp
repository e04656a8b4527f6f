// The Windows file layer on real Windows paths: the split, the 260-unit
// limit, file operations, the atomic replacing move, unique siblings, the
// per-user folders and the command line's path help.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Win32TestSupport.h"
#include "framework/core/MemBuffer.h"
#include "framework/io/File.h"
#include "framework/io/FileImp.h"
#include "framework/platform/win32/Win32Api.h"

namespace {

std::u16string PathOf(const CFile& f)
{
    CRkString s;
    f.GetPath(s);
    return Units(s);
}

std::u16string NameOf(const CFile& f)
{
    CRkString s;
    f.GetName(s);
    return Units(s);
}

std::u16string FolderOf(const CFile& f)
{
    CRkString s;
    f.GetFolder(s);
    return Units(s);
}

CRkString Str(const std::u16string& s)
{
    return CRkString(s.data(), uint32_t(s.size()));
}

// A fresh folder under the user's temporary folder, removed afterwards.
class WinFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        wchar_t temp[MAX_PATH];
        ASSERT_GT(::GetTempPathW(MAX_PATH, temp), 0u);
        m_dir = reinterpret_cast<const char16_t*>(temp);
        if (m_dir.back() != u'\\')
            m_dir.push_back(u'\\');
        m_dir += u"vx_win_" + std::u16string(1, char16_t(u'a' + (::GetTickCount() % 26))) +
                 reinterpret_cast<const char16_t*>(std::to_wstring(::GetCurrentProcessId()).c_str());
        ASSERT_TRUE(::CreateDirectoryW(Wide(m_dir), nullptr));
    }
    void TearDown() override
    {
        WIN32_FIND_DATAW found;
        HANDLE search = ::FindFirstFileW(Wide(m_dir + u"\\*"), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                std::u16string name = reinterpret_cast<const char16_t*>(found.cFileName);
                if (name != u"." && name != u"..") {
                    ::SetFileAttributesW(Wide(At(name)), FILE_ATTRIBUTE_NORMAL);
                    ::DeleteFileW(Wide(At(name)));
                }
            } while (::FindNextFileW(search, &found));
            ::FindClose(search);
        }
        ::RemoveDirectoryW(Wide(m_dir));
    }
    static const wchar_t* Wide(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }
    std::u16string At(const std::u16string& name) const { return m_dir + u"\\" + name; }
    CFile File(const std::u16string& name) const { return CFile(Str(At(name))); }
    void WriteBytes(const std::u16string& name, const std::string& bytes)
    {
        CFile f = File(name);
        ASSERT_TRUE(f.Exists() || f.Create() == 0u);
        ASSERT_EQ(f.Open(kFileModeWrite), 0u);
        ASSERT_EQ(f.SetLength(0), 0u);
        ASSERT_EQ(f.Write(bytes.data(), uint32_t(bytes.size())), 0u);
        ASSERT_EQ(f.Close(), 0u);
    }
    std::string ReadBytes(const std::u16string& name)
    {
        CFile f = File(name);
        CMemBuffer buffer;
        if (f.Open(kFileModeRead) != 0)
            return "<missing>";
        f.ReadRest(buffer);
        f.Close();
        return std::string(reinterpret_cast<const char*>(buffer.GetData()), buffer.GetSize());
    }

    std::u16string m_dir;
};

TEST(WinPaths, TheLastBackslashDividesFolderAndName)
{
    CFile book("C:\\books\\a.lml");
    EXPECT_EQ(FolderOf(book), u"C:\\books");
    EXPECT_EQ(NameOf(book), u"a.lml");
    std::unique_ptr<CFile> parent(book.GetParent());
    EXPECT_EQ(PathOf(*parent), u"C:\\books");
    CFile top("C:\\a.lml");
    EXPECT_EQ(FolderOf(top), u"C:\\");
    CFile bare("a.lml");
    EXPECT_EQ(FolderOf(bare), u"a.lml");
    EXPECT_EQ(NameOf(bare), u"a.lml");
    // Forward slashes are separators on Windows too.
    CFile slashed(u"Z:/work/books/b.lml");
    EXPECT_EQ(PathOf(slashed), u"Z:\\work\\books\\b.lml");
    EXPECT_EQ(NameOf(slashed), u"b.lml");
    CFile child(CFile("C:\\books"), CRkString(u"c.lml"));
    EXPECT_EQ(PathOf(child), u"C:\\books\\c.lml");
    EXPECT_TRUE(CFile("C:\\Books\\A.LML").IsSameFile(book));
}

TEST_F(WinFiles, PathsOf260UnitsOrMoreAreRefusedNotCut)
{
    const std::u16string prefix = At(u"");
    ASSERT_LT(prefix.size(), 200u);
    const std::u16string fits = prefix + std::u16string(259 - prefix.size(), u'f');
    const std::u16string tooLong = prefix + std::u16string(260 - prefix.size(), u'g');
    CFile ok{Str(fits)};
    EXPECT_EQ(ok.Create(), 0u);
    EXPECT_TRUE(ok.Exists());
    CFile refused{Str(tooLong)};
    EXPECT_EQ(PathOf(refused), tooLong); // the text is kept for messages
    EXPECT_EQ(refused.Create(), 1u);
    EXPECT_FALSE(refused.Exists());
    EXPECT_EQ(refused.Open(kFileModeRead), 1u);
    EXPECT_EQ(refused.CreateDirectory(), 1u);
    EXPECT_EQ(ok.CopyTo(refused), 1u);
    EXPECT_EQ(ok.MoveTo(refused), 1u);
    // Nothing was made under a cut name.
    EXPECT_FALSE(CFile(Str(tooLong.substr(0, 259))).Exists());
    EXPECT_TRUE(ok.Exists());
    std::vector<CRkString> found;
    EXPECT_TRUE(CFile::FindMatching(Str(prefix + u"*"), found));
    EXPECT_EQ(found.size(), 1u);
}

TEST_F(WinFiles, CreateOpenReadWriteSeekAndLength)
{
    CFile f = File(u"data.bin");
    EXPECT_EQ(f.GetSize(), 0u); // missing
    ASSERT_EQ(f.Create(), 0u);
    EXPECT_EQ(f.Create(), 1u); // exists: left alone
    ASSERT_EQ(f.Open(kFileModeReadWrite), 0u);
    std::string hundred(100, 'x');
    for (int i = 0; i < 100; ++i)
        hundred[i] = char(i);
    ASSERT_EQ(f.Write(hundred.data(), 100), 0u);
    EXPECT_EQ(f.WriteU32BE(0x01020304u), 0u);
    EXPECT_EQ(f.GetLength(), 104u);
    ASSERT_EQ(f.Seek(100), 0u);
    uint32_t number = 0;
    EXPECT_EQ(f.ReadU32BE(number), 0u);
    EXPECT_EQ(number, 0x01020304u);
    ASSERT_EQ(f.SetLength(100), 0u);
    ASSERT_EQ(f.Seek(0), 0u);
    char ten[10];
    uint32_t got = 0;
    ASSERT_EQ(f.Read(ten, 10, got), 0u);
    EXPECT_EQ(got, 10u);
    CMemBuffer rest;
    ASSERT_EQ(f.ReadRest(rest), 0u);
    EXPECT_EQ(rest.GetSize(), 90u);
    EXPECT_EQ(rest.GetData()[0], 10);
    EXPECT_EQ(f.Seek(0, kSeekFromEnd), 0u);
    EXPECT_EQ(f.GetPosition(), 100u);
    EXPECT_EQ(f.Read(ten, 10, got), 0u);
    EXPECT_EQ(got, 0u);
    // Others may read while the file is open, not write.
    HANDLE reader = ::CreateFileW(Wide(At(u"data.bin")), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
    EXPECT_NE(reader, INVALID_HANDLE_VALUE);
    ::CloseHandle(reader);
    ASSERT_EQ(f.Close(), 0u);
    EXPECT_EQ(f.GetPosition(), kFilePositionNone);
    EXPECT_EQ(f.Read(ten, 1, got), 1u);
    EXPECT_EQ(f.GetSize(), 100u);
    EXPECT_FALSE(f.IsOpen());
    ASSERT_EQ(f.Open(kFileModeReadWrite), 0u);
    EXPECT_EQ(f.SetLength(0), 0u);
    EXPECT_EQ(f.GetLength(), 0u);
    f.Close();
    FileDate date;
    ASSERT_TRUE(f.GetModificationDate(date));
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    EXPECT_EQ(date.year, now.wYear);
    EXPECT_EQ(date.month, now.wMonth);
}

TEST_F(WinFiles, HiddenFilesAndFolders)
{
    CFile hidden = File(u"hidden.txt");
    ASSERT_EQ(hidden.Create(FourCC("TEXT"), FourCC("CWIE"), true), 0u);
    const DWORD attributes = ::GetFileAttributesW(Wide(At(u"hidden.txt")));
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_HIDDEN);
    CFile folder = File(u"sub");
    EXPECT_FALSE(folder.IsDirectory());
    ASSERT_EQ(folder.CreateDirectory(), 0u);
    EXPECT_TRUE(folder.IsDirectory());
    EXPECT_EQ(folder.Open(kFileModeRead), 1u); // a folder is no file
    EXPECT_FALSE(hidden.IsDirectory());
    EXPECT_EQ(::RemoveDirectoryW(Wide(At(u"sub"))), TRUE);
}

TEST_F(WinFiles, MoveReplacesTheDestinationCopyAndRenameDoNot)
{
    WriteBytes(u"new.ldb", "new book");
    WriteBytes(u"book.ldb", "old book");
    CFile fresh = File(u"new.ldb");
    EXPECT_EQ(fresh.CopyTo(File(u"book.ldb")), 1u);
    EXPECT_EQ(ReadBytes(u"book.ldb"), "old book");
    EXPECT_EQ(fresh.Rename(CRkString(u"book.ldb")), 1u);
    EXPECT_EQ(fresh.Rename(CRkString(u"..\\escape.ldb")), 1u);
    EXPECT_EQ(ReadBytes(u"book.ldb"), "old book");
    ASSERT_EQ(fresh.MoveTo(File(u"book.ldb")), 0u);
    EXPECT_EQ(ReadBytes(u"book.ldb"), "new book");
    EXPECT_FALSE(fresh.Exists());
    CFile book = File(u"book.ldb");
    ASSERT_EQ(book.CopyTo(File(u"copy.ldb")), 0u);
    EXPECT_EQ(ReadBytes(u"copy.ldb"), "new book");
    ASSERT_EQ(File(u"copy.ldb").Rename(CRkString(u"renamed.ldb")), 0u);
    EXPECT_EQ(ReadBytes(u"renamed.ldb"), "new book");
    EXPECT_EQ(File(u"renamed.ldb").Delete(), 0u);
    EXPECT_EQ(File(u"renamed.ldb").Delete(), 1u);
}

TEST_F(WinFiles, TheBuildsOwnFilesAreCreatedExclusivelyAndCheckedBeforeTheyReplaceAnything)
{
    WriteBytes(u"book.ldb", "old book");
    EXPECT_EQ(File(u"book.ldb").GetKind(), kFileKindRegular);
    EXPECT_EQ(File(u"nothing").GetKind(), kFileKindMissing);
    CFile folder(Str(m_dir));
    EXPECT_EQ(folder.GetKind(), kFileKindDirectory);

    // Exclusive: an existing file is never opened, and is left as it was.
    CFile taken = File(u"book.ldb");
    EXPECT_EQ(taken.CreateExclusive(), 1u);
    EXPECT_EQ(ReadBytes(u"book.ldb"), "old book");

    std::unique_ptr<CFile> temp(File(u"book.ldb").CreateTemporarySibling());
    ASSERT_NE(temp, nullptr);
    EXPECT_EQ(NameOf(*temp).size(), 13u); // ".vx" and ten letters
    EXPECT_EQ(NameOf(*temp).substr(0, 3), u".vx");
    EXPECT_TRUE(temp->IsOpen());
    ASSERT_EQ(temp->Write("new book", 8), 0u);
    EXPECT_EQ(temp->Flush(), 0u);
    EXPECT_TRUE(temp->PathNamesOpenFile());
    std::unique_ptr<CFile> resolved(temp->ResolveLinks());
    ASSERT_NE(resolved, nullptr);
    EXPECT_EQ(NameOf(*resolved), NameOf(*temp));

    // While it is open nobody can move it away or delete it (it is not
    // shared for deletion), so the path keeps naming it.
    std::u16string tempName = NameOf(*temp);
    EXPECT_FALSE(::MoveFileW(Wide(At(tempName)), Wide(At(u"moved.tmp"))));
    EXPECT_FALSE(::DeleteFileW(Wide(At(tempName))));
    EXPECT_TRUE(temp->PathNamesOpenFile());
    EXPECT_EQ(temp->Close(), 0u);
    EXPECT_FALSE(temp->PathNamesOpenFile()); // closed

    std::unique_ptr<CFile> other(File(u"book.ldb").CreateTemporarySibling());
    ASSERT_NE(other, nullptr);
    EXPECT_NE(NameOf(*other), tempName);
    EXPECT_EQ(other->Close(), 0u);

    uint8_t random[32] = {};
    ASSERT_TRUE(GetUnpredictableBytes(random, sizeof random));
    int zeros = 0;
    for (uint8_t byte : random)
        zeros += byte == 0;
    EXPECT_LT(zeros, 8);
}

TEST_F(WinFiles, UniqueSiblingsCarryEightHexDigits)
{
    std::unique_ptr<CFile> sibling(File(u"book.lml").MakeUniqueSibling(CRkString(u"out")));
    ASSERT_NE(sibling, nullptr);
    const std::u16string name = NameOf(*sibling);
    ASSERT_EQ(name.size(), 12u);
    EXPECT_EQ(name.substr(0, 4), u"out-");
    for (char16_t c : name.substr(4))
        EXPECT_TRUE((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F')) << char(c);
    EXPECT_EQ(FolderOf(*sibling), m_dir);
}

TEST_F(WinFiles, PatternsAndFullPathsForTheCommandLine)
{
    WriteBytes(u"b.lml", "b");
    WriteBytes(u"A.lml", "a");
    WriteBytes(u"c.txt", "c");
    std::vector<CRkString> found;
    ASSERT_TRUE(CFile::FindMatching(Str(At(u"*.lml")), found));
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(Units(found[0]), At(u"A.lml"));
    EXPECT_EQ(Units(found[1]), At(u"b.lml"));
    EXPECT_FALSE(CFile::FindMatching(Str(At(u"*.none")), found));
    EXPECT_TRUE(found.empty());

    ASSERT_TRUE(::SetCurrentDirectoryW(Wide(m_dir)));
    CRkString full;
    ASSERT_TRUE(CFile::GetFullPath(CRkString(u"c.txt"), full));
    EXPECT_EQ(Units(full), At(u"c.txt"));
    ASSERT_TRUE(CFile::GetFullPath(CRkString(u"sub\\..\\b.lml"), full));
    EXPECT_EQ(Units(full), At(u"b.lml"));
    ASSERT_TRUE(CFile::FindMatching(CRkString(u"?.txt"), found));
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(Units(found[0]), u"c.txt");
    EXPECT_FALSE(CFile::GetFullPath(Str(std::u16string(300, u'x')), full));
    ::SetCurrentDirectoryW(L"C:\\");
}

TEST(WinFolders, SettingsAndDocumentsFoldersEndInZev)
{
    for (CFile* (*get)() : {&CFile::GetSettingsFolder, &CFile::GetDocumentsFolder}) {
        std::unique_ptr<CFile> folder(get());
        ASSERT_NE(folder, nullptr);
        EXPECT_EQ(NameOf(*folder), u"Zev");
        EXPECT_TRUE(folder->IsDirectory());
        EXPECT_NE(FolderOf(*folder).find(u':'), std::u16string::npos);
    }
}

} // namespace
