// Helpers of the stand-in component tests: a COM apartment for the test thread, temporary
// folders, late-bound calls, readable HRESULTs and the stand-ins' live-object count.
#pragma once

#include "HostRef.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

// An HRESULT that prints in hexadecimal: EXPECT_EQ(st_Hr{E_FAIL}, st_Hr{hr_Result}).
struct st_Hr
{
    HRESULT hr_Result;
    bool operator==(const st_Hr& co_Other) const { return hr_Result == co_Other.hr_Result; }
};
void PrintTo(const st_Hr& co_Hr, std::ostream* pco_Stream);

// A fresh folder under the temporary folder, removed with its files at the end.
class CT_TempFolder
{
public:
    CT_TempFolder();
    CT_TempFolder(const CT_TempFolder&) = delete;
    CT_TempFolder& operator=(const CT_TempFolder&) = delete;
    ~CT_TempFolder();

    const std::u16string& co_Path() const { return co_Folder; }
    // The full path of a file or subfolder in it (subfolders are created).
    std::u16string co_File(const std::u16string& co_Name) const;
    std::u16string co_Subfolder(const std::u16string& co_Name);
    std::u16string co_WriteText(const std::u16string& co_Name, const std::u16string& co_Text);

private:
    std::u16string co_Folder;
    std::vector<std::u16string> co_Subfolders;
};

std::string co_ReadBytes(const std::u16string& co_Path);
void v_WriteBytes(const std::u16string& co_Path, const std::string& co_Bytes);

// Late-bound calls with arguments in call order.
HRESULT hr_Invoke(IDispatch* pco_Object, DISPID i_Member, WORD n_Flags,
                  std::vector<VARIANT> co_Arguments, VARIANT* pco_Result);
HRESULT hr_PutProperty(IDispatch* pco_Object, DISPID i_Member, VARIANT co_Value);
VARIANT co_BstrVariant(const std::u16string& co_Text); // the caller clears it
VARIANT co_BoolVariant(short sn2_Value);               // VT_BOOL with exactly this value

// Calls method n_Slot of an interface's function table, as a caller that knows only the
// positions does.
template <class... Arguments>
HRESULT hr_CallSlot(IUnknown* pco_Object, size_t n_Slot, Arguments... co_Arguments)
{
    using Method = HRESULT(STDMETHODCALLTYPE*)(IUnknown*, Arguments...);
    Method* ppf_Table = *reinterpret_cast<Method**>(pco_Object);
    return ppf_Table[n_Slot](pco_Object, co_Arguments...);
}

// Stand-in objects alive in this process; -1 when MarkpadHost.dll is not loaded.
long i_LiveObjects();

// The folder of the test program (the build's bin folder, with MarkpadHost.dll and the console
// host).
std::u16string co_ProgramFolder();
