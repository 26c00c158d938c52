"""One window per user: a second start is refused whatever its environment says, a crashed or
silent copy blocks nothing, and another user can neither block the start nor receive its
requests."""
import fcntl
import os
import shutil
import signal
import socket
import stat
import sys

from e2e_support import Sandbox, find_windows, wait_for, window_name, xdotool

MAIN_TITLE = "VORDANIK Pelmora 2.0"
MESSAGE_TITLE = "unwanted instance"
NOBODY = 65534

# A second start with one of these changed must still find the first copy.
ENVIRONMENT_VARIATIONS = {
    "other TMPDIR": {"TMPDIR": "/var/tmp"},
    "other USER": {"USER": "someone-else"},
    "other LOGNAME": {"LOGNAME": "someone-else"},
    "other HOME": {"HOME": "/nonexistent"},
    "other XDG_RUNTIME_DIR": {"XDG_RUNTIME_DIR": "/tmp"},
    "all of them at once": {"TMPDIR": "/var/tmp", "USER": "x", "LOGNAME": "x", "HOME": "/",
                            "XDG_RUNTIME_DIR": "/tmp"},
}


def instance_folder(uid):
    """The folder the program keeps its lock and socket in, chosen as the program chooses it."""
    session = f"/run/user/{uid}"
    try:
        info = os.lstat(session)
        if stat.S_ISDIR(info.st_mode) and info.st_uid == uid and info.st_mode & 0o077 == 0:
            return session
    except FileNotFoundError:
        pass
    return f"/tmp/pelmora-{uid}"


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
    # A copy killed outright cannot release anything itself; the next start must not be refused.
    first.send_signal(signal.SIGKILL)
    first.wait()
    third = box.start()
    wait_for(lambda: find_windows(MAIN_TITLE), what="a fresh start after a crash")
    assert not find_windows("^" + MESSAGE_TITLE + "$"), "no refusal after a crash"
    assert third.poll() is None
    third.kill()
    third.wait()
    wait_for(lambda: not find_windows(MAIN_TITLE), what="the window of the killed copy to go")


def silent_holder_does_not_stop_the_start(box):
    # Something of this user holds the lock but never answers: the start goes on.
    with open(os.path.join(instance_folder(os.getuid()), "pelmora.lock"), "a") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
        copy = box.start()
        wait_for(lambda: find_windows(MAIN_TITLE), what="the window despite a silent lock holder")
        assert copy.poll() is None
        copy.kill()
        copy.wait()


def give_to(box, uid):
    """Lets `uid` run the sandbox's program on the X server and write its folders."""
    os.chmod(box.root, 0o711)
    for sub in ("prog", "run"):
        shutil.chown(os.path.join(box.root, sub), uid, uid)
    home = os.path.join(box.root, "home")
    os.makedirs(home)
    shutil.chown(home, uid, uid)
    authority = os.path.join(box.root, "Xauthority")
    if os.environ.get("XAUTHORITY"):
        shutil.copy(os.environ["XAUTHORITY"], authority)
        shutil.chown(authority, uid, uid)
    return {"XAUTHORITY": authority, "HOME": home, "XDG_DATA_HOME": home,
            "XDG_CONFIG_HOME": home, "USER": "nobody", "LOGNAME": "nobody"}


def other_user_cannot_block_or_listen(program):
    if os.getuid() != 0:
        print("skipped: another user's squatting needs root to set up")
        return
    folder = instance_folder(NOBODY)
    if folder.startswith("/run/"):
        print("skipped: nobody has a private session folder, nothing to squat")
        return
    if os.path.lexists(folder):
        print(f"skipped: {folder} exists already")
        return
    squatter = NOBODY - 1
    box = Sandbox(program)
    listener = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    try:
        # Another user made the folder first, open to all, with a lock held and a socket listening.
        os.mkdir(folder)
        os.chmod(folder, 0o777)
        os.chown(folder, squatter, squatter)
        listener.bind(os.path.join(folder, "pelmora.socket"))
        listener.listen(4)
        listener.setblocking(False)
        with open(os.path.join(folder, "pelmora.lock"), "w") as lock:
            fcntl.flock(lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
            os.chmod(lock.name, 0o666)
            copy = box.start(env=give_to(box, NOBODY), user=NOBODY)
            wait_for(lambda: find_windows(MAIN_TITLE) or copy.poll() is not None,
                     what="the window of the unprivileged copy")
            assert copy.poll() is None, f"the copy ended with {copy.returncode}"
            assert not find_windows("^" + MESSAGE_TITLE + "$"), "the squatter blocked the start"
            try:
                listener.accept()
                raise AssertionError("the program talked to another user's socket")
            except BlockingIOError:
                pass
    finally:
        listener.close()
        box.close()
        shutil.rmtree(folder, ignore_errors=True)


def main(program):
    box = Sandbox(program)
    try:
        first = refuses_second_start_whatever_the_environment(box)
        crashed_copy_blocks_nothing(box, first)
        silent_holder_does_not_stop_the_start(box)
    finally:
        box.close()
    other_user_cannot_block_or_listen(program)
    print("4 passed, 0 failed")


if __name__ == "__main__":
    main(sys.argv[1])
