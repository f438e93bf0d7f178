#include "System/String/CString.h"

#include "Basis/Platform/Heap.h"
#include "System/String/StringConvert.h"
#include "System/String/StringUnits.h"
#include "System/String/UString.h"

#include <cassert>
#include <cstring>
#include <string>

namespace
{
using CT_Units = CT_StringUnits<char>;

unsigned n_UnitLength(const char16_t* qcuz)
{
    return static_cast<unsigned>(std::char_traits<char16_t>::length(qcuz));
}

// The other string as 8-bit text in the code page: a CT_CString is shared (with its own code
// page), a CT_UString converted, any other kind reads as empty.
CT_CString co_AsCString(const CT_String* pcco_Other, unsigned n_CodePage)
{
    CT_CString co_Copy(n_CodePage);
    co_Copy.v_Set(pcco_Other);
    return co_Copy;
}
} // namespace

CT_CString::CT_CString(unsigned n_CodePage) : n_CodePage(n_CodePage)
{
    CT_REGISTER_CONSTRUCT(CT_CString);
}

CT_CString::CT_CString(const char* qccz_Text, unsigned n_Length, unsigned n_CodePage)
    : n_CodePage(n_CodePage)
{
    CT_REGISTER_CONSTRUCT(CT_CString);
    CT_CString::vv_Init(qccz_Text, n_Length, n_CodePage);
}

CT_CString::CT_CString(const char16_t* qcuz_Text, unsigned n_Length, unsigned n_CodePage)
    : n_CodePage(n_CodePage)
{
    CT_REGISTER_CONSTRUCT(CT_CString);
    CT_CString::vv_Init(qcuz_Text, n_Length);
}

CT_CString::CT_CString(const CT_Buffer* pcco_Buffer, unsigned n_CodePage)
    : CT_String(pcco_Buffer), n_CodePage(n_CodePage)
{
    CT_REGISTER_CONSTRUCT(CT_CString);
}

CT_CString::CT_CString(const CT_String* pcco_Other, unsigned n_CodePage) : n_CodePage(n_CodePage)
{
    CT_REGISTER_CONSTRUCT(CT_CString);
    CT_CString::vv_Init(pcco_Other);
}

CT_CString::CT_CString(const CT_CString* pcco_Other)
    : CT_String(&pcco_Other->co_Buffer), n_CodePage(pcco_Other->n_CodePage)
{
    CT_REGISTER_CONSTRUCT(CT_CString);
}

CT_CString::CT_CString(const CT_UString* pcco_Other, unsigned n_CodePage) : n_CodePage(n_CodePage)
{
    CT_REGISTER_CONSTRUCT(CT_CString);
    CT_CString::vv_Init(pcco_Other->qcuz_Get(), pcco_Other->vn_GetLength());
}

CT_CString::CT_CString(CT_Type* pco_Prototype) : CT_String(pco_Prototype), n_CodePage(0)
{
    CT_REGISTER_CONSTRUCT(CT_CString);
}

CT_CString& CT_CString::operator=(const CT_CString& co_Other)
{
    vv_Init(&co_Other);
    return *this;
}

CT_CString::~CT_CString()
{
    CT_REGISTER_DESTRUCT(CT_CString);
}

CT_DEFINE_POOLED_ALLOCATION(CT_CString)

const char* CT_CString::qccz_Get() const
{
    return CT_Units::sqct_Get(co_Buffer);
}

void CT_CString::v_TrimToLength()
{
    vv_SetSize(vn_GetLength(), 1);
}

CT_String* CT_CString::vpco_Create() const
{
    return new CT_CString(this);
}

void CT_CString::vv_SetSize(unsigned n_Length, int b_Keep)
{
    CT_Units::sv_SetSize(co_Buffer, n_Length, b_Keep);
}

void CT_CString::vv_SetMinSize(unsigned n_Length, int b_Keep)
{
    if (vn_GetMaximumLength() < n_Length)
        vv_SetSize(n_Length, b_Keep);
}

