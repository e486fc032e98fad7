"""What every layout generator of the skin shares: its command line and the
way it writes a layout (UTF-8, "\\n" line ends, the folder made when missing),
so that the files come out alike whichever script wrote them."""
import os
import sys


def arguments(usage, count):
    """The script's count arguments; the usage text ends the script when the
    command line has another number."""
    if len(sys.argv) != count + 1:
        sys.exit(usage)
    return sys.argv[1:]


def write_layout(path, text):
    folder = os.path.dirname(path)
    if folder:
        os.makedirs(folder, exist_ok=True)
    with open(path, "w", encoding="utf-8", newline="\n") as out:
        out.write(text)
