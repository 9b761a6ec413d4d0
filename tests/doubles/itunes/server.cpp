// The stand-in player's process: registers its type library (so its interfaces marshal across
// processes), shows a window of class "iTunes", serves the application class while any of its
// objects lives. "-register" writes the class's LocalServer32 key and ends.
#include <string>

#include "objects.h"
#include "registrations.h"
#include "tests/doubles/classfactory.h"

namespace player {

namespace {

const CLSID appClass = {0xDC0C2640, 0x1415, 0x4644, {0x87, 0x5C, 0x6F, 0x4D, 0x76, 0x98, 0x39, 0xBA}};
DWORD mainThread = 0;
DWORD classCookie = 0;
std::atomic<bool> served{false};
// Started by COM for a client ("-Embedding"): ends when no object is left. Started by hand, it
// runs on, as the player a user started would.
bool embedded = false;

std::wstring modulePath()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

bool registerClass()
{
    const std::wstring key = L"Software\\Classes\\CLSID\\{DC0C2640-1415-4644-875C-6F4D769839BA}\\LocalServer32";
    HKEY k = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr) != 0)
        return false;
    const std::wstring value = L"\"" + modulePath() + L"\"";
    const bool ok = RegSetValueExW(k, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                                   DWORD((value.size() + 1) * sizeof(wchar_t))) == 0;
    RegCloseKey(k);
    return ok;
}

void defaultLibrary()
{
    model& m = theModel();
    m.lists.resize(1);
    m.lists[0].id = 1;
    m.lists[0].tracks = {trackRec{L"First", L"Alpha", 200, 1, 0}, trackRec{L"Second", L"", 180, 2, 40},
                         trackRec{L"Third", L"Gamma", 240, 3, 100}};
}

} // namespace

void die()
{
    CoRevokeClassObject(classCookie);
    TerminateProcess(GetCurrentProcess(), 9);
}

void objectGone()
{
    if (--liveObjects == 0 && served && embedded)
        PostThreadMessageW(mainThread, WM_QUIT, 0, 0);
}

} // namespace player

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int)
{
    using namespace player;
    mainThread = GetCurrentThreadId();
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    ITypeLib* lib = nullptr;
    if (SUCCEEDED(LoadTypeLibEx(modulePath().c_str(), REGKIND_REGISTER, &lib)) && lib)
        lib->Release();
    if (wcsstr(commandLine, L"-register"))
        return registerClass() ? 0 : 1;

    embedded = wcsstr(commandLine, L"-Embedding") != nullptr;
    defaultLibrary();
    if (const wchar_t* state = wcsstr(commandLine, L"--state ")) {
        stateFile = state + 8;
        if (!stateFile.empty() && stateFile.front() == L'"')
            stateFile = stateFile.substr(1, stateFile.find(L'"', 1) - 1);
        writeState();
    }
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = instance;
    wc.lpszClassName = L"iTunes";
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(0, L"iTunes", L"iTunes", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                  instance, nullptr);
    // Kept for the process's life: COM holds it only while registered.
    static auto* classObject = new standin::classFactory([]() -> IUnknown* {
        served = true;
        return makeApp();
    });
    if (!keepInterfacesRegistered(classObject))
        return 1;
    DWORD& cookie = classCookie;
    if (FAILED(CoRegisterClassObject(appClass, classObject, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE, &cookie)))
        return 1;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    CoRevokeClassObject(cookie);
    DestroyWindow(window);
    CoUninitialize();
    return 0;
}
