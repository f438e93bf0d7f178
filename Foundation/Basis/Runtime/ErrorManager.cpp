#include "Basis/Runtime/ErrorManager.h"

#include "Basis/Platform/Codepage.h"
#include "Basis/Platform/Heap.h"
#include "Basis/Platform/SystemText.h"
#include "Basis/Runtime/LoadString.h"
#include "Basis/Runtime/OS.h"
#include "System/Charset/Codepage.h"
#include "System/String/Formatter.h"

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <new>
#include <string>

namespace
{
struct st_HRESULTText
{
    std::uint32_t n_Value;
    const char* qccz_Text;
};

constexpr st_HRESULTText saso_HRESULTTexts[] = {
#include "HRESULTDescriptions.inc"
};
static_assert(std::is_sorted(std::begin(saso_HRESULTTexts), std::end(saso_HRESULTTexts),
                             [](const st_HRESULTText& a, const st_HRESULTText& b)
                             { return a.n_Value < b.n_Value; }),
              "the lookup searches the table by halves");

constexpr char16_t su_Blank = u' ';

unsigned n_Length(const char16_t* pcu_Text)
{
    return static_cast<unsigned>(std::char_traits<char16_t>::length(pcu_Text));
}

unsigned n_Print(char16_t* pu_Out, unsigned n_Capacity, const char16_t* qcuz_Format, ...)
{
    va_list args;
    va_start(args, qcuz_Format);
    unsigned n = CT_Formatter::sn_Format(pu_Out, n_Capacity, qcuz_Format, args);
    va_end(args);
    return n;
}

bool b_IsLineEnd(char16_t u)
{
    return u == u'\r' || u == u'\n';
}

// Reads "(n)" at the start of a text as swscanf's "(%d)" would read the number: blanks before
// it, an optional sign, decimal digits, wrapping like the C library's conversion.
bool b_ReadCodePrefix(const char16_t* pcu_Text, unsigned* pn_Code)
{
    if (*pcu_Text++ != u'(')
        return false;
    while (*pcu_Text == u' ' || (*pcu_Text >= u'\t' && *pcu_Text <= u'\r'))
        ++pcu_Text;
    bool b_Negative = *pcu_Text == u'-';
    if (*pcu_Text == u'-' || *pcu_Text == u'+')
        ++pcu_Text;
    if (*pcu_Text < u'0' || *pcu_Text > u'9')
        return false;
    unsigned n = 0;
    for (; *pcu_Text >= u'0' && *pcu_Text <= u'9'; ++pcu_Text)
        n = n * 10 + (*pcu_Text - u'0');
    *pn_Code = b_Negative ? 0u - n : n;
    return *pcu_Text == u')';
}

int b_Use8BitCalls()
{
    return CT_OS::seo_GetVersion() < CT_OS::eo_WindowsNT;
}

// "name: line n\n" of one trail entry, the name being what follows the file's last backslash,
// else its last slash. Returns the units written.
unsigned n_FormatLocation(const CT_ErrorManager::st_location* pcso_Location, char16_t* pu_Out,
                          unsigned n_Capacity)
{
    constexpr char16_t sau_Format[] = u"%s: line %d\n";
    const char* pcc_File = pcso_Location->qccz_File ? pcso_Location->qccz_File : "";
    const char* pcc_Name = std::strrchr(pcc_File, '\\');
    if (!pcc_Name)
        pcc_Name = std::strrchr(pcc_File, '/');
    int i_Line = static_cast<int>(pcso_Location->n_Line);
    if (!pcc_Name)
        return n_Print(pu_Out, n_Capacity, sau_Format, u"(unknown file)", i_Line);
    char16_t au_Name[CT_ErrorManager::sn_TextSize];
    int n_Bytes = 0;
    while (n_Bytes < static_cast<int>(CT_ErrorManager::sn_TextSize) - 1 && pcc_Name[1 + n_Bytes])
        ++n_Bytes;
    int n_Units =
        n_Bytes ? CT_PlatformCodepage::si_MultiToWide(CT_Codepage::sn_ANSI, pcc_Name + 1, n_Bytes,
                                                      au_Name, CT_ErrorManager::sn_TextSize - 1)
                : 0;
    au_Name[n_Units > 0 ? n_Units : 0] = 0;
    return n_Print(pu_Out, n_Capacity, sau_Format, au_Name, i_Line);
}

// The error's text, a blank line, and one line per trail entry while the entries fit.
void v_ComposeBody(const CT_ErrorManager::st_error* pcso_Error, char16_t* pu_Body, unsigned n_Room)
{
    unsigned n = n_Print(pu_Body, n_Room, u"%s\n\n", pcso_Error ? pcso_Error->au_Message : u"");
    unsigned n_Entries = 0;
    for (auto* pcso = pcso_Error ? pcso_Error->pso_FirstLocation : nullptr; pcso;
         pcso = pcso->pso_Next)
    {
        char16_t au_Entry[CT_ErrorManager::sn_TextSize];
        unsigned n_Entry = n_FormatLocation(pcso, au_Entry, CT_ErrorManager::sn_TextSize);
        if (n + n_Entry >= n_Room)
            break;
        std::copy_n(au_Entry, n_Entry + 1, pu_Body + n);
        n += n_Entry;
        ++n_Entries;
    }
    // The last entry's line end goes; with no entry, the blank line after the text.
    for (unsigned n_Ends = n_Entries ? 1 : 2; n_Ends && n && pu_Body[n - 1] == u'\n'; --n_Ends)
        pu_Body[--n] = 0;
}
} // namespace

