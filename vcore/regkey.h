#pragma once
#include <cstdint>
#include <vector>

#include "vcore/str.h"

namespace vcore {

struct regnode;  // a key of the platform's registry (an HKEY on Windows)

// Registry key paths opened level by level onto a stack; a relative path continues below the top.
class regkey {
public:
    using handle = regnode*;

    // Value types, numbered as in the Windows registry.
    static constexpr uint32_t typeNone = 0;
    static constexpr uint32_t typeSz = 1;
    static constexpr uint32_t typeExpandSz = 2;
    static constexpr uint32_t typeBinary = 3;
    static constexpr uint32_t typeDword = 4;
    static constexpr uint32_t typeMultiSz = 7;

    regkey() = default;
    ~regkey() { closeAll(); }
    regkey(const regkey&) = delete;
    regkey& operator=(const regkey&) = delete;

    // Components are separated by '\' or '/'; a leading "HKEY_LOCAL_MACHINE", "HKEY_CURRENT_USER"
    // or "HKEY_CLASSES_ROOT" starts over at that root. Levels opened before a failure stay open.
    bool open(const str& path, bool create = false);
    bool closeLevel();
    void closeAll();
    // Sub-keys opened above the root.
    int32_t depth() const { return depth_; }
    // The key operations act on; null before a root was chosen.
    handle top() const { return keys_.empty() ? nullptr : keys_.back(); }

    // REG_SZ and REG_MULTI_SZ as UTF-16, REG_BINARY byte by byte; the text ends at the first NUL.
    bool readText(const str& name, str& out) const;
    // A REG_SZ with its terminating NUL.
    bool writeText(const str& name, const str& text);
    // Any value of exactly 4 bytes, whatever its type.
    bool readDword(const str& name, uint32_t& out) const;
    bool writeDword(const str& name, uint32_t value);
    bool readRaw(const str& name, uint32_t& type, std::vector<uint8_t>& data) const;
    bool writeRaw(const str& name, uint32_t type, const std::vector<uint8_t>& data);
    bool deleteValue(const str& name);
    // Deletes a sub-key of the top with its values; a key that has sub-keys of its own stays.
    bool deleteKey(const str& name);

private:
    bool openLevel(strview name, bool create);

    int32_t depth_ = 0;
    std::vector<handle> keys_;  // the root at the bottom once one was chosen
};

} // namespace vcore
