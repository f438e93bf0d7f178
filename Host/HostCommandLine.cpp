#include "HostCommandLine.h"

const char* CT_HostCommandLine::sqccz_Usage()
{
    return "usage: KxfVerify [--progid PROGID] [--settings] [TYPE ORIGINAL TRANSLATION]\n"
           "\n"
           "Lets the Ketra Verifier plug-in check a translated KXF document against its\n"
           "original, as the Markpad editor would, and prints every message it reports.\n"
           "Without documents it verifies the bundled samples (samples/F and samples/I).\n"
           "\n"
           "  TYPE            F or I (document types 6 and 7), or any document type code\n"
           "  ORIGINAL        the file the translation was made from\n"
           "  TRANSLATION     the translated file\n"
           "  --progid PROGID the plug-in to load (default KetraVerifierPlugIn.KxfVerifierPlugIn)\n"
           "  --settings      before each verification, show the plug-in's settings page for\n"
           "                  the document; OK or Apply saves the choice, which the\n"
           "                  verification then uses\n"
           "  -h, --help      this text\n"
           "\n"
           "Exit status: 0 verified (with or without messages), 1 a verification failed,\n"
           "2 wrong usage or a missing file, 3 a component is not registered.\n";
}

void CT_HostCommandLine::v_Parse(const std::vector<std::u16string>& co_Arguments)
{
    std::vector<std::u16string> co_Positional;
    bool b_Options = true;
    for (size_t n_Index = 0; n_Index < co_Arguments.size(); ++n_Index)
    {
        const std::u16string& co_Argument = co_Arguments[n_Index];
        if (!b_Options || co_Argument.empty() || co_Argument[0] != u'-')
            co_Positional.push_back(co_Argument);
        else if (co_Argument == u"--")
            b_Options = false;
        else if (co_Argument == u"-h" || co_Argument == u"--help")
        {
            eo_Action = eo_ShowHelp;
            return;
        }
        else if (co_Argument == u"--settings")
            b_ShowSettings = true;
        else if (co_Argument == u"--progid" && n_Index + 1 < co_Arguments.size())
            co_ProgId = co_Arguments[++n_Index];
        else if (co_Argument.rfind(u"--progid=", 0) == 0)
            co_ProgId = co_Argument.substr(9);
        else
        {
            eo_Action = eo_Mistake;
            co_Mistake = co_Argument == u"--progid" ? u"--progid needs a value"
                                                    : u"unknown option " + co_Argument;
            return;
        }
    }

    if (co_ProgId.empty())
    {
        eo_Action = eo_Mistake;
        co_Mistake = u"--progid needs a value";
    }
    else if (co_Positional.empty())
        eo_Action = eo_VerifySamples;
    else if (co_Positional.size() != 3)
    {
        eo_Action = eo_Mistake;
        co_Mistake = u"expected TYPE ORIGINAL TRANSLATION";
    }
    else if (!sb_ParseType(co_Positional[0], co_Job.i_DocumentType))
    {
        eo_Action = eo_Mistake;
        co_Mistake = u"unknown document type " + co_Positional[0] + u" (F, I or a number)";
    }
    else
    {
        eo_Action = eo_VerifyDocument;
        co_Job.co_Original = co_Positional[1];
        co_Job.co_Translation = co_Positional[2];
    }
}

bool CT_HostCommandLine::sb_ParseType(const std::u16string& co_Text, long& i_Type)
{
    if (co_Text == u"F" || co_Text == u"f")
        i_Type = 6;
    else if (co_Text == u"I" || co_Text == u"i")
        i_Type = 7;
    else
    {
        const size_t n_Digits = co_Text.size() > 0 && co_Text[0] == u'-' ? 1 : 0;
        if (co_Text.size() == n_Digits || co_Text.size() - n_Digits > 9)
            return false;
        long i_Value = 0;
        for (size_t n_At = n_Digits; n_At < co_Text.size(); ++n_At)
        {
            if (co_Text[n_At] < u'0' || co_Text[n_At] > u'9')
                return false;
            i_Value = i_Value * 10 + (co_Text[n_At] - u'0');
        }
        i_Type = n_Digits ? -i_Value : i_Value;
    }
    return true;
}
