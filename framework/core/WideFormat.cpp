#include "framework/core/WideFormat.h"

#include <cstddef>
#include <cstdio>
#include <string>

#include "framework/core/CharTable.h"

namespace {

constexpr uint32_t kMaxWidth = 510;      // widths from here on end the formatting
constexpr int kMaxFloatPrecision = 1100; // enough for every digit of any double

// Collects output up to the limit and counts everything offered.
class Sink {
public:
    Sink(char16_t* out, uint32_t limit) : m_out(out), m_limit(limit) {}

    void Put(char16_t unit)
    {
        if (m_count < m_limit)
            m_out[m_count] = unit;
        ++m_count;
    }
    void Repeat(char16_t unit, uint32_t n)
    {
        for (uint32_t i = 0; i < n && !Full(); ++i)
            Put(unit);
    }
    // Once the limit is reached nothing more can be seen.
    bool Full() const { return m_count >= m_limit; }
    uint32_t Count() const { return m_count; }

private:
    char16_t* m_out;
    uint32_t m_limit;
    uint32_t m_count = 0;
};

struct Conversion {
    bool left = false;
    bool plus = false;
    bool space = false;
    bool alt = false;
    bool zero = false;
    uint32_t width = 0;
    int precision = -1; // -1: none
    int length = 0;     // 0 none, 1 h, 2 hh, 3 l, 4 ll, 5 L
};

enum : int { kLenNone = 0, kLenH = 1, kLenHH = 2, kLenL = 3, kLenLL = 4, kLenBigL = 5 };

// Writes prefix and body padded to the width; zeros go between them.
void EmitPadded(Sink& sink, const Conversion& fmt, const char16_t* prefix, uint32_t prefixLen, const char16_t* body,
                uint32_t bodyLen, bool zeroPad)
{
    const uint32_t total = prefixLen + bodyLen;
    const uint32_t pad = fmt.width > total ? fmt.width - total : 0;
    if (!fmt.left && !zeroPad)
        sink.Repeat(u' ', pad);
    for (uint32_t i = 0; i < prefixLen; ++i)
        sink.Put(prefix[i]);
    if (!fmt.left && zeroPad)
        sink.Repeat(u'0', pad);
    for (uint32_t i = 0; i < bodyLen && !sink.Full(); ++i)
        sink.Put(body[i]);
    if (fmt.left)
        sink.Repeat(u' ', pad);
}

void FormatInteger(Sink& sink, const Conversion& fmt, char16_t conv, unsigned long long magnitude, bool negative)
{
    const bool isSigned = conv == u'd' || conv == u'i';
    const unsigned base = (conv == u'o') ? 8 : (conv == u'x' || conv == u'X') ? 16 : 10;
    const char* digitSet = conv == u'X' ? "0123456789ABCDEF" : "0123456789abcdef";

    char16_t digits[32];
    uint32_t n = 0;
    for (unsigned long long v = magnitude; v; v /= base)
        digits[n++] = static_cast<char16_t>(digitSet[v % base]);

    char16_t prefix[3];
    uint32_t prefixLen = 0;
    if (isSigned) {
        if (negative)
            prefix[prefixLen++] = u'-';
        else if (fmt.plus)
            prefix[prefixLen++] = u'+';
        else if (fmt.space)
            prefix[prefixLen++] = u' ';
    }
    if (fmt.alt && base == 16 && magnitude) {
        prefix[prefixLen++] = u'0';
        prefix[prefixLen++] = conv;
    }

    // Leading zeros demanded by the precision (and by # for octal).
    uint32_t zeros = 0;
    const uint32_t precision = fmt.precision < 0 ? 1 : static_cast<uint32_t>(fmt.precision);
    if (precision > n)
        zeros = precision - n;
    if (fmt.alt && base == 8 && zeros == 0 && (n == 0 || digits[n - 1] != u'0'))
        zeros = 1;

    const uint32_t bodyLen = zeros + n;
    const uint32_t total = prefixLen + bodyLen;
    const uint32_t pad = fmt.width > total ? fmt.width - total : 0;
    const bool zeroPad = fmt.zero && !fmt.left && fmt.precision < 0;
    if (!fmt.left && !zeroPad)
        sink.Repeat(u' ', pad);
    for (uint32_t i = 0; i < prefixLen; ++i)
        sink.Put(prefix[i]);
    if (zeroPad)
        sink.Repeat(u'0', pad);
    sink.Repeat(u'0', zeros);
    while (n && !sink.Full())
        sink.Put(digits[--n]);
    if (fmt.left)
        sink.Repeat(u' ', pad);
}

void FormatFloat(Sink& sink, const Conversion& fmt, char16_t conv, long double value)
{
    // The C library renders the digits; the flags, width and precision are
    // passed on as they came.
    char format[16];
    size_t f = 0;
    format[f++] = '%';
    if (fmt.left)
        format[f++] = '-';
    if (fmt.plus)
        format[f++] = '+';
    if (fmt.space)
        format[f++] = ' ';
    if (fmt.alt)
        format[f++] = '#';
    if (fmt.zero)
        format[f++] = '0';
    format[f++] = '*';
    format[f++] = '.';
    format[f++] = '*';
    format[f++] = 'L';
    format[f++] = static_cast<char>(conv);
    format[f] = 0;

    const int width = static_cast<int>(fmt.width);
    const int precision = fmt.precision > kMaxFloatPrecision ? kMaxFloatPrecision : fmt.precision;
    const int needed = std::snprintf(nullptr, 0, format, width, precision, value);
    if (needed <= 0)
        return;
    std::string text(static_cast<size_t>(needed) + 1, '\0');
    std::snprintf(text.data(), text.size(), format, width, precision, value);
    for (int i = 0; i < needed && !sink.Full(); ++i)
        sink.Put(static_cast<unsigned char>(text[static_cast<size_t>(i)]));
}

// Strings: 8-bit (device Latin) or UTF-16, optionally length-prefixed.
void FormatString(Sink& sink, const Conversion& fmt, const void* argument, bool wide)
{
    uint32_t length = 0;
    const char* narrow = nullptr;
    const char16_t* units = nullptr;
    if (argument) {
        if (wide) {
            units = static_cast<const char16_t*>(argument);
            if (fmt.alt)
                length = *units++;
            else
                while (units[length] && (fmt.precision < 0 || length < static_cast<uint32_t>(fmt.precision)))
                    ++length;
        } else {
            narrow = static_cast<const char*>(argument);
            if (fmt.alt)
                length = static_cast<unsigned char>(*narrow++);
            else
                while (narrow[length] && (fmt.precision < 0 || length < static_cast<uint32_t>(fmt.precision)))
                    ++length;
        }
        if (fmt.alt && fmt.precision >= 0 && length > static_cast<uint32_t>(fmt.precision))
            length = static_cast<uint32_t>(fmt.precision);
    }
    const uint32_t pad = fmt.width > length ? fmt.width - length : 0;
    if (!fmt.left)
        sink.Repeat(u' ', pad);
    for (uint32_t i = 0; i < length && !sink.Full(); ++i)
        sink.Put(wide ? units[i] : DeviceLatinToUnicode(static_cast<uint8_t>(narrow[i])));
    if (fmt.left)
        sink.Repeat(u' ', pad);
}

void StoreCount(va_list& args, int length, uint32_t count)
{
    switch (length) {
    case kLenHH:
        *va_arg(args, signed char*) = static_cast<signed char>(count);
        break;
    case kLenH:
        *va_arg(args, short*) = static_cast<short>(count);
        break;
    case kLenL:
        *va_arg(args, long*) = static_cast<long>(count);
        break;
    case kLenLL:
    case kLenBigL:
        *va_arg(args, long long*) = static_cast<long long>(count);
        break;
    default:
        *va_arg(args, int*) = static_cast<int>(count);
        break;
    }
}

bool IsDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

// Formats one conversion that starts at format[0] == '%'. Returns the
// position after it, or null when the formatting must end there.
const char16_t* FormatOne(Sink& sink, const char16_t* p, va_list& args)
{
    Conversion fmt;
    ++p;
    for (;; ++p)
        if (*p == u'-')
            fmt.left = true;
        else if (*p == u'+')
            fmt.plus = true;
        else if (*p == u' ')
            fmt.space = true;
        else if (*p == u'#')
            fmt.alt = true;
        else if (*p == u'0')
            fmt.zero = true;
        else
            break;
    if (*p == u'*') {
        const int w = va_arg(args, int);
        if (w < 0) {
            fmt.left = true;
            fmt.width = w == -2147483647 - 1 ? 0x80000000u : static_cast<uint32_t>(-w);
        } else {
            fmt.width = static_cast<uint32_t>(w);
        }
        ++p;
    } else {
        while (IsDigit(*p)) {
            if (fmt.width < kMaxWidth)
                fmt.width = fmt.width * 10 + static_cast<uint32_t>(*p - u'0');
            ++p;
        }
    }
    if (fmt.width >= kMaxWidth)
        return nullptr;
    if (*p == u'.') {
        ++p;
        if (*p == u'*') {
            const int precision = va_arg(args, int);
            fmt.precision = precision < 0 ? -1 : precision;
            ++p;
        } else {
            long precision = 0;
            while (IsDigit(*p)) {
                if (precision < 0x7FFFFFF)
                    precision = precision * 10 + (*p - u'0');
                ++p;
            }
            fmt.precision = static_cast<int>(precision);
        }
    }
    if (*p == u'h') {
        fmt.length = kLenH;
        if (*++p == u'h') {
            fmt.length = kLenHH;
            ++p;
        }
    } else if (*p == u'l') {
        fmt.length = kLenL;
        if (*++p == u'l') {
            fmt.length = kLenLL;
            ++p;
        }
    } else if (*p == u'L') {
        fmt.length = kLenBigL;
        ++p;
    }

    const char16_t conv = *p;
    switch (conv) {
    case u'd':
    case u'i': {
        long long v;
        switch (fmt.length) {
        case kLenHH:
            v = static_cast<signed char>(va_arg(args, int));
            break;
        case kLenH:
            v = static_cast<short>(va_arg(args, int));
            break;
        case kLenL:
            v = va_arg(args, long);
            break;
        case kLenLL:
        case kLenBigL:
            v = va_arg(args, long long);
            break;
        default:
            v = va_arg(args, int);
            break;
        }
        const unsigned long long magnitude =
            v < 0 ? 0ull - static_cast<unsigned long long>(v) : static_cast<unsigned long long>(v);
        FormatInteger(sink, fmt, conv, magnitude, v < 0);
        break;
    }
    case u'o':
    case u'u':
    case u'x':
    case u'X': {
        unsigned long long v;
        switch (fmt.length) {
        case kLenHH:
            v = static_cast<unsigned char>(va_arg(args, unsigned));
            break;
        case kLenH:
            v = static_cast<unsigned short>(va_arg(args, unsigned));
            break;
        case kLenL:
            v = va_arg(args, unsigned long);
            break;
        case kLenLL:
        case kLenBigL:
            v = va_arg(args, unsigned long long);
            break;
        default:
            v = va_arg(args, unsigned);
            break;
        }
        FormatInteger(sink, fmt, conv, v, false);
        break;
    }
    case u'p': {
        const void* pointer = va_arg(args, void*);
        Conversion pointerSpec = fmt;
        pointerSpec.alt = true;
        pointerSpec.precision = 8;
        FormatInteger(sink, pointerSpec, u'x', reinterpret_cast<uintptr_t>(pointer), false);
        break;
    }
    case u'e':
    case u'E':
    case u'f':
    case u'F':
    case u'g':
    case u'G': {
        const long double v = fmt.length == kLenBigL ? va_arg(args, long double) : va_arg(args, double);
        FormatFloat(sink, fmt, conv, v);
        break;
    }
    case u'c': {
        const int c = va_arg(args, int);
        const char16_t unit =
            fmt.length == kLenL ? static_cast<char16_t>(c) : DeviceLatinToUnicode(static_cast<uint8_t>(c));
        EmitPadded(sink, fmt, nullptr, 0, &unit, 1, false);
        break;
    }
    case u's':
        FormatString(sink, fmt, va_arg(args, const void*), fmt.length == kLenL);
        break;
    case u'n':
        StoreCount(args, fmt.length, sink.Count());
        break;
    case u'%':
        sink.Put(u'%');
        break;
    default:
        return nullptr;
    }
    return p + 1;
}

} // namespace

int32_t WideFormatV(char16_t* out, uint32_t limit, const char16_t* format, va_list args)
{
    if (!out || limit == 0)
        return -1;
    Sink sink(out, limit);
    va_list ap;
    va_copy(ap, args);
    const char16_t* p = format ? format : u"";
    while (*p && !sink.Full()) {
        if (*p != u'%') {
            sink.Put(*p++);
            continue;
        }
        const char16_t* next = FormatOne(sink, p, ap);
        if (!next) {
            while (*p && !sink.Full())
                sink.Put(*p++);
            break;
        }
        p = next;
    }
    va_end(ap);
    if (sink.Full()) {
        out[limit - 1] = 0;
        return -1;
    }
    out[sink.Count()] = 0;
    return static_cast<int32_t>(sink.Count());
}
