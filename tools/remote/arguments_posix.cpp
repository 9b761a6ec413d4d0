#include "tools/remote/arguments.h"

#include "vcore/nativepath.h"

namespace remote {

std::vector<vcore::str> programArguments(int argc, char** argv)
{
    std::vector<vcore::str> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(vcore::fromNativePath(argv[i]));
    return args;
}

} // namespace remote