CT_ErrorManager* CT_ErrorManager::spco_ErrorManager = nullptr;
HINSTANCE CT_ErrorManager::sh_Instance = nullptr;
const char16_t CT_ErrorManager::sau_ErrorFormat[] = u"(%d): %s";

void CT_ErrorManager::st_location::v_Null()
{
    qccz_File = nullptr;
    n_Line = 0;
    pso_Next = nullptr;
}

void CT_ErrorManager::st_error::v_Null()
{
    h_Instance = nullptr;
    n_Thread = 0;
    n_ErrorCode = 0;
    n_FormatID = 0;
    au_Message[0] = 0;
    n_LocationCount = 0;
    pso_FirstLocation = nullptr;
    pso_LastLocation = nullptr;
    pso_Next = nullptr;
    b_Ignore = 0;
}

// ---------------------------------------------------------------------------------------------
// Life cycle

void CT_ErrorManager::sv_Init()
{
    spco_ErrorManager = new CT_ErrorManager(sn_ErrorPoolSize, sn_LocationPoolSize);
}

void CT_ErrorManager::sv_Exit()
{
    delete spco_ErrorManager;
    spco_ErrorManager = nullptr;
}

CT_ErrorManager::CT_ErrorManager(unsigned n_ErrorPoolSize, unsigned n_LocationPoolSize)
    : n_ErrorPoolSize(n_ErrorPoolSize), n_LocationPoolSize(n_LocationPoolSize)
{
    v_Null();
    v_Init();
}

void CT_ErrorManager::v_Null()
{
    paso_Errors = pso_FreeErrors = pso_Errors = pso_HeldErrors = nullptr;
    paso_Locations = pso_FreeLocations = nullptr;
    b_InterruptOnError = 0;
    b_DebugMessageOnError = 0;
}

void CT_ErrorManager::v_Init()
{
    paso_Errors = static_cast<st_error*>(CT_Heap::spv_Alloc(n_ErrorPoolSize * sizeof(st_error)));
    paso_Locations =
        static_cast<st_location*>(CT_Heap::spv_Alloc(n_LocationPoolSize * sizeof(st_location)));
    // Chained from the top down, so that the lowest address is taken first.
    for (unsigned i = n_ErrorPoolSize; i-- > 0;)
    {
        st_error* pso = new (&paso_Errors[i]) st_error;
        pso->v_Null();
        pso->pso_Next = pso_FreeErrors;
        pso_FreeErrors = pso;
    }
    for (unsigned i = n_LocationPoolSize; i-- > 0;)
    {
        st_location* pso = new (&paso_Locations[i]) st_location;
        pso->v_Null();
        pso->pso_Next = pso_FreeLocations;
        pso_FreeLocations = pso;
    }
    b_InterruptOnError = 0;
    b_DebugMessageOnError = 1;
}

