#include "insert/insert_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <set>

#include "documents/application.h"
#include "app/shell.h"
#include "core/text.h"
#include "documents/editor.h"

namespace insert {

std::string Bytes(const QString& s) { return s.toStdString(); }
QString Qs(const std::string& s) { return QString::fromStdString(s); }

std::string ImageStyle(const std::string& height, const std::string& width) {
  return "height:" + height + "; width:" + width + "; padding: 8px;";
}

std::string AttributeText(std::string_view text) { return core::ReplaceAll(std::string(text), "\"", "&quot;"); }

std::string LocalFileUrl(std::string_view path) {
  if (path.empty()) return "file:///";
  if (core::HasUrlScheme(path)) return core::ReplaceAll(std::string(path), "\"", "%22");
  std::string url = core::FileUrl(path);
  // FileUrl adds only a plain prefix; everything after it is the path to encode.
  size_t start = core::StartsWith(url, "file://") ? 7 : 0;
  std::string out = url.substr(0, start);
  static const char kHex[] = "0123456789ABCDEF";
  for (size_t i = start; i < url.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(url[i]);
    bool plain =
        std::isalnum(c) || std::string_view("-._~/:!$&()*+,;=@").find(static_cast<char>(c)) != std::string_view::npos;
    if (c >= 0x80) plain = false;
    if (plain) {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
  return out;
}

std::vector<std::string> NumberedChoices(int from, int to, int step, const std::string& suffix) {
  std::vector<std::string> r;
  for (int n = from; n <= to; n += step) r.push_back(std::to_string(n) + suffix);
  return r;
}

std::vector<std::string> SizeChoices() { return NumberedChoices(100, 240, 10, "px"); }

std::string ColourText(uint32_t colour) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "#%02X%02X%02X", RedOf(colour), GreenOf(colour), BlueOf(colour));
  return buf;
}

bool ParseColourText(std::string_view text, uint32_t& colour) {
  std::string t = core::Trim(std::string(text));
  if (!t.empty() && t[0] == '#') t.erase(0, 1);
  if (t.size() != 6 || !std::all_of(t.begin(), t.end(), [](unsigned char c) { return std::isxdigit(c) != 0; }))
    return false;
  const unsigned long rgb = std::stoul(t, nullptr, 16);
  colour = Rgb(static_cast<int>(rgb >> 16), static_cast<int>(rgb >> 8), static_cast<int>(rgb));
  return true;
}

ControlSpec Label(int id, std::string text) { return {.kind = ControlKind::Label, .id = id, .text = std::move(text)}; }
ControlSpec TextBox(int id, std::string initial) {
  return {.kind = ControlKind::Text, .id = id, .text = std::move(initial)};
}
ControlSpec MultiLineBox(int id, std::string initial) {
  return {.kind = ControlKind::MultiLineText, .id = id, .text = std::move(initial)};
}
ControlSpec DropDown(int id, std::vector<std::string> choices, std::string initial) {
  return {.kind = ControlKind::DropDown, .id = id, .text = std::move(initial), .choices = std::move(choices)};
}
ControlSpec CheckBox(int id, std::string label, bool checked) {
  return {.kind = ControlKind::Check, .id = id, .text = std::move(label), .checked = checked};
}
ControlSpec PushButton(int id, std::string caption) {
  return {.kind = ControlKind::Button, .id = id, .text = std::move(caption)};
}
ControlSpec Frame(int id, std::string title) {
  return {.kind = ControlKind::Frame, .id = id, .text = std::move(title)};
}
ControlSpec StyleCheckBox(int id, const InlineStyleBox& box, const Settings& settings) {
  return CheckBox(id, std::string(box.label), settings.*box.field == 1);
}
ControlSpec InColumn(ControlSpec c, int column) {
  c.column = column;
  return c;
}

namespace {

QWidget* MakeWidget(const ControlSpec& c) {
  QWidget* w = nullptr;
  switch (c.kind) {
    case ControlKind::Label: w = new QLabel(Qs(c.text)); break;
    case ControlKind::Text: w = new QLineEdit(Qs(c.text)); break;
    case ControlKind::MultiLineText: {
      auto* e = new QPlainTextEdit;
      e->setPlainText(Qs(c.text));
      e->setTabChangesFocus(true);
      e->setStyleSheet("QPlainTextEdit { padding-left: 7px; padding-right: 7px; }");
      w = e;
      break;
    }
    case ControlKind::DropDown: {
      auto* b = new QComboBox;
      b->setEditable(true);
      b->setInsertPolicy(QComboBox::NoInsert);
      b->setCompleter(nullptr);  // "24" must stay "24", not become "240px"
      for (const auto& s : c.choices) b->addItem(Qs(s));
      b->setEditText(Qs(c.text));
      w = b;
      break;
    }
    case ControlKind::Check: {
      auto* b = new QCheckBox(Qs(c.text));
      b->setChecked(c.checked);
      w = b;
      break;
    }
    case ControlKind::Button: w = new QPushButton(Qs(c.text)); break;
    case ControlKind::Frame: w = new QGroupBox(Qs(c.text)); break;
  }
  w->setObjectName(QString::number(c.id));
  return w;
}

constexpr int kMinimumBoxWidth = 300;

// Places controls row by row into one grid: label | input | buttons at the right end.
struct GridFiller {
  QGridLayout* grid;
  std::set<int> hints;  // ids of labels with no box after them
  int row = -1;
  int col = 0;
  bool rowHasLabel = false;

