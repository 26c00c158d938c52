"""A data file named on the command line: a fresh start lists it instead of the default file, and
a second start hands it to the running window, which opens it and stays the only copy."""
import os
import sys

from e2e_support import (Sandbox, clipboard, find_windows, focus, press, read_bytes, wait_for,
                         wait_for_window, window_name)

MAIN_TITLE = "VORDANIK Pelmora 2.0"
FIRST = ["01-02-03-04-05-06", "07-08-09-10-11-12"]
SECOND = ["13-14-15-16-17-18", "19-20-21-22-23-24", "25-26-27-28-29-30"]


def data_file(tickets):
    lines = ["[Numbers]", f"TOTAL={len(tickets)}", "W=00-00-00-00-00-00"]
    lines += [f"{k}={t}" for k, t in enumerate(tickets, start=1)]
    return "".join(line + "\r\n" for line in lines).encode("ascii")


def write(path, tickets):
    with open(path, "wb") as f:
        f.write(data_file(tickets))


def expect_listed(window, tickets):
    """The play list, as Copy Play Numbers puts it on the clipboard, is exactly `tickets`."""
    expected = "".join("\r\n" + t for t in tickets).encode("ascii")
    focus(window)
    press("ctrl+p")
    try:
        wait_for(lambda: clipboard() == expected, timeout=10, what="the play numbers")
    except Exception:
        raise AssertionError(f"clipboard holds {clipboard()!r}, expected {expected!r}") from None


def main(program):
    box = Sandbox(program)
    try:
        first_file = os.path.join(box.root, "first.pmd")
        second_file = os.path.join(box.root, "second.pmd")
        write(first_file, FIRST)
        write(second_file, SECOND)

        first = box.start(first_file)
        window = wait_for_window(MAIN_TITLE)
        assert "first.pmd" in window_name(window), window_name(window)
        expect_listed(window, FIRST)
        assert read_bytes(box.data_file) is None, "the default data file is left alone"

        # A relative name, as a file manager or a shell in another folder passes it.
        second = box.start("second.pmd", cwd=box.root)
        wait_for(lambda: second.poll() is not None, what="the second copy to end")
        assert second.returncode == 0, f"the second copy ended with {second.returncode}"
        wait_for(lambda: "second.pmd" in window_name(window), what="the running window to open it")
        assert not find_windows("unwanted instance"), "handing a file over shows no message"
        expect_listed(window, SECOND)
        assert first.poll() is None, "the first copy keeps running"
        print("2 passed, 0 failed")
    finally:
        box.close()


if __name__ == "__main__":
    main(sys.argv[1])
