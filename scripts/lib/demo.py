"""Drives a real cmd shell under Wine through the c.bat wrapper."""
import os
import sys
import time

import pexpect

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
    child = pexpect.spawn("wine", ["cmd", "/c", "Z:" + driver.replace("/", "\\")],
                          dimensions=(25, 80), encoding="cp437", timeout=20)
    for prompt, key in keys:
        child.expect_exact(prompt)
        time.sleep(0.3)
        child.send(key)
    child.expect(pexpect.EOF)
    sys.stdout.write(child.before.replace("\x1b[?25l", "").replace("\x1b[?25h", ""))
    child.close()


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
