#!/usr/bin/python3
"""Writes one self-contained help page from a page of the user documentation.

usage: help_page.py SOURCE.md OUTPUT.html
Links to other documentation pages (.md) become links to their help pages (.html)."""
import html
import re
import sys

import markdown

source, output = sys.argv[1], sys.argv[2]
with open(source, encoding="utf-8") as f:
    text = f.read()
title = next((line.lstrip("# ").strip() for line in text.splitlines() if line.startswith("#")),
             "KestraUI")
body = markdown.markdown(text, extensions=["tables", "fenced_code"])
body = re.sub(r'href="(?:docs/)?([A-Za-z0-9_.-]+)\.md(#[^"]*)?"', r'href="\1.html\2"', body)
page = f"""<!DOCTYPE html>
<html lang="en"><head><meta charset="utf-8"><title>{html.escape(title)}</title>
<style>
body {{ font-family: sans-serif; max-width: 60em; margin: 2em auto; padding: 0 1em;
       line-height: 1.45; color: #222; }}
code, pre {{ font-family: monospace; background: #f4f4f4; }}
pre {{ padding: .6em; overflow-x: auto; }}
table {{ border-collapse: collapse; }}
th, td {{ border: 1px solid #ccc; padding: .25em .6em; text-align: left; vertical-align: top; }}
</style></head>
<body>
{body}
</body></html>
"""
with open(output, "w", encoding="utf-8") as f:
    f.write(page)
