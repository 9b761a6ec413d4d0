#pragma once
#include <cstdint>

// Wheel data in the 120-per-notch unit as whole clicks of X buttons 4 (away) and 5 (toward),
// keeping what is left of a notch for the next turn.
namespace systemctl {

class wheelSteps {
public:
    static constexpr int32_t notch = 120;
    // One command never clicks more than this; the rest of a wild value is dropped.
    static constexpr int32_t maxClicks = 100;

    // Signed clicks for data: positive away from the user.
    int32_t clicks(int32_t data);
    int32_t remainder() const { return remainder_; }

private:
    int32_t remainder_ = 0;
};

} // namespace systemctl
