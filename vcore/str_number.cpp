// Text to number: integers, reals and left-to-right arithmetic.
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "vcore/str.h"
#include "vcore/strchars.h"

namespace vcore {

namespace {

std::string narrowCopy(const char16_t* text, int32_t length)
{
    std::string out(size_t(length), '\0');
    for (int32_t i = 0; i < length; ++i)
        out[size_t(i)] = text[i] < 256 ? char(text[i]) : '?';
    return out;
}

bool hasHexPrefix(const char16_t* text, int32_t length)
{
    return length >= 2 && text[0] == u'0' && text[1] == u'x';
}

// strtoul with a 32-bit unsigned long, as on Windows, whatever the target's long is.
uint32_t toUnsigned32(const char* text, int base)
{
    const char* p = text;
    while (std::isspace(static_cast<unsigned char>(*p)))
        ++p;
    const bool negative = *p == '-';
    errno = 0;
    const unsigned long long value = std::strtoull(text, nullptr, base);
    if (errno == ERANGE)
        return UINT32_MAX;
    const unsigned long long magnitude = negative ? 0ULL - value : value;
    if (magnitude > UINT32_MAX)
        return UINT32_MAX;
    return negative ? uint32_t(0U - uint32_t(magnitude)) : uint32_t(magnitude);
}

// strtol with a 32-bit long: out of range saturates.
int32_t toSigned32(const char* text)
{
    const long long value = std::strtoll(text, nullptr, 10);
    if (value > INT32_MAX)
        return INT32_MAX;
    if (value < INT32_MIN)
        return INT32_MIN;
    return int32_t(value);
}

bool hasDigit(const char* text)
{
    for (; *text; ++text)
        if (*text >= '0' && *text <= '9')
            return true;
    return false;
}

double apply(char op, char op2, double left, double right)
{
    const bool twoChar = op2 == '=';
    switch (op) {
    case '+': return left + right;
    case '-': return left - right;
    case '*': return left * right;
    case '/': return right == 0.0 ? left : left / right;
    case '<': return (twoChar ? left <= right : left < right) ? 1.0 : 0.0;
    case '>': return (twoChar ? left >= right : left > right) ? 1.0 : 0.0;
    case '=': return twoChar ? (left == right ? 1.0 : 0.0) : right;
    case '!': return twoChar ? (left != right ? 1.0 : 0.0) : right;
    default: return left;
    }
}

} // namespace

int32_t str::toInt() const
{
    const std::string text = narrowCopy(text_, length_);
    if (hasHexPrefix(text_, length_))
        return int32_t(toUnsigned32(text.c_str() + 2, 16));
    return toSigned32(text.c_str());
}

double str::toReal() const
{
    const std::string text = narrowCopy(text_, length_);
    if (hasHexPrefix(text_, length_)) {
        if (length_ < 10)
            return double(toUnsigned32(text.c_str() + 2, 16));
        return double(std::strtoull(text.c_str() + 2, nullptr, 16));
    }
    if (find(0, u',') >= 0) {
        str copy(*this);
        copy.replaceDecimalComma();
        return copy.toReal();
    }
    return std::strtod(text.c_str(), nullptr);
}

double str::evaluate() const
{
    str work(*this);
    work.replaceDecimalComma();
    work.toLower();
    static const char16_t trimmed[] = u" \t\r\n()[]{}";
    int32_t begin = 0, end = work.length_;
    while (begin < end && chars::contains(trimmed, work.text_[begin]))
        ++begin;
    while (end > begin && chars::contains(trimmed, work.text_[end - 1]))
        --end;
    const std::string text = narrowCopy(work.text_ + begin, end - begin);

    char* after = nullptr;
    double result = std::strtod(text.c_str(), &after);
    const char* rest = after;
    while (*rest && hasDigit(rest + 1)) {
        const char op = rest[0];
        const char op2 = std::strchr("<>=!", op) && rest[1] == '=' ? '=' : 0;
        const char* operand = rest + (op2 ? 2 : 1);
        operand += std::strcspn(operand, "0123456789ABCDEFabcdefx.");
        const double value = std::strtod(operand, &after);
        if (after == operand)
            break;
        result = apply(op, op2, result, value);
        rest = after;
    }
    return result;
}

} // namespace vcore
