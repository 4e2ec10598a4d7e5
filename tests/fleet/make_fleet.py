#!/usr/bin/env python3
"""Writes a small generated fleet: 24 modem logs, modem-01.log to
modem-24.log, each a session around one to three calls whose figures follow
from the log's and the call's number. Among them a log without a report
(modem-09), a call that the log's end cuts off (the last of modem-17), an
unknown key (modem-05), numbers above their limits and codes without a
text. vexa-decode --summary's expected outputs and the page's fleet test
read the same logs.

usage: make_fleet.py DIR
"""
import os
import sys

COUNT = 24


def call(log, number):
    """One call's diagnostic blocks: log 1..24, number 0..2."""
    n = log * 3 + number
    noise = "FFF" if log == 13 else "%X" % (18 + (log * 7 + number * 11) % 55)
    rate = 2400 * (1 + (log + number) % 14)
    cause = ("3C", "51", "3C", "20", "3C", "51")[(log + number) % 6]
    return [
        "DIAG <2A4D3263 0=10 1=%s 2=0 3=0 10=%X 11=%X 12=%s 13=%X 14=%X 15=%X 16=%X 17=%X%s>" % (
            "3" if log % 8 == 0 else "7", 12 + n % 25, 8 + n % 19, noise, 20 + n % 90,
            10 + n % 40, 60 + log % 9, n % 30, 20 + n * 37 % 900, " 7f=1" if log == 5 else ""),
        "DIAG <2A4D3263 18=%X 20=%X 21=%X 22=D65 23=%X 24=7A7 25=7A7>" % (
            0x4196420C if n % 3 else 0x3FFFE400, 0xC if n % 4 else 0xB, 0xC if n % 5 else 0x99,
            0xD65 if n % 2 else 0xC80),
        "DIAG <2A4D3263 26=%X 27=%X 34=%X 35=%X 30=%X 31=%X 32=%X 33=%X>" % (
            rate + 2400, rate + 4800, rate, rate + 2400 if log % 7 else 70000, n % 3, n % 4,
            (log + number) % 6, (log + number) % 3),
        "DIAG <2A4D3263 40=%X 41=100 42=%X 43=%X 44=%X 45=800 50=2 51=2>" % (
            1 if log % 5 else 0, n % 7, n % 11, 7 if log == 11 else (1 if n % 4 else 0)),
        "DIAG <2A4D3263 52=%X 53=%X 56=%X 57=%X 58=%X 59=%X 60=%s 61=0>" % (
            log * 12345 + number, log * 987654 + number * 1000, n * 13, n * 101, n % 2,
            (log * number * 5) % 17, cause),
    ]


def log_text(log):
    lines = ["ATZ", "OK", "ATDT5551234", "CONNECT 33600/ARQ/V34/LAPM/V42BIS", "", "+++", "OK",
             "ATH0", "NO CARRIER"]
    if log == 9:
        return lines
    calls = 1 + log % 3
    for number in range(calls):
        lines += ["AT*VXD"] + call(log, number)
        if not (log == 17 and number == calls - 1):
            lines.append("OK")
    return lines


def make_fleet(directory):
    """Writes the logs into directory; returns their names in order."""
    os.makedirs(directory, exist_ok=True)
    names = []
    for log in range(1, COUNT + 1):
        names.append("modem-%02d.log" % log)
        with open(os.path.join(directory, names[-1]), "wb") as file:
            file.write("".join(line + "\r\n" for line in log_text(log)).encode("ascii"))
    return names


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    make_fleet(sys.argv[1])
