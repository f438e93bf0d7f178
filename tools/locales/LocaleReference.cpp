// Records what this system's locale services answer, for the locales the library names and the
// locales the system enumerates: the default locales, the enumerations, validity, and the values
// of the information types the library reads (its numeric types, and the names and codes that a
// collection of values gathers), straight from the NLS calls. make-reference runs it under Wine;
// generate-tables turns the record into the native tables and LocaleReferenceTest checks both
// builds against it.
//
// The record is text, numbers in hex:
//   types T...            the information types asked of every locale below
//   defaults S U s u      GetSystemDefaultLCID, GetUserDefaultLCID, and the two LangIDs
//   enum F ID...          EnumSystemLocalesA with flag F (1 installed, 2 supported): the
//                         identifiers as enumerated, in order, over as many lines as it takes
//   locale L I S          a locale, IsValidLocale with LCID_INSTALLED and with LCID_SUPPORTED;
//                         the lines up to the next locale are its values
//   T=VALUE               GetLocaleInfoW of type T: the rest of the line, with \uXXXX for a
//                         backslash, for units outside printable ASCII and for a space at either
//                         end; a type without a value has no line
//   T:BYTES               GetLocaleInfoA of type T where it is not the ASCII of the value: the
//                         bytes in hex, "-" for none
#include "../RecordFile.h"

#include "System/Charset/Language.h"
#include "System/Charset/LocaleInfo.h"

#include <windows.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

namespace
{
// The texts besides the numeric types: names and codes, and the locale name.
const unsigned san_TextTypes[] = {0x0002, 0x0003, 0x0004, 0x0006, 0x0007, 0x0008,
                                  0x0059, 0x005A, 0x005C, 0x1001, 0x1002};
constexpr unsigned sn_HighestType = 0x1FFF;
constexpr int sn_ValueSize = 512;
constexpr size_t sn_LineWidth = 100;

std::vector<unsigned> aco_Types()
{
    std::set<unsigned> co_Types(std::begin(san_TextTypes), std::end(san_TextTypes));
    for (unsigned n_Type = 0; n_Type <= sn_HighestType; ++n_Type)
        if (CT_LocaleInfo::sb_IsNumericType(static_cast<CT_LocaleInfo::et_Type>(n_Type)))
            co_Types.insert(n_Type);
    return {co_Types.begin(), co_Types.end()};
}

// Every language identifier of the language tables, with the neutral and generic sub-languages,
// and the locales of the character-set and code-page tables.
void v_AddNamed(std::set<unsigned>* pco_Locales)
{
    using CT = CT_Language;
    for (unsigned p = 0; p <= CT::sn_GetPrimaryCount(); ++p)
    {
        const auto eo_Primary = static_cast<CT::et_Primary>(p);
        for (unsigned s = CT::e_SubNeutral; s <= CT::e_SubSysDefault; ++s)
            pco_Locales->insert(CT::sn_MakeLanguageID(eo_Primary, static_cast<CT::et_Sub>(s)));
        for (unsigned n = 1; n <= CT::sn_GetSubCount(eo_Primary); ++n)
            pco_Locales->insert(CT::sn_MakeLanguageID(eo_Primary, CT::seo_GetSubAt(eo_Primary, n)));
    }
    for (unsigned n = 0; n < 256; ++n)
        pco_Locales->insert(CT_LocaleInfo::sn_GetDefaultCharsetLocale(n));
    for (unsigned n = 0; n < 0x10000; ++n)
        pco_Locales->insert(CT_LocaleInfo::sn_GetDefaultCPLocale(n));
}

std::vector<std::string>* pco_Enumerated = nullptr;

BOOL CALLBACK b_Enumerated(LPSTR qcz_Locale)
{
    pco_Enumerated->push_back(qcz_Locale);
    return TRUE;
}

std::vector<std::string> aco_Enumerate(unsigned n_Flag)
{
    std::vector<std::string> co_Ids;
    pco_Enumerated = &co_Ids;
    EnumSystemLocalesA(b_Enumerated, n_Flag);
    return co_Ids;
}

void v_WriteEnumeration(FILE* pso_File, unsigned n_Flag, std::set<unsigned>* pco_Locales)
{
    std::string o_Line;
    for (const std::string& o_Id : aco_Enumerate(n_Flag))
    {
        pco_Locales->insert(std::stoul(o_Id, nullptr, 16));
        if (o_Line.size() > sn_LineWidth)
        {
            std::fprintf(pso_File, "enum %u%s\n", n_Flag, o_Line.c_str());
            o_Line.clear();
        }
        o_Line += " " + o_Id;
    }
    if (!o_Line.empty())
        std::fprintf(pso_File, "enum %u%s\n", n_Flag, o_Line.c_str());
}

std::string o_Escaped(const std::wstring& o_Value)
{
    std::string o_Out;
    for (size_t i = 0; i < o_Value.size(); ++i)
    {
        const unsigned u = o_Value[i];
        const bool b_EdgeSpace = u == ' ' && (i == 0 || i + 1 == o_Value.size());
        if (u < 0x20 || u > 0x7E || u == '\\' || b_EdgeSpace)
        {
            char ac[8];
            std::snprintf(ac, sizeof ac, "\\u%04X", u);
            o_Out += ac;
        }
        else
            o_Out += static_cast<char>(u);
    }
    return o_Out;
}

void v_WriteValue(FILE* pso_File, unsigned n_Locale, unsigned n_Type)
{
    wchar_t au_Value[sn_ValueSize];
    char ac_Value[sn_ValueSize];
    const int i_Units = GetLocaleInfoW(n_Locale, n_Type, au_Value, sn_ValueSize);
    const int i_Bytes = GetLocaleInfoA(n_Locale, n_Type, ac_Value, sn_ValueSize);
    const std::wstring o_Wide = i_Units > 0 ? std::wstring(au_Value, i_Units - 1) : L"";
    if (i_Units > 0)
        std::fprintf(pso_File, "%04X=%s\n", n_Type, o_Escaped(o_Wide).c_str());
    const std::string o_Ascii(o_Wide.begin(), o_Wide.end());
    const bool b_Same =
        i_Bytes > 0 ? i_Units > 0 && o_Ascii == std::string(ac_Value, i_Bytes - 1) : i_Units <= 0;
    if (b_Same)
        return;
    std::fprintf(pso_File, "%04X:", n_Type);
    if (i_Bytes <= 0)
        std::fputc('-', pso_File);
    for (int i = 0; i < i_Bytes - 1; ++i)
        std::fprintf(pso_File, "%02X", static_cast<unsigned char>(ac_Value[i]));
    std::fputc('\n', pso_File);
}
} // namespace

