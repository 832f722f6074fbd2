#!/usr/bin/env python3
"""A person's first session with the real program, keys only, under Xvfb.

Makes a new HTML5 program, inserts a table from the Include menu, saves it, creates its
web page with Ctrl+R and Ok, and leaves through File > Exit. Then checks the files on disk.
The editor starts from its program folder as built or installed, which stays untouched: the
user's files go to a fresh Verosta folder ($VEROSTA_HOME), its settings to a fresh
configuration folder ($XDG_CONFIG_HOME/verosta).
Usage: journey.py <program folder or executable> [<source folder>] [--quick]
  --quick  only makes the new program and leaves (for an installed package)
"""
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time

STEP_TIMEOUT = 60.0  # generous: CI machines are shared and slow


class JourneyError(Exception):
    pass


def run(cmd, env, check=True):
    return subprocess.run(cmd, env=env, check=check, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)


def start_x_server():
    """Starts Xvfb on a display number it picks itself (-displayfd), so two runs at the same
    moment can never share one server. Without -noreset the server resets when its last
    client leaves, and a client that connects during the reset (the editor, just after the
    readiness check) is refused. Returns the process and the display name."""
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1280x900x24",
                             "-nolisten", "tcp", "-noreset"], pass_fds=(write_end,),
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    number = b""
    with os.fdopen(read_end, "rb") as pipe:
        while not number.endswith(b"\n"):
            piece = pipe.read(1)
            if not piece:
                break
            number += piece
    if not number.strip().isdigit():
        xvfb.kill()
        raise JourneyError("the X server did not start")
    return xvfb, ":" + number.decode().strip()


def wait_for(what, predicate, timeout=STEP_TIMEOUT):
    end = time.time() + timeout
    while time.time() < end:
        result = predicate()
        if result:
            return result
        time.sleep(0.2)
    raise JourneyError(f"step did not happen within {timeout:.0f} s: {what}")


def window_named(env, name):
    def find():
        r = run(["xdotool", "search", "--onlyvisible", "--name", f"^{name}"], env, check=False)
        ids = r.stdout.split()
        return ids[-1] if ids else None
    return find


def keys(env, *sequence):
    for k in sequence:
        run(["xdotool", "key", "--clearmodifiers", k], env)
        time.sleep(0.15)


def type_text(env, text):
    run(["xdotool", "type", "--delay", "40", text], env)
    time.sleep(0.2)


def focus(env, window):
    run(["xdotool", "windowfocus", "--sync", window], env, check=False)
    time.sleep(0.3)


def listing(folder):
    found = {}
    for root, _, files in os.walk(folder):
        for name in files:
            path = os.path.join(root, name)
            st = os.lstat(path)
            found[path] = (st.st_size, st.st_mtime_ns)
    return found


