// The Windows file implementation. Paths are UTF-16 with the backslash as
// separator ("/" is taken as one too and written as a backslash) and reach
// the system through the wide calls. A path of 260 units or more, or one
// holding a U+0000, is refused: the object keeps the text it was given, but
// every operation on it fails instead of working on a cut path.
#pragma once

#include <cstdint>
#include <string>

#include "framework/core/RkString.h"
#include "framework/io/FileImp.h"

// Units a path may hold, without its terminator.
inline constexpr uint32_t kWindowsMaxPath = 259;

class WindowsFileImp : public IFileImp {
public:
    explicit WindowsFileImp(const CRkString& path);
    WindowsFileImp(const WindowsFileImp&) = delete;
    WindowsFileImp& operator=(const WindowsFileImp&) = delete;
    // Closes a handle left open only to avoid leaking it.
    ~WindowsFileImp() override;

    // False for a refused path (too long, or holding U+0000).
    bool IsUsable() const { return m_usable; }

    IFileImp* Clone() const override;
    IFileImp* Child(const CRkString& name) const override;
    IFileImp* Sibling(const CRkString& name) const override;
    void GetFolder(CRkString& out) const override { out.Assign(m_folder); }
    void GetName(CRkString& out) const override { out.Assign(m_name); }
    void GetPath(CRkString& out) const override { out.Assign(m_path); }

    bool Exists() const override;
    bool IsDirectory() const override;
    IFileImp* GetParent() const override;
    bool IsSameFile(const IFileImp& other) const override;
    uint32_t Delete() override;
    uint32_t CreateDirectory() override;
    uint32_t Create(uint32_t type, uint32_t creator, bool hidden) override;
    uint32_t CopyTo(const IFileImp& destination) override;
    // Replaces an existing destination in one step, written through to the
    // disk before it returns.
    uint32_t MoveTo(const IFileImp& destination) override;
    uint32_t Rename(const CRkString& newName) override;

    uint32_t Open(uint32_t mode) override;
    uint32_t Close() override;
    bool IsOpen() const override { return m_handle != nullptr; }
    uint32_t Read(void* buffer, uint32_t count, uint32_t& countRead) override;
    uint32_t Write(const void* bytes, uint32_t count) override;
    uint64_t GetLength() const override;
    uint32_t SetLength(uint64_t n) override;
    uint64_t GetPosition() const override;
    uint32_t Seek(int64_t position, uint32_t origin) override;
    bool GetModificationDate(FileDate& out) const override;
    uint32_t GetTickCount() const override;

    // Creating the build's own files (FileCreateWin32.cpp).
    uint32_t CreateExclusive() override;
    uint32_t Flush() override;
    bool PathNamesOpenFile() const override;
    uint32_t GetKind() const override;
    IFileImp* ResolveLinks() const override;
    // A file this object created is removed when the console is
    // interrupted (Ctrl+C, Ctrl+Break, closing the console).
    void RemoveOnInterrupt(bool on) override;
    bool IsNameTooLong() const override;

private:
    void UpdateInterruptEntry();

    // The terminated path for a wide call; null for a refused path.
    const wchar_t* Wide() const { return m_usable ? m_wide.c_str() : nullptr; }

    void* m_handle = nullptr; // an open file's HANDLE, null while closed
    CRkString m_path;
    CRkString m_folder;
    CRkString m_name;
    std::wstring m_wide;
    bool m_usable = false;
    bool m_removeOnInterrupt = false;
    bool m_created = false; // this object created the open file
};

// The wide form of another implementation's path, when it is usable.
bool WidePathOf(const IFileImp& file, std::wstring& out);
