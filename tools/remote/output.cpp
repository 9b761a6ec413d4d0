#include "tools/remote/output.h"

#include <cstdio>
#include <mutex>
#include <string>

#include "vcore/nativepath.h"

namespace remote {

namespace {

std::mutex outputLock;

void writeLine(std::FILE* stream, const char* prefix, const vcore::str& line)
{
    const std::string bytes = vcore::toNativePath(line);
    std::lock_guard<std::mutex> hold(outputLock);
    std::fprintf(stream, "%s%s\n", prefix, bytes.c_str());
    std::fflush(stream);
}

} // namespace

void printLine(const vcore::str& line)
{
    writeLine(stdout, "", line);
}

void printMessage(const vcore::str& message)
{
    writeLine(stderr, "tolvanu-remote: ", message);
}

} // namespace remote
