#include "scratch.h"

#include <climits>
#include <unistd.h>

namespace filetest {

namespace {

constexpr uid_t nobody = 65534;

} // namespace

void hide(const fs::path&)
{
}

bool subfolderChangesReported()
{
    return true;
}

fs::path programFolder()
{
    char buffer[PATH_MAX] = {};
    ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    return n > 0 ? fs::path(std::string(buffer, size_t(n))).parent_path() : fs::path();
}

ordinaryUser::ordinaryUser()
{
    if (geteuid() == 0)
        switched_ = seteuid(nobody) == 0;
}

ordinaryUser::~ordinaryUser()
{
    if (switched_)
        (void)!seteuid(0);
}

} // namespace filetest
