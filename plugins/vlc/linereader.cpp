#include "plugins/vlc/linereader.h"

#include <utility>

namespace vlc {

void lineReader::push(const char* bytes, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        const char16_t unit = char16_t(static_cast<unsigned char>(bytes[i]));
        if (unit == u'\n' || unit == 0) {
            if (!skipping_)
                endLine();
            skipping_ = false;
            partial_.clear();
        } else if (!skipping_) {
            partial_.push_back(unit);
            if (partial_.size() >= size_t(maxLineLength)) {
                endLine();
                skipping_ = true;
            }
        }
    }
}

bool lineReader::next(vcore::str& line)
{
    if (lines_.empty())
        return false;
    line = std::move(lines_.front());
    lines_.pop_front();
    return true;
}

void lineReader::clear()
{
    lines_.clear();
    partial_.clear();
    skipping_ = false;
}

void lineReader::endLine()
{
    lines_.emplace_back(vcore::strview(partial_.data(), int32_t(partial_.size())));
    partial_.clear();
}

} // namespace vlc
