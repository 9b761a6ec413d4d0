// The Linux settings-file reader: a text it takes, written out and read again, holds the same keys
// and values; and writing that again gives the same text.
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz/fuzzcheck.h"
#include "vcore/regtree_posix.h"

namespace {

using fuzzcheck::require;
using vcore::regfile::key;

bool same(const key& a, const key& b)
{
    if (a.name != b.name || a.values.size() != b.values.size() || a.keys.size() != b.keys.size())
        return false;
    for (size_t i = 0; i < a.values.size(); ++i) {
        const auto& x = a.values[i];
        const auto& y = b.values[i];
        if (x.name != y.name || x.type != y.type || x.data != y.data)
            return false;
    }
    for (size_t i = 0; i < a.keys.size(); ++i)
        if (!same(*a.keys[i], *b.keys[i]))
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    key first;
    if (!vcore::regfile::parse(text, first))
        return 0;
    const std::string written = vcore::regfile::format(first, "HKEY_CURRENT_USER");
    key second;
    require(vcore::regfile::parse(written, second), "a written file does not read", written);
    require(same(first, second), "keys or values changed on the way through the file", written);
    require(vcore::regfile::format(second, "HKEY_CURRENT_USER") == written, "writing again changed the file");
    return 0;
}
