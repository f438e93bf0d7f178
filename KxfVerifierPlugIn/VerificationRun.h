// CT_VerificationRun: the verification run of one plug-in object, and what the object keeps of
// its runs: the document type of the last run, the verifier component of each format from its
// last run of that format, and the settings store of the last run. A run has the host save the
// translation into the temporary folder, drives the format's Ketragen verifier with the user's
// tag settings, and hands the verifier's findings to the host's messages collection.
//
// Used on the plug-in object's apartment thread only.
#pragma once

#include "ComPtr.h"
#include "MarkpadHost_h.h"

#include <memory>

class CT_TaggerSettings;

class CT_VerificationRun
{
public:
    CT_VerificationRun();
    ~CT_VerificationRun();
    CT_VerificationRun(const CT_VerificationRun&) = delete;
    CT_VerificationRun& operator=(const CT_VerificationRun&) = delete;

    // Releases both verifiers and the settings store, as Connect does.
    void v_Reset();

    // One run; returns the first failure. pco_HostApplication is the process-wide host
    // application, null while disconnected: the tag settings are then not applied.
    HRESULT hr_Run(IDispatch* pco_Document, IVerifierMessages* pco_Messages,
                   IDispatch* pco_HostApplication);

private:
    HRESULT hr_ApplyTagSettings(IDispatch* pco_Verifier, IDispatch* pco_HostApplication);
    HRESULT hr_CollectFindings(IDispatch* pco_Verifier, IHostDocument* pco_Document,
                               IVerifierMessages* pco_Messages);
    CT_ComPtr<IDispatch>* pco_VerifierOf(long i_Type);

    static HRESULT shr_ReportError(unsigned n_TextID, const CT_Bstr& co_Path);

    long i_DocumentType = 0;
    CT_ComPtr<IDispatch> co_VerifierF;
    CT_ComPtr<IDispatch> co_VerifierI;
    std::unique_ptr<CT_TaggerSettings> pco_Settings;
};
