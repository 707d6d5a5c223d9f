#!/usr/bin/env python3
"""Checks the compiled help file as a reader meets it: every page that the
table of contents or the index names is inside, every page inside is reachable
from the table of contents, each has a title, and every link and picture of
every page resolves to a file inside the help file.

    check_help.py Velumo.chm
"""
import html.parser
import os
import posixpath
import subprocess
import sys
import tempfile
import urllib.parse


class LinkCollector(html.parser.HTMLParser):
    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.links = []      # href/src values
        self.locals = []     # <param name="Local" value=...> of sitemap files
        self.title = ""
        self._in_title = False

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if tag in ("a", "link") and a.get("href"):
            self.links.append(a["href"])
        if tag in ("img", "script") and a.get("src"):
            self.links.append(a["src"])
        if tag == "param" and (a.get("name") or "").lower() == "local":
            self.locals.append(a.get("value") or "")
        if tag == "title":
            self._in_title = True

    def handle_endtag(self, tag):
        if tag == "title":
            self._in_title = False

    def handle_data(self, data):
        if self._in_title:
            self.title += data


def parse(path):
    collector = LinkCollector()
    with open(path, encoding="cp1252") as f:
        collector.feed(f.read())
    return collector


def resolve(page, link):
    """The path inside the help file that a relative link on page names, or
    None for links that leave the file (web, mail) or stay on the page."""
    parts = urllib.parse.urlsplit(link)
    if parts.scheme or parts.netloc or not parts.path:
        return None
    target = posixpath.normpath(posixpath.join(posixpath.dirname(page), urllib.parse.unquote(parts.path)))
    return target.lstrip("/")


def check(chm):
    problems = []
    with tempfile.TemporaryDirectory() as tmp:
        out = os.path.join(tmp, "x")
        subprocess.run(["extract_chmLib", chm, out], check=True, stdout=subprocess.DEVNULL)
        inside = set()
        for root, _, files in os.walk(out):
            for name in files:
                inside.add(os.path.relpath(os.path.join(root, name), out).replace(os.sep, "/"))
        pages = sorted(p for p in inside if p.endswith(".htm"))
        for sitemap in ("toc.hhc", "index.hhk"):
            if sitemap not in inside:
                problems.append(f"{sitemap} is missing")
        if problems:
            return problems
        toc = parse(os.path.join(out, "toc.hhc")).locals
        index = parse(os.path.join(out, "index.hhk")).locals
        if len(toc) < 10:
            problems.append(f"the table of contents names only {len(toc)} topics")
        for sitemap, locals_ in (("toc.hhc", toc), ("index.hhk", index)):
            for local in locals_:
                if local not in inside:
                    problems.append(f"{sitemap} names {local!r}, which is not in the help file")
        for page in pages:
            if page not in toc:
                problems.append(f"{page} is not in the table of contents")
            parsed = parse(os.path.join(out, page))
            if not parsed.title.strip():
                problems.append(f"{page} has no title")
            for link in parsed.links:
                target = resolve(page, link)
                if target is not None and target not in inside:
                    problems.append(f"{page}: link {link!r} leads nowhere")
    return problems


def main(argv):
    if len(argv) != 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    problems = check(argv[1])
    for p in problems:
        print("help file:", p)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
