#pragma once
#include <vector>

#include "hub/consolelayout.h"
#include "hub/logring.h"
#include "vcore/semaphore.h"
#include "vcore/str.h"

// The console window's painting (Windows): panels, captions and the log's message area, which
// is drawn into an off-screen surface under the paint lock from whichever thread logs, then
// copied to the window. The two lists are not painted here.
namespace hub {

// The console's font, "Bank Gothic Medium BT" at 13 points (HFONT, deleted by the caller).
void* createConsoleFont();

class consolepainter {
public:
    // window: the console's HWND.
    explicit consolepainter(void* window);
    ~consolepainter();
    consolepainter(const consolepainter&) = delete;
    consolepainter& operator=(const consolepainter&) = delete;

    // The log's lines, newest first, as far as the message area can show them.
    using lines = std::vector<vcore::str>;
    static lines newestFirst(const logring& ring);

    // The client area's new size: a new layout and message surface, drawn with log.
    void resize(int width, int height, const lines& log);
    // Everything, into the window's paint DC (HDC).
    void paint(void* dc);
    // The log under the paint lock; false (nothing drawn) when the lock stays taken for
    // 1000 ms. From any thread.
    bool drawLog(const lines& log);

    consolelayout layout();
    // A pixel of the message surface, (0, 0) its top left; black outside it. For checks.
    rgb messagePixel(int x, int y);

private:
    void drawLines(const lines& log);
    void releaseSurface();

    void* window_;
    void* font_ = nullptr;
    void* surfaceDc_ = nullptr;
    void* surface_ = nullptr;
    void* surfaceOld_ = nullptr;
    unsigned* bits_ = nullptr;
    consolelayout layout_;
    vcore::semaphore paintLock_;
};

} // namespace hub
