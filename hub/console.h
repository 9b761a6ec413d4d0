#pragma once
#include <cstdint>
#include <functional>

#include "vcore/str.h"

// The hub's console: a hidden top-level window "Tolvanu Console" on Windows, whose close request
// ends the hub while it is the main window; the terminal on Linux.
namespace hub {

class console {
public:
    console();
    virtual ~console();
    console(const console&) = delete;
    console& operator=(const console&) = delete;

    // The window handle (HWND) on Windows; null on Linux.
    void* window() const { return window_; }
    void setVisible(bool visible);
    void resize(int width, int height);
    void toForeground();
    // A new log line: printed on Linux; on Windows the message area shows the ring (to come).
    void showLine(const vcore::str& line);
    // The user's session ends under the running hub (Windows log-off), which may end the process
    // without a return from the message loop: the handler runs on the main thread first.
    void setSessionEndHandler(std::function<void()> handler) { sessionEnd_ = std::move(handler); }
    void endSession()
    {
        if (sessionEnd_)
            sessionEnd_();
    }

    // Menu commands sent to the console window (WM_COMMAND); the handler says whether it acted.
    void setCommandHandler(std::function<bool(unsigned)> handler) { command_ = std::move(handler); }
    bool command(unsigned id) { return command_ && command_(id); }

    // The window's painting (the paint DC, HDC) and its client size after every change.
    void setPaintHandler(std::function<void(void*)> handler) { paint_ = std::move(handler); }
    void setSizeHandler(std::function<void(int, int)> handler) { sized_ = std::move(handler); }
    bool paints() const { return bool(paint_); }
    void paint(void* dc)
    {
        if (paint_)
            paint_(dc);
    }
    void sized(int width, int height)
    {
        if (sized_)
            sized_(width, height);
    }

    // WM_USER + 128: a class connected without the access check; the port, 0 or less for none.
    void setConnectHandler(std::function<int32_t(const char16_t*)> handler) { connect_ = std::move(handler); }
    int32_t connectRequest(const char16_t* className) { return connect_ ? connect_(className) : 0; }

    // Where the left button went down on the console's surface (client pixels), while held:
    // dragging keeps that point under the pointer.
    struct grabpoint {
        int x = 0;
        int y = 0;
        bool held = false;
    };
    grabpoint& grab() { return grab_; }

    // The console whose close ends the hub, while the message loop runs; null before and after.
    static console* mainWindow();
    static void setMainWindow(console* main);

private:
    void* window_ = nullptr;
    std::function<void()> sessionEnd_;
    std::function<bool(unsigned)> command_;
    std::function<void(void*)> paint_;
    std::function<void(int, int)> sized_;
    std::function<int32_t(const char16_t*)> connect_;
    grabpoint grab_;
};

} // namespace hub
