"""The entry dialog and the all-numbers window on a real X server: a title bar only, the
all-numbers window kept above the disabled entry dialog, and a minimise that cannot leave the
program without a visible window. With a window manager installed (openbox) the stacking and the
minimise are checked as it handles them; without one, the hints it would act on."""
import shutil
import subprocess
import sys

from e2e_support import Sandbox, find_windows, focus, press, wait_for, wait_for_window, xdotool

MAIN_TITLE = "VORDANIK Pelmora 2.0"
ENTRY_TITLE = "Number Entry Form"
ALL_TITLE = "VORDANIK Pelmora - All Numbers"
# Where "View All" sits in the entry dialog, in pixels from its top left corner.
VIEW_ALL_AT = ("136", "387")
# Functions and decorations named; moving only; a border and a title.
TITLE_BAR_ONLY = "0x3, 0x4, 0xa, 0x0, 0x0"


def prop(window, name, root=False):
    target = ["-root"] if root else ["-id", window]
    out = subprocess.run(["xprop", *target, name], capture_output=True, text=True).stdout
    # "NAME(TYPE) = value" or, for windows, "NAME(WINDOW): window id # 0x..."; absent: no type.
    if "(" not in out or "not found" in out:
        return ""
    return out.split(")", 1)[1].lstrip(" =:").strip()


def window_ids(text):
    return [int(w, 16) for w in text.replace("window id #", "").replace(",", " ").split()]


def main(program):
    manager = None
    if shutil.which("openbox"):
        manager = subprocess.Popen(["openbox", "--sm-disable"], stdout=subprocess.DEVNULL,
                                   stderr=subprocess.DEVNULL)
        wait_for(lambda: prop(None, "_NET_SUPPORTING_WM_CHECK", root=True),
                 what="the window manager")
    else:
        print("no window manager installed: stacking and minimising are not checked")
    box = Sandbox(program)
    try:
        box.start()
        focus(wait_for_window(MAIN_TITLE))
        press("ctrl+Insert")
        entry = wait_for_window(ENTRY_TITLE)
        xdotool("mousemove", "--window", entry, *VIEW_ALL_AT, "click", "1")
        all_numbers = wait_for_window("^" + ALL_TITLE + "$")

        for window in (entry, all_numbers):
            assert prop(window, "_MOTIF_WM_HINTS") == TITLE_BAR_ONLY, prop(window, "_MOTIF_WM_HINTS")
        assert window_ids(prop(all_numbers, "WM_TRANSIENT_FOR")) == [int(entry)]

        if manager:
            # A click on the disabled entry dialog must not bring it over its all-numbers window.
            xdotool("windowactivate", entry)
            xdotool("windowraise", entry)

            def all_numbers_on_top():
                order = window_ids(prop(None, "_NET_CLIENT_LIST_STACKING", root=True))
                return order.index(int(all_numbers)) > order.index(int(entry))

            wait_for(all_numbers_on_top, what="the stacking order to settle")
            assert all_numbers_on_top(), "the entry dialog covers its all-numbers window"

            # The main window is hidden during entry: a minimised dialog must come back.
            for window in (all_numbers, entry):
                xdotool("windowminimize", window)
                wait_for(lambda: window in find_windows("."), what="the window to come back")
        print("1 passed, 0 failed")
    finally:
        box.close()
        if manager:
            manager.kill()
            manager.wait()


if __name__ == "__main__":
    main(sys.argv[1])
