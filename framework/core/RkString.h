// The framework's string: UTF-16 code units, always terminated, with
// conversions to and from the 8-bit encodings (0 and 1 device Latin,
// 2 Mac OS Roman).
#pragma once

#include <cstdarg>
#include <cstdint>

#include "framework/core/MemBuffer.h"

enum : int {
    kEncodingDeviceLatin0 = 0,
    kEncodingDeviceLatin = 1,
    kEncodingMacRoman = 2,
};

// Find flags.
enum : uint32_t {
    kFindLast = 1,
    kFindExact = 4,
};

class CRkString : public CRkType {
public:
    CRkString();
    CRkString(const char16_t* units, uint32_t n);
    explicit CRkString(const char16_t* units);
    CRkString(const CRkString& other);
    CRkString(const char* bytes, uint32_t n, int encoding);
    CRkString(const char* bytes, int encoding);
    CRkString& operator=(const CRkString& other);
    ~CRkString() override;

    void Assign(const char16_t* units, uint32_t n);
    void Assign(const char16_t* units);
    void Assign(const CRkString& other);
    void Assign(const char* bytes, uint32_t n, int encoding);
    void Assign(const char* bytes, int encoding);
    void Append(const char16_t* units, uint32_t n);
    void Append(const char16_t* units);
    void Append(const CRkString& other);
    void Append(const char* bytes, uint32_t n, int encoding);
    void Append(const char* bytes, int encoding);
    void Append(char16_t unit) { Append(&unit, 1); }

    // printf-style formatting with the framework's wide formatter.
    void Format(const char16_t* format, ...);
    void AppendFormat(const char16_t* format, ...);
    void FormatV(const char16_t* format, va_list args);
    void AppendFormatV(const char16_t* format, va_list args);

    void Mid(CRkString& out, uint32_t start, uint32_t count) const;
    void Crop(uint32_t start, uint32_t count);
    void Trim();
    int Compare(const CRkString& other, bool caseSensitive) const;
    int CompareRange(const CRkString& other, uint32_t start, uint32_t count, bool caseSensitive) const;
    bool StartsWith(const CRkString& other, bool caseSensitive) const;
    bool EndsWith(const CRkString& other, bool caseSensitive) const;
    int32_t Find(char16_t ch, uint32_t flags = 0) const;
    uint32_t CountChar(char16_t ch) const;
    void RemoveChar(char16_t ch);
    void Empty() { Assign(u"", 0); }

    uint32_t GetLength() const { return m_length; }
    bool IsEmpty() const { return m_length == 0; }
    const char16_t* GetChars() const;
    char16_t GetAt(uint32_t i) const { return GetChars()[i]; }
    // A malloc'd terminated copy of the units (freed by the caller with free).
    char16_t* CopyChars() const;
    // Converts into the string's own cache; valid until the next GetNarrow.
    const char* GetNarrow(int encoding = kEncodingDeviceLatin) const;
    // A malloc'd terminated conversion (freed by the caller with free).
    char* CopyNarrow(int encoding = kEncodingDeviceLatin) const;
    char* ToNarrow(char* dest, uint32_t maxChars, int encoding) const;

    // CRkType
    int32_t Write(CRkStream& stream) const override;
    int32_t Read(CRkStream& stream) override;
    uint32_t GetTypeID() const override { return kTypeIdString; }
    bool IsEqual(const CRkType* other) const override;
    uint32_t Hash() const override;

private:
    void SetLength(uint32_t n);

    uint32_t m_length = 0;
    CMemBuffer m_units;
    mutable char* m_narrow = nullptr;
};

// Conversions between 8-bit encodings and UTF-16, one code unit per byte.
// Both return the number of units (bytes) produced; an unknown encoding
// produces nothing.
uint32_t ConvertToUnicode(const char* bytes, uint32_t n, int encoding, char16_t* out);
uint32_t ConvertFromUnicode(const char16_t* units, uint32_t n, int encoding, char* out, char substitute);
// Case folding through the character property table.
char16_t FoldCase(char16_t unit);
