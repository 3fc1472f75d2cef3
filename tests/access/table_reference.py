#!/usr/bin/env python3
"""An independent reading of the tables of HTML pages, for comparison with
`velmarin-cli --tables`: Python's html.parser finds the elements. For every page
that holds a table under the folder named on the command line it prints
"page<TAB>path", then what the console program is expected to print for it.
It reads what the installed documentation holds; elements that could run or
load something (never found there) are the linearizer's own tests' matter."""
import html.parser
import os
import re
import sys

SPACE = re.compile(r"[ \t\n\r\f\xa0]+")
BLOCKS = {"br", "p", "div", "li", "dt", "dd", "h1", "h2", "h3", "h4", "h5", "h6",
          "pre", "blockquote", "address", "hr"}
GROUPS = {"thead": "head", "tbody": "body", "tfoot": "foot"}

LATIN1 = ("iso-8859-1", "latin1", "us-ascii", "ascii", "iso_8859-1", "l1")


def fold(text):
    return SPACE.sub(" ", text).strip(" ")


def image(text):
    """An image's text, whose spaces stay as they are when the row is folded."""
    return text.replace(" ", "\x01") + " "


def declared(data):
    head = data.split(b"</head", 1)[0]
    for found in re.finditer(rb"<meta\b[^>]*>|<\?xml[^>]*>", head, re.I):
        m = re.search(rb"""(?:charset|encoding)\s*=\s*["']?\s*([A-Za-z0-9_.:-]+)""",
                      found.group(0), re.I)
        if m:
            return m.group(1).decode("ascii").lower()
    return None


def decode(data):
    """The page's text: Latin-1 labels read as browsers read them, no label as UTF-8."""
    label = declared(data)
    return data.decode("cp1252" if label in LATIN1 else label or "utf-8", "replace")


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
            table = Table()
            self.tables.append(table)
            self.open.append(table)
            for name, value in attrs:
                if name == "summary":
                    table.rows.append("【Summary】" + fold(value or ""))
                    break
            return
        if not self.open:
            return
        table = self.open[-1]
        if tag in ("td", "th", "caption"):
            table.end_row()
            table.marker = {"td": "", "th": "【TH】", "caption": "【Caption】"}[tag]
        elif tag in GROUPS:
            table.end_row()
            table.rows.append("【T" + GROUPS[tag] + "】")
        elif tag == "img":
            if not attrs:
                table.words.append(image("【img - url :なし; alt :なし】"))
                return
            text = "【img】 - "
            for name, value in attrs:
                if name == "src":
                    text += " url :" + fold(value or "") + ";"
                elif name == "alt":
                    text += " alt :" + fold(value or "")
            if "alt :" not in text:
                text += " alt :なし;"
            table.words.append(image(text))
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
        elif tag in ("td", "th", "caption"):
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
        text = decode(f.read())
    parser = Tables()
    parser.feed(text)
    parser.close()
    for table in parser.tables:
        table.end_row()
    return parser.tables


def pages(folder):
    found = []
    for root, _, names in os.walk(folder):
        for name in names:
            path = os.path.join(root, name)
            if name.endswith((".htm", ".html")) and not os.path.islink(path):
                with open(path, "rb") as f:
                    if b"<table" in f.read().lower():
                        found.append(path)
    return sorted(found)


def main(folder):
    for page in pages(folder):
        print("page\t" + page)
        found = tables(page)
        for k, table in enumerate(found, 1):
            print("== %d/%d ==" % (k, len(found)))
            for row in table.rows:
                print(row)


if __name__ == "__main__":
    sys.stdout.reconfigure(encoding="utf-8", errors="surrogateescape")
    main(sys.argv[1])
