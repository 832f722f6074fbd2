// The translator's logic: what passes through, what each command becomes, includes.
#include <QTest>
#include <cctype>
#include <map>
#include <random>

#include "keywords.h"
#include "page.h"
#include "translator.h"
#include "translator/in_memory_files.h"

using translator::Options;
using translator::Result;
using translator::Translate;

namespace {

// The part of a page between "<body>\n" and "</body>" for a program inside an HTML skeleton.
std::string Body(const std::string& program, const Options& o = {}, Result* result = nullptr) {
  Result r = Translate("<html>\n<body>\n" + program + "</body>\n</html>\n", "/site/index.web", o);
  if (result) *result = r;
  if (!r.ok) return "ERROR " + r.error;
  size_t start = r.page.find("<body>\n") + 7;
  return r.page.substr(start, r.page.rfind("</body>") - start);
}

}  // namespace

class TestTranslator : public QObject {
  Q_OBJECT
 private slots:
  void passesHtmlUnchanged_data();
  void passesHtmlUnchanged();
  void commands_data();
  void commands();
  void dropsComments();
  void wrapsProgramWithoutHtmlElement();
  void putsStyleSheetInHead();
  void viewportAndLang_data();
  void viewportAndLang();
  void effectsShareOneStyleSheet();
  void unknownCommandBecomesComment();
  void openTextReadsBesideProgram();
  void openTextMissingIsError();
  void includes_data();
  void includes();
  void includeFanOutIsBounded();
  void endStopsProgram();
  void oddInputDoesNotCrash();
  void handover_data();
  void handover();
  void keywordList();
  void argumentsOfSeveralValues();
  void keywordSpelling_data();
  void keywordSpelling();
  void everyKeywordInAnyLetterCase();
  void splitsLinesKeepingEnds_data();
  void splitsLinesKeepingEnds();
  void splitsLinesAtAnyOffset();
};

void TestTranslator::passesHtmlUnchanged_data() {
  QTest::addColumn<QByteArray>("program");
  QTest::newRow("page") << QByteArray("<!DOCTYPE html>\n<html>\n<body>\n<p>Hi</p>\n</body>\n</html>\n");
  QTest::newRow("mixed line ends") << QByteArray("<p>a</p>\r\n<p>b</p>\r<p>c</p>\n<br>");
  QTest::newRow("markup words at line start")
      << QByteArray("<html>\nTitle of the page\nstyle matters\nBody text\nhtml is fun\n</html>\n");
  QTest::newRow("fragment without html") << QByteArray("<h1>Only a heading</h1>\n");
  QTest::newRow("binary bytes") << QByteArray("\x01\x02\xff\xfe\x00<p>\x1a</p>", 13);
  QTest::newRow("Remark is no Rem") << QByteArray("<p>\nRemarkable text\n</p>\n");
  QTest::newRow("empty") << QByteArray();
}

void TestTranslator::passesHtmlUnchanged() {
  QFETCH(QByteArray, program);
  Result r = Translate(program.toStdString(), "/site/page.web");
  QVERIFY(r.ok);
  QCOMPARE(QByteArray::fromStdString(r.page), program);
  QVERIFY(r.warnings.empty());
}