void CT_ErrorManager::v_Exit()
{
    CT_Heap::sv_Free(paso_Errors);
    CT_Heap::sv_Free(paso_Locations);
    for (unsigned i = co_MapItems.n_GetCount(); i > 0; --i)
        CT_Heap::sv_Free(co_MapItems.p_GetAt(i));
    co_MapItems.v_Set(0, 0, 0);
    v_Null();
}

unsigned CT_ErrorManager::n_GetThread()
{
    return CT_PlatformThread::sn_GetCurrentId();
}

// ---------------------------------------------------------------------------------------------
// Records and lists

CT_ErrorManager::st_error* CT_ErrorManager::pso_Find(st_error* pso_List, unsigned n_Thread)
{
    for (st_error* pso = pso_List; pso; pso = pso->pso_Next)
        if (pso->n_Thread == n_Thread)
            return pso;
    return nullptr;
}

void CT_ErrorManager::v_DestroyError(st_error** ppso_List, st_error* pso_Error)
{
    for (st_location* pso = pso_Error->pso_FirstLocation; pso;)
    {
        st_location* pso_Next = pso->pso_Next;
        pso->v_Null();
        pso->pso_Next = pso_FreeLocations;
        pso_FreeLocations = pso;
        pso = pso_Next;
    }
    st_error** ppso = ppso_List;
    while (*ppso != pso_Error)
        ppso = &(*ppso)->pso_Next;
    *ppso = pso_Error->pso_Next;
    pso_Error->v_Null();
    pso_Error->pso_Next = pso_FreeErrors;
    pso_FreeErrors = pso_Error;
}

CT_ErrorManager::st_error* CT_ErrorManager::pso_GetError(st_error* const* ppso_List) const
{
    unsigned n_Thread = n_GetThread();
    CT_CriticalSectionLock co_Lock(&o_CriticalSection);
    return pso_Find(*ppso_List, n_Thread);
}

const CT_ErrorManager::st_error* CT_ErrorManager::pso_GetError() const
{
    unsigned n_Thread = n_GetThread();
    CT_CriticalSectionLock co_Lock(&o_CriticalSection);
    st_error* pso = pso_Find(pso_Errors, n_Thread);
    return pso ? pso : pso_Find(pso_HeldErrors, n_Thread);
}

CT_ErrorManager::st_error*
CT_ErrorManager::pso_CreateNewError(unsigned n_Code, HINSTANCE h_Instance, unsigned n_FormatID)
{
    unsigned n_Thread = n_GetThread();
    st_error* pso;
    {
        CT_CriticalSectionLock co_Lock(&o_CriticalSection);
        if (pso_Find(pso_Errors, n_Thread))
            return nullptr;
        if (st_error* pso_Held = pso_Find(pso_HeldErrors, n_Thread))
            v_DestroyError(&pso_HeldErrors, pso_Held);
        // With every record in use the error goes unrecorded rather than ending the process,
        // which hosts this library.
        pso = pso_FreeErrors;
        if (!pso)
            return nullptr;
        pso_FreeErrors = pso->pso_Next;
        pso->pso_Next = pso_Errors;
        pso_Errors = pso;
        // Other threads compare it while walking the list, so it is written under the lock.
        pso->n_Thread = n_Thread;
    }
    pso->n_ErrorCode = n_Code;
    pso->h_Instance = h_Instance ? h_Instance : sh_Instance;
    pso->n_FormatID = n_FormatID;
    return pso;
}

// ---------------------------------------------------------------------------------------------
// Setting errors

