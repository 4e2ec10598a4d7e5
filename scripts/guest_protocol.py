"""How scripts/guest (on the host) and scripts/guest-agent (in the emulated
machine) talk over one TCP connection per command: the host sends one JSON
line naming the command, then both sides send frames -- a kind byte, a
four-byte big-endian length and that many bytes. The host sends standard
input (an empty frame is its end) and signals; the agent sends standard
output, standard error and, last, the exit status."""
import json
import struct

STDIN = b"I"
SIGNAL = b"S"
STDOUT = b"O"
STDERR = b"E"
EXIT = b"X"

HEAD = struct.Struct(">cI")


def frame(kind, data=b""):
    return HEAD.pack(kind, len(data)) + data


def number(value):
    return struct.pack(">i", value)


def unpack_number(data):
    return struct.unpack(">i", data)[0]


def request_line(request):
    return json.dumps(request).encode() + b"\n"


class FrameReader:
    """Reads a JSON line and frames from a blocking socket."""

    def __init__(self, sock):
        self.sock = sock
        self.buffer = b""

    def _fill(self):
        chunk = self.sock.recv(65536)
        if not chunk:
            raise EOFError("the other side closed the connection")
        self.buffer += chunk

    def request(self):
        while b"\n" not in self.buffer:
            self._fill()
        line, _, self.buffer = self.buffer.partition(b"\n")
        return json.loads(line)

    def next(self):
        while len(self.buffer) < HEAD.size:
            self._fill()
        kind, length = HEAD.unpack_from(self.buffer)
        while len(self.buffer) < HEAD.size + length:
            self._fill()
        data = self.buffer[HEAD.size:HEAD.size + length]
        self.buffer = self.buffer[HEAD.size + length:]
        return kind, data
