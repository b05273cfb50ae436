#include "editor/MDIEdit.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QStatusBar>
#include <QTextBlock>
#include <QVBoxLayout>

#include "editor/FileMessages.h"
#include "editor/NoticeBlock.h"
#include "editor/PostingFile.h"
#include "editor/QuoteRemoval.h"
#include "editor/RecoveryFile.h"
#include "editor/RecoveryKeeper.h"
#include "format/Limits.h"
#include "ui/Dialogs.h"
#include "ui/FileHistory.h"
#include "ui/StandardKeys.h"

using editor::ColLine;

namespace {

const QString kFileFilter = QStringLiteral("Newsgroup Sketch (*.skp);;Plain text files (*.txt);;All files (*)");

}  // namespace

TEditForm::TEditForm(QWidget* parent) : QWidget(parent) {
  setWindowTitle(editor::kUntitled);
  resize(429, 290);

  Editor = new editor::SketchTextEdit(this);
  recovery_ = new editor::RecoveryKeeper(
      *Editor->document(), [this] { return fileName_ == editor::kUntitled ? QString() : fileName_; }, this);
  QFont font(QStringLiteral("Courier New"));
  font.setPixelSize(13);
  font.setStyleHint(QFont::TypeWriter);
  Editor->setFont(font);
  Editor->setLineWrapMode(QPlainTextEdit::NoWrap);
  Editor->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  Editor->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  Editor->setContextMenuPolicy(Qt::CustomContextMenu);

  StatusBar1 = ui::Named(new QStatusBar(this), "StatusBar1");
  StatusBar1->setSizeGripEnabled(false);
  StatusBar1->setMinimumHeight(19);  // taller where the font needs it
  const char* labels[5] = {"size", "line", "col", "*", "file"};
  const int widths[5] = {36, 28, 28, 16, 0};
  for (int i = 0; i < 5; ++i) {
    auto* panel = new QLabel(QString::fromLatin1(labels[i]), StatusBar1);
    panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
    panel->setMinimumWidth(widths[i]);
    panel->setFrameStyle(QFrame::Panel | (i == 4 ? QFrame::Sunken : QFrame::Raised));
    panel->setAlignment((i < 3 ? Qt::AlignRight : i == 3 ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter);
    StatusBar1->addWidget(panel, i == 4 ? 1 : 0);
    StatusPanels[static_cast<std::size_t>(i)] = panel;
  }
  StatusBar1->installEventFilter(this);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(Editor, 1);
  layout->addWidget(StatusBar1);

  BuildMenus();

  connect(Editor, &QPlainTextEdit::textChanged, this, &TEditForm::OnEdMemoChange);
  connect(Editor, &editor::SketchTextEdit::keyDown, this, &TEditForm::OnEdKeyDown);
  connect(Editor, &editor::SketchTextEdit::keyPressed, this, &TEditForm::OnEdKeyPress);
  connect(Editor, &editor::SketchTextEdit::keyUp, this, &TEditForm::OnEdKeyUp);
  connect(Editor, &editor::SketchTextEdit::clicked, this, &TEditForm::OnEdClick);
  connect(Editor, &editor::SketchTextEdit::mouseUp, this, &TEditForm::OnEdMouseUp);
  connect(Editor, &editor::SketchTextEdit::fileDropped, this, &TEditForm::fileDropped);
  connect(Editor, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { PopupMenu1->popup(Editor->viewport()->mapToGlobal(at)); });
  setFocusProxy(Editor);
}

void TEditForm::BuildMenus() {
  // Each item carries its member's name, by which tests and style sheets find it.
  const auto item = [this](QMenu* menu, const char* name, const QString& caption, auto handler,
                           const QKeySequence& key = {}) {
    QAction* action = ui::Named(menu->addAction(caption), name);
    action->setShortcut(key);
    connect(action, &QAction::triggered, this, handler);
    return action;
  };
  File1 = ui::Named(new QMenu(tr("&File"), this), "File1");
  New1 = item(File1, "New1", tr("&New"), &TEditForm::New1Click);
  Open1 = item(File1, "Open1", tr("&Open..."), &TEditForm::Open1Click, Qt::Key_F3);
  Close1 = item(File1, "Close1", tr("&Close"), &TEditForm::Close1Click);
  Save1 = item(File1, "Save1", tr("&Save"), &TEditForm::Save1Click, Qt::Key_F2);
  Saveas1 = item(File1, "Saveas1", tr("Save &as..."), &TEditForm::Saveas1Click, Qt::CTRL | Qt::Key_F2);
  File1->addSeparator();
  draw1 = item(File1, "draw1", tr("&draw"), &TEditForm::draw1Click, Qt::Key_F7);
  File1->addSeparator();
  Exit1 = item(File1, "Exit1", tr("E&xit"), &TEditForm::Exit1Click);
  ui::AddStandardKeys(New1, QKeySequence::New);
  ui::AddStandardKeys(Open1, QKeySequence::Open);
  ui::AddStandardKeys(Save1, QKeySequence::Save);
  ui::AddStandardKeys(Saveas1, QKeySequence::SaveAs);

  Edit1 = ui::Named(new QMenu(tr("&Edit"), this), "Edit1");
  Cut1 = item(Edit1, "Cut1", tr("Cu&t"), &TEditForm::Cut1Click, Qt::CTRL | Qt::Key_X);
  Copy1 = item(Edit1, "Copy1", tr("&Copy"), &TEditForm::Copy1Click, Qt::CTRL | Qt::Key_C);
  Paste1 = item(Edit1, "Paste1", tr("&Paste"), &TEditForm::Paste1Click, Qt::CTRL | Qt::Key_V);
  Delete1 = item(Edit1, "Delete1", tr("De&lete"), &TEditForm::Delete1Click, Qt::CTRL | Qt::Key_D);
  Selectall1 = item(Edit1, "Selectall1", tr("Select &all"), &TEditForm::Selectall1Click, Qt::CTRL | Qt::Key_A);
  Edit1->addSeparator();
  Removequotes1 = item(Edit1, "Removequotes1", tr("&Remove quotes"), &TEditForm::Removequotes1Click);
  AddURL1 = item(Edit1, "AddURL1", tr("Add &URL"), &TEditForm::AddURL1Click);
  Editor->SetMenuKeys(
      {Cut1->shortcut(), Copy1->shortcut(), Paste1->shortcut(), Delete1->shortcut(), Selectall1->shortcut()});

  PopupMenu1 = ui::Named(new QMenu(this), "PopupMenu1");
  Cut2 = item(PopupMenu1, "Cut2", tr("Cu&t"), &TEditForm::Cut1Click);
  Copy2 = item(PopupMenu1, "Copy2", tr("&Copy"), &TEditForm::Copy1Click);
  Paste2 = item(PopupMenu1, "Paste2", tr("&Paste"), &TEditForm::Paste1Click);
  Delete2 = item(PopupMenu1, "Delete2", tr("D&elete"), &TEditForm::Delete2Click);
  SelectAll2 = item(PopupMenu1, "SelectAll2", tr("Select &All"), &TEditForm::SelectAll2Click);
  PopupMenu1->addSeparator();
  draw2 = item(PopupMenu1, "draw2", tr("&draw   F7"), &TEditForm::draw2Click);
  // The states are set as the menus open and before an Edit key runs its item.
  connect(Edit1, &QMenu::aboutToShow, this, &TEditForm::Edit1Click);
  connect(PopupMenu1, &QMenu::aboutToShow, this, &TEditForm::Edit1Click);
  connect(Editor, &editor::SketchTextEdit::menuKeyComing, this, &TEditForm::Edit1Click);
}

void TEditForm::SetFileHistory(ui::FileHistory* history) {
  if (history_ != nullptr || history == nullptr) return;
  history_ = history;
  ui::AddRecentFilesMenu(File1, Close1, history);
}

void TEditForm::Remember(const QString& fileName) {
  if (history_ != nullptr) history_->Add(fileName);
}

QList<ui::MenuGroup> TEditForm::MenuGroups() const { return {{0, File1}, {1, Edit1}}; }

bool TEditForm::IsModified() const { return Editor->document()->isModified(); }

// --- Files -----------------------------------------------------------------

void TEditForm::New1Click() {
  if (editor::TextLength(*Editor->document()) == 0) return;
  if (ui::CurrentDialogs().ConfirmOkCancel(this, tr("Erase all text")) != ui::Answer::Ok) return;
  // Erasing is a change like any other: one undo step brings the text back,
  // and while the file still holds the old text closing asks first.
  QTextCursor all(Editor->document());
  all.select(QTextCursor::Document);
  all.removeSelectedText();
  urlAdded_ = false;
  UpdateStatus();
}

void TEditForm::Open1Click() {
  emit openRequested();
  urlAdded_ = false;
}

bool TEditForm::EnterFolderOf(const QString& fileName) {
  const QString folder = QFileInfo(fileName).absolutePath();
  if (QDir::setCurrent(folder)) return true;
  ui::CurrentDialogs().Error(
      this, tr("I/O error: cannot make \"%1\" the current folder.").arg(QDir::toNativeSeparators(folder)));
  return false;
}

void TEditForm::SetFileName(const QString& fileName) {
  fileName_ = QFileInfo(fileName).absoluteFilePath();
  setWindowTitle(editor::EditorCaption(fileName_));
}

bool TEditForm::LoadFile(const QString& fileName) {
  const editor::FileRead read = editor::ReadPostingFile(fileName, Editor->Capacity());
  if (!read.error.isEmpty()) {
    ui::CurrentDialogs().Error(this, read.error);
    return false;
  }
  // Lone CRs and LFs become CR LF: the text may be longer than the file.
  const QString text = editor::DecodePosting(read.bytes);
  if (editor::PostingLength(text) > Editor->Capacity()) {
    ui::CurrentDialogs().Error(this, editor::CannotOpen(fileName, editor::TooLargeReason(Editor->Capacity())));
    return false;
  }
  if (!EnterFolderOf(fileName)) return false;
  Editor->setPlainText(text);
  Editor->moveCursor(QTextCursor::Start);
  Editor->document()->setModified(false);
  urlAdded_ = false;
  SetFileName(fileName);
  UpdateStatus();  // the text's change showed the old name and "*"
  Remember(fileName_);
  return true;
}

bool TEditForm::Save1Click() {
  if (fileName_ == editor::kUntitled) return Saveas1Click();
  return WriteText(fileName_);
}

bool TEditForm::WriteText(const QString& fileName) {
  const QString error = editor::WritePostingFile(fileName, editor::EncodePosting(*Editor->document()));
  if (!error.isEmpty()) {
    ui::CurrentDialogs().Error(this, error);
    return false;
  }
  Editor->document()->setModified(false);
  Remember(fileName);
  return true;
}

bool TEditForm::Saveas1Click() {
  ui::FileDialogOptions options;
  options.title = tr("Save as");
  options.filter = kFileFilter;
  options.defaultSuffix = QStringLiteral("skp");
  options.proposedName = fileName_;
  if (history_ != nullptr) options.folder = history_->Folder();
  const QString chosen = ui::CurrentDialogs().SaveFileName(this, options);
  if (chosen.isEmpty()) return false;
  const QString fileName = QFileInfo(chosen).absoluteFilePath();
  const QString folderBefore = QDir::currentPath();
  if (!EnterFolderOf(fileName)) return false;
  if (!WriteText(fileName)) {
    QDir::setCurrent(folderBefore);  // the next Save still goes where the text came from
    return false;
  }
  SetFileName(fileName);
  return true;
}

ui::Answer TEditForm::QuerySave() {
  if (!IsModified()) return ui::Answer::No;
  return ui::CurrentDialogs().ConfirmYesNoCancel(this,
                                                 tr("Save changes to %1?").arg(QDir::toNativeSeparators(fileName_)));
}

void TEditForm::KeepRecoveryCopy() { recovery_->WriteNow(); }

void TEditForm::Recover(const editor::Recovery& recovery, const QString& recoveryFile) {
  Editor->setPlainText(editor::DecodePosting(recovery.text));
  Editor->moveCursor(QTextCursor::Start);
  Editor->document()->setModified(true);
  urlAdded_ = false;
  if (recovery.posting.isEmpty()) {
    fileName_ = editor::kUntitled;
    setWindowTitle(editor::kUntitled);
  } else {
    SetFileName(recovery.posting);
  }
  recovery_->Adopt(recoveryFile);
  UpdateStatus();
}

bool TEditForm::FormCloseQuery() {
  switch (QuerySave()) {
    case ui::Answer::Yes:
      return Save1Click();  // a save that did not happen keeps the window open
    case ui::Answer::No:
      recovery_->Discard();  // the user chose to let the text go
      return true;
    default:
      return false;
  }
}

void TEditForm::Close1Click() {
  if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget())) {
    frame->close();
  } else if (FormCloseQuery()) {
    showMinimized();
  }
}

