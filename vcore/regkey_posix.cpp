#include "vcore/regkey_os.h"

#include <string>

#include "vcore/regstore_posix.h"

namespace vcore {

// A key of the settings files: its root and the names of its levels.
struct regnode {
    const char* root;
    std::vector<std::u16string> path;
};

namespace regos {

namespace {

regnode roots[] = {{"HKEY_LOCAL_MACHINE", {}}, {"HKEY_CURRENT_USER", {}}, {"HKEY_CLASSES_ROOT", {}}};

bool isRoot(const regnode* key) { return key >= roots && key < roots + 3; }

std::u16string text(const str& s) { return std::u16string(s.data(), size_t(s.length())); }

// A sub-key path of '\' or '/' separated names; empty names are skipped.
std::vector<std::u16string> namesOf(const str& path)
{
    std::vector<std::u16string> names(1);
    for (int32_t i = 0; i < path.length(); ++i) {
        if (path[i] == u'\\' || path[i] == u'/')
            names.emplace_back();
        else
            names.back() += path[i];
    }
    std::erase_if(names, [](const std::u16string& name) { return name.empty(); });
    return names;
}

// The key's canonical path when its child exists (names keep the case they were created with).
bool childPath(regfile::key& tree, const regnode& parent, const std::u16string& name, std::vector<std::u16string>& path)
{
    regfile::key* key = tree.find(parent.path);
    regfile::key* child = key ? key->child(name) : nullptr;
    if (!child)
        return false;
    path = parent.path;
    path.push_back(child->name);
    return true;
}

} // namespace

regkey::handle root(rootId id) { return &roots[id]; }

regkey::handle openKey(regkey::handle parent, const str& name, bool create)
{
    const std::u16string child = text(name);
    std::vector<std::u16string> path;
    bool found = false;
    regfile::read(parent->root, [&](regfile::key& tree) { found = childPath(tree, *parent, child, path); });
    if (!found && create)
        found = regfile::update(parent->root, [&](regfile::key& tree) {
            regfile::key* key = tree.find(parent->path);
            if (!key)
                return false;
            if (!key->child(child))
                key->addChild(child);
            return childPath(tree, *parent, child, path);
        });
    return found ? new regnode{parent->root, std::move(path)} : nullptr;
}

void closeKey(regkey::handle key)
{
    if (!isRoot(key))
        delete key;
}

bool queryValue(regkey::handle key, const str& name, uint32_t& type, std::vector<uint8_t>& data)
{
    bool found = false;
    regfile::read(key->root, [&](regfile::key& tree) {
        const regfile::key* k = tree.find(key->path);
        const regfile::value* v = k ? k->findValue(text(name)) : nullptr;
        if (v) {
            type = v->type;
            data = v->data;
            found = true;
        }
    });
    return found;
}

bool setValue(regkey::handle key, const str& name, uint32_t type, const std::vector<uint8_t>& data)
{
    return regfile::update(key->root, [&](regfile::key& tree) {
        regfile::key* k = tree.find(key->path);
        if (k)
            k->setValue(text(name), type, data);
        return k != nullptr;
    });
}

bool deleteValue(regkey::handle key, const str& name)
{
    return regfile::update(key->root, [&](regfile::key& tree) {
        regfile::key* k = tree.find(key->path);
        return k && k->removeValue(text(name));
    });
}

bool deleteKey(regkey::handle key, const str& name)
{
    std::vector<std::u16string> path = namesOf(name);
    if (path.empty())
        return false;
    const std::u16string last = path.back();
    path.pop_back();
    path.insert(path.begin(), key->path.begin(), key->path.end());
    return regfile::update(key->root, [&](regfile::key& tree) {
        regfile::key* parent = tree.find(path);
        const regfile::key* doomed = parent ? parent->child(last) : nullptr;
        return doomed && doomed->keys.empty() && parent->removeChild(last);
    });
}

} // namespace regos

} // namespace vcore
