#pragma once
#include <string>

// A clean user profile for one test, the old one back afterwards: on Windows the hub's registry
// keys and Run value of the Wine prefix, on Linux temporary XDG folders.
class scratchProfile {
public:
    scratchProfile();
    ~scratchProfile();
    scratchProfile(const scratchProfile&) = delete;
    scratchProfile& operator=(const scratchProfile&) = delete;

private:
    std::string folder_;  // Linux: the temporary folder
    bool hadKey_ = false;  // Windows: "SOFTWARE\Tessary" existed
    bool hadRun_ = false;  // Windows: the Run value "Tolvanu" existed
    unsigned long runType_ = 0;
    std::string runData_;
};
