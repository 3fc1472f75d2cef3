#!/usr/bin/env python3
"""An independent reading of the tables of HTML pages, for comparison with
`velmarin-cli --tables`: Python's html.parser finds the elements. For every page
that holds a table under the folder named on the command line it prints
"page<TAB>path", then what the console program is expected to print for it.
It reads only what the installed documentation holds (no hidden elements,
captions, table feet or images without alt); the rest is the linearizer's own
tests' matter."""
import html.parser
import os
import re
import sys

SPACE = re.compile(r"[ \t\n\r\f\xa0]+")
BLOCKS = {"br", "p", "div", "li", "dt", "dd", "h1", "h2", "h3", "pre", "hr"}
GROUPS = {"thead": "head", "tbody": "body"}
CHARSET = re.compile(rb"""(?:charset|encoding)\s*=\s*["']?\s*([A-Za-z0-9_.:-]+)""", re.I)


def fold(text):
    return SPACE.sub(" ", text).strip(" ")


def decode(data):
    """The page's text: Latin-1 labels read as browsers read them, no label as UTF-8."""
    head = data.split(b"</head", 1)[0]
    for found in re.finditer(rb"<meta\b[^>]*>|<\?xml[^>]*>", head, re.I):
        label = CHARSET.search(found.group(0))
        if label:
            label = label.group(1).decode("ascii").lower()
            return data.decode("cp1252" if label == "iso-8859-1" else label, "replace")
    return data.decode("utf-8", "replace")


class Table:
    def __init__(self):
        self.rows = []
        self.marker = ""
        self.words = []

    def end_row(self):
        row = self.marker + fold("".join(self.words)).replace("\x01", " ")
        if row:
            self.rows.append(row)
        self.marker = ""
        self.words = []


class Tables(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.tables = []
        self.open = []

    def handle_starttag(self, tag, attrs):
        if tag == "table":
            self.tables.append(Table())
            self.open.append(self.tables[-1])
            summary = [value or "" for name, value in attrs if name == "summary"]
            if summary:
                self.tables[-1].rows.append("【Summary】" + fold(summary[0]))
        elif not self.open:
            return
        table = self.open[-1]
        if tag in ("td", "th"):
            table.end_row()
            table.marker = "【TH】" if tag == "th" else ""
        elif tag in GROUPS:
            table.end_row()
            table.rows.append("【T" + GROUPS[tag] + "】")
        elif tag == "img":
            # An image's text keeps its spaces when the row is folded.
            text = "【img】 - "
            for name, value in attrs:
                if name == "src":
                    text += " url :" + fold(value or "") + ";"
                elif name == "alt":
                    text += " alt :" + fold(value or "")
            table.words.append(text.replace(" ", "\x01") + " ")
        elif tag in BLOCKS:
            table.words.append(" ")

    def handle_startendtag(self, tag, attrs):
        self.handle_starttag(tag, attrs)

    def handle_endtag(self, tag):
        if not self.open:
            return
        table = self.open[-1]
        if tag == "table":
            self.open.pop()
        elif tag in ("td", "th"):
            table.end_row()
        elif tag in GROUPS:
            table.end_row()
            table.rows.append("【/T" + GROUPS[tag] + "】")
        elif tag in BLOCKS:
            table.words.append(" ")

    def handle_data(self, data):
        if self.open and self.cdata_elem is None:
            self.open[-1].words.append(data)


def tables(path):
    with open(path, "rb") as f:
        parser = Tables()
        parser.feed(decode(f.read()))
    parser.close()
    for table in parser.tables:
        table.end_row()
    return parser.tables


def pages(folder):
    for root, _, names in os.walk(folder):
        for name in names:
            path = os.path.join(root, name)
            if name.endswith((".htm", ".html")) and not os.path.islink(path):
                with open(path, "rb") as f:
                    if b"<table" in f.read().lower():
                        yield path


def main(folder):
    for page in sorted(pages(folder)):
        print("page\t" + page)
        found = tables(page)
        for k, table in enumerate(found, 1):
            print("== %d/%d ==" % (k, len(found)))
            for row in table.rows:
                print(row)


if __name__ == "__main__":
    sys.stdout.reconfigure(encoding="utf-8", errors="surrogateescape")
    main(sys.argv[1])
