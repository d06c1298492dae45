#!/usr/bin/env python3
"""Runs corvane.exe under Wine on a pseudo-terminal of 80 x 25, as a user at
a terminal would: Wine's console then draws Corvane's console screen buffer
on it. Checks that the main screen of the project editor appears, that Esc
then ends the run with exit status 1, and that no file was written.

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

wine, program, directory = sys.argv[1:4]
os.makedirs(directory, exist_ok=True)
with open(os.path.join(directory, "hello.cpp"), "w") as source:
    source.write("int main()\n{\n}\n")

pid, terminal = pty.fork()
if pid == 0:
    os.chdir(directory)
    os.environ["TERM"] = "xterm"
    os.execv(wine, [wine, program])

fcntl.ioctl(terminal, termios.TIOCSWINSZ, struct.pack("HHHH", 25, 80, 0, 0))
shown = b""


def read_for(seconds, until=None):
    """Collects the terminal output; stops early once `until` shows."""
    global shown
    deadline = time.time() + seconds
    while time.time() < deadline:
        ready, _, _ = select.select([terminal], [], [], 0.2)
        if ready:
            try:
                data = os.read(terminal, 65536)
            except OSError:
                return False
            if not data:
                return False
            shown += data
        if until and until in plain_text():
            return True
    return False


def plain_text():
    """The output without escape sequences, as one text."""
    text = re.sub(rb"\x1b\[[0-9;?]*[A-Za-z]|\x1b[()][0-9A-Za-z]|\x1b[=>]", b"", shown)
    return text.decode("utf-8", "replace")


def exit_status(seconds):
    deadline = time.time() + seconds
    while time.time() < deadline:
        read_for(0.2)
        done, status = os.waitpid(pid, os.WNOHANG)
        if done:
            return os.waitstatus_to_exitcode(status)
    os.kill(pid, 9)
    os.waitpid(pid, 0)
    return None


ok = True
# A project file that exists would be asked about first; there is none, so
# the main screen follows the title directly.
if not read_for(60, until="O P T I O N S"):
    print("    the main screen did not appear; the terminal showed:")
    print("    " + plain_text()[-2000:].replace("\n", "\n    "))
    ok = False
for expected in ["(a)", "Debug", "Console", "hello.exe", "Makefile.b"]:
    if expected not in plain_text():
        print("    missing on the main screen: " + expected)
        ok = False
# The line character (code page 437 byte 196) arrives as U+2500.
if "\u2500" not in plain_text():
    print("    the line characters of the main screen are missing")
    ok = False
os.write(terminal, b"\x1b")
status = exit_status(30)
if status != 1:
    print("    exit status after Esc: %s (1 expected)" % status)
    ok = False
left = sorted(os.listdir(directory))
if left != ["hello.cpp"]:
    print("    files after Esc: %s" % left)
    ok = False
sys.exit(0 if ok else 1)
