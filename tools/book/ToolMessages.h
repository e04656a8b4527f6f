// How the tool's messages look on the error stream: plain lines, lines with
// coloured "error:" and "warning:" prefixes, or one JSON object per line.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>

#include "tools/book/SourceLocation.h"

enum class MessageLevel {
    Status,
    Warning,
    Error,
};

enum class MessageFormat {
    Text,
    Json,
};

struct MessageStyle {
    MessageFormat format = MessageFormat::Text;
    bool colour = false;
    // The source every message is about when several are built: it opens
    // each text line ("SOURCE: ...") and is the JSON object's "file".
    std::string source;
    // The source's shown name where only one is built: it opens a line
    // that gives a place and is that JSON object's "file".
    std::string sourceName;
};

// One message as one line. `text` is UTF-8 and holds no line end. A
// prefix such as "vellumix-book: " goes before the level word of a text
// line; JSON has no place for it. `place`, when given, says the message is
// about the source: "SOURCE:LINE:COLUMN: " opens the line, or "SOURCE: "
// when its line is 0 (the whole source); JSON gets "file", "line" and
// "column".
void WriteMessage(std::ostream& out, const MessageStyle& style, MessageLevel level, const std::string& text,
                  const char* prefix = "", const SourceLocation* place = nullptr);

// Report text (device bytes) as UTF-8: 0xA0-0xFF are the Latin-1 letters,
// 0x80-0x9F the device's own characters (the euro sign, quotes, dashes,
// the card suits); tabs stay, other control bytes and the three unused
// bytes are shown as \xNN.
std::string MessageText(const uint8_t* bytes, size_t n);

// `text` as a JSON string, quotes included.
std::string JsonString(const std::string& text);
