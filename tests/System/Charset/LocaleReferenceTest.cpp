// CT_LocaleInfo against the locale answers recorded under Windows (tests/data/LocaleReference.txt,
// tools/locales): the defaults, validity on both platform paths, and every recorded value as
// 16-bit text, 8-bit text and number. Under Wine this holds the record against the system it
// was taken from; natively, the native locale service against Windows. The test runs with the
// environment's locale C, as the record was taken.
#include "Basis/Runtime/OS.h"
#include "System/Charset/LocaleInfo.h"
#include "System/String/CString.h"
#include "System/String/UString.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace
{
using et_Type = CT_LocaleInfo::et_Type;

// A value as the platform gives it, in 16-bit and 8-bit text; none where it gives none.
struct st_Value
{
    std::optional<std::u16string> o_Wide;
    std::optional<std::string> o_Bytes;
    bool b_BytesApart = false; // the 8-bit value is recorded, not the ASCII of the 16-bit one
};

struct st_Locale
{
    unsigned n_Locale;
    bool b_Installed, b_Supported;
    std::map<unsigned, st_Value> co_Values;
};

struct st_Record
{
    std::vector<unsigned> co_Types;
    unsigned an_Defaults[4] = {};
    std::vector<unsigned> aco_Enumerated[3]; // by flag, in the system's order
    std::vector<st_Locale> co_Locales;
};

std::u16string o_Unescaped(const std::string& o_Text)
{
    std::u16string o_Out;
    for (size_t i = 0; i < o_Text.size(); ++i)
        if (o_Text[i] == '\\')
            o_Out += static_cast<char16_t>(std::stoul(o_Text.substr(i + 2, 4), nullptr, 16)),
                i += 5;
        else
            o_Out += static_cast<char16_t>(o_Text[i]);
    return o_Out;
}

std::optional<std::string> o_Bytes(const std::string& o_Hex)
{
    if (o_Hex == "-")
        return std::nullopt;
    std::string o_Out;
    for (size_t i = 0; i < o_Hex.size(); i += 2)
        o_Out += static_cast<char>(std::stoul(o_Hex.substr(i, 2), nullptr, 16));
    return o_Out;
}

st_Record so_ReadRecord()
{
    st_Record so;
    std::ifstream co_File(std::string(CT_SOURCE_DIR) + "/tests/data/LocaleReference.txt");
    for (std::string o_Line; std::getline(co_File, o_Line);)
    {
        std::istringstream co_Fields(o_Line);
        std::string o_Tag;
        co_Fields >> o_Tag;
        unsigned n_Flag;
        if (o_Tag == "types")
            for (std::string o; co_Fields >> o;)
                so.co_Types.push_back(std::stoul(o, nullptr, 16));
        else if (o_Tag == "defaults")
            for (unsigned& n : so.an_Defaults)
                co_Fields >> std::hex >> n;
        else if (o_Tag == "enum" && co_Fields >> n_Flag)
            for (std::string o; co_Fields >> o;)
                so.aco_Enumerated[n_Flag].push_back(std::stoul(o, nullptr, 16));
        else if (o_Tag == "locale")
        {
            so.co_Locales.emplace_back();
            co_Fields >> std::hex >> so.co_Locales.back().n_Locale >>
                so.co_Locales.back().b_Installed >> so.co_Locales.back().b_Supported;
        }
        else if (o_Line.size() > 4 && (o_Line[4] == '=' || o_Line[4] == ':'))
        {
            st_Value& so_Value =
                so.co_Locales.back().co_Values[std::stoul(o_Line.substr(0, 4), nullptr, 16)];
            if (o_Line[4] == '=')
                so_Value.o_Wide = o_Unescaped(o_Line.substr(5));
            else
                so_Value.o_Bytes = o_Bytes(o_Line.substr(5)), so_Value.b_BytesApart = true;
        }
    }
    for (st_Locale& so_Locale : so.co_Locales)
        for (auto& [n_Type, so_Value] : so_Locale.co_Values)
            if (!so_Value.b_BytesApart)
                so_Value.o_Bytes = std::string(so_Value.o_Wide->begin(), so_Value.o_Wide->end());
    return so;
}

const st_Record& so_Record()
{
    static const st_Record so = so_ReadRecord();
    return so;
}

bool b_Enumerated(unsigned n_Flag, unsigned n_Locale)
{
    const std::vector<unsigned>& co = so_Record().aco_Enumerated[n_Flag];
    return std::find(co.begin(), co.end(), n_Locale) != co.end();
}

// What the library reads of a recorded locale: nothing unless it is supported.
st_Value so_Readable(const st_Locale& so_Locale, unsigned n_Type)
{
    const auto pcso = so_Locale.co_Values.find(n_Type);
    return so_Locale.b_Supported && pcso != so_Locale.co_Values.end() ? pcso->second : st_Value{};
}

template <class T>
std::optional<T> o_If(int b_Read, const T& o_Value)
{
    return b_Read ? std::optional<T>(o_Value) : std::nullopt;
}

// Counts the compared answers and the differences, naming the first few.
class CT_Comparison
{
public:
    explicit CT_Comparison(const char* qccz_What) : qccz_What(qccz_What) {}
    ~CT_Comparison()
    {
        std::cout << qccz_What << ": " << n_Compared << " compared, " << n_Differences
                  << " differ\n";
        EXPECT_EQ(n_Differences, 0u) << qccz_What;
    }
    template <class T>
    void v_Expect(const T& o_Got, const T& o_Expected, unsigned n_Locale, unsigned n_Type)
    {
        ++n_Compared;
        if (!(o_Got == o_Expected) && ++n_Differences <= 10)
            ADD_FAILURE() << qccz_What << " of locale " << std::hex << n_Locale << " type "
                          << n_Type;
    }

private:
    const char* qccz_What;
    unsigned n_Compared = 0, n_Differences = 0;
};

TEST(LocaleReference, DefaultLocales)
{
    const unsigned* pcn = so_Record().an_Defaults;
    EXPECT_EQ(CT_LocaleInfo::sn_GetSystemDefaultLCID(), pcn[0]);
    EXPECT_EQ(CT_LocaleInfo::sn_GetUserDefaultLCID(), pcn[1]);
    EXPECT_EQ(CT_LocaleInfo::sn_GetSystemDefaultLangID(), pcn[2]);
    EXPECT_EQ(CT_LocaleInfo::sn_GetUserDefaultLangID(), pcn[3]);
}

// The NT family asks the platform; the systems before it look the locale up in the enumeration.
TEST(LocaleReference, Validity)
{
    CT_Comparison co_Compare("validity");
    for (int b_BeforeNT : {0, 1})
    {
        if (b_BeforeNT)
            CT_OS::sv_ForceVersion(CT_OS::eo_Windows98);
        for (const st_Locale& so : so_Record().co_Locales)
        {
            const bool b_Installed = b_BeforeNT ? b_Enumerated(1, so.n_Locale) : so.b_Installed;
            const bool b_Supported = b_BeforeNT ? b_Enumerated(2, so.n_Locale) : so.b_Supported;
            co_Compare.v_Expect(CT_LocaleInfo::sb_LocaleIsInstalled(so.n_Locale) != 0, b_Installed,
                                so.n_Locale, 1);
            co_Compare.v_Expect(CT_LocaleInfo::sb_LocaleIsSupported(so.n_Locale) != 0, b_Supported,
                                so.n_Locale, 2);
        }
    }
    CT_OS::sv_Init();
}

// Each recorded value as the library reads it: 16-bit text, 8-bit text, and the numbers.
TEST(LocaleReference, Values)
{
    CT_Comparison co_Compare("locale values");
    for (const st_Locale& so : so_Record().co_Locales)
        for (unsigned n_Type : so_Record().co_Types)
        {
            const auto eo_Type = static_cast<et_Type>(n_Type);
            const st_Value so_Value = so_Readable(so, n_Type);
            CT_UString co_Wide;
            const int b_Wide = CT_LocaleInfo::sb_GetLocaleInfo(so.n_Locale, eo_Type, &co_Wide);
            co_Compare.v_Expect(o_If(b_Wide, std::u16string(co_Wide.qcuz_Get())), so_Value.o_Wide,
                                so.n_Locale, n_Type);
            char ac_Bytes[512];
            const int b_Bytes =
                CT_LocaleInfo::sb_GetLocaleInfo(so.n_Locale, eo_Type, ac_Bytes, sizeof ac_Bytes);
            co_Compare.v_Expect(o_If(b_Bytes, std::string(b_Bytes ? ac_Bytes : "")),
                                so_Value.o_Bytes, so.n_Locale, n_Type);
            if (!CT_LocaleInfo::sb_IsNumericType(eo_Type))
                continue;
            const bool b_Hex =
                n_Type == CT_LocaleInfo::e_ILanguage || n_Type == CT_LocaleInfo::e_IDefaultLanguage;
            unsigned n_Got = 0;
            const int b_Number = CT_LocaleInfo::sb_GetLocaleInfo(so.n_Locale, eo_Type, &n_Got);
            co_Compare.v_Expect(
                o_If(b_Number, n_Got),
                o_If(so_Value.o_Bytes.has_value(),
                     static_cast<unsigned>(std::strtoul(so_Value.o_Bytes.value_or("").c_str(),
                                                        nullptr, b_Hex ? 16 : 10))),
                so.n_Locale, n_Type);
        }
}

// The platform's default ANSI code page of every recorded locale that has one, valid or not.
TEST(LocaleReference, DefaultANSICodePages)
{
    CT_Comparison co_Compare("default ANSI code pages");
    for (const st_Locale& so : so_Record().co_Locales)
    {
        const auto pcso = so.co_Values.find(CT_LocaleInfo::e_IDefaultANSICodePage);
        if (pcso != so.co_Values.end())
            co_Compare.v_Expect(CT_LocaleInfo::sn_GetDefaultANSICodePage(so.n_Locale),
                                static_cast<unsigned>(std::stoul(*pcso->second.o_Bytes)),
                                so.n_Locale, CT_LocaleInfo::e_IDefaultANSICodePage);
    }
}

// The distinct values of each type over the installed locales, in the system's order.
TEST(LocaleReference, CollectedValues)
{
    CT_Comparison co_Compare("collected values");
    for (unsigned n_Type : so_Record().co_Types)
    {
        std::vector<std::u16string> co_Values;
        for (unsigned n_Locale : so_Record().aco_Enumerated[1])
        {
            const auto pcso =
                std::find_if(so_Record().co_Locales.begin(), so_Record().co_Locales.end(),
                             [&](const st_Locale& so) { return so.n_Locale == n_Locale; });
            const std::u16string o_Value = so_Readable(*pcso, n_Type).o_Wide.value_or(u"");
            if (!o_Value.empty() &&
                std::find(co_Values.begin(), co_Values.end(), o_Value) == co_Values.end())
                co_Values.push_back(o_Value);
        }
        std::u16string o_Expected;
        for (const std::u16string& o : co_Values)
            o_Expected += (o_Expected.empty() ? u"" : u"|") + o;
        CT_UString co_Got;
        CT_LocaleInfo::sv_CollectValues(static_cast<et_Type>(n_Type), u'|', &co_Got);
        co_Compare.v_Expect(std::u16string(co_Got.qcuz_Get()), o_Expected, 0, n_Type);
    }
}
} // namespace
