// The four reading modes of the meter panel: relative reading, dB level
// (conductance for resistance), peak hold and minimum/maximum/average. They
// change what the panel and the boxes beside it show, never the list.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <optional>

#include "decode/class_letters.h"
#include "run/format_text.h"
#include "run/ids.h"
#include "run/qarn_view.h"

namespace ql {

namespace {

constexpr float kExtremeStart = 10000.0f;

// Power of a voltage q across rk kilo-ohms, in dB relative to 1 mW.
double VoltageLevel(double q, double rk) { return q == 0.0 ? 0.0 : 10.0 * std::log10(q * q / rk); }
// Power of a current q through rk kilo-ohms, in dB relative to 1 mW.
double CurrentLevel(double q, double rk) {
  return q == 0.0 ? 0.0 : 10.0 * std::log10(rk * (1000.0 * q) * (1000.0 * q));
}
// Conductance in nanosiemens; resistances below 1 megohm count as 0.
double Conductance(double ohms) { return ohms >= 1000000.0 ? 1000000000.0 / ohms : 0.0; }

// Keeps at most 10 characters of `text`.
void CopyShortText(char (&field)[11], const char* text) {
  std::snprintf(field, sizeof field, "%.10s", text);
}

// Digits after the point of an average or a difference shown for a reading
// with `decimals` decimals.
int ShownDecimals(int decimals) { return std::clamp(decimals, 0, 9); }

}  // namespace

void CQarnView::OnButtonRel() {
  if (m_bRel) {
    m_bRel = 0;
    m_host.controls.EnableControl(ctl::kRelGroup, false);
    m_host.controls.EnableControl(ctl::kRelRefText, false);
    return;
  }
  m_fRelRef = m_fValue;
  m_bRel = 1;
  m_bRelCapture = 1;
  m_host.controls.EnableControl(ctl::kRelGroup, true);
  m_host.controls.EnableControl(ctl::kRelRefText, true);
}

void CQarnView::OnButtonDb() {
  if (m_bDb) {
    m_bDb = 0;
    m_host.controls.SetControlText(
        ctl::kRelRefText, FormatText("%s %s %s", m_szPrefix, m_szRelRefText, m_szRelRefUnit));
    m_host.controls.EnableControl(ctl::kDbGroup, false);
    m_host.controls.EnableControl(ctl::kDbRefText, false);
    return;
  }
  m_bDb = 1;
  m_host.controls.EnableControl(ctl::kDbGroup, true);
  m_host.controls.EnableControl(ctl::kDbRefText, true);
  DbReferenceChanged();
}

void CQarnView::OnButtonPeakHold() {
  if (m_bPeakHold) {
    m_bPeakHold = 0;
    m_host.controls.EnableControl(ctl::kStatGroup, false);
    m_host.controls.EnableControl(ctl::kPeakMax, false);
    m_host.controls.EnableControl(ctl::kPeakMin, false);
    return;
  }
  m_bMinMax = 0;
  m_host.controls.SetControlText(ctl::kMinMaxMax, "");
  m_host.controls.SetControlText(ctl::kMinMaxAvg, "");
  m_host.controls.SetControlText(ctl::kMinMaxMin, "");
  m_bPeakHold = 1;
  m_fPeakMin = kExtremeStart;
  m_fPeakMax = -kExtremeStart;
  m_host.controls.SetControlText(ctl::kStatGroup, "PEAK HOLD");
  m_host.controls.EnableControl(ctl::kStatGroup, true);
  m_host.controls.EnableControl(ctl::kPeakMax, true);
  m_host.controls.EnableControl(ctl::kPeakMin, true);
}

void CQarnView::OnButtonMinMax() {
  if (m_bMinMax) {
    m_bMinMax = 0;
    m_host.controls.EnableControl(ctl::kStatGroup, false);
    m_host.controls.EnableControl(ctl::kMinMaxMax, false);
    m_host.controls.EnableControl(ctl::kMinMaxAvg, false);
    m_host.controls.EnableControl(ctl::kMinMaxMin, false);
    return;
  }
  m_bPeakHold = 0;
  m_host.controls.SetControlText(ctl::kPeakMax, "");
  m_host.controls.SetControlText(ctl::kPeakMin, "");
  m_dWindowSum = 0.0;
  m_fWindowCount = 0.0f;
  m_bMinMax = 1;
  m_fMinMaxMin = kExtremeStart;
  m_fMinMaxMax = -kExtremeStart;
  m_host.controls.SetControlText(ctl::kStatGroup, "MIN/MAX");
  m_host.controls.SetControlText(ctl::kMinMaxMax, "");
  m_host.controls.SetControlText(ctl::kMinMaxAvg, "");
  m_host.controls.SetControlText(ctl::kMinMaxMin, "");
  m_host.controls.EnableControl(ctl::kStatGroup, true);
  m_host.controls.EnableControl(ctl::kMinMaxMax, true);
  m_host.controls.EnableControl(ctl::kMinMaxAvg, true);
  m_host.controls.EnableControl(ctl::kMinMaxMin, true);
}

void CQarnView::ApplyModes(const Reading& reading) {
  if (reading.classLetter != class_letter::kDiode) {
    ApplyExtremes(reading);
    if (m_bRel) ApplyRelative(reading);
  }
  if (m_bDb) ApplyDb(reading);
}

// Widens [min, max] to take in `value`, keeping the display text of each
// new extreme.
void CQarnView::TakeExtreme(float& max, float& min, char (&maxText)[11], char (&minText)[11]) {
  const float v = m_fValue;
  if (!(max > v)) {
    max = v;
    CopyShortText(maxText, m_szDisplay);
  }
  if (!(min < v)) {
    min = v;
    CopyShortText(minText, m_szDisplay);
  }
}

double CQarnView::WindowAverage() const {
  return m_fWindowCount > 0.0f ? m_dWindowSum / static_cast<double>(m_fWindowCount) : 0.0;
}

void CQarnView::ApplyExtremes(const Reading& reading) {
  if (m_bPeakHold) {
    TakeExtreme(m_fPeakMax, m_fPeakMin, m_szPeakMaxText, m_szPeakMinText);
    m_host.controls.SetControlText(ctl::kPeakMax,
                                   FormatText("MAX:%s%s%s", m_szPrefix, m_szPeakMaxText, m_szUnit));
    m_host.controls.SetControlText(ctl::kPeakMin,
                                   FormatText("MIN:%s%s%s", m_szPrefix, m_szPeakMinText, m_szUnit));
  } else if (m_bMinMax) {
    TakeExtreme(m_fMinMaxMax, m_fMinMaxMin, m_szMinMaxMaxText, m_szMinMaxMinText);
    m_host.controls.SetControlText(
        ctl::kMinMaxMax, FormatText("MAX:%s%s%s", m_szPrefix, m_szMinMaxMaxText, m_szUnit));
    m_host.controls.SetControlText(
        ctl::kMinMaxMin, FormatText("MIN:%s%s%s", m_szPrefix, m_szMinMaxMinText, m_szUnit));
    const int decimals = reading.decimals >= 1 && reading.decimals <= 4 ? reading.decimals : 0;
    m_host.controls.SetControlText(
        ctl::kMinMaxAvg,
        FormatText("AVG:%s%4.*f %s", m_szPrefix, decimals, WindowAverage(), m_szUnit));
  }
}

void CQarnView::ApplyRelative(const Reading& reading) {
  if (m_bRelCapture) {
    m_bRelCapture = 0;
    m_fRelRef = m_fValue;
    m_host.controls.SetControlText(ctl::kRelRefText,
                                   FormatText("%s %s %s", m_szPrefix, m_szDisplay, m_szUnit));
    CopyShortText(m_szRelRefText, m_szDisplay);
    CopyShortText(m_szRelRefUnit, m_szUnit);
  }
  // A reading without decimals shows its difference without decimals too.
  const float difference = m_fValue - m_fRelRef;
  std::snprintf(m_szDisplay, sizeof m_szDisplay, "%4.*f", ShownDecimals(reading.decimals),
                static_cast<double>(difference));
}

// What the dB mode shows in place of a reading: a level or a conductance.
struct CQarnView::DbForm {
  std::function<double(double)> level;
  int decimals;
  const char* unit;
};

void CQarnView::ApplyDb(const Reading& reading) {
  const char c = reading.classLetter;
  const double rk = static_cast<double>(m_fDbRefKOhm);
  std::optional<DbForm> form;
  if (class_letter::IsVoltage(c)) {
    form = DbForm{[rk](double q) { return VoltageLevel(q, rk); }, 2, "dB"};
  } else if (class_letter::IsHighCurrent(c)) {
    form = DbForm{[rk](double q) { return CurrentLevel(q, rk); }, 2, "dB"};
  } else if (c == class_letter::kOhm) {
    form = DbForm{Conductance, 1, "nS"};
  }
  if (form) ApplyDbForm(reading, *form);
  DbReferenceChanged();
}

void CQarnView::ApplyDbForm(const Reading& reading, const DbForm& form) {
  const double f = reading.factor;
  const int d = form.decimals;
  const char* unit = form.unit;
  double referenceLevel = 0.0;
  if (m_bRel) {
    referenceLevel = form.level(static_cast<double>(m_fRelRef) * f);
    m_host.controls.SetControlText(ctl::kRelRefText,
                                   FormatText("%s %.*f %s", m_szPrefix, d, referenceLevel, unit));
  }
  const auto show = [&](int id, const char* tag, double q) {
    m_host.controls.SetControlText(
        id, FormatText("%s%s %.*f %s", tag, m_szPrefix, d, form.level(q), unit));
  };
  if (m_bPeakHold) {
    show(ctl::kPeakMax, "MAX:", static_cast<double>(m_fPeakMax) * f);
    show(ctl::kPeakMin, "MIN:", static_cast<double>(m_fPeakMin) * f);
  } else if (m_bMinMax) {
    show(ctl::kMinMaxMax, "MAX:", static_cast<double>(m_fMinMaxMax) * f);
    show(ctl::kMinMaxMin, "MIN:", static_cast<double>(m_fMinMaxMin) * f);
    show(ctl::kMinMaxAvg, "AVG:", WindowAverage() * f);
  }
  m_fDbValue = static_cast<float>(form.level(reading.scaled));
  const double level = static_cast<double>(m_fDbValue);  // as kept, in single precision
  const double shown = m_bRel ? level - referenceLevel : level;
  std::snprintf(m_szDisplay, sizeof m_szDisplay, "%.*f", d, shown);
  std::snprintf(m_szUnit, sizeof m_szUnit, "%s", unit);
}

}  // namespace ql
