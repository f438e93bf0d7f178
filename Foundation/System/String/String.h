// CT_String: the common base of the 8-bit and 16-bit string classes.
//
// The characters live in a shared CT_Buffer followed by one zero unit; the buffer's used size
// counts that terminator, and a used size of 0 means "no content" (the string then reads as a
// static empty text). Every operation that takes another string is declared here and accepts
// either kind; the receiving class converts. The public non-virtual entry points normalise
// their arguments and forward to the protected virtual operations, whose order is fixed.
// Copies share the buffer across threads safely; one string object is not synchronised.
#pragma once

#include "Basis/Platform/Export.h"
#include "Basis/Runtime/Type.h"
#include "System/String/Buffer.h"

#include <cstdarg>

class CT_CString;
class CT_UString;

class CT_EXPORT CT_String
{
    CT_DECLARE_TYPE(CT_String)

public:
    static constexpr unsigned sn_All = 0xFFFFFFFFu;      // "up to the terminator / whole"
    static constexpr unsigned sn_NotFound = 0xFFFFFFFFu; // search result
    static constexpr unsigned sn_OwnCodePage = 0xFFFFFFFEu;
    static constexpr unsigned sn_FormatCapacity = 2048; // units, terminator included

    virtual ~CT_String();

    virtual CT_String* vpco_Create() const;
    virtual void vv_SetSize(unsigned n_Length, int b_Keep);
    virtual void vv_SetMinSize(unsigned n_Length, int b_Keep);
    virtual void vv_Replace(char16_t u_Char, unsigned n_Count, unsigned n_Position);
    virtual void vv_Replace(char c_Char, unsigned n_Count, unsigned n_Position);
    virtual char vc_GetAt(unsigned n_Position) const;
    virtual char16_t vu_GetAt(unsigned n_Position) const;
    virtual void vv_SetAt(char16_t u_Char, unsigned n_Position);
    virtual void vv_SetAt(char c_Char, unsigned n_Position);
    virtual void vv_ToLower();
    virtual void vv_ToUpper();
    virtual void vv_Remove(unsigned n_Count, unsigned n_Position);
    virtual unsigned vn_Find(char16_t u_Char, unsigned n_Start) const;
    virtual unsigned vn_Find(char c_Char, unsigned n_Start) const;
    virtual unsigned vn_Find(const CT_String* pcco_Text, unsigned n_Start) const;
    virtual void vv_Update();
    virtual int vb_Match(const CT_String* pcco_Pattern) const;
    virtual void vv_Strip(const CT_String* pcco_Set);
    virtual void vv_StripRight();
    virtual void vv_StripLeft();
    virtual int vi_Compare(const CT_String* pcco_Other, unsigned n_OtherOffset, unsigned n_Count,
                           unsigned n_Offset) const;
    virtual int vi_Compare(const char16_t* qcuz_Text, unsigned n_Count, unsigned n_Offset) const;
    virtual int vi_Compare(const char* qccz_Text, unsigned n_Count, unsigned n_Offset) const;
    virtual void vv_Translate(const CT_String* pcco_From, const CT_String* pcco_To);
    virtual void vv_SetLength(unsigned n_Length);
    virtual unsigned vn_GetLength() const;
    virtual unsigned vn_GetMaximumLength() const;
    virtual void vv_SetGrowth(unsigned n_Growth);
    virtual unsigned vn_GetGrowth() const;
    virtual void vv_Format(const CT_String* pcco_Format, va_list args);
    virtual void vv_Format(const CT_String* pcco_Format, ...);

protected:
    virtual void vv_Init(const CT_Buffer* pcco_Buffer);
    virtual void vv_Init(const char16_t* qcuz_Text, unsigned n_Length);
    virtual void vv_Init(const char* qccz_Text, unsigned n_Length, unsigned n_CodePage);
    virtual void vv_Init(const CT_String* pcco_Other);
    virtual void vv_Init(unsigned n_Length);
    virtual void vv_Init();
    virtual void vv_StringReplace(const CT_String* pcco_Source, unsigned n_SourceOffset,
                                  unsigned n_Count, unsigned n_Position);
    virtual void vv_StringReplace(const char16_t* qcuz_Text, unsigned n_Count, unsigned n_Position);
    virtual void vv_StringReplace(const char* qccz_Text, unsigned n_Count, unsigned n_Position,
                                  unsigned n_CodePage);
    virtual void vv_StringInsert(const CT_String* pcco_Source, unsigned n_SourceOffset,
                                 unsigned n_Count, unsigned n_Position);
    virtual void vv_StringInsert(const char16_t* qcuz_Text, unsigned n_Count, unsigned n_Position);
    virtual void vv_StringInsert(const char* qccz_Text, unsigned n_Count, unsigned n_Position,
                                 unsigned n_CodePage);

public:
    // The last slot: a format string object with an argument list, as vv_Format.
    virtual void vv_VFormat(const CT_String* pcco_Format, va_list args);

    void v_Set(const CT_String* pcco_Other) { vv_Init(pcco_Other); }
    void v_Set(const char16_t* qcuz_Text, unsigned n_Length) { vv_Init(qcuz_Text, n_Length); }
    void v_Set(const CT_Buffer* pcco_Buffer) { vv_Init(pcco_Buffer); }
    void v_Set(const char* qccz_Text, unsigned n_Length, unsigned n_CodePage);
    void v_Set(unsigned n_Length, int b_Reuse);

    void v_Replace(const CT_String* pcco_Source, unsigned n_SourceOffset, unsigned n_Count,
                   unsigned n_Position);
    void v_Replace(const char* qccz_Text, unsigned n_Length, unsigned n_Position);
    void v_Replace(const char16_t* qcuz_Text, unsigned n_Length, unsigned n_Position);
    void v_Insert(const char* qccz_Text, unsigned n_Length, unsigned n_Position);
    void v_Insert(const char16_t* qcuz_Text, unsigned n_Length, unsigned n_Position);
    void v_Insert(const CT_String* pcco_Text, unsigned n_Count, unsigned n_Position);
    void v_Append(const char* qccz_Text, unsigned n_Length);
    void v_Append(const char16_t* qcuz_Text, unsigned n_Length);
    void v_Append(const CT_String* pcco_Text, unsigned n_Count);
    void v_Append(char c_Char) { v_Append(&c_Char, 1); }
    void v_Append(char16_t u_Char) { v_Append(&u_Char, 1); }

    void v_Format(const char* qccz_Format, ...);
    void v_Format(const char* qccz_Format, va_list args);
    void v_Format(const char16_t* qcuz_Format, ...);
    void v_Format(const char16_t* qcuz_Format, va_list args);

    void v_CopyWeWrite() { co_Buffer.v_CopyWeWrite(); }
    const CT_Buffer* pcco_GetBuffer() const { return &co_Buffer; }

protected:
    CT_String() = default;
    explicit CT_String(const CT_Buffer* pcco_Buffer);
    explicit CT_String(CT_Type* pco_Prototype);
    CT_String(const CT_String& co_Other);
    CT_String& operator=(const CT_String&) = delete;

    // The other string as one of the two kinds, or null when it is not of that kind (or null).
    static const CT_CString* spcco_AsCString(const CT_String* pcco_Other);
    static const CT_UString* spcco_AsUString(const CT_String* pcco_Other);
    // Slots 33, 34 and 47 of both kinds: the format of either width through its v_Format; a
    // string of neither kind formats nothing.
    void v_FormatWith(const CT_String* pcco_Format, va_list args);

    CT_Buffer co_Buffer;
};
