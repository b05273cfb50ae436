#pragma once
// TLegendDlgForm, the legend text dialog: asks for a legend's text, size and
// direction, and offers again, for the whole run of the program, every text
// accepted so far. It cautions once per run against sizes other than medium
// and against upward text, which older readers cannot draw.

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>

// What the dialog keeps for the run of the program.
struct LegendDialogMemory {
  QStringList LegendHistory;  // accepted texts, oldest first, each once
  bool WarnSize = true;       // the size caution is still to come
  bool WarnUp = true;         // the direction caution is still to come
};

// The run's memory; InitLegendDialog starts it afresh (at start-up).
LegendDialogMemory& LegendMemory();
void InitLegendDialog();

class TLegendDlgForm : public QDialog {
  Q_OBJECT

 public:
  explicit TLegendDlgForm(QWidget* parent = nullptr);

  // The dialog is never smaller than it was drawn; its layouts make it
  // larger where the captions need more room.
  static constexpr QSize kDesignSize{328, 103};

  QLabel* Label1 = nullptr;
  QComboBox* ComboBox1 = nullptr;
  QLabel* Label2 = nullptr;
  QGroupBox* RadioGroup1 = nullptr;
  std::array<QRadioButton*, 3> SizeButtons{};  // small, medium, large
  QGroupBox* GroupBox1 = nullptr;
  QCheckBox* CheckBox1 = nullptr;
  QPushButton* OKbutton = nullptr;

  int SelectedSize() const;
  void SelectSize(int size);
  void UpdateSizeLabel();

 private:
  void RadioGroup1Click();
  void CheckBox1Click();
};

// Adds `text` to the history unless an entry equals it exactly.
void RememberLegendText(const QString& text);

// Runs the dialog modally. True when the user accepted a text that is not
// empty: then text (cut to `maximum` characters), size and up hold the
// choice. False (closed by its close box, or OK with no text): all three are
// left as they were.
bool ExecuteLegendDlg(QString& text, int maximum, std::uint16_t& size, bool& up, QWidget* owner = nullptr);

// How the dialog is run: exec() unless a test puts its own driver in.
using LegendDialogRunner = std::function<int(TLegendDlgForm&)>;
void SetLegendDialogRunner(LegendDialogRunner runner);