bool TEditForm::AppendLine(const QString& line) {
  if (!Editor->CheckRoom(0, editor::PostingLength(line) + 2)) return false;  // the line and one break
  QTextDocument* document = Editor->document();
  QTextCursor cursor(document);
  cursor.movePosition(QTextCursor::End);
  const bool atLineStart = document->lastBlock().length() == 1;  // empty, or ends with a break
  cursor.beginEditBlock();
  cursor.insertText(atLineStart ? line + QChar('\n') : QChar('\n') + line);
  cursor.endEditBlock();
  Editor->setTextCursor(cursor);
  Editor->ensureCursorVisible();
  return true;
}

bool TEditForm::ReplaceLine(std::int32_t index, const QString& text, bool joinPrevious) {
  const QTextBlock block = Editor->document()->findBlockByNumber(index);
  if (!block.isValid()) return false;
  if (!Editor->CheckRoom(block.length() - 1, editor::PostingLength(text))) return false;
  QTextCursor cursor(block);
  cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
  if (joinPrevious) {
    cursor.joinPreviousEditBlock();
  } else {
    cursor.beginEditBlock();
  }
  cursor.insertText(text);
  cursor.endEditBlock();
  Editor->setTextCursor(cursor);
  Editor->ensureCursorVisible();
  return true;
}

