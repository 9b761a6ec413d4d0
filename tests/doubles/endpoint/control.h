#pragma once

// What a test reaches in the stand-in endpoint library, by GetProcAddress.
extern "C" {
typedef float (*standinLevelProc)();
typedef void (*standinSetLevelProc)(float level);
typedef long (*standinSetsProc)();
typedef void (*standinSetPresentProc)(int present);
}
