// Small helpers for the dialogs of the document commands: controls carry their numeric
// id as object name, texts cross between UTF-8 bytes and Qt strings.
#pragma once
#include <QCheckBox>
#include <QHBoxLayout>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QString>
#include <initializer_list>
#include <string>

inline QString ToQ(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
inline std::string FromQ(const QString& s) { return s.toUtf8().toStdString(); }

template <typename W>
W* WithId(W* widget, int id) {
  widget->setObjectName(QString::number(id));
  return widget;
}

inline QLabel* IdLabel(QDialog* d, int id, const char* text) {
  return WithId(new QLabel(QString::fromUtf8(text), d), id);
}
inline QLineEdit* IdEdit(QDialog* d, int id) { return WithId(new QLineEdit(d), id); }
inline QPushButton* IdButton(QDialog* d, int id, const char* text) {
  auto* b = WithId(new QPushButton(QString::fromUtf8(text), d), id);
  b->setAutoDefault(false);
  return b;
}
// A button that runs `action` when clicked.
template <typename F>
QPushButton* IdButton(QDialog* d, int id, const char* text, F action) {
  QPushButton* b = IdButton(d, id, text);
  QObject::connect(b, &QPushButton::clicked, d, action);
  return b;
}
inline QCheckBox* IdCheck(QDialog* d, int id, const char* text, int flag) {
  auto* c = WithId(new QCheckBox(QString::fromUtf8(text), d), id);
  c->setChecked(flag == 1);
  return c;
}

// The bottom row of a dialog: Help at the left, the other buttons at the right.
inline QHBoxLayout* ButtonRow(QPushButton* help, std::initializer_list<QPushButton*> right) {
  auto* row = new QHBoxLayout;
  row->addWidget(help);
  row->addStretch();
  for (QPushButton* b : right) row->addWidget(b);
  return row;
}
