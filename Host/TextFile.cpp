#include "TextFile.h"

#include <windows.h>

namespace
{
// Larger files are not KXF documents; reading them whole would only exhaust the address space.
constexpr LONGLONG si8_MaxFileSize = 64 * 1024 * 1024;

class CT_FileHandle
{
public:
    explicit CT_FileHandle(HANDLE h_Taken) : h_File(h_Taken) {}
    CT_FileHandle(const CT_FileHandle&) = delete;
    CT_FileHandle& operator=(const CT_FileHandle&) = delete;
    ~CT_FileHandle()
    {
        if (b_IsOpen())
            CloseHandle(h_File);
    }
    bool b_IsOpen() const { return h_File != INVALID_HANDLE_VALUE; }
    HANDLE h_Get() const { return h_File; }

private:
    HANDLE h_File;
};

const wchar_t* qcwz_Wide(const std::u16string& co_Text)
{
    return reinterpret_cast<const wchar_t*>(co_Text.c_str());
}

std::u16string co_Widen(const std::string& co_Bytes, UINT n_Codepage, DWORD n_Flags)
{
    if (co_Bytes.empty())
        return {};
    const int i_Size = static_cast<int>(co_Bytes.size());
    const int i_Units =
        MultiByteToWideChar(n_Codepage, n_Flags, co_Bytes.data(), i_Size, nullptr, 0);
    if (i_Units <= 0)
        return {};
    std::u16string co_Text(static_cast<size_t>(i_Units), u'\0');
    MultiByteToWideChar(n_Codepage, n_Flags, co_Bytes.data(), i_Size,
                        reinterpret_cast<wchar_t*>(co_Text.data()), i_Units);
    return co_Text;
}
} // namespace

bool CT_TextFile::sb_Read(const std::u16string& co_Path, std::u16string& co_Text)
{
    CT_FileHandle co_File(CreateFileW(qcwz_Wide(co_Path), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER co_Size;
    if (!co_File.b_IsOpen() || !GetFileSizeEx(co_File.h_Get(), &co_Size))
        return false;
    if (co_Size.QuadPart > si8_MaxFileSize)
    {
        SetLastError(ERROR_FILE_TOO_LARGE);
        return false;
    }
    std::string co_Bytes(static_cast<size_t>(co_Size.QuadPart), '\0');
    DWORD n_Read = 0;
    if (!co_Bytes.empty() && !ReadFile(co_File.h_Get(), co_Bytes.data(),
                                       static_cast<DWORD>(co_Bytes.size()), &n_Read, nullptr))
        return false;
    co_Bytes.resize(n_Read);
    co_Text = sco_Decode(co_Bytes);
    return true;
}

bool CT_TextFile::sb_Write(const std::u16string& co_Path, const std::u16string& co_Text)
{
    CT_FileHandle co_File(CreateFileW(qcwz_Wide(co_Path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!co_File.b_IsOpen())
        return false;
    const std::string co_Bytes = sco_EncodeUtf8(co_Text);
    DWORD n_Written = 0;
    return co_Bytes.empty() ||
           (WriteFile(co_File.h_Get(), co_Bytes.data(), static_cast<DWORD>(co_Bytes.size()),
                      &n_Written, nullptr) &&
            n_Written == co_Bytes.size());
}

std::u16string CT_TextFile::sco_Decode(const std::string& co_Bytes)
{
    if (co_Bytes.rfind("\xEF\xBB\xBF", 0) == 0)
        return co_Widen(co_Bytes.substr(3), CP_UTF8, 0);
    if (co_Bytes.rfind("\xFF\xFE", 0) == 0)
    {
        std::u16string co_Text((co_Bytes.size() - 2) / 2, u'\0');
        for (size_t n_Unit = 0; n_Unit < co_Text.size(); ++n_Unit)
            co_Text[n_Unit] =
                static_cast<char16_t>(static_cast<unsigned char>(co_Bytes[2 + 2 * n_Unit]) |
                                      static_cast<unsigned char>(co_Bytes[3 + 2 * n_Unit]) << 8);
        return co_Text;
    }
    if (co_Bytes.empty() || MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, co_Bytes.data(),
                                                static_cast<int>(co_Bytes.size()), nullptr, 0) > 0)
        return co_Widen(co_Bytes, CP_UTF8, 0);
    return co_Widen(co_Bytes, 1252, 0);
}

std::string CT_TextFile::sco_EncodeUtf8(const std::u16string& co_Text)
{
    if (co_Text.empty())
        return {};
    const int i_Units = static_cast<int>(co_Text.size());
    const wchar_t* pcw_Text = reinterpret_cast<const wchar_t*>(co_Text.data());
    const int i_Bytes =
        WideCharToMultiByte(CP_UTF8, 0, pcw_Text, i_Units, nullptr, 0, nullptr, nullptr);
    if (i_Bytes <= 0)
        return {};
    std::string co_Bytes(static_cast<size_t>(i_Bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, pcw_Text, i_Units, co_Bytes.data(), i_Bytes, nullptr, nullptr);
    return co_Bytes;
}

std::u16string CT_TextFile::sco_FileName(const std::u16string& co_Path)
{
    const size_t n_Separator = co_Path.find_last_of(u"\\/");
    return n_Separator == std::u16string::npos ? co_Path : co_Path.substr(n_Separator + 1);
}

std::u16string CT_TextFile::sco_Combine(const std::u16string& co_Folder,
                                        const std::u16string& co_Name)
{
    if (co_Folder.empty() || co_Folder.back() == u'\\' || co_Folder.back() == u'/')
        return co_Folder + co_Name;
    return co_Folder + u'\\' + co_Name;
}

std::u16string CT_TextFile::sco_Number(long i_Value)
{
    const std::string co_Digits = std::to_string(i_Value);
    return std::u16string(co_Digits.begin(), co_Digits.end());
}

bool CT_TextFile::sb_LineColumn(const std::u16string& co_Text, long i_Position, long& i_Line,
                                long& i_Column)
{
    if (i_Position < 0 || static_cast<size_t>(i_Position) > co_Text.size())
        return false;
    i_Line = 1;
    i_Column = 1;
    for (long i_Unit = 0; i_Unit < i_Position; ++i_Unit)
    {
        if (co_Text[static_cast<size_t>(i_Unit)] == u'\n')
        {
            ++i_Line;
            i_Column = 1;
        }
        else
            ++i_Column;
    }
    return true;
}
