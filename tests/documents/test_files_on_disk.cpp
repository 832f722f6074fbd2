// Open files that other programs change, replace or delete; Save All; large files.
#include <utime.h>

#include <cstdio>

#include <QStatusBar>
#include <QTest>
#include <Qsci/qsciscintilla.h>

#include "app/main_window.h"
#include "core/file_stamp.h"
#include "core/files.h"
#include "documents/disk_changes.h"
#include "documents/document_table.h"
#include "documents/editor.h"
#include "documents/file_loading.h"
#include "support/fixture.h"

namespace {

using Sci = QsciScintillaBase;
using Strings = std::vector<std::string>;

// Another program's save: written in place, or a new file renamed over the old one.
void WriteOutside(const std::string& path, const std::string& bytes, bool renamed) {
  if (!renamed) return WriteAll(path, bytes);
  WriteAll(path + ".new", bytes);
  QVERIFY(std::rename((path + ".new").c_str(), path.c_str()) == 0);
}

std::string Lines(int count) {
  std::string s;
  for (int i = 0; i < count; ++i) s += "line " + std::to_string(i) + "\n";
  return s;
}

std::string Note(EditorFixture& f) { return f.app->window->statusBar()->currentMessage().toStdString(); }

// Questions are asked only while the main window is the active one.
void StartActive(EditorFixture& f) {
  f.Start();
  f.app->window->activateWindow();
  QTRY_VERIFY(f.app->window->isActiveWindow());
}

}  // namespace

class TestFilesOnDisk : public QObject {
  Q_OBJECT

 private slots:
  void unmodifiedDocumentReloads_data() {
    QTest::addColumn<bool>("renamed");
    QTest::newRow("written in place") << false;
    QTest::newRow("renamed over it") << true;
  }
  void unmodifiedDocumentReloads() {
    QFETCH(bool, renamed);
    EditorFixture f;
    StartActive(f);
    const std::string text = Lines(200);
    f.WriteFile("page.web", text);
    const std::string path = f.Path("page.web");
    QVERIFY(OpenDocumentTab(*f.app, path, path));
    QsciScintilla* e = f.app->activeEditor;
    Send(e, Sci::SCI_SETEOLMODE, Sci::SC_EOL_CRLF);  // the user's choice, not the file's
    Send(e, Sci::SCI_GOTOPOS, Send(e, Sci::SCI_POSITIONFROMLINE, 120) + 3);
    Send(e, Sci::SCI_SETFIRSTVISIBLELINE, 100);
    const intptr_t firstLine = Send(e, Sci::SCI_GETFIRSTVISIBLELINE);
    QVERIFY(firstLine > 0);
    std::string before;  // the text the last reload replaced
    // Twice: a watch that went silent after the first rename would miss the second.
    for (int round = 1; round <= 2; ++round) {
      const std::string changed = "line zero, round " + std::to_string(round) + text.substr(6);
      before = EditorText(e);
      WriteOutside(path, changed, renamed);
      QTRY_COMPARE(EditorText(e), changed);
      const intptr_t caret = Send(e, Sci::SCI_GETCURRENTPOS);
      QCOMPARE(Send(e, Sci::SCI_LINEFROMPOSITION, caret), intptr_t(120));
      QCOMPARE(Send(e, Sci::SCI_GETCOLUMN, caret), intptr_t(3));
      QCOMPARE(Send(e, Sci::SCI_GETFIRSTVISIBLELINE), firstLine);
      QCOMPARE(Send(e, Sci::SCI_GETEOLMODE), intptr_t(Sci::SC_EOL_CRLF));
      QVERIFY(!IsDocumentModified(*f.app, 2));
      QVERIFY(!TabShowsModified(*f.app, 2));
      QCOMPARE(Note(f), "page.web" + std::string(kReloadedNote));
    }
    QCOMPARE(f.app->docs[2].path, path);
    QCOMPARE(TabStrip(*f.app)->tabText(1), QString("page.web"));
    // The reload is one step of the undo history.
    Send(e, Sci::SCI_UNDO);
    QCOMPARE(EditorText(e), before);
    QVERIFY(IsDocumentModified(*f.app, 2));

    // Our own save is no change by another program.
    f.app->window->statusBar()->clearMessage();
    f.Menu(105);
    QCOMPARE(f.ReadFile("page.web"), before);
    QTest::qWait(500);
    QCOMPARE(EditorText(e), before);
    QCOMPARE(Note(f), std::string());
    QVERIFY(f.platform.calls.empty());
  }

