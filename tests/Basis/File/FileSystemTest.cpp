// CT_FileSystem: status, paths split, joined, made absolute and shortened, the current
// directory, directories, and unique temporary names, on both twins of the platform calls.
#include "FileTestSupport.h"

#include "Basis/Platform/Thread.h"
#include "System/String/CString.h"

#include <ctime>
#include <regex>

namespace
{
class FileSystem : public FileTest
{
};

std::string co_Narrow(const std::u16string& co)
{
    return std::string(co.begin(), co.end());
}

TEST_F(FileSystem, StatusTellsKindSizeAndTimes)
{
    CT_UString co_File = co_Path(u"five.txt");
    sv_Write(co_File, "12345");
    CT_UString co_Missing = co_Path(u"missing");
    CT_UString co_Empty;
    std::u16string co_Dir = co_Text(&co_Folder);
    co_Dir.pop_back();
    CT_UString co_FolderItself(co_Dir.c_str(), static_cast<unsigned>(co_Dir.size()));
    struct
    {
        const CT_UString* pcco_Path;
        unsigned n_Kind, n_Size;
    } aso_Cases[] = {{&co_File, CT_FileSystem::sn_KindFile, 5},
                     {&co_FolderItself, CT_FileSystem::sn_KindFolder, 0},
                     {&co_Missing, CT_FileSystem::sn_KindNone, 0},
                     {&co_Empty, CT_FileSystem::sn_KindNone, 0}};
    v_OnBothTwins(
        [&](bool b_Wide)
        {
            for (const auto& so : aso_Cases)
            {
                CT_FileSystem::st_Stat so_Stat = CT_FileSystem::sso_GetStat(so.pcco_Path);
                EXPECT_EQ(so_Stat.n_Kind, so.n_Kind) << b_Wide;
                if (so.n_Kind != CT_FileSystem::sn_KindFolder)
                {
                    EXPECT_EQ(CT_FileSystem::sn4_GetSize(so.pcco_Path), so.n_Size);
                }
                bool b_Exists = so.n_Kind != CT_FileSystem::sn_KindNone;
                EXPECT_EQ(CT_FileSystem::sb_IsExistent(so.pcco_Path), b_Exists);
                EXPECT_EQ(std::abs(so_Stat.si4_Modification - std::time(nullptr)) < 3600, b_Exists);
            }
        });
    EXPECT_TRUE(CT_FileSystem::sb_IsFile(&co_File));
    EXPECT_TRUE(CT_FileSystem::sb_IsFolder(&co_FolderItself));
    EXPECT_FALSE(pco_Errors()->b_IsSetError());
}

TEST_F(FileSystem, SplitsAndJoinsByThePlatformsRules)
{
    struct
    {
        const char* qccz_Path;
        const char* aqccz_Parts[4];
    } aso_Cases[] = {
#if defined(_WIN32)
        {"D:\\dir\\sub\\name.ext", {"D:", "\\dir\\sub\\", "name", ".ext"}},
        {"D:x.tar.gz", {"D:", "", "x.tar", ".gz"}},
        {"dir/name", {"", "dir/", "name", ""}},
        {"\\\\server\\share\\.profile", {"", "\\\\server\\share\\", "", ".profile"}},
#else
        {"/dir/sub/name.ext", {"", "/dir/sub/", "name", ".ext"}},
        {"D:x.tar.gz", {"", "", "D:x.tar", ".gz"}},
        {"dir.d/name", {"", "dir.d/", "name", ""}},
        {"back\\slash.txt", {"", "", "back\\slash", ".txt"}},
#endif
        {"", {"", "", "", ""}}
    };
    for (const auto& so : aso_Cases)
    {
        CT_CString co_Path(so.qccz_Path, CT_String::sn_All);
        CT_UString aco_Parts[4];
        CT_FileSystem::sv_SplitPath(&co_Path, &aco_Parts[0], &aco_Parts[1], &aco_Parts[2],
                                    &aco_Parts[3]);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(co_Narrow(co_Text(&aco_Parts[i])), so.aqccz_Parts[i]) << so.qccz_Path;
        CT_CString co_Joined;
        CT_FileSystem::sv_MakePath(&co_Joined, &aco_Parts[0], &aco_Parts[1], &aco_Parts[2],
                                   &aco_Parts[3]);
        EXPECT_STREQ(co_Joined.qccz_Get(), so.qccz_Path);
    }
    // Joining supplies the separator and the dot; null parts are empty.
    CT_UString co_Drive(u"C", 1), co_Dir(u"/dir", 4), co_Name(u"name", 4), co_Ext(u"txt", 3);
    CT_UString co_Out;
    CT_FileSystem::sv_MakePath(&co_Out, &co_Drive, &co_Dir, &co_Name, &co_Ext);
#if defined(_WIN32)
    EXPECT_EQ(co_Text(&co_Out), u"C:/dir\\name.txt");
#else
    EXPECT_EQ(co_Text(&co_Out), u"/dir/name.txt");
#endif
    CT_FileSystem::sv_MakePath(&co_Out, nullptr, nullptr, &co_Name, nullptr);
    EXPECT_EQ(co_Text(&co_Out), u"name");
}

TEST_F(FileSystem, DisplayFormGivesWayInTheMiddle)
{
    struct
    {
        const char16_t* qcuz_Path;
        unsigned n_Maximum;
        const char16_t* qcuz_Display;
    } aso_Cases[] = {
#if defined(_WIN32)
        {u"D:\\dir1\\dir2\\dir3\\file.txt", 20, u"D:\\...\\dir3\\file.txt"},
        {u"D:\\a\\b\\c\\name.txt", 40, u"D:\\a\\b\\c\\name.txt"},
        {u"D:\\a\\b\\c\\name.txt", 10, u"D:\\...\\name.txt"},
        {u"D:\\a/b/c/name.txt", 10, u"D:\\.../name.txt"},
        {u"D:averyveryverylongname.txt", 5, u"D:averyveryverylongname.txt"},
#else
        {u"/dir1/dir2/dir3/file.txt", 18, u"/.../dir3/file.txt"},
        {u"/a/b/c/name.txt", 40, u"/a/b/c/name.txt"},
        {u"/a/b/c/name.txt", 8, u"/.../name.txt"},
        {u"/a\\b\\c/name.txt", 8, u"/.../name.txt"},
#endif
        {u"averyveryverylongname.txt", 5, u"averyveryverylongname.txt"}
    };
    for (const auto& so : aso_Cases)
    {
        CT_UString co_Path(so.qcuz_Path, CT_String::sn_All);
        CT_FileSystem::sv_MakeDisplayString(&co_Path, so.n_Maximum);
        EXPECT_EQ(co_Text(&co_Path), so.qcuz_Display);
    }
}

TEST_F(FileSystem, FullPathsAndTheCurrentDirectoryAgree)
{
    CT_UString co_Home;
    CT_FileSystem::sv_GetCurrentPath(&co_Home, 0);
    ASSERT_GT(co_Home.n_GetLength(), 0u);
    v_OnBothTwins(
        [&](bool)
        {
            ASSERT_TRUE(CT_FileSystem::sb_ChangePath(&co_Folder));
            CT_CString co_Here;
            CT_FileSystem::sv_GetCurrentPath(&co_Here, 0);
            co_Here.v_Append(&su_Separator, 1);
            EXPECT_EQ(co_Text(&co_Here), co_Text(&co_Folder));
            CT_UString co_Relative(u"x/../y", CT_String::sn_All);
            CT_FileSystem::sv_FullPath(&co_Relative);
            EXPECT_EQ(co_Text(&co_Relative), co_Text(&co_Here) + u"y");
            EXPECT_TRUE(CT_FileSystem::sb_ChangePath(&co_Home));
        });
    EXPECT_FALSE(pco_Errors()->b_IsSetError());
}

TEST_F(FileSystem, MissingDriveReportsItsCall)
{
    // J: is no drive of the test prefix; natively only the current drive exists.
    v_OnBothTwins(
        [&](bool b_Wide)
        {
            CT_UString co_Out(u"old", 3);
            CT_FileSystem::sv_GetCurrentPath(&co_Out, 10);
            EXPECT_EQ(co_Out.n_GetLength(), 0u);
            EXPECT_EQ(pco_Errors()->n_GetFormatID(),
                      unsigned{CT_FileSystem::sn_MessageCurrentPath});
            EXPECT_NE(pco_Errors()->n_GetErrorCode(), 0u);
            EXPECT_EQ(co_LastLocation(), b_Wide ? "Foundation\\Basis\\File\\FileSystem:232"
                                                : "Foundation\\Basis\\File\\FileSystem:243");
            pco_Errors()->v_ClearError();
        });
}

TEST_F(FileSystem, DirectoriesAreMadeAndRemovedOneLevelAtATime)
{
    CT_UString co_Outer = co_Path(u"x");
    CT_UString co_Inner = co_Path(u"x");
    co_Inner.v_Append(su_Separator);
    co_Inner.v_Append(u"y", 1);
    aco_Names.insert(aco_Names.begin(), co_Inner);
    EXPECT_FALSE(CT_FileSystem::sb_MakePath(&co_Inner));
    EXPECT_TRUE(CT_FileSystem::sb_MakePath(&co_Outer));
    EXPECT_TRUE(CT_FileSystem::sb_MakePath(&co_Inner));
    EXPECT_FALSE(CT_FileSystem::sb_RemovePath(&co_Outer));
    EXPECT_TRUE(CT_FileSystem::sb_RemovePath(&co_Inner));
    EXPECT_TRUE(CT_FileSystem::sb_RemovePath(&co_Outer));
    EXPECT_FALSE(pco_Errors()->b_IsSetError());
}

TEST_F(FileSystem, TemporaryNamesAreFreeAndShortWhenAsked)
{
    CT_UString co_Temp;
    CT_FileSystem::sv_MakeTemporaryName(&co_Temp, u"", nullptr, 0);
    std::u16string co_TempFolder = co_Text(&co_Temp);
    co_TempFolder.resize(co_TempFolder.rfind(su_Separator) + 1);
    v_OnBothTwins(
        [&](bool)
        {
            CT_UString co_Name;
            CT_FileSystem::sv_MakeTemporaryName(&co_Name, u"ab", nullptr, 1);
            std::u16string co = co_Text(&co_Name);
            EXPECT_EQ(co.substr(0, co_TempFolder.size()), co_TempFolder);
            EXPECT_TRUE(std::regex_match(co_Narrow(co.substr(co_TempFolder.size())),
                                         std::regex("ab[0-9]{1,2}[0-9]{1,4}\\.tmp")))
                << co_Narrow(co);
            EXPECT_FALSE(CT_FileSystem::sb_IsExistent(&co_Name));
            CT_CString co_Prefix("lg", 2), co_Extension("log", 3), co_Long;
            CT_FileSystem::sv_MakeTemporaryName(&co_Long, &co_Prefix, &co_Extension, nullptr);
            EXPECT_TRUE(std::regex_match(co_Long.qccz_Get() + co_TempFolder.size(),
                                         std::regex("lg[0-9]+\\.log")));
        });
    EXPECT_FALSE(pco_Errors()->b_IsSetError());
}

TEST_F(FileSystem, TemporaryNameFailsWhenEveryCandidateExists)
{
    // A prefix of seven characters leaves one digit, the thread's: one candidate only.
    CT_UString co_Temp;
    CT_FileSystem::sv_MakeTemporaryName(&co_Temp, u"ctftaken", u"tmp", 1);
    EXPECT_EQ(co_Temp.n_GetLength(), 0u);
    EXPECT_EQ(pco_Errors()->n_GetErrorCode(), unsigned{CT_FileSystem::sn_MessagePath});
    pco_Errors()->v_ClearError();

    CT_FileSystem::sv_MakeTemporaryName(&co_Temp, u"ctftake", u"tmp", 1);
    aco_Names.push_back(co_Temp);
    sv_Write(co_Temp, "");
    CT_UString co_Again(u"unchanged", CT_String::sn_All);
    CT_FileSystem::sv_MakeTemporaryName(&co_Again, u"ctftake", u"tmp", 1);
    EXPECT_EQ(co_Again.n_GetLength(), 0u);
    EXPECT_EQ(pco_Errors()->n_GetErrorCode(), unsigned{CT_FileSystem::sn_MessagePath});
    EXPECT_EQ(pco_Errors()->n_GetFormatID(), unsigned{CT_FileSystem::sn_MessagePath});
    EXPECT_EQ(co_LastLocation(), "Foundation\\Basis\\File\\FileSystem:711");
}
} // namespace
