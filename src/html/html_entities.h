#pragma once

// One named character reference of HTML: its name without the "&" (with the
// ";" when the name has one) and the one or two code points it stands for
// (the second 0 when there is one).
struct HtmlEntity {
    const char *name;
    char32_t first;
    char32_t second;
};

// The whole list, sorted by name in byte order.
const HtmlEntity *htmlEntitiesBegin();
const HtmlEntity *htmlEntitiesEnd();