  void modifiedDocumentAsks_data() {
    QTest::addColumn<bool>("reload");
    QTest::newRow("Reload") << true;
    QTest::newRow("Keep my text") << false;
  }
  void modifiedDocumentAsks() {
    QFETCH(bool, reload);
    EditorFixture f;
    StartActive(f);
    f.WriteFile("page.web", "old text\n");
    const std::string path = f.Path("page.web");
    QVERIFY(OpenDocumentTab(*f.app, path, path));
    InsertTextAtCaret(*f.app, "mine ");
    f.platform.AnswerChoice(reload ? 0 : 1);
    WriteOutside(path, "their text\n", true);
    QTRY_VERIFY(!f.platform.CallsOf("message").empty());
    const PlatformCall asked = f.platform.CallsOf("message")[0];
    QCOMPARE(asked.text, path + "\r" + kChangedOnDiskQuestion);
    QCOMPARE(asked.args, (Strings{"Reload", "Keep my text"}));
    QCOMPARE(asked.icon, MsgIcon::Question);
    QCOMPARE(EditorText(f.app->activeEditor), std::string(reload ? "their text\n" : "mine old text\n"));
    QCOMPARE(IsDocumentModified(*f.app, 2), !reload);
    if (reload) {
      Send(*f.app, Sci::SCI_UNDO);  // the user's text is one undo away
      QCOMPARE(EditorText(f.app->activeEditor), std::string("mine old text\n"));
    } else {
      // Kept once, not asked again: neither when the window comes back nor at the save.
      QEvent activate(QEvent::WindowActivate);
      QCoreApplication::sendEvent(f.app->window, &activate);
      QTest::qWait(300);
      f.Menu(105);
      QCOMPARE(f.ReadFile("page.web"), std::string("mine old text\n"));
      QCOMPARE(f.platform.CallsOf("message").size(), size_t(1));
    }
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
  }

  // While another window is in front the question waits for the main window's activation.
  void questionWaitsForActivation() {
    EditorFixture f;
    StartActive(f);
    f.WriteFile("page.web", "old");
    const std::string path = f.Path("page.web");
    QVERIFY(OpenDocumentTab(*f.app, path, path));
    InsertTextAtCaret(*f.app, "mine ");
    QWidget other;
    other.show();
    other.activateWindow();
    QTRY_VERIFY(other.isActiveWindow());
    WriteOutside(path, "theirs", false);
    QTest::qWait(500);
    QVERIFY(f.platform.calls.empty());
    f.platform.AnswerChoice(1);
    f.app->window->activateWindow();
    QTRY_COMPARE(f.platform.CallsOf("message").size(), size_t(1));
    QCOMPARE(EditorText(f.app->activeEditor), std::string("mine old"));
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
  }

  void saveOverOutsideChangeAsks_data() {
    QTest::addColumn<bool>("saveOver");
    QTest::newRow("Save over it") << true;
    QTest::newRow("Cancel") << false;
  }
  void saveOverOutsideChangeAsks() {
    QFETCH(bool, saveOver);
    EditorFixture f;
    f.WriteFile("Verosta.ini", "Backup file 1\r\n");
    f.Start();
    f.WriteFile("page.web", "old");
    const std::string path = f.Path("page.web");
    QVERIFY(OpenDocumentTab(*f.app, path, path));
    InsertTextAtCaret(*f.app, "mine ");
    WriteOutside(path, "their text", false);  // the save comes before any watch reports it
    f.platform.AnswerChoice(saveOver ? 0 : 1);
    QCOMPARE(SaveCommand(*f.app), saveOver);
    const auto asked = f.platform.CallsOf("message");
    QCOMPARE(asked.size(), size_t(1));
    QCOMPARE(asked[0].text, path + "\r" + kSaveOverQuestion);
    QCOMPARE(asked[0].args, (Strings{"Save over it", "Cancel"}));
    QCOMPARE(f.ReadFile("page.web"), std::string(saveOver ? "mine old" : "their text"));
    QCOMPARE(core::FileExists(f.Path("page.bak")), saveOver);
    QCOMPARE(IsDocumentModified(*f.app, 2), !saveOver);
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
  }

