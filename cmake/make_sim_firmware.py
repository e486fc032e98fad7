#!/usr/bin/env python3
"""Writes a synthetic upgrade image that passes the program's checks.

Only for the simulated-unit build and the tests: a real unit must never see
one. Usage: make_sim_firmware.py firmware_id model_id image_bytes output
"""
import sys


def image(firmware_id, model_id, count):
    body = bytes([firmware_id, model_id]) + count.to_bytes(4, "big")
    body += bytes((i * 7 + 3) & 0xFF for i in range(count))
    body += b"SIM!"
    checksum = sum(body) & 0xFFFFFFFF
    return body + checksum.to_bytes(4, "big")


def main():
    firmware_id, model_id, count = (int(a, 0) for a in sys.argv[1:4])
    with open(sys.argv[4], "wb") as out:
        out.write(image(firmware_id, model_id, count))


if __name__ == "__main__":
    main()
