#include "vcore/regtree_posix.h"

#include <algorithm>
#include <cstdio>

#include "vcore/regkey.h"
#include "vcore/utf8.h"

// The text form, one file per root, close to what regedit exports:
//   [SOFTWARE\Tessary\Tolvanu]       a key, its path below the root ([] is the root itself)
//   "security"=dword:ffffffff        REG_DWORD
//   "name"="text"                    REG_SZ holding one NUL-terminated text
//   @=hex:01,02                      REG_BINARY; @ is the unnamed default value
//   "list"=hex(7):61,00,00,00,00,00  any other type, by number
// Quoted texts are UTF-8 with the escapes \\ \" \n \r \t \uXXXX; key names escape
// '%', '[', ']' and control characters as %XXXX. Lines starting ';' or '#' are comments.
namespace vcore::regfile {

namespace {

char16_t folded(char16_t c) { return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c; }
bool isControl(char32_t c) { return c < 0x20 || c == 0x7F; }

void appendHex(std::string& out, unsigned value, int digits)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*x", digits, value);
    out += buffer;
}

// Writes text as UTF-8, with units for which escape() is true written as prefix + 4 hex digits
// (lone surrogates always are).
template <class Escape>
void appendText(std::string& out, std::u16string_view text, const char* prefix, Escape escape)
{
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t u = text[i];
        if (utf8::isHighSurrogate(u) && i + 1 < text.size() && utf8::isLowSurrogate(text[i + 1])) {
            utf8::append(out, utf8::joinSurrogates(u, text[i + 1]));
            ++i;
        } else if (utf8::isHighSurrogate(u) || utf8::isLowSurrogate(u) || escape(u)) {
            out += prefix;
            appendHex(out, u, 4);
        } else {
            utf8::append(out, u);
        }
    }
}

void appendQuoted(std::string& out, std::u16string_view text)
{
    std::u16string_view rest = text;
    out += '"';
    while (!rest.empty()) {
        const size_t special = rest.find_first_of(u"\\\"\n\r\t");
        appendText(out, rest.substr(0, special), "\\u", [](char16_t u) { return isControl(u); });
        if (special == std::u16string_view::npos)
            break;
        static constexpr std::string_view escapes[] = {"\\\\", "\\\"", "\\n", "\\r", "\\t"};
        out += escapes[std::u16string_view(u"\\\"\n\r\t").find(rest[special])];
        rest.remove_prefix(special + 1);
    }
    out += '"';
}

void appendKeyName(std::string& out, std::u16string_view name)
{
    appendText(out, name, "%", [](char16_t u) {
        return isControl(u) || u == u'%' || u == u'[' || u == u']' || u == u'\\';
    });
}

std::u16string unitsOf(const std::vector<uint8_t>& data)
{
    std::u16string units;
    for (size_t i = 0; i + 1 < data.size(); i += 2)
        units += char16_t(data[i] | (data[i + 1] << 8));
    return units;
}

// A REG_SZ is written as a quoted text when that gives back the same bytes.
bool isPlainText(const value& v)
{
    const size_t n = v.data.size();
    return v.type == regkey::typeSz && n >= 2 && n % 2 == 0 && v.data[n - 1] == 0 && v.data[n - 2] == 0;
}

void appendData(std::string& out, const value& v)
{
    if (v.type == regkey::typeDword && v.data.size() == 4) {
        out += "dword:";
        appendHex(out, unsigned(v.data[0] | v.data[1] << 8 | v.data[2] << 16 | unsigned(v.data[3]) << 24), 8);
        return;
    }
    if (isPlainText(v)) {
        std::u16string text = unitsOf(v.data);
        text.pop_back();
        appendQuoted(out, text);
        return;
    }
    if (v.type == regkey::typeBinary) {
        out += "hex:";
    } else {
        out += "hex(";
        appendHex(out, v.type, 1);
        out += "):";
    }
    for (size_t i = 0; i < v.data.size(); ++i) {
        if (i > 0)
            out += ',';
        appendHex(out, v.data[i], 2);
    }
}

void appendValues(std::string& out, const key& k)
{
    for (const value& v : k.values) {
        if (v.name.empty())
            out += '@';
        else
            appendQuoted(out, v.name);
        out += '=';
        appendData(out, v);
        out += '\n';
    }
}

