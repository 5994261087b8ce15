// SPDX-License-Identifier: GPL-3.0-or-later
#include "hotkeys/KeyCodeTable.h"

#include <QHash>

#include <array>
#include <utility>

namespace Hotkeys::KeyCodeTable {

namespace {

// {stored key code, X11 keycode}. Help is Insert and the keypad's Clear is Num Lock: the PC
// keys in their places. Key code 10 is the extra key left of Z on ISO keyboards.
constexpr std::array<std::pair<qint64, quint32>, 113> kPairs = {{
    {0, 38},    {1, 39},    {2, 40},   {3, 41},    {4, 43},    {5, 42},    {6, 52},    {7, 53},
    {8, 54},    {9, 55},    {10, 94},  {11, 56},   {12, 24},   {13, 25},   {14, 26},   {15, 27},
    {16, 29},   {17, 28},   {18, 10},  {19, 11},   {20, 12},   {21, 13},   {22, 15},   {23, 14},
    {24, 21},   {25, 18},   {26, 16},  {27, 20},   {28, 17},   {29, 19},   {30, 35},   {31, 32},
    {32, 30},   {33, 34},   {34, 31},  {35, 33},   {36, 36},   {37, 46},   {38, 44},   {39, 48},
    {40, 45},   {41, 47},   {42, 51},  {43, 59},   {44, 61},   {45, 57},   {46, 58},   {47, 60},
    {48, 23},   {49, 65},   {50, 49},  {51, 22},   {53, 9},    {54, 105},  {55, 37},   {56, 50},
    {57, 66},   {58, 64},   {59, 133}, {60, 62},   {61, 108},  {62, 134},  {64, 195},  {65, 91},
    {67, 63},   {69, 86},   {71, 77},  {72, 123},  {73, 122},  {74, 121},  {75, 106},  {76, 104},
    {78, 82},   {79, 196},  {80, 197}, {81, 125},  {82, 90},   {83, 87},   {84, 88},   {85, 89},
    {86, 83},   {87, 84},   {88, 85},  {89, 79},   {90, 198},  {91, 80},   {92, 81},   {96, 71},
    {97, 72},   {98, 73},   {99, 69},  {100, 74},  {101, 75},  {103, 95},  {105, 191}, {106, 194},
    {107, 192}, {109, 76},  {111, 96}, {113, 193}, {114, 118}, {115, 110}, {116, 112}, {117, 119},
    {118, 70},  {119, 115}, {120, 68}, {121, 117}, {122, 67},  {123, 113}, {124, 114}, {125, 116},
    {126, 111},
}};

template<typename From, typename To, bool Reverse> const QHash<From, To> &index()
{
    static const QHash<From, To> map = [] {
        QHash<From, To> result;
        for (const auto &[code, x11] : kPairs) {
            if constexpr (Reverse)
                result.insert(x11, code);
            else
                result.insert(code, x11);
        }
        return result;
    }();
    return map;
}

template<typename From, typename To, bool Reverse> std::optional<To> lookup(From from)
{
    const QHash<From, To> &map = index<From, To, Reverse>();
    const auto found = map.constFind(from);
    if (found == map.cend())
        return std::nullopt;
    return *found;
}

} // namespace

std::optional<quint32> x11Keycode(qint64 keyCode)
{
    return lookup<qint64, quint32, false>(keyCode);
}

std::optional<qint64> keyCode(quint32 x11Keycode)
{
    return lookup<quint32, qint64, true>(x11Keycode);
}

} // namespace Hotkeys::KeyCodeTable
