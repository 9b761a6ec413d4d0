#include "vcore/strtokens.h"

#include "vcore/strchars.h"

namespace vcore {

strtokens_cpp::strtokens_cpp()
    : separators_(u" \t\n\r")
{
}

strtokens_cpp::strtokens_cpp(str& text)
    : strtokens_cpp()
{
    parse(text);
}

int32_t strtokens_cpp::parse(str& text)
{
    enum { outside, inside, quoteSeen } state = outside;
    clear();
    const char16_t* seps = separators_.data();
    int32_t start = 0;   // first unit of the pending field
    int32_t closing = 0; // the quote that may end a quoted field
    for (int32_t i = 0; i < text.length(); ++i) {
        const char16_t c = text[i];
        switch (state) {
        case outside:
            if (c == u'"' || chars::contains(seps, c)) {
                if (i > start)
                    add(text.data() + start, i - start);
                start = i + 1;
                if (c == u'"')
                    state = inside;
            }
            break;
        case inside:
            if (c == u'"') {
                closing = i;
                state = quoteSeen;
            }
            break;
        case quoteSeen:
            if (c == u'"') {
                // A doubled quote: keep the first as part of the field, drop the second.
                text.remove(1, i);
                --i;
                state = inside;
                break;
            }
            add(text.data() + start, closing - start);
            start = chars::contains(seps, c) ? i + 1 : i;
            state = outside;
            break;
        }
    }
    if (state == quoteSeen)
        add(text.data() + start, closing - start);
    else if (text.length() > start)
        add(text.data() + start, text.length() - start);
    return count();
}

} // namespace vcore
