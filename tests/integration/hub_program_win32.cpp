// Tolvanu.exe as built and as users start it, under Wine.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "profile.h"

namespace {

constexpr DWORD minusOne = 0xFFFFFFFF;
const wchar_t* const hubKey = L"SOFTWARE\\Tessary\\Tolvanu";

// Tolvanu.exe beside this test program.
std::wstring hubProgram()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring program = path;
    return program.substr(0, program.find_last_of(L"\\/") + 1) + L"Tolvanu.exe";
}

// Polls until found returns non-null, for at most seconds.
template <class T>
T waitFor(const std::function<T()>& found, int seconds = 30)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    for (;;) {
        if (T value = found())
            return value;
        if (std::chrono::steady_clock::now() > deadline)
            return T();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

// A started copy of the hub; killed if a test leaves it running.
class hubProcess {
public:
    hubProcess()
    {
        std::wstring command = L"\"" + hubProgram() + L"\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
            CloseHandle(info.hThread);
            process_ = info.hProcess;
        }
    }
    ~hubProcess()
    {
        if (process_ && running())
            TerminateProcess(process_, 1);
        if (process_)
            CloseHandle(process_);
    }
    bool started() const { return process_ != nullptr; }
    bool running() const { return WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }
    // The exit status, or 0 when it did not end within the time.
    DWORD exitStatus(DWORD ms = 30000) const
    {
        DWORD status = 0;
        if (WaitForSingleObject(process_, ms) != WAIT_OBJECT_0 || !GetExitCodeProcess(process_, &status))
            return 0;
        return status;
    }

private:
    HANDLE process_ = nullptr;
};

// The console window of a hub whose message loop runs.
HWND runningConsole()
{
    return waitFor<HWND>([] {
        HWND console = FindWindowW(nullptr, L"Tolvanu Console");
        DWORD_PTR ignored = 0;
        return console && SendMessageTimeoutW(console, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &ignored) ? console
                                                                                                         : nullptr;
    });
}

HWND messageBox() { return FindWindowW(L"#32770", L"Tolvanu"); }

std::wstring textOf(HWND dialog, int item)
{
    wchar_t text[256] = {};
    GetDlgItemTextW(dialog, item, text, 256);
    return text;
}

void setDword(const wchar_t* key, const wchar_t* name, DWORD value)
{
    ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueW(HKEY_CURRENT_USER, key, name, REG_DWORD, &value, sizeof value));
}

// The stored level's type and bytes; type REG_NONE when there is none.
std::vector<BYTE> storedLevel(DWORD& type)
{
    std::vector<BYTE> data(16);
    DWORD size = DWORD(data.size());
    type = REG_NONE;
    if (RegGetValueW(HKEY_CURRENT_USER, hubKey, L"security", RRF_RT_ANY, &type, data.data(), &size) != ERROR_SUCCESS)
        size = 0;
    data.resize(size);
    return data;
}

bool devicesExist()
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\Tessary\\Tolvanu\\devices", 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

TEST(HubProgram, SecondCopyShowsItsMessageAndEndsWhileTheFirstRunsOn)
{
    scratchProfile profile;
    setDword(hubKey, L"security", 3);
    setDword(L"SOFTWARE\\Tessary\\Tolvanu\\devices", L"0042", 1);

    hubProcess first;
    ASSERT_TRUE(first.started());
    const HWND console = runningConsole();
    ASSERT_TRUE(console) << "the first copy's console window with its message loop";
    EXPECT_FALSE(IsWindowVisible(console));

    hubProcess second;
    ASSERT_TRUE(second.started());
    const HWND box = waitFor<HWND>(messageBox);
    ASSERT_TRUE(box) << "the second copy's message box, by its caption";
    EXPECT_EQ(L"Another instance of Tolvanu is running!", textOf(box, 0xFFFF));
    EXPECT_TRUE(second.running()) << "it waits for the user";

    // Press OK as a person would.
    const HWND ok = GetDlgItem(box, IDOK);
    ASSERT_TRUE(ok);
    SendMessageW(ok, BM_CLICK, 0, 0);
    EXPECT_EQ(minusOne, second.exitStatus());
    EXPECT_EQ(nullptr, messageBox()) << "shown once";

    EXPECT_TRUE(first.running());
    EXPECT_EQ(console, runningConsole());
    EXPECT_TRUE(devicesExist());

    PostMessageW(console, WM_CLOSE, 0, 0);
    EXPECT_EQ(minusOne, first.exitStatus());
    DWORD type = 0;
    EXPECT_EQ(std::vector<BYTE>({3, 0, 0, 0}), storedLevel(type));
    EXPECT_EQ(DWORD(REG_DWORD), type);
    EXPECT_FALSE(devicesExist()) << "level 3 forgets the devices at exit";
}

