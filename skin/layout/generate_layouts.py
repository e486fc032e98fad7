#!/usr/bin/env python3
"""Runs every layout generator of the skin into one folder: the build packs
what it writes under xml/, and the language key lint reads the same files.
No generated layout is committed, so none can differ from its script.

usage: generate_layouts.py OUTPUT_DIR     writes OUTPUT_DIR/xml/...
       generate_layouts.py --list         prints the archive paths it writes"""
import pathlib
import subprocess
import sys

HERE = pathlib.Path(__file__).resolve().parent

# script, its arguments ({xml}: the output folder), the archive paths it writes
GENERATORS = [
    ("gen_main_layout.py", [str(HERE / "main.xml.in"), "{xml}/main.xml"], ["xml/main.xml"]),
    ("gen_compressors_on.py", ["{xml}/compressors_on.xml"], ["xml/compressors_on.xml"]),
    ("gen_noise_threshold.py", ["{xml}/noise_threshold.xml"], ["xml/noise_threshold.xml"]),
    ("gen_scene_profile.py", ["{xml}/scene_profile.xml"], ["xml/scene_profile.xml"]),
    ("gen_menus.py", ["{xml}"], [f"xml/{name}_menu.xml" for name in ("advance", "delay_link_group", "output",
                                                                       "option", "scene")]),
    ("gen_mixer.py", ["{xml}"], ["xml/mixer.xml"] + [f"xml/channel_name_area_{kind}_source.xml"
                                                     for kind in ("hi", "low", "aux", "2ch")]),
]


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    if sys.argv[1] == "--list":
        print(";".join(path for _, _, paths in GENERATORS for path in paths), end="")
        return
    out = pathlib.Path(sys.argv[1])
    xml = out / "xml"
    xml.mkdir(parents=True, exist_ok=True)
    for script, args, paths in GENERATORS:
        subprocess.run([sys.executable, str(HERE / script)] + [a.format(xml=xml) for a in args], check=True)
        for path in paths:
            if not (out / path).is_file():
                sys.exit(f"{script} did not write {path}")


if __name__ == "__main__":
    main()
