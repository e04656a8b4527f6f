// Reads the header and record list of an existing book file and hands out
// its records by index (layout in docs/ldb-format.md). Safe on any file: a short or damaged header or
// record list leaves the reader invalid, and no record is read past the
// end of the file.
#pragma once

#include <cstdint>
#include <vector>

#include "book/Container.h"
#include "framework/io/File.h"

class CMemBuffer;
class CRkString;

class CLDBFile {
public:
    // Opens the file for reading (if needed), reads the header and the
    // record list and keeps the file open for record reads.
    explicit CLDBFile(const CFile& file);
    ~CLDBFile();
    CLDBFile(const CLDBFile&) = delete;
    CLDBFile& operator=(const CLDBFile&) = delete;

    bool IsValid() const { return m_valid; }
    // The 32-byte name field (always NUL-terminated here); null when invalid.
    const char* GetName() const { return m_valid ? m_name : nullptr; }
    // 0xFFFFFFFF (-1) when invalid.
    uint32_t GetType() const { return m_valid ? m_header.type : 0xFFFFFFFFu; }
    uint32_t GetCreator() const { return m_valid ? m_header.creator : 0xFFFFFFFFu; }
    int32_t GetVersion() const { return m_valid ? m_header.version : -1; }
    uint32_t GetModificationNumber() const { return m_valid ? m_header.modificationNumber : 0xFFFFFFFFu; }
    // All header fields as read (zero when invalid).
    const LDBHeader& GetHeader() const { return m_header; }
    uint64_t GetFileSize() const { return m_fileSize; }

    uint32_t GetRecordCount() const { return m_valid ? static_cast<uint32_t>(m_offsets.size()) : 0; }
    // The next record's offset minus this one's (0 when that is negative);
    // for the last record the file size minus its offset (0 if the file is
    // shorter). 0 out of range or when invalid.
    uint32_t GetRecordSize(uint32_t i) const;
    // 0 out of range or when invalid.
    uint32_t GetRecordOffset(uint32_t i) const;
    // Reads record i into out (resized to the record). Returns 0, or 1 when
    // the index is out of range, the record lies beyond the end of the
    // file, or the file cannot be read. Reopens a closed file.
    uint32_t ReadRecord(uint32_t i, CMemBuffer& out);
    // Whether the records follow the list in order and the last one ends
    // at the end of the file (no record starts beyond it).
    bool IsComplete() const;
    void Close();

    // Probes of a file that is not held open: the type code (offset 60), the
    // creator code (offset 64), the name. 0 / false when unreadable.
    static uint32_t ProbeType(const CFile& file);
    static uint32_t ProbeCreator(const CFile& file);
    static bool ProbeName(const CFile& file, CRkString& out);

private:
    bool Load();

    CFile m_file;
    bool m_valid = false;
    uint64_t m_fileSize = 0;
    LDBHeader m_header;
    char m_name[kDatabaseNameField + 1] = {};
    std::vector<uint32_t> m_offsets;
};
