#include "vcore/regkey.h"

#include <cstddef>
#include <utility>

#include "vcore/regkey_os.h"
#include "vcore/strchars.h"

namespace vcore {

namespace {

bool isSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

bool sameName(strview a, const char16_t* b)
{
    const int32_t n = chars::length(b);
    if (a.length() != n)
        return false;
    for (int32_t i = 0; i < n; ++i)
        if (chars::upper(a[i]) != chars::upper(b[i]))
            return false;
    return true;
}

bool rootNamed(strview name, regos::rootId& id)
{
    static constexpr struct { const char16_t* name; regos::rootId id; } roots[] = {
        {u"HKEY_LOCAL_MACHINE", regos::localMachine},
        {u"HKEY_CURRENT_USER", regos::currentUser},
        {u"HKEY_CLASSES_ROOT", regos::classesRoot},
    };
    for (const auto& root : roots)
        if (sameName(name, root.name)) {
            id = root.id;
            return true;
        }
    return false;
}

// Units up to the first NUL of UTF-16 data; an odd last byte is no unit.
void wideText(const std::vector<uint8_t>& data, str& out)
{
    str text(int32_t(data.size() / 2 + 1));
    for (size_t i = 0; i + 1 < data.size(); i += 2) {
        const char16_t unit = char16_t(data[i] | (data[i + 1] << 8));
        if (unit == 0)
            break;
        text.append(unit);
    }
    out = std::move(text);
}

void widenedBytes(const std::vector<uint8_t>& data, str& out)
{
    str text(int32_t(data.size() + 1));
    for (uint8_t byte : data) {
        if (byte == 0)
            break;
        text.append(char16_t(byte));
    }
    out = std::move(text);
}

} // namespace

bool regkey::open(const str& path, bool create)
{
    if (path.empty())
        return false;
    const strview all = path.view();
    int32_t start = 0;
    bool first = true;
    while (start < all.length()) {
        int32_t end = start;
        while (end < all.length() && !isSeparator(all[end]))
            ++end;
        const strview name(all.data() + start, end - start);
        regos::rootId id;
        if (first && rootNamed(name, id)) {
            closeAll();
            keys_.assign(1, regos::root(id));
        } else if (!name.empty() && !openLevel(name, create)) {
            return false;
        }
        first = false;
        start = end + 1;
    }
    return true;
}

bool regkey::openLevel(strview name, bool create)
{
    if (keys_.empty())
        return false;
    handle key = regos::openKey(keys_.back(), str(name), create);
    if (!key)
        return false;
    keys_.push_back(key);
    ++depth_;
    return true;
}

bool regkey::closeLevel()
{
    if (depth_ == 0)
        return false;
    regos::closeKey(keys_.back());
    keys_.pop_back();
    --depth_;
    return true;
}

void regkey::closeAll()
{
    while (closeLevel()) {
    }
}

bool regkey::readText(const str& name, str& out) const
{
    uint32_t type = typeNone;
    std::vector<uint8_t> data;
    if (!readRaw(name, type, data))
        return false;
    if (type == typeSz || type == typeMultiSz)
        wideText(data, out);
    else if (type == typeBinary)
        widenedBytes(data, out);
    else
        return false;
    return true;
}

bool regkey::writeText(const str& name, const str& text)
{
    std::vector<uint8_t> data(size_t(text.length() + 1) * 2, 0);
    for (int32_t i = 0; i < text.length(); ++i) {
        data[size_t(i) * 2] = uint8_t(text[i] & 0xFF);
        data[size_t(i) * 2 + 1] = uint8_t(text[i] >> 8);
    }
    return writeRaw(name, typeSz, data);
}

bool regkey::readDword(const str& name, uint32_t& out) const
{
    uint32_t type = typeNone;
    std::vector<uint8_t> data;
    if (!readRaw(name, type, data) || data.size() != 4)
        return false;
    out = uint32_t(data[0]) | uint32_t(data[1]) << 8 | uint32_t(data[2]) << 16 | uint32_t(data[3]) << 24;
    return true;
}

bool regkey::writeDword(const str& name, uint32_t value)
{
    const std::vector<uint8_t> data = {uint8_t(value), uint8_t(value >> 8), uint8_t(value >> 16),
                                       uint8_t(value >> 24)};
    return writeRaw(name, typeDword, data);
}

bool regkey::readRaw(const str& name, uint32_t& type, std::vector<uint8_t>& data) const
{
    return top() && regos::queryValue(top(), name, type, data);
}

bool regkey::writeRaw(const str& name, uint32_t type, const std::vector<uint8_t>& data)
{
    return top() && regos::setValue(top(), name, type, data);
}

bool regkey::deleteValue(const str& name)
{
    return top() && regos::deleteValue(top(), name);
}

bool regkey::deleteKey(const str& name)
{
    return top() && regos::deleteKey(top(), name);
}

} // namespace vcore
