// The test executable's string resources, read by both the Windows resource script and the
// native registration. The texts are plain UTF-8 literals: the script reads them with code page
// 65001, C++ joins them to a u"" prefix.
#pragma once

#define CT_TEST_STRING_SHORT 4200
#define CT_TEST_STRING_LONG 4201
#define CT_TEST_STRING_FORMAT 4202
#define CT_TEST_STRING_ACCENTS 4203
// In the same block of sixteen as the others, and in a block of its own with no strings.
#define CT_TEST_STRING_MISSING 4215
#define CT_TEST_STRING_MISSING_BLOCK 4300

// U+00E9 has a byte in code page 1252, U+4E2D has none, not even a best fit.
#define CT_TEST_STRINGS(X)                                                                         \
    X(CT_TEST_STRING_SHORT, "Hello")                                                               \
    X(CT_TEST_STRING_LONG, "The quick brown fox")                                                  \
    X(CT_TEST_STRING_FORMAT, "Item %d of %hs")                                                     \
    X(CT_TEST_STRING_ACCENTS, "Café 中")