void CT_CString::vv_Replace(char16_t u_Char, unsigned n_Count, unsigned n_Position)
{
    vv_Replace(CT_StringConvert::sc_WideToMulti(u_Char, n_CodePage), n_Count, n_Position);
}

void CT_CString::vv_Replace(char c_Char, unsigned n_Count, unsigned n_Position)
{
    CT_Units::sv_Fill(co_Buffer, c_Char, n_Count, n_Position);
}

char CT_CString::vc_GetAt(unsigned n_Position) const
{
    return qccz_Get()[n_Position];
}

char16_t CT_CString::vu_GetAt(unsigned n_Position) const
{
    return CT_StringConvert::sus_MultiToWide(vc_GetAt(n_Position), n_CodePage);
}

void CT_CString::vv_SetAt(char16_t u_Char, unsigned n_Position)
{
    vv_SetAt(CT_StringConvert::sc_WideToMulti(u_Char, n_CodePage), n_Position);
}

void CT_CString::vv_SetAt(char c_Char, unsigned n_Position)
{
    CT_Units::sv_SetAt(co_Buffer, c_Char, n_Position);
}

void CT_CString::vv_ToLower()
{
    CT_Units::sv_ToLower(co_Buffer);
}

void CT_CString::vv_ToUpper()
{
    CT_Units::sv_ToUpper(co_Buffer);
}

void CT_CString::vv_Remove(unsigned n_Count, unsigned n_Position)
{
    CT_Units::sv_Remove(co_Buffer, n_Count, n_Position);
}

// A character may take several bytes; a zero one is found at the terminator, like a zero byte.
unsigned CT_CString::vn_Find(char16_t u_Char, unsigned n_Start) const
{
    if (u_Char == 0)
        return vn_Find('\0', n_Start);
    CT_CString co_Char(&u_Char, 1, n_CodePage);
    return vn_Find(&co_Char, n_Start);
}

unsigned CT_CString::vn_Find(char c_Char, unsigned n_Start) const
{
    return CT_Units::sn_Find(co_Buffer, c_Char, n_Start);
}

unsigned CT_CString::vn_Find(const CT_String* pcco_Text, unsigned n_Start) const
{
    CT_CString co_Text = co_AsCString(pcco_Text, n_CodePage);
    return CT_Units::sn_Find(co_Buffer, co_Text.qccz_Get(), co_Text.vn_GetLength(), n_Start);
}

void CT_CString::vv_Update()
{
    CT_Units::sv_Update(co_Buffer);
}

int CT_CString::vb_Match(const CT_String* pcco_Pattern) const
{
    CT_CString co_Pattern = co_AsCString(pcco_Pattern, n_CodePage);
    return CT_Units::sb_Match(co_Buffer, co_Pattern.qccz_Get(), co_Pattern.vn_GetLength());
}

int CT_CString::b_Match(const char* qccz_Pattern) const
{
    return CT_Units::sb_Match(co_Buffer, qccz_Pattern,
                              static_cast<unsigned>(std::strlen(qccz_Pattern)));
}

void CT_CString::vv_Strip(const CT_String* pcco_Set)
{
    if (!pcco_Set)
    {
        vv_StripLeft();
        vv_StripRight();
        return;
    }
    CT_CString co_Set = co_AsCString(pcco_Set, n_CodePage);
    CT_Units::sv_Strip(co_Buffer, co_Set.qccz_Get(), co_Set.vn_GetLength());
}

void CT_CString::vv_StripRight()
{
    CT_Units::sv_StripRight(co_Buffer);
}

void CT_CString::vv_StripLeft()
{
    CT_Units::sv_StripLeft(co_Buffer);
}

