#include "Basis/Collection/StringMaps.h"

#include "Basis/Platform/Heap.h"
#include "System/String/Buffer.h"
#include "System/String/CString.h"
#include "System/String/StringConvert.h"
#include "System/String/StringItems.h"
#include "System/String/UString.h"

#include <cstring>

namespace
{
// A raw key or text as the string object that stands for it, alive to the end of the call.
const CT_String* pcco_Of(const CT_String& co_String)
{
    return &co_String;
}

CT_CString co_Narrow(const char* qccz_Text)
{
    return CT_CString(qccz_Text, CT_String::sn_All, 0);
}

CT_UString co_Wide(const char16_t* qcuz_Text)
{
    return CT_UString(qcuz_Text, CT_String::sn_All);
}

const CT_CString* pcco_AsNarrow(const CT_String* pcco_String)
{
    return static_cast<const CT_CString*>(pcco_String->vpv_IsA(CT_CString::spcco_GetType()));
}

const CT_UString* pcco_AsWide(const CT_String* pcco_String)
{
    return static_cast<const CT_UString*>(pcco_String->vpv_IsA(CT_UString::spcco_GetType()));
}

unsigned n_Clamped(unsigned n_Count, unsigned n_Available)
{
    return n_Count < n_Available ? n_Count : n_Available;
}

// A separator of the map's text forms as a unit of kind T (a byte of code page 0).
template <typename T>
T t_Separator(char c_Separator)
{
    return CT_StringKind<T>::st_Unit(CT_StringConvert::sus_MultiToWide(c_Separator, 0));
}

// A zero separator would put a terminator inside the text; it is left out.
void v_AppendSeparator(CT_String* pco_Out, char c_Separator)
{
    if (c_Separator)
        pco_Out->v_Append(&c_Separator, 1);
}
} // namespace

// ---- CT_OwnedStrings

void CT_OwnedStrings::v_DeleteAll()
{
    for (unsigned n = 1, n_Count = n_GetCount(); n <= n_Count; ++n)
        delete co_Strings.p_GetAt(n);
}

void CT_OwnedStrings::v_Set(unsigned n_Growth)
{
    v_DeleteAll();
    co_Strings.v_Set(n_Growth, 0, 1);
}

void CT_OwnedStrings::v_InsertAt(const CT_String* pcco_String, unsigned n_Position)
{
    CT_String* pco_Copy = pcco_String ? pcco_String->vpco_Create() : nullptr;
    if (!pco_Copy)
        pco_Copy = new CT_CString();
    co_Strings.v_InsertAt(pco_Copy, n_Position == sn_Append ? n_GetCount() + 1 : n_Position);
}

void CT_OwnedStrings::v_SetAt(const CT_String* pcco_String, unsigned n_Position)
{
    co_Strings.p_GetAt(n_Position)->v_Set(pcco_String);
}

void CT_OwnedStrings::v_RemoveAt(unsigned n_Position)
{
    delete co_Strings.p_GetAt(n_Position);
    co_Strings.v_RemoveAt(n_Position);
}

const char* CT_OwnedStrings::qccz_GetAt(unsigned n_Position) const
{
    const CT_CString* pcco = pcco_AsNarrow(pcco_GetAt(n_Position));
    return pcco ? pcco->qccz_Get() : "";
}

const char16_t* CT_OwnedStrings::qcuz_GetAt(unsigned n_Position) const
{
    const CT_UString* pcco = pcco_AsWide(pcco_GetAt(n_Position));
    return pcco ? pcco->qcuz_Get() : u"";
}

unsigned CT_OwnedStrings::n_Find(const CT_String* pcco_Key) const
{
    for (unsigned n = 1, n_Count = n_GetCount(); n <= n_Count; ++n)
        if (co_Strings.p_GetAt(n)->vi_Compare(pcco_Key, 0, CT_String::sn_All, 0) == 0)
            return n;
    return 0;
}

// ---- CT_StringOrdinalMap

CT_StringOrdinalMap::CT_StringOrdinalMap(const CT_StringOrdinalMap* pcco_Other)
    : co_Strings(pcco_Other->co_Strings.n_GetGrowth())
{
    v_Append(pcco_Other, sn_All);
}

CT_StringOrdinalMap& CT_StringOrdinalMap::operator=(const CT_StringOrdinalMap& co_Other)
{
    v_Set(&co_Other);
    return *this;
}

