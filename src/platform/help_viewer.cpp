#include "platform/help_viewer.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "core/text.h"

QString HelpPageFor(const QString& helpFile, int context) {
  QString name = QFileInfo(QString(helpFile).replace('\\', '/')).completeBaseName().toLower();
  if (name == "new") return "new.html";
  if (name == "release") return "release.html";
  if (context <= 0) return "index.html";
  return QString::number(context) + ".html";
}

HelpViewer::HelpViewer(QWidget* parent, const QString& helpFolder)
    : QDialog(parent), folder_(helpFolder), browser_(new QTextBrowser(this)) {
  setWindowTitle("Verosta editor Help");
  setModal(false);
  resize(720, 560);
  browser_->setOpenExternalLinks(true);
  browser_->setSearchPaths({folder_});
  auto* back = new QPushButton("Back", this);
  auto* forward = new QPushButton("Forward", this);
  auto* home = new QPushButton("Contents", this);
  connect(back, &QPushButton::clicked, browser_, &QTextBrowser::backward);
  connect(forward, &QPushButton::clicked, browser_, &QTextBrowser::forward);
  connect(home, &QPushButton::clicked, this, [this] { ShowTopic("contents.chm", 0); });
  connect(browser_, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
  connect(browser_, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
  back->setEnabled(false);
  forward->setEnabled(false);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(back);
  buttons->addWidget(forward);
  buttons->addWidget(home);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(browser_);
}

void HelpViewer::ShowTopic(const QString& helpFile, int context) {
  QString page = HelpPageFor(helpFile, context);
  if (!QFileInfo::exists(folder_ + "/" + page)) page = "notfound.html";
  if (QFileInfo::exists(folder_ + "/" + page)) browser_->setSource(QUrl::fromLocalFile(folder_ + "/" + page));
  else browser_->setHtml("<h1>Topic not found</h1><p>There is no help page for this topic.</p>");
  show();
  raise();
  activateWindow();
}

QString HelpViewer::CurrentPage() const { return QFileInfo(browser_->source().toLocalFile()).fileName(); }
