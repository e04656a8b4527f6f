// Message 18: open a file. Carries its own copy of the file, and where the
// file stands in its batch (index from 0, and the batch's size).
#pragma once

#include <cstdint>
#include <memory>

#include "framework/core/RkMessage.h"
#include "framework/io/File.h"

class CRkFileMessage : public CRkMessage {
public:
    explicit CRkFileMessage(const CFile& file, uint32_t index = 0, uint32_t count = 1)
        : m_file(std::make_unique<CFile>(file)), m_index(index), m_count(count)
    {
    }

    const CFile& GetFile() const { return *m_file; }
    uint32_t GetIndex() const { return m_index; }
    uint32_t GetCount() const { return m_count; }
    // The last file of its batch.
    bool IsLastOfBatch() const { return m_count != 0 && m_index == m_count - 1; }

private:
    std::unique_ptr<CFile> m_file;
    uint32_t m_index;
    uint32_t m_count;
};
