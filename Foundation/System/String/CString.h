// CT_CString: a string of 8-bit characters in a code page (0: the system's ANSI code page).
// Text of the other width is converted with the string's code page.
#pragma once

#include "System/String/String.h"

class CT_EXPORT CT_CString : public CT_String
{
    CT_DECLARE_DERIVED_TYPE(CT_CString)

public:
    explicit CT_CString(unsigned n_CodePage = 0);
    CT_CString(const char* qccz_Text, unsigned n_Length, unsigned n_CodePage = 0);
    CT_CString(const char16_t* qcuz_Text, unsigned n_Length, unsigned n_CodePage = 0);
    CT_CString(const CT_Buffer* pcco_Buffer, unsigned n_CodePage);
    CT_CString(const CT_String* pcco_Other, unsigned n_CodePage);
    explicit CT_CString(const CT_CString* pcco_Other);
    CT_CString(const CT_UString* pcco_Other, unsigned n_CodePage);
    explicit CT_CString(CT_Type* pco_Prototype);
    CT_CString(const CT_CString& co_Other) : CT_CString(&co_Other) {}
    CT_CString& operator=(const CT_CString& co_Other);
    ~CT_CString() override;

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

    const char* qccz_Get() const;
    char c_GetAt(unsigned n_Position) const { return qccz_Get()[n_Position]; }
    void v_SetAt(char c_Char, unsigned n_Position) { vv_SetAt(c_Char, n_Position); }
    unsigned n_GetCodePage() const { return n_CodePage; }
    void v_SetCodePage(unsigned n_NewCodePage) { n_CodePage = n_NewCodePage; }
    unsigned n_GetLength() const { return vn_GetLength(); }

    // A zero character appends nothing; the text and string forms are the base's.
    using CT_String::v_Append;
    void v_Append(char c_Char);
    void v_Append(char16_t u_Char);

    int b_Match(const char* qccz_Pattern) const;

    static void* operator new(std::size_t n_Size);
    static void operator delete(void* pv_Object);
    static _SHI_Pool* spso_GetMemPool();

protected:
    void vv_Init(const char16_t* qcuz_Text, unsigned n_Length) override;
    void vv_Init(const char* qccz_Text, unsigned n_Length, unsigned n_CodePage) override;
    void vv_Init(const CT_String* pcco_Other) override;
    void vv_Init(unsigned n_Length) override;
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
    void v_TrimToLength();

    unsigned n_CodePage;

    static _SHI_Pool* spso_Pool;
};
