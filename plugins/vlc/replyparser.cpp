#include "plugins/vlc/replyparser.h"

#include <cmath>
#include <utility>

#include "plugins/common/mediareports.h"
#include "plugins/common/textview.h"
#include "vcore/strchars.h"

namespace vlc {
namespace {

using media::equalsIgnoreCase;
using media::findUnit;
using media::slice;
using media::trimmed;
using media::viewOf;
using vcore::strview;

bool is(strview text, const char16_t* word)
{
    return equalsIgnoreCase(text, viewOf(word));
}

// "<command>: returned <code> (<message>)", VLC 3's confirmation of every command.
bool isConfirmation(const vcore::str& line)
{
    const int32_t colon = line.find(0, u':');
    return colon > 0 && media::startsWithIgnoreCase(line.mid(colon + 1), viewOf(u" returned "));
}

bool startsWithDigit(strview text)
{
    return !text.empty() && vcore::chars::isDigit(text[0]);
}

// A real read from text; false for text that gives no finite number.
bool readReal(strview text, double& value)
{
    const double read = vcore::str(text).toReal();
    if (!std::isfinite(read))
        return false;
    value = read;
    return true;
}

vcore::str withoutLineEnd(const vcore::str& line)
{
    return vcore::str(trimmed(line.view(), u"\r\n"));
}

struct settingWording {
    const char16_t* text;
    bool repeat;  // else shuffle
    int32_t value;
};

// VLC 3 confirms with "true"/"false" where older ones said "1"/"0".
constexpr settingWording settings[] = {
    {u"Setting loop to 1", true, 1},      {u"Setting loop to true", true, 1},
    {u"Setting loop to 0", true, 0},      {u"Setting loop to false", true, 0},
    {u"Setting random to 1", false, 1},   {u"Setting random to true", false, 1},
    {u"Setting random to 0", false, 0},   {u"Setting random to false", false, 0},
};

} // namespace

void replyParser::beginData()
{
    if (!listing_)
        entryCounter_ = -1;
}

lineOutcome replyParser::feedLine(const vcore::str& line, const vcore::str& lastCommand)
{
    lineOutcome out;
    const lineParts parts = cutLine(line);
    if (!headRule(line, parts, out))
        firstCharRule(line, lastCommand, out);
    if (equalsIgnoreCase(parts.head, lastCommand.view()))
        out.replyComplete = true;
    if (out.replyComplete)
        listing_ = false;
    return out;
}

bool replyParser::headRule(const vcore::str& line, const lineParts& parts, lineOutcome& out)
{
    const strview head = parts.head;
    if (is(head, u"status change")) {
        statusChange(parts, out);
    } else if (is(head, u"pos")) {
        positionLine(line);
    } else if (is(head, u"prev") || is(head, u"next")) {
        state_.time = -1;
        state_.length = -1;
    } else if (is(head, u"pause")) {
        // VLC 3 toggles and then confirms with "pause: returned 0 (...)", before or after the
        // status line that says what it did: only a bare "pause" line means paused.
        if (!isConfirmation(line))
            state_.playState = paused;
        out.logLines.push_back(withoutLineEnd(line));
    } else if (is(head, u"play")) {
        state_.playState = playing;
        state_.length = -1;
        out.logLines.push_back(withoutLineEnd(line));
    } else if (media::startsWithIgnoreCase(head, viewOf(u"setting "))) {
        settingLine(head, out);
    } else {
        return false;
    }
    return true;
}

void replyParser::statusChange(const lineParts& parts, lineOutcome& out)
{
    const int32_t colon = findUnit(parts.inner, u':');
    const strview key = trimmed(slice(parts.inner, 0, colon < 0 ? parts.inner.length() : colon), u" \t");
    const strview value = colon < 0 ? strview() : trimmed(slice(parts.inner, colon + 1, parts.inner.length()), u" \t");
    if (is(key, u"audio volume")) {
        state_.volume = double(vcore::str(value).toInt()) * 100.0 / 512.0;
        out.reports.push_back(media::volumeReport(state_.volume));
    } else if (is(key, u"play state") || is(key, u"pause state") || is(key, u"stop state")) {
        playStateChange(key, parts.tail, out);
    } else if (is(key, u"new input")) {
        state_.titleRefreshNeeded = true;
        state_.pendingSeek = -1;
        if (state_.playState == stopped)
            state_.playState = paused;
    }
}

void replyParser::playStateChange(strview key, strview tail, lineOutcome& out)
{
    state_.length = -1;
    if (is(tail, u"end"))
        state_.playState = stopped;
    else if (is(tail, u"play"))
        state_.playState = playing;
    else if (is(tail, u"pause"))
        state_.playState = paused;
    else
        state_.playState = is(key, u"play state") ? playing : (is(key, u"pause state") ? paused : stopped);
    out.reports.push_back(media::speedReport(media::speedOfPlayState(state_.playState)));
    state_.timeRefreshNeeded = true;
    if (state_.playState != stopped)
        state_.titleRefreshNeeded = true;
}

void replyParser::positionLine(const vcore::str& line)
{
    // The percentage follows the colon; the whole line would always read as 0.
    if (state_.length <= 0)
        state_.length = 100;
    double percent = 0;
    const strview all = line.view();
    if (readReal(slice(all, findUnit(all, u':') + 1, all.length()), percent))
        state_.time = percent / 100.0 * state_.length;
}

void replyParser::settingLine(strview head, lineOutcome& out)
{
    const strview text = trimmed(head, u" \t\r\n");
    for (const settingWording& s : settings) {
        if (!text.equals(s.text))
            continue;
        if (s.repeat) {
            state_.repeat = s.value;
            out.reports.push_back(media::repeatReport(s.value));
        } else {
            state_.shuffle = s.value;
            out.reports.push_back(media::shuffleReport(s.value));
        }
        return;
    }
}

void replyParser::firstCharRule(const vcore::str& line, const vcore::str& lastCommand, lineOutcome& out)
{
    const char16_t first = line.empty() ? 0 : line[0];
    if (first == u'+')
        listLine(line, out);
    else if (first == u'|' && line.length() > 1 && line[1] == u'-')
        entryCounter_ = entryCounter_ == 0 ? 1 : -1;
    else if (first == u'|' && line.length() > 1 && line[1] == u' ' && entryCounter_ > 0)
        entryLine(line);
    else if (first != u'|')
        answerLine(line, lastCommand, out);
}

void replyParser::listLine(const vcore::str& line, lineOutcome& out)
{
    if (media::findText(line.view(), viewOf(u"Playlist")) > 0) {
        state_.list.clear();
        state_.listRefreshNeeded = false;
        entryCounter_ = 0;
        listing_ = true;
        return;
    }
    // The closing line: nothing after it belongs to the list.
    out.restartReply = true;
    entryCounter_ = -1;
    listing_ = false;
}

void replyParser::entryLine(const vcore::str& line)
{
    const strview all = line.view();
    const int32_t dash = media::findText(all, viewOf(u"- "));
    strview text = trimmed(slice(all, dash < 0 ? 1 : dash + 2, all.length()), u" \r\n");
    vcore::str title(text);
    const int32_t open = media::findLastUnit(text, u'(');
    if (open > 0 && open + 1 < text.length() && vcore::chars::isDigit(text[open + 1])) {
        const int32_t close = findUnit(text, u')', open);
        title.remove((close < 0 ? text.length() : close + 1) - open, open);
        title = vcore::str(trimmed(title.view(), u" \r\n"));
    }
    if (state_.list.size() < size_t(maxListEntries))
        state_.list.push_back(std::move(title));
    if (entryCounter_ < maxListEntries)
        ++entryCounter_;
}

void replyParser::answerLine(const vcore::str& line, const vcore::str& lastCommand, lineOutcome& out)
{
    const strview text = trimmed(line.view(), u" \r\n");
    if (lastCommand.equals(u"get_title")) {
        state_.title = vcore::str(text);
        state_.trackIndex = -1;
        state_.titleRefreshNeeded = false;
    } else if (lastCommand.equals(u"get_length") && startsWithDigit(text)) {
        readReal(text, state_.length);
    } else if (lastCommand.equals(u"get_time") && startsWithDigit(text)) {
        readReal(text, state_.time);
    }
    out.replyComplete = true;
}

} // namespace vlc