void TestTranslator::commands_data() {
  QTest::addColumn<QByteArray>("program");
  QTest::addColumn<QByteArray>("body");
  QTest::newRow("WriteText escapes") << QByteArray("WriteText \"Fish <&> \"chips\"\"\n")
                                     << QByteArray("<p>Fish &lt;&amp;&gt; \"chips\"</p>\n");
  QTest::newRow("any letter case") << QByteArray("writetext \"a\"\n") << QByteArray("<p>a</p>\n");
  QTest::newRow("SetTextStyle then text")
      << QByteArray("SetTextStyle (font-family:arial ; font-size: 14px ;)\nWriteText \"a\"\nWriteText \"b\"\n")
      << QByteArray("<p style=\"font-family:arial ; font-size: 14px ;\">a</p>\n"
                    "<p style=\"font-family:arial ; font-size: 14px ;\">b</p>\n");
  QTest::newRow("style is an attribute value") << QByteArray("SetTextStyle (a\"><script>)\nWriteText \"x\"\n")
                                               << QByteArray("<p style=\"a&quot;&gt;&lt;script&gt;\">x</p>\n");
  QTest::newRow("LineBreak and HorizontalRule")
      << QByteArray("LineBreak ()\nHorizontalRule ()\n") << QByteArray("<br>\n<hr>\n");
  QTest::newRow("CR LF kept") << QByteArray("WriteText \"a\"\r\nLineBreak ()\r\n")
                              << QByteArray("<p>a</p>\r\n<br>\r\n");
  QTest::newRow("gallery")
      << QByteArray("SetImageStyle (width: 170px; height: 150px;)\nViewGallery ()\n"
                    "    ShowImage [0] = 'images/a.jpg'\n    ShowImage [1] = 'images/ b&c.png'\nEndView ()\n")
      << QByteArray("<div class=\"vt-gallery\">\n"
                    "<img src=\"images/a.jpg\" alt=\"a\" style=\"width: 170px; height: 150px;\">\n"
                    "<img src=\"images/%20b&amp;c.png\" alt=\"b&amp;c\" style=\"width: 170px; height: 150px;\">\n"
                    "</div>\n");
  QTest::newRow("gallery left open") << QByteArray("ViewGallery ()\nShowImage [0] = 'a.gif'\n")
                                     << QByteArray(
                                            "<div class=\"vt-gallery\">\n<img src=\"a.gif\" alt=\"a\">\n</div>\n");
  QTest::newRow("BouncingText") << QByteArray("BouncingText \"Hi\"\n")
                                << QByteArray("<p class=\"vt-bounce\"><span>Hi</span></p>\n");
  QTest::newRow("styled effect") << QByteArray("SetTextStyle (color: red)\nShakingText \"Hi\"\n")
                                 << QByteArray("<p class=\"vt-shake\" style=\"color: red\"><span>Hi</span></p>\n");
  QTest::newRow("MirrorText") << QByteArray("MirrorText \"Hi\"\n")
                              << QByteArray("<p class=\"vt-mirror\"><span>Hi</span><br>"
                                            "<span class=\"vt-reflection\" aria-hidden=\"true\">Hi</span></p>\n");
  QTest::newRow("shadow box") << QByteArray("ShadowBoxStyle \"border: 2px solid red\"\nShadowBoxText \"Box\"\n")
                              << QByteArray("<div class=\"vt-shadowbox\" style=\"border: 2px solid red\">Box</div>\n");
  QTest::newRow("missing quote") << QByteArray("WriteText \"abc\n") << QByteArray("<p>abc</p>\n");
  QTest::newRow("empty text") << QByteArray("WriteText \"\"\n") << QByteArray("<p></p>\n");
  QTest::newRow("inside script untouched") << QByteArray("<script>\n'a string',\nWriteText(1);\n</script>\n")
                                           << QByteArray("<script>\n'a string',\nWriteText(1);\n</script>\n");
  QTest::newRow("inside comment untouched") << QByteArray("<!-- notes\nWriteText \"x\"\n-->\nLineBreak ()\n")
                                            << QByteArray("<!-- notes\nWriteText \"x\"\n-->\n<br>\n");
  // Settings that later commands read: a new value (or an empty one) replaces what they put out.
  QTest::newRow("each SetTextStyle styles the text after it")
      << QByteArray("SetTextStyle (color: red)\nWriteText \"a\"\nBouncingText \"b\"\nSetTextStyle (color: blue)\n"
                    "WriteText \"c\"\nSetTextStyle ()\nWriteText \"d\"\n")
      << QByteArray("<p style=\"color: red\">a</p>\n<p class=\"vt-bounce\" style=\"color: red\"><span>b</span></p>\n"
                    "<p style=\"color: blue\">c</p>\n<p>d</p>\n");
  QTest::newRow("ImageSize joins the picture style from then on")
      << QByteArray("SetImageStyle (border: 0)\nShowImage [0] = 'a.png'\nImageSize (100, 50)\nShowImage [1] = 'b.png'\n"
                    "SetImageStyle ()\nShowImage [2] = 'c.png'\n")
      << QByteArray("<img src=\"a.png\" alt=\"a\" style=\"border: 0\">\n"
                    "<img src=\"b.png\" alt=\"b\" style=\"border: 0; width:100px; height:50px\">\n"
                    "<img src=\"c.png\" alt=\"c\" style=\"width:100px; height:50px\">\n");
  QTest::newRow("effects add their own declarations to the text style")
      << QByteArray("SetTextStyle (color: red;)\nSetPosition (10, 20)\nPositionText \"P\"\nShadowBoxText \"B\"\n"
                    "HighlightColor (yellow)\nTextHover \"H\"\n")
      << QByteArray("<p class=\"vt-position\" style=\"color: red; margin-left:10px; top:20px\"><span>P</span></p>\n"
                    "<div class=\"vt-shadowbox\" style=\"color: red;\">B</div>\n"
                    "<p class=\"vt-hover\" style=\"color: red; --vt-highlight:yellow\"><span>H</span></p>\n");
  QTest::newRow("LinkText serves one link")
      << QByteArray("LinkText \"Garden\"\nOnLinkGoto (g.html)\nOnLinkGoto (h.html)\n")
      << QByteArray("<p><a href=\"g.html\">Garden</a></p>\n<p><a href=\"h.html\">h.html</a></p>\n");
  QTest::newRow("picture paths become URLs")
      << QByteArray("ShowImage [0] = ' dir\\a \"b\"<&>.png '\n")
      << QByteArray("<img src=\"dir/a%20&quot;b&quot;&lt;&amp;&gt;.png\" alt=\"a &quot;b&quot;&lt;&amp;&gt;\">\n");
  QTest::newRow("NUL dropped from text") << QByteArray("WriteText \"a\0b&\0\"\n", 18) << QByteArray("<p>ab&amp;</p>\n");
  QTest::newRow("form captions") << QByteArray("<form method=\"post\" action=\"\">\n\nWriteText \"Name:\"\n"
                                               "<input type=\"text\" name=\"Name\" size=\"50px\"><br><br>\n\n</form>")
                                 << QByteArray("<form method=\"post\" action=\"\">\n\n<p>Name:</p>\n"
                                               "<input type=\"text\" name=\"Name\" size=\"50px\"><br><br>\n\n</form>");
}

