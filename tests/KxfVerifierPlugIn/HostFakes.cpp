#include "HostFakes.h"

#include <algorithm>

st_Scenario st_Scenario::so_Current;

int st_Scenario::i_Count(const char* qccz_Entry) const
{
    return static_cast<int>(std::count(aso_Log.begin(), aso_Log.end(), qccz_Entry));
}

int st_Scenario::i_Find(const char* qccz_Entry, int i_From) const
{
    for (size_t n = static_cast<size_t>(i_From + 1); n < aso_Log.size(); ++n)
        if (aso_Log[n] == qccz_Entry)
            return static_cast<int>(n);
    return -1;
}

namespace
{
st_Scenario& so_Scene()
{
    return st_Scenario::so_Current;
}

// Logs the call and gives the failure the scenario holds for it.
HRESULT hr_Enter(const std::string& co_Member)
{
    so_Scene().aso_Log.push_back(co_Member);
    auto it = so_Scene().aso_Failures.find(co_Member);
    return it == so_Scene().aso_Failures.end() ? S_OK : it->second;
}

HRESULT hr_Text(const std::wstring& co_Text, BSTR* pbstr_Out)
{
    *pbstr_Out = SysAllocStringLen(co_Text.data(), static_cast<UINT>(co_Text.size()));
    return S_OK;
}

// The object-valued members hand out one of these; it records the puts.
class CT_FakePuts : public CT_TestDual<IDispatch>
{
public:
    explicit CT_FakePuts(bool b_Paths) : b_Paths(b_Paths) {}

    HRESULT STDMETHODCALLTYPE Invoke(DISPID i_Member, REFIID, LCID, WORD n_Flags,
                                     DISPPARAMS* pso_Parameters, VARIANT*, EXCEPINFO*,
                                     UINT*) override
    {
        std::string co_Entry = (b_Paths ? "paths." : "reporting.") + std::to_string(i_Member);
        HRESULT hr_Result = hr_Enter(co_Entry);
        if (FAILED(hr_Result))
            return hr_Result;
        if (n_Flags != DISPATCH_PROPERTYPUT || pso_Parameters->cArgs != 1 ||
            pso_Parameters->cNamedArgs != 1 ||
            pso_Parameters->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
            return DISP_E_BADPARAMCOUNT;
        const VARIANT& co_Value = pso_Parameters->rgvarg[0];
        if (b_Paths)
        {
            if (V_VT(&co_Value) != VT_BSTR)
                return DISP_E_TYPEMISMATCH;
            so_Scene().aso_Folders[i_Member] = V_BSTR(&co_Value) ? V_BSTR(&co_Value) : L"";
        }
        else
            so_Scene().aso_Flags.push_back({i_Member, co_Value});
        return S_OK;
    }

protected:
    bool b_Answers(REFIID ro_Interface) const override
    {
        return IsEqualIID(ro_Interface, IID_IDispatch);
    }

private:
    bool b_Paths;
};

class CT_FakeVerifier : public CT_TestDual<IDispatch>
{
public:
    HRESULT STDMETHODCALLTYPE Invoke(DISPID i_Member, REFIID, LCID, WORD n_Flags,
                                     DISPPARAMS* pso_Parameters, VARIANT* pso_Result,
                                     EXCEPINFO* pso_Exception, UINT*) override
    {
        auto it = so_Members.find(i_Member);
        if (it == so_Members.end())
            return DISP_E_MEMBERNOTFOUND;
        HRESULT hr_Result = hr_Enter(std::string("verifier.") + it->second.qccz_Name);
        if (FAILED(hr_Result))
            return hr_Fail(hr_Result, pso_Exception);
        if (n_Flags != it->second.n_Kind || pso_Parameters->cArgs != it->second.n_Arguments)
            return DISP_E_BADPARAMCOUNT;
        if (!pso_Result)
            return S_OK;
        VariantInit(pso_Result);
        return hr_Answer(i_Member, pso_Parameters, pso_Result);
    }

protected:
    bool b_Answers(REFIID ro_Interface) const override
    {
        return IsEqualIID(ro_Interface, IID_IDispatch);
    }

private:
    struct st_Member
    {
        const char* qccz_Name;
        WORD n_Kind;
        UINT n_Arguments;
    };
    static inline const std::map<DISPID, st_Member> so_Members = {
        {1, {"Paths", DISPATCH_PROPERTYGET, 0}},
        {3, {"Reporting", DISPATCH_PROPERTYGET, 0}},
        {12, {"LoadTranslatedFile", DISPATCH_METHOD, 1}},
        {18, {"RunCheck", DISPATCH_METHOD, 0}},
        {21, {"NextFinding", DISPATCH_METHOD, 0}},
        {22, {"FindingAltPosition", DISPATCH_METHOD, 0}},
        {23, {"FindingPosition", DISPATCH_METHOD, 0}},
        {24, {"FindingText", DISPATCH_METHOD, 0}},
        {25, {"CountA", DISPATCH_METHOD, 0}},
        {26, {"CountB", DISPATCH_METHOD, 0}},
        {27, {"CountC", DISPATCH_METHOD, 0}},
    };

