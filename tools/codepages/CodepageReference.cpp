// Records what this system's code-page conversions do, for every code page the library names
// (and 437 and 20127): validity, GetCPInfo, the decoding of every byte alone and of every lead
// byte with every trail byte (MultiByteToWideChar, MB_PRECOMPOSED), and the encoding of every
// UTF-16 unit alone (WideCharToMultiByte, no default character, with the used-default flag).
// make-reference runs it under Wine; generate-tables turns the record into the native tables
// and CodepageTest checks both builds against it.
//
// The record is text, numbers in hex unless said otherwise:
//   cp N V [M DDDD LL*12]  code page N (decimal), IsValidCodePage V and, when GetCPInfo
//                          succeeds, MaxCharSize M, DefaultChar and LeadByte as bytes
//   b IN ITEM...           the outcomes of decoding the bytes IN, IN+1, ... alone
//   p IN ITEM...           the same for the pairs IN, IN+1, ... (lead byte * 256 + trail byte)
//   w IN ITEM...           the outcomes of encoding the units IN, IN+1, ...
// An ITEM is one outcome: the units decoded, or the bytes encoded (two digits for one byte,
// four for two), several joined by "." and "-" for none (the call failed); "!" after an
// encoding means the used-default flag was set. "+K" stands for K more outcomes that each
// count up by one from the one before, "*K" for K more equal to the one before.
#include "../RecordFile.h"

#include <windows.h>

#include <cstdio>
#include <vector>

namespace
{
const unsigned san_CodePages[] = {
    437,   646,   720,   850,   862,   874,   932,   936,   949,   950,   1200,  1250,
    1251,  1252,  1253,  1254,  1255,  1256,  1257,  1258,  1361,  20127, 20866, 28592,
    28594, 28595, 28597, 28599, 50220, 51932, 52936, 65000, 65001, 10000, 10001, 10002,
    10003, 10004, 10005, 10006, 10007, 10008, 10010, 10017, 10029, 10079, 10081, 10082};

// What one call produced: each value written with n_Digits hex digits.
struct st_Outcome
{
    std::vector<unsigned> co_Values;
    int n_Digits = 4;
    bool b_Used = false;

    bool operator==(const st_Outcome&) const = default;
    bool b_Follows(const st_Outcome& so_Before) const
    {
        return co_Values.size() == 1 && so_Before.co_Values.size() == 1 &&
               n_Digits == so_Before.n_Digits && b_Used == so_Before.b_Used &&
               co_Values[0] == so_Before.co_Values[0] + 1;
    }
};

// Writes the outcomes of consecutive inputs as lines of items, folding runs.
class CT_RecordWriter
{
public:
    explicit CT_RecordWriter(FILE* pso_File) : pso_File(pso_File) {}
    ~CT_RecordWriter()
    {
        v_EndRun();
        if (n_Column)
            std::fputc('\n', pso_File);
    }

    void v_Begin(char c_Tag, int n_InDigits, unsigned n_In)
    {
        v_EndRun();
        c_LineTag = c_Tag, n_LineInDigits = n_InDigits, n_Next = n_In;
        v_NewLine();
    }

    void v_Add(const st_Outcome& so)
    {
        char c_Kind = so == so_Last ? '*' : so.b_Follows(so_Last) ? '+' : 0;
        if (n_RunCount && c_Kind != c_RunKind)
            v_EndRun();
        if (c_Kind)
        {
            c_RunKind = c_Kind, ++n_RunCount;
        }
        else
        {
            if (n_Column > 100)
                v_NewLine();
            v_WriteItem(so);
        }
        so_Last = so;
        ++n_Next;
    }

private:
    void v_NewLine()
    {
        if (n_Column)
            std::fputc('\n', pso_File);
        n_Column = std::fprintf(pso_File, "%c %0*X", c_LineTag, n_LineInDigits, n_Next);
        so_Last = st_Outcome{{}, 0};
    }
    void v_EndRun()
    {
        if (n_RunCount)
            n_Column += std::fprintf(pso_File, " %c%X", c_RunKind, n_RunCount);
        n_RunCount = 0;
    }
    void v_WriteItem(const st_Outcome& so)
    {
        n_Column += std::fprintf(pso_File, " %s", so.co_Values.empty() ? "-" : "");
        for (size_t i = 0; i < so.co_Values.size(); ++i)
            n_Column +=
                std::fprintf(pso_File, "%s%0*X", i ? "." : "", so.n_Digits, so.co_Values[i]);
        n_Column += std::fprintf(pso_File, "%s", so.b_Used ? "!" : "");
    }

