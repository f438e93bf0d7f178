// Fuzz target of the line readers: any file content, read by the plain readers mixed with
// seeks and raw reads (8-bit and 16-bit lines at any offset), or by one of the sequential
// readers to the end; every line and result is held against a plain model of the line rules.
// A last mode mixes everything, sequential readers and stripping included; mixed with seeks the
// sequential readers may hand over stale text by design, so there only memory safety, the
// file's bounds and the absence of errors count.
//
// Input layout: byte 0 the mode (bits 0-1: plain, 8-bit sequential, 16-bit sequential, mixed);
// bytes 1-2 a count of filler bytes (little-endian, below 16384) and byte 3 the filler, put
// before the content so that short inputs reach the chunk borders at 256 to 8192 bytes; byte 4 the
// number of operations, then one byte per operation; the rest is the content. An operation's bits
// 0-1 choose the 8-bit reader, the 16-bit reader, a seek to (bits 2-7) / 63 of the file, or a
// raw read of bits 2-7 bytes.
#include "Basis/File/FileSystem.h"
#include "Basis/File/WinFile.h"
#include "Basis/Runtime/ErrorManager.h"
#include "System/String/CString.h"
#include "System/String/UString.h"

#include "FuzzRequire.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace
{
void v_Require(bool b_Holds, const char* qccz_What)
{
    v_FuzzRequire(b_Holds, "line reader check failed", qccz_What);
}

// What a reader gives: the line, its result, and where the file stands afterwards.
struct st_Line
{
    std::u16string co_Text;
    unsigned n_Result;
    std::size_t n_Next;
};

st_Line so_ModelC(const std::string& co, std::size_t n_At)
{
    std::size_t n_Feed = co.find('\n', n_At);
    std::size_t n_End = n_Feed == std::string::npos ? co.size() : n_Feed;
    const unsigned char* pcc = reinterpret_cast<const unsigned char*>(co.data());
    std::u16string co_Text(pcc + n_At, pcc + n_End);
    if (n_Feed == std::string::npos)
        return {co_Text, static_cast<unsigned>(co_Text.size()), co.size()};
    if (!co_Text.empty() && co_Text.back() == u'\r')
        co_Text.pop_back();
    return {co_Text, static_cast<unsigned>(co_Text.size() + 1), n_Feed + 1};
}

st_Line so_ModelU(const std::string& co, std::size_t n_At)
{
    if (n_At == 0 && co.size() >= 2 && co[0] == '\xFF' && co[1] == '\xFE')
        n_At = 2;
    std::u16string co_Text;
    for (; n_At + 1 < co.size(); n_At += 2)
    {
        char16_t u = static_cast<char16_t>(static_cast<unsigned char>(co[n_At]) |
                                           static_cast<unsigned char>(co[n_At + 1]) << 8);
        if (u == u'\n')
        {
            if (!co_Text.empty() && co_Text.back() == u'\r')
                co_Text.pop_back();
            return {co_Text, static_cast<unsigned>(2 * co_Text.size() + 2), n_At + 2};
        }
        co_Text += u;
    }
    if (n_At < co.size())
        co_Text += u'\uFFFD';
    return {co_Text, static_cast<unsigned>(2 * co_Text.size()), co.size()};
}

std::u16string co_Read(CT_File* pco_File, bool b_Wide, bool b_Sequential, unsigned* pn_Result,
                       const CT_String* pcco_Strip = nullptr)
{
    if (b_Wide)
    {
        CT_UString co_Line;
        *pn_Result = b_Sequential ? pco_File->n_ReadLineUSequential(&co_Line, pcco_Strip)
                                  : pco_File->n_ReadLineU(&co_Line, pcco_Strip);
        return std::u16string(co_Line.qcuz_Get(), co_Line.n_GetLength());
    }
    CT_CString co_Line;
    *pn_Result = b_Sequential ? pco_File->n_ReadLineCSequential(&co_Line, pcco_Strip)
                              : pco_File->n_ReadLineC(&co_Line, pcco_Strip);
    const unsigned char* pcc = reinterpret_cast<const unsigned char*>(co_Line.qccz_Get());
    return std::u16string(pcc, pcc + co_Line.n_GetLength());
}

// One line read and held against the model.
void v_Check(CT_File* pco_File, bool b_Wide, bool b_Sequential, const st_Line& so_Expected)
{
    unsigned n_Result = 0;
    std::u16string co_Text = co_Read(pco_File, b_Wide, b_Sequential, &n_Result);
    v_Require(co_Text == so_Expected.co_Text, "line text");
    v_Require(n_Result == so_Expected.n_Result, "line result");
}

// The plain readers, seeks and raw reads in the order of the operations.
void v_RunPlain(CT_WinFile* pco_File, const std::string& co, const std::uint8_t* pc_Ops,
                std::size_t n_Ops)
{
    std::size_t n_At = 0;
    for (std::size_t i = 0; i < n_Ops; ++i)
    {
        unsigned n_Kind = pc_Ops[i] & 3, n_Value = pc_Ops[i] >> 2;
        if (n_Kind < 2)
        {
            st_Line so = n_Kind ? so_ModelU(co, n_At) : so_ModelC(co, n_At);
            v_Check(pco_File, n_Kind, false, so);
            n_At = so.n_Next;
        }
        else if (n_Kind == 2)
        {
            n_At = co.size() * n_Value / 63;
            pco_File->vv_SetOffset(CT_File::eo_OriginBegin, static_cast<int>(n_At));
        }
        else
        {
            char ac[64];
            unsigned n = pco_File->vn_Read(ac, n_Value);
            v_Require(n == std::min<std::size_t>(n_Value, co.size() - n_At) &&
                          co.compare(n_At, n, ac, n) == 0,
                      "raw read");
            n_At += n;
        }
        v_Require(pco_File->vn_GetOffset() == n_At, "offset after an operation");
    }
}

void v_RunSequential(CT_WinFile* pco_File, const std::string& co, bool b_Wide)
{
    std::size_t n_At = 0;
    for (bool b_Ended = false; !b_Ended;)
    {
        st_Line so = b_Wide ? so_ModelU(co, n_At) : so_ModelC(co, n_At);
        b_Ended = so.n_Next == co.size() && so.n_Result == so.co_Text.size() * (b_Wide ? 2 : 1);
        if (b_Ended)
            so.n_Result = 0;
        v_Check(pco_File, b_Wide, true, so);
        n_At = so.n_Next;
    }
    v_Check(pco_File, b_Wide, true, {u"", 0, 0});
}

// Everything mixed: the results are not modelled, only memory safety and the file's bounds.
void v_RunMixed(CT_WinFile* pco_File, const std::string& co, const std::uint8_t* pc_Ops,
                std::size_t n_Ops)
{
    CT_CString co_Strip(" \r", 2);
    for (std::size_t i = 0; i < n_Ops; ++i)
    {
        unsigned n_Value = pc_Ops[i] >> 3, n_Result;
        switch (pc_Ops[i] & 7)
        {
        case 6:
            pco_File->vv_SetOffset(CT_File::eo_OriginBegin,
                                   static_cast<int>(co.size() * n_Value / 31));
            break;
        case 7:
        {
            char ac[32];
            pco_File->vn_Read(ac, n_Value);
            break;
        }
        default:
            co_Read(pco_File, pc_Ops[i] & 1, pc_Ops[i] & 2, &n_Result,
                    pc_Ops[i] & 4 ? &co_Strip : nullptr);
        }
        v_Require(pco_File->vn_GetOffset() <= co.size(), "offset beyond the file");
    }
}

CT_UString co_FileName()
{
    CT_UString co;
    CT_FileSystem::sv_MakeTemporaryName(&co, u"ctfuzz", u"txt", 0);
    return co;
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* pc_Data, std::size_t n_Size)
{
    if (n_Size < 5)
        return 0;
    static const CT_UString sco_Name = co_FileName();
    const std::size_t n_Ops = std::min<std::size_t>(pc_Data[4], n_Size - 5);
    std::string co((pc_Data[1] | pc_Data[2] << 8) & 0x3FFF, static_cast<char>(pc_Data[3]));
    co.append(reinterpret_cast<const char*>(pc_Data) + 5 + n_Ops, n_Size - 5 - n_Ops);

    CT_WinFile co_File(&sco_Name, 0);
    co_File.vv_Open(CT_File::eo_AccessReadWrite, CT_File::eo_OpenCreate, CT_File::eo_ShareExclusive,
                    CT_File::sn_AttributeNormal, CT_File::sn_FlagDeleteOnClose);
    v_Require(co_File.vn_Write(co.data(), static_cast<unsigned>(co.size())) == co.size(),
              "writing the file");
    co_File.vv_SetOffset(CT_File::eo_OriginBegin, 0);
    switch (pc_Data[0] & 3)
    {
    case 0:
        v_RunPlain(&co_File, co, pc_Data + 5, n_Ops);
        break;
    case 1:
    case 2:
        v_RunSequential(&co_File, co, pc_Data[0] & 2);
        break;
    default:
        v_RunMixed(&co_File, co, pc_Data + 5, n_Ops);
    }
    v_Require(!CT_ErrorManager::spco_Get()->b_IsSetError(), "an error was reported");
    co_File.vv_Close();
    return 0;
}
