// Scriptable stand-ins for the components around the plug-in, local to the run tests: the host
// document and application, the Ketragen verifier with its Paths and Reporting objects, the
// messages collection, and class factories that serve them under the outside components'
// class identifiers. Each call is written to the scenario's log; the scenario also says what
// the components answer and which of their members fail.
#pragma once

#include "ComTestSupport.h"
#include "MarkpadHost_h.h"

#include <map>
#include <string>
#include <vector>

struct st_Finding
{
    short sn2_Position;
    short sn2_AltPosition;
    std::wstring co_Text;
};

// One Add call on a messages collection.
struct st_AddCall
{
    std::string co_Collection;
    std::wstring co_Text;
    bool b_ExtraIsEmptyString;
    long i_Severity, i_Number;
    std::wstring co_Document;
    long i_Position, i_Line, i_EndPosition, i_EndLine, i_Indicator, i_Flags;
};

struct st_Scenario
{
    std::vector<std::string> aso_Log;
    // A member, named as in the log, that fails with this HRESULT.
    std::map<std::string, HRESULT> aso_Failures;
    // Failing verifier members raise an exception (DISP_E_EXCEPTION) instead.
    bool b_RaiseExceptions = false;
    HRESULT hr_CreateVerifier = S_OK;
    HRESULT hr_CreateMessages = S_OK;

    std::vector<st_Finding> aso_Findings;
    long ai_Counts[3] = {0, 0, 0};

    std::map<long, std::wstring> aso_Folders;        // Paths puts
    std::vector<std::pair<long, VARIANT>> aso_Flags; // Reporting puts, in order
    std::vector<st_AddCall> aso_Adds;
    std::vector<std::string> aso_Handed; // collections that AddMessages received

    // How many log entries equal qccz_Entry.
    int i_Count(const char* qccz_Entry) const;
    // The position of the first entry equal to qccz_Entry after n_From, or -1.
    int i_Find(const char* qccz_Entry, int i_From = -1) const;

    static st_Scenario so_Current;
};

class CT_FakeDocument : public CT_TestDual<IHostDocument>
{
public:
    // The document types it reports, one per call; the last one repeats.
    CT_FakeDocument(const std::wstring& co_Name, const std::wstring& co_Original,
                    std::vector<long> ai_Types)
        : co_Name(co_Name), co_Original(co_Original), ai_Types(std::move(ai_Types))
    {
    }

    HRESULT STDMETHODCALLTYPE GetApplication(IDispatch**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetPath(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Save() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Close() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetName(BSTR* pbstr_Name) override;
    HRESULT STDMETHODCALLTYPE GetSourceLanguage(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTargetLanguage(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetOriginalPath(BSTR* pbstr_Path) override;
    HRESULT STDMETHODCALLTYPE SetOriginalPath(BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetModified(VARIANT_BOOL*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetLength(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetText(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetText(BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SaveTranslatedAs(BSTR bstr_Path) override;
    HRESULT STDMETHODCALLTYPE GetSelectionStart(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSelectionEnd(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDocumentType(LONG* pi_Type) override;

    std::wstring co_SavedAs;

protected:
    bool b_Answers(REFIID ro_Interface) const override
    {
        return IsEqualIID(ro_Interface, IID_IDispatch) ||
               IsEqualIID(ro_Interface, IID_IHostDocument);
    }

private:
    std::wstring co_Name;
    std::wstring co_Original;
    std::vector<long> ai_Types;
    size_t n_TypeCalls = 0;
};

class CT_FakeApplication : public CT_TestDual<IHostApplication>
{
public:
    CT_FakeApplication(const char* qccz_Label, IDispatch* pco_Active)
        : co_Label(qccz_Label), pco_Active(pco_Active)
    {
        if (pco_Active)
            pco_Active->AddRef();
    }
    ~CT_FakeApplication() override
    {
        if (pco_Active)
            pco_Active->Release();
    }

    HRESULT STDMETHODCALLTYPE GetName(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetVersion(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDocumentCount(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetDocument(LONG, IDispatch**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OpenDocument(BSTR, LONG, BSTR, IDispatch**) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetActiveDocument(IDispatch*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetActiveDocument(IDispatch** ppco_Document) override;

protected:
    bool b_Answers(REFIID ro_Interface) const override
    {
        return IsEqualIID(ro_Interface, IID_IDispatch) ||
               IsEqualIID(ro_Interface, IID_IHostApplication);
    }

private:
    std::string co_Label;
    IDispatch* pco_Active;
};

class CT_FakeMessages : public CT_TestDual<IVerifierMessages>
{
public:
    explicit CT_FakeMessages(const char* qccz_Label) : co_Label(qccz_Label) {}

    HRESULT STDMETHODCALLTYPE GetCount(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetItem(LONG, IDispatch**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Clear() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Add(BSTR bstr_Text, BSTR bstr_Extra, LONG i_Severity, LONG i_Number,
                                  BSTR bstr_Document, LONG i_Position, LONG i_Line,
                                  LONG i_EndPosition, LONG i_EndLine, LONG i_Indicator,
                                  LONG i_Flags, IDispatch** ppco_Message) override;
    HRESULT STDMETHODCALLTYPE Remove(LONG) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSource(BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetSource(BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AddMessages(IVerifierMessages* pco_Messages) override;

    const std::string co_Label;

protected:
    bool b_Answers(REFIID ro_Interface) const override
    {
        return IsEqualIID(ro_Interface, IID_IDispatch) ||
               IsEqualIID(ro_Interface, IID_IVerifierMessages);
    }
};

// Serves the fake verifiers and the messages collection under the outside components' class
// identifiers for the whole test program.
void v_RegisterFakeComponents();