    FILE* pso_File;
    char c_LineTag = 0, c_RunKind = 0;
    int n_LineInDigits = 0, n_Column = 0;
    unsigned n_Next = 0, n_RunCount = 0;
    // The outcome before the next one; a run continues it. Empty at the start of a line, so
    // that every line reads on its own.
    st_Outcome so_Last{{}, 0};
};

st_Outcome so_Decode(unsigned n_CodePage, const char* pcc_In, int n_Bytes)
{
    wchar_t au_Out[8];
    int n = MultiByteToWideChar(n_CodePage, MB_PRECOMPOSED, pcc_In, n_Bytes, au_Out, 8);
    st_Outcome so;
    so.co_Values.assign(au_Out, au_Out + (n > 0 ? n : 0));
    return so;
}

// Two bytes become one four-digit value, so that a run can count through trail bytes.
st_Outcome so_Encode(unsigned n_CodePage, wchar_t u_Unit)
{
    unsigned char ac_Out[8];
    BOOL b_Used = FALSE;
    int n = WideCharToMultiByte(n_CodePage, 0, &u_Unit, 1, reinterpret_cast<char*>(ac_Out), 8,
                                nullptr, &b_Used);
    st_Outcome so{{}, 2, b_Used != FALSE};
    if (n == 2)
        so.co_Values.push_back(ac_Out[0] * 256u + ac_Out[1]), so.n_Digits = 4;
    else
        so.co_Values.assign(ac_Out, ac_Out + (n > 0 ? n : 0));
    return so;
}

void v_WriteDecoding(CT_RecordWriter& co_Writer, unsigned n_CodePage)
{
    co_Writer.v_Begin('b', 2, 0);
    for (unsigned n_Byte = 0; n_Byte < 256; ++n_Byte)
    {
        char c = static_cast<char>(n_Byte);
        co_Writer.v_Add(so_Decode(n_CodePage, &c, 1));
    }
    for (unsigned n_Lead = 0; n_Lead < 256; ++n_Lead)
    {
        if (!IsDBCSLeadByteEx(n_CodePage, static_cast<BYTE>(n_Lead)))
            continue;
        co_Writer.v_Begin('p', 4, n_Lead * 256);
        for (unsigned n_Trail = 0; n_Trail < 256; ++n_Trail)
        {
            char ac[2] = {static_cast<char>(n_Lead), static_cast<char>(n_Trail)};
            co_Writer.v_Add(so_Decode(n_CodePage, ac, 2));
        }
    }
}

void v_WriteEncoding(CT_RecordWriter& co_Writer, unsigned n_CodePage)
{
    co_Writer.v_Begin('w', 4, 0);
    for (unsigned n_Unit = 0; n_Unit < 0x10000; ++n_Unit)
        co_Writer.v_Add(so_Encode(n_CodePage, static_cast<wchar_t>(n_Unit)));
}

void v_WriteCodePage(FILE* pso_File, unsigned n_CodePage)
{
    std::fprintf(pso_File, "cp %u %d", n_CodePage, IsValidCodePage(n_CodePage) ? 1 : 0);
    CPINFO so_Info;
    if (GetCPInfo(n_CodePage, &so_Info))
    {
        std::fprintf(pso_File, " %u %02X%02X ", so_Info.MaxCharSize, so_Info.DefaultChar[0],
                     so_Info.DefaultChar[1]);
        for (BYTE c : so_Info.LeadByte)
            std::fprintf(pso_File, "%02X", c);
    }
    std::fputc('\n', pso_File);
    // UTF-7 and UTF-8 are coded by the library itself.
    if (!IsValidCodePage(n_CodePage) || n_CodePage == CP_UTF7 || n_CodePage == CP_UTF8)
        return;
    CT_RecordWriter co_Writer(pso_File);
    v_WriteDecoding(co_Writer, n_CodePage);
    v_WriteEncoding(co_Writer, n_CodePage);
}
} // namespace

int main(int i_Args, char** ppc_Args)
{
    FILE* pso_File =
        pso_OpenRecord(i_Args, ppc_Args, "Code-page conversions", "codepages/CodepageReference");
    if (!pso_File)
        return 2;
    for (unsigned n_CodePage : san_CodePages)
        v_WriteCodePage(pso_File, n_CodePage);
    return std::fclose(pso_File) == 0 ? 0 : 1;
}
