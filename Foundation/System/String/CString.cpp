#include "System/String/CString.h"

#include "Basis/Platform/Heap.h"
#include "System/String/StringConvert.h"
#include "System/String/WildcardMatch.h"

#include <cassert>
#include <cctype>
#include <cstring>

namespace
{
const char sac_Empty[1] = {0};

unsigned n_UnitLength(const char16_t* qcuz)
{
    unsigned n = 0;
    while (qcuz[n])
        ++n;
    return n;
}

int b_IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

int b_InSet(char c, const CT_CString& co_Set)
{
    return std::memchr(co_Set.qccz_Get(), c, co_Set.n_GetLength()) != nullptr;
}

// The other string as 8-bit text: a CT_CString is shared, anything else reads as empty.
CT_CString co_AsCString(const CT_String* pcco_Other, unsigned n_CodePage)
{
    CT_CString co_Copy(n_CodePage);
    co_Copy.v_Set(pcco_Other);
    return co_Copy;
}

const CT_CString* pcco_AsCString(const CT_String* pcco_Other)
{
    return pcco_Other
               ? static_cast<const CT_CString*>(pcco_Other->vpv_IsA(CT_CString::spcco_GetType()))
               : nullptr;
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

void* CT_CString::operator new(std::size_t n_Size)
{
    assert(n_Size == sizeof(CT_CString));
    (void)n_Size;
    return CT_Heap::spv_PoolAlloc(spso_Pool);
}

void CT_CString::operator delete(void* pv_Object)
{
    CT_Heap::sv_PoolFree(spso_Pool, pv_Object);
}

_SHI_Pool* CT_CString::spso_GetMemPool()
{
    return spso_Pool;
}

const char* CT_CString::qccz_Get() const
{
    return co_Buffer.n_GetUsedSize() ? static_cast<const char*>(co_Buffer.qcv_Get()) : sac_Empty;
}

void CT_CString::v_Reserve(unsigned n_Length)
{
    co_Buffer.v_SetMinSize(n_Length + 1, 1);
    co_Buffer.v_CopyWeWrite();
}

void CT_CString::v_Terminate(unsigned n_Length)
{
    pc_Data()[n_Length] = 0;
    co_Buffer.v_SetUsedSize(n_Length + 1);
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
    if (n_Length == 0)
    {
        co_Buffer.v_SetSize(0, b_Keep);
        return;
    }
    unsigned n_OldUsed = co_Buffer.n_GetUsedSize();
    co_Buffer.v_SetSize(n_Length + 1, b_Keep);
    if (!b_Keep || n_OldUsed == 0)
        v_Terminate(0);
    else if (n_Length < n_OldUsed)
        v_Terminate(n_Length);
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

// A fill that ends inside the string overwrites characters and leaves the rest in place; one
// that reaches or passes the end makes the fill's end the new end.
void CT_CString::vv_Replace(char c_Char, unsigned n_Count, unsigned n_Position)
{
    unsigned n_Length = vn_GetLength();
    if (n_Count == sn_All)
        n_Count = n_Length;
    if (n_Count == 0)
        return;
    unsigned n_End = n_Position + n_Count;
    v_Reserve(n_End);
    std::memset(pc_Data() + n_Position, c_Char, n_Count);
    if (n_End >= n_Length)
        v_Terminate(n_End);
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
    assert(n_Position < vn_GetLength() && "position beyond the string");
    pc_Data()[n_Position] = c_Char;
    if (c_Char == 0)
        co_Buffer.v_SetUsedSize(n_Position + 1);
}

void CT_CString::vv_ToLower()
{
    unsigned n_Length = vn_GetLength();
    char* pc = n_Length ? pc_Data() : nullptr;
    for (unsigned i = 0; i < n_Length; ++i)
        pc[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(pc[i])));
}

void CT_CString::vv_ToUpper()
{
    unsigned n_Length = vn_GetLength();
    char* pc = n_Length ? pc_Data() : nullptr;
    for (unsigned i = 0; i < n_Length; ++i)
        pc[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(pc[i])));
}

void CT_CString::vv_Remove(unsigned n_Count, unsigned n_Position)
{
    if (n_Count == 0 || co_Buffer.n_GetUsedSize() == 0)
        return;
    if (n_Count == sn_All)
        n_Count = vn_GetLength() - n_Position;
    co_Buffer.v_Remove(n_Count, n_Position);
}

unsigned CT_CString::vn_Find(char16_t u_Char, unsigned n_Start) const
{
    CT_CString co_Char(&u_Char, 1, n_CodePage);
    return vn_Find(&co_Char, n_Start);
}

unsigned CT_CString::vn_Find(char c_Char, unsigned n_Start) const
{
    unsigned n_Length = vn_GetLength();
    if (n_Start > n_Length)
        return sn_NotFound;
    const char* qccz = qccz_Get();
    auto* pcc =
        static_cast<const char*>(std::memchr(qccz + n_Start, c_Char, n_Length + 1 - n_Start));
    return pcc ? static_cast<unsigned>(pcc - qccz) : sn_NotFound;
}

unsigned CT_CString::vn_Find(const CT_String* pcco_Text, unsigned n_Start) const
{
    CT_CString co_Text = co_AsCString(pcco_Text, 0);
    unsigned n_TextLength = co_Text.vn_GetLength();
    if (n_TextLength == 0)
        return n_Start;
    unsigned n_Found = co_Buffer.n_Find(co_Text.qccz_Get(), n_TextLength, n_Start);
    // The buffer also holds the terminator, which is no part of the text.
    return n_Found != sn_NotFound && n_Found + n_TextLength <= vn_GetLength() ? n_Found
                                                                              : sn_NotFound;
}

void CT_CString::vv_Update()
{
    unsigned n_Maximum = co_Buffer.n_GetMaximumSize();
    if (n_Maximum == 0)
        return;
    char* pc = pc_Data();
    auto* pcc_Zero = static_cast<const char*>(std::memchr(pc, 0, n_Maximum));
    v_Terminate(pcc_Zero ? static_cast<unsigned>(pcc_Zero - pc) : n_Maximum - 1);
}

int CT_CString::vb_Match(const CT_String* pcco_Pattern) const
{
    CT_CString co_Pattern = co_AsCString(pcco_Pattern, 0);
    return b_RMatch(co_Pattern.qccz_Get(), co_Pattern.vn_GetLength(), qccz_Get(), vn_GetLength());
}

int CT_CString::b_Match(const char* qccz_Pattern) const
{
    return b_RMatch(qccz_Pattern, static_cast<unsigned>(std::strlen(qccz_Pattern)), qccz_Get(),
                    vn_GetLength());
}

void CT_CString::vv_Strip(const CT_String* pcco_Set)
{
    if (!pcco_Set)
    {
        vv_StripLeft();
        vv_StripRight();
        return;
    }
    CT_CString co_Set = co_AsCString(pcco_Set, 0);
    const char* qccz = qccz_Get();
    unsigned n_Lead = 0;
    while (n_Lead < vn_GetLength() && b_InSet(qccz[n_Lead], co_Set))
        ++n_Lead;
    vv_Remove(n_Lead, 0);
    qccz = qccz_Get();
    unsigned n_End = vn_GetLength();
    while (n_End > 1 && b_InSet(qccz[n_End - 1], co_Set))
        --n_End;
    vv_Remove(vn_GetLength() - n_End, n_End);
}

void CT_CString::vv_StripRight()
{
    unsigned n_End = vn_GetLength();
    if (n_End == 0)
        return;
    char* pc = pc_Data();
    while (n_End > 0 && b_IsSpace(pc[n_End - 1]))
        --n_End;
    pc[n_End] = 0;
    vv_Update();
}

void CT_CString::vv_StripLeft()
{
    const char* qccz = qccz_Get();
    unsigned n_Lead = 0;
    while (b_IsSpace(qccz[n_Lead]))
        ++n_Lead;
    vv_Remove(n_Lead, 0);
}

int CT_CString::vi_Compare(const CT_String* pcco_Other, unsigned n_OtherOffset, unsigned n_Count,
                           unsigned n_Offset) const
{
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
    auto* pc_Own = reinterpret_cast<const unsigned char*>(qccz_Get() + n_Offset);
    auto* pc_Text = reinterpret_cast<const unsigned char*>(qccz_Text);
    if (n_Count == sn_All)
    {
        int i = std::strcmp(reinterpret_cast<const char*>(pc_Own), qccz_Text);
        return (i > 0) - (i < 0);
    }
    for (unsigned i = 0; i < n_Count; ++i)
    {
        if (pc_Own[i] != pc_Text[i] || pc_Own[i] == 0)
            return pc_Own[i] - pc_Text[i];
    }
    return 0;
}

void CT_CString::vv_Translate(const CT_String* pcco_From, const CT_String* pcco_To)
{
    unsigned n_Length = vn_GetLength();
    if (n_Length == 0)
        return;
    CT_CString co_From = co_AsCString(pcco_From, 0);
    CT_CString co_To = co_AsCString(pcco_To, 0);
    char* pc = pc_Data();
    unsigned n_Kept = 0;
    for (unsigned i = 0; i < n_Length; ++i)
    {
        auto* pcc_Hit =
            static_cast<const char*>(std::memchr(co_From.qccz_Get(), pc[i], co_From.n_GetLength()));
        if (!pcc_Hit)
            pc[n_Kept++] = pc[i];
        else if (unsigned n_Index = static_cast<unsigned>(pcc_Hit - co_From.qccz_Get());
                 n_Index < co_To.n_GetLength())
            pc[n_Kept++] = co_To.qccz_Get()[n_Index];
    }
    v_Terminate(n_Kept);
}

void CT_CString::vv_SetLength(unsigned n_Length)
{
    if (n_Length == 0)
        co_Buffer.v_SetSize(1, 1);
    v_Reserve(n_Length);
    v_Terminate(n_Length);
}

unsigned CT_CString::vn_GetLength() const
{
    unsigned n_Used = co_Buffer.n_GetUsedSize();
    return n_Used ? n_Used - 1 : 0;
}

unsigned CT_CString::vn_GetMaximumLength() const
{
    unsigned n_Maximum = co_Buffer.n_GetMaximumSize();
    return n_Maximum ? n_Maximum - 1 : 0;
}

void CT_CString::vv_SetGrowth(unsigned n_Growth)
{
    co_Buffer.v_SetGrowth(n_Growth);
}

unsigned CT_CString::vn_GetGrowth() const
{
    return co_Buffer.n_GetGrowth();
}

void CT_CString::vv_Format(const CT_String* pcco_Format, va_list args)
{
    if (const CT_CString* pcco_Narrow = pcco_AsCString(pcco_Format))
        v_Format(pcco_Narrow->qccz_Get(), args);
}

void CT_CString::vv_Format(const CT_String* pcco_Format, ...)
{
    va_list args;
    va_start(args, pcco_Format);
    vv_Format(pcco_Format, args);
    va_end(args);
}

void CT_CString::vv_VFormat(const CT_String* pcco_Format, va_list args)
{
    vv_Format(pcco_Format, args);
}

void CT_CString::vv_Init(const CT_Buffer* pcco_Buffer)
{
    co_Buffer.v_Set(pcco_Buffer);
}

void CT_CString::vv_Init(const char16_t* qcuz_Text, unsigned n_Length)
{
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
    if (!pcco_Other)
        vv_Init();
    else if (const CT_CString* pcco_Narrow = pcco_AsCString(pcco_Other))
    {
        co_Buffer.v_Set(&pcco_Narrow->co_Buffer);
        n_CodePage = pcco_Narrow->n_CodePage;
    }
}

void CT_CString::vv_Init(unsigned n_Length)
{
    co_Buffer.v_Set(n_Length + 1, sn_All, 0);
    v_Terminate(0);
}

void CT_CString::vv_Init()
{
    co_Buffer.v_SetSize(0, 0);
}

void CT_CString::vv_StringReplace(const CT_String* pcco_Source, unsigned n_SourceOffset,
                                  unsigned n_Count, unsigned n_Position)
{
    if (const CT_CString* pcco_Narrow = pcco_AsCString(pcco_Source))
        vv_StringReplace(pcco_Narrow->qccz_Get() + n_SourceOffset, n_Count, n_Position, sn_All);
}

void CT_CString::vv_StringReplace(const char16_t* qcuz_Text, unsigned n_Count, unsigned n_Position)
{
    v_Reserve(n_Position + 2 * n_Count);
    int n_Bytes = CT_StringConvert::si_WideToMulti(pc_Data() + n_Position, qcuz_Text,
                                                   static_cast<int>(n_Count), n_CodePage);
    v_Terminate(n_Position + static_cast<unsigned>(n_Bytes));
}

void CT_CString::vv_StringReplace(const char* qccz_Text, unsigned n_Count, unsigned n_Position,
                                  unsigned /*n_CodePage*/)
{
    const char* pcc_Own = static_cast<const char*>(co_Buffer.qcv_Get());
    if (n_Count && pcc_Own && qccz_Text >= pcc_Own &&
        qccz_Text < pcc_Own + co_Buffer.n_GetMaximumSize())
    {
        // The text lies in this string's own block, which the reserve below may move.
        CT_CString co_Copy(qccz_Text, n_Count, n_CodePage);
        vv_StringReplace(co_Copy.qccz_Get(), n_Count, n_Position, sn_All);
        return;
    }
    v_Reserve(n_Position + n_Count);
    if (n_Count)
        std::memcpy(pc_Data() + n_Position, qccz_Text, n_Count);
    v_Terminate(n_Position + n_Count);
}

void CT_CString::vv_StringInsert(const CT_String* pcco_Source, unsigned n_SourceOffset,
                                 unsigned n_Count, unsigned n_Position)
{
    if (const CT_CString* pcco_Narrow = pcco_AsCString(pcco_Source))
        vv_StringInsert(pcco_Narrow->qccz_Get() + n_SourceOffset, n_Count, n_Position, sn_All);
}

void CT_CString::vv_StringInsert(const char16_t* qcuz_Text, unsigned n_Count, unsigned n_Position)
{
    CT_CString co_Text(qcuz_Text, n_Count, n_CodePage);
    vv_StringInsert(co_Text.qccz_Get(), co_Text.vn_GetLength(), n_Position, sn_All);
}

void CT_CString::vv_StringInsert(const char* qccz_Text, unsigned n_Count, unsigned n_Position,
                                 unsigned /*n_CodePage*/)
{
    if (co_Buffer.n_GetUsedSize() == 0)
    {
        co_Buffer.v_SetSize(n_Count + 1, 0);
        v_Terminate(0);
    }
    co_Buffer.v_Insert(qccz_Text, n_Count, n_Position);
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
    pc_Data()[n_Used - 1] = c_Char;
}

void CT_CString::v_Append(char16_t u_Char)
{
    if (u_Char == 0)
        return;
    char ac_Bytes[2];
    int n_Bytes = CT_StringConvert::si_WideToMulti(ac_Bytes, &u_Char, 1, n_CodePage);
    if (n_Bytes > 0)
        CT_String::v_Append(ac_Bytes, static_cast<unsigned>(n_Bytes));
}
