#include "tools/book/PageText.h"

#include <string>

#include "markup/ControlCodes.h"
#include "tools/book/BookText.h"

namespace {

bool OnlySpaces(const std::string& line)
{
    return line.find_first_not_of(' ') == std::string::npos;
}

class CLineRenderer {
public:
    CLineRenderer(const uint8_t* text, uint32_t end) : m_text(text), m_end(end) {}

    std::string Render(uint32_t at);

private:
    // Handles the control code whose backslash is at `at`, read as the
    // scanner reads it; returns the position after it.
    uint32_t Code(uint32_t at);
    void Visible(uint8_t byte)
    {
        if (!m_invisible)
            m_line += char(byte);
    }

    const uint8_t* m_text;
    uint32_t m_end;
    bool m_invisible = false;
    std::string m_line; // device Latin bytes
};

uint32_t CLineRenderer::Code(uint32_t at)
{
    const ScanItem item = ScanAt(m_text, m_end, at);
    if (item.kind != ScanItem::Code)
        return item.end;
    const ControlCode& code = *item.code;
    if (code.names == CodeNames::Image) {
        if (item.hasArgument && !m_invisible) {
            m_line += "[image ";
            m_line.append(reinterpret_cast<const char*>(m_text + item.argBegin), item.argEnd - item.argBegin);
            m_line += "]";
        }
        return item.end;
    }
    switch (code.id) {
    case CodeId::Backslash:
        Visible('\\');
        return item.end;
    case CodeId::Invisible:
        m_invisible = !m_invisible;
        return item.end;
    case CodeId::ByteEscape:
        Visible(ByteEscapeValue(m_text, m_end, at));
        return item.end;
    case CodeId::Rule:
        if (!m_invisible)
            m_line += "----";
        return SkipInTitle(m_text, m_end, item);
    case CodeId::Indent:
        return SkipInTitle(m_text, m_end, item);
    case CodeId::Unicode:
        if (!m_invisible)
            m_line += '?';
        return item.end;
    default:
        return item.end;
    }
}

std::string CLineRenderer::Render(uint32_t at)
{
    while (at < m_end) {
        const uint8_t b = m_text[at];
        if (b == '\n' && !m_invisible) {
            if (!OnlySpaces(m_line))
                break;
            m_line.clear();
            ++at;
        } else if (b == '\\') {
            at = Code(at);
        } else {
            Visible(b);
            ++at;
        }
        if (m_line.size() > kShownLineBytes)
            break;
    }
    if (OnlySpaces(m_line))
        m_line.clear();
    const bool cut = m_line.size() > kShownLineBytes;
    if (cut)
        m_line.resize(kShownLineBytes);
    std::string shown = DisplayText(reinterpret_cast<const uint8_t*>(m_line.data()), m_line.size(), true);
    return cut ? shown + "..." : shown;
}

} // namespace

std::string VisibleFirstLine(const uint8_t* text, uint32_t length, uint32_t start, uint32_t end)
{
    if (end > length || end < start)
        end = length;
    if (start >= end)
        return "";
    return CLineRenderer(text, end).Render(start);
}