  void deletedFileKeepsItsTextMarkedModified() {
    EditorFixture f;
    StartActive(f);
    f.WriteFile("page.web", "kept");
    const std::string path = f.Path("page.web");
    QVERIFY(OpenDocumentTab(*f.app, path, path));
    QVERIFY(core::RemoveFile(path));
    QTRY_VERIFY(TabShowsModified(*f.app, 2));
    QCOMPARE(EditorText(f.app->activeEditor), std::string("kept"));
    QCOMPARE(Note(f), "page.web" + std::string(kDeletedNote));
    f.platform.AnswerMessage(MsgAnswer::No);
    QVERIFY(!ConfirmSaveBeforeClose(*f.app, true));
    // Saving puts the file back, with no question about another program.
    QVERIFY(SaveCommand(*f.app));
    QCOMPARE(f.ReadFile("page.web"), std::string("kept"));
    QVERIFY(!TabShowsModified(*f.app, 2));
    QCOMPARE(f.platform.calls.size(), size_t(1));
  }

  void saveAllLeavesUnmodifiedFilesAlone_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("Save All") << "save all";
    QTest::newRow("exit with Save on exit") << "exit";
    QTest::newRow("Close All, Yes") << "close all";
  }
  void saveAllLeavesUnmodifiedFilesAlone() {
    QFETCH(QString, how);
    EditorFixture f;
    f.WriteFile("Verosta.ini", std::string("Backup file 1\r\n") + (how == "exit" ? "Save on exit 1\r\n" : ""));
    f.Start();
    f.WriteFile("same.web", "same");
    f.WriteFile("edited.web", "edited");
    const struct utimbuf past { 1000000000, 1000000000 };
    QVERIFY(::utime(f.Path("same.web").c_str(), &past) == 0);
    const core::FileStamp untouched = core::StampOf(f.Path("same.web"));
    QVERIFY(OpenDocumentTab(*f.app, f.Path("same.web"), f.Path("same.web")));
    QVERIFY(OpenDocumentTab(*f.app, f.Path("edited.web"), f.Path("edited.web")));
    InsertTextAtCaret(*f.app, "x");
    ActivateTab(*f.app, 1);
    CloseActiveDocumentQuietly(*f.app);  // New.web, which has no file yet
    if (how == "save all") f.Menu(117);
    if (how == "exit") f.Close();
    if (how == "close all") {
      f.platform.AnswerMessage(MsgAnswer::Yes);
      f.Menu(125);
    }
    QCOMPARE(f.ReadFile("edited.web"), std::string("xedited"));
    QCOMPARE(f.ReadFile("edited.bak"), std::string("xedited"));
    QVERIFY(core::StampOf(f.Path("same.web")) == untouched);
    QVERIFY(!core::FileExists(f.Path("same.bak")));
    QVERIFY2(f.platform.Done(), f.platform.Pending().c_str());
  }

  void largeFileAsksFirst_data() {
    QTest::addColumn<bool>("open");
    QTest::newRow("Yes") << true;
    QTest::newRow("No") << false;
  }
  void largeFileAsksFirst() {
    QFETCH(bool, open);
    EditorFixture f;
    f.Start();
    f.app->largeFileBytes = 2000;
    f.WriteFile("big.web", std::string(3000, 'x'));
    f.WriteFile("small.web", std::string(2000, 'x'));
    const std::string path = f.Path("big.web");
    QVERIFY(OpenDocumentTab(*f.app, f.Path("small.web"), f.Path("small.web")));  // at the bound: not asked
    f.platform.AnswerMessage(open ? MsgAnswer::Yes : MsgAnswer::No);
    QCOMPARE(OpenDocumentTab(*f.app, path, path), open);
    const auto asked = f.platform.CallsOf("message");
    QCOMPARE(asked.size(), size_t(1));
    QCOMPARE(asked[0].text, path + "\rThis file is 3 KB. Opening it takes a while and needs at least as much free "
                                   "memory.\rOpen it anyway?");
    QCOMPARE(asked[0].buttons, MsgButtons::YesNo);
    QCOMPARE(DocumentCount(*f.app), open ? 3 : 2);
    QCOMPARE(EditorText(f.app->activeEditor).size(), size_t(open ? 3000 : 2000));
  }

  void longLoadShowsProgress_data() {
    QTest::addColumn<bool>("cancel");
    QTest::newRow("read to the end") << false;
    QTest::newRow("cancelled") << true;
  }
  void longLoadShowsProgress() {
    QFETCH(bool, cancel);
    EditorFixture f;
    f.Start();
    f.app->progressFileBytes = 1 << 20;
    std::string bytes(9 << 20, 'a');
    for (size_t i = 0; i < bytes.size(); i += 4099) bytes[i] = static_cast<char>(i % 251);
    f.WriteFile("big.web", bytes);
    const std::string path = f.Path("big.web");
    f.platform.cancelProgressAfterMs = cancel ? 0 : -1;
    QCOMPARE(OpenDocumentTab(*f.app, path, path), !cancel);
    const auto progress = f.platform.CallsOf("progress");
    QCOMPARE(progress.size(), size_t(1));
    QCOMPARE(progress[0].text, std::string("Opening big.web"));
    QVERIFY(!progress[0].args.empty() && progress[0].args[0].rfind("Reading big.web: ", 0) == 0);
    // A cancelled load opens nothing and changes nothing.
    QCOMPARE(DocumentCount(*f.app), cancel ? 1 : 2);
    QCOMPARE(EditorText(f.app->activeEditor) == bytes, !cancel);
    QCOMPARE(f.ReadFile("big.web"), bytes);
    QVERIFY(f.platform.CallsOf("message").empty());
  }

  void sizesAndBounds() {
    const std::pair<long long, std::string> sizes[] = {{100, "100 bytes"},
                                                       {3000, "3 KB"},
                                                       {600LL << 20, "600 MB"},
                                                       {(2LL << 30) + (1LL << 29), "2.5 GB"}};
    for (const auto& [bytes, text] : sizes) QCOMPARE(SizeText(bytes), text);
    QCOMPARE(LargeFileBound(-1), 512LL << 20);
    QCOMPARE(LargeFileBound(600LL << 20), 300LL << 20);
    QCOMPARE(LargeFileBound(8LL << 30), 512LL << 20);
    QCOMPARE(AvailableMemory("MemTotal:  9000 kB\nMemFree:  10 kB\nMemAvailable:    2048 kB\n"), 2LL << 20);
    QCOMPARE(AvailableMemory("MemTotal:  9000 kB\n"), -1LL);
  }

  void spliceKeepsTheCommonEnds() {
    const struct {
      const char *before, *after;
      size_t start, removed, inserted;
    } rows[] = {{"abc", "abc", 3, 0, 0},
                {"aXc", "aYYc", 1, 1, 2},
                {"aa", "aaa", 2, 0, 1},
                {"", "new", 0, 0, 3},
                {"old", "", 0, 3, 0}};
    for (const auto& r : rows) {
      const TextSplice s = SpliceBetween(r.before, r.after);
      QVERIFY2(s.start == r.start && s.removed == r.removed && s.inserted == r.inserted, r.after);
    }
  }
};

QTEST_MAIN(TestFilesOnDisk)
#include "test_files_on_disk.moc"
