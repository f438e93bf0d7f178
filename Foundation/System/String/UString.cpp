#include "System/String/UString.h"

#include "Basis/Platform/Heap.h"
#include "System/String/CString.h"
#include "System/String/StringConvert.h"
#include "System/String/StringUnits.h"

#include <cassert>
#include <cstring>
#include <string>

namespace
{
using CT_Units = CT_StringUnits<char16_t>;

unsigned n_UnitLength(const char16_t* qcuz)
{
    return static_cast<unsigned>(std::char_traits<char16_t>::length(qcuz));
}

// The other string as 16-bit text: a CT_UString is shared, a CT_CString converted with its own
// code page, any other kind reads as empty.
CT_UString co_AsUString(const CT_String* pcco_Other)
{
    CT_UString co_Copy;
    co_Copy.v_Set(pcco_Other);
    return co_Copy;
}
} // namespace

CT_UString::CT_UString()
{
    CT_REGISTER_CONSTRUCT(CT_UString);
}

CT_UString::CT_UString(unsigned n_Size)
{
    CT_REGISTER_CONSTRUCT(CT_UString);
    CT_UString::vv_Init(n_Size);
}

CT_UString::CT_UString(const char* qccz_Text, unsigned n_Length, unsigned n_CodePage)
{
    CT_REGISTER_CONSTRUCT(CT_UString);
    CT_UString::vv_Init(qccz_Text, n_Length, n_CodePage);
}

CT_UString::CT_UString(const char16_t* qcuz_Text, unsigned n_Length)
{
    CT_REGISTER_CONSTRUCT(CT_UString);
    CT_UString::vv_Init(qcuz_Text, n_Length);
}

CT_UString::CT_UString(const CT_Buffer* pcco_Buffer) : CT_String(pcco_Buffer)
{
    CT_REGISTER_CONSTRUCT(CT_UString);
}

CT_UString::CT_UString(const CT_String* pcco_Other)
{
    CT_REGISTER_CONSTRUCT(CT_UString);
    CT_UString::vv_Init(pcco_Other);
}

CT_UString::CT_UString(const CT_CString* pcco_Other)
{
    CT_REGISTER_CONSTRUCT(CT_UString);
    CT_UString::vv_Init(pcco_Other->qccz_Get(), pcco_Other->vn_GetLength(),
                        pcco_Other->n_GetCodePage());
}

CT_UString::CT_UString(const CT_UString* pcco_Other) : CT_String(&pcco_Other->co_Buffer)
{
    CT_REGISTER_CONSTRUCT(CT_UString);
}

CT_UString::CT_UString(CT_Type* pco_Prototype) : CT_String(pco_Prototype)
{
    CT_REGISTER_CONSTRUCT(CT_UString);
}

CT_UString& CT_UString::operator=(const CT_UString& co_Other)
{
    vv_Init(&co_Other);
    return *this;
}

CT_UString::~CT_UString()
{
    CT_REGISTER_DESTRUCT(CT_UString);
}

CT_DEFINE_POOLED_ALLOCATION(CT_UString)

const char16_t* CT_UString::qcuz_Get() const
{
    return CT_Units::sqct_Get(co_Buffer);
}

CT_String* CT_UString::vpco_Create() const
{
    return new CT_UString(this);
}

void CT_UString::vv_SetSize(unsigned n_Length, int b_Keep)
{
    CT_Units::sv_SetSize(co_Buffer, n_Length, b_Keep);
}

void CT_UString::vv_SetMinSize(unsigned n_Length, int b_Keep)
{
    if (vn_GetMaximumLength() < n_Length)
        vv_SetSize(n_Length, b_Keep);
}

void CT_UString::vv_Replace(char16_t u_Char, unsigned n_Count, unsigned n_Position)
{
    CT_Units::sv_Fill(co_Buffer, u_Char, n_Count, n_Position);
}

void CT_UString::vv_Replace(char c_Char, unsigned n_Count, unsigned n_Position)
{
    vv_Replace(CT_StringConvert::sus_MultiToWide(c_Char, CT_Codepage::sn_ANSI), n_Count,
               n_Position);
}

