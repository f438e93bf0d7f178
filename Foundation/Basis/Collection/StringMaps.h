// The string maps: CT_StringOrdinalMap (strings whose ordinal is their position),
// CT_StringNumberMap (strings paired with unsigned numbers) and CT_StringStringMap (pairs of
// strings), each looked up either way. Entries keep their insertion order and count from 1;
// lookups search linearly, duplicates are allowed and the first match wins.
//
// A map owns its strings: each is a copy made with the given string's own class (vpco_Create),
// sharing the text until either changes; raw 8-bit text is taken as a CT_CString of code page 0,
// raw 16-bit text as a CT_UString. Strings handed out stay the map's and live until their entry
// is removed or the map is reset. A stored string matches a key when its vi_Compare with the key
// (whole, case-sensitive, in the stored string's class) gives 0. Positions are the caller's duty
// (checked by assert); nothing is reported. A map is used by one thread at a time.
#pragma once

#include "Basis/Collection/Array.h"
#include "Basis/Collection/VoidArray.h"
#include "Basis/Platform/Export.h"

#include <cstddef>
#include <cstdint>

class CT_Buffer;
class CT_String;
struct _SHI_Pool;

// One column of a map: an array of strings that it owns.
class CT_EXPORT CT_OwnedStrings
{
public:
    static constexpr unsigned sn_Append = 0xFFFFFFFFu;

    explicit CT_OwnedStrings(unsigned n_Growth) : co_Strings(n_Growth, 0) {}
    CT_OwnedStrings(const CT_OwnedStrings&) = delete;
    CT_OwnedStrings& operator=(const CT_OwnedStrings&) = delete;
    ~CT_OwnedStrings() { v_DeleteAll(); }

    // Deletes every string and empties the array, keeping its storage.
    void v_Set(unsigned n_Growth);
    // A copy of the string (an empty CT_CString for null or a string of neither kind) before
    // n_Position; sn_Append appends. The text of a string already stored, in its own class.
    void v_InsertAt(const CT_String* pcco_String, unsigned n_Position);
    void v_SetAt(const CT_String* pcco_String, unsigned n_Position);
    void v_RemoveAt(unsigned n_Position);

    unsigned n_GetCount() const { return co_Strings.n_GetCount(); }
    unsigned n_GetGrowth() const { return co_Strings.n_GetGrowth(); }
    const CT_String* pcco_GetAt(unsigned n_Position) const
    {
        return co_Strings.p_GetAt(n_Position);
    }
    CT_String* pco_GetAt(unsigned n_Position) const { return co_Strings.p_GetAt(n_Position); }
    // The characters of a CT_CString (qccz) or a CT_UString (qcuz); the empty text for a string
    // of the other width, so that no caller reads one width as the other.
    const char* qccz_GetAt(unsigned n_Position) const;
    const char16_t* qcuz_GetAt(unsigned n_Position) const;
    // The position of the first string that matches the key, or 0.
    unsigned n_Find(const CT_String* pcco_Key) const;

private:
    void v_DeleteAll();

    CT_Array<CT_String*> co_Strings;
};

class CT_EXPORT CT_StringOrdinalMap
{
public:
    static constexpr unsigned sn_Append = 0xFFFFFFFFu;
    static constexpr unsigned sn_All = 0xFFFFFFFFu;
    static constexpr unsigned sn_DefaultGrowth = 8;

    explicit CT_StringOrdinalMap(unsigned n_Growth = sn_DefaultGrowth) : co_Strings(n_Growth) {}
    // The other's growth and copies of all its entries.
    explicit CT_StringOrdinalMap(const CT_StringOrdinalMap* pcco_Other);
    CT_StringOrdinalMap(const CT_StringOrdinalMap& co_Other) : CT_StringOrdinalMap(&co_Other) {}
    CT_StringOrdinalMap& operator=(const CT_StringOrdinalMap& co_Other);

    void v_Set(unsigned n_Growth) { co_Strings.v_Set(n_Growth); }
    void v_Set(const CT_StringOrdinalMap* pcco_Other);
    // Copies of the other's first n_Count entries (sn_All: all).
    void v_Append(const CT_StringOrdinalMap* pcco_Other, unsigned n_Count);
    void v_RemoveAt(unsigned n_Position) { co_Strings.v_RemoveAt(n_Position); }
    unsigned n_GetCount() const { return co_Strings.n_GetCount(); }

