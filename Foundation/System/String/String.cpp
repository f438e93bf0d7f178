#include "System/String/String.h"

#include "System/String/CString.h"
#include "System/String/Formatter.h"
#include "System/String/UString.h"

#include <cstring>

namespace
{
unsigned n_TextLength(const char* qccz)
{
    return static_cast<unsigned>(std::strlen(qccz));
}

unsigned n_TextLength(const char16_t* qcuz)
{
    unsigned n = 0;
    while (qcuz[n])
        ++n;
    return n;
}

template <typename T>
unsigned n_Measured(const T* qcz_Text, unsigned n_Length)
{
    return n_Length == CT_String::sn_All ? n_TextLength(qcz_Text) : n_Length;
}
} // namespace

CT_String::CT_String(const CT_Buffer* pcco_Buffer) : co_Buffer(pcco_Buffer)
{
    CT_REGISTER_CONSTRUCT(CT_String);
}

CT_String::CT_String(CT_Type* /*pco_Prototype*/)
{
    CT_REGISTER_CONSTRUCT(CT_String);
}

CT_String::CT_String(const CT_String& co_Other) : co_Buffer(&co_Other.co_Buffer)
{
    CT_REGISTER_CONSTRUCT(CT_String);
}

CT_String::~CT_String()
{
    CT_REGISTER_DESTRUCT(CT_String);
}

// The base's own operations do nothing; every concrete string class overrides them all.
CT_String* CT_String::vpco_Create() const
{
    return nullptr;
}
void CT_String::vv_SetSize(unsigned, int) {}
void CT_String::vv_SetMinSize(unsigned, int) {}
void CT_String::vv_Replace(char16_t, unsigned, unsigned) {}
void CT_String::vv_Replace(char, unsigned, unsigned) {}
char CT_String::vc_GetAt(unsigned) const
{
    return 0;
}
char16_t CT_String::vu_GetAt(unsigned) const
{
    return 0;
}
void CT_String::vv_SetAt(char16_t, unsigned) {}
void CT_String::vv_SetAt(char, unsigned) {}
void CT_String::vv_ToLower() {}
void CT_String::vv_ToUpper() {}
void CT_String::vv_Remove(unsigned, unsigned) {}
unsigned CT_String::vn_Find(char16_t, unsigned) const
{
    return 0;
}
unsigned CT_String::vn_Find(char, unsigned) const
{
    return 0;
}
unsigned CT_String::vn_Find(const CT_String*, unsigned) const
{
    return 0;
}
void CT_String::vv_Update() {}
int CT_String::vb_Match(const CT_String*) const
{
    return 0;
}
void CT_String::vv_Strip(const CT_String*) {}
void CT_String::vv_StripRight() {}
void CT_String::vv_StripLeft() {}
int CT_String::vi_Compare(const CT_String*, unsigned, unsigned, unsigned) const
{
    return 0;
}
int CT_String::vi_Compare(const char16_t*, unsigned, unsigned) const
{
    return 0;
}
int CT_String::vi_Compare(const char*, unsigned, unsigned) const
{
    return 0;
}
void CT_String::vv_Translate(const CT_String*, const CT_String*) {}
void CT_String::vv_SetLength(unsigned) {}
unsigned CT_String::vn_GetLength() const
{
    return 0;
}
unsigned CT_String::vn_GetMaximumLength() const
{
    return 0;
}
void CT_String::vv_SetGrowth(unsigned) {}
unsigned CT_String::vn_GetGrowth() const
{
    return 0;
}
void CT_String::vv_Init(const CT_Buffer* pcco_Buffer)
{
    co_Buffer.v_Set(pcco_Buffer);
}

void CT_String::vv_Format(const CT_String* pcco_Format, va_list args)
{
    v_FormatWith(pcco_Format, args);
}

void CT_String::vv_Format(const CT_String* pcco_Format, ...)
{
    va_list args;
    va_start(args, pcco_Format);
    v_FormatWith(pcco_Format, args);
    va_end(args);
}

void CT_String::vv_VFormat(const CT_String* pcco_Format, va_list args)
{
    v_FormatWith(pcco_Format, args);
}
void CT_String::vv_Init(const char16_t*, unsigned) {}
void CT_String::vv_Init(const char*, unsigned, unsigned) {}
void CT_String::vv_Init(const CT_String*) {}
void CT_String::vv_Init(unsigned) {}
void CT_String::vv_Init() {}
void CT_String::vv_StringReplace(const CT_String*, unsigned, unsigned, unsigned) {}
void CT_String::vv_StringReplace(const char16_t*, unsigned, unsigned) {}
void CT_String::vv_StringReplace(const char*, unsigned, unsigned, unsigned) {}
void CT_String::vv_StringInsert(const CT_String*, unsigned, unsigned, unsigned) {}
void CT_String::vv_StringInsert(const char16_t*, unsigned, unsigned) {}
void CT_String::vv_StringInsert(const char*, unsigned, unsigned, unsigned) {}

