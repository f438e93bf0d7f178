// Registration of the two classes and the type library, and the module's lock count.
#include "ComTestSupport.h"
#include "KxfVerifierPlugIn_h.h"
#include "MarkpadHost_h.h"

#include <olectl.h>

#include <string>

namespace
{
testing::Environment* const pco_Apartment =
    testing::AddGlobalTestEnvironment(new CT_ApartmentEnvironment);

std::string co_Guid(REFGUID ro)
{
    wchar_t aw[40];
    StringFromGUID2(ro, aw, 40);
    return co_Narrow(aw);
}

std::string co_ClassValue(const std::string& co_Key, const char* qccz_Name = nullptr)
{
    return co_RegText(HKEY_CLASSES_ROOT, co_Key, qccz_Name);
}

bool b_ClassKey(const std::string& co_Key)
{
    return b_RegKey(HKEY_CLASSES_ROOT, co_Key);
}

std::string co_ModulePath()
{
    char ac[MAX_PATH];
    GetModuleFileNameA(GetModuleHandleA("KxfVerifierPlugIn.dll"), ac, MAX_PATH);
    return ac;
}

const std::string co_PlugInKey = "CLSID\\" + co_Guid(CLSID_KxfVerifierPlugIn);
const std::string co_PageKey = "CLSID\\" + co_Guid(CLSID_PpgKxfVerifier);

// Registered where every process finds it; tests that take entries away do so in a private
// HKEY_CLASSES_ROOT, so other programs never lose the classes.
class Registration : public testing::Test
{
protected:
    void SetUp() override { ASSERT_HR(S_OK, hr_CallEntry("DllRegisterServer")); }
};

TEST_F(Registration, ProgIDsResolveToTheirClasses)
{
    struct
    {
        const wchar_t* qcwz_ProgID;
        const CLSID* pcso_Class;
    } aso_Cases[] = {
        {L"KetraVerifierPlugIn.KxfVerifierPlugIn", &CLSID_KxfVerifierPlugIn},
        {L"KetraVerifierPlugIn.KxfVerifierPlugIn.5", &CLSID_KxfVerifierPlugIn},
        {L"KetraVerifierPlugIn.PpgKxfVerifier", &CLSID_PpgKxfVerifier},
        {L"KetraVerifierPlugIn.PpgKxfVerifier.5", &CLSID_PpgKxfVerifier},
    };
    for (const auto& so : aso_Cases)
    {
        CLSID so_Class = GUID_NULL;
        EXPECT_HR(S_OK, CLSIDFromProgID(so.qcwz_ProgID, &so_Class)) << co_Narrow(so.qcwz_ProgID);
        EXPECT_EQ(co_Guid(*so.pcso_Class), co_Guid(so_Class));
    }
    EXPECT_EQ("KetraVerifierPlugIn.KxfVerifierPlugIn.5",
              co_ClassValue("KetraVerifierPlugIn.KxfVerifierPlugIn\\CurVer"));
    EXPECT_EQ("KetraVerifierPlugIn.PpgKxfVerifier.5",
              co_ClassValue("KetraVerifierPlugIn.PpgKxfVerifier\\CurVer"));
    EXPECT_EQ("Corvane Ketra Verifier Plug-in Settings Page",
              co_ClassValue("KetraVerifierPlugIn.PpgKxfVerifier.5"));

    LPOLESTR pw_ProgID = nullptr;
    ASSERT_HR(S_OK, ProgIDFromCLSID(CLSID_KxfVerifierPlugIn, &pw_ProgID));
    EXPECT_EQ("KetraVerifierPlugIn.KxfVerifierPlugIn.5", co_Narrow(pw_ProgID));
    CoTaskMemFree(pw_ProgID);
}

TEST_F(Registration, ClassKeysHoldTheirEntries)
{
    EXPECT_EQ("Corvane Ketra Verifier Plug-in", co_ClassValue(co_PlugInKey));
    EXPECT_EQ("KetraVerifierPlugIn.KxfVerifierPlugIn.5", co_ClassValue(co_PlugInKey + "\\ProgID"));
    EXPECT_EQ("KetraVerifierPlugIn.KxfVerifierPlugIn",
              co_ClassValue(co_PlugInKey + "\\VersionIndependentProgID"));
    EXPECT_TRUE(b_ClassKey(co_PlugInKey + "\\Programmable"));
    EXPECT_EQ(co_ModulePath(), co_ClassValue(co_PlugInKey + "\\InprocServer32"));
    EXPECT_EQ("Apartment", co_ClassValue(co_PlugInKey + "\\InprocServer32", "ThreadingModel"));
    EXPECT_EQ(co_Guid(LIBID_KetraVerifierPlugIn), co_ClassValue(co_PlugInKey + "\\TypeLib"));
    EXPECT_EQ("Corvane Ketra Verifier", co_ClassValue(co_PlugInKey, "Description"));

    EXPECT_EQ("Corvane Ketra Verifier Plug-in Settings Page", co_ClassValue(co_PageKey));
    EXPECT_TRUE(b_ClassKey(co_PageKey + "\\Programmable"));
    EXPECT_EQ(co_ModulePath(), co_ClassValue(co_PageKey + "\\InprocServer32"));
    EXPECT_EQ("Apartment", co_ClassValue(co_PageKey + "\\InprocServer32", "ThreadingModel"));
    EXPECT_FALSE(b_ClassKey(co_PageKey + "\\ProgID"));
    EXPECT_FALSE(b_ClassKey(co_PageKey + "\\TypeLib"));
    EXPECT_EQ("<none>", co_ClassValue(co_PageKey, "Description"));
}

TEST_F(Registration, TypeLibraryIsRegistered)
{
    ITypeLib* pco_TypeLib = nullptr;
    ASSERT_HR(S_OK, LoadRegTypeLib(LIBID_KetraVerifierPlugIn, 5, 5, 0x409, &pco_TypeLib));
    TLIBATTR* pso_Attributes = nullptr;
    ASSERT_HR(S_OK, pco_TypeLib->GetLibAttr(&pso_Attributes));
    EXPECT_EQ(5, pso_Attributes->wMajorVerNum);
    EXPECT_EQ(5, pso_Attributes->wMinorVerNum);
    EXPECT_EQ(0x409u, pso_Attributes->lcid);
    EXPECT_EQ(sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32, pso_Attributes->syskind);
    pco_TypeLib->ReleaseTLibAttr(pso_Attributes);

    BSTR bstr_Name = nullptr, bstr_Help = nullptr;
    ASSERT_HR(S_OK, pco_TypeLib->GetDocumentation(-1, &bstr_Name, &bstr_Help, nullptr, nullptr));
    EXPECT_EQ("KetraVerifierPlugIn", co_Narrow(bstr_Name));
    EXPECT_EQ("Corvane Ketra Verifier Plug-in 5.5", co_Narrow(bstr_Help));
    SysFreeString(bstr_Name);
    SysFreeString(bstr_Help);

    ITypeInfo* pco_Info = nullptr;
    ASSERT_HR(S_OK, pco_TypeLib->GetTypeInfoOfGuid(IID_IKxfVerifierPlugIn, &pco_Info));
    TYPEATTR* pso_Type = nullptr;
    ASSERT_HR(S_OK, pco_Info->GetTypeAttr(&pso_Type));
    EXPECT_TRUE(pso_Type->wTypeFlags & TYPEFLAG_FDUAL);
    EXPECT_TRUE(pso_Type->wTypeFlags & TYPEFLAG_FNONEXTENSIBLE);
    pco_Info->ReleaseTypeAttr(pso_Type);
    // The function-table half of the dual interface is the automation-compatible one.
    HREFTYPE n_Table = 0;
    ITypeInfo* pco_Table = nullptr;
    ASSERT_HR(S_OK, pco_Info->GetRefTypeOfImplType(-1, &n_Table));
    ASSERT_HR(S_OK, pco_Info->GetRefTypeInfo(n_Table, &pco_Table));
    ASSERT_HR(S_OK, pco_Table->GetTypeAttr(&pso_Type));
    EXPECT_TRUE(pso_Type->wTypeFlags & TYPEFLAG_FOLEAUTOMATION);
    pco_Table->ReleaseTypeAttr(pso_Type);
    pco_Table->Release();
    pco_Info->Release();
    pco_TypeLib->Release();
    EXPECT_TRUE(b_ClassKey("Interface\\" + co_Guid(IID_IKxfVerifierPlugIn)));
}

// A host loads only a module of its own bitness: it finds the classes in its own registry view,
// and the type library under its own platform.
TEST_F(Registration, ClassesAndTypeLibraryAreOfTheModulesBitness)
{
    constexpr bool b_64 = sizeof(void*) == 8;
    const std::string co_Platform = b_64 ? "win64" : "win32";
    EXPECT_EQ(co_ModulePath(), co_ClassValue("TypeLib\\" + co_Guid(LIBID_KetraVerifierPlugIn) +
                                             "\\5.5\\409\\" + co_Platform));

    // Where there are two views, the 32-bit one keeps out of it.
    HKEY h = nullptr;
    const LONG i4_Status =
        RegOpenKeyExA(HKEY_CLASSES_ROOT, co_PlugInKey.c_str(), 0, KEY_READ | KEY_WOW64_32KEY, &h);
    if (h)
        RegCloseKey(h);
    EXPECT_EQ(b_64 ? ERROR_FILE_NOT_FOUND : ERROR_SUCCESS, i4_Status);
}

TEST(PrivateRegistration, UnregisteringRemovesTheClassesButNotTheClsidKey)
{
    CT_PrivateRootKey co_Classes(HKEY_CLASSES_ROOT);
    ASSERT_HR(S_OK, hr_CallEntry("DllRegisterServer"));
    ASSERT_TRUE(b_ClassKey(co_PlugInKey + "\\InprocServer32"));
    ASSERT_TRUE(b_ClassKey("TypeLib\\" + co_Guid(LIBID_KetraVerifierPlugIn)));

    ASSERT_HR(S_OK, hr_CallEntry("DllUnregisterServer"));
    EXPECT_FALSE(b_ClassKey(co_PlugInKey));
    EXPECT_FALSE(b_ClassKey(co_PageKey));
    EXPECT_TRUE(b_ClassKey("CLSID"));
    for (const char* qccz :
         {"KetraVerifierPlugIn.KxfVerifierPlugIn", "KetraVerifierPlugIn.KxfVerifierPlugIn.5",
          "KetraVerifierPlugIn.PpgKxfVerifier", "KetraVerifierPlugIn.PpgKxfVerifier.5"})
        EXPECT_FALSE(b_ClassKey(qccz)) << qccz;
    EXPECT_FALSE(b_ClassKey("TypeLib\\" + co_Guid(LIBID_KetraVerifierPlugIn)));
    EXPECT_FALSE(b_ClassKey("Interface\\" + co_Guid(IID_IKxfVerifierPlugIn)));
    EXPECT_HR(S_OK, hr_CallEntry("DllUnregisterServer")) << "a second time is no failure";
}

TEST(PrivateRegistration, RegisteringReplacesStaleEntries)
{
    CT_PrivateRootKey co_Classes(HKEY_CLASSES_ROOT);
    v_RegSet(HKEY_CLASSES_ROOT, co_PlugInKey + "\\Stale");
    ASSERT_HR(S_OK, hr_CallEntry("DllRegisterServer"));
    EXPECT_FALSE(b_ClassKey(co_PlugInKey + "\\Stale"));
}

// ---- resources -------------------------------------------------------------------------------

TEST(ModuleResources, VersionAndStringsAreThere)
{
    std::string co_Path = co_ModulePath();
    std::string co_Data(GetFileVersionInfoSizeA(co_Path.c_str(), nullptr), '\0');
    ASSERT_FALSE(co_Data.empty());
    ASSERT_TRUE(GetFileVersionInfoA(co_Path.c_str(), 0, static_cast<DWORD>(co_Data.size()),
                                    co_Data.data()));
    VS_FIXEDFILEINFO* pso_Fixed = nullptr;
    UINT n_Size = 0;
    ASSERT_TRUE(
        VerQueryValueA(co_Data.data(), "\\", reinterpret_cast<void**>(&pso_Fixed), &n_Size));
    EXPECT_EQ(MAKELONG(5, 5), pso_Fixed->dwFileVersionMS);
    EXPECT_EQ(MAKELONG(244, 0), pso_Fixed->dwFileVersionLS);
    EXPECT_EQ(pso_Fixed->dwFileVersionLS, pso_Fixed->dwProductVersionLS);
    struct
    {
        const char* qccz_Name;
        const char* qccz_Value;
    } aso_Values[] = {{"FileDescription", "Corvane Ketra Verifier Plug-in Module"},
                      {"InternalName", "KxfVerifierPlugIn"},
                      {"OLESelfRegister", ""}};
    for (const auto& so : aso_Values)
    {
        char* pc_Value = nullptr;
        std::string co_Name = std::string("\\StringFileInfo\\040904B0\\") + so.qccz_Name;
        ASSERT_TRUE(VerQueryValueA(co_Data.data(), co_Name.c_str(),
                                   reinterpret_cast<void**>(&pc_Value), &n_Size))
            << so.qccz_Name;
        EXPECT_STREQ(so.qccz_Value, pc_Value);
    }

    HMODULE h_Module = GetModuleHandleA("KxfVerifierPlugIn.dll");
    struct
    {
        unsigned n_ID;
        const char* qccz_Text;
    } aso_Strings[] = {{100, "Ketra Verifier Plug-In"},
                       {103, "Hlp\\VerificationPlugIns1033.chm"},
                       {108, "Original file missing: "},
                       {109, "Could not create temporary translated KXF file."},
                       {804, "Corvane Ketra Verifier Plug-in 5.5.0.244  -  (Build 244)"}};
    for (const auto& so : aso_Strings)
    {
        char ac[512] = "";
        LoadStringA(h_Module, so.n_ID, ac, sizeof ac);
        EXPECT_STREQ(so.qccz_Text, ac) << so.n_ID;
    }
}

// ---- class objects and the lock count ------------------------------------------------------

HRESULT hr_GetClassObject(REFCLSID ro_Class, IClassFactory** ppco_Factory)
{
    auto pfh = pfn_ModuleEntry<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>("DllGetClassObject");
    return pfh(ro_Class, IID_IClassFactory, reinterpret_cast<void**>(ppco_Factory));
}

TEST(ClassObjects, OnlyTheTableClassesHaveFactories)
{
    IClassFactory* pco_Factory = reinterpret_cast<IClassFactory*>(1);
    EXPECT_HR(CLASS_E_CLASSNOTAVAILABLE, hr_GetClassObject(CLSID_KetragenVerifierF, &pco_Factory));
    EXPECT_EQ(nullptr, pco_Factory);

    ASSERT_HR(S_OK, hr_GetClassObject(CLSID_PpgKxfVerifier, &pco_Factory));
    IUnknown* pco_Page = nullptr;
    ASSERT_HR(S_OK, pco_Factory->CreateInstance(nullptr, IID_IPropertyPage,
                                                reinterpret_cast<void**>(&pco_Page)));
    pco_Factory->Release();
    EXPECT_HR(S_FALSE, hr_CallEntry("DllCanUnloadNow")) << "a live page holds the module";
    EXPECT_EQ(0u, pco_Page->Release());

    ASSERT_HR(S_OK, hr_GetClassObject(CLSID_KxfVerifierPlugIn, &pco_Factory));
    IUnknown* pco_Outer = pco_Factory;
    IUnknown* pco_Object = nullptr;
    EXPECT_HR(CLASS_E_NOAGGREGATION,
              pco_Factory->CreateInstance(pco_Outer, IID_IUnknown,
                                          reinterpret_cast<void**>(&pco_Object)));
    EXPECT_HR(E_NOINTERFACE, pco_Factory->CreateInstance(nullptr, IID_IClassFactory,
                                                         reinterpret_cast<void**>(&pco_Object)));
    pco_Factory->Release();
    EXPECT_HR(S_OK, hr_CallEntry("DllCanUnloadNow")) << "a refused object is gone again";
}

TEST(ClassObjects, ModuleStaysWhileObjectsOrLocksLive)
{
    EXPECT_HR(S_OK, hr_CallEntry("DllCanUnloadNow"));
    IUnknown* pco_PlugIn = nullptr;
    ASSERT_HR(S_OK, CoCreateInstance(CLSID_KxfVerifierPlugIn, nullptr, CLSCTX_INPROC_SERVER,
                                     IID_IUnknown, reinterpret_cast<void**>(&pco_PlugIn)));
    EXPECT_HR(S_FALSE, hr_CallEntry("DllCanUnloadNow"));
    pco_PlugIn->Release();
    EXPECT_HR(S_OK, hr_CallEntry("DllCanUnloadNow"));

    IClassFactory* pco_Factory = nullptr;
    ASSERT_HR(S_OK, hr_GetClassObject(CLSID_KxfVerifierPlugIn, &pco_Factory));
    EXPECT_HR(S_FALSE, hr_CallEntry("DllCanUnloadNow")) << "a factory reference holds the module";
    EXPECT_HR(S_OK, pco_Factory->LockServer(TRUE));
    pco_Factory->Release();
    EXPECT_HR(S_FALSE, hr_CallEntry("DllCanUnloadNow"));
    ASSERT_HR(S_OK, hr_GetClassObject(CLSID_KxfVerifierPlugIn, &pco_Factory));
    EXPECT_HR(S_OK, pco_Factory->LockServer(FALSE));
    pco_Factory->Release();
    EXPECT_HR(S_OK, hr_CallEntry("DllCanUnloadNow"));
}
} // namespace
