// CT_ErrorManager: the process's one record of failures, kept per thread.
//
// An operation that fails records an error for the calling thread unless the thread has one
// already (the first error wins), adds its source location to the error's trail, and returns a
// neutral result; callers on the way up add their own locations (CT_Failure does all of this in
// one call). The application then reads the error, shows it (i_ErrorLocationWindow) and clears
// it. Per thread an error is none, active, active and ignored, or held: setting makes an active
// error (a held one is destroyed first), v_HoldError moves it out of the way of new errors while
// its contents stay readable, v_ClearError removes the active or else the held error.
//
// Records come from two pools allocated once (20 errors for all threads together, 100 trail
// locations), so recording never allocates. When every error record is in use, a new error is
// not recorded: the thread simply has none, and the caller's neutral result still tells of the
// failure. A trail longer than the free locations allow is cut silently.
//
// Threads: one instance serves the process. One critical section guards the free, active and
// held lists, the free locations and the mapping functions, and is never held across a call
// out (mapping function, string loading, message box). A record's contents are touched only by
// the thread that owns it, so texts and trails are read and written without the lock. Texts
// are at most 1023 UTF-16 units; locations point at the caller's literals, which must outlive
// the error.
#pragma once

#include "Basis/Collection/Array.h"
#include "Basis/Platform/Export.h"
#include "Basis/Platform/Thread.h"
#include "Basis/Platform/WinTypes.h"
#include "Basis/Runtime/Init.h"

#include <cstdarg>

class CT_EXPORT CT_ErrorManager
{
public:
    static constexpr unsigned sn_TextSize = 1024; // units of a text, terminator included
    static constexpr unsigned sn_ErrorPoolSize = 20;
    static constexpr unsigned sn_LocationPoolSize = 100;

    // One trail entry.
    struct st_location
    {
        const char* qccz_File; // stored, not copied
        unsigned n_Line;
        st_location* pso_Next;

        void v_Null();
    };

    // One error record; plain data, copied whole by assignment.
    struct st_error
    {
        HINSTANCE h_Instance; // module of the format string
        unsigned n_Thread;    // owning thread; 0 while the record is free
        unsigned n_ErrorCode; // errno, GetLastError, HRESULT or library code
        unsigned n_FormatID;  // string resource of the format; 0 for a text given directly
        char16_t au_Message[sn_TextSize];
        unsigned n_LocationCount;
        st_location* pso_FirstLocation;
        st_location* pso_LastLocation;
        st_error* pso_Next; // in whichever list holds the record
        int b_Ignore;       // an ignored error does not count for b_IsSetError

        // Empties the text by its first unit only.
        void v_Null();
    };

    // Writes the error text itself into pu_Buffer (n_BufferBytes bytes) and returns non-zero,
    // or returns 0 to have the format string used. args holds the setter's arguments.
    using pf_MapFunction = int (*)(char16_t* pu_Buffer, unsigned n_BufferBytes, unsigned n_Code,
                                   unsigned n_FormatID, va_list args);

    struct st_mapItem
    {
        unsigned n_Thread;
        pf_MapFunction pf_Map;
    };

    // Null before library start and after library exit.
    static CT_ErrorManager* spco_Get() { return spco_ErrorManager; }
    static void sv_Init();
    static void sv_Exit();
    // The default module for format strings; null is the process's main module.
    static void sv_SetInstance(HINSTANCE h_Instance) { sh_Instance = h_Instance; }

    // Setting the calling thread's error; each does nothing when the thread has an active error.
    // Coded texts read "(code): text", the code as a signed decimal. The argument-list forms
    // have names of their own: on i686 Windows va_list is char*, so an overload would take a
    // char* argument of the variadic form for an argument list.
    //
    // The format string resource n_FormatID of h_Instance (null: the default module) with the
    // arguments, unless the thread's mapping function writes the text.
    void v_SetError(unsigned n_Code, HINSTANCE h_Instance, unsigned n_FormatID, ...);
    void v_SetErrorVaList(unsigned n_Code, HINSTANCE h_Instance, unsigned n_FormatID, va_list args);
    // A format given directly (the mapping function sees n_Code as the format identifier too).
    void v_SetError(unsigned n_Code, const char16_t* qcuz_Format, ...);
    // Code 0 and the formatted text alone. The 8-bit forms format 8-bit text (so %s reads 8-bit
    // strings) and convert the result with the ANSI code page.
    void v_SetMessageError(const char16_t* qcuz_Format, ...);
    void v_SetMessageErrorVaList(const char16_t* qcuz_Format, va_list args);
    void v_SetMessageError(const char* qccz_Format, ...);
    void v_SetMessageErrorVaList(const char* qccz_Format, va_list args);
    // The platform's last error with the system's text (line breaks made blanks), optionally
    // followed by " [details]"; the last error is reset to 0 afterwards.
    void v_SetSystemError();
    void v_SetSystemError(const char16_t* qcuz_Format, ...);
    // A failure HRESULT: the thread's COM error object's description (an "(n)" at its start
    // makes n the code), else the HRESULT's description. The error object is taken in any case.
    void v_SetCOMError(HRESULT hr);

