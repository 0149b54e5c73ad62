#pragma once
// The Setup menu's choices: sampling times and dB reference impedances, in
// menu order. The view applies them; the CLI's options and the GUI's menus
// look them up here.

#include <array>

#include "run/ids.h"

namespace ql {

struct SamplingChoice {
  int command;
  int code;    // nominal time in units of 50 ms, as stored
  int period;  // ticks of the 50 ms timer per sample
  const char* text;  // as shown in the status bar; the menu shows it unpadded
};

// The periods are not the codes, and not meant to be. The tick that ends a
// period records, so a sample is taken every `period` ticks exactly: "500
// mSEC" records every 400 ms (8), "  1 SEC" every 800 ms (16), then 1.9 s
// (38), 4.3 s (86) and 8.6 s (172). Every reading file recorded so far is
// spaced so, and a run recorded now stays comparable with them point for
// point. `code` names the choice in the settings file (a code outside the
// table is taken as the period itself). Do not "correct" the periods to 10,
// 20, 40, 100 and 200.
inline constexpr std::array<SamplingChoice, 5> kSamplingChoices{{
    {cmd::kSampling500ms, 10, 8, "500 mSEC"},
    {cmd::kSampling1s, 20, 16, "  1 SEC"},
    {cmd::kSampling2s, 40, 38, "  2 SEC"},
    {cmd::kSampling5s, 100, 86, "  5 SEC"},
    {cmd::kSampling10s, 200, 172, " 10 SEC"},
}};

struct DbChoice {
  int ohms;
  float kiloOhms;
  const char* text;  // the menu's text
};

// Commands cmd::kDbRefFirst + i, in order.
inline constexpr std::array<DbChoice, 15> kDbChoices{{
    {2, 0.002f, "2 Ohm"},     {4, 0.004f, "4 Ohm"},     {8, 0.008f, "8 Ohm"},
    {16, 0.016f, "16 Ohm"},   {50, 0.05f, "50 Ohm"},    {75, 0.075f, "75 Ohm"},
    {93, 0.093f, "93 Ohm"},   {110, 0.11f, "110 Ohm"},  {125, 0.125f, "125 Ohm"},
    {135, 0.135f, "135 Ohm"}, {150, 0.15f, "150 Ohm"},  {300, 0.3f, "300 Ohm"},
    {600, 0.6f, "600 Ohm"},   {900, 0.9f, "900 Ohm"},   {1000, 1.0f, "1000 Ohm"},
}};

}  // namespace ql
