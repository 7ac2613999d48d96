"""What the run-completion tests share: the include file and clipboard text
they expect, and OutcomeCase (a run with the message on
the command line and a destination typed)."""

import golden
from harness import DESTINATION_PROMPT, E2ETestCase


MESSAGE = b"CQ K1ABC FN42"
INCLUDE_TEXT = golden.include_text(MESSAGE)
INCLUDE_FILE = INCLUDE_TEXT + b"\r\n"

class OutcomeCase(E2ETestCase):

    def finish(self, destination="", args=("cq k1abc fn42",), fake="fake_good_report", env=None):
        """A run with the message on the command line and `destination`
        typed at its prompt."""
        self.install(fake)
        run = self.full_run(args=args, destination=destination,
                            env=self.environment(**(env or {})))
        self.assert_default_colours_at_end(run)
        return run

    def rows_after_prompt(self, run):
        rows = run.transcript()
        at = max(i for i, row in enumerate(rows) if row.startswith(DESTINATION_PROMPT.rstrip()))
        return at, rows[at + 1:]
