#pragma once
#include <cstdint>

#include "vcore/str.h"

namespace vcore {

// A dynamic library: loaded by path or adopted from an address inside it, with entry-point lookup.
class lib {
public:
    // getProc values below this are ordinals, not names.
    static constexpr uintptr_t ordinalLimit = 0x40000;

    lib() = default;
    lib(const lib&) = delete;
    lib& operator=(const lib&) = delete;
    virtual ~lib();

    // Unloads the current module and loads path; keepLoaded leaves it loaded after unload.
    virtual bool load(const char16_t* path, bool keepLoaded = false);
    // Unloads the current module and adopts the already loaded one containing address (not owned).
    virtual bool attachByAddress(const void* address);
    // Frees the module when owned; forgets it either way.
    virtual void unload();

    // Entry point by name, or by ordinal when the pointer value is below ordinalLimit; none if absent.
    void* getProc(const char16_t* nameOrOrdinal) const;
    // Entry point by ordinal (only Windows libraries have ordinals).
    void* getProc(uint32_t ordinal) const;

    bool isLoaded() const { return module_ != nullptr; }
    bool owned() const { return owned_; }
    void* module() const { return module_; }
    const str& name() const { return name_; }

private:
    void* findByName(const char* name) const;
    void* findByOrdinal(uint32_t ordinal) const;

    void* module_ = nullptr;
    bool owned_ = false;
    str name_;
};

} // namespace vcore
