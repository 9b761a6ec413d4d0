#pragma once
#include <cstdint>

#include <windows.h>

#include "vcore/str.h"
#include "vcore/vobject.h"

namespace vwin {

// The toolkit's window base, reduced to what a windowless host needs: a title, a size and
// named events. The window itself is never made here, so window() stays null. Windows only.
class vWidget : public vcore::vObject {
public:
    static constexpr uint32_t flagDeferWindow = 0x80000000u;

    vWidget(const vcore::str& title, uint32_t flags) : title_(title), flags_(flags) {}
    virtual ~vWidget() = default;

    const vcore::str& title() const { return title_; }
    uint32_t flags() const { return flags_; }
    HWND window() const { return nullptr; }
    int32_t width() const { return width_; }
    int32_t height() const { return height_; }
    void resize(int32_t width, int32_t height)
    {
        width_ = width;
        height_ = height;
    }

private:
    vcore::str title_;
    uint32_t flags_;
    int32_t width_ = 0;
    int32_t height_ = 0;
};

} // namespace vwin
