#include "dialog_template.h"

ParsedDialog ReadDialog(Bytes bytes)
{
    ParsedDialog d;
    Reader r(bytes);
    WORD version = r.Word();
    WORD signature = r.Word();
    if (version == 1 && signature == 0xFFFF) {
        d.extended = true;  // DIALOGEX: not what the program is built with
        return d;
    }
    Reader t(bytes);
    d.style = t.DWord();
    d.exStyle = t.DWord();
    WORD count = t.Word();
    d.x = t.Short();
    d.y = t.Short();
    d.cx = t.Short();
    d.cy = t.Short();
    d.menu = t.NameOrOrdinal();
    d.cls = t.NameOrOrdinal();
    d.caption = t.NameOrOrdinal();
    if (d.style & DS_SETFONT) {
        d.points = t.Word();
        d.face = t.NameOrOrdinal();
    }
    for (WORD i = 0; i < count && t.Ok(); ++i) {
        t.AlignDWord();
        ParsedControl c;
        c.style = t.DWord();
        c.exStyle = t.DWord();
        c.x = t.Short();
        c.y = t.Short();
        c.cx = t.Short();
        c.cy = t.Short();
        c.id = t.Short();
        c.cls = t.NameOrOrdinal();
        c.caption = t.NameOrOrdinal();
        c.extra = t.Word();
        t.Skip(c.extra);
        d.controls.push_back(c);
    }
    d.complete = t.Ok();
    d.unreadBytes = bytes.size - t.Position();
    return d;
}
