#include "System/String/Formatter.h"

#include "System/String/CString.h"
#include "System/String/UString.h"

#include <algorithm>
#include <cassert>
#include <cfloat>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

namespace
{
// Number fields, signs and prefixes are ASCII, which every code page shares: they widen unit by
// unit. Text goes through v_Text.
template <typename T_To, typename T_From>
T_To t_Widen(T_From t_Unit)
{
    if constexpr (std::is_same_v<T_To, T_From>)
        return t_Unit;
    else
    {
        static_assert(std::is_same_v<T_From, char>, "only ASCII is widened unit by unit");
        return static_cast<unsigned char>(t_Unit);
    }
}

// Text of the other width, converted as a whole with the ANSI code page, as the string classes
// convert it (so that a double-byte character stays one character).
CT_CString co_OtherWidth(const char16_t* pcu_Text, unsigned n_Length)
{
    return CT_CString(pcu_Text, n_Length, 0);
}
CT_UString co_OtherWidth(const char* pcc_Text, unsigned n_Length)
{
    return CT_UString(pcc_Text, n_Length, 0);
}
const char* pct_TextOf(const CT_CString& co_Text)
{
    return co_Text.qccz_Get();
}
const char16_t* pct_TextOf(const CT_UString& co_Text)
{
    return co_Text.qcuz_Get();
}

// Widths and precisions are held to this: larger ones would be cut from any real area anyway, and
// the margin keeps sums of a width, a precision and a number's own length within unsigned.
constexpr int si_MaxCount = 0x3FFFFFFF;

// No double has a nonzero digit beyond the 1074th after the point (2^-1074 is the smallest), nor
// more significant digits or hex digits than that: digits asked beyond it are zeros, added by count
// rather than converted.
constexpr int si_ExactDigits = 1074;

enum class et_Length
{
    None,
    hh,
    h,
    l, // also Microsoft's w
    ll,
    L,
    j,
    z,
    t,
    I64,
    I32,
    I // pointer-sized
};

// One conversion as the format spells it.
struct st_Spec
{
    bool b_Left = false;  // '-'
    bool b_Plus = false;  // '+'
    bool b_Space = false; // ' '
    bool b_Alt = false;   // '#'
    bool b_Zero = false;  // '0': the width is filled with zeros after the sign and radix prefix
    unsigned n_Width = 0;
    int i_Precision = -1; // negative: none given
    et_Length e_Length = et_Length::None;
};

// A number as it is written, in order; none of the parts is zero-terminated.
struct st_Field
{
    const char* pcc_Prefix; // sign, then the radix prefix
    unsigned n_Prefix;
    unsigned n_LeadZeros; // zeros the precision asks for before the digits
    const char* pcc_Body;
    unsigned n_Body;
    unsigned n_TrailZeros; // digits beyond si_ExactDigits, all zero
    const char* pcc_Tail;  // point forced by '#', exponent
    unsigned n_Tail;
};

// A floating-point magnitude split where the exponent starts, so that exact zeros and a forced
// point can go between.
struct st_FloatText
{
    // 309 integer digits, the point, the exact digits
    char ac_Body[DBL_MAX_10_EXP + 2 + si_ExactDigits];
    unsigned n_Body;
    unsigned n_TrailZeros;
    char ac_Tail[8]; // longest: ".p-1074"
    unsigned n_Tail;
};

// |d_Value| in e_Format with i_Precision digits after the point; a negative precision asks for
// the shortest exact form.
void v_ToChars(st_FloatText& so_Text, double d_Value, std::chars_format e_Format, int i_Precision)
{
    char* pc_Begin = so_Text.ac_Body;
    char* pc_Limit = pc_Begin + sizeof so_Text.ac_Body;
    const std::to_chars_result so_Result =
        i_Precision < 0 ? std::to_chars(pc_Begin, pc_Limit, d_Value, e_Format)
                        : std::to_chars(pc_Begin, pc_Limit, d_Value, e_Format,
                                        std::min(i_Precision, si_ExactDigits));
    assert(so_Result.ec == std::errc());
    const char* pcc_Exponent =
        std::find(pc_Begin, so_Result.ptr, e_Format == std::chars_format::hex ? 'p' : 'e');
    so_Text.n_Body = static_cast<unsigned>(pcc_Exponent - pc_Begin);
    so_Text.n_TrailZeros = i_Precision > si_ExactDigits ? i_Precision - si_ExactDigits : 0;
    so_Text.n_Tail = static_cast<unsigned>(so_Result.ptr - pcc_Exponent);
    assert(so_Text.n_Tail < sizeof so_Text.ac_Tail);
    std::memcpy(so_Text.ac_Tail, pcc_Exponent, so_Text.n_Tail);
}

bool b_HasPoint(const st_FloatText& so_Text)
{
    return std::memchr(so_Text.ac_Body, '.', so_Text.n_Body) != nullptr;
}

// '#': the point stays even when no digit follows it.
void v_ForcePoint(st_FloatText& so_Text)
{
    if (b_HasPoint(so_Text))
        return;
    std::memmove(so_Text.ac_Tail + 1, so_Text.ac_Tail, so_Text.n_Tail++);
    so_Text.ac_Tail[0] = '.';
}

void v_StripZeros(st_FloatText& so_Text)
{
    if (!b_HasPoint(so_Text))
        return;
    so_Text.n_TrailZeros = 0;
    while (so_Text.ac_Body[so_Text.n_Body - 1] == '0')
        --so_Text.n_Body;
    if (so_Text.ac_Body[so_Text.n_Body - 1] == '.')
        --so_Text.n_Body;
}

// The decimal exponent of a text in scientific form.
int i_Exponent(const st_FloatText& so_Text)
{
    int i_Value = 0;
    std::from_chars(so_Text.ac_Tail + 2, so_Text.ac_Tail + so_Text.n_Tail, i_Value);
    return so_Text.ac_Tail[1] == '-' ? -i_Value : i_Value;
}

// %g: scientific when the exponent is below -4 or not below the precision, else fixed; with
// the precision counting significant digits either way.
void v_General(st_FloatText& so_Text, double d_Value, int i_Precision)
{
    const int i_Significant = i_Precision < 0 ? 6 : std::max(i_Precision, 1);
    v_ToChars(so_Text, d_Value, std::chars_format::scientific, i_Significant - 1);
    const int i_Exp = i_Exponent(so_Text);
    if (i_Exp >= -4 && i_Exp < i_Significant)
        v_ToChars(so_Text, d_Value, std::chars_format::fixed, i_Significant - 1 - i_Exp);
}

void v_Upper(char* pc_Text, unsigned n_Length)
{
    for (char* pc_End = pc_Text + n_Length; pc_Text != pc_End; ++pc_Text)
        if (*pc_Text >= 'a' && *pc_Text <= 'z')
            *pc_Text = static_cast<char>(*pc_Text - 'a' + 'A');
}

// The digits of n_Value written backwards to just before pc_End; none for zero.
char* pc_Digits(std::uint64_t n_Value, unsigned n_Base, bool b_Upper, char* pc_End)
{
    const char* qccz_Digits = b_Upper ? "0123456789ABCDEF" : "0123456789abcdef";
    for (; n_Value != 0; n_Value /= n_Base)
        *--pc_End = qccz_Digits[n_Value % n_Base];
    return pc_End;
}

// Writes the sign and, when asked, "0x" into pc_Prefix (room for 3); returns their length.
unsigned n_Prefix(char* pc_Prefix, char c_Sign, bool b_Radix, bool b_Upper)
{
    unsigned n_Length = 0;
    if (c_Sign)
        pc_Prefix[n_Length++] = c_Sign;
    if (b_Radix)
    {
        pc_Prefix[n_Length++] = '0';
        pc_Prefix[n_Length++] = b_Upper ? 'X' : 'x';
    }
    return n_Length;
}

// One formatting run over one format, for output units T_Unit. The caller's arguments are
// copied so the run may consume them.
template <typename T_Unit>
class CT_FormatEngine
{
public:
    CT_FormatEngine(T_Unit* pt_Area, unsigned n_Capacity, const T_Unit* pct_Start, va_list args);
    CT_FormatEngine(const CT_FormatEngine&) = delete;
    CT_FormatEngine& operator=(const CT_FormatEngine&) = delete;
    ~CT_FormatEngine() { va_end(co_Args); }

