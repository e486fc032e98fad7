#!/usr/bin/env python3
"""Every language key the program or its layouts use must exist in all three
language files. Usage: lint_lang_keys.py <repo root>"""
import pathlib
import re
import subprocess
import sys
import tempfile

root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else ".")
key = re.compile(r"\$\{[A-Za-z0-9_ ]+\}")
languages = ["lan_en.xml", "lan_cn.xml", "lan_ru.xml"]

defined = {}
for name in languages:
    text = (root / "skin" / "lan" / name).read_text(encoding="utf-8")
    defined[name] = set(re.findall(r'id="(\$\{[^"]+\})"', text))

used = {}
sources = [p for folder in ("app", "uilib", "skin/xml") for p in (root / folder).rglob("*")
           if p.suffix in (".cpp", ".h", ".xml") and p.is_file()]
for path in sources:
    for match in key.findall(path.read_text(encoding="utf-8", errors="replace")):
        used.setdefault(match, str(path.relative_to(root)))

# Layouts generated at build time are read as the generators write them.
layouts = root / "skin" / "layout"
with tempfile.TemporaryDirectory() as folder:
    subprocess.run([sys.executable, str(layouts / "generate_layouts.py"), folder], check=True)
    for generated in sorted(pathlib.Path(folder).rglob("*.xml")):
        for match in key.findall(generated.read_text(encoding="utf-8")):
            used.setdefault(match, "generated " + str(generated.relative_to(folder)))
    sources += sorted(layouts.glob("*"))

missing = [(k, where, name) for k, where in sorted(used.items()) for name in languages
           if k not in defined[name]]
for k, where, name in missing:
    print(f"{where}: {k} is missing from {name}")
print(f"{len(used)} keys used in {len(sources)} files; {len(missing)} missing")
sys.exit(1 if missing else 0)
