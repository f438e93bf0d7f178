#include "System/String/CString.h"

#include "Basis/Platform/Heap.h"
#include "System/String/UString.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/mman.h>
#endif

namespace
{
constexpr unsigned sn_All = CT_String::sn_All;
constexpr unsigned sn_NotFound = CT_String::sn_NotFound;
constexpr unsigned sn_Own = CT_String::sn_OwnCodePage;

// Compares the text and checks what every string must keep: never a null text, used size 0 or
// length + 1 with the terminator at the length, used size within the block. Failures name the
// caller's line (the compilers' builtins: clang 14 has no std::source_location).
void v_ExpectText(const CT_CString& co, std::string_view s_Expected,
                  const char* qccz_File = __builtin_FILE(), int i_Line = __builtin_LINE())
{
    const CT_Buffer* pcco_Buffer = co.pcco_GetBuffer();
    const unsigned n_Used = pcco_Buffer->n_GetUsedSize();
    const unsigned n_Maximum = pcco_Buffer->n_GetMaximumSize();
    const unsigned n_Length = co.vn_GetLength();
    const char* qccz = co.qccz_Get();
    std::string s_Faults;
    if (!qccz)
        s_Faults += " null text;";
    else if (n_Used == 0 ? n_Length != 0 : n_Used != n_Length + 1 || qccz != pcco_Buffer->qcv_Get())
        s_Faults += " used size is neither 0 nor length + 1 in the block;";
    else if (qccz[n_Length] != 0 || std::strlen(qccz) != n_Length)
        s_Faults += " terminator not at the length;";
    else if (std::string_view(qccz, n_Length) != s_Expected)
        s_Faults += " text \"" + std::string(qccz, n_Length) + "\";";
    if (n_Used > n_Maximum || co.vn_GetMaximumLength() != (n_Maximum ? n_Maximum - 1 : 0))
        s_Faults += " used size or maximum length disagree with the block;";
    if (!s_Faults.empty())
        ADD_FAILURE_AT(qccz_File, i_Line) << "expected \"" << s_Expected << "\":" << s_Faults;
}

int i_Sign(int i)
{
    return (i > 0) - (i < 0);
}

// A string of a kind the 8-bit string does not know: it must read as absent.
class CT_OtherString : public CT_String
{
public:
    CT_OtherString() = default;
};

// A 16-bit text that ends right before an inaccessible page, so that a read past its terminator
// faults even inside conversion code that the sanitizers do not see.
class CT_GuardedText
{
public:
    explicit CT_GuardedText(std::u16string_view s)
    {
#if defined(_WIN32)
        pc_Pages = static_cast<char*>(
            VirtualAlloc(nullptr, 2 * sn_Page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        DWORD n_Old = 0;
        VirtualProtect(pc_Pages + sn_Page, sn_Page, PAGE_NOACCESS, &n_Old);
#else
        pc_Pages = static_cast<char*>(
            mmap(nullptr, 2 * sn_Page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
        mprotect(pc_Pages + sn_Page, sn_Page, PROT_NONE);
#endif
        pu_Text = reinterpret_cast<char16_t*>(pc_Pages + sn_Page) - (s.size() + 1);
        std::copy(s.begin(), s.end(), pu_Text);
        pu_Text[s.size()] = 0;
    }
    ~CT_GuardedText()
    {
#if defined(_WIN32)
        VirtualFree(pc_Pages, 0, MEM_RELEASE);
#else
        munmap(pc_Pages, 2 * sn_Page);
#endif
    }
    CT_GuardedText(const CT_GuardedText&) = delete;
    CT_GuardedText& operator=(const CT_GuardedText&) = delete;
    const char16_t* qcuz_Get() const
    {
        return pu_Text;
    }

private:
    static constexpr unsigned sn_Page = 4096;
    char* pc_Pages;
    char16_t* pu_Text;
};

// One writing operation on a string named co, as a table entry.
#define CT_EDIT(...) [&](CT_CString& co) { __VA_ARGS__; }

struct st_EditCase
{
    const char* qccz_Initial;
    std::function<void(CT_CString&)> fn_Edit;
    std::string s_Expected;
};

// Each edit runs on a string of its own and on a copy sharing the original's block: both give
// the expected text, and the original never changes.
TEST(CString, EditsGiveTheTextAndLeaveSharingCopiesAlone)
{
    const CT_CString co_Src("xyz", sn_All, 1252);
    const CT_CString co_Set("xy", sn_All), co_Blank(" \to", sn_All), co_None("", 0);
    const CT_CString co_Abc("abc", sn_All), co_AB("AB", sn_All), co_LO("lo", sn_All);
    const CT_CString co_01("01", sn_All);
    const st_EditCase aso_Cases[] = {
        {"Hello", CT_EDIT(co.v_Set("xyz", sn_All, sn_Own)), "xyz"},
        {"Hello", CT_EDIT(co.v_Set("xyz", 2, sn_Own)), "xy"},
        {"Hello", CT_EDIT(co.v_Set(u"x\u00E9", sn_All)), "x\xE9"},
        {"Hello", CT_EDIT(co.v_Set(&co_Src)), "xyz"},
        {"Hello", CT_EDIT(co.v_Set(static_cast<const CT_String*>(nullptr))), ""},
        {"Hello", CT_EDIT(co.v_Set(nullptr, 0, sn_Own)), ""},
        {"Hello", CT_EDIT(co.v_Set(10u, 0)), ""},
        {"Hello", CT_EDIT(co.v_Set(3u, 1)), ""},
        {"Hello", CT_EDIT(co.v_Replace("XY", 2, 3)), "HelXY"},
        {"Hello", CT_EDIT(co.v_Replace(u"XY", sn_All, 3)), "HelXY"},
        {"Hello", CT_EDIT(co.v_Replace("abc", 0, 0)), ""},
        {"Hello", CT_EDIT(co.v_Replace(static_cast<const char*>(nullptr), 0, 2)), "He"},
        {"Hello", CT_EDIT(co.v_Replace(&co_Src, 1, sn_All, 1)), "Hyz"},
        {"Hello", CT_EDIT(co.v_Replace(&co_Src, 0, 1, 5)), "Hellox"},
        {"abcd", CT_EDIT(co.v_Insert("XY", sn_All, 2)), "abXYcd"},
        {"abcd", CT_EDIT(co.v_Insert("XY", 1, 0)), "Xabcd"},
        {"abcd", CT_EDIT(co.v_Insert("XY", sn_All, 4)), "abcdXY"},
        {"abcd", CT_EDIT(co.v_Insert(u"\u20AC", sn_All, 1)),
         "a\x80"
         "bcd"},
        {"abcd", CT_EDIT(co.v_Insert(&co_Src, sn_All, 1)), "axyzbcd"},
        {"", CT_EDIT(co.v_Insert("XY", sn_All, 0)), "XY"},
        {"abXYcd", CT_EDIT(co.v_Append("ef", sn_All)), "abXYcdef"},
        {"ab", CT_EDIT(co.v_Append(u"\u00E9!", sn_All)), "ab\xE9!"},
        {"ab", CT_EDIT(co.v_Append('!')), "ab!"},
        {"ab", CT_EDIT(co.v_Append(u'\u20AC')), "ab\x80"},
        {"ab", CT_EDIT(co.v_Append(&co_Src, 2)), "abxy"},
        {"ab", CT_EDIT(co.v_Append(&co_Src, 100)), "abxyz"},
        {"ab", CT_EDIT(co.v_Append('\0'); co.v_Append(u'\0'); co.v_Append("x", 0)), "ab"},
        {"", CT_EDIT(for (char c = 'a'; c <= 'z'; ++c) co.v_Append(c)),
         "abcdefghijklmnopqrstuvwxyz"},
        {"abcdef", CT_EDIT(co.vv_Remove(sn_All, 2)), "ab"},
        {"abcdef", CT_EDIT(co.vv_Remove(2, 1)), "adef"},
        {"abcdef", CT_EDIT(co.vv_Remove(0, 1)), "abcdef"},
        {"abcdef", CT_EDIT(co.vv_Remove(sn_All, 0)), ""},
        {"abcdef", CT_EDIT(co.vv_Remove(sn_All, 6)), "abcdef"},
        // A fill that ends inside leaves the rest; one that reaches the end ends the string.
        {"abcdef", CT_EDIT(co.vv_Replace('x', 2, 1)), "axxdef"},
        {"abcdef", CT_EDIT(co.vv_Replace('x', 2, 4)), "abcdxx"},
        {"abcdef", CT_EDIT(co.vv_Replace('x', 4, 4)), "abcdxxxx"},
        {"abcdef", CT_EDIT(co.vv_Replace(u'\u20AC', 3, 6)), "abcdef\x80\x80\x80"},
        {"abcdef", CT_EDIT(co.vv_Replace('x', 0, 2)), "abcdef"},
        {"abcdef", CT_EDIT(co.vv_Replace('x', sn_All, 2)), "abxxxxxx"},
        {"abc", CT_EDIT(co.vv_Replace('x', 40, 1)), "a" + std::string(40, 'x')},
        {"", CT_EDIT(co.vv_Replace('x', 3, 0)), "xxx"},
        {"Hello", CT_EDIT(co.vv_SetAt('J', 0)), "Jello"},
        {"Hello", CT_EDIT(co.vv_SetAt('\0', 2)), "He"},
        {"Hello", CT_EDIT(co.v_SetAt('\0', 0)), ""},
        {"Hello, 1!", CT_EDIT(co.vv_ToUpper()), "HELLO, 1!"},
        {"Hello, 1!", CT_EDIT(co.vv_ToLower()), "hello, 1!"},
        {"Hello", CT_EDIT(co.vv_Update()), "Hello"},
        {"Hello", CT_EDIT(co.v_CopyWeWrite()), "Hello"},
        {"xxabcyx", CT_EDIT(co.vv_Strip(&co_Set)), "abc"},
        {"axxx", CT_EDIT(co.vv_Strip(&co_Set)), "a"}, // the second pass ends before the first
        {"xabcx", CT_EDIT(co.vv_Strip(&co_None)), "xabcx"},
        {" Hello\t", CT_EDIT(co.vv_Strip(&co_Blank)), "Hell"},
        {"  ab \t", CT_EDIT(co.vv_Strip(nullptr)), "ab"},
        {"\t\n\v\f\r a b\r\n", CT_EDIT(co.vv_Strip(nullptr)), "a b"},
        {" \t\n ab \r\n\v\f", CT_EDIT(co.vv_StripLeft()), "ab \r\n\v\f"},
        {" \t\n ab \r\n\v\f", CT_EDIT(co.vv_StripRight()), " \t\n ab"},
        {"\xA0x\xA0", CT_EDIT(co.vv_Strip(nullptr)), "\xA0x\xA0"}, // only ASCII white space
        {" \t ", CT_EDIT(co.vv_StripLeft()), ""},
        {" \t ", CT_EDIT(co.vv_StripRight()), ""},
        {"aabbcc", CT_EDIT(co.vv_Translate(&co_Abc, &co_AB)), "AABB"},
        {"abcbbc", CT_EDIT(co.vv_Translate(&co_Abc, &co_None)), ""}, // consecutive removals
        {"hello", CT_EDIT(co.vv_Translate(&co_LO, &co_01)), "he001"},
        {"Hello", CT_EDIT(co.vv_SetSize(3, 1)), "Hel"},
        {"Hello", CT_EDIT(co.vv_SetSize(40, 1)), "Hello"},
        {"Hello", CT_EDIT(co.vv_SetSize(20, 0)), ""},
        {"Hello", CT_EDIT(co.vv_SetMinSize(5, 0)), "Hello"}, // room enough: untouched
        {"Hello", CT_EDIT(co.vv_SetMinSize(300, 0)), ""},
        {"Hello", CT_EDIT(co.vv_SetLength(3)), "Hel"},
        {"Hello", CT_EDIT(co.vv_SetLength(0)), ""},
        {"Hello", CT_EDIT(co.v_Format("%d-%s", 7, "x")), "7-x"},
        {"Hello", CT_EDIT(co.v_Format(u"%d-\u00E9\u20AC", 42)), "42-\xE9\x80"},
    };
    for (const st_EditCase& so : aso_Cases)
    {
        SCOPED_TRACE(std::string("on \"") + so.qccz_Initial + "\", expecting \"" + so.s_Expected +
                     "\"");
        CT_CString co(so.qccz_Initial, sn_All, 1252);
        so.fn_Edit(co);
        v_ExpectText(co, so.s_Expected);

        const CT_CString co_Original(so.qccz_Initial, sn_All, 1252);
        CT_CString co_Copy(&co_Original);
        const char* qccz_Block = co_Original.qccz_Get();
        so.fn_Edit(co_Copy);
        v_ExpectText(co_Copy, so.s_Expected);
        v_ExpectText(co_Original, so.qccz_Initial);
        EXPECT_EQ(co_Original.qccz_Get(), qccz_Block);
        EXPECT_EQ(co_Copy.n_GetCodePage(), 1252u);
    }
}

// Sources inside the string's own block act as if copied first. The strings are long, so that
// growing really moves the block while the source is read.
TEST(CString, OwnTextAsSourceActsOnACopy)
{
    std::string s;
    for (unsigned i = 0; i < 1000; ++i)
        s += static_cast<char>('0' + i % 10);
    const st_EditCase aso_Cases[] = {
        {"", CT_EDIT(co.v_Replace(co.qccz_Get() + 2, 3, 0)), s.substr(2, 3)},
        {"", CT_EDIT(co.v_Replace(co.qccz_Get(), sn_All, co.vn_GetLength())), s + s},
        {"", CT_EDIT(co.v_Replace(co.qccz_Get(), sn_All, 7)), s.substr(0, 7) + s},
        {"", CT_EDIT(co.v_Replace(&co, 10, sn_All, co.vn_GetLength())), s + s.substr(10)},
        {"", CT_EDIT(co.v_Insert(co.qccz_Get(), 2, 1)), s.substr(0, 1) + "01" + s.substr(1)},
        {"", CT_EDIT(co.v_Insert(co.qccz_Get() + 3, sn_All, 5)),
         s.substr(0, 5) + s.substr(3) + s.substr(5)},
        {"", CT_EDIT(co.v_Insert(&co, sn_All, 4)), s.substr(0, 4) + s + s.substr(4)},
        {"", CT_EDIT(co.v_Append(co.qccz_Get(), sn_All)), s + s},
        {"", CT_EDIT(co.v_Append(co.qccz_Get() + 990, 10)), s + s.substr(990)},
        {"", CT_EDIT(co.v_Append(&co, sn_All)), s + s},
        {"", CT_EDIT(co.v_Set(co.qccz_Get() + 5, sn_All, sn_Own)), s.substr(5)},
        {"", CT_EDIT(co.v_Set(co.qccz_Get() + 5, 3, sn_Own)), s.substr(5, 3)},
        {"", CT_EDIT(co.v_Format("%s|%s", co.qccz_Get() + 1, co.qccz_Get())),
         s.substr(1) + "|" + s},
    };
    for (const st_EditCase& so : aso_Cases)
    {
        SCOPED_TRACE(&so - aso_Cases);
        CT_CString co(s.c_str(), sn_All);
        so.fn_Edit(co);
        v_ExpectText(co, so.s_Expected);
        CT_CString co_Shared(s.c_str(), sn_All); // the source lies in a shared block
        CT_CString co_Copy(&co_Shared);
        so.fn_Edit(co_Shared);
        v_ExpectText(co_Shared, so.s_Expected);
        v_ExpectText(co_Copy, s);
    }
}

TEST(CString, DefaultAndEmptyStringsHaveNoBlock)
{
    CT_CString co;
    v_ExpectText(co, "");
    EXPECT_EQ(co.n_GetCodePage(), 0u);
    EXPECT_EQ(co.vn_GetGrowth(), 32u);
    EXPECT_EQ(co.pcco_GetBuffer()->qcv_Get(), nullptr);
    co.v_Append("", sn_All);
    co.v_Append('\0');
    co.vv_Replace('x', 0, 0);
    co.vv_Translate(&co, &co);
    EXPECT_EQ(co.pcco_GetBuffer()->qcv_Get(), nullptr);

    CT_CString co_Set("abc", sn_All, 1252);
    co_Set.v_Set("", sn_All, sn_Own); // the block is trimmed to the length
    CT_CString co_Wide(u"", sn_All, 0);
    for (const CT_CString* pcco : {&co_Set, &co_Wide})
    {
        v_ExpectText(*pcco, "");
        EXPECT_EQ(pcco->vn_GetMaximumLength(), 0u);
    }
    EXPECT_EQ(co_Set.n_GetCodePage(), 1252u);
}

TEST(CString, SizesGiveRoomAndUpdateFindsTheTerminator)
{
    CT_CString co("Hello", sn_All);
    co.vv_SetSize(40, 1);
    EXPECT_GE(co.vn_GetMaximumLength(), 40u);
    co.vv_SetMinSize(300, 1);
    EXPECT_GE(co.vn_GetMaximumLength(), 300u);
    co.vv_SetLength(8); // extends; the new characters are the caller's to fill
    EXPECT_EQ(co.vn_GetLength(), 8u);
    EXPECT_EQ(std::string(co.qccz_Get(), 5), "Hello");
    EXPECT_EQ(co.qccz_Get()[8], 0);
    co.vv_SetLength(0);
    v_ExpectText(co, "");
    EXPECT_EQ(co.pcco_GetBuffer()->n_GetUsedSize(), 1u); // emptied, not released
    co.vv_SetSize(0, 1);
    EXPECT_EQ(co.vn_GetMaximumLength(), 0u);
    co.vv_SetSize(5, 1); // keep without content: an empty string with room
    v_ExpectText(co, "");
    EXPECT_GE(co.vn_GetMaximumLength(), 5u);
    EXPECT_EQ(co.pcco_GetBuffer()->n_GetUsedSize(), 1u);

    const unsigned n_Room = 200;
    co.v_Set(n_Room, 0);
    EXPECT_GE(co.vn_GetMaximumLength(), n_Room);
    CT_CString co_Short("ab", sn_All);
    co_Short.v_Set(n_Room, 1); // too small to reuse
    EXPECT_GE(co_Short.vn_GetMaximumLength(), n_Room);
    co_Short.v_Set("abc", sn_All, sn_Own);
    co_Short.v_Set(3u, 1);
    v_ExpectText(co_Short, "");
    EXPECT_EQ(co_Short.pcco_GetBuffer()->n_GetUsedSize(), 1u);

    // Update after writing into the buffer directly.
    co_Short.vv_SetLength(10);
    std::memcpy(const_cast<char*>(co_Short.qccz_Get()), "abc", 4);
    co_Short.vv_Update();
    v_ExpectText(co_Short, "abc");
    // Without a zero in the block the last byte becomes the terminator.
    const unsigned n_Maximum = co_Short.vn_GetMaximumLength();
    co_Short.vv_SetLength(n_Maximum);
    std::memset(const_cast<char*>(co_Short.qccz_Get()), 'x', n_Maximum + 1);
    co_Short.vv_Update();
    v_ExpectText(co_Short, std::string(n_Maximum, 'x'));
}

TEST(CString, CopiesAndCreatedStringsShareBlockGrowthAndCodePage)
{
    CT_CString co_First("shared", sn_All, 1252);
    co_First.vv_SetGrowth(64);
    CT_CString co_Copy(&co_First);
    CT_CString co_FromString(static_cast<const CT_String*>(&co_First), 0);
    CT_CString co_FromBuffer(co_First.pcco_GetBuffer(), 1250);
    CT_CString co_Assigned;
    co_Assigned = co_First;
    const CT_CString& co_Self = co_Assigned;
    co_Assigned = co_Self;
    const std::size_t n_Pooled = CT_Heap::sn_PoolInUse(CT_CString::spso_GetMemPool());
    CT_String* pco_Created = co_First.vpco_Create();
    EXPECT_EQ(CT_Heap::sn_PoolInUse(CT_CString::spso_GetMemPool()), n_Pooled + 1);
    auto* pco_Made = static_cast<CT_CString*>(pco_Created->vpv_IsA(CT_CString::spcco_GetType()));
    ASSERT_NE(pco_Made, nullptr);
    const CT_CString* const apcco[] = {&co_Copy, &co_FromString, &co_FromBuffer, &co_Assigned,
                                       pco_Made};
    for (const CT_CString* pcco : apcco)
    {
        v_ExpectText(*pcco, "shared");
        EXPECT_EQ(pcco->qccz_Get(), co_First.qccz_Get());
        EXPECT_EQ(pcco->vn_GetGrowth(), 64u);
        EXPECT_EQ(pcco->n_GetCodePage(), pcco == &co_FromBuffer ? 1250u : 1252u);
    }
    EXPECT_EQ(co_First.pcco_GetBuffer()->n_GetUseCount(), 6u);
    pco_Made->vv_ToUpper();
    v_ExpectText(co_First, "shared");
    delete pco_Created;
    EXPECT_EQ(CT_Heap::sn_PoolInUse(CT_CString::spso_GetMemPool()), n_Pooled);
}

TEST(CString, FindCases)
{
    const struct
    {
        const char* qccz_Text;
        const char* qccz_Needle;
        unsigned n_Start;
        unsigned n_Expected;
    } aso_Cases[] = {
        // clang-format off
        {"abcabc", "bc", 0, 1}, {"abcabc", "bc", 2, 4}, {"abcabc", "bc", 5, sn_NotFound},
        {"abc", "bc", 0, 1},    {"abcabc", "c", 5, 5},  // at the very end
        {"abcabc", "abcabc", 0, 0}, {"abcabc", "cb", 0, sn_NotFound},
        {"abc", "abcd", 0, sn_NotFound},
        {"abcabc", "", 3, 3},   {"", "", 0, 0},         // an empty text is found at the start
        {"", "a", 0, sn_NotFound},
        // clang-format on
    };
    for (const auto& so : aso_Cases)
    {
        SCOPED_TRACE(std::string(so.qccz_Needle) + " in " + so.qccz_Text);
        CT_CString co(so.qccz_Text, sn_All), co_Needle(so.qccz_Needle, sn_All);
        EXPECT_EQ(co.vn_Find(&co_Needle, so.n_Start), so.n_Expected);
    }
    CT_CString co("abcabc", sn_All), co_Default;
    EXPECT_EQ(co.vn_Find('c', 3), 5u);
    EXPECT_EQ(co.vn_Find('x', 0), sn_NotFound);
    EXPECT_EQ(co.vn_Find('\0', 0), 6u); // at the terminator
    EXPECT_EQ(co.vn_Find('a', 7), sn_NotFound);
    EXPECT_EQ(co_Default.vn_Find('\0', 0), 0u);
    EXPECT_EQ(co_Default.vn_Find('a', 0), sn_NotFound);
}

TEST(CString, CompareCases)
{
    const struct
    {
        const char* qccz_Own;
        unsigned n_Offset;
        const char* qccz_Text;
        unsigned n_Count;
        int i_Expected; // exact for sn_All, else the sign
    } aso_Cases[] = {
        {"abc", 0, "abd", sn_All, -1}, {"abc", 0, "abd", 2, 0},      {"abd", 0, "abc", sn_All, 1},
        {"abc", 0, "abc", sn_All, 0},  {"ab", 0, "abc", sn_All, -1}, {"zzzz", 0, "a", sn_All, 1},
        {"ab", 0, "ab", 5, 0},         {"ab", 0, "abc", 5, -1},      {"abc", 0, "ab", 5, 1},
        {"abc", 0, "xyz", 0, 0},       {"\x80", 0, "a", sn_All, 1},  {"a", 0, "\x80", sn_All, -1},
        {"\xE9x", 0, "\x7Fx", 2, 1},   {"abc", 0, "ABC", sn_All, 1}, {"xxabc", 2, "abc", sn_All, 0},
        {"xxabc", 2, "abd", 3, -1},    {"", 0, "a", sn_All, -1},     {"a", 1, "", sn_All, 0},
    };
    for (const auto& so : aso_Cases)
    {
        SCOPED_TRACE(std::string(so.qccz_Own) + " vs " + so.qccz_Text);
        CT_CString co(so.qccz_Own, sn_All);
        std::vector<char> ac_Exact(so.qccz_Text, so.qccz_Text + std::strlen(so.qccz_Text) + 1);
        const int i_Text = co.vi_Compare(ac_Exact.data(), so.n_Count, so.n_Offset);
        CT_CString co_Other(("##" + std::string(so.qccz_Text)).c_str(), sn_All);
        const int i_Other = co.vi_Compare(&co_Other, 2, so.n_Count, so.n_Offset);
        for (int i : {i_Text, i_Other})
            EXPECT_EQ(so.n_Count == sn_All ? i : i_Sign(i), so.i_Expected);
    }
}

TEST(CString, FormatKeepsTheCodePageAndCutsAt2047)
{
    CT_CString co("old", sn_All, 1252);
    CT_CString co_Format("%s|%d", sn_All);
    co.vv_Format(&co_Format, "a", 5);
    v_ExpectText(co, "a|5");
    EXPECT_EQ(co.n_GetCodePage(), 1252u);
    const std::string s_Long(3000, 'x');
    co.v_Format("%s%s", s_Long.c_str(), "tail");
    v_ExpectText(co, std::string(2047, 'x'));
    const std::u16string s_WideLong(3000, u'y');
    co.v_Format(u"%s", s_WideLong.c_str());
    v_ExpectText(co, std::string(2047, 'y'));
}

// Code page 0 reads as Windows-1252.
class CStringWide : public ::testing::TestWithParam<unsigned>
{
};

TEST_P(CStringWide, CharactersAndCompareConvertWithTheCodePage)
{
    CT_CString co(u"h\u00E9\u20AC", sn_All, GetParam());
    v_ExpectText(co, "h\xE9\x80");
    EXPECT_EQ(co.n_GetCodePage(), GetParam());
    EXPECT_EQ(co.vu_GetAt(1), u'\u00E9');
    EXPECT_EQ(co.vu_GetAt(2), u'\u20AC');
    EXPECT_EQ(co.vn_Find(u'\u20AC', 0), 2u);
    EXPECT_EQ(co.vn_Find(u'h', 1), sn_NotFound);
    EXPECT_EQ(co.vi_Compare(u"h\u00E9\u20AC", sn_All, 0), 0);
    EXPECT_EQ(co.vi_Compare(u"h\u00EA", sn_All, 0), -1);
    EXPECT_EQ(co.vi_Compare(u"h\u00E9z", 2, 0), 0);
    EXPECT_EQ(co.vi_Compare(u"\u20AC", sn_All, 2), 0);
    // As with 8-bit text, a count beyond the text stops at its terminator.
    CT_GuardedText co_Short(u"h\u00E9"), co_Same(u"h\u00E9\u20AC");
    EXPECT_GT(co.vi_Compare(co_Short.qcuz_Get(), 5, 0), 0);
    EXPECT_EQ(co.vi_Compare(co_Same.qcuz_Get(), 10, 0), 0);
    co.vv_SetAt(u'\u20AC', 0);
    v_ExpectText(co, "\x80\xE9\x80");
    EXPECT_EQ(co.vn_Find(u'\u00E9', 0), 1u);
}

INSTANTIATE_TEST_SUITE_P(CodePages, CStringWide, ::testing::Values(0u, 1252u));

TEST(CString, OtherCodePagesConvertWithTheirOwn)
{
    CT_CString co(u"\u0416a\u0416", sn_All, 1251); // Cyrillic Zhe is 0xC6 in Windows-1251
    v_ExpectText(co, "\xC6"
                     "a\xC6");
    EXPECT_EQ(co.vu_GetAt(2), u'\u0416');
    EXPECT_EQ(co.vn_Find(u'\u0416', 1), 2u);
    co.vv_SetAt(u'\u0416', 1);
    v_ExpectText(co, "\xC6\xC6\xC6");
}

// UTF-8 and UTF-7 take up to three bytes a unit and the shift marks; long texts, so that room
// sized for two bytes a unit would be overrun.
TEST(CString, UtfCodePagesGetRoomForTheirWorstCase)
{
    std::string s_Utf8, s_Utf7;
    std::u16string s_Wide;
    for (int i = 0; i < 100; ++i)
    {
        s_Wide += u"\u20AC\u00E9";
        s_Utf8 += "\xE2\x82\xAC\xC3\xA9";
    }
    v_ExpectText(CT_CString(s_Wide.c_str(), sn_All, 65001), s_Utf8);
    CT_CString co_Utf8(65001);
    for (char16_t u : s_Wide)
        co_Utf8.v_Append(u);
    v_ExpectText(co_Utf8, s_Utf8);
    co_Utf8.v_Insert(u"\u4E2D", sn_All, 3);
    v_ExpectText(co_Utf8, "\xE2\x82\xAC\xE4\xB8\xAD" + s_Utf8.substr(3));
    co_Utf8.v_Set(u"a\uFFFF", sn_All);
    v_ExpectText(co_Utf8, "a\xEF\xBF\xBF");
    EXPECT_EQ(co_Utf8.n_GetCodePage(), 65001u);

    // Each lone U+00E9 between direct characters costs a run of its own: 'a', "+AOk-".
    s_Wide.clear();
    for (int i = 0; i < 100; ++i)
    {
        s_Wide += u"\u00E9a";
        s_Utf7 += "+AOk-a";
    }
    v_ExpectText(CT_CString(s_Wide.c_str(), sn_All, 65000), s_Utf7);
    v_ExpectText(CT_CString(u"Hi Mom -\u263A-!", sn_All, 65000), "Hi Mom -+Jjo--+ACE-");
    CT_CString co_Utf7(65000);
    co_Utf7.v_Append(u'\u00E9');
    co_Utf7.v_Append(u'+');
    v_ExpectText(co_Utf7, "+AOk-+-");

    // A character is found by its bytes; a zero one at the terminator.
    const CT_CString co_Find("a\xE2\x82\xAC", sn_All, 65001);
    EXPECT_EQ(co_Find.vn_Find(u'\u20AC', 0), 1u);
    EXPECT_EQ(co_Find.vn_Find(u'\0', 0), 4u);
    // Single characters go through the codecs too: one byte where it fits, else '?'.
    EXPECT_EQ(co_Find.vu_GetAt(0), u'a');
    CT_CString co_Set("abc", sn_All, 65001);
    co_Set.vv_SetAt(u'\u00E9', 1);
    co_Set.vv_Replace(u'Z', 1, 2);
    v_ExpectText(co_Set, "a?Z");
}

// Every slot that takes another string or 16-bit text reads a CT_UString's units, converted with
// this string's code page.
TEST(CString, SixteenBitStringsConvertWithTheCodePage)
{
    const CT_UString co_Zhe(u"\u0416\u0416", sn_All), co_Set(u"\u0416x", sn_All);
    const CT_UString co_From(u"\u0416", sn_All), co_To(u"\u0402", sn_All);
    const CT_UString co_Pattern(u"?\u0416*", sn_All), co_Format(u"%d\u0416%s", sn_All);
    const std::string s_Zhe = "\xC6\xC6";
    const st_EditCase aso_Cases[] = {
        {"Hello", CT_EDIT(co.v_Set(&co_Zhe)), s_Zhe},
        {"Hello", CT_EDIT(co.v_Replace(&co_Zhe, 1, sn_All, 1)), "H\xC6"},
        {"abcd", CT_EDIT(co.v_Insert(&co_Zhe, sn_All, 2)), "ab" + s_Zhe + "cd"},
        {"abcd", CT_EDIT(co.v_Insert(&co_Zhe, 1, 4)), "abcd\xC6"},
        {"ab", CT_EDIT(co.v_Append(&co_Zhe, 100)), "ab" + s_Zhe},
        {"ab", CT_EDIT(co.v_Append(u'\u0416')), "ab\xC6"},
        {"x\xC6"
         "ax\xC6",
         CT_EDIT(co.vv_Strip(&co_Set)), "a"},
        {"a\xC6\xC6", CT_EDIT(co.vv_Translate(&co_From, &co_To)), "a\x80\x80"},
        {"abc", CT_EDIT(co.vv_Replace(u'\u0416', 2, 1)), "a" + s_Zhe},
        {"abc", CT_EDIT(co.vv_SetAt(u'\u0416', 0)),
         "\xC6"
         "bc"},
        {"abc", CT_EDIT(co.vv_Format(&co_Format, 5, u"x")), "5\xC6x"},
    };
    for (const st_EditCase& so : aso_Cases)
    {
        SCOPED_TRACE(std::string("on \"") + so.qccz_Initial + "\"");
        CT_CString co(so.qccz_Initial, sn_All, 1251);
        so.fn_Edit(co);
        v_ExpectText(co, so.s_Expected);
        EXPECT_EQ(co.n_GetCodePage(), 1251u);
    }

    const CT_CString co_Text("a\xC6\xC6"
                             "b",
                             sn_All, 1251);
    EXPECT_EQ(co_Text.vn_Find(&co_Zhe, 0), 1u);
    EXPECT_EQ(co_Text.vn_Find(&co_From, 2), 2u);
    EXPECT_EQ(co_Text.vb_Match(&co_Pattern), 1);
    EXPECT_EQ(co_Text.vi_Compare(&co_Zhe, 0, sn_All, 1), 1);
    EXPECT_EQ(co_Text.vi_Compare(&co_Zhe, 1, 1, 2), 0);
    EXPECT_GT(co_Text.vi_Compare(&co_Zhe, 1, 2, 2), 0);
    EXPECT_EQ(co_Text.vu_GetAt(1), u'\u0416');

    // The code page travels from construction; a marker code page becomes 0 after converting.
    v_ExpectText(CT_CString(&co_Zhe, 1251), s_Zhe);
    v_ExpectText(CT_CString(static_cast<const CT_String*>(&co_Zhe), 1251), s_Zhe);
    CT_CString co_Marker(sn_All);
    co_Marker.v_Set(&co_To);
    v_ExpectText(co_Marker, "?");
    EXPECT_EQ(co_Marker.n_GetCodePage(), 0u);
    // Through the strings, a byte that cannot become one character reads as '?', never as an
    // end of the text.
    EXPECT_EQ(CT_CString("\x82", sn_All, 932).vu_GetAt(0) != 0, true);
    CT_CString co_Wide("ab", sn_All, 1252);
    co_Wide.vv_SetAt(u'\u4E2D', 1);
    v_ExpectText(co_Wide, "a?");
}

TEST(CString, UnknownStringKindReadsAsAbsent)
{
    CT_OtherString co_Other;
    CT_CString co("xabcx", sn_All);
    co.v_Set(&co_Other);
    co.v_Append(&co_Other, sn_All);
    co.v_Insert(&co_Other, sn_All, 1);
    co.v_Replace(&co_Other, 0, sn_All, 1);
    co.vv_Strip(&co_Other);
    co.vv_Translate(&co_Other, &co_Other);
    v_ExpectText(co, "xabcx");
    EXPECT_EQ(co.vn_Find(&co_Other, 2), 2u);
    EXPECT_EQ(co.vb_Match(&co_Other), 1);
    EXPECT_EQ(co.vi_Compare(&co_Other, 0, sn_All, 0), 1);
    EXPECT_EQ(co.vi_Compare(&co_Other, 0, sn_All, 5), 0);
    CT_CString co_From(&co_Other, 1252);
    v_ExpectText(co_From, "");
    EXPECT_EQ(co_From.n_GetCodePage(), 1252u);
}

// The matching rules written out recursively: exponential, but fine for short texts.
int b_Walk(const char* qccz_Pattern, const char* qccz_Text)
{
    if (*qccz_Pattern == 0)
        return *qccz_Text == 0;
    if (*qccz_Pattern == '*')
    {
        if (qccz_Pattern[1] == 0)
            return 1;
        for (const char* qccz = qccz_Text;; ++qccz)
            if (b_Walk(qccz_Pattern + 1, qccz))
                return 1;
            else if (*qccz == 0)
                return 0;
    }
    if (*qccz_Text == 0 || (*qccz_Pattern != '?' && *qccz_Pattern != *qccz_Text))
        return 0;
    return b_Walk(qccz_Pattern + 1, qccz_Text + 1);
}

int b_ReferenceMatch(const char* qccz_Pattern, const char* qccz_Text)
{
    return *qccz_Pattern == 0 || b_Walk(qccz_Pattern, qccz_Text);
}

TEST(CStringMatch, PatternCases)
{
    const struct
    {
        const char* qccz_Pattern;
        const char* qccz_Text;
        int b_Expected;
    } aso_Cases[] = {
        // clang-format off
        {"a*c", "abbbc", 1}, {"a?c", "abc", 1},   {"a?c", "ac", 0},   {"*", "", 1},
        {"", "xyz", 1},      {"", "", 1},         {"abc", "abcd", 0}, {"abcd", "abc", 0},
        {"*a", "", 0},       {"a*", "a", 1},      {"**", "", 1},      {"**", "xy", 1},
        {"?*", "", 0},       {"?*", "x", 1},      {"*?*", "x", 1},    {"*?*", "", 0},
        {"*ab", "aab", 1},   {"*ab", "aba", 0},   {"a*", "ba", 0},    {"ABC", "abc", 0},
        {"a*b*c", "aXbYbZc", 1}, {"a*b*c", "aXbYbZ", 0}, {"*.txt", "a.txt.bak", 0},
        {"\xE9?", "\xE9\x80", 1},
        // clang-format on
    };
    for (const auto& so : aso_Cases)
    {
        SCOPED_TRACE(std::string(so.qccz_Pattern) + " against " + so.qccz_Text);
        CT_CString co_Text(so.qccz_Text, sn_All), co_Pattern(so.qccz_Pattern, sn_All);
        EXPECT_EQ(co_Text.b_Match(so.qccz_Pattern), so.b_Expected);
        EXPECT_EQ(co_Text.vb_Match(&co_Pattern), so.b_Expected);
        EXPECT_EQ(b_ReferenceMatch(so.qccz_Pattern, so.qccz_Text), so.b_Expected);
    }
    EXPECT_EQ(CT_CString("xyz", sn_All).vb_Match(nullptr), 1);
}

// An exponential matcher never finishes this.
TEST(CStringMatch, ManyStarsAnswerAtOnce)
{
    std::string s_Pattern;
    for (int i = 0; i < 20; ++i)
        s_Pattern += "*a";
    s_Pattern += 'b';
    CT_CString co_Text(std::string(300, 'a').c_str(), sn_All);
    CT_CString co_Pattern(s_Pattern.c_str(), sn_All);
    EXPECT_EQ(co_Text.b_Match(s_Pattern.c_str()), 0);
    EXPECT_EQ(co_Text.vb_Match(&co_Pattern), 0);
    co_Text.v_Append('b');
    EXPECT_EQ(co_Text.vb_Match(&co_Pattern), 1);
}

// Every pattern over {a, b, *, ?} and every text over {a, b}, up to six characters each.
TEST(CStringMatch, AgreesWithTheRecursiveRules)
{
    auto as_Words = [](std::string_view s_Alphabet)
    {
        std::vector<std::string> as = {""};
        for (std::size_t i = 0; i < as.size(); ++i)
            for (char c : s_Alphabet)
                if (as[i].size() < 6)
                    as.push_back(as[i] + c);
        return as;
    };
    const std::vector<std::string> as_Texts = as_Words("ab");
    std::vector<CT_CString> aco_Texts;
    for (const std::string& s : as_Texts)
        aco_Texts.emplace_back(s.c_str(), sn_All);
    unsigned n_Wrong = 0;
    for (const std::string& s_Pattern : as_Words("ab*?"))
    {
        const CT_CString co_Pattern(s_Pattern.c_str(), sn_All);
        for (std::size_t i = 0; i < as_Texts.size(); ++i)
        {
            const int b_Expected = b_ReferenceMatch(s_Pattern.c_str(), as_Texts[i].c_str());
            if ((aco_Texts[i].b_Match(s_Pattern.c_str()) != b_Expected ||
                 aco_Texts[i].vb_Match(&co_Pattern) != b_Expected) &&
                ++n_Wrong <= 10)
                ADD_FAILURE() << s_Pattern << " against " << as_Texts[i] << " must give "
                              << b_Expected;
        }
    }
    EXPECT_EQ(n_Wrong, 0u);
}
} // namespace
