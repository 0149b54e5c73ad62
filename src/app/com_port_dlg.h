#pragma once
// The port dialog "COM PORT SET": four radio buttons COM1 .. COM4, each with
// the device it stands for on this system beside it, and OK / Cancel.
//
// The caller sets m_nSelPort before exec(); the dialog checks the matching
// button when it opens (none for a value outside 0 .. 3), and a click on a
// button sets m_nSelPort at once.

#include <QDialog>
#include <QStringList>

#include <array>

class QLabel;
class QRadioButton;

namespace ql {

class CComPortDlg : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kPorts = 4;
  static constexpr std::array<int, kPorts> kRadioIds{1013, 1014, 1015, 1016};

  // `devices` holds the device path of COM1 .. COM4 (empty: none).
  explicit CComPortDlg(const QStringList& devices, QWidget* parent = nullptr);

  // Checks the button of m_nSelPort, then runs the dialog.
  int exec() override;

  QRadioButton* Radio(int index) const { return m_radio[static_cast<std::size_t>(index)]; }
  QLabel* DeviceLabel(int index) const { return m_device[static_cast<std::size_t>(index)]; }

  int m_nSelPort = 0;  // 0 = COM1 .. 3 = COM4

 private:
  void OnInitDialog();

  std::array<QRadioButton*, kPorts> m_radio{};
  std::array<QLabel*, kPorts> m_device{};
};

}  // namespace ql
