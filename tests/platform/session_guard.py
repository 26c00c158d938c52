"""One copy per session bus: a second copy on the same bus is refused and hands its file over
byte for byte; copies on two buses both run; with no bus a copy runs unguarded and starts none."""
import os
import subprocess
import sys
import tempfile

PROBE = sys.argv[1]
NOT_UTF8 = b"/tmp/b\xff\xfe d.pmd"


def first_copy():
    """A first copy on a bus of its own, waiting to be asked; the process and its bus address."""
    p = subprocess.Popen(["dbus-run-session", "--", PROBE, "--stay", "20000"],
                         stdout=subprocess.PIPE)
    said = p.stdout.readline().decode().split()
    assert said[0] == "first" and len(said) == 2, said
    return p, said[1]


def start(*args, bus=None, bus_of_its_own=False, env=None):
    env = dict(env or os.environ)
    if bus:
        env["DBUS_SESSION_BUS_ADDRESS"] = bus
    command = [PROBE, *args]
    if bus_of_its_own:
        command = ["dbus-run-session", "--", *command]
    return subprocess.run(command, env=env, stdout=subprocess.PIPE, timeout=30,
                          check=True).stdout.decode().strip()


def answer_of(first):
    said, _ = first.communicate(timeout=30)
    assert first.returncode == 0, first.returncode
    return said.decode().strip()


def second_copy_on_the_same_bus_hands_over_its_file():
    first, bus = first_copy()
    assert start(NOT_UTF8, bus=bus) == "handed"
    assert answer_of(first) == "open " + NOT_UTF8.hex()


def copies_on_two_buses_both_run():
    first, bus = first_copy()
    assert start(bus_of_its_own=True).startswith("first "), "refused by another session's copy"
    assert start(bus=bus) == "handed"
    assert answer_of(first) == "raise"


def without_a_bus_every_copy_runs():
    with tempfile.TemporaryDirectory() as runtime:
        env = {k: v for k, v in os.environ.items() if k != "DBUS_SESSION_BUS_ADDRESS"}
        env["XDG_RUNTIME_DIR"] = runtime
        # The toolkit inside is kept from starting a bus of its own.
        assert start(env=env) == "first disabled:"
        assert start(env=env) == "first disabled:"


for case in (second_copy_on_the_same_bus_hands_over_its_file, copies_on_two_buses_both_run,
             without_a_bus_every_copy_runs):
    case()
print("3 passed, 0 failed")
