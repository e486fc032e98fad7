#!/usr/bin/env python3
"""Writes index.html into the screenshot folder: every picture the test run
left there, one row per window view, one column per language and DPI, so a
reviewer sees the whole program at a glance. Views are grouped by where the
picture comes from, so that a layout drawn in a bare window is never taken
for the program."""
import html
import os
import re
import sys

LANGUAGES = [("en", "English"), ("cn", "Chinese"), ("ru", "Russian")]
# <view>_<language>_<dpi>[dpi][_<part>]; Chinese is "cn" or "cn_zh".
NAME = re.compile(r"^(?P<head>.*?)_(?P<lang>en|cn_zh|cn|ru)_(?P<dpi>\d{2,3})(?:dpi)?(?:_(?P<tail>.+))?$")


# Where a view's pictures come from: (heading, what it means, view prefixes).
SOURCES = [
    ("The real program", "BrisaDSP_sim.exe connected to the simulated unit, driven with real input end to end.",
     ("main", "msg_", "menu_", "dialog_", "force_update")),
    ("Layout only", "The main layout built in a bare window by the layout test: no chart, plain options instead of "
     "the program's buttons, no values from the unit. Evidence of positions, texts and scaling, not of the program.",
     ("xml_main",)),
    ("Program windows in look tests", "The program's dialog classes opened in a test with states set by the test.",
     ("xml_",)),
]
OTHER_SOURCE = ("Other views", "Framework fixtures and single pictures.")


def source_of(view):
    for index, (_, _, prefixes) in enumerate(SOURCES):
        if view.startswith(prefixes):
            return index
    return len(SOURCES)


def classify(stem):
    m = NAME.match(stem)
    if not m:
        return None
    view = m.group("head") + ("_" + m.group("tail") if m.group("tail") else "")
    return view, m.group("lang")[:2], int(m.group("dpi"))


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else "build/screenshots"
    if not os.path.isdir(folder):
        return 0
    pictures = sorted(f for f in os.listdir(folder) if f.lower().endswith((".png", ".bmp")))
    views, others, dpis = {}, [], set()
    for name in pictures:
        key = classify(os.path.splitext(name)[0])
        if key is None:
            others.append(name)
            continue
        view, lang, dpi = key
        views.setdefault(view, {})[(lang, dpi)] = name
        dpis.add(dpi)
    columns = [(lang, label, dpi) for lang, label in LANGUAGES for dpi in sorted(dpis)]

    def picture(name):
        ref = html.escape(name, quote=True)
        return f'<a href="{ref}"><img src="{ref}" loading="lazy" alt="{ref}"></a>'

    def cell(name):
        return "<td class=missing>—</td>" if name is None else f"<td>{picture(name)}</td>"

    out = ["<!doctype html><meta charset=utf-8><title>Brisa DSP Audio — every window</title>",
           "<style>body{font:13px sans-serif;margin:16px}table{border-collapse:collapse}"
           "td,th{border:1px solid #ccc;padding:4px;vertical-align:top}img{max-width:260px;max-height:200px}"
           "td.missing{color:#999;text-align:center}th.view{text-align:left;white-space:nowrap}</style>",
           f"<h1>Brisa DSP Audio — {len(pictures)} pictures from the last test run</h1>"]
    for index, (heading, meaning) in enumerate([s[:2] for s in SOURCES] + [OTHER_SOURCE]):
        group = sorted(v for v in views if source_of(v) == index)
        if not group:
            continue
        out += [f"<h2>{html.escape(heading)}</h2>", f"<p>{html.escape(meaning)}</p>", "<table><tr><th>view</th>"]
        out += [f"<th>{label}<br>{dpi} dpi</th>" for _, label, dpi in columns]
        out.append("</tr>")
        for view in group:
            out.append(f"<tr><th class=view>{html.escape(view)}</th>")
            out += [cell(views[view].get((lang, dpi))) for lang, _, dpi in columns]
            out.append("</tr>")
        out.append("</table>")
    if others:
        out.append("<h2>Other pictures</h2><table><tr>")
        out += [f"<td>{html.escape(n)}<br>{picture(n)}</td>" for n in others]
        out.append("</tr></table>")
    with open(os.path.join(folder, "index.html"), "w", encoding="utf-8") as f:
        f.write("\n".join(out) + "\n")
    print(f"gallery: {len(pictures)} pictures, {len(views)} views -> {os.path.join(folder, 'index.html')}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