int main(int i_Args, char** ppc_Args)
{
    FILE* pso_File = pso_OpenRecord(i_Args, ppc_Args, "Locale answers", "locales/LocaleReference");
    if (!pso_File)
        return 1;
    const std::vector<unsigned> co_Types = aco_Types();
    std::fprintf(pso_File, "types");
    for (unsigned n_Type : co_Types)
        std::fprintf(pso_File, " %04X", n_Type);
    std::fprintf(pso_File, "\ndefaults %08lX %08lX %04X %04X\n", GetSystemDefaultLCID(),
                 GetUserDefaultLCID(), GetSystemDefaultLangID(), GetUserDefaultLangID());

    std::set<unsigned> co_Locales = {GetSystemDefaultLCID(), GetUserDefaultLCID()};
    v_WriteEnumeration(pso_File, LCID_INSTALLED, &co_Locales);
    v_WriteEnumeration(pso_File, LCID_SUPPORTED, &co_Locales);
    v_AddNamed(&co_Locales);
    for (unsigned n_Locale : co_Locales)
    {
        std::fprintf(pso_File, "locale %08X %d %d\n", n_Locale,
                     IsValidLocale(n_Locale, LCID_INSTALLED) ? 1 : 0,
                     IsValidLocale(n_Locale, LCID_SUPPORTED) ? 1 : 0);
        for (unsigned n_Type : co_Types)
            v_WriteValue(pso_File, n_Locale, n_Type);
    }
    return std::fclose(pso_File) == 0 ? 0 : 1;
}