void CT_StringOrdinalMap::v_Set(const CT_StringOrdinalMap* pcco_Other)
{
    if (pcco_Other == this)
        return;
    v_Set(pcco_Other->co_Strings.n_GetGrowth());
    v_Append(pcco_Other, sn_All);
}

void CT_StringOrdinalMap::v_Append(const CT_StringOrdinalMap* pcco_Other, unsigned n_Count)
{
    n_Count = n_Clamped(n_Count, pcco_Other->n_GetCount());
    for (unsigned n = 1; n <= n_Count; ++n)
        v_Insert(pcco_Other->pcco_Get(n), sn_Append);
}

void CT_StringOrdinalMap::v_Insert(const CT_String* pcco_String, unsigned n_Position)
{
    co_Strings.v_InsertAt(pcco_String, n_Position);
}

void CT_StringOrdinalMap::v_Insert(const char* qccz_Text, unsigned n_Position)
{
    v_Insert(pcco_Of(co_Narrow(qccz_Text)), n_Position);
}

void CT_StringOrdinalMap::v_Insert(const char16_t* qcuz_Text, unsigned n_Position)
{
    v_Insert(pcco_Of(co_Wide(qcuz_Text)), n_Position);
}

unsigned CT_StringOrdinalMap::n_Insert(const CT_String* pcco_String, unsigned n_Position)
{
    v_Insert(pcco_String, n_Position);
    return n_GetCount();
}

unsigned CT_StringOrdinalMap::n_Insert(const char* qccz_Text, unsigned n_Position)
{
    return n_Insert(pcco_Of(co_Narrow(qccz_Text)), n_Position);
}

unsigned CT_StringOrdinalMap::n_Insert(const char16_t* qcuz_Text, unsigned n_Position)
{
    return n_Insert(pcco_Of(co_Wide(qcuz_Text)), n_Position);
}

void CT_StringOrdinalMap::v_SetAt(const CT_String* pcco_String, unsigned n_Position)
{
    co_Strings.v_SetAt(pcco_String, n_Position);
}

void CT_StringOrdinalMap::v_SetAt(const char* qccz_Text, unsigned n_Position)
{
    v_SetAt(pcco_Of(co_Narrow(qccz_Text)), n_Position);
}

void CT_StringOrdinalMap::v_SetAt(const char16_t* qcuz_Text, unsigned n_Position)
{
    v_SetAt(pcco_Of(co_Wide(qcuz_Text)), n_Position);
}

unsigned CT_StringOrdinalMap::n_Get(const char* qccz_Key) const
{
    return n_Get(pcco_Of(co_Narrow(qccz_Key)));
}

unsigned CT_StringOrdinalMap::n_Get(const char16_t* qcuz_Key) const
{
    return n_Get(pcco_Of(co_Wide(qcuz_Key)));
}

void CT_StringOrdinalMap::v_Map2String(CT_String* pco_Out, char c_Separator) const
{
    pco_Out->v_Set(0, 1);
    for (unsigned n = 1, n_Count = n_GetCount(); n <= n_Count; ++n)
    {
        pco_Out->v_Append(pcco_Get(n), sn_All);
        v_AppendSeparator(pco_Out, c_Separator);
    }
}

void CT_StringOrdinalMap::v_String2Map(const CT_String* pcco_Text, char c_Separator)
{
    v_Set(sn_DefaultGrowth);
    r_OfOneKind({pcco_Text},
                [&](auto t)
                {
                    using T = decltype(t);
                    // Each item is set into a string of the text's class (its code page too), then
                    // copied in.
                    CT_StringOfKind<T> co_Item(pcco_OfKind<T>(pcco_Text));
                    const std::basic_string_view<T> s_Text = s_TextOf<T>(&co_Item);
                    CT_StringItems<T> co_Items(s_Text, t_Separator<T>(c_Separator));
                    for (st_TextPiece so; co_Items.b_Next(&so) && so.n_Length;)
                    {
                        CT_StringKind<T>::sv_Set(&co_Item, s_Text.substr(so.n_Start, so.n_Length));
                        v_Insert(&co_Item, sn_Append);
                    }
                });
}

CT_DEFINE_POOLED_ALLOCATION(CT_StringOrdinalMap)