    unsigned n_Run();

private:
    void v_Put(T_Unit t_Unit);
    void v_Repeat(T_Unit t_Unit, unsigned n_Count);
    template <typename T_From>
    void v_PutUnits(const T_From* pct_Units, unsigned n_Count);
    template <typename Fn>
    void v_Justify(unsigned n_Length, Fn fn_Body);
    void v_PutField(const st_Field& so_Field);

    void v_Conversion();
    bool b_Skip(char c_Unit);
    bool b_Skip(char c_First, char c_Second);
    void v_ParseFlags();
    unsigned n_ParseCount();
    void v_ParseWidth();
    void v_ParsePrecision();
    void v_ParseLength();

    char c_Sign(bool b_Negative) const;
    template <typename T, typename T_Passed = T>
    std::uint64_t n_Take(bool b_Signed);
    std::uint64_t n_TakeInteger(bool b_Signed);
    void v_Integer(unsigned n_Base, bool b_Signed, bool b_Upper);
    void v_PutInteger(std::uint64_t n_Magnitude, char c_Sign, unsigned n_Base, bool b_Upper);
    void v_Pointer();
    double d_TakeFloat();
    void v_Float(char c_Conversion);
    bool b_WideArgument(T_Unit t_Conversion) const;
    void v_Char(bool b_Wide);
    void v_StringArgument(bool b_Wide);
    template <typename T_From>
    void v_String(const T_From* pct_Text);
    template <typename T_From>
    void v_Text(const T_From* pct_Text, unsigned n_Length);

