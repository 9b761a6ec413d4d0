#pragma once
#include <memory>
#include <string>

// One kind of file write whose interruption is checked: it sets up the old content, performs the
// write (in the child that gets killed) and judges what the kill left.
namespace crash {

enum class found { oldContent, newContent };

class crashCase {
public:
    virtual ~crashCase() = default;
    virtual bool setUp(std::string& why) = 0;
    // The state before round's write: the old content, and what the write will make of it.
    virtual bool beginRound(int round, std::string& why) = 0;
    // The write itself; runs in the child.
    virtual bool write() = 0;
    // After the kill: the file is old or new and whole, no leftover hinders a later write (which
    // this performs, to the end). leftovers counts files a killed write left behind.
    virtual bool judge(found& result, int& leftovers, std::string& why) = 0;
};

std::unique_ptr<crashCase> settingsCase();
std::unique_ptr<crashCase> vlcrcCase();

} // namespace crash
