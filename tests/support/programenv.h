#pragma once
// The test program's own folder and environment, the same way on both systems.
#include <filesystem>
#include <string>

namespace testenv {

std::filesystem::path programFolder();
// Through the C runtime, which the libraries under test read the environment from.
void setEnvironment(const char* name, const std::string& value);

} // namespace testenv