// ---- CT_StringNumberMap

namespace
{
constexpr unsigned sn_NumberBytes = 4;

void v_PutNumber(unsigned char* pc_To, std::uint32_t n_Number)
{
    for (unsigned n = 0; n < sn_NumberBytes; ++n)
        pc_To[n] = static_cast<unsigned char>(n_Number >> (8 * n));
}

std::uint32_t n_TakeNumber(const unsigned char* pc_From)
{
    std::uint32_t n_Number = 0;
    for (unsigned n = 0; n < sn_NumberBytes; ++n)
        n_Number |= std::uint32_t(pc_From[n]) << (8 * n);
    return n_Number;
}

// A stored string's characters as the image holds them: 8-bit bytes, or 16-bit units written
// little-endian; a string of neither kind as the empty 8-bit text.
struct st_ImageText
{
    const char* pcc_Narrow;
    const char16_t* pcu_Wide;
    unsigned n_Length;

    unsigned n_Bytes() const { return (n_Length + 1) * (pcu_Wide ? 2 : 1); }
};

st_ImageText so_ImageText(const CT_String* pcco_String)
{
    if (const CT_UString* pcco = pcco_AsWide(pcco_String))
        return {nullptr, pcco->qcuz_Get(), pcco->n_GetLength()};
    if (const CT_CString* pcco = pcco_AsNarrow(pcco_String))
        return {pcco->qccz_Get(), nullptr, pcco->n_GetLength()};
    return {"", nullptr, 0};
}

unsigned char* pc_PutText(unsigned char* pc_To, const st_ImageText& so_Text)
{
    if (!so_Text.pcu_Wide)
    {
        std::memcpy(pc_To, so_Text.pcc_Narrow, so_Text.n_Length + 1);
        return pc_To + so_Text.n_Length + 1;
    }
    for (unsigned n = 0; n <= so_Text.n_Length; ++n, pc_To += 2)
    {
        pc_To[0] = static_cast<unsigned char>(so_Text.pcu_Wide[n]);
        pc_To[1] = static_cast<unsigned char>(so_Text.pcu_Wide[n] >> 8);
    }
    return pc_To;
}

// The offset of the zero unit that ends the text from n_From on, or n_Size when the image has
// none before its end.
unsigned n_TextEnd(const unsigned char* pc_Image, unsigned n_Size, unsigned n_From, int b_Wide)
{
    if (!b_Wide)
    {
        const void* pcv_Zero = std::memchr(pc_Image + n_From, 0, n_Size - n_From);
        return pcv_Zero
                   ? static_cast<unsigned>(static_cast<const unsigned char*>(pcv_Zero) - pc_Image)
                   : n_Size;
    }
    for (unsigned n = n_From; n_Size - n >= 2; n += 2)
        if (pc_Image[n] == 0 && pc_Image[n + 1] == 0)
            return n;
    return n_Size;
}

CT_UString co_WideText(const unsigned char* pc_Units, unsigned n_Units)
{
    CT_UString co_Text(n_Units + 1);
    for (unsigned n = 0; n < n_Units; ++n)
        co_Text.v_Append(static_cast<char16_t>(pc_Units[2 * n] | pc_Units[2 * n + 1] << 8));
    return co_Text;
}
} // namespace

CT_StringNumberMap::CT_StringNumberMap(const CT_StringNumberMap* pcco_Other)
    : CT_StringNumberMap(pcco_Other->co_Strings.n_GetGrowth())
{
    v_Append(pcco_Other, sn_All);
}

CT_StringNumberMap& CT_StringNumberMap::operator=(const CT_StringNumberMap& co_Other)
{
    v_Set(&co_Other);
    return *this;
}

void CT_StringNumberMap::v_Set(unsigned n_Growth)
{
    co_Strings.v_Set(n_Growth);
    co_Numbers.v_Set(n_Growth, 0, 1);
}

void CT_StringNumberMap::v_Set(const CT_StringNumberMap* pcco_Other)
{
    if (pcco_Other == this)
        return;
    v_Set(pcco_Other->co_Strings.n_GetGrowth());
    v_Append(pcco_Other, sn_All);
}

