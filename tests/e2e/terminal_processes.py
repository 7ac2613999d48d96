"""What the terminal tests read from the system: the terminal's local modes,
the signals that end a run, and the processes below a run or in its folder
(from /proc)."""

import os
import signal



LFLAG = 3


# Every signal whose default course ends a process, short of the keyboard's
# and SIGKILL: each ends the whole run.
ENDING_SIGNALS = (signal.SIGTERM, signal.SIGHUP, signal.SIGPIPE, signal.SIGUSR1, signal.SIGUSR2,
                  signal.SIGALRM, signal.SIGVTALRM, signal.SIGPROF, signal.SIGXCPU, signal.SIGXFSZ)


def descendants(pid):
    """The processes below `pid`, from /proc."""
    parents = {}
    for entry in os.listdir("/proc"):
        try:
            with open("/proc/%s/stat" % entry) as f:
                parents[int(entry)] = int(f.read().rsplit(")", 1)[1].split()[1])
        except (OSError, IndexError, ValueError):
            continue
    found, frontier = [], [pid]
    while frontier:
        children = [child for child, parent in parents.items() if parent in frontier]
        found += children
        frontier = children
    return found


def processes_in(folder):
    """The processes whose current folder is `folder`, from /proc."""
    found = []
    for entry in os.listdir("/proc"):
        try:
            if entry.isdigit() and os.readlink("/proc/%s/cwd" % entry) == os.path.realpath(folder):
                found.append(int(entry))
        except OSError:
            continue
    return [pid for pid in found if alive(pid)]


def command_name(pid):
    try:
        with open("/proc/%d/comm" % pid) as f:
            return f.read().strip()
    except OSError:
        return None


def alive(pid):
    """True while the process exists and is no zombie."""
    try:
        with open("/proc/%d/stat" % pid) as f:
            return f.read().rsplit(")", 1)[1].split()[0] != "Z"
    except OSError:
        return False