int CT_CString::vi_Compare(const CT_String* pcco_Other, unsigned n_OtherOffset, unsigned n_Count,
                           unsigned n_Offset) const
{
    // The other's offset counts its own units, which need not be one byte each here.
    if (const CT_UString* pcco_Wide = spcco_AsUString(pcco_Other))
        return vi_Compare(pcco_Wide->qcuz_Get() + n_OtherOffset, n_Count, n_Offset);
    CT_CString co_Other = co_AsCString(pcco_Other, n_CodePage);
    return vi_Compare(co_Other.qccz_Get() + n_OtherOffset, n_Count, n_Offset);
}

int CT_CString::vi_Compare(const char16_t* qcuz_Text, unsigned n_Count, unsigned n_Offset) const
{
    // As with 8-bit text, a count beyond the text stops at its terminator: never convert past it.
    unsigned n_Units = 0;
    while (n_Units < n_Count && qcuz_Text[n_Units])
        ++n_Units;
    CT_CString co_Text(qcuz_Text, n_Units, n_CodePage);
    return vi_Compare(co_Text.qccz_Get(), n_Count, n_Offset);
}

int CT_CString::vi_Compare(const char* qccz_Text, unsigned n_Count, unsigned n_Offset) const
{
    return CT_Units::si_Compare(co_Buffer, qccz_Text, n_Count, n_Offset);
}

void CT_CString::vv_Translate(const CT_String* pcco_From, const CT_String* pcco_To)
{
    if (vn_GetLength() == 0)
        return;
    CT_CString co_From = co_AsCString(pcco_From, n_CodePage);
    CT_CString co_To = co_AsCString(pcco_To, n_CodePage);
    CT_Units::sv_Translate(co_Buffer, co_From.qccz_Get(), co_From.vn_GetLength(), co_To.qccz_Get(),
                           co_To.vn_GetLength());
}

void CT_CString::vv_SetLength(unsigned n_Length)
{
    CT_Units::sv_SetLength(co_Buffer, n_Length);
}

unsigned CT_CString::vn_GetLength() const
{
    return CT_Units::sn_Length(co_Buffer);
}

unsigned CT_CString::vn_GetMaximumLength() const
{
    return CT_Units::sn_MaximumLength(co_Buffer);
}

void CT_CString::vv_SetGrowth(unsigned n_Growth)
{
    co_Buffer.v_SetGrowth(n_Growth);
}

unsigned CT_CString::vn_GetGrowth() const
{
    return co_Buffer.n_GetGrowth();
}

void CT_CString::vv_Init(const char16_t* qcuz_Text, unsigned n_Length)
{
    if (!qcuz_Text)
    {
        vv_Init();
        return;
    }
    if (n_Length == sn_All)
        n_Length = n_UnitLength(qcuz_Text);
    vv_StringReplace(qcuz_Text, n_Length, 0);
    v_TrimToLength();
}

void CT_CString::vv_Init(const char* qccz_Text, unsigned n_Length, unsigned n_NewCodePage)
{
    n_CodePage = n_NewCodePage;
    if (n_Length == sn_All)
        n_Length = static_cast<unsigned>(std::strlen(qccz_Text));
    vv_StringReplace(qccz_Text, n_Length, 0, n_NewCodePage);
    v_TrimToLength();
}

void CT_CString::vv_Init(const CT_String* pcco_Other)
{
    if (const CT_CString* pcco_Narrow = spcco_AsCString(pcco_Other))
    {
        co_Buffer.v_Set(&pcco_Narrow->co_Buffer);
        n_CodePage = pcco_Narrow->n_CodePage;
    }
    else if (const CT_UString* pcco_Wide = spcco_AsUString(pcco_Other))
    {
        vv_Init(pcco_Wide->qcuz_Get(), pcco_Wide->vn_GetLength());
        if (n_CodePage == sn_All)
            n_CodePage = 0;
    }
    else if (!pcco_Other)
        vv_Init();
}

void CT_CString::vv_Init(unsigned n_Length)
{
    CT_Units::sv_NewBlock(co_Buffer, n_Length + 1);
}

