#include "hub/consolelists.h"

#include <windows.h>
#include <windowsx.h>

#include <algorithm>

#include "hub/consolepainter.h"
#include "hub/consolerows.h"

namespace hub {

namespace {

constexpr const wchar_t* listClass = L"TolvanuList";
constexpr int addressKind = 1;
constexpr int pluginKind = 2;

COLORREF colourOf(const rgb& c) { return RGB(c.red, c.green, c.blue); }

void fill(HDC dc, const RECT& r, const rgb& colour)
{
    SetDCBrushColor(dc, colourOf(colour));
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void drawText(HDC dc, const vcore::str& s, RECT r, const rgb& colour)
{
    SetTextColor(dc, colourOf(colour));
    SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, reinterpret_cast<const wchar_t*>(s.data()), s.length(), &r,
              DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_VCENTER | DT_END_ELLIPSIS);
}

// Background, the rounded indicator square at the left, then the texts side by side; row counts
// from the top shown row.
void paintRow(HDC dc, int row, int width, const rowcolours& colours, const vcore::str& first,
              const vcore::str* second)
{
    const int top = row * consolelists::rowHeight;
    fill(dc, {0, top, width, top + consolelists::rowHeight}, colours.background);
    SetDCBrushColor(dc, colourOf(colours.indicator));
    SetDCPenColor(dc, colourOf(colours.indicator));
    const HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(DC_BRUSH));
    const HGDIOBJ oldPen = SelectObject(dc, GetStockObject(DC_PEN));
    RoundRect(dc, 4, top + 4, 14, top + 14, 4, 4);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    const int textLeft = 20;
    if (!second) {
        drawText(dc, first, {textLeft, top, width - 2, top + consolelists::rowHeight}, colours.firstText);
        return;
    }
    const int middle = textLeft + (width - textLeft) / 2;
    drawText(dc, first, {textLeft, top, middle - 4, top + consolelists::rowHeight}, colours.firstText);
    drawText(dc, *second, {middle, top, width - 2, top + consolelists::rowHeight}, colours.secondText);
}

// The shown rows fitted to the list's rows and height, and the scroll bar to them: it shows
// only while some rows do not fit.
void fitScroll(HWND window, listscroll& scroll, int rows)
{
    RECT client{};
    GetClientRect(window, &client);
    scroll.fit(rows, client.bottom / consolelists::rowHeight);
    const bool needed = scroll.lastFirst() > 0;
    const bool shown = (GetWindowLongPtrW(window, GWL_STYLE) & WS_VSCROLL) != 0;
    if (!needed && !shown)
        return;
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMin = 0;
    info.nMax = std::max(rows - 1, 0);
    info.nPage = UINT(scroll.visible());
    info.nPos = scroll.first();
    SetScrollInfo(window, SB_VERT, &info, TRUE);
}

void showFrom(HWND window, listscroll& scroll, bool moved)
{
    if (!moved)
        return;
    SetScrollPos(window, SB_VERT, scroll.first(), TRUE);
    InvalidateRect(window, nullptr, FALSE);
}

void scrollBar(HWND window, listscroll& scroll, int request)
{
    const int page = std::max(scroll.visible(), 1);
    bool moved = false;
    switch (request) {
    case SB_LINEUP: moved = scroll.scrollBy(-1); break;
    case SB_LINEDOWN: moved = scroll.scrollBy(1); break;
    case SB_PAGEUP: moved = scroll.scrollBy(-page); break;
    case SB_PAGEDOWN: moved = scroll.scrollBy(page); break;
    case SB_TOP: moved = scroll.scrollTo(0); break;
    case SB_BOTTOM: moved = scroll.scrollTo(scroll.lastFirst()); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        // The message's own position has only 16 bits.
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_TRACKPOS;
        if (GetScrollInfo(window, SB_VERT, &info))
            moved = scroll.scrollTo(info.nTrackPos);
        break;
    }
    default:
        break;
    }
    showFrom(window, scroll, moved);
}

void scrollWheel(HWND window, listscroll& scroll, int delta)
{
    UINT perNotch = 3;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &perNotch, 0);
    const int rows = perNotch == WHEEL_PAGESCROLL ? std::max(scroll.visible(), 1) : int(std::min(perNotch, 100u));
    showFrom(window, scroll, scroll.wheel(delta, rows));
}

