#include "tools/book/BookLoader.h"

#include "framework/io/File.h"

bool LoadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, std::string& error)
{
    bytes.clear();
    CFile file(path.c_str());
    if (!file.Exists()) {
        error = "cannot open \"" + path + "\": no such file";
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
        if (file.Read(bytes.data() + done, want, got) != 0 || got == 0) {
            break;
        }
        done += got;
    }
    file.Close();
    if (done != length) {
        error = "cannot read \"" + path + "\": read " + std::to_string(done) + " of " + std::to_string(length) +
                " bytes";
        bytes.clear();
        return false;
    }
    return true;
}
