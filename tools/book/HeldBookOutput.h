// The book of a build run with --failure-level warning: it reaches its
// output only when the build gave no warning. A build that warned leaves
// the output exactly as it was (a file output's temporary file is
// removed, standard output gets no byte).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "book/BookOutput.h"

class CFile;

class CHeldBookOutput : public IBookSink {
public:
    // `warned` says, when the book is finished, whether the build warned.
    explicit CHeldBookOutput(std::function<bool()> warned) : m_warned(std::move(warned)) {}

    // The book goes to a file. The same tests as a build's own are made
    // first and their errors reported; false when the output is refused.
    bool PrepareFile(const CFile* source, CFile& output);
    // The book goes to a stream, held in memory until it is finished.
    void UseStream(std::ostream& out) { m_stream = &out; }

    bool Write(const void* bytes, uint32_t count) override;
    bool Finish() override;
    std::string ShownName() const override;

    // True when a finished book was held back because the build warned.
    bool HeldBack() const { return m_heldBack; }

private:
    std::function<bool()> m_warned;
    std::unique_ptr<CBookFileOutput> m_file;
    std::ostream* m_stream = nullptr;
    std::vector<char> m_bytes;
    bool m_heldBack = false;
};
