// The Projects menu's Publish Site: the list of what will change, then the run, both
// with the progress window.
#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <atomic>
#include <thread>

#include "core/text.h"
#include "platform/platform.h"
#include "publish/secure_host.h"
#include "publish/server_trust.h"
#include "publish/site_publish.h"

namespace {

constexpr const char* kDeleteGone = "Delete files on the server that the site no longer has";

bool Offered(SiteAction a) { return a == SiteAction::PutNew || a == SiteAction::PutChanged || a == SiteAction::Delete; }

// Runs `work` on a worker thread while the progress window shows the control's step.
template <typename Work>
void Watched(App& app, const char* title, ftp::RunControl& control, Work work) {
  std::atomic<bool> done{false};
  std::thread worker([&] {
    work();
    done = true;
  });
  ProgressWatch watch;
  watch.title = title;
  watch.finished = [&] { return done.load(); };
  watch.text = [&] { return control.Step(); };
  watch.percent = [&] {
    long long total = control.bytesTotal;
    return total > 0 ? static_cast<int>(control.bytesDone * 100 / total) : -1;
  };
  watch.cancel = [&] { control.Cancel(); };
  app.platform.WatchProgress(watch);
  worker.join();
}

void ShowTotal(QTreeWidget& list, QLabel& total) {
  long long bytes = 0;
  int puts = 0, deletes = 0;
  for (int i = 0; i < list.topLevelItemCount(); ++i) {
    QTreeWidgetItem* item = list.topLevelItem(i);
    if (item->isHidden() || item->isDisabled() || item->checkState(0) != Qt::Checked) continue;
    if (item->text(0) == ActionName(SiteAction::Delete)) ++deletes;
    else ++puts, bytes += item->data(1, Qt::UserRole).toLongLong();
  }
  total.setText(QString("%1 to put (%2 KB), %3 to delete").arg(puts).arg((bytes + 1023) / 1024).arg(deletes));
}

QTreeWidget* MakeList(QDialog& dialog, const std::vector<PlanRow>& rows) {
  auto* list = new QTreeWidget(&dialog);
  list->setObjectName("rows");
  list->setHeaderLabels({"Action", "Size", "File"});
  list->setRootIsDecorated(false);
  for (const PlanRow& row : rows) {
    auto* item = new QTreeWidgetItem(list, {ActionName(row.action), QString::number(row.size),
                                            QString::fromStdString(row.path)});
    item->setData(1, Qt::UserRole, row.size);
    if (Offered(row.action)) item->setCheckState(0, row.ticked ? Qt::Checked : Qt::Unchecked);
    item->setDisabled(!Offered(row.action) || row.action == SiteAction::Delete);
  }
  list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  return list;
}

QCheckBox* Box(QDialog& dialog, const char* name, const char* text) {
  auto* box = new QCheckBox(text, &dialog);
  box->setObjectName(name);
  return box;
}

// The list with its check boxes; false on Cancel. Ticks are read back into the rows.
bool ChooseRows(App& app, std::vector<PlanRow>& rows) {
  QDialog dialog(app.platform.Owner());
  dialog.setWindowTitle("Publish Site");
  QTreeWidget* list = MakeList(dialog, rows);
  QCheckBox* deleteGone = Box(dialog, "deleteGone", kDeleteGone);
  QCheckBox* allDeletions = Box(dialog, "allDeletions", "Select all deletions");
  QCheckBox* showHidden = Box(dialog, "showHidden", "Show hidden files on the server");
  auto* total = new QLabel(&dialog);
  total->setObjectName("total");
  auto refresh = [=, &rows] {
    allDeletions->setEnabled(deleteGone->isChecked());
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
      QTreeWidgetItem* item = list->topLevelItem(i);
      // Only the server's own hidden files wait to be shown; the site's go as any file.
      item->setHidden(rows[i].localPath.empty() && IsHiddenPath(rows[i].path) && !showHidden->isChecked());
      if (rows[i].action != SiteAction::Delete) continue;
      item->setDisabled(!deleteGone->isChecked());
      if (!deleteGone->isChecked()) item->setCheckState(0, Qt::Unchecked);
    }
    ShowTotal(*list, *total);
  };
  QObject::connect(deleteGone, &QCheckBox::toggled, &dialog, refresh);
  QObject::connect(showHidden, &QCheckBox::toggled, &dialog, refresh);
  QObject::connect(list, &QTreeWidget::itemChanged, &dialog, [=] { ShowTotal(*list, *total); });
  QObject::connect(allDeletions, &QCheckBox::toggled, &dialog, [=, &rows](bool on) {
    for (int i = 0; i < list->topLevelItemCount(); ++i)
      if (rows[i].action == SiteAction::Delete && !list->topLevelItem(i)->isHidden())
        list->topLevelItem(i)->setCheckState(0, on ? Qt::Checked : Qt::Unchecked);
  });
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  buttons->button(QDialogButtonBox::Ok)->setText("Publish");
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  auto* layout = new QVBoxLayout(&dialog);
  for (QWidget* w : std::initializer_list<QWidget*>{list, deleteGone, allDeletions, showHidden, total, buttons})
    layout->addWidget(w);
  refresh();
  if (!app.platform.RunDialog(dialog)) return false;
  for (int i = 0; i < list->topLevelItemCount(); ++i) {
    QTreeWidgetItem* item = list->topLevelItem(i);
    rows[i].ticked =
        Offered(rows[i].action) && !item->isHidden() && !item->isDisabled() && item->checkState(0) == Qt::Checked;
  }
  return true;
}

