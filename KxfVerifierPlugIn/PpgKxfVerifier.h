// CT_PpgKxfVerifier: the plug-in's settings page. It shows the tag-suppression table of the
// format of the host's active document (the process-wide host application of the plug-in) as a
// list of check boxes, loads the flags from the settings store on Activate and writes the check
// marks back and saves the whole store on Apply. Its About button opens the About box; F1 and
// Help open the help topic.
//
// The page owns the settings store of its dialog: made when the dialog is set up for format F
// or I, dropped when it is set up for anything else. It shares the tag tables and the host
// application with the plug-in objects of its apartment thread, without locking.
#pragma once

#include "PropertyPage.h"

#include <memory>

class CT_TaggerSettings;

class CT_PpgKxfVerifier final : public CT_PropertyPage
{
public:
    // S_FALSE when the page has no store (no KXF document was active at set-up).
    HRESULT STDMETHODCALLTYPE Activate(HWND h_Parent, LPCRECT pcso_Rect, BOOL b_Modal) override;
    HRESULT STDMETHODCALLTYPE Apply() override;
    // S_OK when HTML Help opened the topic, else E_FAIL.
    HRESULT STDMETHODCALLTYPE Help(LPCOLESTR qcwz_HelpDirectory) override;

private:
    friend class CT_ClassFactory;
    CT_PpgKxfVerifier();
    ~CT_PpgKxfVerifier() override;

    INT_PTR vi_OnMessage(UINT n_Message, WPARAM n_WParam, LPARAM n_LParam) override;
    void v_SetUpDialog();
    void v_SetUpList();
    void v_FillList();
    void v_GreyOutList();
    void v_SetCheck(unsigned n_Index, unsigned n_Flag);

    HWND h_List = nullptr; // null while the page has no dialog
    std::unique_ptr<CT_TaggerSettings> pco_Settings;
};
