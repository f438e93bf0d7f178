#include "System/String/StringUnits.h"

#include "System/String/String.h"
#include "System/String/WildcardMatch.h"

#include <algorithm>
#include <cassert>
#include <cctype>
#include <cwctype>
#include <string>
#include <string_view>
#include <type_traits>

namespace
{
template <typename T>
constexpr T sat_Empty[1] = {0};

template <typename T>
T* pt_Data(CT_Buffer& co_Buffer)
{
    return static_cast<T*>(co_Buffer.qv_Get());
}

int b_IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The units that the Windows runtime's iswspace accepts, so that both builds strip alike.
int b_IsSpace(char16_t u)
{
    return (u >= 0x09 && u <= 0x0D) || u == 0x20 || u == 0xA0 || u == 0x1680 ||
           (u >= 0x2000 && u <= 0x200A) || u == 0x2028 || u == 0x2029 || u == 0x202F ||
           u == 0x205F || u == 0x3000;
}

// The runtime's case mappings, as _strlwr and _wcslwr apply them.
char t_ToLower(char c)
{
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}
char t_ToUpper(char c)
{
    return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
}
char16_t t_ToLower(char16_t u)
{
    return static_cast<char16_t>(std::towlower(u));
}
char16_t t_ToUpper(char16_t u)
{
    return static_cast<char16_t>(std::towupper(u));
}

template <typename T>
int b_InSet(T t, const T* pct_Set, unsigned n_Set)
{
    return std::char_traits<T>::find(pct_Set, n_Set, t) != nullptr;
}

template <typename T, typename Fn>
void v_MapUnits(CT_Buffer& co_Buffer, Fn fn_Map)
{
    unsigned n_Length = CT_StringUnits<T>::sn_Length(co_Buffer);
    if (n_Length == 0)
        return;
    T* pt = pt_Data<T>(co_Buffer);
    std::transform(pt, pt + n_Length, pt, fn_Map);
}
} // namespace

template <typename T>
const T* CT_StringUnits<T>::sqct_Get(const CT_Buffer& co_Buffer)
{
    return co_Buffer.n_GetUsedSize() ? static_cast<const T*>(co_Buffer.qcv_Get()) : sat_Empty<T>;
}

template <typename T>
unsigned CT_StringUnits<T>::sn_Length(const CT_Buffer& co_Buffer)
{
    unsigned n_Used = co_Buffer.n_GetUsedSize() / sizeof(T);
    return n_Used ? n_Used - 1 : 0;
}

template <typename T>
unsigned CT_StringUnits<T>::sn_MaximumLength(const CT_Buffer& co_Buffer)
{
    unsigned n_Maximum = co_Buffer.n_GetMaximumSize() / sizeof(T);
    return n_Maximum ? n_Maximum - 1 : 0;
}

template <typename T>
unsigned CT_StringUnits<T>::sn_Find(const CT_Buffer& co_Buffer, T t_Char, unsigned n_Start)
{
    unsigned n_Length = sn_Length(co_Buffer);
    if (n_Start > n_Length)
        return CT_String::sn_NotFound;
    const T* pct = sqct_Get(co_Buffer);
    const T* pct_Hit = std::char_traits<T>::find(pct + n_Start, n_Length + 1 - n_Start, t_Char);
    return pct_Hit ? static_cast<unsigned>(pct_Hit - pct) : CT_String::sn_NotFound;
}

template <typename T>
unsigned CT_StringUnits<T>::sn_Find(const CT_Buffer& co_Buffer, const T* pct_Text,
                                    unsigned n_Length, unsigned n_Start)
{
    if (n_Length == 0)
        return n_Start;
    std::basic_string_view<T> o_Own(sqct_Get(co_Buffer), sn_Length(co_Buffer));
    std::size_t n_Hit = o_Own.find(std::basic_string_view<T>(pct_Text, n_Length), n_Start);
    return n_Hit == o_Own.npos ? CT_String::sn_NotFound : static_cast<unsigned>(n_Hit);
}

template <typename T>
int CT_StringUnits<T>::si_Compare(const CT_Buffer& co_Buffer, const T* pct_Text, unsigned n_Count,
                                  unsigned n_Offset)
{
    using T_Value = std::make_unsigned_t<T>;
    auto* pct_Own = reinterpret_cast<const T_Value*>(sqct_Get(co_Buffer) + n_Offset);
    auto* pct_Other = reinterpret_cast<const T_Value*>(pct_Text);
    if (n_Count == CT_String::sn_All)
    {
        while (*pct_Own && *pct_Own == *pct_Other)
            ++pct_Own, ++pct_Other;
        return (*pct_Own > *pct_Other) - (*pct_Own < *pct_Other);
    }
    for (unsigned i = 0; i < n_Count; ++i)
    {
        if (pct_Own[i] != pct_Other[i] || pct_Own[i] == 0)
            return pct_Own[i] - pct_Other[i];
    }
    return 0;
}

