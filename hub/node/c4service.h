#pragma once
#include "vcore/str.h"

// One entry of the node's table: a service class this node offers or wants, and its session.
struct C4Service {
    vcore::str name;    // the key, compared exactly
    vcore::str peer;    // the other side's address text; empty until a session is agreed
    bool offered = false;
    bool open = false;
};