void TestTranslator::commands() {
  QFETCH(QByteArray, program);
  QFETCH(QByteArray, body);
  QCOMPARE(QByteArray::fromStdString(Body(program.toStdString())), body);
}

void TestTranslator::dropsComments() {
  Result r = Translate("<html>\nRem a note\n' another\n   rem indented\n<p>kept</p>\n</html>", "/s/a.web");
  QVERIFY(r.ok);
  QCOMPARE(
      QByteArray::fromStdString(r.page),
      QByteArray(
          "<html>\n<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<p>kept</p>\n</html>"));
}

void TestTranslator::wrapsProgramWithoutHtmlElement() {
  Result r = Translate("<!DOCTYPE HTML>\nWriteText \"Hi & bye\"\n<p>end</p>", "/site/My <Page>.web");
  QVERIFY(r.ok);
  QCOMPARE(QByteArray::fromStdString(r.page),
           QByteArray("<!DOCTYPE HTML>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
                      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
                      "<title>My &lt;Page&gt;</title>\n"
                      "</head>\n<body>\n<p>Hi &amp; bye</p>\n<p>end</p>\n</body>\n</html>\n"));
  r = Translate("LineBreak ()\r\n", "/site/a.web");
  QCOMPARE(QByteArray::fromStdString(r.page),
           QByteArray("<!DOCTYPE html>\r\n<html lang=\"en\">\r\n<head>\r\n<meta charset=\"utf-8\">\r\n"
                      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\r\n<title>a</title>\r\n"
                      "</head>\r\n<body>\r\n<br>\r\n</body>\r\n</html>\r\n"));
}

void TestTranslator::putsStyleSheetInHead() {
  Result r =
      Translate("<html>\n<head>\n<title>t</title>\n</head>\n<body>\nShadowText \"s\"\n</body>\n</html>\n", "/s/a.web");
  QVERIFY(r.ok);
  QCOMPARE(QByteArray::fromStdString(r.page),
           QByteArray("<html>\n<head>\n<title>t</title>\n"
                      "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<style>\n"
                      ".vt-shadow span{text-shadow:3px 3px 4px rgba(0,0,0,.5)}\n"
                      "</style>\n</head>\n<body>\n<p class=\"vt-shadow\"><span>s</span></p>\n</body>\n</html>\n"));
}

