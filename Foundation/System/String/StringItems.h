// The split of a string into items and words, shared by CT_StringScanner and the string maps, and
// the dispatch on the kind of the strings taking part (CT_CString: units of char, CT_UString:
// units of char16_t). Internal to the library.
//
// An item is the text between two separator units or between an end and the nearest separator:
// k separators give k + 1 items. A word is a maximal run of units none of which is in a separator
// set: separators at the ends or in a row give no empty words.
#pragma once

#include "System/String/CString.h"
#include "System/String/StringConvert.h"
#include "System/String/UString.h"

#include <cstddef>
#include <initializer_list>
#include <string_view>

template <typename T>
struct CT_StringKind;

template <>
struct CT_StringKind<char>
{
    using Class = CT_CString;
    static std::string_view ss_Text(const CT_CString* pcco)
    {
        return {pcco->qccz_Get(), pcco->vn_GetLength()};
    }
    // A 16-bit separator for 8-bit text: one byte of code page 0.
    static char st_Unit(char16_t u) { return CT_StringConvert::sc_WideToMulti(u, 0); }
    static void sv_Set(CT_String* pco_Out, std::string_view s)
    {
        pco_Out->v_Set(s.data(), static_cast<unsigned>(s.size()), CT_String::sn_OwnCodePage);
    }
};

template <>
struct CT_StringKind<char16_t>
{
    using Class = CT_UString;
    static std::u16string_view ss_Text(const CT_UString* pcco)
    {
        return {pcco->qcuz_Get(), pcco->vn_GetLength()};
    }
    static char16_t st_Unit(char16_t u) { return u; }
    static void sv_Set(CT_String* pco_Out, std::u16string_view s)
    {
        pco_Out->v_Set(s.data(), static_cast<unsigned>(s.size()));
    }
};

template <typename T>
using CT_StringOfKind = typename CT_StringKind<T>::Class;

// The string, which must be of kind T, as that class and as its text.
template <typename T>
const CT_StringOfKind<T>* pcco_OfKind(const CT_String* pcco_String)
{
    return static_cast<const CT_StringOfKind<T>*>(pcco_String);
}

template <typename T>
std::basic_string_view<T> s_TextOf(const CT_String* pcco_String)
{
    return CT_StringKind<T>::ss_Text(pcco_OfKind<T>(pcco_String));
}

template <typename T>
int b_AllOfKind(std::initializer_list<const CT_String*> lpcco_Strings)
{
    for (const CT_String* pcco : lpcco_Strings)
        if (!pcco || !pcco->vpv_IsA(CT_StringKind<T>::Class::spcco_GetType()))
            return 0;
    return 1;
}

// fn called with a unit of the strings' kind when they are all CT_CString, or else all
// CT_UString (asked in that order); with mixed kinds fn is not called and the result is zero.
template <typename Fn>
auto r_OfOneKind(std::initializer_list<const CT_String*> lpcco_Strings, Fn fn)
    -> decltype(fn(char{}))
{
    if (b_AllOfKind<char>(lpcco_Strings))
        return fn(char{});
    if (b_AllOfKind<char16_t>(lpcco_Strings))
        return fn(char16_t{});
    return decltype(fn(char{}))();
}

// A piece of a text: its first unit's position and its length in units.
struct st_TextPiece
{
    unsigned n_Start;
    unsigned n_Length;
};

// The items of a text, left to right.
template <typename T>
class CT_StringItems
{
public:
    CT_StringItems(std::basic_string_view<T> s_Text, T t_Separator)
        : s_Text(s_Text), t_Separator(t_Separator)
    {
    }

    // The next item; false after the last.
    int b_Next(st_TextPiece* pso_Item)
    {
        if (n_Next > s_Text.size())
            return 0;
        std::size_t n_End = s_Text.find(t_Separator, n_Next);
        if (n_End == s_Text.npos)
            n_End = s_Text.size();
        *pso_Item = {static_cast<unsigned>(n_Next), static_cast<unsigned>(n_End - n_Next)};
        n_Next = n_End + 1;
        return 1;
    }

private:
    std::basic_string_view<T> s_Text;
    T t_Separator;
    std::size_t n_Next = 0;
};

// The words of a text, left to right.
template <typename T>
class CT_StringWords
{
public:
    CT_StringWords(std::basic_string_view<T> s_Text, std::basic_string_view<T> s_Separators)
        : s_Text(s_Text), s_Separators(s_Separators)
    {
    }

    int b_Next(st_TextPiece* pso_Word)
    {
        std::size_t n_Start = s_Text.find_first_not_of(s_Separators, n_Next);
        if (n_Start == s_Text.npos)
            return 0;
        std::size_t n_End = s_Text.find_first_of(s_Separators, n_Start);
        if (n_End == s_Text.npos)
            n_End = s_Text.size();
        *pso_Word = {static_cast<unsigned>(n_Start), static_cast<unsigned>(n_End - n_Start)};
        n_Next = n_End;
        return 1;
    }

private:
    std::basic_string_view<T> s_Text;
    std::basic_string_view<T> s_Separators;
    std::size_t n_Next = 0;
};

// The number of pieces of a walk over items or words.
template <typename Walk>
unsigned n_Pieces(Walk co_Walk)
{
    unsigned n_Count = 0;
    for (st_TextPiece so; co_Walk.b_Next(&so);)
        ++n_Count;
    return n_Count;
}

// Piece n (from 1) of a walk over items or words; false when there is none.
template <typename Walk>
int b_Piece(Walk co_Walk, unsigned n, st_TextPiece* pso_Piece)
{
    if (n == 0)
        return 0;
    while (co_Walk.b_Next(pso_Piece))
        if (--n == 0)
            return 1;
    return 0;
}
