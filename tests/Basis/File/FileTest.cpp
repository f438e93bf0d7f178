// CT_File's own operations, through CT_WinFile: names and buffer sizes, the four line readers
// and two writers, whole-buffer transfers, appending, and Unicode detection.
#include "FileTestSupport.h"

#include "System/String/CString.h"

using namespace std::string_literals;

namespace
{
class File : public FileTest
{
protected:
    void TearDown() override
    {
        co_File.vv_Close();
        FileTest::TearDown();
    }

    // A file of the given bytes, open for reading.
    CT_WinFile* pco_Open(const std::string& co_Bytes)
    {
        CT_UString co_Name = co_Path(u"lines.txt");
        co_File.vv_Close();
        sv_Write(co_Name, co_Bytes);
        co_File.vv_Set(&co_Name, 0);
        co_File.vv_Open(CT_File::eo_AccessRead, CT_File::eo_OpenExisting, CT_File::eo_ShareRead,
                        CT_File::sn_AttributeNormal, 0);
        return &co_File;
    }

    CT_WinFile co_File;
};

enum et_Reader
{
    eo_C,
    eo_CSequential,
    eo_U,
    eo_USequential
};

// The line read, widened unit by unit, and the reader's result.
std::pair<std::u16string, unsigned> so_ReadLine(CT_File* pco_File, et_Reader eo_Reader,
                                                const CT_String* pcco_Strip = nullptr)
{
    CT_CString co_Narrow;
    CT_UString co_Wide;
    switch (eo_Reader)
    {
    case eo_C:
    case eo_CSequential:
    {
        unsigned n = eo_Reader == eo_C ? pco_File->n_ReadLineC(&co_Narrow, pcco_Strip)
                                       : pco_File->n_ReadLineCSequential(&co_Narrow, pcco_Strip);
        std::string co(co_Narrow.qccz_Get(), co_Narrow.n_GetLength());
        return {std::u16string(co.begin(), co.end()), n};
    }
    default:
        unsigned n = eo_Reader == eo_U ? pco_File->n_ReadLineU(&co_Wide, pcco_Strip)
                                       : pco_File->n_ReadLineUSequential(&co_Wide, pcco_Strip);
        return {co_Text(&co_Wide), n};
    }
}

std::string co_Wide(const std::u16string& co, bool b_Mark = false)
{
    std::string co_Bytes = b_Mark ? "\xFF\xFE" : "";
    for (char16_t u : co)
        co_Bytes += {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
    return co_Bytes;
}

TEST_F(File, BufferSizeIsRoundedToWholeKilobytes)
{
    CT_UString co_Name(u"a.txt", 5);
    for (auto [n_Given, n_Kept] : {std::pair{0u, 0u}, {1u, 1024u}, {1024u, 1024u}, {4097u, 5120u}})
    {
        CT_WinFile co(&co_Name, n_Given);
        EXPECT_EQ(co.n_GetBufferSize(), n_Kept);
        EXPECT_EQ(CT_WinFile(&co).n_GetBufferSize(), n_Kept);
    }
    EXPECT_EQ(CT_WinFile().n_GetBufferSize(), 0u);
}

TEST_F(File, NameAndPartsStayTogether)
{
    std::u16string co_Dir = co_Text(&co_Folder);
    CT_UString co_Name = co_Path(u"report.txt");
    CT_WinFile co(&co_Name, 0);
    EXPECT_EQ(co_Text(co.pcco_GetName()), u"report");
    EXPECT_EQ(co_Text(co.pcco_GetExtension()), u".txt");
    CT_CString co_Extension("log", 3);
    co.v_SetExtension(&co_Extension);
    EXPECT_EQ(co_Text(co.pcco_GetFullName()), co_Dir + u"report.log");
    EXPECT_EQ(co_Text(co.pcco_GetExtension()), u"log");
    co.vv_Set();
    EXPECT_EQ(co.pcco_GetFullName()->n_GetLength() + co.pcco_GetName()->n_GetLength(), 0u);
    CT_UString co_Relative(u"r.txt", 5);
    co.v_SetFullName(&co_Relative);
    co.v_FullPath();
    EXPECT_EQ(co_Text(co.pcco_GetName()), u"r");
    EXPECT_GT(co.pcco_GetDirectory()->n_GetLength(), 0u);
}

TEST_F(File, LineReadersFollowTheLineRules)
{
    const std::string co_Long(255, 'x'), co_Chunk(4095, 'x');
    const std::u16string cou_Long(255, u'x'), cou_Chunk(4095, u'x');
    using L = std::vector<std::pair<std::u16string, unsigned>>;
    struct
    {
        const char* qccz_Case;
        std::string co_Bytes;
        et_Reader eo_Reader;
        L ao_Lines; // then an empty line and 0
    } aso_Cases[] = {
        {"8-bit lines", "ab\r\ncd", eo_C, {{u"ab", 3}, {u"cd", 2}}},
        {"sequential: last line with 0", "ab\r\ncd", eo_CSequential, {{u"ab", 3}, {u"cd", 0}}},
        {"lone carriage returns stay", "a\rb\n\r", eo_C, {{u"a\rb", 4}, {u"\r", 1}}},
        {"empty lines", "\n\r\n", eo_CSequential, {{u"", 1}, {u"", 1}}},
        {"CR ends a chunk, LF starts the next",
         co_Long + "\r\nz",
         eo_C,
         {{cou_Long, 256}, {u"z", 1}}},
        {"CR ends a sequential chunk",
         co_Chunk + "\r\nz\n",
         eo_CSequential,
         {{cou_Chunk, 4096}, {u"z", 2}}},
        {"line longer than chunks",
         std::string(9000, 'y') + "\n",
         eo_C,
         {{std::u16string(9000, u'y'), 9001}}},
        {"16-bit with mark",
         "\xFF\xFE"
         "a\0\n\0"s,
         eo_U,
         {{u"a", 4}}},
        {"16-bit without mark", co_Wide(u"ab\r\ncd"), eo_U, {{u"ab", 6}, {u"cd", 4}}},
        {"16-bit sequential", co_Wide(u"ab\r\ncd", true), eo_USequential, {{u"ab", 6}, {u"cd", 0}}},
        {"16-bit CR ends a chunk",
         co_Wide(cou_Long + u"\r\nz", true),
         eo_U,
         {{cou_Long, 512}, {u"z", 2}}},
        {"16-bit CR ends a sequential chunk",
         co_Wide(cou_Chunk + u"\r\n", true),
         eo_USequential,
         {{cou_Chunk, 8192}}},
        {"odd last byte", co_Wide(u"a") + "b", eo_U, {{u"a\uFFFD", 4}}},
        {"odd last byte, sequential",
         co_Wide(u"a\n") + "b",
         eo_USequential,
         {{u"a", 4}, {u"\uFFFD", 0}}},
    };
    for (const auto& so : aso_Cases)
    {
        CT_WinFile* pco = pco_Open(so.co_Bytes);
        for (const auto& [co_Line, n_Result] : so.ao_Lines)
            EXPECT_EQ(so_ReadLine(pco, so.eo_Reader), std::pair(co_Line, n_Result)) << so.qccz_Case;
        EXPECT_EQ(so_ReadLine(pco, so.eo_Reader), std::pair(std::u16string(), 0u)) << so.qccz_Case;
    }
    EXPECT_FALSE(pco_Errors()->b_IsSetError());
}

TEST_F(File, PlainReadersLeaveTheFileAfterTheLine)
{
    CT_WinFile* pco = pco_Open("one\r\n" + co_Wide(u"two\n") + "rest");
    CT_CString co_Space(" ", 1);
    EXPECT_EQ(so_ReadLine(pco, eo_C, &co_Space), std::pair(std::u16string(u"one"), 4u));
    EXPECT_EQ(so_ReadLine(pco, eo_U), std::pair(std::u16string(u"two"), 8u));
    char ac[8] = {};
    EXPECT_EQ(pco->vn_Read(ac, sizeof ac), 4u);
    EXPECT_STREQ(ac, "rest");
    pco = pco_Open("  padded  \n");
    EXPECT_EQ(so_ReadLine(pco, eo_CSequential, &co_Space),
              std::pair(std::u16string(u"padded"), 11u));
}

TEST_F(File, WritersWriteLinesTheReadersRead)
{
    CT_UString co_Name = co_Path(u"out.txt");
    CT_WinFile co(&co_Name, 0);
    co.vv_Open(CT_File::eo_AccessReadWrite, CT_File::eo_OpenCreate, CT_File::eo_ShareExclusive,
               CT_File::sn_AttributeNormal, 0);
    CT_UString co_Line(u"\u00e9t\u00e9", 3);
    CT_CString co_Ascii("abc", 3), co_Empty;
    co.v_WriteLineC(&co_Ascii, 1);
    co.v_WriteLineC(&co_Empty, 1);
    co.v_WriteLineU(&co_Line, 0);
    co.v_WriteLineU(nullptr, 1);
    co.vv_Close();
    EXPECT_EQ(sco_Read(co_Name), "abc\r\n\r\n" + co_Wide(u"\u00e9t\u00e9\r\n"));
}

TEST_F(File, BufferTransfersTakeTheUsedSize)
{
    CT_UString co_Name = co_Path(u"buffer.bin");
    CT_WinFile co(&co_Name, 0);
    co.vv_Open(CT_File::eo_AccessReadWrite, CT_File::eo_OpenCreate, CT_File::eo_ShareExclusive,
               CT_File::sn_AttributeNormal, 0);
    CT_Buffer co_Empty, co_Data("abcdef", 6, 32);
    EXPECT_EQ(co.n_Write(&co_Empty, CT_File::sn_All), 0u);
    EXPECT_EQ(co.n_Write(&co_Data, 0), 0u);
    EXPECT_EQ(co.n_Write(&co_Data, CT_File::sn_All), 6u);
    EXPECT_EQ(co.n_Write(&co_Data, 2), 2u);
    co.vv_SetOffset(CT_File::eo_OriginBegin, 4);
    CT_Buffer co_In(&co_Data);
    EXPECT_EQ(co.n_Read(&co_In, 0), 0u);
    EXPECT_EQ(co.n_Read(&co_In, 100), 4u);
    EXPECT_EQ(std::string(static_cast<const char*>(co_In.qcv_Get()), co_In.n_GetUsedSize()),
              "efab");
    EXPECT_EQ(std::string(static_cast<const char*>(co_Data.qcv_Get()), 6), "abcdef");
}

TEST_F(File, AppendCopiesTheWholeSourceAndClosesBoth)
{
    CT_UString co_Target = co_Path(u"target.txt"), co_Source = co_Path(u"source.txt"),
               co_Missing = co_Path(u"missing.txt");
    sv_Write(co_Target, "head|");
    sv_Write(co_Source, std::string(10000, 's'));
    CT_WinFile co(&co_Target, 0), co_From(&co_Source, 0), co_None(&co_Missing, 0);
    co.v_Append(&co_From, 333);
    EXPECT_EQ(sco_Read(co_Target), "head|" + std::string(10000, 's'));
    EXPECT_FALSE(co.b_IsOpen() || co_From.b_IsOpen());
    EXPECT_FALSE(pco_Errors()->b_IsSetError());

    co.v_Append(&co_None, 0);
    EXPECT_EQ(pco_Errors()->n_GetErrorCode(), sn_ErrorNotFound);
    pco_Errors()->v_ClearError();
    // A file is not appended to itself: its exclusive open keeps the second one out.
    CT_WinFile co_Same(&co_Target, 0);
    co.v_Append(&co_Same, 0);
    EXPECT_EQ(pco_Errors()->n_GetErrorCode(), sn_ErrorSharing);
    EXPECT_EQ(sco_Read(co_Target), "head|" + std::string(10000, 's'));
    EXPECT_FALSE(co.b_IsOpen() || co_Same.b_IsOpen());
}

TEST_F(File, UnicodeDetectionLooksAtTheStart)
{
    struct
    {
        std::string co_Bytes;
        int b_Unicode;
        unsigned n_Offset; // too short or odd: the file stays where it stood
    } aso_Cases[] = {{"\xFF\xFE"
                      "a",
                      0, 1},
                     {"\xFF\xFE"
                      "a\0"s,
                      1, 0},
                     {"l\0i\0n\0e\0"s, 1, 0}, // the statistics of 16-bit text
                     {"line", 0, 0},
                     {"", 0, 1}};
    for (const auto& so : aso_Cases)
    {
        CT_WinFile* pco = pco_Open(so.co_Bytes);
        pco->vv_SetOffset(CT_File::eo_OriginBegin, 1);
        EXPECT_EQ(pco->b_IsUnicode(), so.b_Unicode);
        EXPECT_EQ(pco->vn_GetOffset(), so.n_Offset);
    }
}
} // namespace
