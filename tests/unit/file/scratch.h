#pragma once
#include <filesystem>
#include <string>
#include <vector>

// What the file tests share: a scratch folder, and the platform's ways to mark entries.
namespace filetest {

namespace fs = std::filesystem;

// A fresh folder under the system's temporary folder, removed with everything in it.
class scratch {
public:
    scratch();
    ~scratch();
    scratch(const scratch&) = delete;
    scratch& operator=(const scratch&) = delete;

    const fs::path& path() const { return path_; }
    fs::path operator/(const char* name) const { return path_ / name; }
    // A file holding bytes.
    fs::path put(const char* name, const std::string& bytes) const;
    std::string contents(const char* name) const;

private:
    fs::path path_;
};

std::u16string text(const fs::path& p);
void makeReadOnly(const fs::path& p);
bool isReadOnly(const fs::path& p);
// Hidden takes a name starting with '.' on POSIX; Windows also gets the attribute.
void hide(const fs::path& p);
fs::path programFolder();
// The library the loader tests load, beside the test program.
std::u16string testLibrary();

// Whether this process may write to p although it is read-only (root under Wine, for one).
bool writesReadOnlyFiles(const fs::path& p);
// Wine leaves out change notifications from subfolders.
bool subfolderChangesReported();

// While alive, the process does not run with the powers that bypass file permissions
// (root on POSIX), so read-only files stay read-only.
class ordinaryUser {
public:
    ordinaryUser();
    ~ordinaryUser();
    ordinaryUser(const ordinaryUser&) = delete;
    ordinaryUser& operator=(const ordinaryUser&) = delete;

private:
    bool switched_ = false;
};

} // namespace filetest
