// printf-style formatting into UTF-16, identical whatever the width of wchar_t.
// Texts and characters are handled here; each numeric conversion goes to snprintf alone.
#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

#include "vcore/str.h"
#include "vcore/strchars.h"

namespace vcore {

namespace {

struct conversion {
    std::string flags;
    int width = -1;
    int precision = -1;
    std::string size;  // length modifier as written: h, hh, l, ll, I64, z...
    char type = 0;
    bool leftAlign() const { return flags.find('-') != std::string::npos; }
    bool narrowArgument() const { return size == "h" || size == "hh"; }
};

class formatter {
public:
    explicit formatter(va_list* args) : args_(args) {}

    std::u16string run(const char16_t* fmt)
    {
        const char16_t* p = fmt ? fmt : u"";
        while (*p) {
            if (*p != u'%') {
                out_ += *p++;
                continue;
            }
            const char16_t* start = p++;
            if (*p == u'%') {
                out_ += *p++;
                continue;
            }
            conversion c;
            p = parse(p, c);
            if (!emit(c))
                out_.append(start, size_t(p - start));
        }
        return std::move(out_);
    }

private:
    const char16_t* parse(const char16_t* p, conversion& c)
    {
        while (*p < 128 && *p && std::strchr("-+ #0", char(*p)))
            c.flags += char(*p++);
        const int width = number(p);
        if (width != absent && width < 0) {  // a negative '*' width means left alignment
            c.flags += '-';
            c.width = -width;
        } else if (width != absent) {
            c.width = width;
        }
        if (*p == u'.') {
            ++p;
            const int precision = number(p);
            // No digits means 0; a negative '*' precision is as if omitted.
            c.precision = precision == absent ? 0 : (precision < 0 ? -1 : precision);
        }
        static const char* const sizes[] = {"hh", "h", "ll", "l", "L", "q", "j", "z", "t", "I64", "I32", "I", "w"};
        for (const char* s : sizes) {
            if (startsWith(p, s)) {
                c.size = s;
                p += std::strlen(s);
                break;
            }
        }
        if (*p && *p < 128)
            c.type = char(*p++);
        return p;
    }

    static constexpr int absent = INT_MIN;

    // Width or precision digits, or '*' taken from the arguments.
    int number(const char16_t*& p)
    {
        if (*p == u'*') {
            ++p;
            const int value = va_arg(*args_, int);
            return std::clamp(value, -(1 << 24), 1 << 24);
        }
        if (!chars::isDigit(*p))
            return absent;
        int value = 0;
        while (chars::isDigit(*p))
            value = std::min(value * 10 + (*p++ - u'0'), 1 << 24);
        return value;
    }

    static bool startsWith(const char16_t* p, const char* s)
    {
        for (; *s; ++s, ++p)
            if (*p != char16_t(*s))
                return false;
        return true;
    }

    bool emit(const conversion& c)
    {
        switch (c.type) {
        case 's': return c.narrowArgument() ? narrowText(c) : text(c);
        case 'S': return narrowText(c);
        case 'c': return unit(c, c.narrowArgument());
        case 'C': return unit(c, true);
        case 'd': case 'i': return signedNumber(c);
        case 'u': case 'o': case 'x': case 'X': return unsignedNumber(c);
        case 'f': case 'F': case 'e': case 'E': case 'g': case 'G': case 'a': case 'A': return real(c);
        case 'p': printed(cFormat(c, ""), va_arg(*args_, void*)); return true;
        case 'n': (void)va_arg(*args_, void*); return true;  // never written through
        default: return false;
        }
    }

    bool text(const conversion& c)
    {
        const char16_t* s = va_arg(*args_, const char16_t*);
        if (!s)
            s = u"(null)";
        padded(c, std::u16string(s, size_t(chars::length(s, limit(c)))));
        return true;
    }

    bool narrowText(const conversion& c)
    {
        const char* s = va_arg(*args_, const char*);
        if (!s)
            s = "(null)";
        const int32_t n = chars::length(s, limit(c));
        std::u16string wide(size_t(n), u'\0');
        for (int32_t i = 0; i < n; ++i)
            wide[size_t(i)] = char16_t(static_cast<unsigned char>(s[i]));
        padded(c, wide);
        return true;
    }

