// CT_Language: primary and sub-languages of language and locale identifiers.
#include "System/Charset/Language.h"

#include <gtest/gtest.h>

namespace
{
TEST(Language, PrimaryAndSubOfIdentifiers)
{
    const struct
    {
        unsigned n_Id;
        unsigned n_Primary, n_Sub;
    } aso_Cases[] = {
        {0x0411, 17, 1},     // Japanese: no sub-language rows, so Default
        {0x0409, 9, 28},     // English (United States)
        {0x0C04, 4, 21},     // Chinese (Hongkong)
        {0x1404, 4, 1},      // Chinese with a sub-language the table lacks: Default
        {0x0004, 4, 0},      // Chinese, neutral sub-language
        {0x0802, 2, 2},      // Bulgarian, system default
        {0x0030, 0, 0},      // a primary id without a row: Neutral
        {0x083C, 54, 83},    // Gaelic (Wales), the last row
        {0x00020804, 4, 20}, // a locale: the sort id is ignored
    };
    for (const auto& so : aso_Cases)
    {
        EXPECT_EQ(CT_Language::seo_GetPrimary(so.n_Id), so.n_Primary) << std::hex << so.n_Id;
        EXPECT_EQ(CT_Language::seo_GetSub(so.n_Id), so.n_Sub) << std::hex << so.n_Id;
    }
}
} // namespace
