"""A program in a pseudo-terminal, its screen read through pyte."""

import time

import pexpect
import pyte

DEFAULT_TIMEOUT = 20

# Lines a driver made by `Vantor.shell_lines` prints after the wrapper.
CD_MARK = "@@vantor-e2e-cd"
RC_MARK = "@@vantor-e2e-rc"

# Colours as the console attributes the program sets; pyte sees Wine's
# translation of them (10 -> ESC[92m, 12 -> ESC[91m, 14 -> ESC[93m, 7 -> ESC[m).
PYTE_COLOUR = {("green", True): 10, ("red", True): 12, ("brown", True): 14,
               ("default", False): 7}


class Keys:
    """Byte sequences a pseudo-terminal sends for keys Wine turns into key
    records. Never send "\\n": Wine reads it as Ctrl+Enter."""
    ENTER = "\r"
    TAB = "\t"
    ESC = "\x1b"  # arrives as character 0, virtual key 27 (Windows gives 27)
    UP = "\x1b[A"
    DOWN = "\x1b[B"
    RIGHT = "\x1b[C"
    LEFT = "\x1b[D"
    PGUP = "\x1b[5~"
    PGDN = "\x1b[6~"
    HOME = "\x1b[H"
    END = "\x1b[F"
    F1 = "\x1bOP"
    SHIFT_UP = "\x1b[1;2A"
    # Wine raises Ctrl+C as a console control event in every input mode,
    # never as a key record; the program turns it into the key while it
    # reads keys raw (Windows gives the key itself then).
    CTRL_C = "\x03"


class Console:
    """A program (or cmd) in a pseudo-terminal with a pyte screen."""

    def __init__(self, child, rows, cols, owner=None):
        self.child = child
        self.screen = pyte.Screen(cols, rows)
        self.stream = pyte.ByteStream(self.screen)
        self.raw = b""
        self.exitcode = None
        self.owner = owner

    def pump(self, timeout=0.05):
        """Feed whatever output has arrived to the screen; False at EOF."""
        try:
            data = self.child.read_nonblocking(65536, timeout=timeout)
        except pexpect.TIMEOUT:
            return True
        except pexpect.EOF:
            return False
        self.raw += data
        self.stream.feed(data)
        return True

    def send(self, *keys, pause=0.05):
        """Send keys one after another; pause after each (Wine needs ~50 ms
        to tell a lone ESC from the start of an escape sequence)."""
        for key in keys:
            # The pty speaks UTF-8 (the locale); Wine turns it into key records.
            self.child.send(key.encode("utf-8") if isinstance(key, str) else key)
            time.sleep(pause)
            self.pump(0)

    def wait_quiet(self, quiet=0.4, timeout=DEFAULT_TIMEOUT):
        """Wait until no output has come for `quiet` seconds, that is until
        the program has drawn all that the keys sent so far made it draw;
        return the screen then."""
        deadline = time.monotonic() + timeout
        seen = len(self.raw)
        still_since = time.monotonic()
        while time.monotonic() - still_since < quiet:
            if time.monotonic() > deadline:
                raise AssertionError("the screen kept changing for %ss:\n%s"
                                     % (timeout, self.screen_text()))
            if not self.pump(0.05):
                break
            if len(self.raw) != seen:
                seen = len(self.raw)
                still_since = time.monotonic()
        return self.screen_text()

    @property
    def display(self):
        return list(self.screen.display)

    def screen_text(self):
        return "\n".join(line.rstrip() for line in self.display)

    def find(self, text):
        """(row, col) of the first occurrence of text on the screen, or None."""
        for row, line in enumerate(self.display):
            col = line.find(text)
            if col >= 0:
                return row, col
        return None

    def wait_text(self, text, timeout=DEFAULT_TIMEOUT):
        """Wait until text shows on the screen; return its (row, col)."""
        deadline = time.monotonic() + timeout
        while True:
            pos = self.find(text)
            if pos:
                return pos
            if time.monotonic() > deadline or not self.pump(0.1):
                pos = self.find(text)
                if pos:
                    return pos
                raise AssertionError("%r not on screen after %ss:\n%s"
                                     % (text, timeout, self.screen_text()))

    def attr(self, row, col):
        """The console attribute (7, 10, 12, 14, ...) of a cell."""
        cell = self.screen.buffer[row][col]
        return PYTE_COLOUR.get((cell.fg, cell.bold), (cell.fg, cell.bold))

    def attr_of(self, text):
        """The attribute of the first character of text on the screen."""
        pos = self.find(text)
        if pos is None:
            raise AssertionError("%r not on screen:\n%s" % (text, self.screen_text()))
        return self.attr(*pos)

    def wait_exit(self, timeout=DEFAULT_TIMEOUT):
        """Wait for the process to end; return its exit code."""
        deadline = time.monotonic() + timeout
        while self.pump(0.1):
            if time.monotonic() > deadline:
                self.child.terminate(force=True)
                raise AssertionError("process still running after %ss:\n%s"
                                     % (timeout, self.screen_text()))
        self.child.close()
        self.exitcode = self.child.exitstatus
        if self.exitcode is None:
            self.exitcode = -self.child.signalstatus
        return self.exitcode

    def shell_outcome(self):
        """(errorlevel, directory) printed by a driver made with
        `Vantor.shell_lines`, read from the screen after the run."""
        lines = [line.rstrip() for line in self.display]
        code = next(int(line.split("=", 1)[1]) for line in lines if line.startswith(RC_MARK))
        return code, lines[lines.index(CD_MARK) + 1]

    def close(self):
        if self.child.isalive():
            self.child.terminate(force=True)
