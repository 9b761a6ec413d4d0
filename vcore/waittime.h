#pragma once
#include <cstdint>

namespace vcore {

// Wait limits are milliseconds, as the system's waits take them; this one never runs out.
inline constexpr uint32_t infinite = 0xFFFFFFFF;

} // namespace vcore