void TestTranslator::viewportAndLang_data() {
  QTest::addColumn<QString>("lang");
  QTest::addColumn<QString>("program");
  QTest::addColumn<QString>("head");  // the page up to <body>
  const QString viewport = "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n";
  QTest::newRow("site language") << "de"
                                 << "LineBreak\n"
                                 << "<!DOCTYPE html>\n<html lang=\"de\">\n<head>\n<meta charset=\"utf-8\">\n" +
                                        viewport + "<title>a</title>\n</head>\n";
  QTest::newRow("no language") << ""
                               << "LineBreak\n"
                               << "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n" + viewport +
                                      "<title>a</title>\n</head>\n";
  QTest::newRow("own viewport kept alone")
      << "de"
      << "<html>\n<head>\n<META Name=viewport content=\"width=600\">\n</head>\nLineBreak\n"
      << "<html>\n<head>\n<META Name=viewport content=\"width=600\">\n</head>\n";
  QTest::newRow("XHTML") << "en"
                         << "<html xmlns=\"http://www.w3.org/1999/xhtml\">\n<head>\n</head>\nLineBreak\n"
                         << "<html xmlns=\"http://www.w3.org/1999/xhtml\">\n<head>\n"
                            "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\" />\n</head>\n";
  QTest::newRow("no head") << "en"
                           << "<html>\n<body>\nLineBreak\n"
                           << "<html>\n" + viewport + "<body>\n";
  QTest::newRow("viewport in the body is not the page's")
      << "en"
      << "<html><head></head>\n<body>\n<meta name=viewport>\nLineBreak\n"
      << "<html><head>" + viewport + "</head>\n";
}

void TestTranslator::viewportAndLang() {
  QFETCH(QString, lang);
  QFETCH(QString, program);
  QFETCH(QString, head);
  Options o;
  o.lang = lang.toStdString();
  Result r = Translate(program.toStdString(), "/site/a.web", o);
  QVERIFY(r.ok);
  QCOMPARE(QString::fromStdString(r.page.substr(0, head.toStdString().size())), head);
}

void TestTranslator::effectsShareOneStyleSheet() {
  std::string program = "<html>\n<body>\n";
  for (const char* e : {"BouncingText", "ExpandingText", "FlyinText", "GradientText", "HighlightText", "MirrorText",
                        "MixText", "PositionText", "RainbowText", "ReverseText", "ScrollingText", "ShadowText",
                        "ShakingText", "ShadowBoxText", "BouncingText"})
    program += std::string(e) + " \"x\"\n";
  Result r = Translate(program + "</body>\n</html>\n", "/s/a.web");
  QVERIFY(r.ok);
  QVERIFY(r.warnings.empty());
  size_t first = r.page.find("<style>");
  QVERIFY(first != std::string::npos);
  QCOMPARE(r.page.find("<style>", first + 1), std::string::npos);
  QVERIFY(r.page.find("@keyframes vt-bounce{") != std::string::npos);
  QCOMPARE(r.page.find("@keyframes vt-bounce{", r.page.find("@keyframes vt-bounce{") + 1), std::string::npos);
  for (const char* cls :
       {"vt-bounce", "vt-expand", "vt-flyin", "vt-gradient", "vt-highlight", "vt-mirror", "vt-mix", "vt-position",
        "vt-rainbow", "vt-reverse", "vt-scroll", "vt-shadow", "vt-shake", "vt-shadowbox"}) {
    std::string rule = std::string(".") + cls;
    QVERIFY2(r.page.find(rule) < r.page.find("</style>"), cls);
    QVERIFY2(r.page.find(std::string("class=\"") + cls + "\"") != std::string::npos, cls);
  }
}

void TestTranslator::unknownCommandBecomesComment() {
  // Every keyword translates now: these two once became comments.
  Result r;
  QCOMPARE(QByteArray::fromStdString(Body("StartMenu \"Main\"\n  playvideo (a.mp4)\n", {}, &r)),
           QByteArray("<nav class=\"vt-menu\" aria-label=\"Main\"><p class=\"vt-menu-name\">Main</p><ul>\n"
                      "<video class=\"vt-video\" src=\"a.mp4\" controls>Your browser cannot play this video: "
                      "<a href=\"a.mp4\">a.mp4</a></video>\n</ul></nav>\n"));
  QCOMPARE(r.warnings.size(), size_t(1));
  QCOMPARE(QByteArray::fromStdString(r.warnings[0]),
           QByteArray("/site/index.web:3: warning: StartMenu has no EndMenu; it is closed at the end of the page"));
}