namespace {

// Selects line `block` with its line break; the last line with the break
// before it, so that no empty line is left behind.
void SelectWholeLine(QTextCursor& cursor, const QTextBlock& block) {
  cursor.setPosition(block.position());
  if (block.next().isValid()) {
    cursor.setPosition(block.next().position(), QTextCursor::KeepAnchor);
  } else if (block.previous().isValid()) {
    cursor.setPosition(block.position() - 1);
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
  } else {
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
  }
}

}  // namespace

bool TEditForm::RemoveLine(std::int32_t index) {
  const QTextBlock block = Editor->document()->findBlockByNumber(index);
  if (!block.isValid()) return false;
  QTextCursor cursor(block);
  SelectWholeLine(cursor, block);
  cursor.removeSelectedText();  // one edit, one undo step
  Editor->setTextCursor(cursor);
  Editor->ensureCursorVisible();
  UpdateStatus();
  return true;
}

bool TEditForm::ChangeLines(std::span<const LineChange> changes, const QStringList& appended) {
  QTextDocument* document = Editor->document();
  std::vector<QTextBlock> blocks;
  blocks.reserve(changes.size());
  std::int64_t removed = 0, added = 0;
  for (std::size_t i = 0; i < changes.size(); ++i) {
    if (i > 0 && changes[i].line <= changes[i - 1].line) return false;
    const QTextBlock block = document->findBlockByNumber(changes[i].line);
    if (!block.isValid()) return false;
    blocks.push_back(block);
    const std::int64_t length = block.length() - 1;
    removed += changes[i].text ? length : length + 2;  // a line taken out takes its break
    if (changes[i].text) added += editor::PostingLength(*changes[i].text);
  }
  for (const QString& line : appended) added += editor::PostingLength(line) + 2;
  if (!Editor->CheckRoom(removed, added)) return false;

  const int caret = Editor->textCursor().position();
  QTextCursor cursor(document);
  cursor.beginEditBlock();
  // From the last line up, so the lines before keep their numbers.
  for (std::size_t i = changes.size(); i-- > 0;) {
    if (changes[i].text) {
      cursor.setPosition(blocks[i].position());
      cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
      cursor.insertText(*changes[i].text);
    } else {
      SelectWholeLine(cursor, blocks[i]);
      cursor.removeSelectedText();
    }
  }
  if (!appended.isEmpty()) {
    cursor.movePosition(QTextCursor::End);
    const bool atLineStart = document->lastBlock().length() == 1;  // empty, or ends with a break
    const QString lines = appended.join(QChar('\n'));
    cursor.insertText(atLineStart ? lines + QChar('\n') : QChar('\n') + lines);
  }
  cursor.endEditBlock();
  QTextCursor kept(document);
  kept.setPosition(std::min(caret, document->characterCount() - 1));
  Editor->setTextCursor(kept);
  UpdateStatus();
  return true;
}

