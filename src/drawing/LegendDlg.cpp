#include "drawing/LegendDlg.h"

#include <QButtonGroup>
#include <QScreen>

#include "canvas/TextBytes.h"
#include "format/CountedString.h"
#include "render/LegendText.h"
#include "ui/Dialogs.h"

namespace {

const QString kSizeCaution = QStringLiteral(
    "Caution: this is new, older versions of Sketchpost\n"
    "cannot draw in another size than medium!");
const QString kUpCaution = QStringLiteral(
    "Caution: this is new, older versions of Sketchpost\n"
    "cannot draw in another direction than horizontal!");

LegendDialogRunner& Runner() {
  static LegendDialogRunner runner;
  return runner;
}

}  // namespace

LegendDialogMemory& LegendMemory() {
  static LegendDialogMemory memory;
  return memory;
}

void InitLegendDialog() { LegendMemory() = LegendDialogMemory{}; }

void SetLegendDialogRunner(LegendDialogRunner runner) { Runner() = std::move(runner); }

TLegendDlgForm::TLegendDlgForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint) {
  setWindowTitle(tr("Legend Text"));
  QFont small = font();
  small.setPixelSize(11);
  setFont(small);
  setFixedSize(328, 103);

  ComboBox1 = new QComboBox(this);
  ComboBox1->setEditable(true);
  ComboBox1->setInsertPolicy(QComboBox::NoInsert);
  ComboBox1->setGeometry(4, 24, 321, 21);
  Label1 = new QLabel(tr("Enter legend &text"), this);
  Label1->setBuddy(ComboBox1);
  Label1->setGeometry(8, 8, std::max(80, Label1->sizeHint().width()), 13);
  Label2 = new QLabel(this);
  Label2->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
  Label2->setGeometry(240, 0, 71, 13);

  RadioGroup1 = new QGroupBox(tr("Text Si&ze"), this);
  RadioGroup1->setGeometry(8, 56, 193, 41);
  auto* sizes = new QButtonGroup(this);
  const QString captions[3] = {tr("&small"), tr("&medium"), tr("&large")};
  for (int i = 0; i < 3; ++i) {
    auto* button = new QRadioButton(captions[i], RadioGroup1);
    button->setGeometry(8 + i * 61, 16, 60, 17);
    sizes->addButton(button, i);
    SizeButtons[static_cast<std::size_t>(i)] = button;
  }
  connect(sizes, &QButtonGroup::idClicked, this, &TLegendDlgForm::RadioGroup1Click);

  GroupBox1 = new QGroupBox(tr("Up"), this);
  GroupBox1->setGeometry(208, 56, 49, 41);
  CheckBox1 = new QCheckBox(tr("&Up"), GroupBox1);
  CheckBox1->setGeometry(8, 16, 38, 17);
  connect(CheckBox1, &QCheckBox::clicked, this, &TLegendDlgForm::CheckBox1Click);

  OKbutton = new QPushButton(tr("O&K"), this);
  OKbutton->setGeometry(264, 72, 59, 25);
  OKbutton->setDefault(true);
  connect(OKbutton, &QPushButton::clicked, this, &QDialog::accept);

  setTabOrder(ComboBox1, SizeButtons[0]);
  ComboBox1->setFocus();
  if (const QScreen* shown = screen()) move(shown->availableGeometry().center() - rect().center());
}

int TLegendDlgForm::SelectedSize() const {
  for (int i = 0; i < 3; ++i)
    if (SizeButtons[static_cast<std::size_t>(i)]->isChecked()) return i;
  return 1;
}

void TLegendDlgForm::SelectSize(int size) {
  SizeButtons[static_cast<std::size_t>(std::clamp(size, 0, 2))]->setChecked(true);
}

void TLegendDlgForm::UpdateSizeLabel() {
  const int points = sketch::kLegendFontSizes[static_cast<std::size_t>(SelectedSize())];
  Label2->setText(tr("Font size=") + QStringLiteral("%1").arg(points, 2));
}

void TLegendDlgForm::RadioGroup1Click() {
  UpdateSizeLabel();
  LegendDialogMemory& memory = LegendMemory();
  if (SelectedSize() != 1 && memory.WarnSize) {
    ui::CurrentDialogs().Warning(this, kSizeCaution);
    memory.WarnSize = false;
  }
}

void TLegendDlgForm::CheckBox1Click() {
  LegendDialogMemory& memory = LegendMemory();
  if (CheckBox1->isChecked() && memory.WarnUp) {
    ui::CurrentDialogs().Warning(this, kUpCaution);
    memory.WarnUp = false;
  }
}

void RememberLegendText(const QString& text) {
  QStringList& history = LegendMemory().LegendHistory;
  if (!history.contains(text, Qt::CaseSensitive)) history << text;
}

bool ExecuteLegendDlg(QString& text, int maximum, std::uint16_t& size, bool& up, QWidget* owner) {
  TLegendDlgForm dialog(owner);
  dialog.ComboBox1->addItems(LegendMemory().LegendHistory);
  dialog.ComboBox1->setEditText(text);
  dialog.SelectSize(size);
  dialog.CheckBox1->setChecked(up);
  dialog.UpdateSizeLabel();
  const LegendDialogRunner& runner = Runner();
  const int result = runner ? runner(dialog) : dialog.exec();
  // One byte a character, as everywhere in a posting; cut to the counted
  // string and then to the maximum asked for.
  const QString typed =
      sketch::BytesToQString(sketch::CutCounted(sketch::QStringToBytes(dialog.ComboBox1->currentText())));
  if (result != QDialog::Accepted || typed.isEmpty()) return false;
  text = typed.left(maximum);
  RememberLegendText(text);
  size = static_cast<std::uint16_t>(dialog.SelectedSize());
  up = dialog.CheckBox1->isChecked();
  return true;
}
