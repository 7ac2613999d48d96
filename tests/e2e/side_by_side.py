"""Runs the tests of the modules named on the command line side by side, as
many at a time as the runner allows (its runs_at_once): an end-to-end test
spends most of its time waiting for the tool (its closing pause, a terminal's
answer), not computing. Each test reports into a result of its own; the
reports follow in the order of the tests, in unittest's words, and the exit
status is unittest's: 0 when every test passed or was skipped.

    python3 side_by_side.py test_terminal_modes [test_input ...]
"""

import concurrent.futures
import io
import sys
import time
import unittest

import harness


def each_test(suite):
    for item in suite:
        if isinstance(item, unittest.TestSuite):
            yield from each_test(item)
        else:
            yield item


def runs_at_once():
    try:
        return harness.make_runner().runs_at_once
    except unittest.SkipTest:
        return 1  # the tests skip themselves, one after another


def run_one(test):
    stream = io.StringIO()
    result = unittest.TextTestResult(unittest.runner._WritelnDecorator(stream), True, 2)
    test(result)
    if not result.wasSuccessful():
        result.printErrors()
    return result, stream.getvalue()


def main(names):
    tests = list(each_test(unittest.defaultTestLoader.loadTestsFromNames(names)))
    began = time.monotonic()
    workers = max(1, min(len(tests), runs_at_once()))
    with concurrent.futures.ThreadPoolExecutor(max_workers=workers) as pool:
        outcomes = list(pool.map(run_one, tests))
    passed = True
    for result, report in outcomes:
        sys.stderr.write(report)
        passed = passed and result.wasSuccessful()
    failed = sum(len(r.failures) + len(r.errors) + len(r.unexpectedSuccesses) for r, _ in outcomes)
    skipped = sum(len(r.skipped) for r, _ in outcomes)
    sys.stderr.write("-" * 70 + "\nRan %d tests in %.3fs, %d at a time\n\n%s\n"
                     % (len(tests), time.monotonic() - began, workers,
                        "OK" + (" (skipped=%d)" % skipped if skipped else "") if passed
                        else "FAILED (failures and errors=%d)" % failed))
    return 0 if passed else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
