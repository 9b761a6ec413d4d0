#pragma once
#include <cstdarg>

#include "vcore/str.h"

// printf-style into a fresh text that grows to fit: a message is never cut at 256 characters.
inline vcore::str c4Format(const char16_t* fmt, ...)
{
    vcore::str text;
    va_list args;
    va_start(args, fmt);
    text.vformat(fmt, args);
    va_end(args);
    return text;
}

// "word;text;", built by appending, for the replies that echo what a peer sent.
inline vcore::str c4Reply(const char16_t* word, const vcore::str& text)
{
    vcore::str reply(word);
    reply.append(u';');
    reply.append(text);
    reply.append(u';');
    return reply;
}
