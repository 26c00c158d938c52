"""Helpers for driving the real program under an X server (xvfb-run), as a person would."""
import os
import shutil
import subprocess
import sys
import tempfile
import time


class Timeout(Exception):
    pass


def wait_for(condition, timeout=20.0, what="condition"):
    """Polls until condition() is truthy; the polling interval is short and bounded."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = condition()
        if value:
            return value
        time.sleep(0.05)
    raise Timeout(f"timed out waiting for {what}")


def xdotool(*args):
    result = subprocess.run(["xdotool", *args], capture_output=True, text=True)
    return result.stdout.strip()


def find_windows(name_regex):
    out = xdotool("search", "--onlyvisible", "--name", name_regex)
    return [w for w in out.split() if w]


def window_name(window):
    return xdotool("getwindowname", window)


def wait_for_window(name_regex, timeout=60.0):
    """The one visible window whose title matches; fails when the title is ambiguous. The
    bound is generous: a sanitizer build on a busy machine starts slowly."""
    try:
        found = wait_for(lambda: find_windows(name_regex), timeout,
                         f"a window titled /{name_regex}/")
    except Timeout:
        shown = [window_name(w) for w in find_windows(".")]
        raise Timeout(f"no window titled /{name_regex}/; visible windows: {shown}") from None
    assert len(found) == 1, f"more than one window titled /{name_regex}/: {found}"
    return found[0]


def focus(window):
    """Gives a window the keyboard focus, as a click on it would (the X server runs no window
    manager, so the focus is set directly)."""
    subprocess.run(["xdotool", "windowfocus", "--sync", window], check=True,
                   capture_output=True)


def press(*keys, delay_ms=4):
    """Types keys into whichever window has the focus, through the X server's test extension,
    so the program sees them as a keyboard would send them. The X server queues them in order,
    so a short delay between keys only shortens long Tab walks."""
    if keys:
        subprocess.run(["xdotool", "key", "--clearmodifiers", "--delay", str(delay_ms), *keys],
                       check=True, capture_output=True)


def clipboard():
    """The clipboard's text as bytes, read by another client; None while nothing owns it."""
    try:
        result = subprocess.run(["xclip", "-o", "-selection", "clipboard"],
                                capture_output=True, timeout=5)
    except subprocess.TimeoutExpired:
        return None
    return result.stdout if result.returncode == 0 else None


def read_bytes(path):
    try:
        with open(path, "rb") as f:
            return f.read()
    except FileNotFoundError:
        return None


class Sandbox:
    """A program folder of its own (so the data file lands there) and private runtime folders."""

    def __init__(self, program):
        self.root = tempfile.mkdtemp(prefix="pelmora-e2e-")
        self.folder = os.path.join(self.root, "prog")
        os.makedirs(self.folder)
        shutil.copy2(program, os.path.join(self.folder, "pelmora"))
        help_file = os.path.join(os.path.dirname(program), "pelmora.hlp")
        if os.path.exists(help_file):
            shutil.copy2(help_file, self.folder)
        self.runtime = os.path.join(self.root, "run")
        os.makedirs(self.runtime, mode=0o700)
        self.env = dict(os.environ)
        self.env.update({
            "XDG_RUNTIME_DIR": self.runtime,
            "TMPDIR": self.runtime,
            "XDG_DATA_HOME": os.path.join(self.root, "data"),
            "XDG_CONFIG_HOME": os.path.join(self.root, "config"),
            "QT_QPA_PLATFORM": "xcb",
        })
        self.processes = []
        # What the program says on its error stream, shown with the test's output.
        self.log = open(os.path.join(self.root, "program.log"), "w+b")

    @property
    def data_file(self):
        return os.path.join(self.folder, "pelmora.pmd")

    def start(self, *args, env=None, user=None, cwd=None):
        """Starts the program with these arguments; `env` changes single variables of the
        sandbox's environment, `user` runs it as that user (the tests run as root then)."""
        command = [os.path.join(self.folder, "pelmora"), *args]
        if user is not None:
            command = ["setpriv", f"--reuid={user}", f"--regid={user}", "--clear-groups",
                       "--", *command]
        p = subprocess.Popen(command, env={**self.env, **(env or {})},
                             stdout=subprocess.DEVNULL, stderr=self.log, cwd=cwd)
        self.processes.append(p)
        return p

    def close(self):
        for p in self.processes:
            if p.poll() is None:
                p.kill()
                p.wait()
        self.log.seek(0)
        said = self.log.read().decode(errors="replace").strip()
        self.log.close()
        if said:
            print("program's error output:\n" + said, file=sys.stderr)
        shutil.rmtree(self.root, ignore_errors=True)