QString TEditForm::LineText(std::int32_t index) const { return Editor->document()->findBlockByNumber(index).text(); }

void TEditForm::PutCaretOnLine(std::int32_t line) {
  const QTextBlock block = Editor->document()->findBlockByNumber(line);
  if (!block.isValid()) return;
  Editor->setTextCursor(QTextCursor(block));
  Editor->ensureCursorVisible();
  UpdateStatus();
}

int TEditForm::Revision() const { return Editor->document()->revision(); }

// --- Posting aids -------------------------------------------------------------

void TEditForm::Edit1Click() {
  const QMimeData* clipboard = QApplication::clipboard()->mimeData();
  const bool text = clipboard != nullptr && clipboard->hasText();
  const bool selected = Editor->textCursor().hasSelection();
  for (QAction* paste : {Paste1, Paste2}) paste->setEnabled(text);
  for (QAction* item : {Cut1, Cut2, Copy1, Copy2, Delete1, Delete2}) item->setEnabled(selected);
  for (QAction* item : {Selectall1, SelectAll2, Removequotes1, AddURL1}) item->setEnabled(true);
}

void TEditForm::Cut1Click() { Editor->cut(); }

void TEditForm::Paste1Click() { Editor->paste(); }

void TEditForm::Delete1Click() {
  QTextCursor cursor = Editor->textCursor();
  cursor.removeSelectedText();
  Editor->setTextCursor(cursor);
}

