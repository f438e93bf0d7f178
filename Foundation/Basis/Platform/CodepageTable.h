// CT_CodepageTable: the native conversions of a code page from the tables recorded under Windows
// (CodepageTables.inc), answering byte for byte as MultiByteToWideChar and WideCharToMultiByte.
// Internal to the native code-page service of CT_PlatformCodepage, which checks the arguments.
//
// A code page's lookup tables are built from its generated streams on first use and only read
// afterwards, by any thread. They are never freed, so that conversions during static
// destruction still find them. The conversion loops are compiled once per level of instruction
// sets; the first table built registers their one dispatch point with CT_VectorLevel.
#pragma once

#include <cstdint>
#include <vector>

class CT_CodepageTable
{
public:
    // One code page as generated.
    struct st_Data;

    // The table of a code page, or null when none is recorded.
    static const CT_CodepageTable* spcco_Get(unsigned n_CodePage);
    // GetCPInfo's answers as recorded, without building the table: the longest character, the
    // default character (one byte, or lead byte * 256 + trail byte) and the 12 bytes of lead-byte
    // ranges. False when none is recorded.
    static int sb_GetInfo(unsigned n_CodePage, unsigned* pn_MaxCharSize, unsigned* pn_DefaultChar,
                          unsigned char* pac_LeadBytes);

    CT_CodepageTable(const CT_CodepageTable&) = delete;
    CT_CodepageTable& operator=(const CT_CodepageTable&) = delete;

    // The loops of the two Windows calls, n_In > 0: n_Out of 0 counts. They return the units or
    // bytes, or minus Windows' error code for an output too small. pcc_Default is read as Windows
    // reads it (the code page's own default character when null).
    int si_Decode(const unsigned char* pc_In, int n_In, char16_t* pu_Out, int n_Out) const;
    int si_Encode(const char16_t* pu_In, int n_In, char* pc_Out, int n_Out, const char* pcc_Default,
                  int* pb_Used) const;

    // The encoding table's mark of a unit without a mapping.
    static constexpr std::uint16_t sn_Unmapped = 0xFFFF;

    // A code page's tables as the loops read them.
    struct st_Tables
    {
        // Decoding row of each lead byte's pairs; 0 (the single-byte row) for other bytes.
        const unsigned char* pn_LeadRow;
        // 256 units a row: row 0 decodes single bytes, the others the trail bytes of a lead byte;
        // one more unit behind the last row, so that a 32-bit read of any entry stays inside.
        const char16_t* pu_DecodeRows;
        // For each unit one byte, lead byte * 256 + trail byte, or sn_Unmapped; one more entry
        // behind the last, so that a 32-bit read of any entry stays inside.
        const std::uint16_t* pn_Encode;
        bool b_HasLeadBytes;
        // Whether the bytes below 0x80 and the units below U+0080 convert to themselves, as in
        // most code pages.
        bool b_AsciiSame;
    };

    // One level's loops (CodepageTableCodecs.cpp, compiled once per level of instruction sets;
    // see Vector.h): si_Decode and si_Encode, with the default character's value as n_Default
    // decides (one byte, or lead byte * 256 + trail byte).
    struct st_Codecs
    {
        int (*pfn_Decode)(const st_Tables& so, const unsigned char* pc_In, int n_In,
                          char16_t* pu_Out, int n_Out);
        int (*pfn_Encode)(const st_Tables& so, const char16_t* pu_In, int n_In, char* pc_Out,
                          int n_Out, unsigned n_Default, int* pb_Used);
    };

private:
    explicit CT_CodepageTable(const st_Data& so_Data);

    void v_DecodeStream();
    void v_DeriveEncoding();
    void v_EncodeExceptions();
    unsigned n_DefaultValue(const char* pcc_Default) const;

    const st_Data& so_Data;
    unsigned char an_LeadRow[256] = {};
    std::vector<char16_t> co_DecodeRows;
    // 128 KB, the fastest lookup, and only for the code pages a process uses.
    std::vector<std::uint16_t> co_Encode;
    st_Tables so_Tables;
};

// The levels that the build compiles: e_Plain and e_SSE2 on every processor, the others on x86.
extern const CT_CodepageTable::st_Codecs so_CodepageCodecsPlain, so_CodepageCodecsSSE2;
#if defined(__i386__) || defined(__x86_64__)
extern const CT_CodepageTable::st_Codecs so_CodepageCodecsAVX2, so_CodepageCodecsAVX512;
#endif