void CT_StringNumberMap::v_Append(const CT_StringNumberMap* pcco_Other, unsigned n_Count)
{
    n_Count = n_Clamped(n_Count, pcco_Other->n_GetCount());
    for (unsigned n = 1; n <= n_Count; ++n)
        v_Insert(pcco_Other->pcco_GetAt(n), pcco_Other->n_GetAt(n));
}

void CT_StringNumberMap::v_RemoveAt(unsigned n_Position)
{
    co_Strings.v_RemoveAt(n_Position);
    co_Numbers.v_RemoveAt(n_Position);
}

void CT_StringNumberMap::v_Insert(const CT_String* pcco_String, unsigned n_Number)
{
    const std::uint32_t n_Item = n_Number;
    co_Strings.v_InsertAt(pcco_String, CT_OwnedStrings::sn_Append);
    co_Numbers.v_Insert(&n_Item);
}

void CT_StringNumberMap::v_Insert(const char* qccz_Text, unsigned n_Number)
{
    v_Insert(pcco_Of(co_Narrow(qccz_Text)), n_Number);
}

void CT_StringNumberMap::v_Insert(const char16_t* qcuz_Text, unsigned n_Number)
{
    v_Insert(pcco_Of(co_Wide(qcuz_Text)), n_Number);
}

void CT_StringNumberMap::v_Update(const CT_String* pcco_String, unsigned n_Number)
{
    if (unsigned n_Position = n_PositionOf(n_Number))
        co_Strings.v_SetAt(pcco_String, n_Position);
}

void CT_StringNumberMap::v_Update(const char* qccz_Text, unsigned n_Number)
{
    v_Update(pcco_Of(co_Narrow(qccz_Text)), n_Number);
}

void CT_StringNumberMap::v_Update(const char16_t* qcuz_Text, unsigned n_Number)
{
    v_Update(pcco_Of(co_Wide(qcuz_Text)), n_Number);
}

void CT_StringNumberMap::v_SetAt(const CT_String* pcco_String, unsigned n_Position)
{
    co_Strings.v_SetAt(pcco_String, n_Position);
}

void CT_StringNumberMap::v_SetAt(const char* qccz_Text, unsigned n_Position)
{
    v_SetAt(pcco_Of(co_Narrow(qccz_Text)), n_Position);
}

void CT_StringNumberMap::v_SetAt(const char16_t* qcuz_Text, unsigned n_Position)
{
    v_SetAt(pcco_Of(co_Wide(qcuz_Text)), n_Position);
}

void CT_StringNumberMap::v_SetAt(unsigned n_Number, unsigned n_Position)
{
    const std::uint32_t n_Item = n_Number;
    co_Numbers.v_SetAt(&n_Item, static_cast<int>(n_Position));
}

unsigned CT_StringNumberMap::n_Get(const CT_String* pcco_Key) const
{
    unsigned n_Position = co_Strings.n_Find(pcco_Key);
    return n_Position ? n_GetAt(n_Position) : 0;
}

unsigned CT_StringNumberMap::n_Get(const char* qccz_Key) const
{
    return n_Get(pcco_Of(co_Narrow(qccz_Key)));
}

unsigned CT_StringNumberMap::n_Get(const char16_t* qcuz_Key) const
{
    return n_Get(pcco_Of(co_Wide(qcuz_Key)));
}

unsigned CT_StringNumberMap::n_PositionOf(unsigned n_Number) const
{
    const std::uint32_t n_Item = n_Number;
    return co_Numbers.n_Find(&n_Item);
}

const CT_String* CT_StringNumberMap::pcco_Get(unsigned n_Number) const
{
    unsigned n_Position = n_PositionOf(n_Number);
    return n_Position ? pcco_GetAt(n_Position) : nullptr;
}

const char* CT_StringNumberMap::qccz_Get(unsigned n_Number) const
{
    unsigned n_Position = n_PositionOf(n_Number);
    return n_Position ? qccz_GetAt(n_Position) : "";
}

const char16_t* CT_StringNumberMap::qcuz_Get(unsigned n_Number) const
{
    unsigned n_Position = n_PositionOf(n_Number);
    return n_Position ? qcuz_GetAt(n_Position) : u"";
}

unsigned CT_StringNumberMap::n_GetAt(unsigned n_Position) const
{
    std::uint32_t n_Item;
    co_Numbers.v_GetAt(&n_Item, static_cast<int>(n_Position));
    return n_Item;
}

