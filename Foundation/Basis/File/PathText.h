// CT_PathText: hands a platform call of the file classes the twin that suits the platform (CT_OS):
// names as 16-bit text on the NT family, as 8-bit text in the ANSI code page (code page 0)
// before it, whatever kind of string the caller holds. A null name is an empty one. Internal to
// the file classes; no state.
#pragma once

#include "Basis/Runtime/OS.h"
#include "System/String/CString.h"
#include "System/String/UString.h"

#include <string>

class CT_PathText
{
public:
    static bool sb_Wide() { return CT_OS::seo_GetVersion() >= CT_OS::eo_WindowsNT; }

    // f (name) with the name as const char16_t* or const char*.
    template <typename F>
    static auto sx_Call(const CT_String* pcco_Name, F f)
    {
        CT_UString co_Wide(pcco_Name);
        if (sb_Wide())
            return f(co_Wide.qcuz_Get());
        CT_CString co_Narrow(&co_Wide, 0);
        return f(co_Narrow.qccz_Get());
    }

    // f (name, other) with both names in the same twin.
    template <typename F>
    static auto sx_Call(const CT_String* pcco_Name, const CT_String* pcco_Other, F f)
    {
        CT_UString co_Wide(pcco_Name), co_WideOther(pcco_Other);
        if (sb_Wide())
            return f(co_Wide.qcuz_Get(), co_WideOther.qcuz_Get());
        CT_CString co_Narrow(&co_Wide, 0), co_NarrowOther(&co_WideOther, 0);
        return f(co_Narrow.qccz_Get(), co_NarrowOther.qccz_Get());
    }

    // f (name, &out) with the name and a std::u16string or std::string of the same twin; when f
    // succeeds, *pco_Out takes the text it gave. The name and *pco_Out may be one string.
    template <typename F>
    static bool sb_Transform(const CT_String* pcco_Name, CT_String* pco_Out, F f)
    {
        return sx_Call(
            pcco_Name,
            [&](auto pct)
            {
                std::basic_string<std::remove_cv_t<std::remove_pointer_t<decltype(pct)>>> co;
                if (!f(pct, &co))
                    return false;
                sv_Set(pco_Out, co);
                return true;
            });
    }

    // f (&out) alone.
    template <typename F>
    static bool sb_Get(CT_String* pco_Out, F f)
    {
        return sb_Transform(nullptr, pco_Out, [&](auto, auto* pco) { return f(pco); });
    }

private:
    static void sv_Set(CT_String* pco_Out, const std::u16string& co)
    {
        pco_Out->v_Set(co.c_str(), static_cast<unsigned>(co.size()));
    }
    static void sv_Set(CT_String* pco_Out, const std::string& co)
    {
        pco_Out->v_Set(co.c_str(), static_cast<unsigned>(co.size()), 0);
    }
};
