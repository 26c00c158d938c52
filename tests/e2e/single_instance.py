"""One window per desktop session: a second start on the same session bus is refused whatever
else its environment says, and a crashed copy blocks nothing."""
import signal
import sys

from e2e_support import Sandbox, find_windows, wait_for, window_name, xdotool

MAIN_TITLE = "VORDANIK Pelmora 2.0"
MESSAGE_TITLE = "unwanted instance"

# A second start with one of these changed is still in the same session and must be refused.
ENVIRONMENT_VARIATIONS = {
    "other TMPDIR": {"TMPDIR": "/var/tmp"},
    "other HOME": {"HOME": "/nonexistent"},
    "other XDG_RUNTIME_DIR": {"XDG_RUNTIME_DIR": "/tmp"},
    "all of them at once": {"TMPDIR": "/var/tmp", "USER": "x", "HOME": "/",
                            "XDG_RUNTIME_DIR": "/tmp"},
}


def expect_refused(box, env, what):
    second = box.start(env=env)

    def own_message():
        return [w for w in find_windows("^" + MESSAGE_TITLE + "$")
                if xdotool("getwindowpid", w) == str(second.pid)]

    message = wait_for(own_message, what=f"the refusal of a start with {what}")[0]
    assert window_name(message) == MESSAGE_TITLE

    def answered():
        if second.poll() is not None:
            return True
        xdotool("windowactivate", "--sync", message)
        xdotool("key", "--window", message, "Return")
        return False

    wait_for(answered, what=f"the second copy ({what}) to end")
    assert second.returncode == 0, f"second copy ({what}) ended with {second.returncode}"


def refuses_second_start_whatever_the_environment(box):
    first = box.start()
    wait_for(lambda: find_windows(MAIN_TITLE), what="the first copy's window")
    for what, env in ENVIRONMENT_VARIATIONS.items():
        expect_refused(box, env, what)
        assert first.poll() is None, "the first copy must keep running"
    return first


def crashed_copy_blocks_nothing(box, first):
    # A copy killed outright cannot give anything back itself; the bus drops its name.
    first.send_signal(signal.SIGKILL)
    first.wait()
    third = box.start()
    wait_for(lambda: find_windows(MAIN_TITLE), what="a fresh start after a crash")
    assert not find_windows("^" + MESSAGE_TITLE + "$"), "no refusal after a crash"
    assert third.poll() is None
    third.kill()
    third.wait()
    wait_for(lambda: not find_windows(MAIN_TITLE), what="the window of the killed copy to go")


def main(program):
    box = Sandbox(program)
    try:
        first = refuses_second_start_whatever_the_environment(box)
        crashed_copy_blocks_nothing(box, first)
    finally:
        box.close()
    print("2 passed, 0 failed")


if __name__ == "__main__":
    main(sys.argv[1])