void CT_CString::vv_Init()
{
    co_Buffer.v_SetSize(0, 0);
}

void CT_CString::vv_StringReplace(const CT_String* pcco_Source, unsigned n_SourceOffset,
                                  unsigned n_Count, unsigned n_Position)
{
    if (const CT_CString* pcco_Narrow = spcco_AsCString(pcco_Source))
        vv_StringReplace(pcco_Narrow->qccz_Get() + n_SourceOffset, n_Count, n_Position, sn_All);
    else if (const CT_UString* pcco_Wide = spcco_AsUString(pcco_Source))
        vv_StringReplace(pcco_Wide->qcuz_Get() + n_SourceOffset, n_Count, n_Position);
}

// Converted in place, with room for the code page's worst case; the bytes written decide the
// new length (none when the conversion fails, which it has reported).
void CT_CString::vv_StringReplace(const char16_t* qcuz_Text, unsigned n_Count, unsigned n_Position)
{
    char* pc = CT_Units::spt_Reserve(
        co_Buffer, n_Position + CT_StringConvert::sn_ConvertedSize(n_Count, n_CodePage));
    int i_Bytes = CT_StringConvert::si_WideToMulti(pc + n_Position, qcuz_Text,
                                                   static_cast<int>(n_Count), n_CodePage);
    CT_Units::sv_Terminate(co_Buffer, n_Position + static_cast<unsigned>(i_Bytes));
}

void CT_CString::vv_StringReplace(const char* qccz_Text, unsigned n_Count, unsigned n_Position,
                                  unsigned /*n_CodePage*/)
{
    CT_Units::sv_Replace(co_Buffer, qccz_Text, n_Count, n_Position);
}

void CT_CString::vv_StringInsert(const CT_String* pcco_Source, unsigned n_SourceOffset,
                                 unsigned n_Count, unsigned n_Position)
{
    if (const CT_CString* pcco_Narrow = spcco_AsCString(pcco_Source))
        vv_StringInsert(pcco_Narrow->qccz_Get() + n_SourceOffset, n_Count, n_Position, sn_All);
    else if (const CT_UString* pcco_Wide = spcco_AsUString(pcco_Source))
        vv_StringInsert(pcco_Wide->qcuz_Get() + n_SourceOffset, n_Count, n_Position);
}

void CT_CString::vv_StringInsert(const char16_t* qcuz_Text, unsigned n_Count, unsigned n_Position)
{
    CT_CString co_Text(qcuz_Text, n_Count, n_CodePage);
    vv_StringInsert(co_Text.qccz_Get(), co_Text.vn_GetLength(), n_Position, sn_All);
}

void CT_CString::vv_StringInsert(const char* qccz_Text, unsigned n_Count, unsigned n_Position,
                                 unsigned /*n_CodePage*/)
{
    CT_Units::sv_Insert(co_Buffer, qccz_Text, n_Count, n_Position);
}

void CT_CString::v_Append(char c_Char)
{
    if (c_Char == 0)
        return;
    unsigned n_Used = co_Buffer.n_GetUsedSize();
    if (n_Used == 0)
    {
        CT_String::v_Append(&c_Char, 1);
        return;
    }
    // The hot path of building a string character by character: the new terminator is appended
    // (growing by the buffer's rule) and the character takes the old terminator's place.
    co_Buffer.v_Append(0);
    static_cast<char*>(co_Buffer.qv_Get())[n_Used - 1] = c_Char;
}

void CT_CString::v_Append(char16_t u_Char)
{
    if (u_Char == 0)
        return;
    char ac_Bytes[CT_StringConvert::sn_CharSize()];
    int i_Bytes = CT_StringConvert::si_WideToMulti(ac_Bytes, &u_Char, 1, n_CodePage);
    if (i_Bytes > 0)
        CT_String::v_Append(ac_Bytes, static_cast<unsigned>(i_Bytes));
}