void TEditForm::Selectall1Click() { Editor->selectAll(); }

void TEditForm::Copy1Click() {
  ui::Answer answer = ui::Answer::No;
  const std::int64_t length = editor::TextLength(*Editor->document());
  const std::int64_t selected = editor::SelectionLength(*Editor->document(), Editor->textCursor());
  if (!urlAdded_ && length > 10 && static_cast<double>(selected) / static_cast<double>(length) > 0.9) {
    answer = ui::CurrentDialogs().ConfirmYesNoCancel(this, tr("Please add the download URL for Sketchpost\n"
                                                              "and a hint not to quote the text on replies!\n"
                                                              "May I append the text automatically?"));
  }
  if (answer == ui::Answer::Cancel) return;
  if (answer == ui::Answer::Yes) {
    const int start = Editor->textCursor().selectionStart();
    if (!AddURL1Click()) return;
    QTextCursor cursor(Editor->document());
    cursor.setPosition(start);
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    Editor->setTextCursor(cursor);
  }
  Editor->copy();
}

bool TEditForm::AddURL1Click() {
  const QStringList lines = editor::NoticeBlockLines();
  std::int64_t added = 0;
  for (const QString& line : lines) added += editor::PostingLength(line) + 2;  // each with its break
  if (!Editor->CheckRoom(0, added)) return false;
  for (const QString& line : lines) AppendLine(line);
  urlAdded_ = true;
  return true;
}

