#include "driver/DatabaseName.h"

#include <cstdlib>
#include <cstring>

#include "book/RecordNames.h"
#include "framework/core/MessageGate.h"
#include "framework/core/RkString.h"
#include "framework/io/File.h"

namespace {

constexpr uint32_t kTitleBytesMax = 255;
constexpr uint32_t kShortenedPart = 13;

} // namespace

void DeriveDatabaseName(const CRkString& title, char (&name)[kDatabaseNameField])
{
    std::memset(name, 0, sizeof name);
    const std::string narrow = DeviceLatinText(title);
    const char* text = narrow.c_str();
    uint32_t length = 0;
    while (length < kTitleBytesMax && text[length] != '\0')
        ++length;

    if (length <= kDatabaseNameMax) {
        std::memcpy(name, text, length);
    } else {
        std::memcpy(name, text, kShortenedPart);
        std::memcpy(name + kShortenedPart, "...", 3);
        std::memcpy(name + kShortenedPart + 3, text + length - kShortenedPart, kShortenedPart);
        ReportMessage(kReportWarning, MessageRule::NotInBatch, ReportPlace::Whole(),
                      "Book name is greater than 29 characters.  Truncating to \"%s\".", name);
    }

    bool warned = false;
    for (char& c : name) {
        if (c != ':')
            continue;
        c = '-';
        if (!warned)
            ReportMessage(kReportWarning, MessageRule::NotInBatch, ReportPlace::Whole(),
                          "Colons are not currently permitted in the book title. Translating colons to hyphens.");
        warned = true;
    }
}

void ImageDirectoryPath(const CRkString& sourcePath, CRkString& out)
{
    out.Assign(sourcePath);
    if (out.EndsWith(CRkString(u".txt"), false) || out.EndsWith(CRkString(u".lml"), false))
        out.Crop(0, out.GetLength() - 4);
    out.Append(u"_img");
}

void SourceImageDirectory(const CFile* source, CRkString& out)
{
    out.Empty();
    if (!source)
        return;
    CRkString sourcePath;
    source->GetPath(sourcePath);
    ImageDirectoryPath(sourcePath, out);
}
