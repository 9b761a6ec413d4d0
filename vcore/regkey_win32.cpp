#include "vcore/regkey_os.h"

#include <windows.h>

namespace vcore::regos {

namespace {

HKEY hkey(regkey::handle key) { return reinterpret_cast<HKEY>(key); }
regkey::handle handleOf(HKEY key) { return reinterpret_cast<regkey::handle>(key); }
const wchar_t* wide(const str& text) { return reinterpret_cast<const wchar_t*>(text.data()); }

bool isRoot(HKEY key)
{
    return key == HKEY_LOCAL_MACHINE || key == HKEY_CURRENT_USER || key == HKEY_CLASSES_ROOT;
}

// Read and write where allowed, read-only where not (HKEY_LOCAL_MACHINE without elevation).
HKEY openExisting(HKEY parent, const str& name)
{
    HKEY key = nullptr;
    LONG rc = RegOpenKeyExW(parent, wide(name), 0, KEY_READ | KEY_WRITE, &key);
    if (rc == ERROR_ACCESS_DENIED)
        rc = RegOpenKeyExW(parent, wide(name), 0, KEY_READ, &key);
    return rc == ERROR_SUCCESS ? key : nullptr;
}

HKEY createKey(HKEY parent, const str& name)
{
    HKEY key = nullptr;
    const LONG rc = RegCreateKeyExW(parent, wide(name), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                    KEY_READ | KEY_WRITE, nullptr, &key, nullptr);
    return rc == ERROR_SUCCESS ? key : nullptr;
}

} // namespace

regkey::handle root(rootId id)
{
    switch (id) {
    case localMachine: return handleOf(HKEY_LOCAL_MACHINE);
    case classesRoot: return handleOf(HKEY_CLASSES_ROOT);
    default: return handleOf(HKEY_CURRENT_USER);
    }
}

regkey::handle openKey(regkey::handle parent, const str& name, bool create)
{
    HKEY key = openExisting(hkey(parent), name);
    if (!key && create)
        key = createKey(hkey(parent), name);
    return handleOf(key);
}

void closeKey(regkey::handle key)
{
    if (key && !isRoot(hkey(key)))
        RegCloseKey(hkey(key));
}

bool queryValue(regkey::handle key, const str& name, uint32_t& type, std::vector<uint8_t>& data)
{
    // The value may grow between asking its size and reading it.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD valueType = 0;
        DWORD size = 0;
        if (RegQueryValueExW(hkey(key), wide(name), nullptr, &valueType, nullptr, &size) != ERROR_SUCCESS)
            return false;
        data.assign(size, 0);
        const LONG rc = RegQueryValueExW(hkey(key), wide(name), nullptr, &valueType, data.data(), &size);
        if (rc == ERROR_MORE_DATA)
            continue;
        if (rc != ERROR_SUCCESS)
            return false;
        data.resize(size);
        type = valueType;
        return true;
    }
    return false;
}

bool setValue(regkey::handle key, const str& name, uint32_t type, const std::vector<uint8_t>& data)
{
    return RegSetValueExW(hkey(key), wide(name), 0, type, data.data(), DWORD(data.size())) == ERROR_SUCCESS;
}

bool deleteValue(regkey::handle key, const str& name)
{
    return RegDeleteValueW(hkey(key), wide(name)) == ERROR_SUCCESS;
}

bool deleteKey(regkey::handle key, const str& name)
{
    // An empty name would delete the key itself.
    if (name.empty())
        return false;
    str path(name);
    for (int32_t i = 0; i < path.length(); ++i)
        if (path[i] == u'/')
            path[i] = u'\\';
    return RegDeleteKeyW(hkey(key), wide(path)) == ERROR_SUCCESS;
}

} // namespace vcore::regos