    T_Unit* pt_Out;
    unsigned n_Room; // units before the terminator
    unsigned n_Written = 0;
    const T_Unit* pct_Format; // the next unit to read
    va_list co_Args;
    st_Spec so_Spec; // the conversion being read or written
};

template <typename T_Unit>
CT_FormatEngine<T_Unit>::CT_FormatEngine(T_Unit* pt_Area, unsigned n_Capacity,
                                         const T_Unit* pct_Start, va_list args)
    : pt_Out(pt_Area), n_Room(n_Capacity - 1), pct_Format(pct_Start)
{
    assert(pt_Area && pct_Start && n_Capacity > 0);
    va_copy(co_Args, args);
}

template <typename T_Unit>
unsigned CT_FormatEngine<T_Unit>::n_Run()
{
    while (*pct_Format && n_Written < n_Room)
    {
        if (*pct_Format == '%')
            v_Conversion();
        else
            v_Put(*pct_Format++);
    }
    pt_Out[n_Written] = 0;
    return n_Written;
}

template <typename T_Unit>
void CT_FormatEngine<T_Unit>::v_Put(T_Unit t_Unit)
{
    if (n_Written < n_Room)
        pt_Out[n_Written++] = t_Unit;
}

template <typename T_Unit>
void CT_FormatEngine<T_Unit>::v_Repeat(T_Unit t_Unit, unsigned n_Count)
{
    n_Count = std::min(n_Count, n_Room - n_Written);
    std::fill_n(pt_Out + n_Written, n_Count, t_Unit);
    n_Written += n_Count;
}

template <typename T_Unit>
template <typename T_From>
void CT_FormatEngine<T_Unit>::v_PutUnits(const T_From* pct_Units, unsigned n_Count)
{
    for (unsigned n_Index = 0; n_Index < n_Count && n_Written < n_Room; ++n_Index)
        pt_Out[n_Written++] = t_Widen<T_Unit>(pct_Units[n_Index]);
}

// Pads n_Length units to the width: spaces before or after, or zeros that fn_Body places
// after its prefix.
template <typename T_Unit>
template <typename Fn>
void CT_FormatEngine<T_Unit>::v_Justify(unsigned n_Length, Fn fn_Body)
{
    const unsigned n_Pad = so_Spec.n_Width > n_Length ? so_Spec.n_Width - n_Length : 0;
    const bool b_Zeros = so_Spec.b_Zero && !so_Spec.b_Left;
    if (!so_Spec.b_Left && !b_Zeros)
        v_Repeat(' ', n_Pad);
    fn_Body(b_Zeros ? n_Pad : 0);
    if (so_Spec.b_Left)
        v_Repeat(' ', n_Pad);
}

template <typename T_Unit>
void CT_FormatEngine<T_Unit>::v_PutField(const st_Field& so_Field)
{
    const unsigned n_Length = so_Field.n_Prefix + so_Field.n_LeadZeros + so_Field.n_Body +
                              so_Field.n_TrailZeros + so_Field.n_Tail;
    v_Justify(n_Length,
              [&](unsigned n_Zeros)
              {
                  v_PutUnits(so_Field.pcc_Prefix, so_Field.n_Prefix);
                  v_Repeat('0', n_Zeros + so_Field.n_LeadZeros);
                  v_PutUnits(so_Field.pcc_Body, so_Field.n_Body);
                  v_Repeat('0', so_Field.n_TrailZeros);
                  v_PutUnits(so_Field.pcc_Tail, so_Field.n_Tail);
              });
}

template <typename T_Unit>
void CT_FormatEngine<T_Unit>::v_Conversion()
{
    const T_Unit* pct_Start = pct_Format++;
    so_Spec = st_Spec();
    v_ParseFlags();
    v_ParseWidth();
    v_ParsePrecision();
    v_ParseLength();
    const T_Unit t_Conversion = *pct_Format;
    if (!t_Conversion)
        return; // the format ends inside the conversion: nothing to write
    ++pct_Format;
    switch (t_Conversion)
    {
    case 'd':
    case 'i':
        return v_Integer(10, true, false);
    case 'u':
        return v_Integer(10, false, false);
    case 'o':
        return v_Integer(8, false, false);
    case 'x':
    case 'X':
        return v_Integer(16, false, t_Conversion == 'X');
    case 'p':
        return v_Pointer();
    case 'e':
    case 'E':
    case 'f':
    case 'F':
    case 'g':
    case 'G':
    case 'a':
    case 'A':
        return v_Float(static_cast<char>(t_Conversion));
    case 'c':
    case 'C':
        return v_Char(b_WideArgument(t_Conversion));
    case 's':
    case 'S':
        return v_StringArgument(b_WideArgument(t_Conversion));
    case 'n':
        // Writing through an argument is what format attacks exploit; the pointer is skipped.
        static_cast<void>(va_arg(co_Args, void*));
        return;
    case '%':
        return v_Put('%');
    default:
        return v_PutUnits(pct_Start, static_cast<unsigned>(pct_Format - pct_Start));
    }
}

template <typename T_Unit>
bool CT_FormatEngine<T_Unit>::b_Skip(char c_Unit)
{
    if (*pct_Format != c_Unit)
        return false;
    ++pct_Format;
    return true;
}

// The second unit is looked at only when the first matched, so never past the terminator.
template <typename T_Unit>
bool CT_FormatEngine<T_Unit>::b_Skip(char c_First, char c_Second)
{
    if (pct_Format[0] != c_First || pct_Format[1] != c_Second)
        return false;
    pct_Format += 2;
    return true;
}

template <typename T_Unit>
void CT_FormatEngine<T_Unit>::v_ParseFlags()
{
    for (;; ++pct_Format)
    {
        switch (*pct_Format)
        {
        case '-':
            so_Spec.b_Left = true;
            break;
        case '+':
            so_Spec.b_Plus = true;
            break;
        case ' ':
            so_Spec.b_Space = true;
            break;
        case '#':
            so_Spec.b_Alt = true;
            break;
        case '0':
            so_Spec.b_Zero = true;
            break;
        default:
            return;
        }
    }
}

template <typename T_Unit>
unsigned CT_FormatEngine<T_Unit>::n_ParseCount()
{
    std::uint64_t n_Value = 0;
    for (; *pct_Format >= '0' && *pct_Format <= '9'; ++pct_Format)
        n_Value = std::min<std::uint64_t>(n_Value * 10 + (*pct_Format - '0'), si_MaxCount);
    return static_cast<unsigned>(n_Value);
}

template <typename T_Unit>
void CT_FormatEngine<T_Unit>::v_ParseWidth()
{
    if (!b_Skip('*'))
    {
        so_Spec.n_Width = n_ParseCount();
        return;
    }
    const int i_Width = va_arg(co_Args, int);
    so_Spec.b_Left |= i_Width < 0;
    const unsigned n_Width = static_cast<unsigned>(i_Width);
    so_Spec.n_Width = std::min<unsigned>(i_Width < 0 ? 0 - n_Width : n_Width, si_MaxCount);
}

template <typename T_Unit>
void CT_FormatEngine<T_Unit>::v_ParsePrecision()
{
    if (!b_Skip('.'))
        return;
    if (!b_Skip('*'))
    {
        so_Spec.i_Precision = static_cast<int>(n_ParseCount());
        return;
    }
    const int i_Precision = va_arg(co_Args, int);
    so_Spec.i_Precision = i_Precision < 0 ? -1 : std::min(i_Precision, si_MaxCount);
}

template <typename T_Unit>
void CT_FormatEngine<T_Unit>::v_ParseLength()
{
    et_Length& e_Length = so_Spec.e_Length;
    if (b_Skip('h'))
        e_Length = b_Skip('h') ? et_Length::hh : et_Length::h;
    else if (b_Skip('l'))
        e_Length = b_Skip('l') ? et_Length::ll : et_Length::l;
    else if (b_Skip('w'))
        e_Length = et_Length::l;
    else if (b_Skip('L'))
        e_Length = et_Length::L;
    else if (b_Skip('j'))
        e_Length = et_Length::j;
    else if (b_Skip('z'))
        e_Length = et_Length::z;
    else if (b_Skip('t'))
        e_Length = et_Length::t;
    else if (b_Skip('I'))
        e_Length = b_Skip('6', '4')   ? et_Length::I64
                   : b_Skip('3', '2') ? et_Length::I32
                                      : et_Length::I;
}

template <typename T_Unit>
char CT_FormatEngine<T_Unit>::c_Sign(bool b_Negative) const
{
    if (b_Negative)
        return '-';
    return so_Spec.b_Plus ? '+' : so_Spec.b_Space ? ' ' : 0;
}

// Reads an argument that travels through "..." as T_Passed and means a T; the result is
// sign-extended for signed conversions, zero-extended otherwise.
template <typename T_Unit>
template <typename T, typename T_Passed>
std::uint64_t CT_FormatEngine<T_Unit>::n_Take(bool b_Signed)
{
    const T t_Value = static_cast<T>(va_arg(co_Args, T_Passed));
    if (b_Signed)
        return static_cast<std::uint64_t>(
            static_cast<std::int64_t>(static_cast<std::make_signed_t<T>>(t_Value)));
    return static_cast<std::make_unsigned_t<T>>(t_Value);
}

template <typename T_Unit>
std::uint64_t CT_FormatEngine<T_Unit>::n_TakeInteger(bool b_Signed)
{
    switch (so_Spec.e_Length)
    {
    case et_Length::hh:
        return n_Take<signed char, int>(b_Signed);
    case et_Length::h:
        return n_Take<short, int>(b_Signed);
    case et_Length::l:
        return n_Take<long>(b_Signed);
    case et_Length::ll:
    case et_Length::L: // as GNU reads it
        return n_Take<long long>(b_Signed);
    case et_Length::j:
        return n_Take<std::intmax_t>(b_Signed);
    case et_Length::z:
        return n_Take<std::size_t>(b_Signed);
    case et_Length::t:
        return n_Take<std::ptrdiff_t>(b_Signed);
    case et_Length::I64:
        return n_Take<std::int64_t>(b_Signed);
    case et_Length::I32:
        return n_Take<std::int32_t>(b_Signed);
    case et_Length::I:
        return n_Take<std::intptr_t>(b_Signed);
    case et_Length::None:
        break;
    }
    return n_Take<int>(b_Signed);
}

template <typename T_Unit>
void CT_FormatEngine<T_Unit>::v_Integer(unsigned n_Base, bool b_Signed, bool b_Upper)
{
    const std::uint64_t n_Value = n_TakeInteger(b_Signed);
    const bool b_Negative = b_Signed && static_cast<std::int64_t>(n_Value) < 0;
    v_PutInteger(b_Negative ? 0 - n_Value : n_Value, b_Signed ? c_Sign(b_Negative) : 0, n_Base,
                 b_Upper);
}

template <typename T_Unit>
void CT_FormatEngine<T_Unit>::v_PutInteger(std::uint64_t n_Magnitude, char c_Sign, unsigned n_Base,
                                           bool b_Upper)
{
    char ac_Digits[22]; // 64 bits in octal
    char* pc_End = ac_Digits + sizeof ac_Digits;
    const char* pcc_Digits = pc_Digits(n_Magnitude, n_Base, b_Upper, pc_End);
    const unsigned n_Digits = static_cast<unsigned>(pc_End - pcc_Digits);

    // A precision asks for a minimum of digits (zero takes none at precision 0) and replaces
    // zero padding.
    const unsigned n_MinDigits = so_Spec.i_Precision < 0 ? 1 : so_Spec.i_Precision;
    so_Spec.b_Zero &= so_Spec.i_Precision < 0;
    unsigned n_LeadZeros = n_MinDigits > n_Digits ? n_MinDigits - n_Digits : 0;
    if (so_Spec.b_Alt && n_Base == 8 && n_LeadZeros == 0)
        n_LeadZeros = 1; // '#' makes an octal number start with 0
    char ac_Prefix[3];
    const unsigned n_PrefixLength =
        n_Prefix(ac_Prefix, c_Sign, so_Spec.b_Alt && n_Base == 16 && n_Magnitude != 0, b_Upper);
    v_PutField({ac_Prefix, n_PrefixLength, n_LeadZeros, pcc_Digits, n_Digits, 0, nullptr, 0});
}

// Windows' form: all the pointer's hex digits, upper case, without 0x.
template <typename T_Unit>
void CT_FormatEngine<T_Unit>::v_Pointer()
{
    const auto n_Value = reinterpret_cast<std::uintptr_t>(va_arg(co_Args, void*));
    so_Spec.b_Alt = false;
    so_Spec.i_Precision = static_cast<int>(2 * sizeof(void*));
    v_PutInteger(n_Value, 0, 16, true);
}

// A long double argument is read as such but formatted as a double, which is what long double
// is in the Windows runtime; beyond double's range it becomes infinite.
template <typename T_Unit>
double CT_FormatEngine<T_Unit>::d_TakeFloat()
{
    if (so_Spec.e_Length != et_Length::L)
        return va_arg(co_Args, double);
    const long double x_Value = va_arg(co_Args, long double);
    if (std::fabs(x_Value) > DBL_MAX)
        return std::signbit(x_Value) ? -HUGE_VAL : HUGE_VAL;
    return static_cast<double>(x_Value);
}

template <typename T_Unit>
void CT_FormatEngine<T_Unit>::v_Float(char c_Conversion)
{
    const double d_Value = d_TakeFloat();
    const double d_Magnitude = std::fabs(d_Value);
    const bool b_Upper = c_Conversion >= 'A' && c_Conversion <= 'Z';
    const bool b_Finite = std::isfinite(d_Value);
    st_FloatText so_Text;
    if (!b_Finite)
        v_ToChars(so_Text, d_Magnitude, std::chars_format::general, -1); // "inf", "nan"
    else if (c_Conversion == 'f' || c_Conversion == 'F')
        v_ToChars(so_Text, d_Magnitude, std::chars_format::fixed,
                  so_Spec.i_Precision < 0 ? 6 : so_Spec.i_Precision);
    else if (c_Conversion == 'e' || c_Conversion == 'E')
        v_ToChars(so_Text, d_Magnitude, std::chars_format::scientific,
                  so_Spec.i_Precision < 0 ? 6 : so_Spec.i_Precision);
    else if (c_Conversion == 'a' || c_Conversion == 'A')
        v_ToChars(so_Text, d_Magnitude, std::chars_format::hex, so_Spec.i_Precision);
    else
        v_General(so_Text, d_Magnitude, so_Spec.i_Precision);

    const bool b_General = c_Conversion == 'g' || c_Conversion == 'G';
    if (b_Finite && so_Spec.b_Alt)
        v_ForcePoint(so_Text);
    else if (b_General)
        v_StripZeros(so_Text);
    if (b_Upper)
    {
        v_Upper(so_Text.ac_Body, so_Text.n_Body);
        v_Upper(so_Text.ac_Tail, so_Text.n_Tail);
    }
    so_Spec.b_Zero &= b_Finite;
    const bool b_Radix = b_Finite && (c_Conversion == 'a' || c_Conversion == 'A');
    char ac_Prefix[3];
    const unsigned n_PrefixLength =
        n_Prefix(ac_Prefix, c_Sign(std::signbit(d_Value)), b_Radix, b_Upper);
    v_PutField({ac_Prefix, n_PrefixLength, 0, so_Text.ac_Body, so_Text.n_Body, so_Text.n_TrailZeros,
                so_Text.ac_Tail, so_Text.n_Tail});
}

// h asks for 8-bit text, l and w for 16-bit; else %s and %c are of the format's own width and
// %S and %C of the other.
template <typename T_Unit>
bool CT_FormatEngine<T_Unit>::b_WideArgument(T_Unit t_Conversion) const
{
    if (so_Spec.e_Length == et_Length::h)
        return false;
    if (so_Spec.e_Length == et_Length::l)
        return true;
    const bool b_Other = t_Conversion == 'S' || t_Conversion == 'C';
    return std::is_same_v<T_Unit, char16_t> != b_Other;
}

// A character of either width arrives promoted to int.
template <typename T_Unit>
void CT_FormatEngine<T_Unit>::v_Char(bool b_Wide)
{
    const int i_Value = va_arg(co_Args, int);
    const char16_t u_Char = static_cast<char16_t>(i_Value);
    const char c_Char = static_cast<char>(i_Value);
    // A zero character is written as such: converted on its own it would read as a failed
    // conversion ('?').
    const T_Unit t_Zero = 0;
    if (b_Wide ? u_Char == 0 : c_Char == 0)
        v_Text(&t_Zero, 1);
    else if (b_Wide)
        v_Text(&u_Char, 1);
    else
        v_Text(&c_Char, 1);
}

template <typename T_Unit>
void CT_FormatEngine<T_Unit>::v_StringArgument(bool b_Wide)
{
    if (b_Wide)
        v_String(va_arg(co_Args, const char16_t*));
    else
        v_String(va_arg(co_Args, const char*));
}

// The precision bounds what is read, so the text need not be terminated within it.
template <typename T_Unit>
template <typename T_From>
void CT_FormatEngine<T_Unit>::v_String(const T_From* pct_Text)
{
    if (!pct_Text)
        return v_String("(null)");
    const unsigned n_Limit = so_Spec.i_Precision < 0 ? UINT_MAX : so_Spec.i_Precision;
    unsigned n_Length = 0;
    while (n_Length < n_Limit && pct_Text[n_Length])
        ++n_Length;
    v_Text(pct_Text, n_Length);
}

// Like the Windows runtime, '0' pads text with zeros too. The width counts converted units.
template <typename T_Unit>
template <typename T_From>
void CT_FormatEngine<T_Unit>::v_Text(const T_From* pct_Text, unsigned n_Length)
{
    if constexpr (!std::is_same_v<T_From, T_Unit>)
    {
        const auto co_Text = co_OtherWidth(pct_Text, n_Length);
        v_Text(pct_TextOf(co_Text), co_Text.n_GetLength());
    }
    else
        v_Justify(n_Length,
                  [&](unsigned n_Zeros)
                  {
                      v_Repeat('0', n_Zeros);
                      v_PutUnits(pct_Text, n_Length);
                  });
}

template class CT_FormatEngine<char>;
template class CT_FormatEngine<char16_t>;

template <typename T_Unit>
unsigned n_Format(T_Unit* pt_Out, unsigned n_Capacity, const T_Unit* pct_Format, va_list args)
{
    if (n_Capacity == 0)
        return 0;
    return CT_FormatEngine<T_Unit>(pt_Out, n_Capacity, pct_Format, args).n_Run();
}
} // namespace

unsigned CT_Formatter::sn_Format(char* pc_Out, unsigned n_Capacity, const char* qccz_Format,
                                 va_list args)
{
    return n_Format(pc_Out, n_Capacity, qccz_Format, args);
}

unsigned CT_Formatter::sn_Format(char16_t* pu_Out, unsigned n_Capacity, const char16_t* qcuz_Format,
                                 va_list args)
{
    return n_Format(pu_Out, n_Capacity, qcuz_Format, args);
}