TEST(HubProgram, FirstStartOnACleanProfileWritesMinusOne)
{
    scratchProfile profile;
    hubProcess hub;
    ASSERT_TRUE(hub.started());
    const HWND console = runningConsole();
    ASSERT_TRUE(console);
    PostMessageW(console, WM_CLOSE, 0, 0);
    EXPECT_EQ(minusOne, hub.exitStatus());
    DWORD type = 0;
    EXPECT_EQ(std::vector<BYTE>({0xFF, 0xFF, 0xFF, 0xFF}), storedLevel(type));
    EXPECT_EQ(DWORD(REG_DWORD), type);
}

// The product is 32-bit x86; the x86_64 build exists only to run these tests where 32-bit code
// cannot run, so only the i686 run checks the product's own header.
TEST(HubProgram, IsAGuiProgramForTheBuildsProcessor)
{
    constexpr WORD machine = sizeof(void*) == 4 ? IMAGE_FILE_MACHINE_I386 : IMAGE_FILE_MACHINE_AMD64;
    HANDLE file = CreateFileW(hubProgram().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    std::vector<char> head(4096);
    DWORD read = 0;
    ReadFile(file, head.data(), DWORD(head.size()), &read, nullptr);
    CloseHandle(file);
    ASSERT_GE(read, sizeof(IMAGE_DOS_HEADER));
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(head.data());
    ASSERT_EQ(IMAGE_DOS_SIGNATURE, dos->e_magic);
    ASSERT_LE(size_t(dos->e_lfanew) + sizeof(IMAGE_NT_HEADERS), size_t(read));
    // IMAGE_NT_HEADERS is the layout of the build's own processor: 32 or 64.
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(head.data() + dos->e_lfanew);
    EXPECT_EQ(DWORD(IMAGE_NT_SIGNATURE), nt->Signature);
    EXPECT_EQ(machine, nt->FileHeader.Machine);
    EXPECT_EQ(IMAGE_NT_OPTIONAL_HDR_MAGIC, nt->OptionalHeader.Magic);
    EXPECT_EQ(IMAGE_SUBSYSTEM_WINDOWS_GUI, nt->OptionalHeader.Subsystem);
}

TEST(HubProgram, CarriesItsVersionManifestAndIcons)
{
    const std::wstring program = hubProgram();
    DWORD ignored = 0;
    std::vector<BYTE> block(GetFileVersionInfoSizeW(program.c_str(), &ignored));
    ASSERT_FALSE(block.empty());
    ASSERT_TRUE(GetFileVersionInfoW(program.c_str(), 0, DWORD(block.size()), block.data()));
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&info), &length));
    EXPECT_EQ(MAKELONG(1, 1), info->dwFileVersionMS);
    EXPECT_EQ(MAKELONG(0, 3), info->dwFileVersionLS);
    EXPECT_EQ(MAKELONG(1, 1), info->dwProductVersionMS);
    EXPECT_EQ(MAKELONG(0, 3), info->dwProductVersionLS);

    const HMODULE image = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_TRUE(image);
    const HRSRC manifest = FindResourceW(image, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_TRUE(manifest);
    const std::string text(static_cast<const char*>(LockResource(LoadResource(image, manifest))),
                           SizeofResource(image, manifest));
    EXPECT_NE(std::string::npos, text.find("requestedExecutionLevel level=\"asInvoker\"")) << text;

    for (int group : {101, 102}) {
        const HRSRC icons = FindResourceW(image, MAKEINTRESOURCEW(group), MAKEINTRESOURCEW(14));
        ASSERT_TRUE(icons) << "icon group " << group;
        const auto* dir = static_cast<const BYTE*>(LockResource(LoadResource(image, icons)));
        const WORD count = *reinterpret_cast<const WORD*>(dir + 4);
        std::vector<int> sizes;
        for (WORD i = 0; i < count; ++i) {
            const BYTE* entry = dir + 6 + 14 * i;  // GRPICONDIRENTRY
            EXPECT_EQ(32, *reinterpret_cast<const WORD*>(entry + 6)) << "bits per pixel";
            sizes.push_back(entry[0]);
        }
        EXPECT_EQ(std::vector<int>({16, 32, 48, 64, 128}), sizes) << "icon group " << group;
    }
    FreeLibrary(image);
}

} // namespace
