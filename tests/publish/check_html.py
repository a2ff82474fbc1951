#!/usr/bin/env python3
"""Checks an interactive puzzle page with Python's own HTML parser.

usage: check_html.py PAGE [EXPECTED_TITLE_FILE]

PAGE is read as Windows-1252 (the program's page files). The check fails (exit status 1) when the
page holds a "script" start tag, when it has not exactly one title element, or, given a UTF-8
file holding the expected title, when the title element's text differs from it.
"""
import sys
from html.parser import HTMLParser


class PageParser(HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.scripts = 0
        self.titles = []
        self._in_title = False

    def handle_starttag(self, tag, attrs):
        if tag == "script":
            self.scripts += 1
        elif tag == "title":
            self._in_title = True
            self.titles.append("")

    def handle_startendtag(self, tag, attrs):
        self.handle_starttag(tag, attrs)

    def handle_endtag(self, tag):
        if tag == "title":
            self._in_title = False

    def handle_data(self, data):
        if self._in_title:
            self.titles[-1] += data


def main(argv):
    if len(argv) not in (2, 3):
        print(__doc__, file=sys.stderr)
        return 2
    with open(argv[1], encoding="cp1252", newline="") as f:
        page = f.read()
    parser = PageParser()
    parser.feed(page)
    parser.close()
    failures = []
    if parser.scripts:
        failures.append("%d script start tag(s)" % parser.scripts)
    if len(parser.titles) != 1:
        failures.append("%d title elements" % len(parser.titles))
    elif len(argv) == 3:
        with open(argv[2], encoding="utf-8", newline="") as f:
            expected = f.read()
        if parser.titles[0] != expected:
            failures.append("title %r, expected %r" % (parser.titles[0], expected))
    for failure in failures:
        print(failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
