// The names of the reasons a report was cut short, in one table.

#include "cut_reasons.h"

namespace {

struct CutReasonText {
    CutReason reason;
    const char* name;
    const char* words;
};

const CutReasonText CutReasonTexts[] = {
    {CutReason::InputEnded, "input-ended", "the input ended before its OK"},
    {CutReason::TooLong, "too-long", "no OK after more than any report holds"},
    {CutReason::TimedOut, "timeout", "the port fell silent before its OK"},
    {CutReason::ErrorAnswer, "error", "the modem answered ERROR"},
    {CutReason::Interrupted, "interrupted", "interrupted before its OK"},
    {CutReason::NextCall, "no-ok", "no OK before the next call's blocks"},
};

const CutReasonText* textOf(CutReason reason) {
    for (const CutReasonText& text : CutReasonTexts) {
        if (text.reason == reason) {
            return &text;
        }
    }
    return nullptr;
}

}  // namespace

const char* cutReasonName(CutReason reason) {
    const CutReasonText* text = textOf(reason);
    return text != nullptr ? text->name : nullptr;
}

const char* cutReasonWords(CutReason reason) {
    const CutReasonText* text = textOf(reason);
    return text != nullptr ? text->words : nullptr;
}
