#pragma once

// Whether Winamp runs and answers: its main window exists and gives a non-zero version.
namespace winamp {

bool winampAnswers();

} // namespace winamp
