#include "drawing/LegendDlg.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QScreen>
#include <algorithm>

#include "format/CountedString.h"
#include "qttext/TextBytes.h"
#include "render/LegendText.h"
#include "ui/Dialogs.h"
#include "ui/FocusReturn.h"

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

  // What the user types is what is written: no completer puts a history
  // entry in its place (one that differs in letter case, say), and Enter
  // goes straight to OK instead of accepting a completion first.
  ComboBox1 = new QComboBox(this);
  ComboBox1->setEditable(true);
  ComboBox1->setInsertPolicy(QComboBox::NoInsert);
  ComboBox1->setCompleter(nullptr);
  Label1 = new QLabel(tr("Enter legend &text"), this);
  Label1->setBuddy(ComboBox1);
  Label2 = new QLabel(this);
  Label2->setAlignment(Qt::AlignRight | Qt::AlignBottom);

  RadioGroup1 = new QGroupBox(tr("Text Si&ze"), this);
  auto* sizeRow = new QHBoxLayout(RadioGroup1);
  auto* sizes = new QButtonGroup(this);
  const QString captions[3] = {tr("&small"), tr("&medium"), tr("&large")};
  for (int i = 0; i < 3; ++i) {
    auto* button = new QRadioButton(captions[i], RadioGroup1);
    sizeRow->addWidget(button);
    sizes->addButton(button, i);
    SizeButtons[static_cast<std::size_t>(i)] = button;
  }
  connect(sizes, &QButtonGroup::idClicked, this, &TLegendDlgForm::RadioGroup1Click);

  GroupBox1 = new QGroupBox(tr("Up"), this);
  auto* upRow = new QHBoxLayout(GroupBox1);
  CheckBox1 = new QCheckBox(tr("&Up"), GroupBox1);
  upRow->addWidget(CheckBox1);
  connect(CheckBox1, &QCheckBox::clicked, this, &TLegendDlgForm::CheckBox1Click);

  OKbutton = new QPushButton(tr("O&K"), this);
  OKbutton->setDefault(true);
  connect(OKbutton, &QPushButton::clicked, this, &QDialog::accept);

  // The controls as the dialog was drawn: the prompt with the font size at
  // its right, the text below, and the size, direction and OK in a row. The
  // layouts give every caption the room its font needs on any screen.
  auto* top = new QHBoxLayout;
  top->addWidget(Label1);
  top->addStretch();
  top->addWidget(Label2);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(RadioGroup1);
  bottom->addWidget(GroupBox1);
  bottom->addStretch();
  bottom->addWidget(OKbutton, 0, Qt::AlignBottom);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->setSpacing(4);
  layout->addLayout(top);
  layout->addWidget(ComboBox1);
  layout->addLayout(bottom);
  setFixedSize(sizeHint().expandedTo(kDesignSize));  // a fixed border

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
  const ui::FocusReturn focusReturn;
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
  // A legend is one line of the text: line breaks pasted into the box
  // become blanks.
  std::string bytes = sketch::QStringToBytes(dialog.ComboBox1->currentText());
  std::replace_if(
      bytes.begin(), bytes.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  const QString typed = sketch::BytesToQString(sketch::CutCounted(bytes));
  if (result != QDialog::Accepted || typed.isEmpty()) return false;
  text = typed.left(maximum);
  RememberLegendText(text);
  size = static_cast<std::uint16_t>(dialog.SelectedSize());
  up = dialog.CheckBox1->isChecked();
  return true;
}