char CT_UString::vc_GetAt(unsigned n_Position) const
{
    return CT_StringConvert::sc_WideToMulti(vu_GetAt(n_Position), CT_Codepage::sn_ANSI);
}

char16_t CT_UString::vu_GetAt(unsigned n_Position) const
{
    return qcuz_Get()[n_Position];
}

void CT_UString::vv_SetAt(char16_t u_Char, unsigned n_Position)
{
    CT_Units::sv_SetAt(co_Buffer, u_Char, n_Position);
}

void CT_UString::vv_SetAt(char c_Char, unsigned n_Position)
{
    vv_SetAt(CT_StringConvert::sus_MultiToWide(c_Char, CT_Codepage::sn_ANSI), n_Position);
}

void CT_UString::vv_ToLower()
{
    CT_Units::sv_ToLower(co_Buffer);
}

void CT_UString::vv_ToUpper()
{
    CT_Units::sv_ToUpper(co_Buffer);
}

void CT_UString::vv_Remove(unsigned n_Count, unsigned n_Position)
{
    CT_Units::sv_Remove(co_Buffer, n_Count, n_Position);
}

unsigned CT_UString::vn_Find(char16_t u_Char, unsigned n_Start) const
{
    return CT_Units::sn_Find(co_Buffer, u_Char, n_Start);
}

unsigned CT_UString::vn_Find(char c_Char, unsigned n_Start) const
{
    return vn_Find(CT_StringConvert::sus_MultiToWide(c_Char, CT_Codepage::sn_ANSI), n_Start);
}

unsigned CT_UString::vn_Find(const CT_String* pcco_Text, unsigned n_Start) const
{
    CT_UString co_Text = co_AsUString(pcco_Text);
    return CT_Units::sn_Find(co_Buffer, co_Text.qcuz_Get(), co_Text.vn_GetLength(), n_Start);
}

void CT_UString::vv_Update()
{
    CT_Units::sv_Update(co_Buffer);
}

int CT_UString::vb_Match(const CT_String* pcco_Pattern) const
{
    CT_UString co_Pattern = co_AsUString(pcco_Pattern);
    return CT_Units::sb_Match(co_Buffer, co_Pattern.qcuz_Get(), co_Pattern.vn_GetLength());
}

int CT_UString::b_Match(const char16_t* qcuz_Pattern) const
{
    return CT_Units::sb_Match(co_Buffer, qcuz_Pattern, n_UnitLength(qcuz_Pattern));
}

void CT_UString::vv_Strip(const CT_String* pcco_Set)
{
    if (!pcco_Set)
    {
        vv_StripLeft();
        vv_StripRight();
        return;
    }
    CT_UString co_Set = co_AsUString(pcco_Set);
    CT_Units::sv_Strip(co_Buffer, co_Set.qcuz_Get(), co_Set.vn_GetLength());
}

void CT_UString::vv_StripRight()
{
    CT_Units::sv_StripRight(co_Buffer);
}

void CT_UString::vv_StripLeft()
{
    CT_Units::sv_StripLeft(co_Buffer);
}

int CT_UString::vi_Compare(const CT_String* pcco_Other, unsigned n_OtherOffset, unsigned n_Count,
                           unsigned n_Offset) const
{
    // The other's offset counts its own units, which need not be one unit each here.
    if (const CT_CString* pcco_Narrow = spcco_AsCString(pcco_Other))
    {
        CT_UString co_Other(pcco_Narrow->qccz_Get() + n_OtherOffset,
                            pcco_Narrow->vn_GetLength() - n_OtherOffset,
                            pcco_Narrow->n_GetCodePage());
        return vi_Compare(co_Other.qcuz_Get(), n_Count, n_Offset);
    }
    CT_UString co_Other = co_AsUString(pcco_Other);
    return vi_Compare(co_Other.qcuz_Get() + n_OtherOffset, n_Count, n_Offset);
}

