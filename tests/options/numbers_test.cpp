// SPDX-License-Identifier: MIT
// Numbers in text: the leading value of a text, the box form, and the settings-file bytes.
#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "options/numbers.h"

namespace pelorix {
namespace {

constexpr double huge = std::numeric_limits<double>::max();

struct TextCase {
    const char* text;
    double value;
};

TEST(NumbersTextValue, ReadsTheNumberAtTheStart) {
    const TextCase cases[] = {
        {"", 0},        {"abc", 0},       {"25abc", 25},     {".5", 0.5},      {"-3", -3},
        {"1e2", 100},   {"3d2", 300},     {" 1 2", 12},      {"- 3", -3},      {"+7", 7},
        {"1.5.3", 1.5}, {"1e", 1},        {"e5", 0},         {"--3", 0},       {"0x10", 0},
        {"12,5", 12},   {"\t4", 4},       {"5.", 5},         {"2 0", 20},      {"-", 0},
        {"1e999", huge}, {"-1e999", -huge}, {"1e-999", 0},  {"0.000e999", 0}, {"99", 99},
        {"1e0000000001", 10}, {"1e0", 1},
    };
    for (const auto& c : cases) EXPECT_EQ(textvalue(c.text), c.value) << '"' << c.text << '"';
}

TEST(NumbersTextValue, VeryLongDigitRunsStayFinite) {
    EXPECT_EQ(textvalue(std::string(400, '9')), huge);
    EXPECT_EQ(textvalue("." + std::string(400, '0') + "1"), 0);
}

struct FormCase {
    double value;
    const char* text;
};

TEST(NumbersNumberText, ShortestFormWithoutLeadingZero) {
    const FormCase cases[] = {
        {1, "1"},
        {100, "100"},
        {0.5, ".5"},
        {-0.5, "-.5"},
        {0, "0"},
        {-0.0, "0"},
        {1.25, "1.25"},
        {0.1 + 0.2, ".3"},
        {-3, "-3"},
        {1.0 / 3.0, ".333333333333333"},
        {2.0 / 3.0, ".666666666666667"},
        {123456789012345, "123456789012345"},
        {1e15, "1E+15"},
        {0.00001, "1E-05"},
        {214748364.7, "214748364.7"},
    };
    for (const auto& c : cases) EXPECT_EQ(numbertext(c.value), c.text) << c.value;
}

TEST(NumbersSettingBytes, BlankOrMinusNumberBlankCrLf) {
    const FormCase cases[] = {
        {1, "\x20\x31\x20\x0D\x0A"},
        {100, "\x20\x31\x30\x30\x20\x0D\x0A"},
        {0.5, " .5 \r\n"},
        {0, "\x20\x30\x20\x0D\x0A"},
        {-3, "-3 \r\n"},
        {-0.5, "-.5 \r\n"},
        {12, "\x20\x31\x32\x20\x0D\x0A"},
    };
    for (const auto& c : cases) EXPECT_EQ(settingbytes(c.value), c.text) << c.value;
}

struct FileCase {
    const char* content;
    std::optional<double> value;
};

TEST(NumbersSettingValue, FirstFieldOfTheFile) {
    const FileCase cases[] = {
        {"5", 5},
        {" 12 ,x", 12},
        {" 1 \r\n", 1},
        {"-3 \r\n", -3},
        {"  .5 \r\n", 0.5},
        {"7,8", 7},
        {"1 2", 1},
        {"12abc", 12},
        {"\r\n9", 9},
        {"1e999", huge},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {" \r\n", std::nullopt},
        {"abc", std::nullopt},
        {"x5", std::nullopt},
        {"- 5", std::nullopt},
        {",5", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(settingvalue(c.content), c.value) << '"' << c.content << '"';
}

TEST(NumbersSettingValue, BlanksBeforeTheNumberAreNotCountedAgainstIt) {
    const std::string blanks(200000, ' ');
    EXPECT_EQ(settingvalue(blanks + "12 \r\n"), 12);
    EXPECT_EQ(settingvalue(blanks + "\r\n\t-4,5"), -4);
    EXPECT_EQ(settingvalue(blanks), std::nullopt);
    // The number's own text is what is bounded: digits past the bound are not read.
    EXPECT_EQ(settingvalue(std::string(maxnumbertext - 1, '0') + "9"), 9);
    EXPECT_EQ(settingvalue(std::string(maxnumbertext, '0') + "9"), 0);
}

TEST(NumbersSettingValue, ReadsBackWhatWasWritten) {
    const double values[] = {1, 100, 0.5, 0, -3, 1.0 / 3.0, 1e15, 0.00001, 214748364.7, 21474836.47, 123.456, -0.25};
    for (double v : values) {
        const std::optional<double> back = settingvalue(settingbytes(v));
        ASSERT_TRUE(back.has_value()) << v;
        EXPECT_NEAR(*back, v, std::abs(v) * 1e-14) << v;
        // The box form reads back to the same value as the file form.
        EXPECT_EQ(textvalue(numbertext(v)), *back) << v;
    }
}

}  // namespace
}  // namespace pelorix
