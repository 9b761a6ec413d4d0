#include "scratch.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <random>
#include <sstream>

namespace filetest {

namespace {

void makeWritable(const fs::path& root)
{
    std::error_code ignored;
    fs::permissions(root, fs::perms::owner_all, fs::perm_options::add, ignored);
    for (auto it = fs::recursive_directory_iterator(root, ignored); it != fs::recursive_directory_iterator();
         it.increment(ignored))
        fs::permissions(it->path(), fs::perms::owner_write, fs::perm_options::add, ignored);
}

} // namespace

scratch::scratch()
{
    // Test programs may run side by side: the random part keeps their folders apart.
    static std::atomic<int> serial{0};
    auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    std::ostringstream name;
    name << "tolvanu-file-" << std::random_device{}() << "-" << stamp << "-" << serial++;
    path_ = fs::temp_directory_path() / name.str();
    fs::create_directories(path_);
    // Also usable after ordinaryUser gave up the powers that created it.
    fs::permissions(path_, fs::perms::all);
}

scratch::~scratch()
{
    makeWritable(path_);
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

fs::path scratch::put(const char* name, const std::string& bytes) const
{
    fs::path p = path_ / name;
    std::ofstream(p, std::ios::binary) << bytes;
    return p;
}

std::string scratch::contents(const char* name) const
{
    std::ifstream in(path_ / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::u16string text(const fs::path& p)
{
    return p.u16string();
}

void makeReadOnly(const fs::path& p)
{
    fs::permissions(p, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
}

bool writesReadOnlyFiles(const fs::path& p)
{
    return std::ofstream(p, std::ios::binary | std::ios::app).is_open();
}

bool isReadOnly(const fs::path& p)
{
    return (fs::status(p).permissions() & fs::perms::owner_write) == fs::perms::none;
}

} // namespace filetest
