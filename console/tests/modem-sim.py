#!/usr/bin/env python3
"""modem-sim.py NAME_FILE [--link PATH] [--mode MODE] [--outlast SECONDS] [--log FILE]
               [--gate FILE] [--hang-up] [--heard FILE]

A modem of our own on a pseudo terminal, for the tests of vexa-decode's
serial port and device reading. Writes the terminal's path into NAME_FILE
once it is ready (and points the symbolic link PATH at it, for Wine's
dosdevices/com1). Modes:

  answer   echo the command; answer AT*VXD with a report and OK, any other
           command with ERROR (the default)
  stall    answer AT*VXD with the report's first block, then nothing
  cut      answer AT*VXD with the report's first block, then hang up
  fail     answer AT*VXD with the report's first block, then ERROR
  slow     answer AT*VXD as a slow modem: in eight pieces, a quarter of
           --outlast apart, so it takes longer than that in all but is
           never silent for that long
  stream   send the bytes of --log without a command; with --gate, send
           only up to the first OK line until the gate file exists; with
           --hang-up, hang up once the reader has read the last byte

With --heard, the file is made once the first block of an answer is sent.

It ends when the test that started it does, so a test never hangs on it.
"""
import argparse
import os
import select
import sys
import time
import tty

REPORT_BLOCKS = [
    b"DIAG <2A4D3263 0=10 1=0 2=0 3=0>\r\n",
    b"DIAG <2A4D3263 11=1A 10=1C 60=3C>\r\n",
]
TEST = os.getppid()


def test_runs():
    return os.getppid() == TEST


def read_command(master):
    """The bytes up to the first CR, echoed as a modem echoes them."""
    command = b""
    while test_runs():
        if not select.select([master], [], [], 0.1)[0]:
            continue
        byte = os.read(master, 1)
        os.write(master, byte)
        if byte == b"\r":
            return command
        command += byte
    return None


def linger():
    while test_runs():
        time.sleep(0.1)


def read_out(terminal):
    """Waits until the reader has taken every byte sent: a hang-up throws
    away what it has not read. Polling the terminal first moves bytes still
    on their way into what it can read."""
    waiting = select.poll()
    waiting.register(terminal, select.POLLIN)
    while waiting.poll(0) and test_runs():
        time.sleep(0.05)


def stream(master, log, gate):
    with open(log, "rb") as source:
        data = source.read()
    first = len(data)
    if gate is not None:
        end = data.find(b"\nOK")
        first = data.find(b"\n", end + 1) + 1 if end >= 0 else len(data)
    os.write(master, data[:first])
    if gate is not None:
        while not os.path.exists(gate) and test_runs():
            time.sleep(0.05)
    # In pieces, as a slow line brings them.
    for at in range(first, len(data), 7):
        os.write(master, data[at:at + 7])
        time.sleep(0.002)



def main():
    parser = argparse.ArgumentParser(usage=__doc__)
    parser.add_argument("name_file")
    parser.add_argument("--link")
    parser.add_argument("--mode", default="answer",
                        choices=["answer", "stall", "cut", "fail", "slow", "stream"])
    parser.add_argument("--outlast", type=float, default=2.0)
    parser.add_argument("--heard")
    parser.add_argument("--log")
    parser.add_argument("--gate")
    parser.add_argument("--hang-up", action="store_true")
    args = parser.parse_args()

    master, terminal = os.openpty()
    tty.setraw(terminal)
    name = os.ttyname(terminal)
    if args.link:
        if os.path.lexists(args.link):
            os.remove(args.link)
        os.symlink(name, args.link)
    with open(args.name_file + ".tmp", "w") as name_file:
        name_file.write(name + "\n")
    os.rename(args.name_file + ".tmp", args.name_file)

    if args.mode == "stream":
        stream(master, args.log, args.gate)
        if args.hang_up:
            read_out(terminal)
            return 0
        linger()
        return 0
    command = read_command(master)
    if command is None:
        return 1
    if command.strip() != b"AT*VXD":
        os.write(master, b"\r\nERROR\r\n")
    elif args.mode == "answer":
        os.write(master, b"\r\n" + b"".join(REPORT_BLOCKS) + b"\r\nOK\r\n")
    elif args.mode == "slow":
        answer = b"\r\n" + b"".join(REPORT_BLOCKS) + b"OK\r\n"
        piece = len(answer) // 8 + 1
        for at in range(0, len(answer), piece):
            os.write(master, answer[at:at + piece])
            time.sleep(args.outlast / 4)
    else:
        os.write(master, b"\r\n" + REPORT_BLOCKS[0])
        if args.mode == "fail":
            os.write(master, b"ERROR\r\n")
        if args.heard:
            with open(args.heard, "w") as heard:
                heard.write("heard\n")
        if args.mode == "cut":
            read_out(terminal)
            return 0
    # The program reads and closes at its own pace; the test stops us.
    linger()
    return 0


sys.exit(main())
