// The four reading modes of the meter panel: relative reading, dB level
// (conductance for resistance), peak hold and minimum/maximum/average. They
// change what the panel and the boxes beside it show, never the list.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "run/format_text.h"
#include "run/ids.h"
#include "run/qarn_view.h"

namespace ql {

namespace {

constexpr char kClassOhm = 'E';
constexpr char kClassDiode = 'G';
constexpr float kExtremeStart = 10000.0f;

bool IsVoltageClass(char c) { return c == 'A' || c == 'B' || c == 'C' || c == 'D'; }
bool IsHighCurrentClass(char c) { return c == 'K' || c == 'L'; }

// Power of a voltage q across rk kilo-ohms, in dB relative to 1 mW.
double VoltageLevel(double q, float rk) { return q == 0.0 ? 0.0 : 10.0 * std::log10(q * q / rk); }
// Power of a current q through rk kilo-ohms, in dB relative to 1 mW.
double CurrentLevel(double q, float rk) {
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
    m_host.EnableControl(ctl::kRelGroup, false);
    m_host.EnableControl(ctl::kRelRefText, false);
    return;
  }
  m_fRelRef = m_fValue;
  m_bRel = 1;
  m_bRelCapture = 1;
  m_host.EnableControl(ctl::kRelGroup, true);
  m_host.EnableControl(ctl::kRelRefText, true);
}

void CQarnView::OnButtonDb() {
  if (m_bDb) {
    m_bDb = 0;
    m_host.SetControlText(ctl::kRelRefText,
                          FormatText("%s %s %s", m_szPrefix, m_szRelRefText, m_szRelRefUnit));
    m_host.EnableControl(ctl::kDbGroup, false);
    m_host.EnableControl(ctl::kDbRefText, false);
    return;
  }
  m_bDb = 1;
  m_host.EnableControl(ctl::kDbGroup, true);
  m_host.EnableControl(ctl::kDbRefText, true);
  DbReferenceChanged();
}

void CQarnView::OnButtonPeakHold() {
  if (m_bPeakHold) {
    m_bPeakHold = 0;
    m_host.EnableControl(ctl::kStatGroup, false);
    m_host.EnableControl(ctl::kPeakMax, false);
    m_host.EnableControl(ctl::kPeakMin, false);
    return;
  }
  m_bMinMax = 0;
  m_host.SetControlText(ctl::kMinMaxMax, "");
  m_host.SetControlText(ctl::kMinMaxAvg, "");
  m_host.SetControlText(ctl::kMinMaxMin, "");
  m_bPeakHold = 1;
  m_fPeakMin = kExtremeStart;
  m_fPeakMax = -kExtremeStart;
  m_host.SetControlText(ctl::kStatGroup, "PEAK HOLD");
  m_host.EnableControl(ctl::kStatGroup, true);
  m_host.EnableControl(ctl::kPeakMax, true);
  m_host.EnableControl(ctl::kPeakMin, true);
}

void CQarnView::OnButtonMinMax() {
  if (m_bMinMax) {
    m_bMinMax = 0;
    m_host.EnableControl(ctl::kStatGroup, false);
    m_host.EnableControl(ctl::kMinMaxMax, false);
    m_host.EnableControl(ctl::kMinMaxAvg, false);
    m_host.EnableControl(ctl::kMinMaxMin, false);
    return;
  }
  m_bPeakHold = 0;
  m_host.SetControlText(ctl::kPeakMax, "");
  m_host.SetControlText(ctl::kPeakMin, "");
  m_dWindowSum = 0.0;
  m_fWindowCount = 0.0f;
  m_bMinMax = 1;
  m_fMinMaxMin = kExtremeStart;
  m_fMinMaxMax = -kExtremeStart;
  m_host.SetControlText(ctl::kStatGroup, "MIN/MAX");
  m_host.SetControlText(ctl::kMinMaxMax, "");
  m_host.SetControlText(ctl::kMinMaxAvg, "");
  m_host.SetControlText(ctl::kMinMaxMin, "");
  m_host.EnableControl(ctl::kStatGroup, true);
  m_host.EnableControl(ctl::kMinMaxMax, true);
  m_host.EnableControl(ctl::kMinMaxAvg, true);
  m_host.EnableControl(ctl::kMinMaxMin, true);
}

void CQarnView::ApplyModes(const Reading& reading) {
  if (reading.classLetter != kClassDiode) {
    ApplyExtremes(reading);
    if (m_bRel) ApplyRelative(reading);
  }
  if (m_bDb) ApplyDb(reading);
}

void CQarnView::ApplyExtremes(const Reading& reading) {
  const float v = m_fValue;
  if (m_bPeakHold) {
    if (!(m_fPeakMax > v)) {
      m_fPeakMax = v;
      CopyShortText(m_szPeakMaxText, m_szDisplay);
    }
    if (!(m_fPeakMin < v)) {
      m_fPeakMin = v;
      CopyShortText(m_szPeakMinText, m_szDisplay);
    }
    m_host.SetControlText(ctl::kPeakMax,
                          FormatText("MAX:%s%s%s", m_szPrefix, m_szPeakMaxText, m_szUnit));
    m_host.SetControlText(ctl::kPeakMin,
                          FormatText("MIN:%s%s%s", m_szPrefix, m_szPeakMinText, m_szUnit));
  } else if (m_bMinMax) {
    if (!(m_fMinMaxMax > v)) {
      m_fMinMaxMax = v;
      CopyShortText(m_szMinMaxMaxText, m_szDisplay);
    }
    if (!(m_fMinMaxMin < v)) {
      m_fMinMaxMin = v;
      CopyShortText(m_szMinMaxMinText, m_szDisplay);
    }
    m_host.SetControlText(ctl::kMinMaxMax,
                          FormatText("MAX:%s%s%s", m_szPrefix, m_szMinMaxMaxText, m_szUnit));
    m_host.SetControlText(ctl::kMinMaxMin,
                          FormatText("MIN:%s%s%s", m_szPrefix, m_szMinMaxMinText, m_szUnit));
    const double average = m_fWindowCount > 0.0f ? m_dWindowSum / m_fWindowCount : 0.0;
    const int decimals = reading.decimals >= 1 && reading.decimals <= 4 ? reading.decimals : 0;
    m_host.SetControlText(ctl::kMinMaxAvg,
                          FormatText("AVG:%s%4.*f %s", m_szPrefix, decimals, average, m_szUnit));
  }
}

void CQarnView::ApplyRelative(const Reading& reading) {
  if (m_bRelCapture) {
    m_bRelCapture = 0;
    m_fRelRef = m_fValue;
    m_host.SetControlText(ctl::kRelRefText,
                          FormatText("%s %s %s", m_szPrefix, m_szDisplay, m_szUnit));
    CopyShortText(m_szRelRefText, m_szDisplay);
    CopyShortText(m_szRelRefUnit, m_szUnit);
  }
  // A reading without decimals shows its difference without decimals too.
  const float difference = m_fValue - m_fRelRef;
  std::snprintf(m_szDisplay, sizeof m_szDisplay, "%4.*f", ShownDecimals(reading.decimals),
                static_cast<double>(difference));
}

void CQarnView::ApplyDb(const Reading& reading) {
  const char c = reading.classLetter;
  const double f = reading.factor;
  const double reference = static_cast<double>(m_fRelRef) * f;
  const bool voltage = IsVoltageClass(c);
  if (voltage || IsHighCurrentClass(c)) {
    const auto level = [&](double q) {
      return voltage ? VoltageLevel(q, m_fDbRefKOhm) : CurrentLevel(q, m_fDbRefKOhm);
    };
    double referenceLevel = 0.0;
    if (m_bRel) {
      referenceLevel = level(reference);
      m_host.SetControlText(ctl::kRelRefText, FormatText("%s %.2f dB", m_szPrefix, referenceLevel));
    }
    if (m_bPeakHold) {
      m_host.SetControlText(ctl::kPeakMax,
                            FormatText("MAX:%s %.2f dB", m_szPrefix, level(m_fPeakMax * f)));
      m_host.SetControlText(ctl::kPeakMin,
                            FormatText("MIN:%s %.2f dB", m_szPrefix, level(m_fPeakMin * f)));
    } else if (m_bMinMax) {
      const double average = m_fWindowCount > 0.0f ? m_dWindowSum / m_fWindowCount : 0.0;
      m_host.SetControlText(ctl::kMinMaxMax,
                            FormatText("MAX:%s %.2f dB", m_szPrefix, level(m_fMinMaxMax * f)));
      m_host.SetControlText(ctl::kMinMaxMin,
                            FormatText("MIN:%s %.2f dB", m_szPrefix, level(m_fMinMaxMin * f)));
      m_host.SetControlText(ctl::kMinMaxAvg,
                            FormatText("AVG:%s %.2f dB", m_szPrefix, level(average * f)));
    }
    m_fDbValue = static_cast<float>(level(reading.scaled));
    const double shown = m_bRel ? m_fDbValue - referenceLevel : m_fDbValue;
    std::snprintf(m_szDisplay, sizeof m_szDisplay, "%.2f", shown);
    std::snprintf(m_szUnit, sizeof m_szUnit, "%s", "dB");
  } else if (c == kClassOhm) {
    double referenceConductance = 0.0;
    if (m_bRel) {
      referenceConductance = Conductance(reference);
      m_host.SetControlText(ctl::kRelRefText,
                            FormatText("%s %.1f nS", m_szPrefix, referenceConductance));
    }
    if (m_bPeakHold) {
      m_host.SetControlText(ctl::kPeakMax,
                            FormatText("MAX:%s %.1f nS", m_szPrefix, Conductance(m_fPeakMax * f)));
      m_host.SetControlText(ctl::kPeakMin,
                            FormatText("MIN:%s %.1f nS", m_szPrefix, Conductance(m_fPeakMin * f)));
    } else if (m_bMinMax) {
      const double average = m_fWindowCount > 0.0f ? m_dWindowSum / m_fWindowCount : 0.0;
      m_host.SetControlText(
          ctl::kMinMaxMax, FormatText("MAX:%s %.1f nS", m_szPrefix, Conductance(m_fMinMaxMax * f)));
      m_host.SetControlText(
          ctl::kMinMaxMin, FormatText("MIN:%s %.1f nS", m_szPrefix, Conductance(m_fMinMaxMin * f)));
      m_host.SetControlText(ctl::kMinMaxAvg,
                            FormatText("AVG:%s %.1f nS", m_szPrefix, Conductance(average * f)));
    }
    m_fDbValue = static_cast<float>(Conductance(reading.scaled));
    const double shown = m_bRel ? m_fDbValue - referenceConductance : m_fDbValue;
    std::snprintf(m_szDisplay, sizeof m_szDisplay, "%.1f", shown);
    std::snprintf(m_szUnit, sizeof m_szUnit, "%s", "nS");
  }
  DbReferenceChanged();
}

}  // namespace ql