template <typename T>
int CT_StringUnits<T>::sb_Match(const CT_Buffer& co_Buffer, const T* pct_Pattern, unsigned n_Length)
{
    return b_RMatch(pct_Pattern, n_Length, sqct_Get(co_Buffer), sn_Length(co_Buffer));
}

template <typename T>
T* CT_StringUnits<T>::spt_Reserve(CT_Buffer& co_Buffer, unsigned n_Length)
{
    co_Buffer.v_SetMinSize((n_Length + 1) * sizeof(T), 1);
    return pt_Data<T>(co_Buffer);
}

template <typename T>
void CT_StringUnits<T>::sv_Terminate(CT_Buffer& co_Buffer, unsigned n_Length)
{
    pt_Data<T>(co_Buffer)[n_Length] = 0;
    co_Buffer.v_SetUsedSize((n_Length + 1) * sizeof(T));
}

// Without keep, or without content before, the string becomes empty; with keep it is cut to
// n_Length when longer.
template <typename T>
void CT_StringUnits<T>::sv_SetSize(CT_Buffer& co_Buffer, unsigned n_Length, int b_Keep)
{
    if (n_Length == 0)
    {
        co_Buffer.v_SetSize(0, b_Keep);
        return;
    }
    unsigned n_OldUsed = co_Buffer.n_GetUsedSize() / sizeof(T);
    co_Buffer.v_SetSize((n_Length + 1) * sizeof(T), b_Keep);
    if (!b_Keep || n_OldUsed == 0)
        sv_Terminate(co_Buffer, 0);
    else if (n_Length < n_OldUsed)
        sv_Terminate(co_Buffer, n_Length);
}

template <typename T>
void CT_StringUnits<T>::sv_SetLength(CT_Buffer& co_Buffer, unsigned n_Length)
{
    if (n_Length == 0)
        co_Buffer.v_SetSize(sizeof(T), 1);
    spt_Reserve(co_Buffer, n_Length);
    sv_Terminate(co_Buffer, n_Length);
}

template <typename T>
void CT_StringUnits<T>::sv_NewBlock(CT_Buffer& co_Buffer, unsigned n_Units)
{
    co_Buffer.v_Set(std::max(n_Units, 1u) * sizeof(T), CT_Buffer::sn_All, 0);
    sv_Terminate(co_Buffer, 0);
}

// A fill that ends inside the string overwrites units and leaves the rest in place; one that
// reaches or passes the end makes the fill's end the new end.
template <typename T>
void CT_StringUnits<T>::sv_Fill(CT_Buffer& co_Buffer, T t_Char, unsigned n_Count,
                                unsigned n_Position)
{
    unsigned n_Length = sn_Length(co_Buffer);
    if (n_Count == CT_String::sn_All)
        n_Count = n_Length;
    if (n_Count == 0)
        return;
    unsigned n_End = n_Position + n_Count;
    std::fill_n(spt_Reserve(co_Buffer, n_End) + n_Position, n_Count, t_Char);
    if (n_End >= n_Length)
        sv_Terminate(co_Buffer, n_End);
}

template <typename T>
void CT_StringUnits<T>::sv_SetAt(CT_Buffer& co_Buffer, T t_Char, unsigned n_Position)
{
    assert(n_Position < sn_Length(co_Buffer) && "position beyond the string");
    pt_Data<T>(co_Buffer)[n_Position] = t_Char;
    if (t_Char == 0)
        co_Buffer.v_SetUsedSize((n_Position + 1) * sizeof(T));
}

template <typename T>
void CT_StringUnits<T>::sv_Remove(CT_Buffer& co_Buffer, unsigned n_Count, unsigned n_Position)
{
    if (n_Count == 0 || co_Buffer.n_GetUsedSize() == 0)
        return;
    if (n_Count == CT_String::sn_All)
        n_Count = sn_Length(co_Buffer) - n_Position;
    co_Buffer.v_Remove(n_Count * sizeof(T), n_Position * sizeof(T));
}

// Without a zero unit in the block the last unit becomes the terminator.
template <typename T>
void CT_StringUnits<T>::sv_Update(CT_Buffer& co_Buffer)
{
    unsigned n_Maximum = co_Buffer.n_GetMaximumSize() / sizeof(T);
    if (n_Maximum == 0)
        return;
    const T* pct = pt_Data<T>(co_Buffer);
    const T* pct_Zero = std::char_traits<T>::find(pct, n_Maximum, T(0));
    sv_Terminate(co_Buffer, pct_Zero ? static_cast<unsigned>(pct_Zero - pct) : n_Maximum - 1);
}

