// Tolvanu.exe (Windows GUI program) and tolvanu (Linux).
#include "hub/hub.h"

int main() { return hub::run(); }
