#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// A registry root held in memory, and its text form in a settings file.
namespace vcore::regfile {

struct value {
    std::u16string name;
    uint32_t type = 0;
    std::vector<uint8_t> data;
};

struct key {
    std::u16string name;
    std::vector<value> values;
    std::vector<std::unique_ptr<key>> keys;

    // Names compare without regard to the case of A to Z, as in the Windows registry.
    key* child(std::u16string_view name) const;
    key& addChild(std::u16string_view name);
    bool removeChild(std::u16string_view name);
    // Null when a level is missing.
    key* find(const std::vector<std::u16string>& path);

    const value* findValue(std::u16string_view name) const;
    void setValue(std::u16string_view name, uint32_t type, std::vector<uint8_t> data);
    bool removeValue(std::u16string_view name);
};

bool sameName(std::u16string_view a, std::u16string_view b);

// False for text that is not a settings file; root is then left empty.
bool parse(std::string_view text, key& root);
std::string format(const key& root, std::string_view rootName);

} // namespace vcore::regfile