int CT_UString::vi_Compare(const char16_t* qcuz_Text, unsigned n_Count, unsigned n_Offset) const
{
    return CT_Units::si_Compare(co_Buffer, qcuz_Text, n_Count, n_Offset);
}

// A text that ends within the count compares in full, as 8-bit text does, so that a longer
// string never equals its prefix; otherwise as many units as the counted bytes became.
int CT_UString::vi_Compare(const char* qccz_Text, unsigned n_Count, unsigned n_Offset) const
{
    unsigned n_Bytes = 0;
    while (n_Bytes < n_Count && qccz_Text[n_Bytes])
        ++n_Bytes;
    CT_UString co_Text(qccz_Text, n_Bytes, 0);
    return vi_Compare(co_Text.qcuz_Get(), n_Bytes < n_Count ? sn_All : co_Text.vn_GetLength(),
                      n_Offset);
}

void CT_UString::vv_Translate(const CT_String* pcco_From, const CT_String* pcco_To)
{
    if (vn_GetLength() == 0)
        return;
    CT_UString co_From = co_AsUString(pcco_From);
    CT_UString co_To = co_AsUString(pcco_To);
    CT_Units::sv_Translate(co_Buffer, co_From.qcuz_Get(), co_From.vn_GetLength(), co_To.qcuz_Get(),
                           co_To.vn_GetLength());
}

void CT_UString::vv_SetLength(unsigned n_Length)
{
    CT_Units::sv_SetLength(co_Buffer, n_Length);
}

unsigned CT_UString::vn_GetLength() const
{
    return CT_Units::sn_Length(co_Buffer);
}

unsigned CT_UString::vn_GetMaximumLength() const
{
    return CT_Units::sn_MaximumLength(co_Buffer);
}

void CT_UString::vv_SetGrowth(unsigned n_Growth)
{
    co_Buffer.v_SetGrowth(n_Growth * sizeof(char16_t));
}

unsigned CT_UString::vn_GetGrowth() const
{
    return co_Buffer.n_GetGrowth() / sizeof(char16_t);
}

void CT_UString::vv_Init(const char16_t* qcuz_Text, unsigned n_Length)
{
    if (!qcuz_Text)
    {
        vv_Init();
        return;
    }
    if (n_Length == sn_All)
        n_Length = n_UnitLength(qcuz_Text);
    vv_StringReplace(qcuz_Text, n_Length, 0);
    vv_SetSize(vn_GetLength(), 1);
}

void CT_UString::vv_Init(const char* qccz_Text, unsigned n_Length, unsigned n_CodePage)
{
    if (!qccz_Text)
    {
        vv_Init();
        return;
    }
    if (n_Length == sn_All)
        n_Length = static_cast<unsigned>(std::strlen(qccz_Text));
    vv_StringReplace(qccz_Text, n_Length, 0, n_CodePage);
    vv_SetSize(vn_GetLength(), 1);
}

void CT_UString::vv_Init(const CT_String* pcco_Other)
{
    if (const CT_UString* pcco_Wide = spcco_AsUString(pcco_Other))
        co_Buffer.v_Set(&pcco_Wide->co_Buffer);
    else if (const CT_CString* pcco_Narrow = spcco_AsCString(pcco_Other))
        vv_Init(pcco_Narrow->qccz_Get(), pcco_Narrow->vn_GetLength(), pcco_Narrow->n_GetCodePage());
    else if (!pcco_Other)
        vv_Init();
}

// n_Size counts the terminator, as Windows' buffer sizes in characters do; even a size of 0
// gets room for the terminator.
void CT_UString::vv_Init(unsigned n_Size)
{
    CT_Units::sv_NewBlock(co_Buffer, n_Size);
}

void CT_UString::vv_Init()
{
    co_Buffer.v_SetSize(0, 0);
}

void CT_UString::vv_StringReplace(const CT_String* pcco_Source, unsigned n_SourceOffset,
                                  unsigned n_Count, unsigned n_Position)
{
    if (const CT_CString* pcco_Narrow = spcco_AsCString(pcco_Source))
        vv_StringReplace(pcco_Narrow->qccz_Get() + n_SourceOffset, n_Count, n_Position,
                         pcco_Narrow->n_GetCodePage());
    else if (const CT_UString* pcco_Wide = spcco_AsUString(pcco_Source))
        vv_StringReplace(pcco_Wide->qcuz_Get() + n_SourceOffset, n_Count, n_Position);
}

