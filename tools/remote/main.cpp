// tolvanu-remote: the reference client (a console program on Windows too).
#include "tools/remote/arguments.h"
#include "tools/remote/options.h"
#include "tools/remote/output.h"
#include "tools/remote/run.h"

int main(int argc, char** argv)
{
    const remote::parsed command = remote::parseOptions(remote::programArguments(argc, argv));
    if (!command.ok()) {
        vcore::str message(command.error);
        message.append(u" (see --help)");
        remote::printMessage(message);
        return int(remote::status::usage);
    }
    return int(remote::run(command.value));
}
