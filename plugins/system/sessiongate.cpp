#include "plugins/system/sessiongate.h"

namespace systemctl {

void sessionGate::open()
{
    open_ = true;
    bursting_ = false;
}

void sessionGate::close()
{
    open_ = false;
    bursting_ = false;
}

bool sessionGate::turnAway()
{
    return !bursting_.exchange(true);
}

} // namespace systemctl
