#include "Basis/Platform/CodepageTable.h"

#include "Basis/Platform/VectorLevel.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstddef>
#include <cstring>
#include <iterator>
#include <mutex>

struct CT_CodepageTable::st_Data
{
    unsigned n_CodePage;
    unsigned n_MaxCharSize;
    unsigned n_DefaultChar; // one byte, or lead byte * 256 + trail byte
    unsigned char ac_LeadBytes[12];
    const std::uint16_t* pn_Decode;
    const std::uint16_t* pn_Encode;
    std::size_t n_EncodeWords;
};

namespace
{
using st_CodepageData = CT_CodepageTable::st_Data;

#include "Basis/Platform/CodepageTables.inc"

// Segment header word of the generated streams:
//   bits 8-15  kind: literal values, one value counting up, one value repeated
//   bits 0-7   length less one
constexpr unsigned sn_SegmentKindShift = 8;
constexpr unsigned sn_SegmentLengthMask = 0xFF;
enum et_Segment
{
    e_Literal,
    e_CountUp,
    e_Repeat
};

// Passes the values of the segment at pn to v_Put in order; returns what follows the segment.
template <class T_Put>
const std::uint16_t* pn_ReadSegment(const std::uint16_t* pn, T_Put&& v_Put)
{
    unsigned n_Kind = pn[0] >> sn_SegmentKindShift;
    unsigned n_Length = (pn[0] & sn_SegmentLengthMask) + 1;
    for (unsigned i = 0; i < n_Length; ++i)
        v_Put(static_cast<std::uint16_t>(n_Kind == e_Literal   ? pn[1 + i]
                                         : n_Kind == e_CountUp ? pn[1] + i
                                                               : pn[1]));
    return pn + 1 + (n_Kind == e_Literal ? n_Length : 1);
}

const st_CodepageData* pso_FindData(unsigned n_CodePage)
{
    const st_CodepageData* pso_End = std::end(saso_CodepageData);
    const st_CodepageData* pso =
        std::lower_bound(std::begin(saso_CodepageData), pso_End, n_CodePage,
                         [](const st_CodepageData& so, unsigned n) { return so.n_CodePage < n; });
    return pso != pso_End && pso->n_CodePage == n_CodePage ? pso : nullptr;
}

// The dispatch point: the loops compiled for the chosen level.
const CT_CodepageTable::st_Codecs* spso_Codecs = &so_CodepageCodecsPlain;

void sv_Choose(CT_VectorLevel::et_Level eo_Level)
{
    static const CT_CodepageTable::st_Codecs* const sapso_Levels[CT_VectorLevel::e_Levels] =
        CT_VECTOR_LEVELS(so_CodepageCodecs);
    spso_Codecs = sapso_Levels[eo_Level];
}
} // namespace

const CT_CodepageTable* CT_CodepageTable::spcco_Get(unsigned n_CodePage)
{
    static std::atomic<const CT_CodepageTable*> sapco_Tables[std::size(saso_CodepageData)];
    static std::mutex sco_Building;
    const st_CodepageData* pso = pso_FindData(n_CodePage);
    if (!pso)
        return nullptr;
    std::atomic<const CT_CodepageTable*>& rpco = sapco_Tables[pso - saso_CodepageData];
    const CT_CodepageTable* pco = rpco.load(std::memory_order_acquire);
    if (pco)
        return pco;
    std::lock_guard<std::mutex> co_Guard(sco_Building);
    static const bool sb_Registered = (CT_VectorLevel::sv_Register(sv_Choose), true);
    (void)sb_Registered;
    pco = rpco.load(std::memory_order_relaxed);
    if (!pco)
        rpco.store(pco = new CT_CodepageTable(*pso), std::memory_order_release);
    return pco;
}

int CT_CodepageTable::sb_GetInfo(unsigned n_CodePage, unsigned* pn_MaxCharSize,
                                 unsigned* pn_DefaultChar, unsigned char* pac_LeadBytes)
{
    const st_CodepageData* pso = pso_FindData(n_CodePage);
    if (!pso)
        return 0;
    *pn_MaxCharSize = pso->n_MaxCharSize;
    *pn_DefaultChar = pso->n_DefaultChar;
    std::memcpy(pac_LeadBytes, pso->ac_LeadBytes, sizeof pso->ac_LeadBytes);
    return 1;
}

