"""A whole session at the keyboard: a fresh data file, three tickets, a winning number, the
check, the results on the clipboard, and a second launch that is turned away."""
import subprocess
import sys
import time

from e2e_support import (Sandbox, clipboard, find_windows, focus, press, read_bytes, wait_for,
                         wait_for_window, window_name)

MAIN_TITLE = "VORDANIK Pelmora 2.0"
ENTRY_TITLE = "VORDANIK Pelmora-Number Entry Form"
REFUSAL_TITLE = "unwanted instance"

# Each ticket is typed in this order, and the order is kept in the stored text. The picks go
# back and forth across the grid and past "C&lear" and "View All" to the last row.
WINNING_PICKS = [57, 3, 35, 11, 27, 19]
TICKETS = [
    ([40, 27, 3, 8, 19, 50], 3),
    ([19, 57, 11, 35, 3, 27], 6),
    ([12, 11, 54, 35, 1, 58], 2),
]


def has_icon(window):
    return "Icon (16 x 16)" in subprocess.run(["xprop", "-id", window, "_NET_WM_ICON"],
                                              capture_output=True, text=True).stdout


def ticket_text(picks):
    return "-".join(f"{n:02d}" for n in picks)


def data_file(tickets, winning="00-00-00-00-00-00"):
    lines = ["[Numbers]", f"TOTAL={len(tickets)}", f"W={winning}"]
    lines += [f"{k}={t}" for k, t in enumerate(tickets, start=1)]
    return "".join(line + "\r\n" for line in lines).encode("ascii")


class EntryDialog:
    """Walks the dialog's tab order with Tab and Shift+Tab, as a keyboard user would."""

    TAB_ORDER = (["next", "done", "cancel"] + list(range(1, 55)) + ["clear", "view all"] +
                 list(range(55, 60)))

    def __init__(self, window, winning):
        self.window = window
        self.winning = winning
        self.at = "done"  # neither "Save/&Next" nor a box can have the focus at opening
        self.picked = []

    def _takes_focus(self, item):
        if item == "next":
            return not self.winning and len(self.picked) == 6
        if item == "cancel":
            return self.winning
        if item == "view all":
            return not self.winning
        if isinstance(item, int):
            return len(self.picked) < 6 or item in self.picked
        return True

    def _go_to(self, target):
        stops = [item for item in self.TAB_ORDER if self._takes_focus(item)]
        steps = stops.index(target) - stops.index(self.at)
        press(*(["Tab"] * steps if steps > 0 else ["shift+Tab"] * -steps))
        self.at = target

    def pick(self, number, save_key):
        self._go_to(number)
        press("space")
        self.picked.append(number)
        caption = f"You have picked {len(self.picked)} of 6 numbers."
        wait_for(lambda: window_name(self.window) == caption, what=f"the caption {caption!r}")
        if len(self.picked) == 6 and not self.winning:
            # The sixth pick hands the focus to "Save/&Next".
            self.at = "next"
            press(save_key)
            self.picked = []
            self.at = 1
            wait_for(lambda: window_name(self.window) == "You have picked 0 of 6 numbers.",
                     what="the grid to be cleared after Save/Next")


def expect_main_back():
    wait_for(lambda: not find_windows("Number Entry Form|You have picked"),
             what="the entry dialog to close")
    return wait_for_window(MAIN_TITLE)


def main(program):
    started = time.monotonic()
    box = Sandbox(program)
    try:
        assert read_bytes(box.data_file) is None
        first = box.start()
        main_window = wait_for_window(MAIN_TITLE)
        assert window_name(main_window).endswith(" " + MAIN_TITLE), window_name(main_window)
        # The icon is handed to the desktop just after the window first shows.
        wait_for(lambda: has_icon(main_window), what="the window's icon")
        wait_for(lambda: read_bytes(box.data_file) == data_file([]),
                 what="the default data file")

        # Three tickets, keyboard only; Space saves the first two, Enter the third.
        focus(main_window)
        press("ctrl+Insert")
        entry = wait_for_window("^" + ENTRY_TITLE + "$")
        assert not find_windows(MAIN_TITLE), "the main window hides while tickets are entered"
        grid = EntryDialog(entry, winning=False)
        saved = []
        for (picks, _), save_key in zip(TICKETS, ["space", "space", "Return"]):
            for number in picks:
                grid.pick(number, save_key)
            saved.append(ticket_text(picks))
            wait_for(lambda: read_bytes(box.data_file) == data_file(saved),
                     what=f"ticket {len(saved)} in the data file")
        # Nothing is picked, so Esc (which presses "&Done" here) asks nothing.
        press("Escape")
        main_window = expect_main_back()
        assert read_bytes(box.data_file) == data_file(saved)

        # The winning number, picked in the same grid.
        focus(main_window)
        press("ctrl+w")
        entry = wait_for_window("^" + ENTRY_TITLE + "$")
        assert not find_windows(MAIN_TITLE)
        grid = EntryDialog(entry, winning=True)
        for number in WINNING_PICKS:
            grid.pick(number, save_key=None)
        press("alt+d")
        main_window = expect_main_back()
        winning = ticket_text(WINNING_PICKS)
        wait_for(lambda: read_bytes(box.data_file) == data_file(saved, winning),
                 what="the winning number in the data file")

        # Check, then copy the results; another client reads the clipboard.
        expected = "".join(f"Matched: ({count}) in:{ticket_text(picks)}\r\n"
                           for picks, count in TICKETS if count >= 3).encode("ascii")
        focus(main_window)
        press("F5")
        press("ctrl+c")
        try:
            wait_for(lambda: clipboard() == expected, timeout=10, what="the results on the clipboard")
        except Exception:
            print(f"clipboard holds {clipboard()!r}, expected {expected!r}")
            raise
        assert read_bytes(box.data_file) == data_file(saved, winning), "the check writes nothing"

        # A second launch is refused; the first keeps running with its window.
        second = box.start()
        refusal = wait_for_window("^" + REFUSAL_TITLE + "$")
        assert has_icon(refusal), "the refusal carries the program's icon"
        focus(refusal)
        press("Return")
        wait_for(lambda: second.poll() is not None, what="the second copy to end")
        assert second.returncode == 0, f"second copy ended with {second.returncode}"
        assert first.poll() is None, "the first copy must keep running"
        assert find_windows(MAIN_TITLE) == [main_window], "the first copy's window is still there"
        assert clipboard() == expected, "the first copy still holds the results"
        assert read_bytes(box.data_file) == data_file(saved, winning)

        print(f"1 passed, 0 failed ({time.monotonic() - started:.1f} s)")
    finally:
        box.close()


if __name__ == "__main__":
    main(sys.argv[1])
