// The window program's state records.

#include "shell_state.h"

StartupState startupState;
WindowState windowState;
ViewerState viewerState;
DecodingGuard decodingGuard;
LogFileState logFileState;
