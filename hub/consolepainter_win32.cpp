#include "hub/consolepainter.h"

#include <windows.h>

#include <algorithm>

namespace hub {

namespace {

constexpr COLORREF leftPanel = RGB(48, 48, 48);
constexpr COLORREF rightPanel = RGB(32, 32, 32);
constexpr COLORREF caption = RGB(240, 240, 240);

RECT rectOf(const box& b) { return {b.left, b.top, b.left + b.width, b.top + b.height}; }

void fill(HDC dc, const box& b, COLORREF colour)
{
    const RECT r = rectOf(b);
    SetDCBrushColor(dc, colour);
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void text(HDC dc, const wchar_t* s, int length, RECT r, COLORREF colour)
{
    SetTextColor(dc, colour);
    SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, s, length, &r, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER);
}

} // namespace

void* createConsoleFont()
{
    const HDC screen = GetDC(nullptr);
    const int height = -MulDiv(13, GetDeviceCaps(screen, LOGPIXELSY), 72);
    ReleaseDC(nullptr, screen);
    // Without antialiasing every drawn pixel has the text's own colour. The system's font
    // mapper stands in when the font is not installed.
    return CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY, DEFAULT_PITCH, L"Bank Gothic Medium BT");
}

consolepainter::consolepainter(void* window) : window_(window), font_(createConsoleFont()) {}

consolepainter::~consolepainter()
{
    releaseSurface();
    if (font_)
        DeleteObject(static_cast<HFONT>(font_));
}

void consolepainter::releaseSurface()
{
    if (surfaceDc_) {
        SelectObject(static_cast<HDC>(surfaceDc_), static_cast<HGDIOBJ>(surfaceOld_));
        DeleteDC(static_cast<HDC>(surfaceDc_));
    }
    if (surface_)
        DeleteObject(static_cast<HBITMAP>(surface_));
    surfaceDc_ = surface_ = surfaceOld_ = nullptr;
    bits_ = nullptr;
}

consolepainter::lines consolepainter::newestFirst(const logring& ring)
{
    lines log;
    for (int32_t k = 0; k < maxMessageLines; ++k)
        log.push_back(ring.newest(k));
    return log;
}

void consolepainter::resize(int width, int height, const lines& log)
{
    if (!paintLock_.wait(1000))
        return;
    layout_ = layoutConsole(width, height);
    releaseSurface();
    const box& area = layout_.messageArea;
    if (area.width > 0 && area.height > 0) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = area.width;
        info.bmiHeader.biHeight = -area.height;  // top-down rows
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        const HBITMAP surface = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        const HDC dc = surface ? CreateCompatibleDC(nullptr) : nullptr;
        if (dc) {
            surface_ = surface;
            surfaceDc_ = dc;
            bits_ = static_cast<unsigned*>(bits);
            surfaceOld_ = SelectObject(dc, surface);
            SelectObject(dc, static_cast<HFONT>(font_));
            drawLines(log);
        } else if (surface) {
            DeleteObject(surface);
        }
    }
    paintLock_.release();
    InvalidateRect(static_cast<HWND>(window_), nullptr, FALSE);
}

void consolepainter::paint(void* target)
{
    const HDC dc = static_cast<HDC>(target);
    if (!paintLock_.wait(1000))
        return;
    fill(dc, layout_.leftPanel, leftPanel);
    fill(dc, layout_.rightPanel, rightPanel);
    const HGDIOBJ old = SelectObject(dc, static_cast<HFONT>(font_));
    text(dc, L"Messages:", -1, rectOf(layout_.messagesCaption), caption);
    text(dc, L"Plugins:", -1, rectOf(layout_.pluginsCaption), caption);
    text(dc, L"Host-IP:", -1, rectOf(layout_.addressCaption), caption);
    SelectObject(dc, old);
    const box& area = layout_.messageArea;
    if (surfaceDc_)
        BitBlt(dc, area.left, area.top, area.width, area.height, static_cast<HDC>(surfaceDc_), 0, 0, SRCCOPY);
    paintLock_.release();
}

bool consolepainter::drawLog(const lines& log)
{
    if (!paintLock_.wait(1000))
        return false;
    if (surfaceDc_) {
        drawLines(log);
        // A window DC, not a message: the main thread may be busy shutting down.
        const HWND window = static_cast<HWND>(window_);
        if (const HDC dc = GetDC(window)) {
            const box& area = layout_.messageArea;
            BitBlt(dc, area.left, area.top, area.width, area.height, static_cast<HDC>(surfaceDc_), 0, 0, SRCCOPY);
            ReleaseDC(window, dc);
        }
    }
    paintLock_.release();
    return true;
}

// Under the paint lock, onto the surface.
void consolepainter::drawLines(const lines& log)
{
    const HDC dc = static_cast<HDC>(surfaceDc_);
    const box& area = layout_.messageArea;
    fill(dc, {0, 0, area.width, area.height}, rightPanel);
    const int shown = std::min(messageLines(area.height), int(log.size()));
    for (int k = 0; k < shown; ++k) {
        const vcore::str& line = log[size_t(k)];
        if (line.empty())
            continue;
        const rgb colour = messageColour(k);
        const RECT r{0, lineStep * k, area.width - 4, lineStep * k + lineHeight};
        text(dc, reinterpret_cast<const wchar_t*>(line.data()), line.length(), r,
             RGB(colour.red, colour.green, colour.blue));
    }
    GdiFlush();
}

consolelayout consolepainter::layout()
{
    if (!paintLock_.wait(1000))
        return {};
    const consolelayout copy = layout_;
    paintLock_.release();
    return copy;
}

rgb consolepainter::messagePixel(int x, int y)
{
    rgb colour;
    if (!paintLock_.wait(1000))
        return colour;
    const box& area = layout_.messageArea;
    if (bits_ && x >= 0 && y >= 0 && x < area.width && y < area.height) {
        const unsigned pixel = bits_[y * area.width + x];
        colour = {int((pixel >> 16) & 0xFF), int((pixel >> 8) & 0xFF), int(pixel & 0xFF)};
    }
    paintLock_.release();
    return colour;
}

} // namespace hub