void TestTranslator::openTextReadsBesideProgram() {
  Options o = FilesOptions({{"/site/notes.txt", "line one\r\nline <two>\r\n"}, {"/abs/x.txt", "x"}});
  o.allowed = {"/abs/x.txt"};
  QCOMPARE(QByteArray::fromStdString(
               Body("SetTextStyle (font-size: 14px)\nOpenText (notes.txt)\nOpenText (/abs/x.txt)\n", o)),
           QByteArray("<div class=\"vt-file\" style=\"font-size: 14px\">line one<br>\nline &lt;two&gt;</div>\n"
                      "<div class=\"vt-file\" style=\"font-size: 14px\">x</div>\n"));
}

void TestTranslator::openTextMissingIsError() {
  Result r;
  Body("OpenText (gone.txt)\n", FilesOptions({}), &r);
  QVERIFY(!r.ok);
  QCOMPARE(QByteArray::fromStdString(r.error),
           QByteArray("/site/index.web:3: error: OpenText: cannot read \"gone.txt\""));
}

void TestTranslator::includes_data() {
  QTest::addColumn<QByteArray>("program");
  QTest::addColumn<QByteArray>("expected");  // the body, or "ERROR " + the error line
  QTest::newRow("from Library") << QByteArray("#Include menu.lib\n<p>after</p>\n")
                                << QByteArray("<p>menu</p>\n<p>after</p>\n");
  QTest::newRow("beside the program first") << QByteArray("#include \"local.lib\"\n") << QByteArray("<p>local</p>\n");
  QTest::newRow("nested and translated") << QByteArray("#Include outer.lib\n")
                                         << QByteArray("<div>\n<p>menu</p>\n</div>\n");
  QTest::newRow("no final line end") << QByteArray("#Include bare.lib\n<hr>\n") << QByteArray("<br>\n<hr>\n");
  QTest::newRow("missing") << QByteArray("<p>x</p>\n#Include nope.lib\n")
                           << QByteArray("ERROR /site/index.web:4: error: #Include: cannot find \"nope.lib\"");
  QTest::newRow("self") << QByteArray("#Include index.web\n")
                        << QByteArray("ERROR /site/index.web:3: error: #Include cycle: index.web -> index.web");
  QTest::newRow("cycle") << QByteArray("#Include a.lib\n")
                         << QByteArray(
                                "ERROR /site/b.lib:1: error: #Include cycle: index.web -> a.lib -> b.lib -> a.lib");
  QTest::newRow("names nothing") << QByteArray("#Include\n")
                                 << QByteArray("ERROR /site/index.web:3: error: #Include names no file");
}

void TestTranslator::includes() {
  QFETCH(QByteArray, program);
  QFETCH(QByteArray, expected);
  Options o = FilesOptions({{"/prog/Library/menu.lib", "Rem the menu\nWriteText \"menu\"\n"},
                            {"/prog/Library/local.lib", "<p>library</p>\n"},
                            {"/site/local.lib", "WriteText \"local\"\n"},
                            {"/prog/Library/outer.lib", "<div>\n#Include menu.lib\n</div>\n"},
                            {"/site/bare.lib", "LineBreak ()"},
                            {"/site/index.web", "<p>me</p>\n"},
                            {"/site/a.lib", "#Include b.lib\n"},
                            {"/site/b.lib", "#Include a.lib\n"}});
  QCOMPARE(QByteArray::fromStdString(Body(program.toStdString(), o)), expected);
}

