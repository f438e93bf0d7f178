// The module's static initialiser list: every static object of the library whose construction
// order matters is defined here, in the order it must be built. Static exit runs in reverse, so
// each prototype is destroyed before its type record and each pool after the objects of the
// entries that follow it. Classes added later append their entries in their place.
#include "Basis/Collection/StringMaps.h"
#include "Basis/Collection/VoidArray.h"
#include "Basis/File/WinFile.h"
#include "Basis/Platform/Heap.h"
#include "Basis/Runtime/ErrorManager.h"
#include "Basis/Runtime/Init.h"
#include "Basis/Runtime/OS.h"
#include "Basis/Runtime/Type.h"
#include "System/Charset/Language.h"
#include "System/String/Buffer.h"
#include "System/String/CString.h"
#include "System/String/String.h"
#include "System/String/UString.h"
#include "System/String/UTF.h"

namespace
{
constexpr unsigned sn_PoolHint = 1024;

_SHI_Pool* pso_NewPool(unsigned n_ElementSize, unsigned n_Hint = sn_PoolHint)
{
    return CT_Heap::spso_CreatePool(n_ElementSize, n_Hint, 0);
}
} // namespace

// 1. CT_CString: record, prototype, object pool.
CT_Type CT_CString::sco_Type("CT_CString", &CT_CString::sco_Object, sizeof(CT_CString));
CT_CString CT_CString::sco_Object(&CT_CString::sco_Type);
_SHI_Pool* CT_CString::spso_Pool = pso_NewPool(sizeof(CT_CString));
static CT_Exit sco_CStringPoolExit("CT_CString", "spso_Pool",
                                   [] { CT_Heap::sv_DestroyPool(CT_CString::spso_GetMemPool()); });

// 2. CT_String: record and prototype, then the CT_Buffer object pool.
CT_Type CT_String::sco_Type("CT_String", &CT_String::sco_Object, sizeof(CT_String));
CT_String CT_String::sco_Object(&CT_String::sco_Type);
_SHI_Pool* CT_Buffer::spso_Pool = pso_NewPool(sizeof(CT_Buffer));
static CT_Exit sco_BufferPoolExit("CT_Buffer", "spso_Pool",
                                  [] { CT_Heap::sv_DestroyPool(CT_Buffer::spso_GetMemPool()); });

// 3. CT_UString: record, prototype, object pool.
CT_Type CT_UString::sco_Type("CT_UString", &CT_UString::sco_Object, sizeof(CT_UString));
CT_UString CT_UString::sco_Object(&CT_UString::sco_Type);
_SHI_Pool* CT_UString::spso_Pool = pso_NewPool(sizeof(CT_UString));
static CT_Exit sco_UStringPoolExit("CT_UString", "spso_Pool",
                                   [] { CT_Heap::sv_DestroyPool(CT_UString::spso_GetMemPool()); });

// 4. CT_VoidArray: object pool.
_SHI_Pool* CT_VoidArray::spso_Pool = pso_NewPool(sizeof(CT_VoidArray));
static CT_Exit sco_ArrayPoolExit("CT_VoidArray", "spso_Pool",
                                 [] { CT_Heap::sv_DestroyPool(CT_VoidArray::spso_GetMemPool()); });

// 5. CT_UTF: the codecs' dispatch point, which follows the processor's level.
static CT_Init sco_UTFInit("CT_UTF", "sv_Init", CT_UTF::sv_Init);

// 6. CT_ErrorManager: the single instance, from here to the end of static exit.
CT_Init CT_ErrorManager::sco_Init("CT_ErrorManager", "sv_Init", CT_ErrorManager::sv_Init);
CT_Exit CT_ErrorManager::sco_Exit("CT_ErrorManager", "sv_Exit", CT_ErrorManager::sv_Exit);

// 7. CT_OS: the platform code, which the classes after it may ask.
CT_Init CT_OS::sco_Init("CT_OS", "sv_Init", CT_OS::sv_Init);

// 8. CT_Language: the list of primary codes, from here to just before the error manager's exit.
CT_Init CT_Language::sco_Init("CT_Language", "sv_Init", CT_Language::sv_Init);
CT_Exit CT_Language::sco_Exit("CT_Language", "sv_Exit", CT_Language::sv_Exit);

// 9. CT_WinFile: object pool.
_SHI_Pool* CT_WinFile::spso_Pool = pso_NewPool(sizeof(CT_WinFile), 32);
static CT_Exit sco_WinFilePoolExit("CT_WinFile", "spso_Pool",
                                   [] { CT_Heap::sv_DestroyPool(CT_WinFile::spso_GetMemPool()); });

// 10. The string maps: object pools.
_SHI_Pool* CT_StringOrdinalMap::spso_Pool = pso_NewPool(sizeof(CT_StringOrdinalMap), 16);
static CT_Exit
    sco_OrdinalMapPoolExit("CT_StringOrdinalMap", "spso_Pool",
                           [] { CT_Heap::sv_DestroyPool(CT_StringOrdinalMap::spso_GetMemPool()); });
_SHI_Pool* CT_StringNumberMap::spso_Pool = pso_NewPool(sizeof(CT_StringNumberMap), 16);
static CT_Exit
    sco_NumberMapPoolExit("CT_StringNumberMap", "spso_Pool",
                          [] { CT_Heap::sv_DestroyPool(CT_StringNumberMap::spso_GetMemPool()); });
_SHI_Pool* CT_StringStringMap::spso_Pool = pso_NewPool(sizeof(CT_StringStringMap), 16);
static CT_Exit
    sco_StringMapPoolExit("CT_StringStringMap", "spso_Pool",
                          [] { CT_Heap::sv_DestroyPool(CT_StringStringMap::spso_GetMemPool()); });
