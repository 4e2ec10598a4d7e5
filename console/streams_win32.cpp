// The console's streams on Windows: the C runtime's share flags and modes.

#include <fcntl.h>
#include <io.h>
#include <share.h>

#include "streams.h"

std::FILE* openLog(const std::string& path) {
    return _fsopen(path.c_str(), "rt", _SH_DENYWR);
}

void writeStandardOutputAsIs() {
    _setmode(_fileno(stdout), _O_BINARY);
}
