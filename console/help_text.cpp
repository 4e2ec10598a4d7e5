// What vexa-decode says about itself: its usage, its help and its version.

#include "options.h"
#include "version.h"

const char UsageText[] =
    "Usage: vexa-decode [+prefix | -prefix string | -noprefix] [--all] [--loose]\n"
    "                   [--json | --jsonl | --csv] [--lf] [--require-report]\n"
    "                   [--clipboard | --watch] [--] [file... | -]\n"
    "       vexa-decode [options] --port device [--baud rate]\n"
    "                   [--query command [--timeout seconds]]";

const char HelpText[] =
    "Decodes the modem diagnostic reports in log files, standard input, a serial\n"
    "port or the clipboard, and prints them as the vexa window shows them.\n"
    "\n"
    "  file...           the logs to read, each on its own; a device or a pipe is\n"
    "                    read as it comes; \"-\": standard input; no file and a\n"
    "                    terminal on standard input: the clipboard\n"
    "  --                every later argument is a file, whatever it looks like\n"
    "  +prefix           begin every output line with prefix and one space\n"
    "  -prefix text      the same, the next argument being the prefix\n"
    "  -noprefix         no prefix (the default)\n"
    "  --all             every report of each input, not only the first, each\n"
    "                    headed by \"Report N (line L)\"\n"
    "  --loose           a block marker anywhere in a line counts, as after a time\n"
    "                    stamp or a port tag; \"OK\" standing alone ends a report\n"
    "  --json            a JSON document (an array with --all or several files)\n"
    "  --jsonl           one compact JSON document a line, each written as soon as\n"
    "                    its report ends\n"
    "  --csv             one row a report: file, report, line, then one column per\n"
    "                    report line\n"
    "  --lf              end lines with LF instead of CR LF\n"
    "  --require-report  exit with 3 when an input holds no report\n"
    "  --clipboard       decode the clipboard even when standard input is no terminal\n"
    "  --watch           decode the clipboard, then again each time it changes,\n"
    "                    until interrupted (Ctrl+C)\n"
    "  --port device     read a serial port (raw, 8N1): COM3, /dev/ttyUSB0\n"
    "  --baud rate       its speed (default 115200)\n"
    "  --query command   send the command and CR, and decode the answer up to its\n"
    "                    OK or ERROR; there is no default command\n"
    "  --timeout seconds how long the answer may take (default 10)\n"
    "  --version         show the version\n"
    "  -h, --help        show this text\n"
    "\n"
    "On Linux the clipboard is read with wl-paste (Wayland) or xclip or xsel (X11).\n"
    "Exit codes: 0 done; 1 an input could not be opened or read, or a port query\n"
    "failed; 2 a command line that is not accepted; 3 with --require-report, an\n"
    "input without a report.";

const char VersionText[] = "vexa-decode " VEXA_VERSION " (Veltrano Diagnostics)";