def journey(program, quick=False):
    work = tempfile.mkdtemp(prefix="verosta-journey-")
    executable = os.path.join(program, "verosta") if os.path.isdir(program) else program
    program_folder = os.path.dirname(os.path.realpath(executable))
    before = listing(program_folder)
    # A new user's Verosta folder: start-up creates and seeds it.
    folder = os.path.join(work, "home", "Verosta")

    env = dict(os.environ)
    env.pop("QT_QPA_PLATFORM", None)
    env["VEROSTA_HOME"] = folder
    # Settings go to the configuration folder, never the real one of the user running the tests.
    env["XDG_CONFIG_HOME"] = os.path.join(work, "config")
    settings = os.path.join(work, "config", "verosta", "Verosta.ini")
    env["XDG_RUNTIME_DIR"] = work
    env["HOME"] = work
    xvfb, env["DISPLAY"] = start_x_server()
    editor = None
    try:
        wait_for("the X server starts", lambda: run(["xdpyinfo"], env, check=False).returncode == 0)
        log = open(os.path.join(work, "editor.log"), "w")
        editor = subprocess.Popen([executable], cwd=work, env=env, stdout=log, stderr=log)

        main = wait_for("the main window opens", window_named(env, "Verosta editor"))
        focus(env, main)

        keys(env, "ctrl+n")
        dialog = wait_for("Ctrl+N opens the New Program dialog", window_named(env, "New Program"))
        focus(env, dialog)
        keys(env, "ctrl+a")
        type_text(env, "journey")
        keys(env, "Return")
        page = os.path.join(folder, "journey.web")
        wait_for("New Program writes journey.web", lambda: os.path.exists(page))
        wait_for("the dialog closes", lambda: not window_named(env, "New Program")())

        if quick:
            focus(env, main)
            keys(env, "alt+f", "Up", "Return")
            wait_for("File > Exit ends the program", lambda: editor.poll() is not None)
            if not os.path.exists(settings) or os.path.exists(os.path.join(folder, "Verosta.ini")):
                raise JourneyError("Verosta.ini was not written in the configuration folder only")
            if listing(program_folder) != before:
                raise JourneyError("the program folder changed")
            return

        focus(env, main)
        # The empty line inside <body> of the HTML5 template.
        keys(env, "ctrl+Home", "Down", "Down", "Down", "Down", "Down", "Down", "Down")
        keys(env, "alt+i")
        # Include menu: Comment, External Style Sheet, Header, Text File, Form, Tables.
        keys(env, "Down", "Down", "Down", "Down", "Down", "Return")
        tables = wait_for("Include > Tables opens the Tables dialog", window_named(env, "Tables"))
        focus(env, tables)
        keys(env, "Return")
        wait_for("the Tables dialog closes", lambda: not window_named(env, "Tables")())

        focus(env, main)
        keys(env, "ctrl+s")
        wait_for("Ctrl+S saves the table into journey.web",
                 lambda: b"<table" in open(page, "rb").read())

        keys(env, "ctrl+r")
        create = wait_for("Ctrl+R opens the Create Web Page dialog", window_named(env, "Create Web Page"))
        focus(env, create)
        keys(env, "Return")
        html = os.path.join(folder, "journey.html")
        wait_for("Ok creates journey.html", lambda: os.path.exists(html) and os.path.getsize(html) > 0)
        keys(env, "Escape")
        wait_for("the Create Web Page dialog closes", lambda: not window_named(env, "Create Web Page")())

        focus(env, main)
        keys(env, "alt+f", "Up", "Return")
        wait_for("File > Exit ends the program", lambda: editor.poll() is not None)

        checks = {
            "journey.web holds the HTML5 page and the table":
                lambda: b"<!DOCTYPE" in open(page, "rb").read() and b"Cell 1" in open(page, "rb").read(),
            "journey.bak is the backup of journey.web":
                lambda: open(os.path.join(folder, "journey.bak"), "rb").read() == open(page, "rb").read(),
            "journey.html holds the translated table":
                lambda: b"Cell 1" in open(html, "rb").read(),
            "Verosta.ini records journey.web in the session list":
                lambda: re.search(rb"\r\nFile0[0-3][0-9] " + re.escape(page.encode()) + rb"\r\n",
                                  open(settings, "rb").read()) is not None,
        }
        checks["the program folder is unchanged"] = lambda: listing(program_folder) == before
        for what, check in checks.items():
            try:
                ok = check()
            except OSError as e:
                raise JourneyError(f"{what}: {e}")
            if not ok:
                shown = open(page, "rb").read()[:400] if os.path.exists(page) else b"(missing)"
                raise JourneyError(f"check failed: {what}; journey.web begins {shown!r}")
    except JourneyError:
        log_path = os.path.join(work, "editor.log")
        if os.path.exists(log_path):
            sys.stderr.write(open(log_path, errors="replace").read()[-2000:])
        raise
    finally:
        if editor and editor.poll() is None:
            editor.send_signal(signal.SIGKILL)
        xvfb.terminate()
        xvfb.wait()
        shutil.rmtree(work, ignore_errors=True)


def main():
    args = [a for a in sys.argv[1:] if not a.startswith("--")]
    try:
        journey(args[0], quick="--quick" in sys.argv[1:])
    except JourneyError as e:
        print(f"journey failed: {e}", file=sys.stderr)
        return 1
    print("journey passed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
