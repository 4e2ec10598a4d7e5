"""The emulated machine that runs 32-bit Windows programs where this
machine's kernel cannot (docs/emulated-32bit.md), seen from the host: what a
boot needs (the kernel, the initramfs and the Wine prefix, made where missing),
booting it with qemu, its record in build/guest, and the commands its agent
(scripts/guest-agent) runs, each with its streams, signals and exit status.
Used by scripts/guest; the agent takes the protocol from here."""
import filecmp
import hashlib
import json
import os
import shutil
import signal
import socket
import struct
import subprocess
import sys
import tempfile
import threading
import time

# -- how the host and the agent talk -------------------------------------------
# One TCP connection per command: the host sends one JSON line naming the
# command, then both sides send frames -- a kind byte, a four-byte big-endian
# length and that many bytes. The host sends standard input (an empty frame is
# its end) and signals; the agent sends standard output, standard error and,
# last, the exit status.
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


HERE = os.path.dirname(os.path.abspath(__file__))
PROJECT = os.path.dirname(HERE)
CACHE = os.environ.get("VEXA_GUEST_CACHE") or os.path.join(PROJECT, "build", "guest")
PREFIX_IMAGE = os.path.join(CACHE, "prefix.squashfs")
BOOT_SECONDS = 120
AGENT_READY = "guest-agent: listening"
# In the machine: waits up to two minutes for Wine's desktop process.
DESKTOP_UP = """for i in $(seq 1200); do
    pgrep -x explorer.exe >/dev/null && exit 0
    sleep 0.1
done
exit 1"""


def say(text):
    print("guest: " + text, file=sys.stderr, flush=True)


def needed(program):
    """Whether scripts/wine-run sends program to the machine (scripts/wine-env
    decides)."""
    return subprocess.run(["sh", "-c", '. "$0"; in_machine "$1"', os.path.join(HERE, "wine-env"),
                           program]).returncode == 0


# -- what a boot needs -----------------------------------------------------------
# In the order insmod needs them (scripts/guest-init): each after the modules it uses.
MODULES = ("virtio_ring virtio virtio_pci_modern_dev virtio_pci_legacy_dev virtio_pci 9pnet "
           "9pnet_virtio netfs fscache 9p overlay virtio_blk squashfs failover net_failover "
           "virtio_net").split()
INIT = os.path.join(HERE, "guest-init")

# Made in the machine, where Wine's 32-bit half works (a prefix made here by
# wine64 lacks it); $1 is the tar file to write, $2 this file. A 32-bit
# prefix: only 32-bit programs run in the machine, and without a 64-bit half
# it is made in half the time. wineserver -w waits for the last of
# wineboot's processes, which outlive it.
PREFIX_STEPS = """set -e
mkdir -p "$(dirname "$WINEPREFIX")"
WINEARCH=win32 WINEDLLOVERRIDES="mscoree,mshtml=" wine wineboot -i
wineserver -w
/usr/bin/python3 -S -B "$2" --finish "$WINEPREFIX"
tar -C "$(dirname "$WINEPREFIX")" -cf "$1" "$(basename "$WINEPREFIX")"
"""
# The settings of scripts/wine-prefix, written straight into the registry
# file: one more Wine start costs most of a minute in the machine.
PREFIX_SETTINGS = r"""
[Software\\Wine\\Fonts\\Replacements]
"Courier New"="Liberation Mono"

[Software\\Wine\\WineDbg]
"ShowCrashDialog"=dword:00000000
"""
# Wine's own programs and libraries, which wineboot copies into the prefix.
BUILTINS = "/usr/lib/i386-linux-gnu/wine/i386-windows"


def run_quietly(argv, what, **options):
    done = subprocess.run(argv, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, **options)
    if done.returncode != 0:
        sys.exit("guest: %s failed:\n%s" % (what, done.stdout.decode(errors="replace")))
    return done.stdout.decode()


def kernel_package():
    depends = subprocess.run(["apt-cache", "depends", "linux-image-amd64"],
                             capture_output=True, text=True).stdout
    for line in depends.splitlines():
        name = line.strip().partition("Depends: ")[2]
        if name.startswith("linux-image-") and name.endswith("-amd64") and name[12:13].isdigit():
            return name
    return None


