#!/usr/bin/env python3
"""Runs corvane.exe under Wine on a pseudo-terminal of 80 x 25, as a user at
a terminal would: Wine's console then draws Corvane's console screen buffer
on it and turns the terminal's keys into console key events. Two runs:

1. The main screen of the project editor appears (with its line characters,
   code page 437 byte 196), and Esc ends the run with status 1 and no file.
2. A whole session typed key by key: an option toggled, the sources screen
   and back with the arrow keys, Enter, the compiler directory typed over the
   field's text; the run ends with status 0 and writes both files.
3. The usage screen for "/?" stays until a key is pressed; status 0.
4. An interrupt ends the run with neither status 0 nor 1, writing nothing.

The compiler directory C:\\BCC55 must exist in the Wine prefix (WINEPREFIX).

    wine-pty-check.py WINE CORVANE_EXE WORK_DIRECTORY
"""
import fcntl
import os
import pty
import re
import select
import struct
import sys
import termios
import time

wine, program, base = sys.argv[1:4]
program = os.path.abspath(program)


class Session:
    """corvane.exe under Wine on a new pseudo-terminal, in a directory."""

    def __init__(self, directory, arguments=()):
        self.directory = directory
        os.makedirs(directory, exist_ok=True)
        with open(os.path.join(directory, "hello.cpp"), "w") as source:
            source.write("int main()\n{\n}\n")
        self.pid, self.terminal = pty.fork()
        if self.pid == 0:
            os.chdir(directory)
            os.environ["TERM"] = "xterm"
            os.execv(wine, [wine, program] + list(arguments))
        fcntl.ioctl(self.terminal, termios.TIOCSWINSZ, struct.pack("HHHH", 25, 80, 0, 0))
        self.shown = b""
        self.mark = 0

    def read_for(self, seconds, until=None):
        """Collects output; stops early once `until` shows after the mark."""
        deadline = time.time() + seconds
        while time.time() < deadline:
            ready, _, _ = select.select([self.terminal], [], [], 0.2)
            if ready:
                try:
                    data = os.read(self.terminal, 65536)
                except OSError:
                    data = b""
                if not data:
                    return until is None
                self.shown += data
            if until and until in self.text(self.mark):
                return True
        return until is None

    def text(self, start=0):
        """The output from byte `start` on, without escape sequences."""
        raw = self.shown[start:]
        raw = re.sub(rb"\x1b\[[0-9;?]*[A-Za-z]|\x1b[()][0-9A-Za-z]|\x1b[=>]", b"", raw)
        return raw.decode("utf-8", "replace")

    def press(self, keys, expect=None, seconds=30):
        """Sends keys; with expect, waits until that text is drawn."""
        self.mark = len(self.shown)
        os.write(self.terminal, keys)
        if expect is None:
            self.read_for(1)
            return True
        if self.read_for(seconds, until=expect):
            return True
        print("    after %r, %r did not appear; the terminal showed:" % (keys, expect))
        print("    " + self.text(self.mark)[-1500:].replace("\n", "\n    "))
        return False

    def wait_for(self, text, seconds=60):
        self.mark = 0
        if self.read_for(seconds, until=text):
            return True
        print("    %r did not appear; the terminal showed:" % text)
        print("    " + self.text()[-1500:].replace("\n", "\n    "))
        return False

    def exit_status(self, seconds=30):
        deadline = time.time() + seconds
        while time.time() < deadline:
            self.read_for(0.2)
            done, status = os.waitpid(self.pid, os.WNOHANG)
            if done:
                return os.waitstatus_to_exitcode(status)
        os.kill(self.pid, 9)
        os.waitpid(self.pid, 0)
        return None

    def files(self):
        return sorted(os.listdir(self.directory))

    def content(self, name):
        with open(os.path.join(self.directory, name), "rb") as file:
            return file.read()


def check(condition, message):
    if not condition:
        print("    " + message)
    return condition


def main_screen_then_esc():
    session = Session(os.path.join(base, "esc"))
    # No project file, so no question: the main screen follows the title.
    ok = session.wait_for("O P T I O N S")
    for expected in ["(a)", "Debug", "Console", "hello.exe", "Makefile.b"]:
        ok = check(expected in session.text(), "missing on the main screen: " + expected) and ok
    # Code page 437 byte 196 arrives on the terminal as U+2500.
    ok = check("\u2500" in session.text(), "the line characters are missing") and ok
    session.press(b"\x1b")
    status = session.exit_status()
    ok = check(status == 1, "exit status after Esc: %s (1 expected)" % status) and ok
    return check(session.files() == ["hello.cpp"], "files after Esc: %s" % session.files()) and ok


def whole_session():
    session = Session(os.path.join(base, "session"))
    ok = (session.wait_for("O P T I O N S")
          and session.press(b"k", expect="hello.dll")          # DLL on
          and session.press(b"\x1b[C", expect="P R O J E C T")  # Right: sources screen
          and session.press(b"\x1b[D", expect="O P T I O N S")  # Left: back
          and session.press(b"\r", expect="Enter path"))        # the compiler prompt
    if ok:
        session.press(b"\x7f")  # Backspace empties the field
        session.press(b"C:\\BCC55")
        session.press(b"\r")
    status = session.exit_status()
    ok = check(status == 0, "exit status of the session: %s (0 expected)" % status) and ok
    files = session.files()
    ok = check(files == ["Makefile.b", "Project.gen", "hello.cpp"], "files: %s" % files) and ok
    if ok:
        ok = check(b"\r\noption DLL         ON " in session.content("Project.gen"),
                   "the project file does not have DLL ON") and ok
        ok = check(b"\r\nBCDIR = C:\\BCC55\r\n" in session.content("Makefile.b"),
                   "the makefile does not name C:\\BCC55") and ok
    return ok


def usage_screen():
    session = Session(os.path.join(base, "usage"), ["/?"])
    ok = session.wait_for("[project_filename] [/?]")
    session.press(b" ")
    status = session.exit_status()
    return check(status == 0, "exit status after the usage screen: %s (0 expected)" % status) and ok


def interrupted():
    session = Session(os.path.join(base, "interrupted"))
    ok = session.wait_for("O P T I O N S")
    # Wine's console on a terminal turns Ctrl-C into an interrupt (on a
    # Windows console it is an ordinary key, and Ctrl-Break interrupts).
    session.press(b"\x03")
    status = session.exit_status()
    ok = check(status not in (0, 1, None), "exit status after an interrupt: %s" % status) and ok
    return check(session.files() == ["hello.cpp"], "files after an interrupt: %s" % session.files()) and ok


results = [main_screen_then_esc(), whole_session(), usage_screen(), interrupted()]
sys.exit(0 if all(results) else 1)
