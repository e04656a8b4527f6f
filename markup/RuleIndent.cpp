// Rules (\w="nn%") and indents (\T="nn%"): one to three digits and a
// percent sign in quotes.
#include "framework/core/Report.h"
#include "markup/MarkupParser.h"

struct PercentMessages {
    const char* syntax;
    const char* digitsOnly;
    const char* tooManyDigits;
    const char* noPercent; // plain text, not a format
};

namespace {

constexpr PercentMessages kRuleMessages = {
    "Rule syntax is '\\w=\"xx%%\"'.  You have '%s'",
    "Rule width specifier must be only digits!",
    "More than three digits were specified for the rule width",
    "Rule syntax is '\\w=\"xx%\"' -- you forgot the %.",
};

constexpr PercentMessages kIndentMessages = {
    "Indent syntax is '\\T=\"xx%%\"'.  You have '%s'",
    "Indent specifier must be only digits!",
    "More than three digits were specified for the indent",
    "Indent syntax is '\\T=\"xx%\"' -- you forgot the %.",
};

// Digits a percentage may have; more are reported (the value is still read).
constexpr uint32_t kMaxDigits = 3;
// An indent never goes past the end of the line.
constexpr uint32_t kMaxPercent = 100;
// Digits stop counting here, so that a long run of them cannot overflow.
constexpr uint32_t kValueCap = 1000;

} // namespace

// ="nn%": checks the argument at `equals` and reads its digits into `value`
// (capped, so a long run of digits cannot overflow). `complete` is false
// when the syntax is wrong before the digits or the text ends inside them.
// Returns the position after the argument.
uint32_t MarkupParser::ParsePercentArgument(uint32_t backslash, uint32_t equals, const PercentMessages& messages,
                                            uint32_t& value, bool& complete)
{
    value = 0;
    complete = false;
    if (!HasQuotedArgument(equals)) {
        ReportParseError(backslash, messages.syntax, backslash, kPercentSyntaxContext);
        return equals;
    }
    const uint32_t first = equals + 2;
    uint32_t i = first;
    for (; i < m_length && m_text[i] != '%' && m_text[i] != '"'; ++i) {
        const uint8_t byte = m_text[i];
        if (byte >= '0' && byte <= '9') {
            if (value < kValueCap)
                value = value * 10 + (byte - '0');
        } else {
            LogError(i, "%s", messages.digitsOnly);
        }
    }
    if (i >= m_length) {
        ReportUnterminated(backslash);
        return m_length;
    }
    complete = true;
    if (i - first > kMaxDigits)
        LogError(backslash, "%s", messages.tooManyDigits);
    if (m_text[i] == '%') {
        if (!(i + 1 < m_length && m_text[i + 1] == '"'))
            ReportParseError(backslash, messages.syntax, static_cast<int64_t>(i) - 1, kPercentSyntaxContext);
        return i + 2;
    }
    LogError(backslash, "%s", messages.noPercent);
    return i + 1;
}

// The rule's width is not used: a rule always fills its line.
uint32_t MarkupParser::ParseRule(uint32_t backslash, uint32_t equals)
{
    uint32_t value = 0;
    bool complete = false;
    return ParsePercentArgument(backslash, equals, kRuleMessages, value, complete);
}

// Moves the line position to the indent, n % of the line width (n at most
// 100), or warns when the line is already at or past it.
uint32_t MarkupParser::ParseIndent(uint32_t backslash, uint32_t equals)
{
    uint32_t value = 0;
    bool complete = false;
    const uint32_t next = ParsePercentArgument(backslash, equals, kIndentMessages, value, complete);
    if (!complete)
        return next;
    if (value > kMaxPercent)
        value = kMaxPercent;
    const uint32_t indent = value * kLineWidth / 100;
    if (indent > m_line.x)
        m_line.x = indent;
    else
        LogWarning(MessageRule::NotInBatch, backslash,
                   "You specified an indent of %d%%, which is before the current position of %d pixels",
                   static_cast<int>(value), static_cast<int>(m_line.x));
    return next;
}
