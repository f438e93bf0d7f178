// Shows the plug-in's About box as its settings page opens it, until the box is closed: a
// picture for scripts/screenshots, which has no mouse to press the page's About button. The
// plug-in must be registered.
#include "KxfVerifierPlugIn_h.h"

#include <ocidl.h>
#include <windows.h>

#include <cstdio>

int main()
{
    if (FAILED(CoInitialize(nullptr)))
        return 1;
    IPropertyPage* pco_Page = nullptr;
    HRESULT hr_Result = CoCreateInstance(CLSID_PpgKxfVerifier, nullptr, CLSCTX_INPROC_SERVER,
                                         IID_IPropertyPage, reinterpret_cast<void**>(&pco_Page));
    HWND h_Parent = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                    nullptr, nullptr);
    if (SUCCEEDED(hr_Result))
        hr_Result = pco_Page->Activate(h_Parent, nullptr, TRUE);
    if (FAILED(hr_Result))
    {
        std::fprintf(stderr, "AboutBoxShow: the settings page failed: 0x%08lX\n",
                     static_cast<unsigned long>(hr_Result));
        return 1;
    }
    HWND h_Dialog = GetWindow(h_Parent, GW_CHILD);
    const int i_AboutID = 114;
    SendMessageW(h_Dialog, WM_COMMAND, MAKEWPARAM(i_AboutID, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(h_Dialog, i_AboutID)));
    pco_Page->Deactivate();
    pco_Page->Release();
    DestroyWindow(h_Parent);
    CoUninitialize();
    return 0;
}