void TestTranslator::includeFanOutIsBounded() {
  // Each file includes the next one twice: no cycle, but the page doubles at every level.
  std::map<std::string, std::string> files;
  for (int i = 0; i < 30; ++i)
    files["/site/f" + std::to_string(i) + ".lib"] =
        "#Include f" + std::to_string(i + 1) + ".lib\n#Include f" + std::to_string(i + 1) + ".lib\n";
  files["/site/f30.lib"] = std::string(1000, 'x') + "\n";
  Options o = FilesOptions(files);
  o.maxPageBytes = size_t(1) << 20;
  Result r = Translate("#Include f0.lib\n", "/site/index.web", o);
  QVERIFY(!r.ok);
  QVERIFY2(r.error.find("the page grows beyond 1 MB") != std::string::npos, r.error.c_str());

  files.clear();
  for (int i = 0; i < 40; ++i)
    files["/site/d" + std::to_string(i) + ".lib"] = "#Include d" + std::to_string(i + 1) + ".lib\n";
  r = Translate("#Include d0.lib\n", "/site/index.web", FilesOptions(files));
  QVERIFY(!r.ok);
  QVERIFY2(r.error.find("includes nest deeper than 32 files") != std::string::npos, r.error.c_str());
}

void TestTranslator::endStopsProgram() {
  Options o = FilesOptions({{"/site/part.lib", "<p>in</p>\n#END\n<p>skipped</p>\n"}});
  Result r = Translate("<html>\n#Include part.lib\n<p>out</p>\n#End\n<p>gone</p>\n", "/site/index.web", o);
  QCOMPARE(
      QByteArray::fromStdString(r.page),
      QByteArray(
          "<html>\n<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n<p>in</p>\n<p>out</p>\n"));
}

void TestTranslator::oddInputDoesNotCrash() {
  std::string binary;
  for (int i = 0; i < 256; ++i) binary += static_cast<char>(i);
  std::string huge = "WriteText \"" + std::string(8 << 20, 'a') + "\n";
  for (const std::string& program : {binary, "WriteText " + binary + "\n", huge, std::string("ShowImage [\n"),
                                     std::string("ShowImage\nSetTextStyle (\nOpenText\nEndView ()\n'"),
                                     std::string(100000, '<') + "\nWriteText \"x\"\n"}) {
    Result r = Translate(program, "/site/odd.web", FilesOptions({}));
    QVERIFY(r.ok || !r.error.empty());
    QVERIFY(r.error.find('\n') == std::string::npos);
  }
  Result r = Translate(huge, "/site/odd.web");
  QVERIFY(r.ok);
  QVERIFY(r.page.find("<p>" + std::string(8 << 20, 'a') + "</p>") != std::string::npos);
}

void TestTranslator::handover_data() {
  QTest::addColumn<QByteArray>("cname");
  QTest::addColumn<QString>("path");
  QTest::newRow("as written") << QByteArray("Name /home/ann/my site/index.web\r\n") << "/home/ann/my site/index.web";
  QTest::newRow("first Name line") << QByteArray("x\nName /a.web\nName /b.web\n") << "/a.web";
  QTest::newRow("none") << QByteArray("name /a.web\r\n") << "";
  QTest::newRow("empty path") << QByteArray("Name \r\n") << "";
}

void TestTranslator::handover() {
  QFETCH(QByteArray, cname);
  QFETCH(QString, path);
  std::string got;
  QCOMPARE(translator::ProgramPathFromHandover(cname.toStdString(), got), !path.isEmpty());
  if (!path.isEmpty()) QCOMPARE(QString::fromStdString(got), path);
}