CT_ErrorManager::pf_MapFunction CT_ErrorManager::pf_GetMapFunction(unsigned n_Thread) const
{
    CT_CriticalSectionLock co_Lock(&o_CriticalSection);
    for (unsigned i = co_MapItems.n_GetCount(); i > 0; --i)
    {
        const st_mapItem* pcso_Item = co_MapItems.p_GetAt(i);
        if (pcso_Item->n_Thread == n_Thread)
            return pcso_Item->pf_Map;
    }
    return nullptr;
}

int CT_ErrorManager::b_Mapped(st_error* pso_Error, unsigned n_Code, unsigned n_FormatID,
                              va_list args) const
{
    pf_MapFunction pf_Map = pf_GetMapFunction(n_GetThread());
    if (!pf_Map)
        return 0;
    // The arguments stay readable for the format string if the function declines.
    va_list co_Arguments;
    va_copy(co_Arguments, args);
    int b_Written = pf_Map(pso_Error->au_Message, sizeof pso_Error->au_Message, n_Code, n_FormatID,
                           co_Arguments);
    va_end(co_Arguments);
    pso_Error->au_Message[sn_TextSize - 1] = 0;
    return b_Written;
}

void CT_ErrorManager::v_SetError(unsigned n_Code, HINSTANCE h_Instance, unsigned n_FormatID, ...)
{
    va_list args;
    va_start(args, n_FormatID);
    v_SetErrorVaList(n_Code, h_Instance, n_FormatID, args);
    va_end(args);
}

void CT_ErrorManager::v_SetErrorVaList(unsigned n_Code, HINSTANCE h_Instance, unsigned n_FormatID,
                                       va_list args)
{
    st_error* pso = pso_CreateNewError(n_Code, h_Instance, n_FormatID);
    if (!pso)
        return;
    if (!b_Mapped(pso, n_Code, n_FormatID, args))
    {
        // A missing resource loads as the empty format, leaving the code prefix alone.
        char16_t au_Format[sn_TextSize];
        CT_LoadString::sv_LoadString(au_Format, sn_TextSize, pso->h_Instance, n_FormatID);
        CT_Formatter::sn_Format(pso->au_Message, sn_TextSize, au_Format, args);
    }
    sv_PrefixCode(pso);
}

void CT_ErrorManager::sv_PrefixCode(st_error* pso_Error)
{
    char16_t au_Text[sn_TextSize];
    n_Print(au_Text, sn_TextSize, sau_ErrorFormat, static_cast<int>(pso_Error->n_ErrorCode),
            pso_Error->au_Message);
    std::copy_n(au_Text, sn_TextSize, pso_Error->au_Message);
}

void CT_ErrorManager::v_SetError(unsigned n_Code, const char16_t* qcuz_Format, ...)
{
    va_list args;
    va_start(args, qcuz_Format);
    v_SetCodedError(n_Code, qcuz_Format, args);
    va_end(args);
}

void CT_ErrorManager::v_SetCodedError(unsigned n_Code, const char16_t* qcuz_Format, va_list args)
{
    st_error* pso = pso_CreateNewError(n_Code, nullptr, 0);
    if (!pso)
        return;
    if (!b_Mapped(pso, n_Code, n_Code, args) && qcuz_Format)
        CT_Formatter::sn_Format(pso->au_Message, sn_TextSize, qcuz_Format, args);
    sv_PrefixCode(pso);
}

void CT_ErrorManager::v_SetMessageError(const char16_t* qcuz_Format, ...)
{
    va_list args;
    va_start(args, qcuz_Format);
    v_SetMessageErrorVaList(qcuz_Format, args);
    va_end(args);
}

void CT_ErrorManager::v_SetMessageErrorVaList(const char16_t* qcuz_Format, va_list args)
{
    st_error* pso = pso_CreateNewError(0, nullptr, 0);
    if (pso && qcuz_Format)
        CT_Formatter::sn_Format(pso->au_Message, sn_TextSize, qcuz_Format, args);
}

