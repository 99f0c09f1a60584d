"""Drives a real cmd shell under Wine through the c.bat wrapper."""
import os
import time

import pexpect
import pyte

DEMO = os.environ["VANTOR_DEMO_DIR"]
BIN = "Z:" + os.path.join(DEMO, "bin").replace("/", "\\")
TEMP = "Z:" + os.path.join(DEMO, "temp").replace("/", "\\")


def run_in_cmd(title, lines, keys=()):
    """Runs `lines` in one cmd shell in a terminal, typing `keys` when asked."""
    driver = os.path.join(DEMO, "driver.bat")
    with open(driver, "w", newline="\r\n") as out:
        out.write("@echo off\n")
        out.write(f"set TEMP={TEMP}\n")
        out.write(f"set PATH={BIN};%PATH%\n")
        for line in lines:
            out.write(line + "\n")
    print(f"\n== {title}")
    screen = pyte.Screen(80, 25)
    stream = pyte.ByteStream(screen)
    child = pexpect.spawn("wine", ["cmd", "/c", "Z:" + driver.replace("/", "\\")],
                          dimensions=(25, 80), timeout=20)
    for prompt, key in keys:
        child.expect_exact(prompt.encode())
        stream.feed(child.before + child.after)
        time.sleep(0.3)
        child.send(key)
    child.expect(pexpect.EOF)
    stream.feed(child.before)
    child.close()
    lines = [line.rstrip() for line in screen.display]
    while lines and not lines[-1]:
        lines.pop()
    print("\n".join(lines))


run_in_cmd("c usr  (a misspelt name: the nearest directory wins)",
           ["cd /d S:\\", "echo shell is in %CD%", "call c usr", "echo shell is now in %CD%"])
run_in_cmd("c pr\\co  (two matches: the menu, then key b)",
           ["cd /d S:\\", "echo shell is in %CD%", "call c pr\\co", "echo shell is now in %CD%"],
           keys=[("Escape to exit)?", "b")])
run_in_cmd("c \\w\\p\\v\\t  (abbreviations over four levels)",
           ["cd /d S:\\Users", "call c \\w\\p\\v\\t", "echo shell is now in %CD%"])
run_in_cmd("c -  (back to the previous directory)",
           ["cd /d S:\\Windows\\Temp", "call c \\users", "echo shell is in %CD%", "call c -",
            "echo shell is now in %CD%"])
