"""Programs the tests put in place, written by another process: a child
forked meanwhile by another test (the tests run side by side) would hold a
descriptor of ours open for writing until its exec, and the program would be
"Text file busy" to run."""

import os
import subprocess
import tempfile


def copy_program(source, target):
    """Copies a program (into a folder, or as a file) and gives the copy's
    path. `cp` writes it, so this process never holds the copy open for
    writing: tests run side by side, and a child forked meanwhile by another
    thread would keep such a descriptor until its exec, making the program
    "Text file busy" (ETXTBSY) to run."""
    if os.path.isdir(target):
        target = os.path.join(target, os.path.basename(source))
    subprocess.run(["cp", "-p", source, target], check=True)
    return target


def write_program(path, data, mode=0o755):
    """Writes a program (a script) as copy_program puts one in place."""
    handle, draft = tempfile.mkstemp(prefix="sympack-e2e-program-")
    try:
        with os.fdopen(handle, "wb") as f:
            f.write(data.encode("utf-8") if isinstance(data, str) else data)
        os.chmod(draft, mode)
        copy_program(draft, path)
    finally:
        os.remove(draft)
    return path
