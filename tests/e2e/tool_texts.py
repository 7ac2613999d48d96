"""The tool's own texts and exit codes, as the tests expect them."""




BLANK_LINE = ""
BANNER = "Generates FST4[W] Symbols in correct format for PIC .ASM file  "
SIMULATOR_LINE = "Calls FST4SIM.EXE    "
SIMULATOR_MISSING = "FST4SIM.EXE is not present.  Ensure this is in the same directory as SYMPACK"
DOWNLOAD_HINT = "Visit the WSJT-X SOurce Website for full download"
MESSAGE_PROMPT = "Message  "
NO_REPORT = "No Temp file created"
DESTINATION_PROMPT = "Destination file ( FST4.INC )   "
NO_LISTING = "The simulator's report holds no channel symbols: no include file written"
FOLDER_BUSY = "Another SYMPACK is running in this folder.  Wait for it to finish, then try again"
OLD_REPORT = "FST4TEMP.TXT from an earlier run cannot be removed.  Remove it, then try again"
REPORT_FOLDER_REFUSES = "FST4TEMP.TXT cannot be created: this folder cannot be written to"
CONTROL_CHARACTER = "The message holds a control character (CR, LF, tab...): nothing was run"
COMMAND_TOO_LONG = "The message is too long for the interpreter's 8191 characters: nothing was run"
NOT_IN_CODE_PAGE = "The message has a character the code page cannot hold: nothing was run"
DESTINATION_CONTROL_CHARACTER = "The destination holds a control character (tab...): nothing was written"
DESTINATION_NOT_IN_CODE_PAGE = "The destination's name has a character the code page cannot hold"
BAD_MESSAGE = "The simulator's report says the symbols carry no message: no include file written"
INTERRUPTED = "The run was interrupted: no include file written"
INSTALLED_SIMULATOR = "No FST4SIM.EXE in this folder: calls "


def wrong_symbol_count(count):
    return "The simulator's listing holds %d characters, not 160 symbols 0 to 3: no include file written" % count


def other_text(carried):
    return 'The symbols carry "%s", not the message as typed' % carried


def written_line(name):
    return "Symbols written to %s  and copied to Clipboard " % name


def not_written_line(name):
    return "Symbols not written to %s  but copied to Clipboard " % name


def run_output_line(name):
    """Why nothing goes to a file the run's own output is redirected into."""
    return "%s is where this run's output goes: send the output elsewhere" % name


REPORT_IS_OUTPUT = run_output_line("FST4TEMP.TXT")


def simulator_refused_line(name):
    """Why the include file never goes under the simulator's names."""
    return "%s is the simulator, or would run in its place: choose another name" % name


def report_refused_line(name):
    """Why the include file never goes under the report's name."""
    return "%s is the simulator's report, removed at the end: use another name" % name


# Why the system did not take the include file, after its name.
BAD_NAME = " holds * or ?, which no file name may: choose another name"
IS_FOLDER = " is a folder: name a file"
IS_READ_ONLY = " is read-only: it stays as it was"
NO_FOLDER = " is in a folder that does not exist"
NAME_TOO_LONG = " is a longer name than the system takes (it is never cut)"
NOBODY_READS = " is a pipe that nobody reads"
TIMED_OUT = " did not take the text within 3 seconds"
NO_SPACE = ": no space left on the disk; an earlier file stays as it was"
SIZE_LIMIT = ": over this process's file-size limit; an earlier file stays as it was"
RESERVED_NAME = " is a Windows device name, whatever its extension: choose another name"
HELD_OPEN = " is open for writing in another program: close it, then try again"


def interpreter_line(path, after):
    """Why the interpreter made no report (after NO_REPORT)."""
    return "The command interpreter %s%s" % (path, after)


INTERPRETER_NOT_FOUND = " was not found"
INTERPRETER_NOT_RUNNABLE = " cannot be run (not a program, or no permission)"
INTERPRETER_MADE_NO_REPORT = " ran, but made no FST4TEMP.TXT"
NO_INTERPRETER = "COMSPEC is not set: there is no command interpreter to run the simulator"


def simulator_failed(line, exit_code):
    """An outcome line when the simulator ended with a non-zero exit code."""
    return line + " (FST4SIM.EXE ended with exit code %d: the listing may be incomplete)" % exit_code


# Exactly as the tool writes them (the report's "Message: " is not the prompt).
OWN_TEXTS = [BANNER, SIMULATOR_LINE, SIMULATOR_MISSING, DOWNLOAD_HINT, MESSAGE_PROMPT,
             NO_REPORT, DESTINATION_PROMPT, NO_LISTING, FOLDER_BUSY, OLD_REPORT, REPORT_IS_OUTPUT,
             REPORT_FOLDER_REFUSES, CONTROL_CHARACTER, COMMAND_TOO_LONG, BAD_MESSAGE,
             NOT_IN_CODE_PAGE, DESTINATION_CONTROL_CHARACTER, DESTINATION_NOT_IN_CODE_PAGE,
             INSTALLED_SIMULATOR, INTERRUPTED,
             "Symbols written to", "Symbols not written to", "Clipboard"]

# Exit codes (src/run/exit_codes.h, README)
EXIT_OK = 0
EXIT_SIMULATOR_MISSING = 2
EXIT_NO_REPORT = 3
EXIT_NO_LISTING = 4
EXIT_NOT_WRITTEN = 5
EXIT_FOLDER_BUSY = 6
EXIT_OLD_REPORT_STAYS = 7
EXIT_SIMULATOR_FAILED = 8
EXIT_OTHER_TEXT = 9
EXIT_BAD_MESSAGE = 10
EXIT_WRONG_SYMBOL_COUNT = 11
EXIT_CONTROL_CHARACTER = 12
EXIT_COMMAND_TOO_LONG = 13
EXIT_KEYBOARD_LOST = 129