    static HRESULT hr_Fail(HRESULT hr_Result, EXCEPINFO* pso_Exception)
    {
        if (!so_Scene().b_RaiseExceptions || !pso_Exception)
            return hr_Result;
        *pso_Exception = {};
        pso_Exception->scode = hr_Result;
        pso_Exception->bstrSource = SysAllocString(L"Ketragen.Verifier");
        pso_Exception->bstrDescription = SysAllocString(L"the check broke down");
        return DISP_E_EXCEPTION;
    }

    HRESULT hr_Answer(DISPID i_Member, DISPPARAMS* pso_Parameters, VARIANT* pso_Result)
    {
        const std::vector<st_Finding>& aso_Findings = so_Scene().aso_Findings;
        switch (i_Member)
        {
        case 1:
        case 3:
            V_VT(pso_Result) = VT_DISPATCH;
            V_DISPATCH(pso_Result) = new CT_FakePuts(i_Member == 1);
            return S_OK;
        case 12:
            so_Scene().aso_Log.push_back("loaded " + co_Narrow(V_BSTR(&pso_Parameters->rgvarg[0])));
            V_VT(pso_Result) = VT_BOOL;
            V_BOOL(pso_Result) = VARIANT_TRUE;
            return S_OK;
        case 21:
            V_VT(pso_Result) = VT_BOOL;
            V_BOOL(pso_Result) = n_Next < aso_Findings.size() ? VARIANT_TRUE : VARIANT_FALSE;
            ++n_Next;
            return S_OK;
        case 22:
        case 23:
            V_VT(pso_Result) = VT_I2;
            V_I2(pso_Result) =
                i_Member == 23 ? so_Current().sn2_Position : so_Current().sn2_AltPosition;
            return S_OK;
        case 24:
            V_VT(pso_Result) = VT_BSTR;
            return hr_Text(so_Current().co_Text, &V_BSTR(pso_Result));
        case 25:
        case 26:
        case 27:
            V_VT(pso_Result) = VT_I4;
            V_I4(pso_Result) = so_Scene().ai_Counts[i_Member - 25];
            return S_OK;
        }
        return S_OK;
    }

    const st_Finding& so_Current() const { return so_Scene().aso_Findings.at(n_Next - 1); }

    size_t n_Next = 0;
};

class CT_FakeMessage : public CT_TestDual<IDispatch>
{
protected:
    bool b_Answers(REFIID ro_Interface) const override
    {
        return IsEqualIID(ro_Interface, IID_IDispatch);
    }
};

// Serves one outside component; a creation the scenario fails answers with its HRESULT.
class CT_FakeFactory : public CT_TestObject<IClassFactory>
{
public:
    CT_FakeFactory(const char* qccz_Label, HRESULT st_Scenario::*ph_Failure)
        : co_Label(qccz_Label), ph_Failure(ph_Failure)
    {
    }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID ro_Interface,
                                             void** ppv_Object) override
    {
        *ppv_Object = nullptr;
        so_Scene().aso_Log.push_back("create " + co_Label);
        if (FAILED(so_Scene().*ph_Failure))
            return so_Scene().*ph_Failure;
        IUnknown* pco_Object = co_Label == "messages"
                                   ? static_cast<IUnknown*>(new CT_FakeMessages("created"))
                                   : static_cast<IUnknown*>(new CT_FakeVerifier);
        HRESULT hr_Result = pco_Object->QueryInterface(ro_Interface, ppv_Object);
        pco_Object->Release();
        return hr_Result;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }

protected:
    bool b_Answers(REFIID ro_Interface) const override
    {
        return IsEqualIID(ro_Interface, IID_IClassFactory);
    }

private:
    std::string co_Label;
    HRESULT st_Scenario::*ph_Failure;
};
} // namespace