void CT_ErrorManager::v_SetMessageError(const char* qccz_Format, ...)
{
    va_list args;
    va_start(args, qccz_Format);
    v_SetMessageErrorVaList(qccz_Format, args);
    va_end(args);
}

void CT_ErrorManager::v_SetMessageErrorVaList(const char* qccz_Format, va_list args)
{
    st_error* pso = pso_CreateNewError(0, nullptr, 0);
    if (!pso || !qccz_Format)
        return;
    char ac_Text[sn_TextSize];
    CT_Formatter::sn_Format(ac_Text, sn_TextSize, qccz_Format, args);
    // Text and terminator; every byte gives at most one unit, so the record holds the result.
    if (CT_PlatformCodepage::si_MultiToWide(CT_Codepage::sn_ANSI, ac_Text, -1, pso->au_Message,
                                            sn_TextSize) <= 0)
        pso->au_Message[0] = 0;
}

CT_ErrorManager::st_error* CT_ErrorManager::pso_SetSystemError()
{
    unsigned n_Code = CT_PlatformSystemText::sn_GetLastError();
    char16_t au_System[sn_TextSize];
    int b_HasText =
        CT_PlatformSystemText::sb_GetErrorText(n_Code, b_Use8BitCalls(), au_System, sn_TextSize);
    st_error* pso = pso_CreateNewError(n_Code, nullptr, 0);
    if (pso && b_HasText)
    {
        n_Print(pso->au_Message, sn_TextSize, sau_ErrorFormat, static_cast<int>(n_Code), au_System);
        sv_StripSystemError(pso->au_Message);
    }
    CT_PlatformSystemText::sv_SetLastError(0);
    return pso;
}

void CT_ErrorManager::v_SetSystemError()
{
    pso_SetSystemError();
}

void CT_ErrorManager::v_SetSystemError(const char16_t* qcuz_Format, ...)
{
    st_error* pso = pso_SetSystemError();
    if (!pso || !qcuz_Format)
        return;
    char16_t* pu_Text = pso->au_Message;
    unsigned n = n_Length(pu_Text);
    if (n && pu_Text[n - 1] == su_Blank)
        pu_Text[--n] = 0;
    // Each piece is cut to the room left, so the whole stays within the record.
    n += n_Print(pu_Text + n, sn_TextSize - n, u" [");
    va_list args;
    va_start(args, qcuz_Format);
    n += CT_Formatter::sn_Format(pu_Text + n, sn_TextSize - n, qcuz_Format, args);
    va_end(args);
    n_Print(pu_Text + n, sn_TextSize - n, u"]");
}

void CT_ErrorManager::sv_StripSystemError(char16_t* pu_Text)
{
    unsigned n = n_Length(pu_Text);
    while (n > 1 && b_IsLineEnd(pu_Text[n - 1]))
        pu_Text[--n] = 0;
    unsigned n_Out = 0;
    for (unsigned i = 0; i < n; ++i)
    {
        char16_t u = pu_Text[i];
        if (b_IsLineEnd(u))
        {
            if (n_Out && pu_Text[n_Out - 1] == su_Blank)
                continue;
            u = su_Blank;
        }
        pu_Text[n_Out++] = u;
    }
    pu_Text[n_Out] = 0;
}

void CT_ErrorManager::v_SetCOMError(HRESULT hr)
{
    char16_t au_Description[sn_TextSize];
    if (CT_PlatformSystemText::sb_TakeCOMError(au_Description, sn_TextSize))
    {
        if (hr < 0)
            v_SetDescribedError(hr, au_Description);
        return;
    }
    // Texts go in as arguments, never as formats: a '%' in them is text.
    if (hr < 0)
        v_SetError(static_cast<unsigned>(hr), u"%hs", sqccz_GetHRESULTDescription(hr));
}

