// CT_StringScanner: a string as a list of items (the text between single separator characters;
// k separators give k + 1 items, the empty string one empty item) or of words (maximal runs of
// characters outside a separator set). Items and words count from 1.
//
// The strings of one call must be of one kind, all CT_CString or all CT_UString; with mixed
// kinds (or a string of neither kind) nothing happens and counts are 0. For CT_CString the 16-bit
// separator is one byte of code page 0, and out strings keep their own code page. A scanner has
// no state: any thread may use one, the strings are the caller's to share.
#pragma once

#include "Basis/Platform/Export.h"

#include <cstddef>

class CT_String;

class CT_EXPORT CT_StringScanner
{
public:
    CT_StringScanner() = default;
    ~CT_StringScanner() = default;

    // 1 + the number of separators.
    unsigned n_ItemCount(const CT_String* pcco_String, char16_t u_Separator) const;
    // Item n into *pco_Out; no item n (n is 0 or above the count) empties *pco_Out.
    void v_Item(CT_String* pco_Out, const CT_String* pcco_String, char16_t u_Separator,
                unsigned n) const;
    // Removes the characters of item n, not the separators around it; no item n changes nothing.
    void v_RemoveItem(CT_String* pco_String, char16_t u_Separator, unsigned n) const;

    unsigned n_WordCount(const CT_String* pcco_String, const CT_String* pcco_Separators) const;
    void v_SubWord(CT_String* pco_Out, const CT_String* pcco_String,
                   const CT_String* pcco_Separators, unsigned n) const;
    void v_RemoveWord(CT_String* pco_String, const CT_String* pcco_Separators, unsigned n) const;

    static void* operator new(std::size_t n_Size);
    static void operator delete(void* pv_Object);
};
