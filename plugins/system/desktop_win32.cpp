// A Windows PC: Core Audio for the master volume, SendInput for keys and mouse, the
// foreground window for pin, Beep for the tone.
// The desktop is made and destroyed under the loader lock (the library's load and unload),
// where COM must not be started or stopped: the endpoint is opened on the port's worker
// when it starts, and COM is never uninitialised by this library.
#include "plugins/system/desktop.h"

#include <windows.h>

#include <algorithm>

#include <endpointvolume.h>
#include <mmdeviceapi.h>
// GDI+'s headers expect min and max, which NOMINMAX keeps out of windows.h.
namespace Gdiplus {
using std::max;
using std::min;
} // namespace Gdiplus
#include <gdiplus.h>

namespace systemctl {
namespace {

const CLSID enumeratorClass = {0xBCDE0395, 0xE52F, 0x467C, {0x8E, 0x3D, 0xC4, 0x57, 0x92, 0x91, 0x69, 0x2E}};
const IID enumeratorInterface = {0xA95664D2, 0x9614, 0x4F35, {0xA7, 0x46, 0xDE, 0x8D, 0xB6, 0x36, 0x17, 0xE6}};
const IID endpointVolumeInterface = {0x5CDF2C82, 0x841E, 0x4546, {0x97, 0x22, 0x0C, 0xF7, 0x40, 0x78, 0x22, 0x9A}};

IAudioEndpointVolume* openEndpointVolume()
{
    IMMDeviceEnumerator* enumerator = nullptr;
    if (FAILED(CoCreateInstance(enumeratorClass, nullptr, CLSCTX_INPROC_SERVER, enumeratorInterface,
                                reinterpret_cast<void**>(&enumerator))))
        return nullptr;
    IMMDevice* device = nullptr;
    IAudioEndpointVolume* volume = nullptr;
    if (SUCCEEDED(enumerator->GetDefaultAudioEndpoint(eRender, eConsole, &device))) {
        if (FAILED(device->Activate(endpointVolumeInterface, CLSCTX_INPROC_SERVER, nullptr,
                                    reinterpret_cast<void**>(&volume))))
            volume = nullptr;
        device->Release();
    }
    enumerator->Release();
    return volume;
}

class winDesktop : public machine {
public:
    winDesktop()
    {
        // Without its background thread, whose end the shutdown would wait for under the
        // loader lock.
        Gdiplus::GdiplusStartupInput input(nullptr, TRUE);
        Gdiplus::GdiplusStartupOutput hooks{};
        if (Gdiplus::GdiplusStartup(&gdiplus_, &input, &hooks) != Gdiplus::Ok)
            gdiplus_ = 0;
        else if (hooks.NotificationHook && hooks.NotificationHook(&gdiplusHook_) != Gdiplus::Ok)
            gdiplusHook_ = 0;
        gdiplusUnhook_ = hooks.NotificationUnhook;
        keyboard_.type = INPUT_KEYBOARD;
        mouse_.type = INPUT_MOUSE;
    }

    ~winDesktop() override
    {
        if (endpoint_)
            endpoint_->Release();
        if (gdiplusHook_ && gdiplusUnhook_)
            gdiplusUnhook_(gdiplusHook_);
        if (gdiplus_)
            Gdiplus::GdiplusShutdown(gdiplus_);
    }

    // The records are kept from command to command, as the system's own were.
    void key(uint16_t scanCode, bool extended, bool up) override
    {
        keyboard_.ki.wScan = scanCode;
        keyboard_.ki.dwFlags = KEYEVENTF_SCANCODE | (extended ? KEYEVENTF_EXTENDEDKEY : 0) | (up ? KEYEVENTF_KEYUP : 0);
        SendInput(1, &keyboard_, sizeof(INPUT));
    }

    void moveMouse(int32_t dx, int32_t dy) override
    {
        mouse_.mi.dx = LONG(dx);
        mouse_.mi.dy = LONG(dy);
        mouse_.mi.dwFlags = MOUSEEVENTF_MOVE;
        SendInput(1, &mouse_, sizeof(INPUT));
    }

    void button(mouseButton which, bool down) override
    {
        static const DWORD flags[3][2] = {{MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN},
                                          {MOUSEEVENTF_RIGHTUP, MOUSEEVENTF_RIGHTDOWN},
                                          {MOUSEEVENTF_MIDDLEUP, MOUSEEVENTF_MIDDLEDOWN}};
        mouse_.mi.dwFlags = flags[int(which)][down ? 1 : 0];
        SendInput(1, &mouse_, sizeof(INPUT));
    }

    void wheel(int32_t data) override
    {
        mouse_.mi.mouseData = DWORD(data);
        mouse_.mi.dwFlags = MOUSEEVENTF_WHEEL;
        SendInput(1, &mouse_, sizeof(INPUT));
    }

    void beep() override { Beep(500, 100); }

    bool readVolume(float& scalar) override
    {
        return endpoint() && SUCCEEDED(endpoint_->GetMasterVolumeLevelScalar(&scalar));
    }

    bool writeVolume(float scalar) override
    {
        return endpoint() && SUCCEEDED(endpoint_->SetMasterVolumeLevelScalar(scalar, nullptr));
    }

    windowId foregroundWindow() override
    {
        return windowId(reinterpret_cast<UINT_PTR>(GetForegroundWindow()));
    }

    bool windowExists(windowId window) override { return IsWindow(handle(window)) != FALSE; }

    void maximise(windowId window) override
    {
        // Kept as the system kept it, though nothing reads it back.
        GetWindowRect(handle(window), &pinnedRect_);
        ShowWindow(handle(window), SW_MAXIMIZE);
    }

    void restore(windowId window) override { ShowWindow(handle(window), SW_RESTORE); }

    vcore::str caption(windowId window, int32_t maxUnits) override
    {
        vcore::str title = vcore::str::buffer(maxUnits + 1);
        const int n = GetWindowTextW(handle(window), reinterpret_cast<wchar_t*>(title.data()), maxUnits + 1);
        title.set(title.data(), std::clamp(n, 0, int(maxUnits)));
        return title;
    }

    void pause(uint32_t ms) override { Sleep(ms); }

    // Core Audio loads its libraries on first use, which must not happen while an unload
    // holds the loader lock and waits for this worker.
    void prepare() override { endpoint(); }

private:
    static HWND handle(windowId window) { return reinterpret_cast<HWND>(UINT_PTR(window)); }

    // Opened once; a PC without an output device stays without one until the next load.
    IAudioEndpointVolume* endpoint()
    {
        if (!endpointTried_) {
            endpointTried_ = true;
            // The worker has COM already; any other first caller keeps it, as the worker does.
            CoInitializeEx(nullptr, COINIT_MULTITHREADED);
            endpoint_ = openEndpointVolume();
        }
        return endpoint_;
    }

    bool endpointTried_ = false;
    IAudioEndpointVolume* endpoint_ = nullptr;
    ULONG_PTR gdiplus_ = 0;
    ULONG_PTR gdiplusHook_ = 0;
    Gdiplus::NotificationUnhookProc gdiplusUnhook_ = nullptr;
    INPUT keyboard_{};
    INPUT mouse_{};
    RECT pinnedRect_{};
};

} // namespace

std::unique_ptr<machine> makeDesktop(logSink)
{
    return std::make_unique<winDesktop>();
}

} // namespace systemctl