void CT_ErrorManager::v_SetDescribedError(HRESULT hr, const char16_t* qcuz_Description)
{
    unsigned n_Code;
    if (!b_ReadCodePrefix(qcuz_Description, &n_Code))
    {
        v_SetError(static_cast<unsigned>(hr), u"%s", qcuz_Description);
        return;
    }
    const char16_t* pcu_Colon =
        std::char_traits<char16_t>::find(qcuz_Description, n_Length(qcuz_Description), u':');
    v_SetError(n_Code, u"%s", pcu_Colon ? pcu_Colon + 1 : qcuz_Description);
}

const char* CT_ErrorManager::sqccz_GetHRESULTDescription(HRESULT hr)
{
    auto n_Value = static_cast<std::uint32_t>(hr);
    const st_HRESULTText* pcso =
        std::lower_bound(std::begin(saso_HRESULTTexts), std::end(saso_HRESULTTexts), n_Value,
                         [](const st_HRESULTText& so, std::uint32_t n) { return so.n_Value < n; });
    if (pcso == std::end(saso_HRESULTTexts) || pcso->n_Value != n_Value)
        return "[No explanation]";
    return pcso->qccz_Text;
}

// ---------------------------------------------------------------------------------------------
// Mapping functions

void CT_ErrorManager::v_SetMapFunction(pf_MapFunction pf_Map, unsigned n_Thread)
{
    auto* pso_Item = static_cast<st_mapItem*>(CT_Heap::spv_Alloc(sizeof(st_mapItem)));
    pso_Item->n_Thread = n_Thread;
    pso_Item->pf_Map = pf_Map;
    CT_CriticalSectionLock co_Lock(&o_CriticalSection);
    co_MapItems.v_Insert(pso_Item);
}

