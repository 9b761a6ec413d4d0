#include "files.h"

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace crash {

std::optional<std::string> contentOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream all;
    all << in.rdbuf();
    return all.str();
}

bool replaceContent(const std::string& path, const std::string& content)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
    out.close();
    return bool(out);
}

std::vector<std::string> namesIn(const std::string& folder)
{
    std::vector<std::string> names;
    std::error_code failed;
    for (const auto& entry : fs::directory_iterator(folder, failed))
        names.push_back(entry.path().filename().string());
    return names;
}

namespace {

// On disk by default: the waits for the disk between writing and renaming are where most kills
// leave a temporary file behind. CRASH_FOLDER chooses another place (/dev/shm: no waits).
fs::path scratchBase()
{
    const char* chosen = std::getenv("CRASH_FOLDER");
    return chosen && *chosen ? fs::path(chosen) : fs::temp_directory_path();
}

} // namespace

std::string scratchFolder(const char* label)
{
    std::string pattern = (scratchBase() / (std::string("tolvanu-crash-") + label + "-XXXXXX")).string();
    return mkdtemp(pattern.data()) ? pattern : std::string();
}

void removeTree(const std::string& folder)
{
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}

} // namespace crash