    // Before n_Position; sn_Append appends. n_Insert returns the new count.
    void v_Insert(const CT_String* pcco_String, unsigned n_Position);
    void v_Insert(const char* qccz_Text, unsigned n_Position);
    void v_Insert(const char16_t* qcuz_Text, unsigned n_Position);
    unsigned n_Insert(const CT_String* pcco_String, unsigned n_Position);
    unsigned n_Insert(const char* qccz_Text, unsigned n_Position);
    unsigned n_Insert(const char16_t* qcuz_Text, unsigned n_Position);
    // The string at n_Position takes the text, in its own class.
    void v_SetAt(const CT_String* pcco_String, unsigned n_Position);
    void v_SetAt(const char* qccz_Text, unsigned n_Position);
    void v_SetAt(const char16_t* qcuz_Text, unsigned n_Position);
    // The ordinal of the first matching string, or 0.
    unsigned n_Get(const CT_String* pcco_Key) const { return co_Strings.n_Find(pcco_Key); }
    unsigned n_Get(const char* qccz_Key) const;
    unsigned n_Get(const char16_t* qcuz_Key) const;

    const CT_String* pcco_Get(unsigned n_Position) const
    {
        return co_Strings.pcco_GetAt(n_Position);
    }
    const char* qccz_Get(unsigned n_Position) const { return co_Strings.qccz_GetAt(n_Position); }
    const char16_t* qcuz_Get(unsigned n_Position) const
    {
        return co_Strings.qcuz_GetAt(n_Position);
    }

    // Every string in order, each followed by the separator.
    void v_Map2String(CT_String* pco_Out, char c_Separator) const;
    // Emptied (growth 8), then the items of the text split at the separator, as strings of the
    // text's class, up to the first empty item.
    void v_String2Map(const CT_String* pcco_Text, char c_Separator);

    static void* operator new(std::size_t n_Size);
    static void operator delete(void* pv_Object);
    static _SHI_Pool* spso_GetMemPool();

private:
    CT_OwnedStrings co_Strings;

    static _SHI_Pool* spso_Pool;
};

class CT_EXPORT CT_StringNumberMap
{
public:
    static constexpr unsigned sn_All = 0xFFFFFFFFu;
    static constexpr unsigned sn_DefaultGrowth = 8;

    explicit CT_StringNumberMap(unsigned n_Growth = sn_DefaultGrowth)
        : co_Strings(n_Growth), co_Numbers(sizeof(std::uint32_t), n_Growth, 0)
    {
    }
    explicit CT_StringNumberMap(const CT_StringNumberMap* pcco_Other);
    CT_StringNumberMap(const CT_StringNumberMap& co_Other) : CT_StringNumberMap(&co_Other) {}
    CT_StringNumberMap& operator=(const CT_StringNumberMap& co_Other);

    void v_Set(unsigned n_Growth);
    void v_Set(const CT_StringNumberMap* pcco_Other);
    void v_Append(const CT_StringNumberMap* pcco_Other, unsigned n_Count);
    void v_RemoveAt(unsigned n_Position);
    unsigned n_GetCount() const { return co_Strings.n_GetCount(); }

    // Appends the string with the number.
    void v_Insert(const CT_String* pcco_String, unsigned n_Number);
    void v_Insert(const char* qccz_Text, unsigned n_Number);
    void v_Insert(const char16_t* qcuz_Text, unsigned n_Number);
    // The string of the first entry with the number takes the text; nothing when there is none.
    void v_Update(const CT_String* pcco_String, unsigned n_Number);
    void v_Update(const char* qccz_Text, unsigned n_Number);
    void v_Update(const char16_t* qcuz_Text, unsigned n_Number);
    void v_SetAt(const CT_String* pcco_String, unsigned n_Position);
    void v_SetAt(const char* qccz_Text, unsigned n_Position);
    void v_SetAt(const char16_t* qcuz_Text, unsigned n_Position);
    void v_SetAt(unsigned n_Number, unsigned n_Position);
    // The number of the first entry whose string matches, or 0 (which a stored 0 also gives).
    unsigned n_Get(const CT_String* pcco_Key) const;
    unsigned n_Get(const char* qccz_Key) const;
    unsigned n_Get(const char16_t* qcuz_Key) const;

