#pragma once

#include "vcore/str.h"

// "word;text;", built by appending, for the replies that echo what a peer sent.
inline vcore::str c4Reply(const char16_t* word, const vcore::str& text)
{
    vcore::str reply(word);
    reply.append(u';');
    reply.append(text);
    reply.append(u';');
    return reply;
}