void CT_StringNumberMap::v_Remove(unsigned n_Number)
{
    if (unsigned n_Position = n_PositionOf(n_Number))
        v_RemoveAt(n_Position);
}

// Measured first, so that the image is written into one block.
void CT_StringNumberMap::v_Map2Buffer(CT_Buffer* pco_Out) const
{
    const unsigned n_Count = n_GetCount();
    unsigned n_Size = 0;
    for (unsigned n = 1; n <= n_Count; ++n)
        n_Size += sn_NumberBytes + so_ImageText(pcco_GetAt(n)).n_Bytes();
    pco_Out->v_Set(0, CT_Buffer::sn_All, 1);
    if (n_Size == 0)
        return;
    pco_Out->v_SetMinSize(n_Size, 0);
    unsigned char* pc_To = static_cast<unsigned char*>(pco_Out->qv_Get());
    for (unsigned n = 1; n <= n_Count; ++n)
    {
        v_PutNumber(pc_To, n_GetAt(n));
        pc_To = pc_PutText(pc_To + sn_NumberBytes, so_ImageText(pcco_GetAt(n)));
    }
    pco_Out->v_SetUsedSize(n_Size);
}

void CT_StringNumberMap::v_Buffer2Map(const CT_Buffer* pcco_Image, int b_Wide)
{
    // A share of the image keeps its bytes even if one of this map's strings held the only other.
    const CT_Buffer co_Image(pcco_Image);
    v_Set(sn_DefaultGrowth);
    const auto* pc_Image = static_cast<const unsigned char*>(co_Image.qcv_Get());
    const unsigned n_Size = co_Image.n_GetUsedSize();
    const unsigned n_Unit = b_Wide ? 2 : 1;
    for (unsigned n_At = 0; n_Size - n_At >= sn_NumberBytes;)
    {
        const unsigned n_Text = n_At + sn_NumberBytes;
        const unsigned n_End = n_TextEnd(pc_Image, n_Size, n_Text, b_Wide);
        if (n_End == n_Size)
            return;
        const unsigned n_Units = (n_End - n_Text) / n_Unit;
        if (b_Wide)
            v_Insert(pcco_Of(co_WideText(pc_Image + n_Text, n_Units)),
                     n_TakeNumber(pc_Image + n_At));
        else
            v_Insert(
                pcco_Of(CT_CString(reinterpret_cast<const char*>(pc_Image + n_Text), n_Units, 0)),
                n_TakeNumber(pc_Image + n_At));
        n_At = n_End + n_Unit;
    }
}

CT_DEFINE_POOLED_ALLOCATION(CT_StringNumberMap)

// ---- CT_StringStringMap

CT_StringStringMap::CT_StringStringMap(const CT_StringStringMap* pcco_Other)
    : CT_StringStringMap(pcco_Other->co_First.n_GetGrowth())
{
    v_Append(pcco_Other, sn_All);
}

CT_StringStringMap& CT_StringStringMap::operator=(const CT_StringStringMap& co_Other)
{
    v_Set(&co_Other);
    return *this;
}

void CT_StringStringMap::v_Set(unsigned n_Growth)
{
    co_First.v_Set(n_Growth);
    co_Second.v_Set(n_Growth);
}

void CT_StringStringMap::v_Set(const CT_StringStringMap* pcco_Other)
{
    if (pcco_Other == this)
        return;
    v_Set(pcco_Other->co_First.n_GetGrowth());
    v_Append(pcco_Other, sn_All);
}

void CT_StringStringMap::v_Append(const CT_StringStringMap* pcco_Other, unsigned n_Count)
{
    n_Count = n_Clamped(n_Count, pcco_Other->n_GetCount());
    for (unsigned n = 1; n <= n_Count; ++n)
        v_Insert(pcco_Other->co_First.pcco_GetAt(n), pcco_Other->co_Second.pcco_GetAt(n));
}

void CT_StringStringMap::v_RemoveAt(unsigned n_Position)
{
    co_First.v_RemoveAt(n_Position);
    co_Second.v_RemoveAt(n_Position);
}

void CT_StringStringMap::v_Insert(const CT_String* pcco_First, const CT_String* pcco_Second)
{
    co_First.v_InsertAt(pcco_First, CT_OwnedStrings::sn_Append);
    co_Second.v_InsertAt(pcco_Second, CT_OwnedStrings::sn_Append);
}

