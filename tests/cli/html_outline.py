#!/usr/bin/env python3
"""Prints what a browser's parser makes of an HTML calendar: its character set, every
element it holds, and each day cell's list items (table, day, items, tab-separated).

    tests/cli/html_outline.py calendar.html
"""
import html.parser
import sys


class Outline(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.elements = set()
        self.charset = ""
        self.tables = 0
        self.day = None
        self.items = None
        self.item = None
        self.cells = []

    def handle_starttag(self, tag, attrs):
        self.elements.add(tag)
        attributes = dict(attrs)
        if tag == "meta" and "charset" in attributes:
            self.charset = attributes["charset"]
        elif tag == "table":
            self.tables += 1
        elif tag == "td":
            self.day, self.items = "", []
        elif tag == "strong" and self.items is not None:
            self.day = ""
        elif tag == "li":
            self.item = ""

    def handle_endtag(self, tag):
        if tag == "li" and self.item is not None:
            self.items.append(self.item)
            self.item = None
        elif tag == "td" and self.items:
            self.cells.append(f"{self.tables}\t{self.day}\t" + "\t".join(self.items))
            self.items = None

    def handle_data(self, data):
        if self.item is not None:
            self.item += data
        elif self.items is not None and self.day is not None and not self.items:
            self.day += data.strip()


outline = Outline()
# Strict UTF-8: a byte that is not would fail here.
outline.feed(open(sys.argv[1], encoding="utf-8", errors="strict").read())
outline.close()
print("charset " + outline.charset)
print("elements " + " ".join(sorted(outline.elements)))
for cell in outline.cells:
    print(cell)