    bool unit(const conversion& c, bool narrow)
    {
        const int value = va_arg(*args_, int);
        const char16_t u = narrow ? char16_t(static_cast<unsigned char>(value)) : char16_t(value);
        padded(c, std::u16string(1, u));
        return true;
    }

    static int32_t limit(const conversion& c)
    {
        return c.precision >= 0 ? c.precision : chars::maxTextLength;
    }

    void padded(const conversion& c, const std::u16string& s)
    {
        const size_t pad = c.width > int(s.size()) ? size_t(c.width) - s.size() : 0;
        if (!c.leftAlign())
            out_.append(pad, u' ');
        out_ += s;
        if (c.leftAlign())
            out_.append(pad, u' ');
    }

    bool signedNumber(const conversion& c)
    {
        long long v;
        if (c.size == "l")
            v = va_arg(*args_, long);
        else if (c.size == "ll" || c.size == "q" || c.size == "I64" || c.size == "L")
            v = va_arg(*args_, long long);
        else if (c.size == "z" || c.size == "t" || c.size == "I")
            v = va_arg(*args_, ptrdiff_t);
        else if (c.size == "j")
            v = va_arg(*args_, intmax_t);
        else
            v = va_arg(*args_, int);
        if (c.size == "h")
            v = short(v);
        else if (c.size == "hh")
            v = static_cast<signed char>(v);
        printed(cFormat(c, "ll"), v);
        return true;
    }

    bool unsignedNumber(const conversion& c)
    {
        unsigned long long v;
        if (c.size == "l")
            v = va_arg(*args_, unsigned long);
        else if (c.size == "ll" || c.size == "q" || c.size == "I64" || c.size == "L")
            v = va_arg(*args_, unsigned long long);
        else if (c.size == "z" || c.size == "t" || c.size == "I")
            v = va_arg(*args_, size_t);
        else if (c.size == "j")
            v = va_arg(*args_, uintmax_t);
        else
            v = va_arg(*args_, unsigned int);
        if (c.size == "h")
            v = static_cast<unsigned short>(v);
        else if (c.size == "hh")
            v = static_cast<unsigned char>(v);
        printed(cFormat(c, "ll"), v);
        return true;
    }

    bool real(const conversion& c)
    {
        if (c.size == "L")
            printed(cFormat(c, "L"), va_arg(*args_, long double));
        else
            printed(cFormat(c, ""), va_arg(*args_, double));
        return true;
    }

    static std::string cFormat(const conversion& c, const char* size)
    {
        std::string s = "%";
        s += c.flags;
        if (c.width >= 0)
            s += std::to_string(c.width);
        if (c.precision >= 0) {
            s += '.';
            s += std::to_string(c.precision);
        }
        s += size;
        s += c.type;
        return s;
    }

    template <class T>
    void printed(const std::string& format, T value)
    {
        char small[128];
        int n = std::snprintf(small, sizeof small, format.c_str(), value);
        if (n < 0)
            return;
        if (n < int(sizeof small)) {
            widened(small, n);
            return;
        }
        std::string big(size_t(n) + 1, '\0');
        n = std::snprintf(big.data(), big.size(), format.c_str(), value);
        widened(big.data(), std::max(n, 0));
    }

    void widened(const char* s, int n)
    {
        for (int i = 0; i < n; ++i)
            out_ += char16_t(static_cast<unsigned char>(s[i]));
    }

    va_list* args_;
    std::u16string out_;
};

} // namespace

int32_t str::format(const char16_t* fmt, ...)
{
    va_list args;
    va_start(args, fmt);
    const int32_t n = vformat(fmt, args);
    va_end(args);
    return n;
}

str str::formatted(const char16_t* fmt, ...)
{
    str text;
    va_list args;
    va_start(args, fmt);
    text.vformat(fmt, args);
    va_end(args);
    return text;
}

int32_t str::vformat(const char16_t* fmt, va_list args)
{
    va_list copy;
    va_copy(copy, args);
    // Formatted aside first: an argument may point into this very buffer.
    const std::u16string out = formatter(&copy).run(fmt);
    va_end(copy);

    if (capacity_ < 64)
        reserve(256, true);
    const int32_t wanted = int32_t(std::min<size_t>(out.size(), size_t(maxLength)));
    const int32_t n = reserve(wanted, true);
    std::memcpy(text_, out.data(), size_t(n) * sizeof(char16_t));
    setLength(n);
    return n;
}

} // namespace vcore
