"""The emulated machine seen from the host: booting it with qemu, its record
in build/guest, calling its agent (scripts/guest-agent) and relaying one
command's streams, signals and exit status. Used by scripts/guest and
scripts/guest-prefix; docs/emulated-32bit.md tells the whole story."""
import json
import os
import signal
import socket
import subprocess
import sys
import threading
import time

from guest_protocol import (EXIT, SIGNAL, STDERR, STDIN, STDOUT, FrameReader, frame, number,
                            request_line, unpack_number)

HERE = os.path.dirname(os.path.abspath(__file__))
PROJECT = os.path.dirname(HERE)
CACHE = os.environ.get("VEXA_GUEST_CACHE") or os.path.join(PROJECT, "build", "guest")
PREFIX_IMAGE = os.path.join(CACHE, "prefix.squashfs")
BOOT_SECONDS = 120
AGENT_READY = "guest-agent: listening"


def say(text):
    print("guest: " + text, file=sys.stderr, flush=True)


def needed(program):
    """Whether scripts/wine-run sends program to the machine (scripts/wine-env
    decides)."""
    return subprocess.run(["sh", "-c", '. "$0"; in_machine "$1"', os.path.join(HERE, "wine-env"),
                           program]).returncode == 0


def prepare(prefix=True):
    """Makes what a boot needs, where it is missing or out of date: the
    kernel, the initramfs and (unless prefix is off) the Wine prefix."""
    for tool in ["guest-kernel"] + (["guest-prefix"] if prefix else []):
        if subprocess.run([os.path.join(HERE, tool)]).returncode != 0:
            sys.exit("guest: %s failed" % tool)


