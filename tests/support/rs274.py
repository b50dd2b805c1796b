"""LinuxCNC's standalone interpreter, rs274, run one at a time on this machine.

Instances running at once share its state and die of SIGBUS now and then (seen with six at
once by hand, and once under ctest -j2), so every check reads its program through run(), which
holds one lock file while rs274 runs. Returns subprocess.run's result (stdin closed); keyword
arguments go to subprocess.run."""
import fcntl
import os
import subprocess
import tempfile

LOCK = os.path.join(tempfile.gettempdir(), "kerfline-rs274.lock")


def run(path, **kwargs):
    with open(LOCK, "a") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        return subprocess.run(["rs274", "-g", path], stdin=subprocess.DEVNULL, **kwargs)
