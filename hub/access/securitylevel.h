#pragma once
#include <cstdint>

// The hub-wide security levels, as the tray menu sets them and the registry keeps them.
namespace hub::security {

constexpr int32_t trustAll = 0;
constexpr int32_t askOnce = 1;
constexpr int32_t askPerSession = 2;
constexpr int32_t askEveryTime = 3;
constexpr int32_t blockAll = 4;

// The level the access check acts on. One never chosen (-1), or any other below 0, asks once:
// a fresh installation must not let every client in. Anything above block all blocks all.
constexpr int32_t effective(int32_t level)
{
    if (level < trustAll)
        return askOnce;
    return level > blockAll ? blockAll : level;
}

} // namespace hub::security
