#include "echo.h"

#include "plugins/common/hostlink.h"

namespace {

// Our own reports may come back to the port (the client listens on its number): never answer them.
bool isOwnReport(const vcore::str& name)
{
    return name == u"echo.reply" || name == u"echo.ping" || name == u"media.close";
}

} // namespace

bool Tolvanu_echo::dispatch(const vcore::str& name, const vcore::str& argument)
{
    if (isOwnReport(name))
        return false;
    vcore::str line(u"echo: ");
    line.append(name);
    plugin::hostLog(line);
    vcore::str reply(u"echo.reply ");
    reply.append(name);
    reply.append(u' ');
    reply.append(argument);
    sendReport(reply);
    return true;
}

void Tolvanu_echo::poll()
{
    sendReport(vcore::str(u"echo.ping"));
}
