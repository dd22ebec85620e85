#!/usr/bin/env python3
"""Reads an HTML year page as a browser's parser does and checks it against Python's
calendar: the charset, the landscape page, four months a row in three rows, and in each
month six weeks of days in the columns of FIRST (0 Monday, 6 Sunday), the weekend
columns marked, the ISO week of each week's Monday with WEEKS. Prints each difference,
then "ok" when there was none.

    tests/html/year_page.py PAGE YEAR MONTH FIRST WEEKS
"""
import calendar
import html.parser
import sys

page, year, month, first, weeks = sys.argv[1], *map(int, sys.argv[2:6])


class Year(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.charset = ""
        self.style = ""
        self.in_style = False
        self.depth = 0
        self.rows = []  # of the outer table: months per row
        self.months = []  # each a list of rows of (text, classes)
        self.cell = None

    def handle_starttag(self, tag, attrs):
        attributes = dict(attrs)
        if tag == "meta" and "charset" in attributes:
            self.charset = attributes["charset"]
        elif tag == "style":
            self.in_style = True
        elif tag == "table":
            self.depth += 1
            if self.depth == 2:
                self.months.append([])
                self.rows[-1] += 1
        elif tag == "tr":
            if self.depth == 1:
                self.rows.append(0)
            else:
                self.months[-1].append([])
        elif tag in ("td", "th") and self.depth == 2:
            self.cell = ["", attributes.get("class", "") or ""]

    def handle_endtag(self, tag):
        if tag == "style":
            self.in_style = False
        elif tag == "table":
            self.depth -= 1
        elif tag in ("td", "th") and self.cell is not None:
            self.months[-1][-1].append((self.cell[0].strip(), self.cell[1].split()))
            self.cell = None

    def handle_data(self, data):
        if self.in_style:
            self.style += data
        elif self.cell is not None:
            self.cell[0] += data


parsed = Year()
parsed.feed(open(page, encoding="utf-8", errors="strict").read())
problems = []
if parsed.charset != "utf-8":
    problems.append("charset " + parsed.charset)
if "@page { size: landscape" not in parsed.style:
    problems.append("no landscape @page")
if parsed.rows != [4, 4, 4]:
    problems.append(f"months a row {parsed.rows}")
shape = calendar.Calendar(first)
for k, table in enumerate(parsed.months):
    y, m = year + (month - 1 + k) // 12, (month - 1 + k) % 12 + 1
    dates = shape.monthdatescalendar(y, m)
    dates += [[d.fromordinal(d.toordinal() + 7) for d in dates[-1]]] * (6 - len(dates))
    if len(table) != 7:
        problems.append(f"{y}-{m}: {len(table)} rows")
        continue
    offset = 1 if weeks else 0
    for r, row in enumerate(table[1:]):
        for c, (text, classes) in enumerate(row[offset:]):
            date = dates[r][c]
            day = str(date.day) if date.month == m and r < len(shape.monthdatescalendar(y, m)) else ""
            if text != day:
                problems.append(f"{y}-{m} row {r} column {c}: {text!r} for {day!r}")
            if ("weekend" in classes) != (date.weekday() >= 5):
                problems.append(f"{y}-{m} row {r} column {c}: weekend {classes}")
        if weeks:
            in_month = any(d.month == m for d in dates[r])
            monday = next(d for d in dates[r] if d.weekday() == 0)
            week = str(monday.isocalendar()[1]) if in_month else ""
            if row[0][0] != week:
                problems.append(f"{y}-{m} row {r}: week {row[0][0]!r} for {week!r}")
print("\n".join(problems + ["ok"] if not problems else problems))