def make_kernel():
    """Debian's own amd64 kernel, unpacked from its package and never
    installed, and an initramfs of busybox-static, the modules for virtio,
    9p, overlay, squashfs and the network, and guest-init as /init."""
    kernel, initrd = os.path.join(CACHE, "vmlinuz"), os.path.join(CACHE, "initrd.cpio")
    if (os.path.exists(kernel) and os.path.exists(initrd)
            and os.path.getmtime(initrd) > os.path.getmtime(INIT)):
        return
    if not os.path.exists("/bin/busybox") or not shutil.which("cpio"):
        sys.exit("guest: busybox-static and cpio are needed (scripts/install-prereqs)")
    package = kernel_package()
    if not package:
        run_quietly(["apt-get", "update", "-qq"], "apt-get update")
        package = kernel_package()
    if not package:
        sys.exit("guest: apt knows no linux-image-amd64")
    say("unpacking " + package)
    with tempfile.TemporaryDirectory() as work:
        run_quietly(["apt-get", "download", "-qq", package], "apt-get download", cwd=work)
        deb = [name for name in os.listdir(work) if name.endswith(".deb")][0]
        unpacked, stage = os.path.join(work, "pkg"), os.path.join(work, "initrd")
        run_quietly(["dpkg", "-x", os.path.join(work, deb), unpacked], "dpkg -x")
        os.makedirs(os.path.join(stage, "bin"))
        os.makedirs(os.path.join(stage, "modules"))
        shutil.copy("/bin/busybox", os.path.join(stage, "bin", "busybox"))
        shutil.copy(INIT, os.path.join(stage, "init"))
        os.chmod(os.path.join(stage, "init"), 0o755)
        found = {}
        for folder, _, names in os.walk(os.path.join(unpacked, "lib", "modules")):
            for name in names:
                if name.endswith(".ko"):
                    found.setdefault(name[:-3], os.path.join(folder, name))
        for module in MODULES:
            if module not in found:
                sys.exit("guest: %s has no module %s" % (package, module))
            shutil.copy(found[module], os.path.join(stage, "modules"))
        with open(os.path.join(stage, "modules", "order"), "w") as f:
            f.write(" ".join(MODULES) + "\n")
        files = run_quietly(["find", "."], "find", cwd=stage)
        with open(initrd + ".new", "wb") as out:
            subprocess.run(["cpio", "-o", "-H", "newc", "--quiet"], input=files.encode(),
                           stdout=out, cwd=stage, check=True)
        boot = os.path.join(unpacked, "boot")
        shutil.copy(os.path.join(boot, [n for n in os.listdir(boot) if n.startswith("vmlinuz")][0]),
                    kernel + ".new")
    os.replace(kernel + ".new", kernel)
    os.replace(initrd + ".new", initrd)


def finish_prefix(prefix):
    """In the machine: adds the settings, and replaces the prefix's copies of
    Wine's own DLLs and programs (over half a gigabyte) by links to the
    originals, which the machine sees anyway."""
    with open(os.path.join(prefix, "user.reg"), "a") as f:
        f.write(PREFIX_SETTINGS)
    copies = os.path.join(prefix, "drive_c", "windows", "system32")
    for name in os.listdir(copies):
        copy, original = os.path.join(copies, name), os.path.join(BUILTINS, name)
        if (os.path.isfile(copy) and not os.path.islink(copy) and os.path.isfile(original)
                and filecmp.cmp(copy, original, shallow=False)):
            os.remove(copy)
            os.symlink(original, copy)


def prefix_recipe():
    """The installed Wine and the steps: a prefix made otherwise is made again."""
    wine = subprocess.run(["dpkg-query", "-W", "wine64", "wine32:i386"], capture_output=True,
                          text=True).stdout
    return wine + hashlib.sha256((PREFIX_STEPS + PREFIX_SETTINGS).encode()).hexdigest() + "\n"


def make_prefix():
    """The machine's Wine prefix as a squashfs image, which the machine mounts
    read-only with a tmpfs overlay: far faster than a prefix on 9p. Made in
    a machine of its own, packed there with plain tar (gzip is slow there)."""
    stamp = PREFIX_IMAGE + ".recipe"
    try:
        with open(stamp) as f:
            if os.path.exists(PREFIX_IMAGE) and f.read() == prefix_recipe():
                return
    except OSError:
        pass
    for tool in ("mksquashfs", "tar"):
        if not shutil.which(tool):
            sys.exit("guest: %s is not installed (scripts/install-prereqs)" % tool)
    say("making the Wine prefix in the machine (a few minutes, once)")
    started = time.monotonic()
    # In the host's /tmp, which the machine writes through to.
    work = tempfile.mkdtemp(prefix="vexa-prefix-", dir="/tmp")
    machine = Machine("prefix-run")
    try:
        machine.boot(prefix=False)
        status = machine.call({"argv": ["sh", "-c", PREFIX_STEPS, "sh", work + "/prefix.tar",
                                        os.path.abspath(__file__)], "cwd": "/"})
        machine.stop()
        if status != 0:
            sys.exit("guest: making the prefix failed (%d); the machine's console:\n%s"
                     % (status, machine.console()))
        tree = os.path.join(work, "tree")
        os.mkdir(tree)
        run_quietly(["tar", "-C", tree, "-xf", work + "/prefix.tar"], "tar")
        run_quietly(["mksquashfs", os.path.join(tree, "prefix"), PREFIX_IMAGE + ".new",
                     "-all-root", "-comp", "lz4", "-noappend", "-quiet", "-no-progress"],
                    "mksquashfs")
        os.replace(PREFIX_IMAGE + ".new", PREFIX_IMAGE)
        with open(stamp, "w") as f:
            f.write(prefix_recipe())
    finally:
        if machine.find():
            machine.stop()
        shutil.rmtree(work, ignore_errors=True)
    say("prefix ready in %.0f s: %s" % (time.monotonic() - started, PREFIX_IMAGE))


def prepare(prefix=True):
    """Makes what a boot needs, where it is missing or out of date."""
    os.makedirs(CACHE, exist_ok=True)
    make_kernel()
    if prefix:
        make_prefix()


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
            # The desktop process itself, started now and alone: left to the
            # first window programs, which the tests start two at a time, it
            # was seen to end up with no desktop process at all under load
            # (and so no clipboard manager for the rest of the run).
            self.call({"argv": ["wine", "explorer.exe", "/desktop"], "cwd": "/", "detach": True})
            waited = self.call({"argv": ["sh", "-c", DESKTOP_UP]}, quiet=True)
            if waited != 0:
                say("Wine's desktop process did not start in the machine; its console:\n"
                    + self.console())
                return False
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


if __name__ == "__main__" and sys.argv[1:2] == ["--finish"]:
    finish_prefix(sys.argv[2])
