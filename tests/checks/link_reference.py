#!/usr/bin/env python3
"""An independent reading of the links of HTML pages (html.parser, urllib, os.path).
Prints "page<TAB>PATH", then "LINK<TAB>VERDICT" per link in document order. Where
html.parser differs from the link check's rules, the rules win: tags in comments,
declarations, <script> and <style> count; values stay as written; an unquoted "<"
inside a tag starts the next."""
import html.parser
import os
import re
import sys
import urllib.parse

html.parser.unescape = lambda s: s

NO_ANCHOR = "HTML(またはディレクトリ)は存在しますが、アンカーがありません。"
WEB_SCHEMES = ("http", "https", "ftp")


def scanner_text(data):
    """Up to the first NUL byte, every line ending in CR LF."""
    data = data.split(b"\0", 1)[0]
    lines = re.split(rb"\r\n|\r|\n", data)
    if lines and lines[-1] == b"":
        lines.pop()
    return b"".join(line + b"\r\n" for line in lines)


def declared_charset(data):
    for meta in re.finditer(rb"<meta\b[^>]*>", data, re.I):
        found = re.search(rb"""charset\s*=\s*["']?\s*([A-Za-z0-9_.:-]+)""", meta.group(0), re.I)
        if found:
            return found.group(1).decode("ascii")
    return None


def decode_page(data):
    label = declared_charset(data)
    if label and not label.lower().startswith(("utf-16", "utf-32", "ucs")):
        try:
            return data.decode(label, errors="replace")
        except LookupError:
            pass
    for codec in ("utf-8", "euc_jp"):
        try:
            return data.decode(codec)
        except UnicodeDecodeError:
            pass
    return data.decode("cp932", errors="replace")


def cut_at_unquoted_lt(text):
    out = []
    i = 0
    n = len(text)
    while i < n:
        lt = text.find("<", i)
        if lt < 0:
            out.append(text[i:])
            break
        out.append(text[i:lt + 1])
        j = lt + 1
        while j < n and text[j] not in " \t\r\n<>":
            j += 1
        quote = None
        while j < n and text[j] != ">":
            c = text[j]
            if quote is None and c == "<":
                break
            if c in "\"'":
                quote = None if quote == c else (c if quote is None else quote)
            j += 1
        if j < n and text[j] == "<":
            # Close the cut tag so html.parser sees it end here.
            out.append(text[lt + 1:j] + ">")
            i = j
        else:
            out.append(text[lt + 1:j + 1])
            i = j + 1
    return "".join(out)


class Elements(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=False)
        self.found = []

    def nested(self, text):
        inner = Elements()
        inner.feed(text)
        inner.close()
        self.found.extend(inner.found)

    def handle_starttag(self, tag, attrs):
        self.found.append((tag, attrs))

    handle_startendtag = handle_starttag
    handle_comment = handle_decl = unknown_decl = handle_pi = nested

    def handle_data(self, data):
        if self.cdata_elem:
            self.nested(data)


def elements(path):
    with open(path, "rb") as f:
        text = decode_page(scanner_text(f.read()))
    parser = Elements()
    parser.feed(cut_at_unquoted_lt(text))
    parser.close()
    return parser.found


def clean(value):
    return value.replace("\r\n", "").strip("".join(chr(c) for c in range(0x21)))


def links(path):
    out = []
    for tag, attrs in elements(path):
        wanted = {"a": "href", "link": "href", "img": "src"}.get(tag)
        for name, value in attrs:
            if name == wanted and value is not None and value[:7].lower() != "mailto:":
                out.append(clean(value))
    return out


_anchors = {}


def has_anchor(path, name):
    if path not in _anchors:
        found = set()
        for tag, attrs in elements(path):
            for attr, value in attrs:
                if value is not None and (attr == "id" or (tag == "a" and attr == "name")):
                    found.add(value.lower())
        _anchors[path] = found
    return name.lower() in _anchors[path]


def verdict(link, page):
    if urllib.parse.urlsplit(link).scheme.lower() in WEB_SCHEMES and ":" in link:
        return "web"
    rest, _, fragment = link.partition("#")
    name = rest.partition("?")[0]
    if name == "":
        target = page
        if not os.path.isfile(target):
            return "404(Not Found)"
    else:
        folder = os.path.dirname(os.path.abspath(page))
        target = os.path.normpath(os.path.join(folder, name))
        if not os.path.exists(target):
            target = os.path.normpath(os.path.join(folder, urllib.parse.unquote(name)))
            if not os.path.exists(target):
                return "404(Not Found)"
    if fragment == "":
        return "200(OK)"
    if os.path.isfile(target) and (has_anchor(target, fragment)
                                   or has_anchor(target, urllib.parse.unquote(fragment))):
        return "200(OK)"
    return NO_ANCHOR


def main(pages):
    for page in pages:
        print("page\t" + page)
        for link in links(page):
            print(link + "\t" + verdict(link, page))


if __name__ == "__main__":
    sys.stdout.reconfigure(encoding="utf-8", errors="surrogateescape")
    main(sys.argv[1:])
