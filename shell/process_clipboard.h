// The Process Clipboard command: decodes the clipboard into the message
// buffer, shows the report and names the clipboard in the source pane.
//
// Reading the clipboard can wait on its owner, and a viewer's change
// notification may arrive meanwhile and ask for Process Clipboard again from
// inside the run. A second run into the same buffer would mix two reports,
// so the guard only notes the change, and the run under way decodes again.
#pragma once

struct DecodingGuard {
    bool decoding = false;          // a decoding run is under way
    bool changedMeanwhile = false;  // the clipboard changed during it
};
extern DecodingGuard decodingGuard;

void processClipboard();
