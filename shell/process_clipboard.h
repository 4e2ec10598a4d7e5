// The Process Clipboard command, and the guard every decoding run of the
// window goes through.
//
// Reading the clipboard can wait on its owner, and a viewer's change
// notification may arrive meanwhile and ask for Process Clipboard from
// inside the run. That happens whenever a run reads the clipboard: Process
// Clipboard's, and a log file's that is a character device. A second run
// into the same buffer would mix two reports, so the guard (shell_state.h)
// only notes the change, and the run under way decodes again.
#pragma once

#include <cstdio>

#include "output_writer.h"

// Empties the message buffer and decodes file into it -- the clipboard
// when file is null or a character device (a console, a serial port, the
// null device), as the window always read those -- again when the
// clipboard changed meanwhile. False, with nothing done,
// when called from inside another run.
bool decodeGuarded(std::FILE* file, const TextSettings& text);

// Decodes the clipboard, shows the report and names the clipboard in the
// source pane.
void processClipboard(const TextSettings& text);
