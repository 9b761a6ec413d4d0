#include "plugins/vlc/vlcconfig.h"

#include "plugins/vlc/vlcrcfile.h"

namespace vlc {
namespace {

constexpr int32_t highestPort = 65535;

int32_t usablePort(int32_t port)
{
    return port > 0 && port <= highestPort ? port : -1;
}

} // namespace

configOutcome prepareConfig(const vcore::str& path, const vlcrcOptions& options)
{
    configOutcome outcome;
    vcore::str bytes;
    if (!loadVlcrc(path, bytes))
        return outcome;
    vlcrcOptions readOnly = options;
    readOnly.allowRewrite = false;
    const vlcrcResult asRead = readVlcrc(bytes, readOnly);
    outcome.port = usablePort(asRead.port);
    if (asRead.usable || !options.allowRewrite)
        return outcome;
    const vlcrcResult prepared = readVlcrc(bytes, options);
    // Without an "rc-host=" line a rewrite gains no port: the user's file stays as it is.
    if (!prepared.rewrite || usablePort(prepared.port) < 0)
        return outcome;
    if (!saveVlcrc(path, prepared.text, bytes)) {
        outcome.rewriteFailed = true;
        return outcome;
    }
    outcome.rewritten = true;
    outcome.port = prepared.port;
    return outcome;
}

} // namespace vlc
