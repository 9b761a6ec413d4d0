#pragma once
#include <optional>
#include <string>
#include <vector>

// Whole-file reads and writes and folder listings for the checks; no atomicity of their own.
namespace crash {

// Nothing when the file does not exist or cannot be read.
std::optional<std::string> contentOf(const std::string& path);
bool replaceContent(const std::string& path, const std::string& content);
std::vector<std::string> namesIn(const std::string& folder);
// A new empty folder under the system's temporary folder; empty text on failure.
std::string scratchFolder(const char* label);
void removeTree(const std::string& folder);

} // namespace crash
