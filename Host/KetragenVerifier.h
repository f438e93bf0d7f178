// CT_KetragenVerifier: the stand-in Ketragen verifier of one format, driven late bound by the
// member identifiers of MarkpadHost.idl (KetragenVerifierMember). It reads the original (the folder
// put into Paths 1, the translated file's name) and the translated file (LoadTranslatedFile),
// compares their tags (Reporting flags suppress tags), and hands out the findings one by one. Owns
// its Paths and Reporting objects. Apartment-threaded: one thread at a time.
#pragma once

#include "ComObject.h"
#include "KetragenProperties.h"
#include "TagComparison.h"

class CT_KetragenVerifier : public CT_LateBoundObject
{
public:
    static HRESULT shr_CreateF(REFIID co_Iid, void** ppv_Object);
    static HRESULT shr_CreateI(REFIID co_Iid, void** ppv_Object);

private:
    explicit CT_KetragenVerifier(et_KxfFormat eo_TheFormat);
    ~CT_KetragenVerifier() override;
    static HRESULT shr_Create(et_KxfFormat eo_TheFormat, REFIID co_Iid, void** ppv_Object);

    HRESULT hr_Invoke(DISPID i_Member, WORD n_Flags, DISPPARAMS& co_Params, VARIANT& co_Result,
                      UINT& n_ArgError) override;
    bool b_LoadTranslatedFile(const std::u16string& co_Path);
    void v_RunCheck();
    std::vector<st_KxfTag> co_Reported(const std::u16string& co_Text) const;
    const st_TagFinding* pcco_Current() const;
    long i_Count(et_Severity eo_Severity) const;

    const et_KxfFormat eo_Format;
    CT_KetragenProperties* const pco_Paths;
    CT_KetragenProperties* const pco_Reporting;
    std::u16string co_TranslatedPath;
    std::u16string co_TranslatedText;
    bool b_TranslatedLoaded = false;
    std::vector<st_TagFinding> co_Findings;
    size_t n_Next = 0; // findings handed out so far; the current one is n_Next - 1
};
