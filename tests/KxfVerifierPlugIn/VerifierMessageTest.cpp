// Severity and message number of finding texts.
#include "VerifierMessage.h"
#include "System/String/UString.h"

#include <gtest/gtest.h>

namespace
{
struct st_Case
{
    const char16_t* qcuz_Text;
    int i_Severity;
    int i_Number;
};

TEST(VerifierMessage, SeverityAndNumberComeFromTheFirstWordTested)
{
    const st_Case aso_Cases[] = {
        {u"Error 1234: tag missing", 3, 1234},
        {u"Warning 17", 1, 17},
        {u"Warning x", 1, 0},
        {u"Alert -5", 2, -5},
        {u"WARNING 5", 4, 0},              // other case
        {u"Warning", 4, 0},                // the blank belongs to the word
        {u"Error 3 then Warning 8", 1, 8}, // Warning is tested first, wherever it stands
        {u"Alert 2 and Error 9", 2, 2},
        {u"see Error \t +42x", 3, 42}, // strtol: white space, sign, digits
        {u"Warning - 3", 1, 0},        // a sign without digits
        {u"Warning 2147483647", 1, 2147483647},
        {u"Warning 2147483648", 1, 2147483647}, // held to 32 bits
        {u"Warning -99999999999999999999", 1, -2147483647 - 1},
        {u"\u00e4\u6f22 Error 12", 3, 12}, // characters outside code page 1252
        {u"", 4, 0},
    };
    for (const st_Case& so : aso_Cases)
    {
        CT_UString co_Text(so.qcuz_Text, CT_String::sn_All);
        EXPECT_EQ(so.i_Severity, CT_VerifierMessage::si_GetSeverity(co_Text)) << so.i_Number;
        EXPECT_EQ(so.i_Number, CT_VerifierMessage::si_GetNumber(co_Text)) << so.i_Number;
    }
}

TEST(VerifierMessage, TextAfterAnEmbeddedZeroIsStillSearched)
{
    const char16_t au_Text[] = u"x\0Alert 4";
    CT_UString co_Text(au_Text, 9);
    EXPECT_EQ(2, CT_VerifierMessage::si_GetSeverity(co_Text));
    EXPECT_EQ(4, CT_VerifierMessage::si_GetNumber(co_Text));
}
} // namespace
