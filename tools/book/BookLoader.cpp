#include "tools/book/BookLoader.h"

#include "framework/io/File.h"
#include "tools/book/BookImage.h"

namespace {

// Opens the file for reading; false with the reason.
bool OpenForReading(CFile& file, const std::string& path, std::string& error)
{
    if (!file.Exists()) {
        error = "cannot open \"" + path + "\": " + (file.IsNameTooLong() ? "its name is too long" : "no such file");
        return false;
    }
    if (file.IsDirectory()) {
        error = "cannot read \"" + path + "\": it is a directory";
        return false;
    }
    if (file.Open(kFileModeRead) != 0) {
        error = "cannot open \"" + path + "\" for reading";
        return false;
    }
    return true;
}

class CFileBookBytes : public IBookBytes {
public:
    explicit CFileBookBytes(const std::string& path) : m_file(path.c_str()) {}
    ~CFileBookBytes() override { m_file.Close(); }

    bool Open(const std::string& path, std::string& error)
    {
        if (!OpenForReading(m_file, path, error))
            return false;
        m_size = m_file.GetLength();
        return true;
    }
    uint64_t Size() const override { return m_size; }
    bool ReadAt(uint64_t offset, void* into, size_t n) override
    {
        if (offset > uint64_t(INT64_MAX) || m_file.Seek(int64_t(offset)) != 0)
            return false;
        auto* at = static_cast<uint8_t*>(into);
        while (n > 0) {
            uint32_t want = n < (1u << 24) ? uint32_t(n) : (1u << 24);
            uint32_t got = 0;
            if (m_file.Read(at, want, got) != 0 || got == 0)
                return false;
            at += got;
            n -= got;
        }
        return true;
    }

private:
    CFile m_file;
    uint64_t m_size = 0;
};

} // namespace

std::unique_ptr<IBookBytes> OpenBookFile(const std::string& path, std::string& error)
{
    auto bytes = std::make_unique<CFileBookBytes>(path);
    if (!bytes->Open(path, error))
        return nullptr;
    return bytes;
}

bool LoadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& error)
{
    bytes.clear();
    CFile file(path.c_str());
    if (!OpenForReading(file, path, error))
        return false;
    uint64_t length = file.GetLength();
    if (length > 0xFFFFFFFFull) {
        file.Close();
        error = "cannot read \"" + path + "\": larger than 4 GB";
        return false;
    }
    bytes.resize(size_t(length));
    uint32_t done = 0;
    while (done < length) {
        uint32_t got = 0;
        uint32_t want = uint32_t(length - done) < (1u << 24) ? uint32_t(length - done) : (1u << 24);
        if (file.Read(bytes.data() + done, want, got) != 0 || got == 0)
            break;
        done += got;
    }
    file.Close();
    if (done != length) {
        error =
            "cannot read \"" + path + "\": read " + std::to_string(done) + " of " + std::to_string(length) + " bytes";
        bytes.clear();
        return false;
    }
    return true;
}