void TEditForm::Removequotes1Click() {
  QTextDocument* document = Editor->document();
  const std::int32_t lines = editor::LineCount(*document);
  if (lines == 0) return;
  QTextCursor cursor(document);
  int lastReplaced = -1;
  for (QTextBlock block = document->findBlockByNumber(GetColLine().line);
       block.isValid() && block.blockNumber() < lines; block = block.next()) {
    const int cut = editor::QuoteMarksLength(block.text());
    if (cut == 0) continue;
    if (lastReplaced < 0) cursor.beginEditBlock();  // one undo step, one change
    // Only the quote marks go; the rest of the line stays, however long it is.
    cursor.setPosition(block.position());
    cursor.setPosition(block.position() + cut, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    lastReplaced = block.blockNumber();
  }
  if (lastReplaced >= 0) {
    cursor.endEditBlock();
    const QTextBlock last = document->findBlockByNumber(lastReplaced);
    QTextCursor caret(last);
    caret.movePosition(QTextCursor::EndOfBlock);
    Editor->setTextCursor(caret);
  }
  UpdateStatus();
}

// --- Caret tracking ----------------------------------------------------------

void TEditForm::UpdateStatus() {
  const QTextDocument& document = *Editor->document();
  const ColLine at = GetColLine();
  StatusPanels[0]->setText(QString::number(editor::TextLength(document)));
  StatusPanels[1]->setText(QString::number(at.line + 1));
  StatusPanels[2]->setText(QString::number(at.column + 1));
  StatusPanels[3]->setText(IsModified() ? QStringLiteral("*") : QStringLiteral(" "));
  StatusPanels[4]->setText(fileName_);
}

ColLine TEditForm::GetColLine() const {
  return editor::ColLineOf(*Editor->document(), Editor->textCursor().selectionStart());
}

void TEditForm::GotoColLine(std::int32_t column, std::int32_t line) {
  const std::int64_t index = editor::ColLineToPos(*Editor->document(), column, line);
  if (index > 0) {
    QTextCursor cursor = Editor->textCursor();
    cursor.setPosition(editor::PositionOfIndex(*Editor->document(), index));
    Editor->setTextCursor(cursor);
    Editor->ensureCursorVisible();
    emit raiseRequested();
  }
  UpdateStatus();
}

void TEditForm::OnEdKeyUp() {
  UpdateStatus();
  ForwardCursorLine();
}

void TEditForm::OnEdMouseUp() {
  UpdateStatus();
  ForwardCursorLine();
}

void TEditForm::ForwardCursorLine() {
  const QTextDocument& document = *Editor->document();
  if (editor::LineCount(document) == 0) return;
  // Lines are read up to 4096 characters; only the first 255 travel on.
  const std::string line = editor::LineBytes(document, GetColLine().line, static_cast<int>(sketch::kCountedMax));
  emit cursorLineReleased(QByteArray(line.data(), static_cast<qsizetype>(line.size())));
}

bool TEditForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == StatusBar1 && event->type() == QEvent::MouseButtonPress) UpdateStatus();  // StatusBar1Click
  return QWidget::eventFilter(watched, event);
}
