// The stand-in messages collection and its messages. CT_VerifierMessage keeps the values of one
// Add call and never changes; CT_VerifierMessages keeps messages in the order they came, with
// positions from 1, and shares message objects when it takes over another collection's
// (AddMessages), which is as good as a copy because they never change. Apartment-threaded.
#pragma once

#include "ComObject.h"
#include "HostRef.h"
#include "MarkpadHost_h.h"

#include <string>
#include <vector>

// The arguments of IVerifierMessages::Add but its out parameter.
struct st_MessageRecord
{
    std::u16string co_Text;
    std::u16string co_Extra;
    long i_Severity = 0;
    long i_Number = 0;
    std::u16string co_Document;
    long i_Position = 0;
    long i_Line = 0;
    long i_EndPosition = 0;
    long i_EndLine = 0;
    long i_DocumentIndicator = 0;
    long i_Flags = 0;
};

class CT_VerifierMessage : public CT_DualObject<IVerifierMessage>
{
public:
    explicit CT_VerifierMessage(st_MessageRecord co_TheRecord) : co_Record(std::move(co_TheRecord))
    {
    }

    HRESULT STDMETHODCALLTYPE get_Text(BSTR* pbstr_Text) override;
    HRESULT STDMETHODCALLTYPE get_Extra(BSTR* pbstr_Extra) override;
    HRESULT STDMETHODCALLTYPE get_Severity(LONG* pi_Value) override;
    HRESULT STDMETHODCALLTYPE get_Number(LONG* pi_Value) override;
    HRESULT STDMETHODCALLTYPE get_Document(BSTR* pbstr_Name) override;
    HRESULT STDMETHODCALLTYPE get_Position(LONG* pi_Value) override;
    HRESULT STDMETHODCALLTYPE get_Line(LONG* pi_Value) override;
    HRESULT STDMETHODCALLTYPE get_EndPosition(LONG* pi_Value) override;
    HRESULT STDMETHODCALLTYPE get_EndLine(LONG* pi_Value) override;
    HRESULT STDMETHODCALLTYPE get_DocumentIndicator(LONG* pi_Value) override;
    HRESULT STDMETHODCALLTYPE get_Flags(LONG* pi_Value) override;

private:
    const st_MessageRecord co_Record;
};

class CT_VerifierMessages : public CT_DualObject<IVerifierMessages>
{
public:
    static HRESULT shr_Create(REFIID co_Iid, void** ppv_Object);

    HRESULT STDMETHODCALLTYPE GetCount(LONG* pi_Count) override;
    HRESULT STDMETHODCALLTYPE GetItem(LONG i_Index, IDispatch** ppco_Message) override;
    HRESULT STDMETHODCALLTYPE Clear() override;
    HRESULT STDMETHODCALLTYPE Add(BSTR bstr_Text, BSTR bstr_Extra, LONG i_Severity, LONG i_Number,
                                  BSTR bstr_Document, LONG i_Position, LONG i_Line,
                                  LONG i_EndPosition, LONG i_EndLine, LONG i_DocumentIndicator,
                                  LONG i_Flags, IDispatch** ppco_Message) override;
    HRESULT STDMETHODCALLTYPE Remove(LONG i_Index) override;
    HRESULT STDMETHODCALLTYPE GetSource(BSTR* pbstr_Source) override;
    HRESULT STDMETHODCALLTYPE SetSource(BSTR bstr_Source) override;
    HRESULT STDMETHODCALLTYPE AddMessages(IVerifierMessages* pco_Messages) override;

private:
    CT_VerifierMessages() = default;
    bool b_IsPosition(LONG i_Index) const
    {
        return i_Index >= 1 && static_cast<size_t>(i_Index) <= co_Items.size();
    }

    std::vector<CT_HostRef<IVerifierMessage>> co_Items;
    std::u16string co_Source;
};
