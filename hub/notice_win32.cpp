#include "hub/notice.h"

#include <windows.h>

namespace hub {

void showNotice(const vcore::str& text, const vcore::str& caption)
{
    MessageBoxW(nullptr, reinterpret_cast<const wchar_t*>(text.data()),
                reinterpret_cast<const wchar_t*>(caption.data()), MB_OK | MB_SYSTEMMODAL | MB_SETFOREGROUND);
}

} // namespace hub
