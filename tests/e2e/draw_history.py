"""The Draw History window at the keyboard: opened with Ctrl+H over a history of two draws, the
second draw chosen with the arrow key and made the winning number, the window left with Esc."""
import os
import sys
import time

from e2e_support import Sandbox, find_windows, focus, press, read_bytes, wait_for, wait_for_window

MAIN_TITLE = "VORDANIK Pelmora 2.0"
HISTORY = (
    "DrawDate,Ball 1,Ball 2,Ball 3,Ball 4,Ball 5,Ball 6,Bonus Ball,Ball Set,Machine,DrawNumber\r\n"
    "18-Feb-2026,1,11,12,13,18,49,33,L10,Lotto4,3147\r\n"
    "14-Feb-2026,3,7,21,40,44,59,2,,,3146\r\n")


def data_file(winning):
    lines = ["[Numbers]", "TOTAL=2", f"W={winning}", "1=01-11-12-13-18-33", "2=03-07-21-40-44-59"]
    return "".join(line + "\r\n" for line in lines).encode("ascii")


def main(program):
    started = time.monotonic()
    box = Sandbox(program)
    try:
        with open(box.data_file, "wb") as f:
            f.write(data_file("00-00-00-00-00-00"))
        history = os.path.join(box.env["XDG_DATA_HOME"], "pelmora", "draws.csv")
        os.makedirs(os.path.dirname(history))
        with open(history, "w") as f:
            f.write(HISTORY)
        box.start()
        main_window = wait_for_window(MAIN_TITLE)
        focus(main_window)
        press("ctrl+h")
        window = wait_for_window("^Draw History$")
        focus(window)
        # The newest draw is selected at first; Down selects the older one.
        press("Down", "alt+n")
        wait_for(lambda: read_bytes(box.data_file) == data_file("03-07-21-40-44-59"),
                 what="the draw as the winning number in the data file")
        press("Escape")
        wait_for(lambda: not find_windows("^Draw History$"), what="the window to close")
        assert find_windows(MAIN_TITLE) == [main_window]
        assert read_bytes(history).decode() == HISTORY, "looking changes no draw"
        print(f"1 passed, 0 failed ({time.monotonic() - started:.1f} s)")
    finally:
        box.close()


if __name__ == "__main__":
    main(sys.argv[1])
