// Differential fuzz target: the loops of CT_CodepageTable at each level of instruction sets
// against the plain codec of the recorded conversions (CodepageReference.h), for every code page
// with a table: the result, every element of the output, the used-default flag.
//
// Input layout: byte 0 chooses the code page (among those with a table, in the record's order),
// byte 1 the call: bit 0 encoding, bits 1-2 the default character (none, "*", "\x81\x45",
// "\x81\0"); byte 2 the output room, as a share of the most the text can need (0 counts). The
// rest is the text: bytes to decode, or 16-bit units to encode (little-endian pairs, an odd last
// byte is ignored).
#include "Basis/Platform/CodepageTable.h"

#include "CodepageReference.h"
#include "FuzzLevels.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace
{
struct st_Page
{
    unsigned n_CodePage;
    const CT_CodepageTable* pcco_Table;
    std::unique_ptr<ct_reference::CT_CodepageReference> pco_Reference;
};

std::vector<st_Page>& co_Pages()
{
    static std::vector<st_Page> sco;
    return sco;
}

void v_Require(bool b_Holds, const char* qccz_What, unsigned n_CodePage)
{
    if (b_Holds)
        return;
    std::fprintf(stderr, "code page %u at level %d differs from the record: %s\n", n_CodePage,
                 CT_VectorLevel::seo_Current(), qccz_What);
    std::abort();
}

// Runs one call on both sides into outputs of exactly n_Room elements (none: a null output,
// which counting must not touch) pre-filled alike, and requires the same result and output.
template <typename TOut, typename TCall>
void v_Compare(unsigned n_CodePage, int n_Room, TCall&& fn_Call)
{
    std::vector<TOut> a_Table(static_cast<std::size_t>(n_Room), static_cast<TOut>(0xA5));
    std::vector<TOut> a_Reference = a_Table;
    int b_TableUsed = -1, b_ReferenceUsed = -1;
    const int i_Table = fn_Call(true, n_Room ? a_Table.data() : nullptr, &b_TableUsed);
    const int i_Reference = fn_Call(false, n_Room ? a_Reference.data() : nullptr, &b_ReferenceUsed);
    v_Require(i_Table == i_Reference, "result", n_CodePage);
    v_Require(a_Table == a_Reference, "output", n_CodePage);
    v_Require(b_TableUsed == b_ReferenceUsed, "used-default flag", n_CodePage);
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    for (const ct_reference::st_Record& so : ct_reference::co_ReadRecords(CT_CODEPAGE_RECORD))
        if (const CT_CodepageTable* pcco = CT_CodepageTable::spcco_Get(so.n_CodePage))
            co_Pages().push_back(
                {so.n_CodePage, pcco, std::make_unique<ct_reference::CT_CodepageReference>(so)});
    if (co_Pages().empty())
    {
        std::fprintf(stderr, "no code page recorded at %s\n", CT_CODEPAGE_RECORD);
        std::abort();
    }
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pc_Data, std::size_t n_Size)
{
    if (n_Size < 4)
        return 0;
    const st_Page& so_Page = co_Pages()[pc_Data[0] % co_Pages().size()];
    const unsigned n_CodePage = so_Page.n_CodePage;
    static const char* const saqccz_Defaults[] = {nullptr, "*", "\x81\x45", "\x81"};
    const char* const pcc_Default = saqccz_Defaults[pc_Data[1] >> 1 & 3];
    const auto n_Room = [&pc_Data](std::size_t n_Most)
    { return static_cast<int>(n_Most * pc_Data[2] / 255); };
    // Exact-size copies, so that ASan sees any read past the count.
    const std::vector<unsigned char> a_Bytes(pc_Data + 3, pc_Data + n_Size);
    std::vector<char16_t> a_Units((n_Size - 3) / 2);
    if (!a_Units.empty()) // memcpy wants a pointer even for nothing
        std::memcpy(a_Units.data(), pc_Data + 3, a_Units.size() * sizeof(char16_t));
    const int n_Bytes = static_cast<int>(a_Bytes.size()),
              n_Units = static_cast<int>(a_Units.size());
    v_AtEachLevel(
        [&]
        {
            if (!(pc_Data[1] & 1))
                v_Compare<char16_t>(n_CodePage, n_Room(a_Bytes.size()),
                                    [&](bool b_Table, char16_t* pu_Out, int*)
                                    {
                                        const int n_Out = n_Room(a_Bytes.size());
                                        return b_Table
                                                   ? so_Page.pcco_Table->si_Decode(
                                                         a_Bytes.data(), n_Bytes, pu_Out, n_Out)
                                                   : so_Page.pco_Reference->si_Decode(
                                                         a_Bytes.data(), n_Bytes, pu_Out, n_Out);
                                    });
            else if (n_Units)
                v_Compare<char>(
                    n_CodePage, n_Room(2 * a_Units.size()),
                    [&](bool b_Table, char* pc_Out, int* pb_Used)
                    {
                        const int n_Out = n_Room(2 * a_Units.size());
                        return b_Table
                                   ? so_Page.pcco_Table->si_Encode(a_Units.data(), n_Units, pc_Out,
                                                                   n_Out, pcc_Default, pb_Used)
                                   : so_Page.pco_Reference->si_Encode(a_Units.data(), n_Units,
                                                                      pc_Out, n_Out, pcc_Default,
                                                                      pb_Used);
                    });
        });
    return 0;
}
