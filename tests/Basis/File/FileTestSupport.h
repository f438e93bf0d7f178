// What the file tests share: a fresh folder of their own in the temporary folder, files made
// from bytes and read back as bytes, the thread's error, and the platform's error codes. Under
// Wine the files are real Win32 files; natively POSIX files.
#pragma once

#include "Basis/File/FileSystem.h"
#include "Basis/File/WinFile.h"
#include "Basis/Runtime/ErrorManager.h"
#include "Basis/Runtime/OS.h"
#include "System/String/UString.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#if defined(_WIN32)
constexpr char16_t su_Separator = u'\\';
constexpr unsigned sn_ErrorSharing = 32;   // ERROR_SHARING_VIOLATION
constexpr unsigned sn_ErrorTooLarge = 223; // ERROR_FILE_TOO_LARGE
constexpr unsigned sn_ErrorExists = 183;   // ERROR_ALREADY_EXISTS
#else
constexpr char16_t su_Separator = u'/';
constexpr unsigned sn_ErrorSharing = 16;  // EBUSY
constexpr unsigned sn_ErrorTooLarge = 27; // EFBIG
constexpr unsigned sn_ErrorExists = 17;   // EEXIST
#endif
constexpr unsigned sn_ErrorNotFound = 2; // ERROR_FILE_NOT_FOUND and ENOENT alike

inline CT_ErrorManager* pco_Errors()
{
    return CT_ErrorManager::spco_Get();
}

inline std::u16string co_Text(const CT_String* pcco)
{
    CT_UString co(pcco);
    return std::u16string(co.qcuz_Get(), co.n_GetLength());
}

inline std::u16string co_ErrorText()
{
    const char16_t* pcu = pco_Errors()->qcuz_GetErrorMessage();
    return pcu ? pcu : u"<none>";
}

// The last location of the trail, as "file:line".
inline std::string co_LastLocation()
{
    unsigned n = pco_Errors()->n_GetLocationCount();
    return n ? std::string(pco_Errors()->qccz_GetLocationFileAt(n)) + ":" +
                   std::to_string(pco_Errors()->n_GetLocationLineAt(n))
             : "<none>";
}

// Every test runs in a new folder of its own, free of errors, with the platform as it is, and
// leaves nothing behind.
class FileTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        pco_Errors()->v_ClearError();
        CT_FileSystem::sv_MakeTemporaryName(&co_Folder, u"ctf", u"d", 0);
        ASSERT_TRUE(CT_FileSystem::sb_MakePath(&co_Folder));
        co_Folder.v_Append(su_Separator);
    }
    void TearDown() override
    {
        CT_OS::sv_Init();
        for (const CT_UString& co : aco_Names)
        {
            CT_WinFile co_File(&co, 0);
            co_File.v_SetAttributes(0x80);
            co_File.vv_Remove();
            CT_FileSystem::sb_RemovePath(&co);
        }
        CT_FileSystem::sb_RemovePath(&co_Folder);
        pco_Errors()->v_ClearError();
    }

    // A name in the test's folder, removed (as a file or an empty folder) after the test.
    CT_UString co_Path(const char16_t* qcuz_Name)
    {
        CT_UString co(&co_Folder);
        co.v_Append(qcuz_Name, CT_String::sn_All);
        aco_Names.push_back(co);
        return co;
    }

    static void sv_Write(const CT_UString& co_Name, const std::string& co_Bytes)
    {
        CT_WinFile co_File(&co_Name, 0);
        co_File.vv_Open(CT_File::eo_AccessWrite, CT_File::eo_OpenCreate, CT_File::eo_ShareExclusive,
                        CT_File::sn_AttributeNormal, 0);
        ASSERT_EQ(co_File.vn_Write(co_Bytes.data(), static_cast<unsigned>(co_Bytes.size())),
                  co_Bytes.size());
        co_File.vv_Close();
    }

    static std::string sco_Read(const CT_UString& co_Name)
    {
        CT_WinFile co_File(&co_Name, 0);
        co_File.vv_Open(CT_File::eo_AccessRead, CT_File::eo_OpenExisting, CT_File::eo_ShareRead,
                        CT_File::sn_AttributeNormal, 0);
        std::string co(co_File.vn_GetSize(), '\0');
        co.resize(co_File.vn_Read(co.data(), static_cast<unsigned>(co.size())));
        return co_File.b_IsOpen() ? co : "<missing>";
    }

    CT_UString co_Folder;
    std::vector<CT_UString> aco_Names;
};

// f (b_Wide) on both twins of the platform's calls: the 16-bit one, then the 8-bit one with the
// platform forced below NT.
template <typename F>
void v_OnBothTwins(F f)
{
    for (bool b_Wide : {true, false})
    {
        if (!b_Wide)
            CT_OS::sv_ForceVersion(CT_OS::eo_Windows98);
        f(b_Wide);
        CT_OS::sv_Init();
    }
}