void CT_UString::vv_StringReplace(const char16_t* qcuz_Text, unsigned n_Count, unsigned n_Position)
{
    CT_Units::sv_Replace(co_Buffer, qcuz_Text, n_Count, n_Position);
}

// Converted in place: a byte never gives more than one unit. The units written decide the new
// length.
void CT_UString::vv_StringReplace(const char* qccz_Text, unsigned n_Count, unsigned n_Position,
                                  unsigned n_CodePage)
{
    char16_t* pu = CT_Units::spt_Reserve(co_Buffer, n_Position + n_Count);
    int i_Units = CT_StringConvert::si_MultiToWide(pu + n_Position, qccz_Text,
                                                   static_cast<int>(n_Count), n_CodePage);
    CT_Units::sv_Terminate(co_Buffer, n_Position + static_cast<unsigned>(i_Units));
}

void CT_UString::vv_StringInsert(const CT_String* pcco_Source, unsigned n_SourceOffset,
                                 unsigned n_Count, unsigned n_Position)
{
    if (const CT_CString* pcco_Narrow = spcco_AsCString(pcco_Source))
        vv_StringInsert(pcco_Narrow->qccz_Get() + n_SourceOffset, n_Count, n_Position,
                        pcco_Narrow->n_GetCodePage());
    else if (const CT_UString* pcco_Wide = spcco_AsUString(pcco_Source))
        vv_StringInsert(pcco_Wide->qcuz_Get() + n_SourceOffset, n_Count, n_Position);
}

void CT_UString::vv_StringInsert(const char16_t* qcuz_Text, unsigned n_Count, unsigned n_Position)
{
    CT_Units::sv_Insert(co_Buffer, qcuz_Text, n_Count, n_Position);
}

void CT_UString::vv_StringInsert(const char* qccz_Text, unsigned n_Count, unsigned n_Position,
                                 unsigned n_CodePage)
{
    CT_UString co_Text(qccz_Text, n_Count, n_CodePage);
    vv_StringInsert(co_Text.qcuz_Get(), co_Text.vn_GetLength(), n_Position);
}

void CT_UString::v_Append(char c_Char, unsigned n_CodePage)
{
    if (c_Char != 0)
        v_Append(CT_StringConvert::sus_MultiToWide(c_Char, n_CodePage));
}

// The hot path of building a string unit by unit: a short block is doubled, so that n appends
// cost O(n) copying.
void CT_UString::v_Append(char16_t u_Char)
{
    if (u_Char == 0)
        return;
    if (co_Buffer.n_GetUsedSize() == 0)
        CT_Units::sv_NewBlock(co_Buffer, 1);
    unsigned n_Used = co_Buffer.n_GetUsedSize();
    if (co_Buffer.n_GetMaximumSize() < n_Used + sizeof(char16_t))
        co_Buffer.v_SetSize(2 * (n_Used + sizeof(char16_t)), 1);
    unsigned n_Length = vn_GetLength();
    static_cast<char16_t*>(co_Buffer.qv_Get())[n_Length] = u_Char;
    CT_Units::sv_Terminate(co_Buffer, n_Length + 1);
}

void CT_UString::v_Append(const char16_t* qcuz_Text, unsigned n_Length)
{
    if (n_Length == sn_All)
        n_Length = n_UnitLength(qcuz_Text);
    if (n_Length)
        vv_StringReplace(qcuz_Text, n_Length, vn_GetLength());
}

void CT_UString::v_Append(const char* qccz_Text, unsigned n_Length, unsigned n_CodePage)
{
    if (n_Length == sn_All)
        n_Length = static_cast<unsigned>(std::strlen(qccz_Text));
    if (n_Length)
        vv_StringReplace(qccz_Text, n_Length, vn_GetLength(), n_CodePage);
}