void TestTranslator::keywordList() {
  std::string list = translator::KeywordListText();
  QVERIFY(list.rfind("doctype html head title meta style body rem mirrortext mixtext", 0) == 0);
  QVERIFY(list.find("searchbutton") != list.rfind("searchbutton"));
  QVERIFY(list.find("#end #include") != std::string::npos);
  QVERIFY(list.size() > 12 && list.substr(list.size() - 10) == " playvideo");
  QCOMPARE(QString::fromStdString(translator::KeywordSpelling("SHOWIMAGE")), QString("ShowImage"));
  QCOMPARE(QString::fromStdString(translator::KeywordSpelling("rem")), QString("Rem"));
  QCOMPARE(translator::Keywords().size(), size_t(93));  // SearchButton counted once
  translator::CommandLine c;
  QVERIFY(translator::ParseCommandLine("    ShowImage [0] = 'a'", c) && c.name == "ShowImage");
  QVERIFY(!translator::ParseCommandLine("<p>WriteText \"x\"</p>", c));
  QVERIFY(!translator::ParseCommandLine("Title text", c));
  QVERIFY(translator::ParseCommandLine("'comment", c) && c.comment);

  // The first word ends at the first byte that is not a letter, digit, '_' or '#',
  // wherever the word starts and whatever that byte is; a word longer than any keyword
  // is no keyword, however it starts.
  for (int byte = 0; byte < 256; ++byte) {
    for (size_t indent = 0; indent < 20; indent += 3) {
      std::string line = std::string(indent, ' ') + "WriteText" + char(byte) + "\"padding the line out\"";
      bool wordGoesOn = std::isalnum(byte) || byte == '_' || byte == '#';
      bool command = translator::ParseCommandLine(line, c);
      QVERIFY2(command != wordGoesOn, line.c_str());
      if (command) QCOMPARE(c.rest, std::string_view(line).substr(indent + 9));
    }
  }
  for (size_t length = 60; length < 70; ++length)
    QVERIFY(
        !translator::ParseCommandLine("WriteText" + std::string(length - 9, 'x') + " (a) and more text after it", c));
}

void TestTranslator::argumentsOfSeveralValues() {
  // Brackets count every comma and keep quoted commas; other forms are split at blanks,
  // commas and '='; quotes and the blanks around a value are removed.
  const std::pair<std::string, std::vector<std::string>> cases[] = {
      {"(a, b)", {"a", "b"}},
      {"(, 50%)", {"", "50%"}},
      {"( 'x, y' , \"z\" )", {"x, y", "z"}},
      {"(  \"a\" ,, 'b'  )", {"a", "", "b"}},
      {"('it''s', \"q\")", {"it''s", "q"}},
      {"(a", {"a"}},
      {"(x) trailing", {"x"}},
      {"()", {}},
      {" ( ) ", {}},
      {"\"words\" = 'addr'", {"words", "addr"}},
      {"  bare words,here=there ", {"bare", "words", "here=there"}},
      {"'one' \"two\" three", {"one", "two", "three"}},
      {"\"unterminated", {"unterminated"}},
      {"= 'only'", {"only"}},
      {"   ", {}},
  };
  for (const auto& [rest, values] : cases) QCOMPARE(translator::SplitArguments(rest), values);
}

void TestTranslator::keywordSpelling_data() {
  QTest::addColumn<QString>("word");
  QTest::addColumn<QString>("spelling");
  QTest::newRow("usual") << "ShowImage"
                         << "ShowImage";
  QTest::newRow("lower case") << "showimage"
                              << "ShowImage";
  QTest::newRow("mixed case") << "sHoWiMaGe"
                              << "ShowImage";
  QTest::newRow("with #") << "#INCLUDE"
                          << "#Include";
  QTest::newRow("markup word") << "DocType"
                               << "doctype";
  QTest::newRow("one letter more") << "ShowImages"
                                   << "";
  QTest::newRow("one letter less") << "ShowImag"
                                   << "";
  QTest::newRow("same ends, other middle") << "ShowXmage"
                                           << "";
  QTest::newRow("longer than any keyword") << QString("ShowImage").repeated(20) << "";
  QTest::newRow("blank inside") << "Show Image"
                                << "";
  QTest::newRow("empty") << ""
                         << "";
  QTest::newRow("letters beyond ASCII") << QString::fromUtf8("Sh\xc3\xb6wImage") << "";
}

void TestTranslator::keywordSpelling() {
  QFETCH(QString, word);
  QFETCH(QString, spelling);
  QCOMPARE(QString::fromStdString(translator::KeywordSpelling(word.toStdString())), spelling);
  // As the first word of a line: a command, unless a markup word or not a keyword.
  translator::CommandLine c;
  bool command = !spelling.isEmpty() && !translator::IsMarkupWord(spelling.toStdString());
  QCOMPARE(translator::ParseCommandLine(word.toStdString() + " (x)", c), command);
  if (command) QCOMPARE(QString::fromStdString(std::string(c.name)), spelling);
}

