// The eight enumeration tables, letter for letter as the modems' documents
// print them (odd spacing and case included: users compare them with those).

#include "code_texts.h"

const char NotAvailableMarker[] = "NA";

const CodeText CallSetupResultTexts[] = {
    {0x00, "No previous call"},
    {0x01, "No dial tone detected"},
    {0x02, "Reorder signal detected, network busy"},
    {0x03, "Busy signal detected"},
    {0x04, "No recognized signal detected"},
    {0x05, "Voice detected"},
    {0x06, "Text telephone signal detected"},
    {0x07, "Data Answering signal detected"},
    {0x08, "Data Calling signal detected"},
    {0x09, "Fax Answering signal detected"},
    {0x0A, "Fax Calling signal detected"},
    {0x0B, "V.8bis signal detected"},
    {CodeEnd, nullptr},
};

const CodeText MultiMediaModeTexts[] = {
    {0x00, "Data Only"},        {0x01, "FAX Only"},
    {0x02, "Voice Only"},       {0x03, "VoiceViewT"},
    {0x04, "ASVD, V.61"},       {0x05, "ASVD, <V.34Q>"},
    {0x06, "DSVD, Multi-Tech"}, {0x07, "DSVD, 1.2"},
    {0x08, "DSVD, V.70"},       {0x09, "Video-telephony, H.324"},
    {0x0A, "Other V.80 call"},  {CodeEnd, nullptr},
};

const CodeText InterfaceModeTexts[] = {
    {0x00, "Async data"},
    {0x01, "V.80 transparent synchronous mode"},
    {0x02, "V.80 framed synchronous mode"},
    {CodeEnd, nullptr},
};

const CodeText NegotiationTexts[] = {
    {0x00, "V.17 (G3 Fax call)"},
    {0x01, "V.21"},
    {0x02, "V.22"},
    {0x03, "V.22bis"},
    {0x04, "V.23 Constant Carrier (1200/75)"},
    {0x05, "V.23 Switched Carrier (half duplex)"},
    {0x06, "V.26bis"},
    {0x07, "V.26ter"},
    {0x08, "V.27ter (G3 Fax call)"},
    {0x09, "V.29 HD (G3 Fax call)"},
    {0x0A, "V.32"},
    {0x0B, "V.32bis"},
    {0x0C, "V.34"},
    {0x0D, "V.34 HD (G3 Fax call)"},
    {0x0E, "V.90 Issue 1 (asymmetric)"},
    {0x0F, "V.90 Issue 2 (symmetric)"},
    {0x80, "<X2T>"},
    {0x81, "<K56FLEXT>"},
    {0x82, "<V.FC>"},
    {0x83, "<V.32terbo>"},
    {0x84, "Bell 212A"},
    {0x85, "Bell 103"},
    {CodeEnd, nullptr},
};

const CodeText ProtocolTexts[] = {
    {0x00, "Disable/none"},
    {0x01, "V.42 LAPM"},
    {0x02, "V.42 Alternative protocol (MNPT)"},
    {0x80, "MNP10T"},
    {0x81, "ECPT Enhanced Cellular Protocol"},
    {0x82, "ETCT Enhanced Throughput Cellular"},
    {CodeEnd, nullptr},
};

const CodeText CompressionTexts[] = {
    {0x00, "None"},
    {0x01, "V.42bis"},
    {0x80, "MNP5T"},
    {CodeEnd, nullptr},
};

const CodeText FlowControlTexts[] = {
    {0x00, "off"},
    {0x01, "DC1/DC3"},
    {0x02, "V.24 ckt 106/133"},
    {CodeEnd, nullptr},
};

const CodeText TerminationCauseTexts[] = {
    {0x00, "Cause Unidentified"},
    {0x01, "No Previous call"},
    {0x02, "Call is still in progress"},
    {0x03, "Call Waiting signal detected"},
    {0x04, "Delayed"},
    {0x0A, "NMS initiated Dial Call"},
    {0x0B, "NMS initiated Leased Line Restoral"},
    {0x0C, "NMS initiated Redial"},
    {0x0D, "NMS initiated Dial Disconnect"},
    {0x14, "Power Loss"},
    {0x15, "Equipment Failure"},
    {0x16, "Front Panel Disconnect Requested"},
    {0x17, "Front Panel Leased Line Restoral"},
    {0x18, "Automatic Leased Line Restoral"},
    {0x19, "Inactivity Timer Expired"},
    {0x1F, "cct108 is Off Inhibits Dial"},
    {0x20, "cct108 turned Off"},
    {0x28, "No Number Provided"},
    {0x29, "Blacklisted Number"},
    {0x2A, "Call Attempts Limit Exceeded"},
    {0x2B, "Extension Phone Off Hook"},
    {0x2C, "Call Setup Fail Timer Expired"},
    {0x2D, "Incoming Call Detected"},
    {0x2E, "Loop Current Interrupted"},
    {0x2F, "No Dial Tone"},
    {0x30, "Voice Detected"},
    {0x31, "Reorder Tone"},
    {0x32, "Sit Tone"},
    {0x33, "Engaged Tone"},
    {0x34, "Long Space Disconnect"},
    {0x3C, "Carrier Lost"},
    {0x3D, "Training Failed"},
    {0x3E, "No Modulationin Common"},
    {0x3F, "Retrain Failed"},
    {0x40, "Retrain Attempt Count Exceeded"},
    {0x41, "Gstn Cleardown Received"},
    {0x42, "Fax Detected"},
    {0x46, "In Test Mode"},
    {0x47, "Intrusive Self Test Initiated"},
    {0x50, "Any Key Abort"},
    {0x51, "Dte Hangup Command"},
    {0x52, "Dte Reset Command"},
    {0x5A, "Frame Reject"},
    {0x5B, "No Error Control Established"},
    {0x5C, "Protocol Violation"},
    {0x5D, "n400 exceeded"},
    {0x5E, "Negotiation Failed"},
    {0x5F, "Disconnect Frame Received"},
    {0x60, "Sabme Frame Received"},
    {0x64, "Loss Of Synchronization"},
    {CodeEnd, nullptr},
};

const char* lookupCodeText(const CodeText* table, std::uint32_t code) {
    for (const CodeText* entry = table; entry->code != CodeEnd; ++entry) {
        if (std::uint32_t{entry->code} == code) {
            return entry->text;
        }
    }
    return NotAvailableMarker;
}
