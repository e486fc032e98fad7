#include <gtest/gtest.h>

#include <optional>

#include "app/tuning/TypedNumber.h"

namespace {

// Each reader's rows: the typed text and its value, or empty for refused.
template <class T>
struct Row {
    const wchar_t* text;
    std::optional<T> value;
};

const std::nullopt_t kRefused = std::nullopt;

TEST(TypedNumber, Decimal)
{
    const Row<double> rows[] = {
        {L"\u221212", -12.0}, {L"\uFF0D\uFF11\uFF12", -12.0}, {L"\uFF12.\uFF15", 2.5}, {L"\uFF12\uFF0E\uFF15", 2.5},
        {L"-7,5", -7.5},      {L" +3 ", 3.0},                 {L"2,5 ms", 2.5},        {L"2,5 \u043C\u0441", 2.5},
        {L"-12dB", -12.0},    {L".5", 0.5},                   {L"3,5\u043A", kRefused}, {L"1e1", kRefused},
        {L"0x10", kRefused},  {L"1e999", kRefused},           {L"inf", kRefused},      {L"2,5 cm", kRefused},
        {L"abc", kRefused},   {L"-", kRefused},               {L"", kRefused},         {L"1.2.3", kRefused},
        {L"-12 \u0434\u0411", -12.0}, {L"-12\u5206\u8d1d", -12.0},
    };
    for (const auto& row : rows) EXPECT_EQ(row.value, ReadTypedDecimal(row.text, {L"ms", L"\u043C\u0441", L"dB"})) << row.text;
}

TEST(TypedNumber, Whole)
{
    const Row<int> rows[] = {
        {L"\u221212", -12}, {L"\uFF0D\uFF11\uFF12", -12}, {L"\uFF12.\uFF15", 2}, {L"-7,5", -7},   {L"\uFF15\uFF10", 50},
        {L"-12 dB", -12},   {L"2\u043B5", kRefused},      {L"1.5k", kRefused},   {L"abc", kRefused}, {L"-", kRefused},
        {L"2,000", kRefused},
    };
    for (const auto& row : rows) EXPECT_EQ(row.value, ReadTypedWhole(row.text, {L"dB"})) << row.text;
}

TEST(TypedNumber, Frequency)
{
    const Row<int> rows[] = {
        {L"3,5\u043A", 3500},   {L"3.5 \u043A\u0413\u0446", 3500}, {L"1.5k", 1500},    {L"1,5K", 1500},
        {L"2k5", 2500},         {L"12K5", 12500},                  {L"1k", 1000},      {L"120", 120},
        {L"80Hz", 80},          {L"80 \u0413\u0446", 80},          {L"\uFF18\uFF10", 80}, {L"3kHz", 3000},
        {L"2\u043B5", kRefused}, {L"8\u043B", kRefused},           {L"3\u044E5\u043A", kRefused},
        {L"k5", kRefused},      {L"-12", kRefused},                {L"abc", kRefused}, {L"-", kRefused},
        {L"", kRefused},        {L"99999999999k", kRefused},       {L"2k5.5", kRefused},
        {L"2.500", kRefused},   {L"80\u8d6b\u5179", 80},
    };
    for (const auto& row : rows) EXPECT_EQ(row.value, ReadTypedFrequency(row.text)) << row.text;
}

TEST(TypedNumber, OffWord)
{
    const Row<bool> rows[] = {
        {L"off", true},  {L"Off", true},  {L"OFF", true},  {L"\u0412\u042B\u041A\u041B", true}, {L"\u0432\u044B\u043A\u043B", true},
        {L"\u5173", true}, {L"\uFF2F\uFF26\uFF26", true}, {L"of", false}, {L"-12", false}, {L"abc", false}, {L"-", false},
    };
    for (const auto& row : rows) EXPECT_EQ(*row.value, IsTypedOff(row.text)) << row.text;
}

TEST(TypedNumber, ServiceWord)
{
    const Row<uint32_t> rows[] = {
        {L"0x1A", 26u},        {L"017", 15u},        {L"0X10", 16u},      {L"0xFFFFFFFF", 4294967295u},
        {L"0", 0u},            {L"0x123456789", kRefused}, {L" 0x10", 16u}, {L"0x\uFF11\uFF10", 16u},
        {L"FFFF", kRefused},   {L"019", kRefused},   {L"12ab", kRefused}, {L"0x", kRefused},
        {L"-1", kRefused},     {L"12,5", kRefused},  {L"abc", kRefused},  {L"-", kRefused},   {L"", kRefused},
        {L"4294967296", kRefused},
    };
    for (const auto& row : rows) EXPECT_EQ(row.value, ReadServiceWord(row.text)) << row.text;
}

} // namespace