// Lists the server. An encrypted server whose identity could not be verified may be
// trusted by the user, from now on; it is then listed once more.
bool PlanTrusting(App& app, SiteTarget& target, std::vector<PlanRow>& rows, PublishOutcome& failure) {
  for (int attempt = 0; attempt < 2; ++attempt) {
    ftp::RunControl control;
    bool planned = false;
    Watched(app, "Publish Site", control, [&] { planned = PlanSite(target, control, true, rows, failure); });
    SecureHost host;
    if (planned || failure.offeredKey.empty() || !ParseSecureHost(target.job.host, host)) return planned;
    std::string question = failure.message + "\r\rTrust this server's key for " + ServerName(host) +
                           " from now on?\rIts key: " + failure.offeredKey;
    if (app.platform.Message(question, MsgIcon::Warning, MsgButtons::YesNo) != MsgAnswer::Yes) {
      failure.message.clear();  // already shown in the question
      return false;
    }
    target.job.trustedKey = failure.offeredKey;
    RememberTrust(ConfigFile(app, kTrustFile), ServerName(host), target.job.trustedKey);
    failure = PublishOutcome{};
  }
  return false;
}

}  // namespace

void PublishSite(App& app) {
  std::string program = app.activeSlot > 0 ? app.docs[app.activeSlot].path : std::string();
  if (program.empty()) program = app.currentPath;
  if (program.empty()) {
    app.platform.Message("Publish Site works on the site of a saved program.", MsgIcon::Information);
    return;
  }
  SiteTarget target;
  std::string error;
  if (!PrepareSiteTarget(core::SiteFolderOf(program), app.configFolder, app.publish, target, error)) {
    app.platform.Message(error, MsgIcon::Warning);
    return;
  }
  std::vector<PlanRow> rows;
  PublishOutcome failure;
  if (!PlanTrusting(app, target, rows, failure)) {
    if (!failure.message.empty()) app.platform.Message(failure.message, MsgIcon::Warning);
    return;
  }
  if (!ChooseRows(app, rows)) return;
  ftp::RunControl control;
  PublishOutcome outcome;
  Watched(app, "Publish Site", control, [&] { outcome = RunSite(target, rows, control); });
  if (outcome.result == PublishOutcome::Published) return;
  bool cancelled = outcome.result == PublishOutcome::Cancelled;
  app.platform.Message(outcome.message, cancelled ? MsgIcon::Information : MsgIcon::Warning);
}