void TestTranslator::everyKeywordInAnyLetterCase() {
  for (const std::string& k : translator::Keywords()) {
    QByteArray upper = QByteArray::fromStdString(k).toUpper(), lower = QByteArray::fromStdString(k).toLower();
    for (const QByteArray& word : {QByteArray::fromStdString(k), upper, lower}) {
      QCOMPARE(QString::fromStdString(translator::KeywordSpelling(word.toStdString())), QString::fromStdString(k));
      // A slip of one letter at the end is no keyword.
      QVERIFY2(translator::KeywordSpelling(word.toStdString() + "q").empty(), k.c_str());
    }
  }
}

void TestTranslator::splitsLinesKeepingEnds_data() {
  // Each line as its text, '|' and the end that followed it.
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<QByteArrayList>("lines");
  QTest::newRow("LF") << QByteArray("a\nbc\n") << QByteArrayList{"a|\n", "bc|\n"};
  QTest::newRow("CR LF") << QByteArray("a\r\nbc\r\n") << QByteArrayList{"a|\r\n", "bc|\r\n"};
  QTest::newRow("lone CR") << QByteArray("a\rbc\r") << QByteArrayList{"a|\r", "bc|\r"};
  QTest::newRow("mixed") << QByteArray("a\rb\nc\r\nd") << QByteArrayList{"a|\r", "b|\n", "c|\r\n", "d|"};
  QTest::newRow("LF then CR ends two lines") << QByteArray("a\n\rb") << QByteArrayList{"a|\n", "|\r", "b|"};
  QTest::newRow("empty lines") << QByteArray("\n\n\r\r\n") << QByteArrayList{"|\n", "|\n", "|\r", "|\r\n"};
  QTest::newRow("CRs, then one LF") << QByteArray("a\rb\rc\rd\ne")
                                    << QByteArrayList{"a|\r", "b|\r", "c|\r", "d|\n", "e|"};
  QTest::newRow("LFs, then one CR") << QByteArray("a\nb\nc\rd") << QByteArrayList{"a|\n", "b|\n", "c|\r", "d|"};
  QTest::newRow("CR at the very end") << QByteArray("a\r\nb\r") << QByteArrayList{"a|\r\n", "b|\r"};
  QTest::newRow("no line end") << QByteArray("abc") << QByteArrayList{"abc|"};
  QTest::newRow("NUL is text") << QByteArray("a\0b\n", 4) << QByteArrayList{QByteArray("a\0b|\n", 5)};
  QTest::newRow("empty") << QByteArray() << QByteArrayList{};
}

void TestTranslator::splitsLinesKeepingEnds() {
  QFETCH(QByteArray, bytes);
  QFETCH(QByteArrayList, lines);
  QByteArrayList got;
  for (const translator::SourceLine& l :
       translator::SplitKeepingEnds(std::string_view(bytes.constData(), bytes.size())))
    got << QByteArray(l.text.data(), l.text.size()) + "|" + QByteArray(l.end.data(), l.end.size());
  QCOMPARE(got, lines);
}

void TestTranslator::splitsLinesAtAnyOffset() {
  // Line ends are found many bytes at a time: texts of random lines, short and long,
  // split as a byte-by-byte reading splits them, wherever the ends fall.
  auto byteByByte = [](std::string_view text) {
    QByteArrayList lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
      if (text[i] != '\r' && text[i] != '\n') continue;
      size_t end = text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n' ? 2 : 1;
      lines << QByteArray(text.data() + start, i - start) + "|" + QByteArray(text.data() + i, end);
      start = i + end;
      i += end - 1;
    }
    if (start < text.size()) lines << QByteArray(text.data() + start, text.size() - start) + "|";
    return lines;
  };
  std::mt19937 random(7);
  const char* ends[] = {"\n", "\r", "\r\n", "\n\r"};
  for (int round = 0; round < 400; ++round) {
    std::string text;
    while (text.size() < size_t(round)) {
      text += std::string(random() % (round % 3 ? 20 : 200), 'a' + round % 26);
      text += ends[random() % 4];
    }
    if (round % 2) text.pop_back();
    QByteArrayList got;
    for (const translator::SourceLine& l : translator::SplitKeepingEnds(text))
      got << QByteArray(l.text.data(), l.text.size()) + "|" + QByteArray(l.end.data(), l.end.size());
    QCOMPARE(got, byteByByte(text));
  }
}

QTEST_GUILESS_MAIN(TestTranslator)
#include "test_translator.moc"
