#include "VerifierMessages.h"

HRESULT CT_VerifierMessage::get_Text(BSTR* pbstr_Text)
{
    return CT_HostBstr::shr_Return(co_Record.co_Text, pbstr_Text);
}

HRESULT CT_VerifierMessage::get_Extra(BSTR* pbstr_Extra)
{
    return CT_HostBstr::shr_Return(co_Record.co_Extra, pbstr_Extra);
}

HRESULT CT_VerifierMessage::get_Severity(LONG* pi_Value)
{
    return hr_Return<LONG>(co_Record.i_Severity, pi_Value);
}

HRESULT CT_VerifierMessage::get_Number(LONG* pi_Value)
{
    return hr_Return<LONG>(co_Record.i_Number, pi_Value);
}

HRESULT CT_VerifierMessage::get_Document(BSTR* pbstr_Name)
{
    return CT_HostBstr::shr_Return(co_Record.co_Document, pbstr_Name);
}

HRESULT CT_VerifierMessage::get_Position(LONG* pi_Value)
{
    return hr_Return<LONG>(co_Record.i_Position, pi_Value);
}

HRESULT CT_VerifierMessage::get_Line(LONG* pi_Value)
{
    return hr_Return<LONG>(co_Record.i_Line, pi_Value);
}

HRESULT CT_VerifierMessage::get_EndPosition(LONG* pi_Value)
{
    return hr_Return<LONG>(co_Record.i_EndPosition, pi_Value);
}

HRESULT CT_VerifierMessage::get_EndLine(LONG* pi_Value)
{
    return hr_Return<LONG>(co_Record.i_EndLine, pi_Value);
}

HRESULT CT_VerifierMessage::get_DocumentIndicator(LONG* pi_Value)
{
    return hr_Return<LONG>(co_Record.i_DocumentIndicator, pi_Value);
}

HRESULT CT_VerifierMessage::get_Flags(LONG* pi_Value)
{
    return hr_Return<LONG>(co_Record.i_Flags, pi_Value);
}

HRESULT CT_VerifierMessages::shr_Create(REFIID co_Iid, void** ppv_Object)
{
    CT_HostRef<CT_VerifierMessages> co_Messages(new CT_VerifierMessages);
    return co_Messages->QueryInterface(co_Iid, ppv_Object);
}

HRESULT CT_VerifierMessages::GetCount(LONG* pi_Count)
{
    return hr_Return(static_cast<LONG>(co_Items.size()), pi_Count);
}

HRESULT CT_VerifierMessages::GetItem(LONG i_Index, IDispatch** ppco_Message)
{
    if (!b_IsPosition(i_Index))
        return E_INVALIDARG;
    return hr_ReturnDispatch(co_Items[static_cast<size_t>(i_Index - 1)].pco_Get(), ppco_Message);
}

HRESULT CT_VerifierMessages::Clear()
{
    co_Items.clear();
    return S_OK;
}

HRESULT CT_VerifierMessages::Add(BSTR bstr_Text, BSTR bstr_Extra, LONG i_Severity, LONG i_Number,
                                 BSTR bstr_Document, LONG i_Position, LONG i_Line,
                                 LONG i_EndPosition, LONG i_EndLine, LONG i_DocumentIndicator,
                                 LONG i_Flags, IDispatch** ppco_Message)
{
    st_MessageRecord co_Record{CT_HostBstr::sco_Text(bstr_Text),
                               CT_HostBstr::sco_Text(bstr_Extra),
                               i_Severity,
                               i_Number,
                               CT_HostBstr::sco_Text(bstr_Document),
                               i_Position,
                               i_Line,
                               i_EndPosition,
                               i_EndLine,
                               i_DocumentIndicator,
                               i_Flags};
    co_Items.emplace_back(new CT_VerifierMessage(std::move(co_Record)));
    // The caller may not want the message object.
    if (ppco_Message)
        return hr_ReturnDispatch(co_Items.back().pco_Get(), ppco_Message);
    return S_OK;
}

HRESULT CT_VerifierMessages::Remove(LONG i_Index)
{
    if (!b_IsPosition(i_Index))
        return E_INVALIDARG;
    co_Items.erase(co_Items.begin() + (i_Index - 1));
    return S_OK;
}

HRESULT CT_VerifierMessages::GetSource(BSTR* pbstr_Source)
{
    return CT_HostBstr::shr_Return(co_Source, pbstr_Source);
}

HRESULT CT_VerifierMessages::SetSource(BSTR bstr_Source)
{
    co_Source = CT_HostBstr::sco_Text(bstr_Source);
    return S_OK;
}

HRESULT CT_VerifierMessages::AddMessages(IVerifierMessages* pco_Messages)
{
    if (!pco_Messages)
        return E_POINTER;
    // All or nothing; the count is taken first, so adding a collection to itself ends.
    LONG i_Count = 0;
    HRESULT hr_Result = pco_Messages->GetCount(&i_Count);
    std::vector<CT_HostRef<IVerifierMessage>> co_Taken;
    for (LONG i_Index = 1; SUCCEEDED(hr_Result) && i_Index <= i_Count; ++i_Index)
    {
        CT_HostRef<IDispatch> co_Item;
        hr_Result = pco_Messages->GetItem(i_Index, co_Item.ppco_Put());
        co_Taken.emplace_back();
        if (SUCCEEDED(hr_Result))
            hr_Result = co_Item.hr_QueryInto(co_Taken.back());
    }
    if (FAILED(hr_Result))
        return hr_Result;
    for (CT_HostRef<IVerifierMessage>& co_Message : co_Taken)
        co_Items.push_back(std::move(co_Message));
    return S_OK;
}
