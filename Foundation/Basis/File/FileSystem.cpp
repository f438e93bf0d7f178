#include "Basis/File/FileSystem.h"

#include "Basis/File/PathText.h"
#include "Basis/Platform/FileSystem.h"
#include "Basis/Platform/Path.h"
#include "Basis/Platform/Thread.h"
#include "Basis/Runtime/Failure.h"

#include <algorithm>
#include <ctime>
#include <limits>
#include <string>

namespace
{
using CT_Path = CT_PlatformPath;
using CT_System = CT_PlatformFileSystem;

constexpr const char* sqccz_File = "Foundation\\Basis\\File\\FileSystem";
constexpr unsigned sn_LineCurrentPathWide = 232;
constexpr unsigned sn_LineCurrentPathNarrow = 243;
constexpr unsigned sn_LineFullPathWide = 436;
constexpr unsigned sn_LineFullPathNarrow = 449;
constexpr unsigned sn_LineTemporaryName = 711;

constexpr unsigned sn_TemporaryAttempts = 100001;
constexpr unsigned san_PowersOfTen[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000};

// The C runtime's generator of Windows (0 to 32767), seeded per call, so that the names do not
// depend on, nor disturb, the process's rand().
class CT_Random
{
public:
    explicit CT_Random(unsigned n_Seed) : n_State(n_Seed) {}
    unsigned n_Next()
    {
        n_State = n_State * 214013u + 2531011u;
        return (n_State >> 16) & 0x7FFFu;
    }

private:
    unsigned n_State;
};

std::int32_t si4_Clamped(std::int64_t i)
{
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        i, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

void v_Empty(CT_String* pco)
{
    pco->v_Set(u"", 0);
}

// The drive's length: a letter and a colon, where paths have drives.
unsigned n_DriveLength(const std::u16string& co)
{
    return CT_Path::sb_HasDrives && co.size() >= 2 && co[1] == u':' ? 2 : 0;
}

void v_Give(CT_String* pco_Out, const std::u16string& co, std::size_t n_Start, std::size_t n_End)
{
    if (pco_Out)
        pco_Out->v_Set(co.data() + n_Start, static_cast<unsigned>(n_End - n_Start));
}

std::u16string co_Text(const CT_String* pcco)
{
    CT_UString co(pcco);
    return std::u16string(co.qcuz_Get(), co.n_GetLength());
}

// The next separator from n_From: the first kind where there is one, else the second.
std::size_t n_NextSeparator(const std::u16string& co, std::size_t n_From)
{
    for (const char16_t* pcu = CT_Path::sau_Separators; *pcu; ++pcu)
    {
        std::size_t n = co.find(*pcu, n_From);
        if (n != std::u16string::npos)
            return n;
    }
    return std::u16string::npos;
}
} // namespace

int CT_FileSystem::sb_IsExistent(const CT_String* pcco_Path)
{
    return CT_PathText::sx_Call(pcco_Path, [](auto pct) { return CT_System::sb_Exists(pct); });
}

CT_FileSystem::st_Stat CT_FileSystem::sso_GetStat(const CT_UString* pcco_Path)
{
    st_Stat so = {};
    st_PlatformStat so_Platform = {};
    if (!pcco_Path || pcco_Path->n_GetLength() == 0 ||
        !CT_PathText::sx_Call(pcco_Path,
                              [&](auto pct) { return CT_System::sb_Stat(pct, &so_Platform); }))
        return so;
    so.n_Kind = so_Platform.b_Directory    ? sn_KindFolder
                : so_Platform.b_Fifo       ? sn_KindPipe
                : so_Platform.b_Regular    ? sn_KindFile
                : so_Platform.b_CharDevice ? sn_KindDevice
                                           : sn_KindNone;
    so.n_Size = static_cast<std::uint32_t>(
        std::min<std::uint64_t>(so_Platform.n_Size, std::numeric_limits<std::uint32_t>::max()));
    so.si4_Creation = si4_Clamped(so_Platform.i_Creation);
    so.si4_Access = si4_Clamped(so_Platform.i_Access);
    so.si4_Modification = si4_Clamped(so_Platform.i_Modification);
    return so;
}

int CT_FileSystem::sb_IsFile(const CT_UString* pcco_Path)
{
    return sso_GetStat(pcco_Path).n_Kind == sn_KindFile;
}

int CT_FileSystem::sb_IsFolder(const CT_UString* pcco_Path)
{
    return sso_GetStat(pcco_Path).n_Kind == sn_KindFolder;
}

int CT_FileSystem::sb_IsPipe(const CT_UString* pcco_Path)
{
    return sso_GetStat(pcco_Path).n_Kind == sn_KindPipe;
}

int CT_FileSystem::sb_IsDevice(const CT_UString* pcco_Path)
{
    return sso_GetStat(pcco_Path).n_Kind == sn_KindDevice;
}

std::uint32_t CT_FileSystem::sn4_GetSize(const CT_UString* pcco_Path)
{
    return sso_GetStat(pcco_Path).n_Size;
}

std::int32_t CT_FileSystem::si4_GetCreationDate(const CT_UString* pcco_Path)
{
    return sso_GetStat(pcco_Path).si4_Creation;
}

std::int32_t CT_FileSystem::si4_GetAccessDate(const CT_UString* pcco_Path)
{
    return sso_GetStat(pcco_Path).si4_Access;
}

std::int32_t CT_FileSystem::si4_GetModificationDate(const CT_UString* pcco_Path)
{
    return sso_GetStat(pcco_Path).si4_Modification;
}

// The message's arguments are the (empty) folder text, the failing call and errno, the texts
// 16-bit on both twins, so that one format string serves both.
void CT_FileSystem::sv_GetCurrentPath(CT_String* pco_Out, unsigned n_Drive)
{
    if (CT_PathText::sb_Get(pco_Out, [&](auto* pco)
                            { return CT_System::sb_GetCurrentFolder(n_Drive, pco); }))
        return;
    int i_Errno = CT_System::si_Errno();
    bool b_Wide = CT_PathText::sb_Wide();
    CT_Failure::sv_ReportError(static_cast<unsigned>(i_Errno), nullptr, sn_MessageCurrentPath,
                               sqccz_File,
                               b_Wide ? sn_LineCurrentPathWide : sn_LineCurrentPathNarrow, u"",
                               b_Wide ? u"tgetdcwd" : u"getdcwd", i_Errno);
    v_Empty(pco_Out);
}

void CT_FileSystem::sv_SplitPath(const CT_String* pcco_Path, CT_String* pco_Drive,
                                 CT_String* pco_Directory, CT_String* pco_Name,
                                 CT_String* pco_Extension)
{
    std::u16string co = co_Text(pcco_Path);
    std::size_t n_Drive = n_DriveLength(co);
    std::size_t n_Name = n_Drive;
    for (std::size_t n = n_Drive; n < co.size(); ++n)
        if (CT_Path::sb_IsSeparator(co[n]))
            n_Name = n + 1;
    std::size_t n_Dot = co.rfind(u'.');
    std::size_t n_Extension = n_Dot != std::u16string::npos && n_Dot >= n_Name ? n_Dot : co.size();
    v_Give(pco_Drive, co, 0, n_Drive);
    v_Give(pco_Directory, co, n_Drive, n_Name);
    v_Give(pco_Name, co, n_Name, n_Extension);
    v_Give(pco_Extension, co, n_Extension, co.size());
}

void CT_FileSystem::sv_MakePath(CT_String* pco_Out, const CT_String* pcco_Drive,
                                const CT_String* pcco_Directory, const CT_String* pcco_Name,
                                const CT_String* pcco_Extension)
{
    std::u16string co_Drive = co_Text(pcco_Drive), co_Directory = co_Text(pcco_Directory),
                   co_Extension = co_Text(pcco_Extension);
    std::u16string co;
    if (CT_Path::sb_HasDrives && !co_Drive.empty())
        co = {co_Drive[0], u':'};
    co += co_Directory;
    if (!co_Directory.empty() && !CT_Path::sb_IsSeparator(co_Directory.back()))
        co += CT_Path::su_Separator;
    co += co_Text(pcco_Name);
    if (!co_Extension.empty() && co_Extension[0] != u'.')
        co += u'.';
    co += co_Extension;
    v_Give(pco_Out, co, 0, co.size());
}

int CT_FileSystem::sb_FullPath(CT_String* pco_Path)
{
    if (CT_PathText::sb_Transform(pco_Path, pco_Path,
                                  [](auto pct, auto* pco)
                                  { return CT_System::sb_FullPath(pct, pco); }))
        return 1;
    CT_Failure::sv_ReportError(sn_MessagePath, nullptr, sn_MessagePath, sqccz_File,
                               CT_PathText::sb_Wide() ? sn_LineFullPathWide
                                                      : sn_LineFullPathNarrow);
    return 0;
}

void CT_FileSystem::sv_FullPath(CT_String* pco_Path)
{
    sb_FullPath(pco_Path);
}

void CT_FileSystem::sv_MakeDisplayString(CT_String* pco_Path, unsigned n_Maximum)
{
    std::u16string co = co_Text(pco_Path);
    if (co.size() <= n_Maximum)
        return;
    std::size_t n_Start = n_DriveLength(co);
    if (n_Start < co.size() && CT_Path::sb_IsSeparator(co[n_Start]))
        ++n_Start;
    std::size_t n_Cut = 0;
    for (std::size_t n_From = n_Start;;)
    {
        std::size_t n_Separator = n_NextSeparator(co, n_From);
        if (n_Separator == std::u16string::npos)
            break;
        n_Cut = n_Separator - n_Start;
        if (co.size() - n_Cut + 3 <= n_Maximum)
            break;
        n_From = n_Separator + 1;
    }
    if (n_Cut == 0)
        return;
    co.replace(n_Start, n_Cut, u"...");
    v_Give(pco_Path, co, 0, co.size());
}

void CT_FileSystem::sv_MakeTemporaryName(CT_String* pco_Out, const char16_t* qcuz_Prefix,
                                         const char16_t* qcuz_Extension, int b_Short)
{
    v_Empty(pco_Out);
    if (!qcuz_Prefix)
        qcuz_Prefix = u"";
    if (!qcuz_Extension)
        qcuz_Extension = u"tmp";
    std::size_t n_Prefix = std::char_traits<char16_t>::length(qcuz_Prefix);
    CT_UString co_Folder;
    // A short name needs room for at least one digit after the prefix.
    bool b_Possible = !(b_Short && n_Prefix > 7) &&
                      CT_PathText::sb_Get(&co_Folder, [](auto* pco)
                                          { return CT_System::sb_GetTemporaryFolder(pco); });
    unsigned n_Length = co_Folder.n_GetLength();
    if (n_Length && !CT_Path::sb_IsSeparator(co_Folder.u_GetAt(n_Length - 1)))
        co_Folder.v_Append(CT_Path::su_Separator);
    CT_Random co_Random(static_cast<unsigned>(std::time(nullptr)));
    unsigned n_Thread = CT_PlatformThread::sn_GetCurrentId();
    unsigned n_ThreadModulo = n_Prefix < 5 ? 100 : 10;
    unsigned n_RandomModulo =
        san_PowersOfTen[(n_Prefix < 5 ? 6 : 7) - std::min<std::size_t>(n_Prefix, 7)];
    CT_UString co_Name;
    for (unsigned n = 0; b_Possible && n < sn_TemporaryAttempts; ++n)
    {
        unsigned n_Random = co_Random.n_Next();
        co_Name.v_Format(u"%s%s%u%u.%s", co_Folder.qcuz_Get(), qcuz_Prefix,
                         b_Short ? n_Thread % n_ThreadModulo : n_Thread,
                         b_Short ? n_Random % n_RandomModulo : n_Random, qcuz_Extension);
        if (sb_IsExistent(&co_Name))
            continue;
        if (!sb_FullPath(&co_Name))
            break;
        pco_Out->v_Set(&co_Name);
        return;
    }
    CT_Failure::sv_ReportError(sn_MessagePath, nullptr, sn_MessagePath, sqccz_File,
                               sn_LineTemporaryName);
}

void CT_FileSystem::sv_MakeTemporaryName(CT_String* pco_Out, const CT_String* pcco_Prefix,
                                         const CT_String* pcco_Extension,
                                         const CT_String* /*pcco_Unused*/)
{
    CT_UString co_Prefix(pcco_Prefix), co_Extension(pcco_Extension);
    sv_MakeTemporaryName(pco_Out, co_Prefix.qcuz_Get(),
                         pcco_Extension ? co_Extension.qcuz_Get() : nullptr, 0);
}

int CT_FileSystem::sb_ChangePath(const CT_String* pcco_Path)
{
    return CT_PathText::sx_Call(pcco_Path,
                                [](auto pct) { return CT_System::sb_ChangeFolder(pct); });
}

int CT_FileSystem::sb_MakePath(const CT_String* pcco_Path)
{
    return CT_PathText::sx_Call(pcco_Path, [](auto pct) { return CT_System::sb_MakeFolder(pct); });
}

int CT_FileSystem::sb_RemovePath(const CT_String* pcco_Path)
{
    return CT_PathText::sx_Call(pcco_Path,
                                [](auto pct) { return CT_System::sb_RemoveFolder(pct); });
}
