# SPDX-FileCopyrightText: 2026 The Kelvane developers
# SPDX-License-Identifier: MIT
"""What the screen-reader checks share: their lines of results, waiting for a condition, and memory
that comes and goes."""

import subprocess
import sys
import time

failures = 0


def check(description, passed, detail=""):
    global failures
    print(("ok - " if passed else "FAILED - ") + description + (f" ({detail})" if detail else ""),
          flush=True)
    failures += 0 if passed else 1


def eventually(condition, timeout=60, wait=time.sleep):
    """The condition's first true answer, or None when the time runs out on a loaded machine; an
    object that went away while it was asked answers None. `wait` passes the time between."""
    end = time.monotonic() + timeout
    while True:
        try:
            answer = condition()
        except Exception:
            answer = None
        if answer or time.monotonic() > end:
            return answer
        wait(0.05)


def churn_memory(megabytes, period):
    """A process that takes and gives back `megabytes` of memory every `period` seconds."""
    return subprocess.Popen([sys.executable, "-c", f"""
import time
while True:
    block = bytearray({megabytes} << 20)
    for at in range(0, len(block), 4096):
        block[at] = 1
    time.sleep({period / 2})
    del block
    time.sleep({period / 2})
"""])
