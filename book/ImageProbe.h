// Looking at a named image before the book is laid out: its extension, its
// presence in the image directory and the size in its PNG header.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "framework/core/MessageGate.h"

class CRkString;

// Images whose name is this long or longer do not fit the record's
// 32-byte name field.
inline constexpr uint32_t kMaxImageNameLength = 31;

// The path of an image: the image directory, "/", and the name (device
// Latin bytes as they stand in the source).
void MakeImagePath(const CRkString& imageDirectory, std::string_view name, CRkString& path);

// The same path as device Latin bytes, as shown in messages and compared
// when images are sorted.
std::string MakeImagePathBytes(const CRkString& imageDirectory, std::string_view name);

// Probes the image `name` in `imageDirectory`.
//  - The name must end in ".png" (any letter case); otherwise an error and
//    width/height are left as they are.
//  - Width and height become 16 x 16; a missing file is an error.
//  - Otherwise they become 0 x 0 and the first 26 bytes of the file are
//    read; width and height come from the PNG header (low 16 bits) when it
//    is a grayscale or palette PNG, and every other outcome is an error.
// The extension and existence errors are the small-font pass's, the errors
// about the file's contents every pass's (MessageGate.h); they point at
// `place`, the image code. Returns true when the parse must be marked
// failed, whether or not the message was logged.
bool ProbeImage(const CRkString& imageDirectory, std::string_view name, uint16_t& width, uint16_t& height,
                const MessagePass& pass, const ReportPlace& place = ReportPlace());

// What a probe found, before anything is reported.
struct ImageProbeResult {
    enum Outcome : uint8_t { Ok, NotPng, Missing, BadFile };
    Outcome outcome = Ok;
    uint16_t width = 0; // for Ok; 16 x 16 for Missing, 0 x 0 for BadFile
    uint16_t height = 0;
    const char* fileError = nullptr; // the message format for BadFile
    bool nameTooLong = false;        // for Missing: the system refused the name as too long
};

// The probe without its messages.
ImageProbeResult ProbeImageFile(const CRkString& imageDirectory, std::string_view name);

// Reports what `result` found about the image `name` as ProbeImage does and
// sets width and height as it does; true when the parse must be marked
// failed.
bool ReportImageProbe(const ImageProbeResult& result, const CRkString& imageDirectory, std::string_view name,
                      uint16_t& width, uint16_t& height, const MessagePass& pass, const ReportPlace& place);

// Where the layout looks its images up.
class IImageProbe {
public:
    virtual ~IImageProbe() = default;
    virtual ImageProbeResult Probe(const CRkString& imageDirectory, std::string_view name) = 0;
};

// Probes each name once and answers again from memory: a parse meets an
// image in each pass and again whenever a line is laid out anew.
class CImageProbeCache : public IImageProbe {
public:
    ImageProbeResult Probe(const CRkString& imageDirectory, std::string_view name) override;

private:
    std::map<std::string, ImageProbeResult, std::less<>> m_results;
};
