// CT_FileSystem: static operations on paths and on the file system: existence and status of a
// path, its size and times, the current directory, splitting and joining paths, full paths, a
// shortened display form, unique temporary file names, and changing, creating and removing
// directories.
//
// Every operation that reaches the file system takes the twin that CT_OS chooses: 16-bit text
// with the wide services on the NT family, 8-bit text in the ANSI code page before it. Paths
// are those of the platform (Basis/Platform/Path.h): on Windows with drives and backslashes,
// natively POSIX paths, where the drive part is always empty and only the slash separates.
//
// Queries give neutral values on failure (false, 0, an all-zero status, an unchanged string).
// Only the current directory (message sn_MessageCurrentPath), the full path and the temporary
// name (code and message sn_MessagePath) report to the error manager; their texts belong to
// the application's string table. No state of its own: the current directory is the process's,
// and temporary names from two threads differ by the thread identifier in them.
#pragma once

#include "Basis/Platform/Export.h"

#include <cstdint>

class CT_String;
class CT_UString;

class CT_EXPORT CT_FileSystem
{
public:
    static constexpr unsigned sn_MessageCurrentPath = 60003;
    static constexpr unsigned sn_MessagePath = 60012;

    // Kinds of a path.
    static constexpr unsigned sn_KindNone = 0, sn_KindFile = 1, sn_KindFolder = 2, sn_KindPipe = 3,
                              sn_KindDevice = 4;

    // All zero for a path that is null, empty or cannot be examined. Sizes of 4 GB and more
    // read as 0xFFFFFFFF; times are seconds since 1970-01-01 00:00 UTC, held within 32 bits.
    struct st_Stat
    {
        unsigned n_Kind;
        std::uint32_t n_Size;
        std::int32_t si4_Creation;
        std::int32_t si4_Access;
        std::int32_t si4_Modification;
    };

    static int sb_IsExistent(const CT_String* pcco_Path);
    static st_Stat sso_GetStat(const CT_UString* pcco_Path);
    static int sb_IsFile(const CT_UString* pcco_Path);
    static int sb_IsFolder(const CT_UString* pcco_Path);
    static int sb_IsPipe(const CT_UString* pcco_Path);
    static int sb_IsDevice(const CT_UString* pcco_Path);
    static std::uint32_t sn4_GetSize(const CT_UString* pcco_Path);
    static std::int32_t si4_GetCreationDate(const CT_UString* pcco_Path);
    static std::int32_t si4_GetAccessDate(const CT_UString* pcco_Path);
    static std::int32_t si4_GetModificationDate(const CT_UString* pcco_Path);

    // The working directory of a drive (0 the current drive, 1 A:, 2 B:, ...); natively only
    // drive 0 exists. Empty after a failure.
    static void sv_GetCurrentPath(CT_String* pco_Out, unsigned n_Drive);

    // The drive (letter and colon), the directory with its leading and trailing separators, the
    // name and the extension with its dot; null outputs are skipped.
    static void sv_SplitPath(const CT_String* pcco_Path, CT_String* pco_Drive,
                             CT_String* pco_Directory, CT_String* pco_Name,
                             CT_String* pco_Extension);
    // The reverse: a separator after the directory and a dot before the extension where they
    // are missing; null inputs count as empty. Natively a drive is not part of a path.
    static void sv_MakePath(CT_String* pco_Out, const CT_String* pcco_Drive,
                            const CT_String* pcco_Directory, const CT_String* pcco_Name,
                            const CT_String* pcco_Extension);
    static void sv_FullPath(CT_String* pco_Path);
    // Directories after the drive give way to "..." until the path fits n_Maximum characters,
    // or no more can go: the drive and the last component always stay.
    static void sv_MakeDisplayString(CT_String* pco_Path, unsigned n_Maximum);

    // A full name in the temporary folder that names no existing file: prefix, thread
    // identifier and random digits, a dot and the extension (null: "tmp"). With b_Short the
    // digits are cut so that prefix and digits make 8 characters, which needs a prefix of at
    // most 7. Empty, with error sn_MessagePath, when none of 100001 candidates is free.
    static void sv_MakeTemporaryName(CT_String* pco_Out, const char16_t* qcuz_Prefix,
                                     const char16_t* qcuz_Extension, int b_Short);
    // The same without the short form; the fourth argument is not used.
    static void sv_MakeTemporaryName(CT_String* pco_Out, const CT_String* pcco_Prefix,
                                     const CT_String* pcco_Extension, const CT_String* pcco_Unused);

    static int sb_ChangePath(const CT_String* pcco_Path);
    // One level; the parent must exist.
    static int sb_MakePath(const CT_String* pcco_Path);
    // An empty directory only.
    static int sb_RemovePath(const CT_String* pcco_Path);

private:
    static int sb_FullPath(CT_String* pco_Path);
};
