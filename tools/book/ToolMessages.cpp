#include "tools/book/ToolMessages.h"

#include <cstdio>

#include "framework/core/CharTable.h"
#include "framework/core/Utf8.h"

namespace {

// The colours compilers use: bold red errors, bold magenta warnings.
constexpr const char* kErrorColour = "\033[1;31m";
constexpr const char* kWarningColour = "\033[1;35m";
constexpr const char* kColourEnd = "\033[0m";

const char* LevelName(MessageLevel level)
{
    switch (level) {
    case MessageLevel::Warning:
        return "warning";
    case MessageLevel::Error:
        return "error";
    default:
        return "status";
    }
}

} // namespace

// The line is put together first and written in one piece, so that an
// unbuffered stream takes one write per message.
void WriteMessage(std::ostream& out, const MessageStyle& style, MessageLevel level, const std::string& text,
                  const char* prefix, const SourceLocation* place)
{
    const std::string& sourceName = style.source.empty() ? style.sourceName : style.source;
    const bool placed = place && !sourceName.empty();
    const bool withLine = placed && place->line != 0;
    std::string line;
    if (style.format == MessageFormat::Json) {
        line = "{\"level\": \"" + std::string(LevelName(level)) + "\", \"message\": " + JsonString(text);
        if (placed || !style.source.empty())
            line += ", \"file\": " + JsonString(placed ? sourceName : style.source);
        if (withLine)
            line += ", \"line\": " + std::to_string(place->line) + ", \"column\": " + std::to_string(place->column);
        line += "}\n";
    } else {
        if (withLine)
            line = sourceName + ':' + std::to_string(place->line) + ':' + std::to_string(place->column) + ": ";
        else if (placed)
            line = sourceName + ": ";
        else if (!style.source.empty())
            line = style.source + ": ";
        if (level != MessageLevel::Status) {
            line += prefix;
            if (style.colour)
                line += level == MessageLevel::Error ? kErrorColour : kWarningColour;
            line += LevelName(level);
            line += ':';
            if (style.colour)
                line += kColourEnd;
            line += ' ';
        }
        line += text;
        line += '\n';
    }
    out << line;
    out.flush();
}

std::string MessageText(const uint8_t* bytes, size_t n)
{
    std::string text;
    text.reserve(n);
    for (size_t i = 0; i < n; ++i) {
        const uint8_t b = bytes[i];
        const char16_t code = b >= 0x80 ? DeviceLatinToUnicode(b) : char16_t(b);
        if ((b >= 0x20 && b < 0x7F) || b == '\t') {
            text += char(b);
        } else if (b >= 0x80 && code != kNoDeviceCharacter) {
            AppendUtf8(text, code);
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", b);
            text += escape;
        }
    }
    return text;
}

std::string JsonString(const std::string& text)
{
    std::string json = "\"";
    for (const char c : text) {
        const uint8_t b = uint8_t(c);
        if (c == '"' || c == '\\') {
            json += '\\';
            json += c;
        } else if (c == '\t') {
            json += "\\t";
        } else if (b < 0x20 || b == 0x7F) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04x", b);
            json += escape;
        } else {
            json += c;
        }
    }
    return json + "\"";
}