    // The string of the first entry with the number: null, or the empty text, when none has it.
    const CT_String* pcco_Get(unsigned n_Number) const;
    const char* qccz_Get(unsigned n_Number) const;
    const char16_t* qcuz_Get(unsigned n_Number) const;
    const CT_String* pcco_GetAt(unsigned n_Position) const
    {
        return co_Strings.pcco_GetAt(n_Position);
    }
    unsigned n_GetAt(unsigned n_Position) const;
    const char* qccz_GetAt(unsigned n_Position) const { return co_Strings.qccz_GetAt(n_Position); }
    const char16_t* qcuz_GetAt(unsigned n_Position) const
    {
        return co_Strings.qcuz_GetAt(n_Position);
    }
    // Removes the first entry with the number; nothing when there is none.
    void v_Remove(unsigned n_Number);

    // The byte image, one record per entry in order: the number (4 bytes, little-endian), then
    // the text and its zero terminator (8-bit bytes for a CT_CString, 16-bit little-endian units
    // for a CT_UString). *pco_Out is emptied first, its storage kept.
    void v_Map2Buffer(CT_Buffer* pco_Out) const;
    // Emptied (growth 8), then the records of the image with texts of the given width (b_Wide:
    // 16-bit, stored as CT_UString; else 8-bit, as CT_CString of code page 0). Reading stops
    // before a record that the image does not hold whole (a number or text cut off, a text
    // without its terminator); whatever the bytes, nothing outside them is read.
    void v_Buffer2Map(const CT_Buffer* pcco_Image, int b_Wide);

    static void* operator new(std::size_t n_Size);
    static void operator delete(void* pv_Object);
    static _SHI_Pool* spso_GetMemPool();

private:
    unsigned n_PositionOf(unsigned n_Number) const;

    CT_OwnedStrings co_Strings;
    CT_VoidArray co_Numbers; // std::uint32_t, one per string

    static _SHI_Pool* spso_Pool;
};

class CT_EXPORT CT_StringStringMap
{
public:
    static constexpr unsigned sn_All = 0xFFFFFFFFu;
    static constexpr unsigned sn_DefaultGrowth = 4;

    explicit CT_StringStringMap(unsigned n_Growth = sn_DefaultGrowth)
        : co_First(n_Growth), co_Second(n_Growth)
    {
    }
    explicit CT_StringStringMap(const CT_StringStringMap* pcco_Other);
    CT_StringStringMap(const CT_StringStringMap& co_Other) : CT_StringStringMap(&co_Other) {}
    CT_StringStringMap& operator=(const CT_StringStringMap& co_Other);

    void v_Set(unsigned n_Growth);
    void v_Set(const CT_StringStringMap* pcco_Other);
    void v_Append(const CT_StringStringMap* pcco_Other, unsigned n_Count);
    void v_RemoveAt(unsigned n_Position);
    unsigned n_GetCount() const { return co_First.n_GetCount(); }

    void v_Insert(const CT_String* pcco_First, const CT_String* pcco_Second);
    void v_Insert(const char* qccz_First, const char* qccz_Second);
    void v_Insert(const char16_t* qcuz_First, const char16_t* qcuz_Second);
    void v_GetAt(CT_String** ppco_First, CT_String** ppco_Second, unsigned n_Position) const;
    // The other string of the first pair whose first (GetString2) or second (GetString1)
    // string matches the key; null when none does.
    const CT_String* pcco_GetString2(const CT_String* pcco_First) const;
    const CT_String* pcco_GetString2(const char* qccz_First) const;
    const CT_String* pcco_GetString2(const char16_t* qcuz_First) const;
    const CT_String* pcco_GetString1(const CT_String* pcco_Second) const;
    const CT_String* pcco_GetString1(const char* qccz_Second) const;
    const CT_String* pcco_GetString1(const char16_t* qcuz_Second) const;

    // For every pair in order: first, field separator, second, pair separator.
    void v_Map2String(CT_String* pco_Out, char c_FieldSeparator, char c_PairSeparator) const;
    // Emptied (growth 4), then the text taken as 16-bit text: its items at the pair separator up
    // to the first empty one, each split at the field separator into the first string (field 1)
    // and the second (field 2), both CT_UString.
    void v_String2Map(const CT_String* pcco_Text, char c_FieldSeparator, char c_PairSeparator);

    static void* operator new(std::size_t n_Size);
    static void operator delete(void* pv_Object);
    static _SHI_Pool* spso_GetMemPool();

private:
    // Looks the key up in one column and answers with the string at that position of the other.
    const CT_String* pcco_Get(const CT_OwnedStrings* pcco_Keys, const CT_OwnedStrings* pcco_Values,
                              const CT_String* pcco_Key) const;

    CT_OwnedStrings co_First;
    CT_OwnedStrings co_Second;

    static _SHI_Pool* spso_Pool;
};
