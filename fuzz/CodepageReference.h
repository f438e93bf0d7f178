// The code-page conversions recorded under Windows (tests/data/CodepageReference.txt; the format
// is described in tools/codepages/CodepageReference.cpp), read back, and a plain codec built on
// them, one character at a time with the rules of CT_CodepageTable's loops, to hold those loops
// against: CodepageTest checks the library against the record, the differential fuzz target
// compares every call.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace ct_reference
{
// The record of one code page: its "cp" line and its lines of outcomes.
struct st_Record
{
    unsigned n_CodePage = 0;
    int b_Valid = 0;
    bool b_HasInfo = false;
    unsigned n_MaxCharSize = 0;
    std::string o_DefaultChar, o_LeadBytes;
    std::vector<std::string> co_Lines;
};

// One recorded outcome: the units decoded or the bytes encoded, and the used-default flag.
struct st_Outcome
{
    std::vector<unsigned> co_Values;
    std::size_t n_Digits = 0;
    bool b_Used = false;
};

inline std::string o_Bytes(const std::string& o_Hex)
{
    std::string o;
    for (std::size_t i = 0; i + 1 < o_Hex.size(); i += 2)
        o += static_cast<char>(std::stoul(o_Hex.substr(i, 2), nullptr, 16));
    return o;
}

inline st_Record so_ReadHeader(std::istringstream& co_Line)
{
    st_Record so;
    std::string o_Default, o_Lead;
    co_Line >> so.n_CodePage >> so.b_Valid;
    so.b_HasInfo = static_cast<bool>(co_Line >> so.n_MaxCharSize >> o_Default >> o_Lead);
    so.o_DefaultChar = o_Bytes(o_Default), so.o_LeadBytes = o_Bytes(o_Lead);
    return so;
}

// Every code page of the record at qccz_Path; none when it cannot be read.
inline std::vector<st_Record> co_ReadRecords(const char* qccz_Path)
{
    std::vector<st_Record> co;
    std::ifstream co_File(qccz_Path);
    std::string o_Line;
    while (std::getline(co_File, o_Line))
    {
        std::istringstream co_Line(o_Line);
        std::string o_Tag;
        co_Line >> o_Tag;
        if (o_Tag == "cp")
            co.push_back(so_ReadHeader(co_Line));
        else if (!co.empty() && o_Tag.size() == 1)
            co.back().co_Lines.push_back(o_Line);
    }
    return co;
}

inline st_Outcome so_ParseOutcome(const std::string& o_Token)
{
    st_Outcome so;
    so.b_Used = o_Token.back() == '!';
    for (const char* pc = o_Token.c_str(); *pc && *pc != '-' && *pc != '!';)
    {
        char* pc_End;
        so.co_Values.push_back(std::strtoul(pc, &pc_End, 16));
        so.n_Digits = static_cast<std::size_t>(pc_End - pc);
        pc = *pc_End == '.' ? pc_End + 1 : pc_End;
    }
    return so;
}

// Calls v_Check(first input, outcome, count) for the outcomes recorded under c_Tag: count
// inputs from the first one on have that same outcome.
template <class T_Check>
void v_ForEach(const st_Record& so_Record, char c_Tag, T_Check&& v_Check)
{
    for (const std::string& o_Line : so_Record.co_Lines)
    {
        if (o_Line[0] != c_Tag)
            continue;
        std::istringstream co_Line(o_Line.substr(1));
        std::string o_Token;
        co_Line >> o_Token;
        unsigned n_In = std::stoul(o_Token, nullptr, 16);
        st_Outcome so_Last;
        while (co_Line >> o_Token)
        {
            unsigned n_Count = o_Token[0] == '+' || o_Token[0] == '*'
                                   ? std::stoul(o_Token.substr(1), nullptr, 16)
                                   : 1;
            if (o_Token[0] == '*')
            {
                v_Check(n_In, so_Last, n_Count);
                n_In += n_Count;
                continue;
            }
            for (unsigned i = 0; i < n_Count; ++i)
            {
                if (o_Token[0] == '+')
                    ++so_Last.co_Values.at(0);
                else
                    so_Last = so_ParseOutcome(o_Token);
                v_Check(n_In++, so_Last, 1u);
            }
        }
    }
}

inline std::u16string o_Units(const st_Outcome& so)
{
    return std::u16string(so.co_Values.begin(), so.co_Values.end());
}

// Encoded values of four digits hold two bytes.
inline void v_AppendBytes(std::string& o, const st_Outcome& so)
{
    for (unsigned n : so.co_Values)
    {
        if (so.n_Digits == 4)
            o += static_cast<char>(n >> 8);
        o += static_cast<char>(n);
    }
}

// One code page converted by its recorded outcomes: each byte and pair decodes to its unit,
// each unit encodes to its byte or pair (or the default character, with the flag). The calls
// are CT_CodepageTable's: n_In > 0, n_Out of 0 counts, minus Windows' error code 122 for an
// output too small after what fits is written.
class CT_CodepageReference
{
public:
    static constexpr int si_TooSmall = -122;

    explicit CT_CodepageReference(const st_Record& so)
        : b_Double(so.n_MaxCharSize == 2), ab_Lead(256), au_Decode(0x10000), an_Encode(0x10000),
          ab_Used(0x10000)
    {
        const auto n_Byte = [&so](std::size_t i)
        { return static_cast<unsigned char>(so.o_DefaultChar[i]); };
        n_Default = n_Byte(1) ? n_Byte(0) * 256 + n_Byte(1) : n_Byte(0);
        for (std::size_t i = 0; i + 1 < so.o_LeadBytes.size(); i += 2)
            for (unsigned n = static_cast<unsigned char>(so.o_LeadBytes[i]);
                 n && n <= static_cast<unsigned char>(so.o_LeadBytes[i + 1]); ++n)
                ab_Lead[n] = true;
        // Single bytes at 0-255, pairs at lead byte * 256 + trail byte.
        const auto v_Decoded = [this](unsigned n_In, const st_Outcome& so_Out, unsigned n_Count)
        {
            for (unsigned n = n_In; n < n_In + n_Count; ++n)
                au_Decode[n] = static_cast<char16_t>(so_Out.co_Values.at(0));
        };
        v_ForEach(so, 'b', v_Decoded);
        v_ForEach(so, 'p', v_Decoded);
        v_ForEach(so, 'w',
                  [this](unsigned n_In, const st_Outcome& so_Out, unsigned n_Count)
                  {
                      for (unsigned n = n_In; n < n_In + n_Count; ++n)
                      {
                          an_Encode[n] = static_cast<std::uint16_t>(so_Out.co_Values.at(0));
                          ab_Used[n] = so_Out.b_Used;
                      }
                  });
    }

    // A lead byte takes the next byte unless that is the last or 0.
    int si_Decode(const unsigned char* pc_In, int n_In, char16_t* pu_Out, int n_Out) const
    {
        int n_Units = 0;
        for (int i = 0; i < n_In; ++n_Units)
        {
            unsigned n_Index = pc_In[i++];
            if (ab_Lead[n_Index] && i < n_In && pc_In[i])
                n_Index = n_Index * 256 + pc_In[i++];
            if (n_Out && n_Units == n_Out)
                return si_TooSmall;
            if (n_Out)
                pu_Out[n_Units] = au_Decode[n_Index];
        }
        return n_Units;
    }

    // A single-byte code page writes the bytes that fit, a double-byte one the whole characters;
    // the flag tells whether a unit looked up had no mapping.
    int si_Encode(const char16_t* pu_In, int n_In, char* pc_Out, int n_Out, const char* pcc_Default,
                  int* pb_Used) const
    {
        const unsigned n_Substitute = n_DefaultValue(pcc_Default);
        *pb_Used = 0;
        const int n_Look = b_Double || !n_Out ? n_In : std::min(n_In, n_Out);
        int n_Bytes = 0;
        for (int i = 0; i < n_Look; ++i)
        {
            *pb_Used |= ab_Used[pu_In[i]];
            const unsigned n = ab_Used[pu_In[i]] ? n_Substitute : an_Encode[pu_In[i]];
            const int n_Size = n > 0xFF ? 2 : 1;
            if (n_Out && n_Size > n_Out - n_Bytes)
                return si_TooSmall;
            if (n_Out && n_Size == 2)
                pc_Out[n_Bytes] = static_cast<char>(n >> 8);
            if (n_Out)
                pc_Out[n_Bytes + n_Size - 1] = static_cast<char>(n);
            n_Bytes += n_Size;
        }
        return n_Look < n_In ? si_TooSmall : n_Bytes;
    }

private:
    // The first byte; in a double-byte code page the second too unless the first is 0.
    unsigned n_DefaultValue(const char* pcc_Default) const
    {
        if (!pcc_Default)
            return n_Default;
        const auto n_First = static_cast<unsigned char>(pcc_Default[0]);
        const unsigned n_Second =
            b_Double && n_First ? static_cast<unsigned char>(pcc_Default[1]) : 0;
        return n_Second ? n_First * 256 + n_Second : n_First;
    }

    bool b_Double;
    unsigned n_Default;
    std::vector<bool> ab_Lead;
    std::vector<char16_t> au_Decode;
    std::vector<std::uint16_t> an_Encode;
    std::vector<bool> ab_Used;
};
} // namespace ct_reference