// The trailing pass never looks at the first unit, which the leading pass has left.
template <typename T>
void CT_StringUnits<T>::sv_Strip(CT_Buffer& co_Buffer, const T* pct_Set, unsigned n_Set)
{
    const T* pct = sqct_Get(co_Buffer);
    unsigned n_Lead = 0;
    while (n_Lead < sn_Length(co_Buffer) && b_InSet(pct[n_Lead], pct_Set, n_Set))
        ++n_Lead;
    sv_Remove(co_Buffer, n_Lead, 0);
    pct = sqct_Get(co_Buffer);
    unsigned n_Length = sn_Length(co_Buffer);
    unsigned n_End = n_Length;
    while (n_End > 1 && b_InSet(pct[n_End - 1], pct_Set, n_Set))
        --n_End;
    sv_Remove(co_Buffer, n_Length - n_End, n_End);
}

template <typename T>
void CT_StringUnits<T>::sv_StripLeft(CT_Buffer& co_Buffer)
{
    const T* pct = sqct_Get(co_Buffer);
    unsigned n_Lead = 0;
    while (b_IsSpace(pct[n_Lead]))
        ++n_Lead;
    sv_Remove(co_Buffer, n_Lead, 0);
}

template <typename T>
void CT_StringUnits<T>::sv_StripRight(CT_Buffer& co_Buffer)
{
    unsigned n_End = sn_Length(co_Buffer);
    if (n_End == 0)
        return;
    T* pt = pt_Data<T>(co_Buffer);
    while (n_End > 0 && b_IsSpace(pt[n_End - 1]))
        --n_End;
    pt[n_End] = 0;
    sv_Update(co_Buffer);
}

template <typename T>
void CT_StringUnits<T>::sv_ToLower(CT_Buffer& co_Buffer)
{
    v_MapUnits<T>(co_Buffer, [](T t) { return t_ToLower(t); });
}

template <typename T>
void CT_StringUnits<T>::sv_ToUpper(CT_Buffer& co_Buffer)
{
    v_MapUnits<T>(co_Buffer, [](T t) { return t_ToUpper(t); });
}

// A unit found in the from-set at index i becomes the to-set's unit i, or goes when the to-set
// is shorter; other units stay.
template <typename T>
void CT_StringUnits<T>::sv_Translate(CT_Buffer& co_Buffer, const T* pct_From, unsigned n_From,
                                     const T* pct_To, unsigned n_To)
{
    unsigned n_Length = sn_Length(co_Buffer);
    if (n_Length == 0)
        return;
    T* pt = pt_Data<T>(co_Buffer);
    unsigned n_Kept = 0;
    for (unsigned i = 0; i < n_Length; ++i)
    {
        const T* pct_Hit = std::char_traits<T>::find(pct_From, n_From, pt[i]);
        if (!pct_Hit)
            pt[n_Kept++] = pt[i];
        else if (unsigned n_Index = static_cast<unsigned>(pct_Hit - pct_From); n_Index < n_To)
            pt[n_Kept++] = pct_To[n_Index];
    }
    sv_Terminate(co_Buffer, n_Kept);
}

template <typename T>
void CT_StringUnits<T>::sv_Replace(CT_Buffer& co_Buffer, const T* pct_Text, unsigned n_Count,
                                   unsigned n_Position)
{
    auto* pct_Own = static_cast<const T*>(co_Buffer.qcv_Get());
    if (n_Count && pct_Own && pct_Text >= pct_Own &&
        pct_Text < pct_Own + co_Buffer.n_GetMaximumSize() / sizeof(T))
    {
        // The text lies in the block itself, which the reserve below may move or overwrite.
        CT_Buffer co_Copy(pct_Text, n_Count * sizeof(T), co_Buffer.n_GetGrowth());
        sv_Replace(co_Buffer, static_cast<const T*>(co_Copy.qcv_Get()), n_Count, n_Position);
        return;
    }
    T* pt = spt_Reserve(co_Buffer, n_Position + n_Count);
    std::copy_n(pct_Text, n_Count, pt + n_Position);
    sv_Terminate(co_Buffer, n_Position + n_Count);
}

template <typename T>
void CT_StringUnits<T>::sv_Insert(CT_Buffer& co_Buffer, const T* pct_Text, unsigned n_Count,
                                  unsigned n_Position)
{
    if (co_Buffer.n_GetUsedSize() == 0)
    {
        co_Buffer.v_SetSize((n_Count + 1) * sizeof(T), 0);
        sv_Terminate(co_Buffer, 0);
    }
    co_Buffer.v_Insert(pct_Text, n_Count * sizeof(T), n_Position * sizeof(T));
}

template class CT_StringUnits<char>;
template class CT_StringUnits<char16_t>;
