#!/usr/bin/env python3
"""Every translated text has the same printf conversions, in the same order,
as the English one: the program passes its texts to printf as formats, and a
conversion more, less or of another kind reads past its arguments.
Usage: lint_lang_formats.py <language folder> [stamp file]"""
import pathlib
import re
import sys
import xml.etree.ElementTree as ElementTree

folder = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "skin/lan")
languages = ["lan_en.xml", "lan_cn.xml", "lan_ru.xml"]
# A conversion as the wide printf family reads it, or a doubled percent sign.
conversion = re.compile(r"%(%|[-+ #0]*(?:\*|\d+)?(?:\.(?:\*|\d+))?(?:hh|h|ll|l|L|I64|I32|I)?([diouxXeEfgGaAcCsSpn]))")


def texts(name):
    root = ElementTree.parse(folder / name).getroot()
    return {node.get("id"): node.get("value") or "" for node in root.iter("Text")}


def conversions(text):
    """The conversions of text in order, or None when a percent sign starts none."""
    found = []
    position = 0
    while (start := text.find("%", position)) >= 0:
        match = conversion.match(text, start)
        if match is None:
            return None
        if match.group(1) != "%":
            found.append(match.group(1))
        position = match.end()
    return found


english = texts(languages[0])
faults = []
for name in languages:
    for key, text in sorted(texts(name).items()):
        mine = conversions(text)
        if mine is None:
            faults.append(f"{name}: {key} has a percent sign that starts no conversion (write %% for one)")
        elif name != languages[0] and key in english and mine != conversions(english[key]):
            faults.append(f"{name}: {key} converts {mine or 'nothing'}, English {conversions(english[key]) or 'nothing'}")
for fault in faults:
    print(fault)
print(f"{len(english)} texts in {len(languages)} languages; {len(faults)} format mismatches")
if not faults and len(sys.argv) > 2:
    pathlib.Path(sys.argv[2]).write_text("ok\n")
sys.exit(1 if faults else 0)
