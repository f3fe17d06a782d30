#!/usr/bin/env python3
"""Writes the help's contents page for the browser from the help file's
contents (Morvane.hhc): the same entries, as nested lists of links, beside
the page they open."""
import html
import re
import sys

source, target = sys.argv[1], sys.argv[2]
text = open(source, encoding="utf-8").read()
out = []
for token in re.finditer(r"<UL>|</UL>|<OBJECT type=\"text/sitemap\">(.*?)</OBJECT>", text, re.S | re.I):
    if token.group(0).upper() == "<UL>":
        out.append("<ul>")
    elif token.group(0).upper() == "</UL>":
        out.append("</ul>")
    else:
        params = dict(re.findall(r'<param name="(\w+)" value="([^"]*)">', token.group(1), re.I))
        name = html.escape(params.get("Name", ""))
        local = params.get("Local")
        out.append(f'<li><a href="{html.escape(local)}" target="page">{name}</a>' if local else f"<li>{name}")
page = """<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>Morvane's Challenge II: Help</title>
<link rel="stylesheet" href="style.css">
<style>
body { margin: 0; display: flex; height: 100vh; }
nav { flex: 0 0 15rem; overflow: auto; border-right: 1px solid #808080; padding: 0 .5rem; }
iframe { flex: 1; border: 0; height: 100%; }
@media (max-width: 600px) { body { flex-direction: column; } nav { flex: 0 0 auto; max-height: 35vh; border: 0; border-bottom: 1px solid #808080; } }
</style>
</head>
<body>
<nav aria-label="Contents"><h2>Contents</h2>
""" + "\n".join(out) + """
</nav>
<iframe name="page" title="Help page" src="index.html"></iframe>
</body>
</html>
"""
open(target, "w", encoding="utf-8").write(page)