class Machine:
    """One machine, known by its record in a session folder of build/guest."""

    def __init__(self, name="run"):
        self.folder = os.path.join(CACHE, name)
        self.record_file = os.path.join(self.folder, "session.json")
        self.record = None

    # -- finding and calling it ------------------------------------------------

    def find(self):
        """The running machine's record, or None."""
        try:
            with open(self.record_file) as f:
                record = json.load(f)
            os.kill(record["pid"], 0)
        except (OSError, ValueError, KeyError):
            return None
        self.record = record
        return record

    def connect(self):
        sock = socket.create_connection(("127.0.0.1", self.record["port"]), timeout=30)
        sock.settimeout(None)
        sock.setsockopt(socket.IPPROTO_TCP, socket.TCP_NODELAY, 1)
        return sock

    def call(self, request, quiet=False):
        """A command without standard input; its output goes to our standard
        error (unless quiet). Returns its exit status."""
        request.setdefault("env", dict(os.environ))
        with self.connect() as sock:
            sock.sendall(request_line(request) + frame(STDIN))
            reader = FrameReader(sock)
            while True:
                kind, data = reader.next()
                if kind == EXIT:
                    return unpack_number(data)
                if not quiet:
                    sys.stderr.buffer.write(data)
                    sys.stderr.flush()

    def console(self, lines=40):
        try:
            with open(os.path.join(self.folder, "console.log"), errors="replace") as f:
                return "".join(f.readlines()[-lines:])
        except OSError:
            return ""

    # -- starting and stopping -------------------------------------------------

    def qemu_command(self, port, display, prefix):
        net = "user,id=net,restrict=off,hostfwd=tcp:127.0.0.1:%d-10.0.2.15:7000" % port
        if display:
            # Each X connection from the machine starts a relay to the
            # host's display, so that display need not listen on TCP.
            net += ",guestfwd=tcp:10.0.2.100:6000-cmd:%s %s x-relay %s" % (
                sys.executable, os.path.join(HERE, "guest"), display)
        command = [
            "qemu-system-x86_64", "-accel", "tcg,thread=multi",
            # smap=off: with SMAP, TCG (qemu 7.2) oopses on Wine's system calls.
            "-cpu", "max,smap=off", "-smp", "2", "-m", "4096",
            "-nodefaults", "-no-user-config", "-display", "none", "-no-reboot",
            "-serial", "file:" + os.path.join(self.folder, "console.log"),
            "-kernel", os.path.join(CACHE, "vmlinuz"),
            "-initrd", os.path.join(CACHE, "initrd.cpio"),
            "-append", "console=ttyS0 quiet panic=-1 rdinit=/init vexa.project=%s vexa.display=%d"
            % (PROJECT, bool(display)),
            "-netdev", net, "-device", "virtio-net-pci,netdev=net",
        ]
        for tag, path, extra in (("hostroot", "/", ",readonly=on"), ("hosttmp", "/tmp", ""),
                                 ("project", PROJECT, "")):
            command += ["-fsdev", "local,id=%s,path=%s,security_model=none,multidevs=remap%s"
                        % (tag, path, extra),
                        "-device", "virtio-9p-pci,fsdev=%s,mount_tag=%s" % (tag, tag)]
        if prefix:
            command += ["-drive", "file=%s,if=virtio,format=raw,readonly=on" % PREFIX_IMAGE]
        return command

    def boot(self, prefix=True):
        """Starts the machine and waits for its agent."""
        if any(ch.isspace() or ch == "," for ch in PROJECT):
            sys.exit("guest: the project folder's path must hold no spaces or commas: "
                     + PROJECT)
        prepare(prefix)
        os.makedirs(self.folder, exist_ok=True)
        display = os.environ.get("DISPLAY", "")
        with socket.socket() as s:
            s.bind(("127.0.0.1", 0))
            port = s.getsockname()[1]
        started = time.monotonic()
        with open(os.path.join(self.folder, "console.log"), "wb"):
            pass
        with open(os.path.join(self.folder, "qemu.log"), "wb") as log:
            qemu = subprocess.Popen(self.qemu_command(port, display, prefix),
                                    stdin=subprocess.DEVNULL, stdout=log, stderr=log,
                                    start_new_session=True)
        self.record = {"pid": qemu.pid, "port": port, "display": display}
        with open(self.record_file, "w") as f:
            json.dump(self.record, f)
        try:
            self._wait_for_agent(qemu, started)
        except BaseException:
            self.stop()
            raise
        say("booted in %.1f s" % (time.monotonic() - started))

    def _wait_for_agent(self, qemu, started):
        # Connecting early costs more: qemu's network stack backs off for
        # seconds while the machine has no address yet.
        while AGENT_READY not in self.console():
            if qemu.poll() is not None or time.monotonic() - started > BOOT_SECONDS:
                say("the machine did not come up; its console:\n" + self.console())
                sys.exit(1)
            time.sleep(0.1)
        trouble = None
        for _ in range(50):
            try:
                if self.call({"argv": ["true"]}, quiet=True) == 0:
                    return
            except (OSError, EOFError) as error:
                trouble = error
            time.sleep(0.2)
        say("the machine's agent does not answer (%s); its console:\n%s"
            % (trouble, self.console()))
        sys.exit(1)

    def warm_up(self):
        """Starts Wine's server, services and desktop once, so that the
        programs after do not each start them again."""
        started = time.monotonic()
        self.call({"argv": ["wineserver", "-p"], "detach": True})
        status = self.call({"argv": ["wine", "cmd", "/c", "exit"], "cwd": "/"})
        if status != 0:
            say("Wine did not start in the machine (%d); its console:\n%s"
                % (status, self.console()))
            return False
        if self.record["display"]:
            # Wine's desktop process ends when the last program that uses it
            # does, and the next window program waits for a new one (13 s
            # instead of 4.5 s). An idle cmd, whose input never ends, keeps it.
            self.call({"argv": ["sh", "-c", "sleep infinity | exec wine cmd"], "cwd": "/",
                       "detach": True})
        say("Wine ready in %.1f s" % (time.monotonic() - started))
        return True

    def stop(self):
        if self.record is None:
            try:
                with open(self.record_file) as f:
                    self.record = json.load(f)
            except (OSError, ValueError):
                return
        try:
            self.call({"poweroff": True}, quiet=True)
        except (OSError, EOFError):
            pass
        for _ in range(100):
            try:
                os.kill(self.record["pid"], 0)
            except OSError:
                break
            time.sleep(0.1)
        else:
            os.kill(self.record["pid"], signal.SIGKILL)
        os.remove(self.record_file)
        self.record = None

    # -- one command with its streams ------------------------------------------

    def relay(self, argv):
        """Runs argv in the machine as if here; returns its exit status."""
        display = os.environ.get("DISPLAY", "")
        if display and display != self.record["display"]:
            say("windows show on %s, the display the machine started with, not on %s"
                % (self.record["display"] or "no display", display))
        sock = self.connect()
        sock.sendall(request_line({"argv": argv, "cwd": os.getcwd(), "env": dict(os.environ)}))

        def forward_input():
            try:
                while True:
                    data = os.read(0, 65536)
                    sock.sendall(frame(STDIN, data))
                    if not data:
                        return
            except OSError:
                return

        def forward_signal(signum, _frame):
            try:
                sock.sendall(frame(SIGNAL, number(signum)))
            except OSError:
                pass

        for signum in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
            signal.signal(signum, forward_signal)
        threading.Thread(target=forward_input, daemon=True).start()
        reader = FrameReader(sock)
        while True:
            try:
                kind, data = reader.next()
            except (OSError, EOFError):
                say("the machine went away during: " + " ".join(argv))
                return 125
            if kind == STDOUT:
                os.write(1, data)
            elif kind == STDERR:
                os.write(2, data)
            elif kind == EXIT:
                status = unpack_number(data)
                return 128 - status if status < 0 else status
