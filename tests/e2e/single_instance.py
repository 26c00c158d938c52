"""A second launch is refused while the first copy keeps running; a crashed copy blocks nothing."""
import signal
import sys

from e2e_support import Sandbox, find_windows, wait_for, window_name, xdotool

MESSAGE_TITLE = "unwanted instance"


def main(program):
    box = Sandbox(program)
    try:
        first = box.start()
        wait_for(lambda: find_windows("VORDANIK Pelmora 2.0"), what="the first copy's window")

        second = box.start()
        message = wait_for(lambda: find_windows("^" + MESSAGE_TITLE + "$"),
                           what="the second copy's message")[0]
        assert window_name(message) == MESSAGE_TITLE
        xdotool("windowactivate", "--sync", message)
        xdotool("key", "--window", message, "Return")
        assert wait_for(lambda: second.poll() is not None, what="the second copy to end") or True
        assert second.returncode == 0, f"second copy ended with {second.returncode}"
        assert first.poll() is None, "the first copy must keep running"
        assert find_windows("VORDANIK Pelmora 2.0"), "the first copy's window is still there"

        # A copy killed outright leaves its lock behind; the next start must not be refused.
        first.send_signal(signal.SIGKILL)
        first.wait()
        third = box.start()
        wait_for(lambda: find_windows("VORDANIK Pelmora 2.0"), what="a fresh start after a crash")
        assert not find_windows("^" + MESSAGE_TITLE + "$"), "no refusal after a crash"
        assert third.poll() is None
        print("1 passed, 0 failed")
    finally:
        box.close()


if __name__ == "__main__":
    main(sys.argv[1])
