#pragma once

// The program's entry function: one copy only, the hub built, its message loop run, the hub
// taken down. The command line is not looked at. Always -1, the program's exit status.
namespace hub {

int run();

} // namespace hub