void appendKey(std::string& out, const key& k, std::string& path)
{
    const size_t length = path.size();
    if (!path.empty())
        path += '\\';
    appendKeyName(path, k.name);
    out += '[';
    out += path;
    out += "]\n";
    appendValues(out, k);
    for (const auto& child : k.keys)
        appendKey(out, *child, path);
    path.resize(length);
}

// Reading: a cursor over one line.
class reader {
public:
    explicit reader(std::string_view line) : line_(line) {}

    bool atEnd() const { return pos_ == line_.size(); }
    bool take(char c)
    {
        if (atEnd() || line_[pos_] != c)
            return false;
        ++pos_;
        return true;
    }
    bool take(std::string_view word)
    {
        if (line_.substr(pos_, word.size()) != word)
            return false;
        pos_ += word.size();
        return true;
    }
    char peek() const { return atEnd() ? '\0' : line_[pos_]; }

    bool hex(size_t digits, unsigned& out)
    {
        out = 0;
        for (size_t i = 0; i < digits; ++i) {
            const int d = digit(peek());
            if (d < 0)
                return false;
            out = out << 4 | unsigned(d);
            ++pos_;
        }
        return true;
    }

    // One character of well-formed UTF-8, appended as UTF-16.
    bool utf8(std::u16string& out)
    {
        const auto byte = [&](size_t i) { return pos_ + i < line_.size() ? uint8_t(line_[pos_ + i]) : 0; };
        const uint8_t b0 = byte(0);
        const size_t size = b0 < 0x80 ? 1 : b0 >= 0xC2 && b0 < 0xE0 ? 2 : b0 >= 0xE0 && b0 < 0xF0 ? 3
                          : b0 >= 0xF0 && b0 < 0xF5 ? 4 : 0;
        if (size == 0 || atEnd())
            return false;
        char32_t c = size == 1 ? b0 : b0 & (0x7F >> size);
        for (size_t i = 1; i < size; ++i) {
            if ((byte(i) & 0xC0) != 0x80)
                return false;
            c = c << 6 | (byte(i) & 0x3F);
        }
        static constexpr char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (c < least[size] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF) || isControl(c))
            return false;
        pos_ += size;
        if (c < 0x10000) {
            out += char16_t(c);
        } else {
            out += utf8::highSurrogate(c);
            out += utf8::lowSurrogate(c);
        }
        return true;
    }

    bool quoted(std::u16string& out)
    {
        if (!take('"'))
            return false;
        while (!take('"')) {
            if (atEnd())
                return false;
            if (!take('\\')) {
                if (!utf8(out))
                    return false;
                continue;
            }
            static constexpr std::string_view from = "\\\"nrt";
            const size_t which = from.find(peek());
            unsigned unit = 0;
            if (which != std::string_view::npos) {
                out += u"\\\"\n\r\t"[which];
                ++pos_;
            } else if (take('u') && hex(4, unit)) {
                out += char16_t(unit);
            } else {
                return false;
            }
        }
        return true;
    }

    // A key name up to the next '\' or the closing ']'.
    bool keyName(std::u16string& out)
    {
        while (peek() != '\\' && peek() != ']') {
            unsigned unit = 0;
            if (take('%')) {
                if (!hex(4, unit))
                    return false;
                out += char16_t(unit);
            } else if (peek() == '[' || peek() == '%' || !utf8(out)) {
                return false;
            }
        }
        return !out.empty();
    }

private:
    static int digit(char c)
    {
        if (c >= '0' && c <= '9')
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    }

    std::string_view line_;
    size_t pos_ = 0;
};

key* parseHeader(reader& in, key& root)
{
    key* k = &root;
    if (in.take(']'))
        return in.atEnd() ? k : nullptr;
    for (;;) {
        std::u16string name;
        if (!in.keyName(name))
            return nullptr;
        key* next = k->child(name);
        k = next ? next : &k->addChild(name);
        if (in.take(']'))
            return in.atEnd() ? k : nullptr;
        in.take('\\');
    }
}

bool parseBytes(reader& in, std::vector<uint8_t>& data)
{
    if (in.atEnd())
        return true;
    do {
        unsigned byte = 0;
        if (!in.hex(2, byte))
            return false;
        data.push_back(uint8_t(byte));
    } while (in.take(','));
    return in.atEnd();
}