void CT_ErrorManager::v_RemoveMapFunction(unsigned n_Thread)
{
    CT_CriticalSectionLock co_Lock(&o_CriticalSection);
    for (unsigned i = co_MapItems.n_GetCount(); i > 0; --i)
    {
        st_mapItem* pso_Item = co_MapItems.p_GetAt(i);
        if (pso_Item->n_Thread == n_Thread)
        {
            co_MapItems.v_RemoveAt(i);
            CT_Heap::sv_Free(pso_Item);
            return;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// The calling thread's error

int CT_ErrorManager::b_IsSetError() const
{
    const st_error* pcso = pso_GetError(&pso_Errors);
    return pcso && !pcso->b_Ignore;
}

int CT_ErrorManager::b_IsHoldError() const
{
    return pso_GetError(&pso_HeldErrors) != nullptr;
}

unsigned CT_ErrorManager::n_GetErrorCode() const
{
    const st_error* pcso = pso_GetError();
    return pcso ? pcso->n_ErrorCode : 0;
}

unsigned CT_ErrorManager::n_GetFormatID() const
{
    const st_error* pcso = pso_GetError();
    return pcso ? pcso->n_FormatID : 0;
}

const char16_t* CT_ErrorManager::qcuz_GetErrorMessage() const
{
    const st_error* pcso = pso_GetError();
    return pcso ? pcso->au_Message : nullptr;
}

unsigned CT_ErrorManager::n_GetLocationCount() const
{
    const st_error* pcso = pso_GetError();
    return pcso ? pcso->n_LocationCount : 0;
}

const CT_ErrorManager::st_location* CT_ErrorManager::pso_GetLocationAt(unsigned n_Index) const
{
    const st_error* pcso = pso_GetError();
    assert((!pcso || (n_Index >= 1 && n_Index <= pcso->n_LocationCount)) && "no such entry");
    const st_location* pcso_Location = pcso && n_Index ? pcso->pso_FirstLocation : nullptr;
    for (; pcso_Location && n_Index > 1; --n_Index)
        pcso_Location = pcso_Location->pso_Next;
    return pcso_Location;
}

const char* CT_ErrorManager::qccz_GetLocationFileAt(unsigned n_Index) const
{
    const st_location* pcso = pso_GetLocationAt(n_Index);
    return pcso ? pcso->qccz_File : nullptr;
}

unsigned CT_ErrorManager::n_GetLocationLineAt(unsigned n_Index) const
{
    const st_location* pcso = pso_GetLocationAt(n_Index);
    return pcso ? pcso->n_Line : 0;
}

void CT_ErrorManager::v_AddLocation(const char* qccz_File, unsigned n_Line)
{
    st_error* pso = pso_GetError(&pso_Errors);
    if (!pso)
        return;
    st_location* pso_Location;
    {
        CT_CriticalSectionLock co_Lock(&o_CriticalSection);
        pso_Location = pso_FreeLocations;
        if (!pso_Location)
            return;
        pso_FreeLocations = pso_Location->pso_Next;
    }
    pso_Location->qccz_File = qccz_File;
    pso_Location->n_Line = n_Line;
    pso_Location->pso_Next = nullptr;
    if (pso->pso_LastLocation)
        pso->pso_LastLocation->pso_Next = pso_Location;
    else
        pso->pso_FirstLocation = pso_Location;
    pso->pso_LastLocation = pso_Location;
    ++pso->n_LocationCount;
}

void CT_ErrorManager::v_HoldError()
{
    unsigned n_Thread = n_GetThread();
    CT_CriticalSectionLock co_Lock(&o_CriticalSection);
    st_error* pso = pso_Find(pso_Errors, n_Thread);
    if (!pso)
        return;
    st_error** ppso = &pso_Errors;
    while (*ppso != pso)
        ppso = &(*ppso)->pso_Next;
    *ppso = pso->pso_Next;
    pso->pso_Next = pso_HeldErrors;
    pso_HeldErrors = pso;
}

void CT_ErrorManager::v_ClearError()
{
    unsigned n_Thread = n_GetThread();
    CT_CriticalSectionLock co_Lock(&o_CriticalSection);
    if (st_error* pso = pso_Find(pso_Errors, n_Thread))
        v_DestroyError(&pso_Errors, pso);
    else if (st_error* pso_Held = pso_Find(pso_HeldErrors, n_Thread))
        v_DestroyError(&pso_HeldErrors, pso_Held);
}

void CT_ErrorManager::v_SetIgnoreError(int b_Ignore)
{
    if (st_error* pso = pso_GetError(&pso_Errors))
        pso->b_Ignore = b_Ignore;
}

// ---------------------------------------------------------------------------------------------
// Display

const char16_t* CT_ErrorManager::pcu_ComposeLocationWindow(char16_t (&au_Buffer)[sn_TextSize],
                                                           unsigned n_CaptionID,
                                                           const char16_t* qcuz_Caption) const
{
    const st_error* pcso = pso_GetError();
    assert(pcso && "only an error can be shown");
    std::fill(std::begin(au_Buffer), std::end(au_Buffer), u'\0');
    // The caption leaves at least one unit for the body's terminator.
    constexpr unsigned sn_CaptionSize = sn_TextSize - 1;
    if (qcuz_Caption)
        n_Print(au_Buffer, sn_CaptionSize, u"%s", qcuz_Caption);
    else if (n_CaptionID && pcso)
        CT_LoadString::sv_LoadString(au_Buffer, sn_CaptionSize, pcso->h_Instance, n_CaptionID);
    unsigned n_Start = n_Length(au_Buffer) + 1;
    v_ComposeBody(pcso, au_Buffer + n_Start, sn_TextSize - n_Start);
    return au_Buffer + n_Start;
}

int CT_ErrorManager::i_ErrorLocationWindow(unsigned n_CaptionID, const char16_t* qcuz_Caption,
                                           unsigned n_Type)
{
    char16_t au_Buffer[sn_TextSize];
    const char16_t* pcu_Body = pcu_ComposeLocationWindow(au_Buffer, n_CaptionID, qcuz_Caption);
    int i_Button = CT_PlatformSystemText::si_MessageBox(
        pcu_Body, au_Buffer, n_Type | MB_SETFOREGROUND, b_Use8BitCalls());
    if (i_Button == IDABORT)
        std::abort();
    return i_Button;
}
