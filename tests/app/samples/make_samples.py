#!/usr/bin/env python3
"""Writes sample.spf and sample.wpf from the files' key tables, independently
of the program's writer: spaced (the scene profile indented), every float with a few decimals, and a few
distinct values the loading test checks. Usage: make_samples.py <folder>"""
import base64
import json
import pathlib
import sys

OUTPUTS = [1, 7, 2, 8, 13, 16, 25, 26, 19, 20, 3, 9, 14, 17, 22, 23]
THIRD = [20, 25, 31, 40, 50, 63, 80, 100, 125, 160, 200, 250, 315, 400, 500, 630, 800,
         1000, 1250, 1600, 2000, 2500, 3150, 4000, 5000, 6300, 8000, 10000, 12500, 16000, 20000]
OCTAVE = [20, 40, 80, 160, 315, 630, 1250, 2500, 5000, 10000, 20000]


def channel(c, seed):
    freqs = THIRD if c < 12 else OCTAVE
    bands = [{"freq": f, "eqFactor": 2.5, "eqGain": -1.5 if k == 3 else 0.0, "enable": 1}
             for k, f in enumerate(freqs)]
    return {"eqSize": len(freqs), "gain": -(c % 5) - seed, "mute": c % 2, "delay": 0.25 * c,
            "solo": 0, "phase": 1 if c == 4 else 0, "bypass": 0,
            "crossover": {"bpType": 3, "hp": {"fs": 80 + c, "type": 2, "slope": 2, "bypass": 0},
                          "lp": {"fs": 8000 + seed, "type": 1, "slope": 4, "bypass": 0}},
            "eqArray": bands}


def body(seed):
    return {
        "channels": [channel(c, seed) for c in range(16)],
        "inputs": [[(s + c) % 4 + 1 for c in range(16)] for s in range(9)],
        "inputMixVolume": [[[100 - i - seed for _ in range(16)] for i in range(12)] for _ in range(9)],
        "outputs": OUTPUTS, "outputs_bk": OUTPUTS,
        "linkOutputs": [c ^ 1 for c in range(16)],
        "bridgeOutputs": [1, 0, 0, 0, 0, 0, 0, 1],
        "linkSel": [1, 1] + [0] * 14, "delayLinkSel": [0] * 15 + [2],
        "showOutChEqualizer": [1] * 16,
        "currOutChannel": 3 + seed % 10, "linkMode": 1, "lockMode": 1,
    }


def head(volume):
    return {"model": 95, "model_name": "BrisaDSP", "mainVolume": volume, "acc": 3, "subVolume": 0,
            "mainVolumeMute": 0}


def main(folder):
    folder = pathlib.Path(folder)
    spf = head(-12) | body(0) | {"inputThreshold": -50,
                                 "inMixPhase": [[1 if i == 2 else 0 for i in range(12)] for _ in range(9)]}
    (folder / "sample.spf").write_text(json.dumps(spf, indent=1))
    names = [("Scene%d" % (k + 1)).encode("utf-16-le").ljust(16, b"\0") for k in range(10)]
    names[9] = "ABCDEFGH".encode("utf-16-le")  # fills the slot, no terminator
    current = body(0) | {"inputThreshold": -70,
                         "inMixPhase": [[0] * 12 for _ in range(9)]}
    wpf = head(-20) | {"sceneName": [base64.b64encode(n).decode() for n in names],
                       "currentProfile": current,
                       "sceneArray": [body(k + 1) for k in range(10)]}
    (folder / "sample.wpf").write_text(json.dumps(wpf, separators=(", ", ": ")))


main(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).parent)
