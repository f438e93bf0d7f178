// CT_WinFile: opening with its modes and share modes, the kept offset, moving, copying,
// attributes, memory mapping, byte-range locks, the 4 GB bound of its offsets and its pool; on
// both twins of the calls by name where they differ.
#include "FileTestSupport.h"

#include "Basis/Platform/Heap.h"

#include <cstring>

namespace
{
class WinFile : public FileTest
{
protected:
    void v_Open(CT_WinFile* pco, CT_File::et_Access eo_Access,
                CT_File::et_Open eo_Open = CT_File::eo_OpenExisting,
                CT_File::et_Share eo_Share = CT_File::eo_ShareExclusive, unsigned n_Flags = 0)
    {
        pco->vv_Open(eo_Access, eo_Open, eo_Share, CT_File::sn_AttributeNormal, n_Flags);
    }
};

TEST_F(WinFile, FailedOpenStaysClosedAndNamesTheFile)
{
    CT_UString co_Name = co_Path(u"missing.txt");
    v_OnBothTwins(
        [&](bool)
        {
            CT_WinFile co(&co_Name, 0);
            v_Open(&co, CT_File::eo_AccessRead);
            EXPECT_FALSE(co.b_IsOpen());
            EXPECT_EQ(co.ec_GetOpenModi(), CT_File::eo_OpenNone);
            EXPECT_EQ(pco_Errors()->n_GetErrorCode(), sn_ErrorNotFound);
            std::u16string co_Text = co_ErrorText();
            EXPECT_EQ(co_Text.substr(0, 4), u"(2):");
            EXPECT_EQ(co_Text.substr(co_Text.size() - co_Name.n_GetLength() - 2),
                      u"[" + ::co_Text(&co_Name) + u"]");
            EXPECT_EQ(co_LastLocation(), "Foundation\\Basis\\File\\WinFile:171");
            pco_Errors()->v_ClearError();
        });
}

TEST_F(WinFile, OpenModesPlaceTheOffset)
{
    struct
    {
        CT_File::et_Open eo_Open;
        bool b_Existing;
        unsigned n_Offset, n_Size;
    } aso_Cases[] = {{CT_File::eo_OpenExisting, true, 0, 10},
                     {CT_File::eo_OpenCreate, true, 0, 0},
                     {CT_File::eo_OpenAppend, true, 10, 10},
                     {CT_File::eo_OpenAppend, false, 0, 0}};
    for (const auto& so : aso_Cases)
    {
        CT_UString co_Name = co_Path(so.b_Existing ? u"ten.txt" : u"new.txt");
        if (so.b_Existing)
            sv_Write(co_Name, "0123456789");
        CT_WinFile co(&co_Name, 0);
        v_Open(&co, CT_File::eo_AccessReadWrite, so.eo_Open, CT_File::eo_ShareRead,
               CT_File::sn_FlagSequentialScan);
        ASSERT_TRUE(co.b_IsOpen());
        EXPECT_EQ(co.vn_GetOffset(), so.n_Offset);
        EXPECT_EQ(co.vn_GetSize(), so.n_Size);
        EXPECT_EQ(co.ec_GetOpenModi(), so.eo_Open);
        EXPECT_EQ(co.ec_GetOpenShare(), CT_File::eo_ShareRead);
        EXPECT_EQ(co.n_GetOpenFlag(), unsigned{CT_File::sn_FlagSequentialScan});
        co.vv_Close();
        co.vv_Close();
        EXPECT_EQ(co.ec_GetOpenAccess(), CT_File::eo_AccessNone);
        EXPECT_EQ(co.ec_GetOpenModi(), CT_File::eo_OpenNone);
        EXPECT_EQ(co.n_GetOpenFlag(), 0u);
        co.vv_Remove();
    }
    EXPECT_FALSE(pco_Errors()->b_IsSetError());
}

TEST_F(WinFile, ShareModesKeepConflictingOpensOut)
{
    using F = CT_File;
    struct
    {
        F::et_Access eo_FirstAccess;
        F::et_Share eo_FirstShare;
        F::et_Access eo_SecondAccess;
        F::et_Share eo_SecondShare;
        bool b_Allowed;
    } aso_Cases[] = {
        {F::eo_AccessRead, F::eo_ShareExclusive, F::eo_AccessRead, F::eo_ShareReadWrite, false},
        {F::eo_AccessRead, F::eo_ShareRead, F::eo_AccessRead, F::eo_ShareRead, true},
        {F::eo_AccessRead, F::eo_ShareRead, F::eo_AccessWrite, F::eo_ShareReadWrite, false},
        {F::eo_AccessWrite, F::eo_ShareRead, F::eo_AccessRead, F::eo_ShareRead, false},
        {F::eo_AccessWrite, F::eo_ShareRead, F::eo_AccessRead, F::eo_ShareWrite, true},
        {F::eo_AccessReadWrite, F::eo_ShareReadWrite, F::eo_AccessWrite, F::eo_ShareReadWrite,
         true},
    };
    CT_UString co_Name = co_Path(u"shared.txt");
    sv_Write(co_Name, "x");
    for (const auto& so : aso_Cases)
    {
        CT_WinFile co_First(&co_Name, 0), co_Second(&co_Name, 0);
        v_Open(&co_First, so.eo_FirstAccess, F::eo_OpenExisting, so.eo_FirstShare);
        v_Open(&co_Second, so.eo_SecondAccess, F::eo_OpenExisting, so.eo_SecondShare);
        EXPECT_EQ(co_Second.b_IsOpen(), so.b_Allowed);
        EXPECT_EQ(pco_Errors()->n_GetErrorCode(), so.b_Allowed ? 0 : sn_ErrorSharing);
        pco_Errors()->v_ClearError();
    }
}

TEST_F(WinFile, TransfersKeepTheirOwnOffset)
{
    CT_UString co_Name = co_Path(u"offset.txt");
    CT_WinFile co(&co_Name, 0);
    v_Open(&co, CT_File::eo_AccessReadWrite, CT_File::eo_OpenCreate);
    EXPECT_EQ(co.vn_Write("abcdef", 6), 6u);
    co.vv_SetOffset(CT_File::eo_OriginBegin, 2);
    char ac[4] = {};
    EXPECT_EQ(co.vn_Read(ac, 2), 2u);
    EXPECT_STREQ(ac, "cd");
    EXPECT_EQ(co.vn_Write("X", 1), 1u);
    co.vv_SetOffset(CT_File::eo_OriginEnd, -1);
    EXPECT_FALSE(co.vb_IsEof());
    EXPECT_EQ(co.vn_Read(ac, 3), 1u);
    EXPECT_TRUE(co.vb_IsEof());
    co.vv_SetOffset(CT_File::eo_OriginCurrent, -7);
    EXPECT_EQ(co.vn_GetOffset(), 6u);
    EXPECT_TRUE(pco_Errors()->b_IsSetError());
    pco_Errors()->v_ClearError();
    co.vv_Close();
    EXPECT_EQ(sco_Read(co_Name), "abcdXf");
}

TEST_F(WinFile, OffsetsStopShortOfFourGigabytes)
{
    CT_UString co_Name = co_Path(u"large.bin");
    CT_WinFile co(&co_Name, 0);
    v_Open(&co, CT_File::eo_AccessReadWrite, CT_File::eo_OpenCreate);
    co.vv_SetOffset(CT_File::eo_OriginBegin, static_cast<int>(0xFFFFFFF0u));
    EXPECT_EQ(co.vn_GetOffset(), 0xFFFFFFF0u);
    EXPECT_EQ(co.vn_Write("0123456789abcdefg", 17), 0u);
    EXPECT_EQ(pco_Errors()->n_GetErrorCode(), sn_ErrorTooLarge);
    pco_Errors()->v_ClearError();
    co.vv_SetOffset(CT_File::eo_OriginCurrent, 0x10);
    EXPECT_EQ(pco_Errors()->n_GetErrorCode(), sn_ErrorTooLarge);
    EXPECT_EQ(co.vn_GetOffset(), 0xFFFFFFF0u);
    EXPECT_EQ(co.vn_GetSize(), 0u);
}

TEST_F(WinFile, RenameNeverReplacesAndReinitialises)
{
    v_OnBothTwins(
        [&](bool)
        {
            CT_UString co_Old = co_Path(u"old.txt"), co_New = co_Path(u"new.txt"),
                       co_Taken = co_Path(u"taken.txt");
            sv_Write(co_Old, "old");
            sv_Write(co_Taken, "taken");
            CT_WinFile co(&co_Old, 100);
            co.vv_Rename(&co_Taken);
            EXPECT_EQ(pco_Errors()->n_GetErrorCode(), sn_ErrorExists);
            EXPECT_NE(co_ErrorText().find(co_Text(&co_Old) + u" : " + co_Text(&co_Taken)),
                      std::u16string::npos);
            EXPECT_EQ(sco_Read(co_Old) + sco_Read(co_Taken), "oldtaken");
            pco_Errors()->v_ClearError();
            co.vv_Rename(&co_New);
            EXPECT_FALSE(pco_Errors()->b_IsSetError());
            EXPECT_EQ(co_Text(co.pcco_GetFullName()), co_Text(&co_New));
            EXPECT_EQ(co.n_GetBufferSize(), 16384u);
            EXPECT_EQ(sco_Read(co_New), "old");
            EXPECT_TRUE(co.b_IsExistent());
            EXPECT_FALSE(CT_FileSystem::sb_IsExistent(&co_Old));
            co.vv_Remove();
            CT_WinFile(&co_Taken, 0).vv_Remove();
        });
}

TEST_F(WinFile, CopyReplacesTheTargetOrLeavesIt)
{
    v_OnBothTwins(
        [&](bool)
        {
            CT_UString co_Source = co_Path(u"source.txt"), co_Target = co_Path(u"target.txt"),
                       co_Missing = co_Path(u"missing.txt");
            sv_Write(co_Source, "new content");
            sv_Write(co_Target, "old");
            CT_WinFile(&co_Missing, 0).v_CopyFile(&co_Target);
            EXPECT_EQ(pco_Errors()->n_GetErrorCode(), sn_ErrorNotFound);
            EXPECT_EQ(sco_Read(co_Target), "old");
            pco_Errors()->v_ClearError();
            CT_WinFile(&co_Source, 0).v_CopyFile(&co_Target);
            EXPECT_FALSE(pco_Errors()->b_IsSetError());
            EXPECT_EQ(sco_Read(co_Target), "new content");
            EXPECT_EQ(sco_Read(co_Source), "new content");
        });
}

TEST_F(WinFile, AttributesTellReadOnly)
{
    CT_UString co_Name = co_Path(u"attributes.txt"), co_Missing = co_Path(u"missing.txt");
    sv_Write(co_Name, "a");
    CT_WinFile co(&co_Name, 0);
    constexpr unsigned sn_ReadOnly = 0x01, sn_Directory = 0x10;
    co.v_SetAttributes(sn_ReadOnly);
    EXPECT_EQ(co.n_GetAttributes() & (sn_ReadOnly | sn_Directory), sn_ReadOnly);
    co.v_SetAttributes(0x80);
    EXPECT_EQ(co.n_GetAttributes() & sn_ReadOnly, 0u);
    EXPECT_FALSE(pco_Errors()->b_IsSetError());
    EXPECT_EQ(CT_WinFile(&co_Missing, 0).n_GetAttributes(), 0xFFFFFFFFu);
    EXPECT_EQ(pco_Errors()->n_GetErrorCode(), sn_ErrorNotFound);
}

TEST_F(WinFile, MappingGrowsByMegabytesAndGivesTheLengthBack)
{
    enum
    {
        eo_CloseWithLength,
        eo_CloseFile,
        eo_ThroughView
    };
    for (int eo_Way : {eo_CloseWithLength, eo_CloseFile, eo_ThroughView})
    {
        CT_UString co_Name = co_Path(u"mapped.bin");
        CT_WinFile co(&co_Name, 0);
        v_Open(&co, CT_File::eo_AccessReadWrite, CT_File::eo_OpenCreate);
        co.v_CreateMap(10);
        ASSERT_TRUE(co.b_GetMapping());
        EXPECT_EQ(co.n_GetMappingSize(), unsigned{CT_WinFile::sn_MapStep});
        EXPECT_EQ(co.vn_Write("0123456789", 10), 10u);
        if (eo_Way == eo_ThroughView)
            std::memcpy(static_cast<char*>(co.pv_GetMapping()) + 10, "view", 4);
        if (eo_Way == eo_CloseWithLength)
            co.v_CloseMap(10);
        co.vv_Close();
        EXPECT_EQ(sco_Read(co_Name), eo_Way == eo_ThroughView ? "0123456789view" : "0123456789");
    }
    EXPECT_FALSE(pco_Errors()->b_IsSetError());
}

TEST_F(WinFile, MappedTransfersFollowTheView)
{
    CT_UString co_Name = co_Path(u"view.bin");
    sv_Write(co_Name, "abc");
    CT_WinFile co(&co_Name, 0);
    v_Open(&co, CT_File::eo_AccessReadWrite, CT_File::eo_OpenExisting);
    co.v_CreateMap(0);
    co.vv_SetOffset(CT_File::eo_OriginBegin, CT_WinFile::sn_MapStep - 2);
    EXPECT_EQ(co.vn_Write("wxyz", 4), 4u);
    EXPECT_EQ(co.n_GetMappingSize(), 2 * CT_WinFile::sn_MapStep);
    char ac[4] = {};
    EXPECT_EQ(co.n_ReadMap(1, ac, 2), 2u);
    EXPECT_STREQ(ac, "bc");
    EXPECT_EQ(co.n_ReadMap(2 * CT_WinFile::sn_MapStep, ac, 2), 0u);
    co.v_FlushMap();
    co.vv_Close();
    EXPECT_EQ(CT_FileSystem::sn4_GetSize(&co_Name), CT_WinFile::sn_MapStep + 2);

    // A read-only mapping is the file's size, and refuses writes.
    v_Open(&co, CT_File::eo_AccessRead);
    co.v_CreateMap(CT_File::sn_All);
    EXPECT_EQ(co.n_GetMappingSize(), CT_WinFile::sn_MapStep + 2);
    EXPECT_EQ(co.vn_Read(ac, 3), 3u);
    EXPECT_STREQ(ac, "abc");
    EXPECT_EQ(co.vn_Write("no", 2), 0u);
    EXPECT_TRUE(pco_Errors()->b_IsSetError());
}

TEST_F(WinFile, LocksHoldAgainstOtherHandles)
{
    CT_UString co_Name = co_Path(u"locks.bin");
    sv_Write(co_Name, "0123456789");
    CT_WinFile co_First(&co_Name, 0), co_Second(&co_Name, 0);
    for (CT_WinFile* pco : {&co_First, &co_Second})
        v_Open(pco, CT_File::eo_AccessReadWrite, CT_File::eo_OpenExisting,
               CT_File::eo_ShareReadWrite);
    co_First.v_LockFile(0, 5);
    co_Second.v_LockFile(5, 5);
    EXPECT_FALSE(pco_Errors()->b_IsSetError());
    co_Second.v_LockFile(4, 2);
    EXPECT_TRUE(pco_Errors()->b_IsSetError());
    pco_Errors()->v_ClearError();
    co_First.v_UnlockFile(0, 5);
    co_Second.v_LockFile(0, 5);
    EXPECT_FALSE(pco_Errors()->b_IsSetError());
}

TEST_F(WinFile, EndOfFileInformationAndDeleteOnClose)
{
    CT_UString co_Name = co_Path(u"end.bin");
    CT_WinFile co(&co_Name, 0);
    v_Open(&co, CT_File::eo_AccessReadWrite, CT_File::eo_OpenCreate, CT_File::eo_ShareExclusive,
           CT_File::sn_FlagDeleteOnClose);
    co.vn_Write("0123456789", 10);
    co.vv_SetOffset(CT_File::eo_OriginBegin, 4);
    co.v_SetEndOfFile();
    co.vv_Flush();
    BY_HANDLE_FILE_INFORMATION so_Info = {};
    co.v_GetFileInfo(&so_Info);
    EXPECT_EQ(so_Info.nFileSizeLow, 4u);
    EXPECT_EQ(so_Info.nNumberOfLinks, 1u);
    EXPECT_EQ(co.vn_GetSize(), 4u);
    co.vv_Close();
    EXPECT_FALSE(co.b_IsExistent());
    EXPECT_FALSE(pco_Errors()->b_IsSetError());
}

TEST_F(WinFile, ObjectsComeFromTheirPool)
{
    std::size_t n_Before = CT_Heap::sn_PoolInUse(CT_WinFile::spso_GetMemPool());
    CT_WinFile* pco = new CT_WinFile(&co_Folder, 0);
    EXPECT_EQ(CT_Heap::sn_PoolInUse(CT_WinFile::spso_GetMemPool()), n_Before + 1);
    delete pco;
    EXPECT_EQ(CT_Heap::sn_PoolInUse(CT_WinFile::spso_GetMemPool()), n_Before);
}
} // namespace
