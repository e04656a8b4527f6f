// The checker behind CheckBook, shared by the files that hold its parts:
// BookCheck.cpp (container, layout, text, page tables) and
// BookCheckRecords.cpp (chapters, links, images, index, metadata, notes).
//
// The check is independent of the writer: it takes only the format's
// constants (book/BookFormat.h) and the decoded headers from the book
// layer, and recomputes every derived value itself (offsets, unique IDs,
// section placement, text positions, name order, index group headings,
// PNG CRCs and image data) to compare it with what the file holds. It never calls
// the record lists or AssembleBook, so a fault in their logic shows up
// as a problem instead of being repeated.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "framework/core/Compiler.h"
#include "tools/book/BookImage.h"

namespace bookcheck {

// Page-table entry (12 bytes): u16 page, u16 text record, u16 offset in
// that record, u32 text position, u16 style word.
// Index entry: u16 text record, u16 offset, term, NUL.
// Note table entry: u16 record count, u8 name length, name, NUL.

inline constexpr size_t kMaxProblemsPerRecordKind = 10;

class CBookChecker {
public:
    explicit CBookChecker(const CBookImage& book) : m_book(book) {}

    std::vector<std::string> Run();

private:
    void Problem(const char* format, ...) VX_PRINTF_FORMAT(2, 3);
    bool CheckContainer();
    void CheckOffsets();
    void CheckSections();
    void CheckEndMarker();
    void CheckText();
    void CheckPages(const BookSection& section, uint16_t listedEntries);
    void CheckStringRecords(const BookSection& section, bool links);
    void CheckImages(const BookSection& section);
    void CheckIndex(const BookSection& section);
    void CheckMetadata(const BookSection& section);
    void CheckNotes(const BookSection& section);
    bool SectionInRange(const BookSection& section) const;
    // Whether the text holds `bytes` at `position`; what it holds there.
    bool TextHas(uint64_t position, const char* bytes);
    std::string TextAt(uint64_t position);
    // Up to n bytes of the text from position (fewer at its end).
    std::string TextBytes(uint64_t position, size_t n);
    // Counts a problem of one kind; false once enough of them were shown.
    bool Quota(size_t& used);

    const CBookImage& m_book;
    std::vector<std::string> m_problems;
    std::vector<uint16_t> m_textSizes;
    std::vector<uint64_t> m_textStarts; // start of each text record in the text
    bool m_haveTextSizes = false;
    uint64_t m_textLength = 0;
    // Whether every text record was sound; the text is then read a record
    // at a time, decompressing the one that holds a position when asked,
    // so memory goes by the record, not by the book.
    bool m_haveText = false;
    uint32_t m_cachedRecord = 0; // 1-based text record in m_cachedText, 0 for none
    std::vector<uint8_t> m_cachedText;
};

} // namespace bookcheck
