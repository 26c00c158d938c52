"""One copy per session bus: a second copy on the same bus is refused and hands its file over
byte for byte; copies on two buses both run; with no bus a copy runs unguarded and starts none."""
import os
import subprocess
import sys
import tempfile

PROBE = sys.argv[1]
NOT_UTF8 = b"/tmp/b\xff\xfe d.pmd"


def run(*args, env=None):
    return subprocess.run(args, env=env, stdout=subprocess.PIPE, timeout=30,
                          check=True).stdout.decode().strip()


def first_copy():
    """A first copy on a bus of its own, waiting to be asked; the process and its bus."""
    p = subprocess.Popen(["dbus-run-session", "--", PROBE, "--stay"], stdout=subprocess.PIPE)
    said = p.stdout.readline().decode().split()
    assert said[0] == "first", said
    return p, dict(os.environ, DBUS_SESSION_BUS_ADDRESS=said[1])


def asked(first):
    return first.communicate(timeout=30)[0].decode().strip()


first, bus = first_copy()
assert run(PROBE, NOT_UTF8, env=bus) == "handed"
assert asked(first) == "open " + NOT_UTF8.hex()

first, bus = first_copy()
assert run("dbus-run-session", "--", PROBE).startswith("first "), "another bus's copy refused"
assert run(PROBE, env=bus) == "handed" and asked(first) == "raise"

with tempfile.TemporaryDirectory() as runtime:
    env = {k: v for k, v in os.environ.items() if k != "DBUS_SESSION_BUS_ADDRESS"}
    env["XDG_RUNTIME_DIR"] = runtime
    assert run(PROBE, env=env) == run(PROBE, env=env) == "first disabled:"
print("3 passed, 0 failed")