const CT_CString* CT_String::spcco_AsCString(const CT_String* pcco_Other)
{
    return pcco_Other
               ? static_cast<const CT_CString*>(pcco_Other->vpv_IsA(CT_CString::spcco_GetType()))
               : nullptr;
}

const CT_UString* CT_String::spcco_AsUString(const CT_String* pcco_Other)
{
    return pcco_Other
               ? static_cast<const CT_UString*>(pcco_Other->vpv_IsA(CT_UString::spcco_GetType()))
               : nullptr;
}

void CT_String::v_FormatWith(const CT_String* pcco_Format, va_list args)
{
    if (const CT_CString* pcco_Narrow = spcco_AsCString(pcco_Format))
        v_Format(pcco_Narrow->qccz_Get(), args);
    else if (const CT_UString* pcco_Wide = spcco_AsUString(pcco_Format))
        v_Format(pcco_Wide->qcuz_Get(), args);
}

void CT_String::v_Set(const char* qccz_Text, unsigned n_Length, unsigned n_CodePage)
{
    if (n_CodePage == sn_OwnCodePage)
    {
        const CT_CString* pcco_Own = spcco_AsCString(this);
        n_CodePage = pcco_Own ? pcco_Own->n_GetCodePage() : 0;
    }
    vv_Init(qccz_Text, n_Length, n_CodePage);
}

void CT_String::v_Set(unsigned n_Length, int b_Reuse)
{
    if (!b_Reuse || vn_GetMaximumLength() < n_Length)
        vv_Init(n_Length);
    else
        vv_SetLength(0);
}

void CT_String::v_Replace(const CT_String* pcco_Source, unsigned n_SourceOffset, unsigned n_Count,
                          unsigned n_Position)
{
    if (n_Count == sn_All)
        n_Count = pcco_Source->vn_GetLength() - n_SourceOffset;
    vv_StringReplace(pcco_Source, n_SourceOffset, n_Count, n_Position);
}

void CT_String::v_Replace(const char* qccz_Text, unsigned n_Length, unsigned n_Position)
{
    vv_StringReplace(qccz_Text, n_Measured(qccz_Text, n_Length), n_Position, sn_All);
}

void CT_String::v_Replace(const char16_t* qcuz_Text, unsigned n_Length, unsigned n_Position)
{
    vv_StringReplace(qcuz_Text, n_Measured(qcuz_Text, n_Length), n_Position);
}

void CT_String::v_Insert(const char* qccz_Text, unsigned n_Length, unsigned n_Position)
{
    vv_StringInsert(qccz_Text, n_Measured(qccz_Text, n_Length), n_Position, sn_All);
}

void CT_String::v_Insert(const char16_t* qcuz_Text, unsigned n_Length, unsigned n_Position)
{
    vv_StringInsert(qcuz_Text, n_Measured(qcuz_Text, n_Length), n_Position);
}

void CT_String::v_Insert(const CT_String* pcco_Text, unsigned n_Count, unsigned n_Position)
{
    if (n_Count == sn_All)
        n_Count = pcco_Text->vn_GetLength();
    vv_StringInsert(pcco_Text, 0, n_Count, n_Position);
}

void CT_String::v_Append(const char* qccz_Text, unsigned n_Length)
{
    n_Length = n_Measured(qccz_Text, n_Length);
    if (n_Length)
        vv_StringInsert(qccz_Text, n_Length, vn_GetLength(), sn_All);
}

void CT_String::v_Append(const char16_t* qcuz_Text, unsigned n_Length)
{
    n_Length = n_Measured(qcuz_Text, n_Length);
    if (n_Length)
        vv_StringInsert(qcuz_Text, n_Length, vn_GetLength());
}

void CT_String::v_Append(const CT_String* pcco_Text, unsigned n_Count)
{
    unsigned n_Length = pcco_Text->vn_GetLength();
    vv_StringInsert(pcco_Text, 0, n_Count < n_Length ? n_Count : n_Length, vn_GetLength());
}

void CT_String::v_Format(const char* qccz_Format, ...)
{
    va_list args;
    va_start(args, qccz_Format);
    v_Format(qccz_Format, args);
    va_end(args);
}

void CT_String::v_Format(const char* qccz_Format, va_list args)
{
    char ac_Text[sn_FormatCapacity];
    CT_Formatter::sn_Format(ac_Text, sn_FormatCapacity, qccz_Format, args);
    v_Set(ac_Text, sn_All, sn_OwnCodePage);
}

void CT_String::v_Format(const char16_t* qcuz_Format, ...)
{
    va_list args;
    va_start(args, qcuz_Format);
    v_Format(qcuz_Format, args);
    va_end(args);
}

void CT_String::v_Format(const char16_t* qcuz_Format, va_list args)
{
    char16_t au_Text[sn_FormatCapacity];
    CT_Formatter::sn_Format(au_Text, sn_FormatCapacity, qcuz_Format, args);
    vv_Init(au_Text, sn_All);
}