HRESULT STDMETHODCALLTYPE CT_FakeDocument::GetName(BSTR* pbstr_Name)
{
    HRESULT hr_Result = hr_Enter("doc.GetName");
    return FAILED(hr_Result) ? hr_Result : hr_Text(co_Name, pbstr_Name);
}

HRESULT STDMETHODCALLTYPE CT_FakeDocument::GetOriginalPath(BSTR* pbstr_Path)
{
    HRESULT hr_Result = hr_Enter("doc.GetOriginalPath");
    return FAILED(hr_Result) ? hr_Result : hr_Text(co_Original, pbstr_Path);
}

HRESULT STDMETHODCALLTYPE CT_FakeDocument::SaveTranslatedAs(BSTR bstr_Path)
{
    HRESULT hr_Result = hr_Enter("doc.SaveTranslatedAs");
    co_SavedAs = bstr_Path ? bstr_Path : L"";
    return hr_Result;
}

HRESULT STDMETHODCALLTYPE CT_FakeDocument::GetDocumentType(LONG* pi_Type)
{
    HRESULT hr_Result = hr_Enter("doc.GetDocumentType");
    *pi_Type = ai_Types[std::min(n_TypeCalls++, ai_Types.size() - 1)];
    return hr_Result;
}

HRESULT STDMETHODCALLTYPE CT_FakeApplication::GetActiveDocument(IDispatch** ppco_Document)
{
    HRESULT hr_Result = hr_Enter(co_Label + ".GetActiveDocument");
    if (FAILED(hr_Result))
        return hr_Result;
    *ppco_Document = pco_Active;
    if (pco_Active)
        pco_Active->AddRef();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CT_FakeMessages::Add(BSTR bstr_Text, BSTR bstr_Extra, LONG i_Severity,
                                               LONG i_Number, BSTR bstr_Document, LONG i_Position,
                                               LONG i_Line, LONG i_EndPosition, LONG i_EndLine,
                                               LONG i_Indicator, LONG i_Flags,
                                               IDispatch** ppco_Message)
{
    HRESULT hr_Result = hr_Enter(co_Label + ".Add");
    if (FAILED(hr_Result))
        return hr_Result;
    so_Scene().aso_Adds.push_back({co_Label, bstr_Text ? bstr_Text : L"",
                                   bstr_Extra != nullptr && SysStringLen(bstr_Extra) == 0,
                                   i_Severity, i_Number, bstr_Document ? bstr_Document : L"",
                                   i_Position, i_Line, i_EndPosition, i_EndLine, i_Indicator,
                                   i_Flags});
    *ppco_Message = new CT_FakeMessage;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE CT_FakeMessages::AddMessages(IVerifierMessages* pco_Messages)
{
    HRESULT hr_Result = hr_Enter(co_Label + ".AddMessages");
    if (FAILED(hr_Result))
        return hr_Result;
    so_Scene().aso_Handed.push_back(static_cast<CT_FakeMessages*>(pco_Messages)->co_Label);
    return S_OK;
}

void v_RegisterFakeComponents()
{
    const struct
    {
        const CLSID* pcso_Class;
        const char* qccz_Label;
        HRESULT st_Scenario::*ph_Failure;
    } aso_Components[] = {
        {&CLSID_KetragenVerifierF, "F", &st_Scenario::hr_CreateVerifier},
        {&CLSID_KetragenVerifierI, "I", &st_Scenario::hr_CreateVerifier},
        {&CLSID_VerifierMessages, "messages", &st_Scenario::hr_CreateMessages},
    };
    for (const auto& so_Component : aso_Components)
    {
        DWORD n_Cookie = 0;
        IClassFactory* pco_Factory =
            new CT_FakeFactory(so_Component.qccz_Label, so_Component.ph_Failure);
        ASSERT_HR(S_OK, CoRegisterClassObject(*so_Component.pcso_Class, pco_Factory,
                                              CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &n_Cookie));
        pco_Factory->Release();
    }
}
