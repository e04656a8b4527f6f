#include "tools/book/PageText.h"

#include <string>

#include "tools/book/BookText.h"

namespace {

bool IsDigit(uint8_t b)
{
    return b >= '0' && b <= '9';
}

bool OnlySpaces(const std::string& line)
{
    return line.find_first_not_of(' ') == std::string::npos;
}

class CLineRenderer {
public:
    CLineRenderer(const uint8_t* text, uint32_t end) : m_text(text), m_end(end) {}

    std::string Render(uint32_t at);

private:
    // Position after a ="..." argument at `at`, or `at` when there is none.
    uint32_t SkipArgument(uint32_t at, std::string* value = nullptr) const;
    // Handles the control code whose backslash is at `at`; returns the
    // position after it.
    uint32_t Code(uint32_t at);
    void Visible(uint8_t byte)
    {
        if (!m_invisible) {
            m_line += char(byte);
        }
    }

    const uint8_t* m_text;
    uint32_t m_end;
    bool m_invisible = false;
    std::string m_line; // device Latin bytes
};

uint32_t CLineRenderer::SkipArgument(uint32_t at, std::string* value) const
{
    if (at + 1 >= m_end || m_text[at] != '=' || m_text[at + 1] != '"') {
        return at;
    }
    uint32_t close = at + 2;
    while (close < m_end && m_text[close] != '"') {
        ++close;
    }
    if (value) {
        value->assign(reinterpret_cast<const char*>(m_text + at + 2), close - at - 2);
    }
    return close < m_end ? close + 1 : m_end;
}

uint32_t CLineRenderer::Code(uint32_t at)
{
    if (at + 1 >= m_end) {
        return m_end;
    }
    const uint8_t c = m_text[at + 1];
    const uint8_t next = at + 2 < m_end ? m_text[at + 2] : 0;
    switch (c) {
    case '\\': Visible('\\'); return at + 2;
    case 'v': m_invisible = !m_invisible; return at + 2;
    case 'a':
        if (at + 4 < m_end && IsDigit(m_text[at + 2]) && IsDigit(m_text[at + 3]) && IsDigit(m_text[at + 4])) {
            Visible(uint8_t((m_text[at + 2] - '0') * 100 + (m_text[at + 3] - '0') * 10 + (m_text[at + 4] - '0')));
            return at + 5;
        }
        return at + 2;
    case 'm':
    case 'M': {
        uint32_t argument = c == 'M' ? at + 3 : at + 2;
        std::string name;
        uint32_t after = SkipArgument(argument, &name);
        if (after != argument && !m_invisible) {
            m_line += "[image " + name + "]";
        }
        return after;
    }
    case 'w': {
        uint32_t after = SkipArgument(at + 2);
        if (!m_invisible) {
            m_line += "----";
        }
        return after;
    }
    case 'C': return SkipArgument(at + 3);
    case 'X': return at + 3 <= m_end ? at + 3 : m_end;
    case 'Q':
    case 'q':
    case 'T': return SkipArgument(at + 2);
    case 'S':
    case 'F': return next == 'd' || next == 'n' ? SkipArgument(at + 3) : at + 3 <= m_end ? at + 3 : m_end;
    case 'U': {
        if (!m_invisible) {
            m_line += '?';
        }
        return at + 6 <= m_end ? at + 6 : m_end;
    }
    default: return at + 2;
    }
}

std::string CLineRenderer::Render(uint32_t at)
{
    while (at < m_end) {
        const uint8_t b = m_text[at];
        if (b == '\n' && !m_invisible) {
            if (!OnlySpaces(m_line)) {
                break;
            }
            m_line.clear();
            ++at;
        } else if (b == '\\') {
            at = Code(at);
        } else {
            Visible(b);
            ++at;
        }
        if (m_line.size() > kShownLineBytes) {
            break;
        }
    }
    if (OnlySpaces(m_line)) {
        m_line.clear();
    }
    const bool cut = m_line.size() > kShownLineBytes;
    if (cut) {
        m_line.resize(kShownLineBytes);
    }
    std::string shown = DisplayText(reinterpret_cast<const uint8_t*>(m_line.data()), m_line.size(), true);
    return cut ? shown + "..." : shown;
}

}

std::string VisibleFirstLine(const uint8_t* text, uint32_t length, uint32_t start, uint32_t end)
{
    if (end > length || end < start) {
        end = length;
    }
    if (start >= end) {
        return "";
    }
    return CLineRenderer(text, end).Render(start);
}
