"""Helpers for driving the real program under an X server (xvfb-run), as a person would."""
import os
import shutil
import subprocess
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

    @property
    def data_file(self):
        return os.path.join(self.folder, "pelmora.pmd")

    def start(self):
        p = subprocess.Popen([os.path.join(self.folder, "pelmora")], env=self.env,
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.processes.append(p)
        return p

    def close(self):
        for p in self.processes:
            if p.poll() is None:
                p.kill()
                p.wait()
        shutil.rmtree(self.root, ignore_errors=True)
