#include "plugins/winamp/winampcheck.h"

#include <windows.h>

namespace winamp {

bool winampAnswers()
{
    HWND window = FindWindowW(L"Winamp v1.x", nullptr);
    return window && SendMessageA(window, WM_USER, 0, 0) != 0;
}

} // namespace winamp