bool parseData(reader& in, value& v)
{
    unsigned number = 0;
    if (in.take("dword:")) {
        if (!in.hex(8, number) || !in.atEnd())
            return false;
        v.type = regkey::typeDword;
        v.data = {uint8_t(number), uint8_t(number >> 8), uint8_t(number >> 16), uint8_t(number >> 24)};
        return true;
    }
    if (in.peek() == '"') {
        std::u16string text;
        if (!in.quoted(text) || !in.atEnd())
            return false;
        v.type = regkey::typeSz;
        for (char16_t u : text) {
            v.data.push_back(uint8_t(u));
            v.data.push_back(uint8_t(u >> 8));
        }
        v.data.insert(v.data.end(), {0, 0});
        return true;
    }
    if (in.take("hex:")) {
        v.type = regkey::typeBinary;
        return parseBytes(in, v.data);
    }
    if (!in.take("hex("))
        return false;
    int digits = 0;
    v.type = 0;
    while (digits < 8 && in.peek() != ')') {
        if (!in.hex(1, number))
            return false;
        v.type = v.type << 4 | number;
        ++digits;
    }
    return digits > 0 && in.take("):") && parseBytes(in, v.data);
}

bool parseValue(reader& in, key& k)
{
    value v;
    if (!in.take('@') && !(in.peek() == '"' && in.quoted(v.name)))
        return false;
    if (!in.take('=') || !parseData(in, v))
        return false;
    k.setValue(v.name, v.type, std::move(v.data));
    return true;
}

bool parseLine(std::string_view line, key& root, key*& current)
{
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    if (line.find_first_not_of(" \t") == std::string_view::npos || line[0] == ';' || line[0] == '#')
        return true;
    reader in(line);
    if (in.take('[')) {
        current = parseHeader(in, root);
        return current != nullptr;
    }
    return current && parseValue(in, *current);
}

} // namespace

bool sameName(std::u16string_view a, std::u16string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) { return folded(x) == folded(y); });
}

key* key::child(std::u16string_view name) const
{
    for (const auto& k : keys)
        if (sameName(k->name, name))
            return k.get();
    return nullptr;
}

key& key::addChild(std::u16string_view name)
{
    keys.push_back(std::make_unique<key>());
    keys.back()->name = name;
    return *keys.back();
}

bool key::removeChild(std::u16string_view name)
{
    const auto it = std::find_if(keys.begin(), keys.end(), [&](const auto& k) { return sameName(k->name, name); });
    if (it == keys.end())
        return false;
    keys.erase(it);
    return true;
}

key* key::find(const std::vector<std::u16string>& path)
{
    key* k = this;
    for (const auto& name : path)
        if (!(k = k->child(name)))
            return nullptr;
    return k;
}

const value* key::findValue(std::u16string_view name) const
{
    for (const value& v : values)
        if (sameName(v.name, name))
            return &v;
    return nullptr;
}

void key::setValue(std::u16string_view name, uint32_t type, std::vector<uint8_t> data)
{
    auto* v = const_cast<value*>(findValue(name));
    if (!v) {
        values.emplace_back();
        v = &values.back();
        v->name = name;
    }
    v->type = type;
    v->data = std::move(data);
}

bool key::removeValue(std::u16string_view name)
{
    const auto it = std::find_if(values.begin(), values.end(), [&](const value& v) { return sameName(v.name, name); });
    if (it == values.end())
        return false;
    values.erase(it);
    return true;
}

bool parse(std::string_view text, key& root)
{
    key* current = nullptr;
    while (!text.empty()) {
        const size_t end = text.find('\n');
        if (!parseLine(text.substr(0, end), root, current)) {
            root = key();
            return false;
        }
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return true;
}

std::string format(const key& root, std::string_view rootName)
{
    std::string out = "; Tolvanu settings: ";
    out += rootName;
    out += '\n';
    if (!root.values.empty()) {
        out += "[]\n";
        appendValues(out, root);
    }
    std::string path;
    for (const auto& child : root.keys)
        appendKey(out, *child, path);
    return out;
}

} // namespace vcore::regfile
