#!/usr/bin/env python3
"""talvo_s at a terminal, as a user meets it: an interactive bash on a
pseudo-terminal starts the driver as a foreground job, and the tools are
shell scripts first on PATH that read the terminal, write to it or tick into
a file. Every wait has a timeout, so a hang fails the test.

Usage: terminal_test.py TALVO_S_BINARY TOOLS_DIR
"""

import os
import pty
import re
import select
import shutil
import signal
import sys
import tempfile
import time
import unittest

BINARY = TOOLS = ""
TOOL_NAMES = ["lurin", "dravik", "talvoChk", "seltor", "nuvar", "pomsk", "kivard"]


class Terminal:
    """An interactive bash on a pseudo-terminal, in a scratch project."""

    def __init__(self, lurin):
        self.root = tempfile.mkdtemp(prefix="talvo_terminal.")
        self.project = os.path.join(self.root, "project")
        shadow = os.path.join(self.root, "shadow")
        os.makedirs(self.project)
        os.makedirs(shadow)
        os.makedirs(os.path.join(self.root, "talvo/libtalvo/include/stdinclude"))
        open(os.path.join(self.root, "talvo/libtalvo/include/stdinclude/stdio.h"), "w").close()
        with open(os.path.join(self.project, "a.c"), "w") as source:
            source.write("float a;\n")
        for name in TOOL_NAMES:  # lurin does what the test wants, then its real work
            body = lurin + '\nexec "$TOOLS/lurin" "$@"\n' if name == "lurin" else 'exec "$TOOLS/${0##*/}" "$@"\n'
            with open(os.path.join(shadow, name), "w") as tool:
                tool.write("#!/bin/sh\n" + body)
            os.chmod(os.path.join(shadow, name), 0o700)
        env = {"PATH": shadow + ":" + os.path.dirname(BINARY) + ":/usr/bin:/bin", "TOOLS": TOOLS,
               "TALVO": os.path.join(self.root, "talvo"), "HOME": self.root, "TERM": "dumb", "PS1": "READY> "}
        self.pid, self.fd = pty.fork()
        if self.pid == 0:
            os.chdir(self.project)
            os.execve("/bin/bash", ["bash", "--norc", "--noprofile", "-i"], env)
        self.seen = ""
        self.expect("READY> ")

    def close(self):
        os.kill(self.pid, signal.SIGHUP)  # bash passes it on to its jobs
        time.sleep(0.2)
        os.kill(self.pid, signal.SIGKILL)
        os.waitpid(self.pid, 0)
        os.close(self.fd)
        shutil.rmtree(self.root)

    def type(self, text):
        os.write(self.fd, text.encode())

    def expect(self, pattern, timeout=30):
        """Reads the terminal until `pattern` shows; returns the match."""
        deadline = time.monotonic() + timeout
        while True:
            found = re.search(pattern, self.seen)
            if found:
                self.seen = self.seen[found.end():]
                return found
            if time.monotonic() > deadline:
                raise AssertionError("no %r within %d s; the terminal shows:\n%s" % (pattern, timeout, self.seen))
            if select.select([self.fd], [], [], 0.1)[0]:
                self.seen += os.read(self.fd, 4096).decode(errors="replace")

    def file(self, name):
        try:
            with open(os.path.join(self.project, name)) as file:
                return file.read()
        except FileNotFoundError:
            return ""

    def wait_for(self, predicate, timeout=30):
        deadline = time.monotonic() + timeout
        while not predicate():
            if time.monotonic() > deadline:
                raise AssertionError("the tool did not get that far; the terminal shows:\n" + self.seen)
            time.sleep(0.05)


TICKING = "for i in $(seq 40); do echo t >>ticks; sleep 0.05; done"


class AtATerminal(unittest.TestCase):
    def terminal(self, lurin):
        term = Terminal(lurin)
        self.addCleanup(term.close)
        return term

    def test_a_tool_reads_a_typed_line_in_the_foreground_and_stops_the_job_in_the_background(self):
        for start in ["talvo_s a.c", "talvo_s a.c & until jobs -s | grep -q .; do sleep 0.1; done; jobs; fg"]:
            term = self.terminal('printf "answer? "; read -r answer; echo "$answer" >answer')
            term.type(start + '; echo "status=$?"\n')
            term.expect(r"answer\? ")
            if "&" in start:
                term.expect(r"Stopped.*talvo_s a\.c")
            term.type("yes\n")
            self.assertEqual(term.expect(r"status=(\d+)").group(1), "0", start)
            self.assertEqual(term.file("answer"), "yes\n")

    def test_a_tool_writes_with_tostop_set(self):
        term = self.terminal("echo progress of lurin")
        term.type('stty tostop; talvo_s a.c; echo "status=$?"\n')
        term.expect(r"progress of lurin")
        term.expect(r"status=0")

    def test_ctrl_z_stops_the_tool_and_fg_or_bg_resumes_the_whole_run(self):
        for resume in ["fg", "bg; wait"]:
            term = self.terminal(TICKING)
            term.type("talvo_s a.c\n")
            term.wait_for(lambda: term.file("ticks").count("t") >= 2)
            term.type("\x1a")
            term.expect(r"Stopped")
            ticks = term.file("ticks")
            time.sleep(0.5)
            self.assertEqual(term.file("ticks"), ticks, "the tool went on ticking while the job was stopped")
            term.type(resume + '; echo "status=$?"\n')
            self.assertEqual(term.expect(r"status=(\d+)").group(1), "0", resume)
            self.assertEqual(term.file("ticks").count("t"), 40)

    def test_a_tool_line_whose_shell_stops_alone_stops_the_job(self):
        term = self.terminal("kill -TSTP $PPID")
        term.type("talvo_s a.c\n")
        term.expect(r"Stopped +talvo_s a\.c")  # by SIGTSTP, as the shell was
        term.type('fg; echo "status=$?"\n')
        self.assertEqual(term.expect(r"status=(\d+)").group(1), "0")

    def test_ctrl_c_stops_a_loop_of_runs(self):
        term = self.terminal(": >started.$$; sleep 30")
        term.type("for i in 1 2 3; do talvo_s a.c; done\n")
        term.wait_for(lambda: any(name.startswith("started.") for name in os.listdir(term.project)))
        term.type("\x03")
        term.expect(r"READY> ")
        term.type('echo "status=$?"\n')
        self.assertEqual(term.expect(r"status=(\d+)").group(1), "130")
        self.assertEqual(len([name for name in os.listdir(term.project) if name.startswith("started.")]), 1)


if __name__ == "__main__":
    BINARY, TOOLS = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    unittest.main(argv=sys.argv[:1], verbosity=2)
