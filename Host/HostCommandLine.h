// CT_HostCommandLine: the options of the console host KxfVerify.
//   KxfVerify [--progid PROGID] [--settings]                             verify the samples
//   KxfVerify [--progid PROGID] [--settings] TYPE ORIGINAL TRANSLATION   verify one document
// TYPE is F, I or a document type code. --settings shows the plug-in's settings page for each
// document before it is verified.
#pragma once

#include <string>
#include <vector>

// One verification: the translated document, its original and the document type code.
struct st_VerifyJob
{
    std::u16string co_Original;
    std::u16string co_Translation;
    long i_DocumentType = 0;
};

class CT_HostCommandLine
{
public:
    enum et_Action
    {
        eo_VerifySamples,
        eo_VerifyDocument,
        eo_ShowHelp,
        eo_Mistake // co_Mistake says what
    };

    static constexpr const char16_t* sqcuz_DefaultProgId = u"KetraVerifierPlugIn.KxfVerifierPlugIn";
    static const char* sqccz_Usage();

    // Arguments without the program name.
    void v_Parse(const std::vector<std::u16string>& co_Arguments);

    // 6 for F, 7 for I, or the code written as a decimal number.
    static bool sb_ParseType(const std::u16string& co_Text, long& i_Type);

    et_Action eo_Action = eo_VerifySamples;
    std::u16string co_ProgId = sqcuz_DefaultProgId;
    bool b_ShowSettings = false;
    st_VerifyJob co_Job; // with eo_VerifyDocument
    std::u16string co_Mistake;
};
