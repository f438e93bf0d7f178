// CT_UString: a string of 16-bit units (UTF-16 code units, each read as one character). It has
// no code page of its own: 8-bit text is converted with the code page the caller gives, that of
// the source CT_CString, or 0 (the system's ANSI code page) where no other is at hand. Lengths,
// positions and counts are in units; the growth is kept in the buffer in bytes and read in units.
#pragma once

#include "System/String/String.h"

class CT_CString;

class CT_EXPORT CT_UString : public CT_String
{
    CT_DECLARE_DERIVED_TYPE(CT_UString)

public:
    CT_UString();
    // An empty string with a block for n_Size units, the terminator included.
    explicit CT_UString(unsigned n_Size);
    CT_UString(const char* qccz_Text, unsigned n_Length, unsigned n_CodePage = 0);
    CT_UString(const char16_t* qcuz_Text, unsigned n_Length);
    explicit CT_UString(const CT_Buffer* pcco_Buffer);
    explicit CT_UString(const CT_String* pcco_Other);
    explicit CT_UString(const CT_CString* pcco_Other);
    explicit CT_UString(const CT_UString* pcco_Other);
    explicit CT_UString(CT_Type* pco_Prototype);
    CT_UString(const CT_UString& co_Other) : CT_UString(&co_Other) {}
    CT_UString& operator=(const CT_UString& co_Other);
    ~CT_UString() override;

    CT_String* vpco_Create() const override;
    void vv_SetSize(unsigned n_Length, int b_Keep) override;
    void vv_SetMinSize(unsigned n_Length, int b_Keep) override;
    void vv_Replace(char16_t u_Char, unsigned n_Count, unsigned n_Position) override;
    void vv_Replace(char c_Char, unsigned n_Count, unsigned n_Position) override;
    char vc_GetAt(unsigned n_Position) const override;
    char16_t vu_GetAt(unsigned n_Position) const override;
    void vv_SetAt(char16_t u_Char, unsigned n_Position) override;
    void vv_SetAt(char c_Char, unsigned n_Position) override;
    void vv_ToLower() override;
    void vv_ToUpper() override;
    void vv_Remove(unsigned n_Count, unsigned n_Position) override;
    unsigned vn_Find(char16_t u_Char, unsigned n_Start) const override;
    unsigned vn_Find(char c_Char, unsigned n_Start) const override;
    unsigned vn_Find(const CT_String* pcco_Text, unsigned n_Start) const override;
    void vv_Update() override;
    int vb_Match(const CT_String* pcco_Pattern) const override;
    void vv_Strip(const CT_String* pcco_Set) override;
    void vv_StripRight() override;
    void vv_StripLeft() override;
    int vi_Compare(const CT_String* pcco_Other, unsigned n_OtherOffset, unsigned n_Count,
                   unsigned n_Offset) const override;
    int vi_Compare(const char16_t* qcuz_Text, unsigned n_Count, unsigned n_Offset) const override;
    int vi_Compare(const char* qccz_Text, unsigned n_Count, unsigned n_Offset) const override;
    void vv_Translate(const CT_String* pcco_From, const CT_String* pcco_To) override;
    void vv_SetLength(unsigned n_Length) override;
    unsigned vn_GetLength() const override;
    unsigned vn_GetMaximumLength() const override;
    void vv_SetGrowth(unsigned n_Growth) override;
    unsigned vn_GetGrowth() const override;

    const char16_t* qcuz_Get() const;
    char16_t u_GetAt(unsigned n_Position) const { return qcuz_Get()[n_Position]; }
    void v_SetAt(char16_t u_Char, unsigned n_Position) { vv_SetAt(u_Char, n_Position); }
    unsigned n_GetLength() const { return vn_GetLength(); }

    // A zero character or a length of 0 appends nothing. The string forms and the 8-bit forms
    // without a code page (which convert with code page 0) are the base's.
    using CT_String::v_Append;
    void v_Append(char c_Char, unsigned n_CodePage);
    void v_Append(char16_t u_Char);
    void v_Append(const char16_t* qcuz_Text, unsigned n_Length);
    void v_Append(const char* qccz_Text, unsigned n_Length, unsigned n_CodePage);

    int b_Match(const char16_t* qcuz_Pattern) const;

    static void* operator new(std::size_t n_Size);
    static void operator delete(void* pv_Object);
    static _SHI_Pool* spso_GetMemPool();

protected:
    void vv_Init(const char16_t* qcuz_Text, unsigned n_Length) override;
    void vv_Init(const char* qccz_Text, unsigned n_Length, unsigned n_CodePage) override;
    void vv_Init(const CT_String* pcco_Other) override;
    void vv_Init(unsigned n_Size) override;
    void vv_Init() override;
    void vv_StringReplace(const CT_String* pcco_Source, unsigned n_SourceOffset, unsigned n_Count,
                          unsigned n_Position) override;
    void vv_StringReplace(const char16_t* qcuz_Text, unsigned n_Count,
                          unsigned n_Position) override;
    void vv_StringReplace(const char* qccz_Text, unsigned n_Count, unsigned n_Position,
                          unsigned n_CodePage) override;
    void vv_StringInsert(const CT_String* pcco_Source, unsigned n_SourceOffset, unsigned n_Count,
                         unsigned n_Position) override;
    void vv_StringInsert(const char16_t* qcuz_Text, unsigned n_Count, unsigned n_Position) override;
    void vv_StringInsert(const char* qccz_Text, unsigned n_Count, unsigned n_Position,
                         unsigned n_CodePage) override;

private:
    static _SHI_Pool* spso_Pool;
};
