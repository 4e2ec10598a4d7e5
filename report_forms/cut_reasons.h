// How each form names the reason a report was cut short: the JSON's
// "reason" and the words of the --all title.
#pragma once

#include "report_values.h"

// "input-ended", "too-long", "timeout", "error", "interrupted", "no-ok"; null for
// CutReason::None.
const char* cutReasonName(CutReason reason);
// "the input ended before its OK", ...; null for CutReason::None.
const char* cutReasonWords(CutReason reason);
