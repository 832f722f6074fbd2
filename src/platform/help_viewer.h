// The in-app help window: shows the HTML topic for a context number from help/,
// with links between pages and back/forward.
#pragma once
#include <QDialog>
#include <QString>

class QTextBrowser;

// The page of help/ that shows a topic: "contents.chm" with context 0 is the index,
// a context number N is "N.html", "new.chm" and "release.chm" are their own pages.
QString HelpPageFor(const QString& helpFile, int context);

class HelpViewer : public QDialog {
  Q_OBJECT
 public:
  HelpViewer(QWidget* parent, const QString& helpFolder);
  void ShowTopic(const QString& helpFile, int context);
  QString CurrentPage() const;

 private:
  QString folder_;
  QTextBrowser* browser_;
};
