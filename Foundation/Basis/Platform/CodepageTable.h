// CT_CodepageTable: the native conversions of a code page from the tables recorded under Windows
// (CodepageTables.inc), answering byte for byte as MultiByteToWideChar and WideCharToMultiByte.
// Internal to the native code-page service of CT_PlatformCodepage, which checks the arguments.
//
// A code page's lookup tables are built from its generated streams on first use and only read
// afterwards, by any thread. They are never freed, so that conversions during static
// destruction still find them.
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

private:
    static constexpr std::uint16_t sn_Unmapped = 0xFFFF;

    explicit CT_CodepageTable(const st_Data& so_Data);

    void v_DecodeStream();
    void v_DeriveEncoding();
    void v_EncodeExceptions();
    unsigned n_DefaultValue(const char* pcc_Default) const;
    int si_DecodeSingle(const unsigned char* pc_In, int n_In, char16_t* pu_Out, int n_Out) const;
    int si_WidenAscii(const unsigned char* pc_In, int n_In, char16_t* pu_Out) const;
    struct st_Encoder;
    int si_EncodeSingle(st_Encoder so, const char16_t* pu_In, int n_In, char* pc_Out, int n_Out,
                        int* pb_Used) const;
    static int si_NarrowAscii(st_Encoder& so, const char16_t* pu_In, int n_In, char* pc_Out);
    int si_EncodeDouble(st_Encoder so, const char16_t* pu_In, int n_In, char* pc_Out, int n_Out,
                        int* pb_Used) const;
    int si_EncodeBlock(st_Encoder& so, const char16_t* pu_In, char* pc_Out) const;

    const st_Data& so_Data;
    // Decoding row of each lead byte's pairs; 0 (the single-byte row) for other bytes.
    unsigned char an_LeadRow[256] = {};
    bool b_HasLeadBytes = false;
    // Whether the bytes below 0x80 and the units below U+0080 convert to themselves, as in most
    // code pages.
    bool b_AsciiSame = false;
    // 256 units a row: row 0 decodes single bytes, the others the trail bytes of a lead byte.
    std::vector<char16_t> co_DecodeRows;
    // For each unit one byte, lead byte * 256 + trail byte, or sn_Unmapped: 128 KB, the
    // fastest lookup, and only for the code pages a process uses.
    std::vector<std::uint16_t> co_Encode;
};