    // The most recent registration of a thread is the one used.
    void v_SetMapFunction(pf_MapFunction pf_Map, unsigned n_Thread);
    void v_RemoveMapFunction(unsigned n_Thread);

    // Queries on the calling thread's error: the active one, else the held one (0 or null when
    // there is none). Trail entries count from 1.
    int b_IsSetError() const;
    int b_IsHoldError() const;
    unsigned n_GetErrorCode() const;
    unsigned n_GetFormatID() const;
    const char16_t* qcuz_GetErrorMessage() const;
    unsigned n_GetLocationCount() const;
    const char* qccz_GetLocationFileAt(unsigned n_Index) const;
    unsigned n_GetLocationLineAt(unsigned n_Index) const;

    // Changes on the calling thread's error.
    void v_AddLocation(const char* qccz_File, unsigned n_Line);
    void v_HoldError();
    void v_ClearError();
    void v_SetIgnoreError(int b_Ignore);

    // Stored and returned only.
    void v_SetInterruptOnError(int b) { b_InterruptOnError = b; }
    int b_GetInterruptOnError() const { return b_InterruptOnError; }
    void v_SetDebugMessageOnError(int b) { b_DebugMessageOnError = b; }
    int b_GetDebugMessageOnError() const { return b_DebugMessageOnError; }
    static void sv_OutputDebugMessage(const char*) {}
    static void sv_OutputDebugMessage(const char16_t*) {}

    // Shows the thread's error (it must have one) with its trail in a message box of style
    // n_Type and returns the button. The caption is qcuz_Caption, else string resource
    // n_CaptionID of the error's module, else empty. Abort ends the process: the user chose it.
    int i_ErrorLocationWindow(unsigned n_CaptionID, const char16_t* qcuz_Caption, unsigned n_Type);
    // What the box shows: the caption at the start of au_Buffer and, after its terminator, the
    // body, which is returned. The body is the text, a blank line and one "file: line n" line per
    // trail entry that fits.
    const char16_t* pcu_ComposeLocationWindow(char16_t (&au_Buffer)[sn_TextSize],
                                              unsigned n_CaptionID,
                                              const char16_t* qcuz_Caption) const;

    // "NAME (description)", the name alone, or "[No explanation]" for a value not known.
    static const char* sqccz_GetHRESULTDescription(HRESULT hr);
    // Drops line ends at the end of a system text (never its first unit) and makes each line
    // break inside it one blank.
    static void sv_StripSystemError(char16_t* pu_Text);

private:
    CT_ErrorManager(unsigned n_ErrorPoolSize, unsigned n_LocationPoolSize);
    ~CT_ErrorManager() { v_Exit(); }
    CT_ErrorManager(const CT_ErrorManager&) = delete;
    CT_ErrorManager& operator=(const CT_ErrorManager&) = delete;

    void v_Null();
    void v_Init();
    void v_Exit();
    static unsigned n_GetThread();

    // The caller holds the lock.
    static st_error* pso_Find(st_error* pso_List, unsigned n_Thread);
    void v_DestroyError(st_error** ppso_List, st_error* pso_Error);

    st_error* pso_GetError(st_error* const* ppso_List) const;
    const st_error* pso_GetError() const;
    const st_location* pso_GetLocationAt(unsigned n_Index) const;
    st_error* pso_CreateNewError(unsigned n_Code, HINSTANCE h_Instance, unsigned n_FormatID);
    pf_MapFunction pf_GetMapFunction(unsigned n_Thread) const;
    int b_Mapped(st_error* pso_Error, unsigned n_Code, unsigned n_FormatID, va_list args) const;
    static void sv_PrefixCode(st_error* pso_Error);
    void v_SetCodedError(unsigned n_Code, const char16_t* qcuz_Format, va_list args);
    void v_SetDescribedError(HRESULT hr, const char16_t* qcuz_Description);
    st_error* pso_SetSystemError();

    CT_Array<st_mapItem*> co_MapItems; // owned, in registration order
    unsigned n_ErrorPoolSize;
    st_error* paso_Errors; // the pool, one block
    st_error* pso_FreeErrors;
    st_error* pso_Errors; // active errors of all threads, newest first
    st_error* pso_HeldErrors;
    unsigned n_LocationPoolSize;
    st_location* paso_Locations; // the pool, one block
    st_location* pso_FreeLocations;
    mutable CT_CriticalSection o_CriticalSection;
    int b_InterruptOnError;
    int b_DebugMessageOnError;

    static CT_ErrorManager* spco_ErrorManager;
    static HINSTANCE sh_Instance;
    static const char16_t sau_ErrorFormat[];
    static CT_Init sco_Init;
    static CT_Exit sco_Exit;
};
