#include "System/String/StringScanner.h"

#include "Basis/Platform/Heap.h"
#include "System/String/StringItems.h"

namespace
{
template <typename T>
void v_TakePiece(CT_String* pco_Out, std::basic_string_view<T> s_Text, int b_Found,
                 const st_TextPiece& so_Piece)
{
    if (b_Found)
        CT_StringKind<T>::sv_Set(pco_Out, s_Text.substr(so_Piece.n_Start, so_Piece.n_Length));
    else
        pco_Out->v_Set(0, 1);
}

void v_RemovePiece(CT_String* pco_String, int b_Found, const st_TextPiece& so_Piece)
{
    if (b_Found && so_Piece.n_Length)
        pco_String->vv_Remove(so_Piece.n_Length, so_Piece.n_Start);
}
} // namespace

unsigned CT_StringScanner::n_ItemCount(const CT_String* pcco_String, char16_t u_Separator) const
{
    return r_OfOneKind({pcco_String},
                       [&](auto t)
                       {
                           using T = decltype(t);
                           return n_Pieces(CT_StringItems<T>(
                               s_TextOf<T>(pcco_String), CT_StringKind<T>::st_Unit(u_Separator)));
                       });
}

void CT_StringScanner::v_Item(CT_String* pco_Out, const CT_String* pcco_String,
                              char16_t u_Separator, unsigned n) const
{
    r_OfOneKind({pco_Out, pcco_String},
                [&](auto t)
                {
                    using T = decltype(t);
                    // A sharing copy keeps the text in place when *pco_Out is the string itself.
                    const CT_StringOfKind<T> co_Text(pcco_OfKind<T>(pcco_String));
                    std::basic_string_view<T> s_Text = s_TextOf<T>(&co_Text);
                    st_TextPiece so_Item;
                    int b_Found =
                        b_Piece(CT_StringItems<T>(s_Text, CT_StringKind<T>::st_Unit(u_Separator)),
                                n, &so_Item);
                    v_TakePiece(pco_Out, s_Text, b_Found, so_Item);
                });
}

void CT_StringScanner::v_RemoveItem(CT_String* pco_String, char16_t u_Separator, unsigned n) const
{
    r_OfOneKind({pco_String},
                [&](auto t)
                {
                    using T = decltype(t);
                    st_TextPiece so_Item;
                    int b_Found = b_Piece(CT_StringItems<T>(s_TextOf<T>(pco_String),
                                                            CT_StringKind<T>::st_Unit(u_Separator)),
                                          n, &so_Item);
                    v_RemovePiece(pco_String, b_Found, so_Item);
                });
}

unsigned CT_StringScanner::n_WordCount(const CT_String* pcco_String,
                                       const CT_String* pcco_Separators) const
{
    return r_OfOneKind({pcco_String, pcco_Separators},
                       [&](auto t)
                       {
                           using T = decltype(t);
                           return n_Pieces(CT_StringWords<T>(s_TextOf<T>(pcco_String),
                                                             s_TextOf<T>(pcco_Separators)));
                       });
}

void CT_StringScanner::v_SubWord(CT_String* pco_Out, const CT_String* pcco_String,
                                 const CT_String* pcco_Separators, unsigned n) const
{
    r_OfOneKind({pco_Out, pcco_String, pcco_Separators},
                [&](auto t)
                {
                    using T = decltype(t);
                    const CT_StringOfKind<T> co_Text(pcco_OfKind<T>(pcco_String));
                    std::basic_string_view<T> s_Text = s_TextOf<T>(&co_Text);
                    st_TextPiece so_Word;
                    int b_Found = b_Piece(CT_StringWords<T>(s_Text, s_TextOf<T>(pcco_Separators)),
                                          n, &so_Word);
                    v_TakePiece(pco_Out, s_Text, b_Found, so_Word);
                });
}

void CT_StringScanner::v_RemoveWord(CT_String* pco_String, const CT_String* pcco_Separators,
                                    unsigned n) const
{
    r_OfOneKind({pco_String, pcco_Separators},
                [&](auto t)
                {
                    using T = decltype(t);
                    st_TextPiece so_Word;
                    int b_Found = b_Piece(
                        CT_StringWords<T>(s_TextOf<T>(pco_String), s_TextOf<T>(pcco_Separators)), n,
                        &so_Word);
                    v_RemovePiece(pco_String, b_Found, so_Word);
                });
}

void* CT_StringScanner::operator new(std::size_t n_Size)
{
    return CT_Heap::spv_Alloc(n_Size);
}

void CT_StringScanner::operator delete(void* pv_Object)
{
    CT_Heap::sv_Free(pv_Object);
}