void CT_StringStringMap::v_Insert(const char* qccz_First, const char* qccz_Second)
{
    v_Insert(pcco_Of(co_Narrow(qccz_First)), pcco_Of(co_Narrow(qccz_Second)));
}

void CT_StringStringMap::v_Insert(const char16_t* qcuz_First, const char16_t* qcuz_Second)
{
    v_Insert(pcco_Of(co_Wide(qcuz_First)), pcco_Of(co_Wide(qcuz_Second)));
}

void CT_StringStringMap::v_GetAt(CT_String** ppco_First, CT_String** ppco_Second,
                                 unsigned n_Position) const
{
    *ppco_First = co_First.pco_GetAt(n_Position);
    *ppco_Second = co_Second.pco_GetAt(n_Position);
}

const CT_String* CT_StringStringMap::pcco_Get(const CT_OwnedStrings* pcco_Keys,
                                              const CT_OwnedStrings* pcco_Values,
                                              const CT_String* pcco_Key) const
{
    unsigned n_Position = pcco_Keys->n_Find(pcco_Key);
    return n_Position ? pcco_Values->pcco_GetAt(n_Position) : nullptr;
}

const CT_String* CT_StringStringMap::pcco_GetString2(const CT_String* pcco_First) const
{
    return pcco_Get(&co_First, &co_Second, pcco_First);
}

const CT_String* CT_StringStringMap::pcco_GetString2(const char* qccz_First) const
{
    return pcco_GetString2(pcco_Of(co_Narrow(qccz_First)));
}

const CT_String* CT_StringStringMap::pcco_GetString2(const char16_t* qcuz_First) const
{
    return pcco_GetString2(pcco_Of(co_Wide(qcuz_First)));
}

const CT_String* CT_StringStringMap::pcco_GetString1(const CT_String* pcco_Second) const
{
    return pcco_Get(&co_Second, &co_First, pcco_Second);
}

const CT_String* CT_StringStringMap::pcco_GetString1(const char* qccz_Second) const
{
    return pcco_GetString1(pcco_Of(co_Narrow(qccz_Second)));
}

const CT_String* CT_StringStringMap::pcco_GetString1(const char16_t* qcuz_Second) const
{
    return pcco_GetString1(pcco_Of(co_Wide(qcuz_Second)));
}

void CT_StringStringMap::v_Map2String(CT_String* pco_Out, char c_FieldSeparator,
                                      char c_PairSeparator) const
{
    pco_Out->v_Set(0, 1);
    for (unsigned n = 1, n_Count = n_GetCount(); n <= n_Count; ++n)
    {
        pco_Out->v_Append(co_First.pcco_GetAt(n), sn_All);
        v_AppendSeparator(pco_Out, c_FieldSeparator);
        pco_Out->v_Append(co_Second.pcco_GetAt(n), sn_All);
        v_AppendSeparator(pco_Out, c_PairSeparator);
    }
}

void CT_StringStringMap::v_String2Map(const CT_String* pcco_Text, char c_FieldSeparator,
                                      char c_PairSeparator)
{
    const CT_UString co_Text(pcco_Text);
    v_Set(sn_DefaultGrowth);
    const std::u16string_view s_Text(co_Text.qcuz_Get(), co_Text.n_GetLength());
    CT_StringItems<char16_t> co_Pairs(s_Text, t_Separator<char16_t>(c_PairSeparator));
    for (st_TextPiece so_Pair; co_Pairs.b_Next(&so_Pair) && so_Pair.n_Length;)
    {
        const std::u16string_view s_Pair = s_Text.substr(so_Pair.n_Start, so_Pair.n_Length);
        CT_StringItems<char16_t> co_Fields(s_Pair, t_Separator<char16_t>(c_FieldSeparator));
        st_TextPiece so_First, so_Second = {0, 0};
        co_Fields.b_Next(&so_First);
        co_Fields.b_Next(&so_Second);
        v_Insert(pcco_Of(CT_UString(s_Pair.data() + so_First.n_Start, so_First.n_Length)),
                 pcco_Of(CT_UString(s_Pair.data() + so_Second.n_Start, so_Second.n_Length)));
    }
}

CT_DEFINE_POOLED_ALLOCATION(CT_StringStringMap)
