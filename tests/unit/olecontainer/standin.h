#pragma once
#include <filesystem>
#include <string>

#include <windows.h>
#include <objbase.h>
#include <gtest/gtest.h>

#include "record.h"
#include "vcore/str.h"
#include "tests/support/programenv.h"

// Readable in failure messages.
inline std::string narrow(vcore::str text)
{
    return std::string(text.narrow(), size_t(text.length()));
}

// The stand-in control's record, read from the same library COM loads into this process.
class standinLibrary {
public:
    standinLibrary()
    {
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        const auto path = testenv::programFolder().parent_path() / "testplugins" / "olecontrol" /
                          "standin_olecontrol.dll";
        module_ = LoadLibraryW(path.wstring().c_str());
        if (!module_)
            return;
        observed_ = reinterpret_cast<standinObservedProc>(
            reinterpret_cast<void (*)()>(GetProcAddress(module_, "standinObserved")));
        reset_ = reinterpret_cast<standinResetProc>(
            reinterpret_cast<void (*)()>(GetProcAddress(module_, "standinReset")));
    }

    bool loaded() const { return observed_ && reset_; }
    standinRecord& seen() const { return *observed_(); }
    void reset() const { reset_(); }

private:
    HMODULE module_ = nullptr;
    standinObservedProc observed_ = nullptr;
    standinResetProc reset_ = nullptr;
};

// Every test starts with a fresh record and no stand-in alive.
class StandinTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(standin.loaded()) << "the stand-in control library did not load";
        standin.reset();
        ASSERT_EQ(seen().objects, 0);
    }
    standinRecord& seen() const { return standin.seen(); }

    static constexpr const char16_t* clsidText = u"{7D1E4B60-2F3A-4C8E-9B1D-5A6C7E8F9003}";
    // Well formed, registered nowhere.
    static constexpr const char16_t* unknownClsid = u"{7D1E4B60-2F3A-4C8E-9B1D-5A6C7E8F90FF}";

    standinLibrary standin;
};
