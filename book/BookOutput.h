// Where a finished book goes: through a file this build created itself,
// which replaces the output only once it is whole, or into a stream.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "framework/io/File.h"

// The bytes of one book, front to back.
class IBookSink {
public:
    virtual ~IBookSink() = default;
    // False when the bytes could not be written.
    virtual bool Write(const void* bytes, uint32_t count) = 0;
    // Called once after the last byte; true when the book is then in place.
    virtual bool Finish() = 0;
    // The book's name in messages.
    virtual std::string ShownName() const = 0;
};

enum class BookOutputCheck {
    Ready,
    NotARegularFile, // a folder, device, FIFO or a link to one of them (or to nothing)
    CannotCreate,    // no temporary file could be made beside the output
    NameTooLong,     // the system refuses the output's name (or path) as too long
};

// A book written to a file. The output is never opened itself: the book
// goes into a temporary file created exclusively beside it, which is
// flushed and renamed over the output by Finish. Until then the old output
// stays exactly as it was; a book that is not finished (a failure, the
// object's end, an interrupting signal) leaves no temporary file. An
// output that is a link to a regular file has its target replaced; the
// link stays.
class CBookFileOutput : public IBookSink {
public:
    explicit CBookFileOutput(const CFile& output);
    ~CBookFileOutput() override;
    CBookFileOutput(const CBookFileOutput&) = delete;
    CBookFileOutput& operator=(const CBookFileOutput&) = delete;

    // Checks what the output names and creates the temporary file.
    BookOutputCheck Prepare();
    // The file the book will replace (the output, links resolved); null
    // before Prepare succeeded.
    const CFile* Target() const { return m_target.get(); }

    bool Write(const void* bytes, uint32_t count) override;
    bool Finish() override;
    std::string ShownName() const override;
    // Removes the temporary file; the output stays as it was.
    void Abandon();

private:
    CFile m_output;
    std::unique_ptr<CFile> m_target;
    std::unique_ptr<CFile> m_temporary;
};