LRESULT CALLBACK listProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* lists = reinterpret_cast<consolelists*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    const int kind = GetDlgCtrlID(window);
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        const HDC dc = BeginPaint(window, &paint);
        if (lists && kind == addressKind)
            lists->paintAddresses(dc);
        else if (lists)
            lists->paintPlugins(dc);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_VSCROLL:
        if (lists)
            scrollBar(window, lists->scrollOf(window), LOWORD(wParam));
        return 0;
    case WM_MOUSEWHEEL:
        // Not on to the parent: the console hands the wheel to the list under the pointer.
        if (lists)
            scrollWheel(window, lists->scrollOf(window), GET_WHEEL_DELTA_WPARAM(wParam));
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: {
        if (!lists)
            break;
        const int row = lists->scrollOf(window).rowAt(GET_Y_LPARAM(lParam), consolelists::rowHeight);
        if (kind == addressKind)
            lists->addressClicked(row);
        else if (message == WM_LBUTTONDOWN)
            lists->pluginClicked(row);
        else
            lists->pluginRightClicked(row);
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND createList(HWND parent, int kind, consolelists* lists)
{
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = listProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = listClass;
    RegisterClassExW(&wc);
    return CreateWindowExW(0, listClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(kind)), instance, lists);
}

void moveTo(HWND window, const box& b) { MoveWindow(window, b.left, b.top, b.width, b.height, TRUE); }

} // namespace

consolelists::consolelists(void* parent, menuactions& actions) : actions_(actions), font_(createConsoleFont())
{
    addresses_ = createList(static_cast<HWND>(parent), addressKind, this);
    plugins_ = createList(static_cast<HWND>(parent), pluginKind, this);
}

consolelists::~consolelists()
{
    if (addresses_)
        DestroyWindow(static_cast<HWND>(addresses_));
    if (plugins_)
        DestroyWindow(static_cast<HWND>(plugins_));
    if (font_)
        DeleteObject(static_cast<HFONT>(font_));
}

void consolelists::place(const consolelayout& layout)
{
    moveTo(static_cast<HWND>(addresses_), layout.addressList);
    moveTo(static_cast<HWND>(plugins_), layout.pluginList);
}

// Invalidating posts nothing and waits for nothing: safe from a worker while the main thread
// shuts down.
void consolelists::refreshAddresses() { InvalidateRect(static_cast<HWND>(addresses_), nullptr, FALSE); }
void consolelists::refreshPlugins() { InvalidateRect(static_cast<HWND>(plugins_), nullptr, FALSE); }

std::vector<int32_t> consolelists::pluginRows() { return pluginRowOrder(actions_.plugins()); }

void consolelists::paintAddresses(void* target)
{
    const HDC dc = static_cast<HDC>(target);
    const HWND window = static_cast<HWND>(addresses_);
    const std::vector<addressrow> rows = actions_.addresses();
    fitScroll(window, addressScroll_, int(rows.size()));
    RECT client{};
    GetClientRect(window, &client);
    fill(dc, client, {48, 48, 48});
    const HGDIOBJ old = SelectObject(dc, static_cast<HFONT>(font_));
    const int first = addressScroll_.first();
    for (int i = first; i < addressScroll_.endShown(); ++i)
        paintRow(dc, i - first, client.right, addressRowColours(rows[size_t(i)], i == selectedAddress_),
                 rows[size_t(i)].text, nullptr);
    SelectObject(dc, old);
}

void consolelists::paintPlugins(void* target)
{
    const HDC dc = static_cast<HDC>(target);
    const HWND window = static_cast<HWND>(plugins_);
    const std::vector<pluginrow> plugins = actions_.plugins();
    const std::vector<int32_t> order = pluginRowOrder(plugins);
    fitScroll(window, pluginScroll_, int(order.size()));
    RECT client{};
    GetClientRect(window, &client);
    fill(dc, client, {48, 48, 48});
    const HGDIOBJ old = SelectObject(dc, static_cast<HFONT>(font_));
    const int first = pluginScroll_.first();
    for (int row = first; row < pluginScroll_.endShown(); ++row) {
        const pluginrow& p = plugins[size_t(order[size_t(row)])];
        paintRow(dc, row - first, client.right, pluginRowColours(p, order[size_t(row)] == selectedPlugin_),
                 p.instanceName, &p.className);
    }
    SelectObject(dc, old);
}

void consolelists::pluginClicked(int row)
{
    const std::vector<int32_t> order = pluginRows();
    if (row < 0 || size_t(row) >= order.size())
        return;
    selectedPlugin_ = order[size_t(row)];
    actions_.closePlugin(selectedPlugin_);
    // The plug-in's own threads get a moment to report the session's end before the repaint.
    Sleep(40);
    refreshPlugins();
}

void consolelists::pluginRightClicked(int row)
{
    const std::vector<pluginrow> plugins = actions_.plugins();
    const std::vector<int32_t> order = pluginRowOrder(plugins);
    if (row < 0 || size_t(row) >= order.size())
        return;
    selectedPlugin_ = order[size_t(row)];
    actions_.setPluginEnabled(selectedPlugin_, !plugins[size_t(selectedPlugin_)].enabled);
    refreshPlugins();
}

void consolelists::addressClicked(int row)
{
    if (row < 0 || size_t(row) >= actions_.addresses().size())
        return;
    selectedAddress_ = row;
    refreshAddresses();
}

} // namespace hub
