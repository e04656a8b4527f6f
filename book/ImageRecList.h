// The images of a book: each distinct image once, its size from the probe,
// and its re-encoded PNG data; one record each.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "book/BookFormat.h"
#include "book/RecordList.h"
#include "framework/core/MemBuffer.h"
#include "framework/core/ReportPlace.h"
#include "framework/core/RkString.h"

class ImageRecList final : public IRecordList {
public:
    // Bytes of an image record before its PNG data.
    static constexpr uint32_t kHeaderSize = kImageRecordHeaderSize;
    // The name field: at most 31 bytes and a NUL.
    static constexpr uint32_t kNameField = kImageNameField;

    ImageRecList();

    // Adds the image `name` of `imageDirectory` (path: directory, "/",
    // name) unless an image of the same path is already listed.
    // `place` is the first reference's, for the messages of the load.
    void Add(const CRkString& imageDirectory, std::string_view name, uint16_t width, uint16_t height,
             const ReportPlace& place = ReportPlace());
    // Sorts by path (byte order).
    void Sort();
    // Re-encodes, in list order, every image not loaded by an earlier call
    // and appends it to the data buffer (images named after a first load,
    // in sidebars and footnotes, are added to what is there). Stops at the
    // first failure, which it reports, and returns non-zero; 0 when every
    // image is loaded.
    uint32_t Load();
    // Sort, then Load: what is done once the images are all named.
    uint32_t Finish();

    uint32_t GetCount() const { return static_cast<uint32_t>(m_images.size()); }
    // The path as device Latin bytes.
    const std::string& GetPath(uint32_t i) const { return m_images[i].pathBytes; }
    // The part of the path after its last "/".
    std::string_view GetName(uint32_t i) const;
    uint16_t GetWidth(uint32_t i) const { return m_images[i].width; }
    uint16_t GetHeight(uint32_t i) const { return m_images[i].height; }
    uint32_t GetDataSize(uint32_t i) const { return m_images[i].dataSize; }
    const uint8_t* GetData(uint32_t i) const { return m_data.GetData() + m_images[i].dataOffset; }

    uint32_t GetRecordCount() const override { return GetCount(); }
    uint32_t GetRecordSize(uint32_t i) const override;
    void AppendRecord(uint32_t i, CMemBuffer& out) const override;

private:
    struct Image {
        CRkString path;
        std::string pathBytes;
        uint16_t width;
        uint16_t height;
        uint32_t dataOffset;
        uint32_t dataSize;
        bool loaded;
        ReportPlace place;
    };

    uint32_t LoadImage(Image& image);

    std::vector<Image> m_images;
    CMemBuffer m_data;
};
