// CT_VerifierMessage: turns one finding of a Ketragen verifier into the message record that
// goes into a messages collection: the severity and the message number come from the words of
// the finding text, the position and the document indicator from the verifier's two positions.
#pragma once

#include "Basis/Platform/Export.h"

#include <oaidl.h>

class CT_UString;
struct IHostDocument;
struct IVerifierMessages;

class CT_EXPORT CT_VerifierMessage
{
public:
    enum et_Severity
    {
        eo_Warning = 1,
        eo_Alert = 2,
        eo_Error = 3,
        eo_None = 4
    };

    // Tests the words "Warning ", "Alert ", "Error " in this order (case-sensitive, anywhere in
    // the text; the blank belongs to the word): the first one found decides.
    static int si_GetSeverity(const CT_UString& co_Text);
    // The signed decimal number after the first of those words found, read by the rules of
    // strtol and held to the 32-bit range; 0 without a word or without digits.
    static int si_GetNumber(const CT_UString& co_Text);

    // Asks the verifier for the current finding and adds it to pco_Messages with Add, naming the
    // host document. The message object that Add returns is released at once.
    static HRESULT shr_AddFinding(IDispatch* pco_Verifier, IHostDocument* pco_Document,
                                  IVerifierMessages* pco_Messages);

private:
    static HRESULT shr_GetPosition(IDispatch* pco_Verifier, long* pi_Position, long* pi_Indicator);
};