CT_CodepageTable::CT_CodepageTable(const st_Data& so_Data)
    : so_Data(so_Data), co_Encode(0x10000 + 1, sn_Unmapped)
{
    v_DecodeStream();
    v_DeriveEncoding();
    v_EncodeExceptions();
    so_Tables.pn_LeadRow = an_LeadRow;
    so_Tables.pu_DecodeRows = co_DecodeRows.data();
    so_Tables.pn_Encode = co_Encode.data();
    so_Tables.b_AsciiSame = true;
    for (char16_t u = 0; u < 0x80; ++u)
        so_Tables.b_AsciiSame = so_Tables.b_AsciiSame && co_DecodeRows[u] == u && co_Encode[u] == u;
}

int CT_CodepageTable::si_Decode(const unsigned char* pc_In, int n_In, char16_t* pu_Out,
                                int n_Out) const
{
    return spso_Codecs->pfn_Decode(so_Tables, pc_In, n_In, pu_Out, n_Out);
}

int CT_CodepageTable::si_Encode(const char16_t* pu_In, int n_In, char* pc_Out, int n_Out,
                                const char* pcc_Default, int* pb_Used) const
{
    return spso_Codecs->pfn_Encode(so_Tables, pu_In, n_In, pc_Out, n_Out,
                                   n_DefaultValue(pcc_Default), pb_Used);
}

void CT_CodepageTable::v_DecodeStream()
{
    const unsigned char* pac = so_Data.ac_LeadBytes;
    for (unsigned i = 0; i + 1 < sizeof so_Data.ac_LeadBytes && (pac[i] || pac[i + 1]); i += 2)
        std::fill(an_LeadRow + pac[i], an_LeadRow + pac[i + 1] + 1, 1);
    // Rows follow in lead-byte order, as the generator writes them.
    unsigned n_Rows = 1;
    for (unsigned char& n_Row : an_LeadRow)
        n_Row = n_Row ? n_Rows++ : 0;
    so_Tables.b_HasLeadBytes = n_Rows > 1;
    // One unit more behind the rows (see st_Tables).
    co_DecodeRows.resize(n_Rows * 256u + 1);
    std::size_t n_Filled = 0;
    auto v_Put = [&](std::uint16_t n) { co_DecodeRows[n_Filled++] = n; };
    for (const std::uint16_t* pn = so_Data.pn_Decode; n_Filled + 1 < co_DecodeRows.size();)
        pn = pn_ReadSegment(pn, v_Put);
}

// Each unit goes to the first input that decodes to it, single bytes before pairs; the
// generator lists every unit for which Windows does otherwise.
void CT_CodepageTable::v_DeriveEncoding()
{
    auto v_Derive = [this](unsigned n_Input, char16_t u_Unit)
    {
        if (co_Encode[u_Unit] == sn_Unmapped)
            co_Encode[u_Unit] = static_cast<std::uint16_t>(n_Input);
    };
    for (unsigned n_Byte = 0; n_Byte < 256; ++n_Byte)
        v_Derive(n_Byte, co_DecodeRows[n_Byte]);
    for (unsigned n_Lead = 0; n_Lead < 256; ++n_Lead)
        for (unsigned n_Trail = 0; an_LeadRow[n_Lead] && n_Trail < 256; ++n_Trail)
            v_Derive(n_Lead * 256 + n_Trail, co_DecodeRows[an_LeadRow[n_Lead] * 256u + n_Trail]);
}

void CT_CodepageTable::v_EncodeExceptions()
{
    const std::uint16_t* pn_End = so_Data.pn_Encode + so_Data.n_EncodeWords;
    for (const std::uint16_t* pn = so_Data.pn_Encode; pn < pn_End;)
    {
        char16_t u_Unit = *pn++;
        pn = pn_ReadSegment(pn, [&](std::uint16_t n) { co_Encode[u_Unit++] = n; });
    }
}

// A single-byte code page takes the first byte; a double-byte one a second byte too unless it
// is 0. Windows reads the second byte even after a zero first byte; that is left unread here.
unsigned CT_CodepageTable::n_DefaultValue(const char* pcc_Default) const
{
    if (!pcc_Default)
        return so_Data.n_DefaultChar;
    auto n_First = static_cast<unsigned char>(pcc_Default[0]);
    unsigned n_Second =
        so_Tables.b_HasLeadBytes && n_First ? static_cast<unsigned char>(pcc_Default[1]) : 0;
    return n_Second ? n_First * 256 + n_Second : n_First;
}
