#include "DialogTemplate.h"

#include <cwchar>

namespace
{
// Reads a template front to back; a read past the end marks the reader failed and gives 0.
class CT_TemplateReader
{
public:
    CT_TemplateReader(const BYTE* pcn_Data, DWORD n_Size)
        : pcn_At(pcn_Data), pcn_End(pcn_Data + n_Size)
    {
    }

    bool b_IsGood() const { return b_Good; }

    // The word at n_Index words from here, or 0 beyond the end; nothing is consumed.
    WORD n_Peek(unsigned n_Index) const
    {
        if (static_cast<unsigned>(pcn_End - pcn_At) < 2 * n_Index + 2)
            return 0;
        return static_cast<WORD>(pcn_At[2 * n_Index] | pcn_At[2 * n_Index + 1] << 8);
    }
    void v_Skip(unsigned n_Bytes) { v_Read(n_Bytes, nullptr); }

    WORD n_Word() { return static_cast<WORD>(n_Read(2)); }
    DWORD n_DWord() { return static_cast<DWORD>(n_Read(4)); }
    BYTE n_Byte() { return static_cast<BYTE>(n_Read(1)); }

    // A menu or class field: none (0), an ordinal (0xFFFF and a number) or a string.
    void v_SkipNameOrOrdinal()
    {
        if (n_Peek(0) == 0xFFFF)
            v_Skip(4);
        else
            pcw_String();
    }

    // A zero-terminated string in the template, or the empty text when it runs past the end.
    const wchar_t* pcw_String()
    {
        const BYTE* pcn_Start = pcn_At;
        while (b_Good && n_Word() != 0)
        {
        }
        return b_Good ? reinterpret_cast<const wchar_t*>(pcn_Start) : L"";
    }

private:
    // Little-endian, up to 4 bytes into *pn_Value when given.
    void v_Read(unsigned n_Bytes, DWORD* pn_Value)
    {
        if (!b_Good || static_cast<unsigned>(pcn_End - pcn_At) < n_Bytes)
        {
            b_Good = false;
            return;
        }
        for (unsigned n = 0; pn_Value && n < n_Bytes; ++n)
            *pn_Value |= static_cast<DWORD>(pcn_At[n]) << (8 * n);
        pcn_At += n_Bytes;
    }
    DWORD n_Read(unsigned n_Bytes)
    {
        DWORD n_Value = 0;
        v_Read(n_Bytes, &n_Value);
        return n_Value;
    }

    const BYTE* pcn_At;
    const BYTE* pcn_End;
    bool b_Good = true;
};

struct st_TemplateFont
{
    WORD n_Points = 0; // 0: the template names no font
    WORD n_Weight = FW_DONTCARE;
    BYTE n_Italic = 0;
    BYTE n_CharSet = DEFAULT_CHARSET;
    const wchar_t* pcw_Face = L"";
};

// The dialog base units as the dialog manager measures them with the font: the average width
// of the Latin letters and the character height.
SIZE so_FontBaseUnits(const st_TemplateFont& so_Font)
{
    const LONG i_DefaultUnits = static_cast<LONG>(GetDialogBaseUnits());
    SIZE so_Units = {LOWORD(i_DefaultUnits), HIWORD(i_DefaultUnits)};
    if (so_Font.n_Points == 0)
        return so_Units;
    HDC h_Screen = GetDC(nullptr);
    LOGFONTW so_Logical = {};
    so_Logical.lfHeight = -MulDiv(so_Font.n_Points, GetDeviceCaps(h_Screen, LOGPIXELSY), 72);
    so_Logical.lfWeight = so_Font.n_Weight;
    so_Logical.lfItalic = so_Font.n_Italic;
    so_Logical.lfCharSet = so_Font.n_CharSet;
    wcsncpy(so_Logical.lfFaceName, so_Font.pcw_Face, LF_FACESIZE - 1);
    HFONT h_Font = CreateFontIndirectW(&so_Logical);
    if (h_Font)
    {
        HGDIOBJ h_Old = SelectObject(h_Screen, h_Font);
        static const wchar_t aw_Letters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
        TEXTMETRICW so_Metrics;
        SIZE so_Extent;
        if (GetTextMetricsW(h_Screen, &so_Metrics) &&
            GetTextExtentPoint32W(h_Screen, aw_Letters, 52, &so_Extent))
            so_Units = {(so_Extent.cx / 26 + 1) / 2, so_Metrics.tmHeight};
        SelectObject(h_Screen, h_Old);
        DeleteObject(h_Font);
    }
    ReleaseDC(nullptr, h_Screen);
    return so_Units;
}
} // namespace

HRESULT CT_DialogTemplate::shr_GetSize(HINSTANCE h_Module, unsigned n_ID, SIZE* pso_Size)
{
    HRSRC h_Found = FindResourceW(h_Module, MAKEINTRESOURCEW(n_ID), MAKEINTRESOURCEW(5));
    HGLOBAL h_Loaded = h_Found ? LoadResource(h_Module, h_Found) : nullptr;
    const BYTE* pcn_Data = h_Loaded ? static_cast<const BYTE*>(LockResource(h_Loaded)) : nullptr;
    if (!pcn_Data)
        return HRESULT_FROM_WIN32(ERROR_RESOURCE_NAME_NOT_FOUND);

    CT_TemplateReader co_Reader(pcn_Data, SizeofResource(h_Module, h_Found));
    // The extended form starts with version 1 and the signature 0xFFFF, then the help
    // identifier and the extended style; the plain form starts with the style.
    const bool b_Extended = co_Reader.n_Peek(0) == 1 && co_Reader.n_Peek(1) == 0xFFFF;
    DWORD n_Style = 0;
    if (b_Extended)
    {
        co_Reader.v_Skip(12);
        n_Style = co_Reader.n_DWord();
    }
    else
    {
        n_Style = co_Reader.n_DWord();
        co_Reader.v_Skip(4);
    }
    co_Reader.v_Skip(6); // item count, x and y
    const short sn2_Width = static_cast<short>(co_Reader.n_Word());
    const short sn2_Height = static_cast<short>(co_Reader.n_Word());
    co_Reader.v_SkipNameOrOrdinal(); // menu
    co_Reader.v_SkipNameOrOrdinal(); // window class
    co_Reader.pcw_String();          // title

    st_TemplateFont so_Font;
    if (n_Style & DS_SETFONT)
    {
        so_Font.n_Points = co_Reader.n_Word();
        if (b_Extended)
        {
            so_Font.n_Weight = co_Reader.n_Word();
            so_Font.n_Italic = co_Reader.n_Byte();
            so_Font.n_CharSet = co_Reader.n_Byte();
        }
        so_Font.pcw_Face = co_Reader.pcw_String();
    }
    if (!co_Reader.b_IsGood())
        return HRESULT_FROM_WIN32(ERROR_INVALID_DATA);

    const SIZE so_Units = so_FontBaseUnits(so_Font);
    pso_Size->cx = MulDiv(sn2_Width, so_Units.cx, 4);
    pso_Size->cy = MulDiv(sn2_Height, so_Units.cy, 8);
    return S_OK;
}
