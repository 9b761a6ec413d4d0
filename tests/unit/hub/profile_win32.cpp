#include "profile.h"

#include <windows.h>

#include <string>

namespace {

const wchar_t* const tessary = L"SOFTWARE\\Tessary";
const wchar_t* const run = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";

std::wstring backupKey() { return L"SOFTWARE\\TolvanuTestBackup-" + std::to_wstring(GetCurrentProcessId()); }

bool keyExists(const wchar_t* path)
{
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

// Copies the tree at from to a new key to.
void copyTree(const wchar_t* from, const wchar_t* to)
{
    HKEY source = nullptr;
    HKEY target = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, from, 0, KEY_READ, &source) == ERROR_SUCCESS &&
        RegCreateKeyExW(HKEY_CURRENT_USER, to, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &target, nullptr) ==
            ERROR_SUCCESS)
        RegCopyTreeW(source, nullptr, target);
    if (source)
        RegCloseKey(source);
    if (target)
        RegCloseKey(target);
}

} // namespace

scratchProfile::scratchProfile()
{
    hadKey_ = keyExists(tessary);
    if (hadKey_) {
        copyTree(tessary, backupKey().c_str());
        RegDeleteTreeW(HKEY_CURRENT_USER, tessary);
    }
    HKEY runKey = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, run, 0, KEY_READ, &runKey) == ERROR_SUCCESS) {
        DWORD type = 0;
        DWORD size = 0;
        hadRun_ = RegQueryValueExW(runKey, L"Tolvanu", nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
        runData_.resize(size);
        RegQueryValueExW(runKey, L"Tolvanu", nullptr, &type, reinterpret_cast<BYTE*>(runData_.data()), &size);
        runType_ = type;
        RegCloseKey(runKey);
    }
    RegDeleteKeyValueW(HKEY_CURRENT_USER, run, L"Tolvanu");
}

scratchProfile::~scratchProfile()
{
    RegDeleteTreeW(HKEY_CURRENT_USER, tessary);
    if (hadKey_) {
        copyTree(backupKey().c_str(), tessary);
        RegDeleteTreeW(HKEY_CURRENT_USER, backupKey().c_str());
    }
    RegDeleteKeyValueW(HKEY_CURRENT_USER, run, L"Tolvanu");
    if (hadRun_)
        RegSetKeyValueW(HKEY_CURRENT_USER, run, L"Tolvanu", runType_, runData_.data(), DWORD(runData_.size()));
}
