// The three stored settings (port, sampling time, dB reference): read when
// the view is created, changed by the Setup commands, written to the store
// the moment they change and shown in the status bar and the menus.

#include <climits>

#include "run/format_text.h"
#include "run/ids.h"
#include "run/qarn_view.h"
#include "run/settings_tables.h"

namespace ql {

namespace {

constexpr char kPortSection[] = "COMM";
constexpr char kPortKey[] = "Port";
constexpr char kDbSection[] = "Db";
constexpr char kDbKey[] = "Ref";
constexpr char kSamplingSection[] = "Sampling Time";
constexpr char kSamplingCodeKey[] = "Current";
constexpr char kSamplingTextKey[] = "Use display";

constexpr int kDefaultPort = 1;
constexpr int kDefaultDbRef = 600;
constexpr int kDefaultSamplingCode = 20;
constexpr char kDefaultSamplingText[] = "  1 SEC";

static_assert(kSamplingChoices.size() == CQarnView::kSamplingCommands);
static_assert(kDbChoices.size() == CQarnView::kDbCommands);

}  // namespace

void CQarnView::ReadSettings() {
  m_rsCom.m_nComPort = m_store.GetInt(kPortSection, kPortKey, kDefaultPort);
  m_link.m_nPortIndex = m_rsCom.m_nComPort;

  m_nDbRefOhm = m_store.GetInt(kDbSection, kDbKey, kDefaultDbRef);
  m_fDbRefKOhm = static_cast<float>(m_nDbRefOhm * 0.001);
  m_bDbCheck.fill(0);
  for (std::size_t i = 0; i < kDbChoices.size(); ++i) {
    if (kDbChoices[i].ohms == m_nDbRefOhm) m_bDbCheck[i] = 1;
  }

  // A code outside the table is taken as the period itself.
  const int code = m_store.GetInt(kSamplingSection, kSamplingCodeKey, kDefaultSamplingCode);
  m_rsCom.m_nSampling = code;
  m_link.m_nReload = code;
  m_bSamplingCheck.fill(0);
  for (std::size_t i = 0; i < kSamplingChoices.size(); ++i) {
    if (kSamplingChoices[i].code == code) {
      m_link.m_nReload = kSamplingChoices[i].period;
      m_bSamplingCheck[i] = 1;
    }
  }

  m_strSamplingText = m_store.GetString(kSamplingSection, kSamplingTextKey, kDefaultSamplingText);
}

void CQarnView::WriteStatusPanes() {
  m_host.status.SetPaneText(pane::kFileName, "NONAME");
  m_host.status.SetFilePath({});
  ShowDbPane();
  m_host.status.SetPaneText(pane::kSampling, m_strSamplingText);
  ShowPortPane();
}

int CQarnView::PortNumber() const {
  return m_rsCom.m_nComPort < INT_MAX ? m_rsCom.m_nComPort + 1 : INT_MAX;
}

void CQarnView::ShowPortPane() {
  m_host.status.SetPaneText(
      pane::kPort, FormatText("COM %1lld", static_cast<long long>(m_rsCom.m_nComPort) + 1));
}

void CQarnView::ShowDbPane() {
  m_host.status.SetPaneText(pane::kDbRef, FormatText("%4d Ohm", m_nDbRefOhm));
}

void CQarnView::DbReferenceChanged() {
  if (m_bDb) m_host.controls.SetControlText(ctl::kDbRefText, FormatText("%d OHM", m_nDbRefOhm));
}

void CQarnView::OnSetupComPort() {
  int selPort = m_rsCom.m_nComPort;
  if (!m_host.dialogs.RunPortDialog(selPort)) return;
  m_rsCom.m_nComPort = selPort;
  m_link.m_nPortIndex = selPort;
  m_store.WriteInt(kPortSection, kPortKey, selPort);
  ShowPortPane();
}

bool CQarnView::OnSamplingCommand(int id) {
  for (std::size_t i = 0; i < kSamplingChoices.size(); ++i) {
    const SamplingChoice& choice = kSamplingChoices[i];
    if (choice.command != id) continue;
    m_link.m_nReload = choice.period;
    m_rsCom.m_nSampling = choice.code;
    m_store.WriteInt(kSamplingSection, kSamplingCodeKey, choice.code);
    m_store.WriteString(kSamplingSection, kSamplingTextKey, choice.text);
    m_strSamplingText = choice.text;
    m_host.status.SetPaneText(pane::kSampling, m_strSamplingText);
    m_bSamplingCheck.fill(0);
    m_bSamplingCheck[i] = 1;
    return true;
  }
  return false;
}

bool CQarnView::OnDbCommand(int id) {
  if (id < cmd::kDbRefFirst || id > cmd::kDbRefLast) return false;
  const std::size_t i = static_cast<std::size_t>(id - cmd::kDbRefFirst);
  m_nDbRefOhm = kDbChoices[i].ohms;
  m_fDbRefKOhm = kDbChoices[i].kiloOhms;
  DbReferenceChanged();
  m_store.WriteInt(kDbSection, kDbKey, m_nDbRefOhm);
  ShowDbPane();
  m_bDbCheck.fill(0);
  m_bDbCheck[i] = 1;
  return true;
}

}  // namespace ql