  bool IsHint(const ControlSpec& c) const { return hints.count(c.id) != 0; }
  void NewRow() {
    ++row;
    col = 0;
    rowHasLabel = false;
  }
  void Add(const ControlSpec& c, QWidget* w) {
    switch (c.kind) {
      case ControlKind::Label:
        NewRow();
        if (IsHint(c)) {
          // A hint has no box beside it: it spans the dialog instead of widening the label column.
          grid->addWidget(w, row, 0, 1, 4);
          col = 4;
          break;
        }
        grid->addWidget(w, row, 0);
        col = 1;
        rowHasLabel = true;
        break;
      case ControlKind::Text:
      case ControlKind::DropDown:
      case ControlKind::MultiLineText:
        if (!rowHasLabel || col != 1) NewRow();
        grid->addWidget(w, row, 1);
        // Paths and texts take the free width; size lists keep their own.
        if (c.kind != ControlKind::DropDown) {
          w->setMinimumWidth(kMinimumBoxWidth);
          grid->setColumnStretch(1, 1);
        }
        col = 2;
        break;
      case ControlKind::Button:
        if (row < 0) NewRow();
        grid->addWidget(w, row, std::max(col, 2));
        col = std::max(col, 2) + 1;
        break;
      case ControlKind::Check:
      case ControlKind::Frame:
        NewRow();
        grid->addWidget(w, row, 0, 1, 4);
        col = 4;
        break;
    }
  }
};

// Labels that no text box, multi-line box or drop-down follows in their own grid.
std::set<int> HintLabels(const std::vector<ControlSpec>& controls) {
  std::set<int> hints;
  for (size_t i = 0; i < controls.size(); ++i) {
    const ControlSpec& c = controls[i];
    if (c.kind != ControlKind::Label) continue;
    bool boxFollows = false;
    if (i + 1 < controls.size()) {
      const ControlSpec& n = controls[i + 1];
      boxFollows =
          (n.kind == ControlKind::Text || n.kind == ControlKind::DropDown || n.kind == ControlKind::MultiLineText) &&
          n.column == c.column && n.frame == c.frame;
    }
    if (!boxFollows) hints.insert(c.id);
  }
  return hints;
}

}  // namespace

InsertDialog::InsertDialog(App& app, DialogSpec fileDialog)
    : QDialog(app.platform.Owner()), app_(app), spec_(std::move(fileDialog)) {
  setWindowTitle(Qs(std::string(spec_.entry.caption)));
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  Build();
}

void InsertDialog::Build() {
  auto* outer = new QVBoxLayout(this);
  outer->setSizeConstraint(QLayout::SetMinimumSize);  // may grow, for long paths
  auto* columns = new QHBoxLayout;
  outer->addLayout(columns);
  std::map<int, GridFiller> fillers;  // by column, then by frame id (negative keys)
  auto fillerFor = [&](const ControlSpec& c) -> GridFiller& {
    if (c.frame != 0) {
      auto it = fillers.find(-c.frame);
      if (it != fillers.end()) return it->second;
    }
    auto it = fillers.find(c.column);
    if (it == fillers.end()) {
      auto* grid = new QGridLayout;
      columns->addLayout(grid);
      columns->setAlignment(grid, Qt::AlignTop);
      it = fillers.emplace(c.column, GridFiller{grid, {}}).first;
    }
    return it->second;
  };
  const std::set<int> hints = HintLabels(spec_.controls);
  for (const ControlSpec& c : spec_.controls) {
    QWidget* w = MakeWidget(c);
    fillerFor(c).hints = hints;
    controls_[c.id] = w;
    fillerFor(c).Add(c, w);
    if (c.kind == ControlKind::Frame) {
      auto* grid = new QGridLayout(w);
      fillers.emplace(-c.id, GridFiller{grid, {}});
    }
    if (c.kind == ControlKind::Check) w->setFocusPolicy(Qt::StrongFocus);
  }

  auto* buttons = new QHBoxLayout;
  outer->addLayout(buttons);
  if (spec_.helpButton) {
    QWidget* help = MakeWidget(PushButton(kHelpId, "Help"));
    controls_[kHelpId] = help;
    buttons->addWidget(help);
    connect(static_cast<QPushButton*>(help), &QPushButton::clicked, this,
            [this] { app_.platform.ShowHelp("help/contents.chm", spec_.entry.helpContext); });
  }
  buttons->addStretch(1);
  auto* ok = static_cast<QPushButton*>(MakeWidget(PushButton(kOkId, "Ok")));
  auto* cancel = static_cast<QPushButton*>(MakeWidget(PushButton(kCancelId, "Cancel")));
  ok->setDefault(true);
  controls_[kOkId] = ok;
  controls_[kCancelId] = cancel;
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  connect(ok, &QPushButton::clicked, this, [this] { PressOk(); });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void InsertDialog::PressOk() {
  if (okCheck_ && !okCheck_()) return;
  accept();
}

QWidget* InsertDialog::Control(int id) const {
  auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : it->second;
}

std::string InsertDialog::Text(int id) const {
  QWidget* w = Control(id);
  if (auto* e = qobject_cast<QLineEdit*>(w)) return Bytes(e->text());
  if (auto* b = qobject_cast<QComboBox*>(w)) return Bytes(b->currentText());
  if (auto* m = qobject_cast<QPlainTextEdit*>(w)) return Bytes(m->toPlainText().replace("\n", "\r\n"));
  return {};
}

void InsertDialog::SetText(int id, const std::string& text) {
  QWidget* w = Control(id);
  if (auto* e = qobject_cast<QLineEdit*>(w)) e->setText(Qs(text));
  else if (auto* b = qobject_cast<QComboBox*>(w)) b->setEditText(Qs(text));
  else if (auto* m = qobject_cast<QPlainTextEdit*>(w)) m->setPlainText(Qs(text).replace("\r\n", "\n"));
}

int InsertDialog::Checked(int id) const {
  auto* b = qobject_cast<QCheckBox*>(Control(id));
  return b && b->isChecked() ? 1 : 0;
}

void InsertDialog::SetChecked(int id, int on) {
  if (auto* b = qobject_cast<QCheckBox*>(Control(id))) b->setChecked(on == 1);
}

void InsertDialog::Focus(int id) {
  if (QWidget* w = Control(id)) w->setFocus();
}

void InsertDialog::OnClick(int id, std::function<void()> action) {
  QWidget* w = Control(id);
  if (auto* b = qobject_cast<QAbstractButton*>(w)) connect(b, &QAbstractButton::clicked, this, [action] { action(); });
}

bool RunInsertDialog(App& app, InsertDialog& dialog) {
  if (dialog.Description().feedback) FeedbackIfOn(app);
  return app.platform.RunDialog(dialog);
}

void FinishOk(App& app, const DialogEntry& entry) {
  if (entry.okWritesSettings) SaveSettings(app);
}

void StoreStyle(const InsertDialog& dialog, int id, const InlineStyleBox& box, Settings& settings) {
  settings.*box.field = dialog.Checked(id);
}

void ConnectBrowse(App& app, InsertDialog& dialog, int buttonId, int boxId, BrowseSpec browse) {
  dialog.OnClick(buttonId, [&app, &dialog, boxId, browse] {
    std::vector<std::string> paths;
    if (app.platform.OpenFile(browse.dialog, paths) && !paths.empty() && !paths[0].empty())
      dialog.SetText(boxId, browse.convert ? browse.convert(paths[0]) : paths[0]);
    else if (browse.clearOnCancel) dialog.SetText(boxId, "");
    dialog.Focus(boxId);
  });
}

void ConnectColour(App& app, InsertDialog& dialog, int buttonId, int boxId) {
  dialog.OnClick(buttonId, [&app, &dialog, boxId] {
    uint32_t colour = 0;  // black unless the field already holds a colour
    ParseColourText(dialog.Text(boxId), colour);
    if (app.platform.PickColor(colour)) dialog.SetText(boxId, ColourText(colour));
    dialog.Focus(boxId);
  });
}

void InsertPieces(App& app, const std::vector<std::string>& pieces) {
  for (size_t i = 0; i < pieces.size(); ++i) {
    if (i > 0) LineBreakStep(app);
    InsertTextAtCaret(app, pieces[i]);
  }
}

}  // namespace insert
