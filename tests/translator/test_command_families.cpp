// The command families beyond their documented examples: settings that serve one
// command, blocks left open or ended twice, text and addresses that try to break out
// of the page's markup or style sheet, and file lists.
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "support/fixture.h"
#include "translator.h"

using translator::Options;
using translator::Result;

namespace {

// The body of a page made from `program` inside an HTML skeleton; warnings are joined
// into `warnings`, one per line, without the file name.
std::string Body(const std::string& program, std::string* warnings = nullptr, const Options& o = {}) {
  Result r =
      translator::Translate("<html>\n<head>\n</head>\n<body>\n" + program + "</body>\n</html>\n", "/site/index.web", o);
  if (!r.ok) return "ERROR " + r.error;
  if (warnings) {
    warnings->clear();
    for (const std::string& w : r.warnings) *warnings += w.substr(w.find(':') + 1) + "\n";
  }
  size_t start = r.page.find("<body>\n") + 7;
  return r.page.substr(start, r.page.rfind("</body>") - start);
}

std::string Head(const std::string& program, const Options& o = {}) {
  Result r =
      translator::Translate("<html>\n<head>\n</head>\n<body>\n" + program + "</body>\n</html>\n", "/site/index.web", o);
  return r.page.substr(0, r.page.find("<body>"));
}

}  // namespace

class TestCommandFamilies : public QObject {
  Q_OBJECT
 private slots:
  void commands_data();
  void commands();
  void styleSheetCannotBeBrokenOut_data();
  void styleSheetCannotBeBrokenOut();
  void motionRuleOnlyWhenSomethingMoves();
  void linkRulesInTheOrderThatKeepsHoverVisible();
  void viewFilesListsSiteFoldersOnly();
  void searchScriptIsCopiedIntoPage();
  void compTakesScriptsFromItsFolder();
};

void TestCommandFamilies::commands_data() {
  QTest::addColumn<QByteArray>("program");
  QTest::addColumn<QByteArray>("body");
  QTest::addColumn<QByteArray>("warnings");
  QTest::newRow("ButtonText serves one button")
      << QByteArray("ButtonText \"One\"\nOnButtonGoto (a.html)\nOnButtonGoto (b.html)\n")
      << QByteArray("<p><a class=\"vt-button\" href=\"a.html\">One</a></p>\n"
                    "<p><a class=\"vt-button\" href=\"b.html\">Go</a></p>\n")
      << QByteArray();
  QTest::newRow("LinkTip serves one link")
      << QByteArray("LinkTip \"tip\"\nOnLinkGoto (a.html)\nOnLinkGoto (b.html)\n")
      << QByteArray(
             "<p><span class=\"vt-tip\"><a href=\"a.html\" aria-describedby=\"vt-tip-1\">a.html</a><span "
             "class=\"vt-tiptext\" role=\"tooltip\" id=\"vt-tip-1\">tip</span></span></p>\n<p><a href=\"b.html\">b.html</a></p>\n")
      << QByteArray();
  QTest::newRow("text and addresses escaped")
      << QByteArray("ButtonText \"<b>&\"\nOnButtonGoto (a.html\" onclick=\"x)\nMenuName \"A&B\"\nStartMenu\n"
                    "ItemName \"<i>\" = 'my page.html'\nEndMenu\n")
      << QByteArray("<p><a class=\"vt-button\" href=\"a.html&quot;%20onclick=&quot;x\">&lt;b&gt;&amp;</a></p>\n"
                    "<nav class=\"vt-menu\" aria-label=\"A&amp;B\"><p class=\"vt-menu-name\">A&amp;B</p><ul>\n"
                    "<li><a href=\"my%20page.html\">&lt;i&gt;</a></li>\n</ul></nav>\n")
      << QByteArray();
  QTest::newRow("backslash paths become slashes")
      << QByteArray("ShowImage 'images\\a b.jpg'\nPlayVideo (video\\clip.mp4)\n")
      << QByteArray("<img src=\"images/a%20b.jpg\" alt=\"a b\">\n"
                    "<video class=\"vt-video\" src=\"video/clip.mp4\" controls>Your browser cannot play this video: "
                    "<a href=\"video/clip.mp4\">clip.mp4</a></video>\n")
      << QByteArray();
  QTest::newRow("end without start is ignored")
      << QByteArray("EndMenu\nEndView ()\nEndSelect\nEndDisplay ()\n") << QByteArray()
      << QByteArray(
             "5: warning: EndMenu without StartMenu; ignored\n6: warning: EndView without ViewGallery; ignored\n"
             "7: warning: EndSelect without SelectItem; ignored\n8: warning: EndDisplay without DisplayText; ignored\n");
  QTest::newRow("outer end closes inner blocks")
      << QByteArray("DisplayText ()\nViewGallery ()\nEndDisplay ()\n")
      << QByteArray("<div class=\"vt-display\">\n<div class=\"vt-gallery\">\n</div></div>\n")
      << QByteArray("6: warning: ViewGallery has no EndView; it is closed by the EndDisplay on line 7\n");
  QTest::newRow("open blocks closed at the end, innermost first")
      << QByteArray("StartMenu\nItemName \"a\"\nStartMenu \"sub\"\nSelectItem \"x\" = 'x.html'\n")
      << QByteArray(
             "<nav class=\"vt-menu\"><ul>\n<li>a</li>\n<li class=\"vt-submenu\"><button type=\"button\">sub</button><ul>\n"
             "<details class=\"vt-select\"><summary>Choose a page</summary><ul><li><a href=\"x.html\">x</a></li>\n"
             "</ul></details>\n</ul></li>\n</ul></nav>\n")
      << QByteArray("8: warning: SelectItem has no EndSelect; it is closed at the end of the page\n"
                    "7: warning: StartMenu has no EndMenu; it is closed at the end of the page\n"
                    "5: warning: StartMenu has no EndMenu; it is closed at the end of the page\n");
  QTest::newRow("ItemName outside a menu")
      << QByteArray("ItemName \"Home\" = 'index.html'\n") << QByteArray("<p><a href=\"index.html\">Home</a></p>\n")
      << QByteArray("5: warning: ItemName outside a menu: written as a link of its own\n");
  QTest::newRow("settings reach later commands, SetTextStyle () clears")
      << QByteArray(
             "SetTextStyle (color: red)\nHighlightColor (lime)\nTextHover \"a\"\nSetTextStyle ()\nWriteText \"b\"\n")
      << QByteArray("<p class=\"vt-hover\" style=\"color: red; --vt-highlight:lime\"><span>a</span></p>\n<p>b</p>\n")
      << QByteArray();
  QTest::newRow("image settings join")
      << QByteArray("ImageSize (100)\nMaxSize (, 50%)\nExpandImageSize (1.25)\nExpandImage 'a.png'\n")
      << QByteArray(
             "<img class=\"vt-grow\" src=\"a.png\" alt=\"a\" style=\"width:100px; max-height:50%; --vt-grow:1.25\">\n")
      << QByteArray();
  QTest::newRow("commands that need a value warn")
      << QByteArray("ShowImage\nPlayVideo ()\nLinkHoverImage ('a.png')\nOpenWindow\n") << QByteArray()
      << QByteArray("5: warning: ShowImage names no picture\n6: warning: PlayVideo names no video\n"
                    "7: warning: LinkHoverImage needs two pictures: LinkHoverImage ('picture', 'hover picture', "
                    "'address')\n8: warning: OpenWindow names no address\n");
  QTest::newRow("missing closing quote")
      << QByteArray("MessageButton \"Hello\n")
      << QByteArray(
             "<details class=\"vt-message\"><summary class=\"vt-button\">Show message</summary><p>Hello</p></details>\n")
      << QByteArray("5: warning: MessageButton: the closing bracket or quote is missing\n");
  QTest::newRow("e-mail address kept with its scheme")
      << QByteArray("EmailButton (MAILTO:ann@example.org)\n")
      << QByteArray("<p><a class=\"vt-button\" href=\"MAILTO:ann@example.org\">E-mail</a></p>\n") << QByteArray();
  QTest::newRow("refresh goes to the page of the top program")
      << QByteArray("RefreshLink\n") << QByteArray("<p><a href=\"index.html\">Refresh this page</a></p>\n")
      << QByteArray();
  QTest::newRow("alt text after the picture, in brackets, or the file name made readable")
      << QByteArray("ShowImage [2] = 'img\\rye_bread-2.jpg' \"A rye loaf\"\nFlyinImage ('b.png', \"A bird\")\n"
                    "ImageMag 'pics/map.v2.png'\nExpandImage \"x.png\" \"<&>\"\n")
      << QByteArray("<img src=\"img/rye_bread-2.jpg\" alt=\"A rye loaf\">\n"
                    "<img class=\"vt-flyin-image\" src=\"b.png\" alt=\"A bird\">\n"
                    "<span class=\"vt-mag\" style=\"--vt-grow:2\"><img src=\"pics/map.v2.png\" alt=\"map.v2\"></span>\n"
                    "<img class=\"vt-grow\" src=\"x.png\" alt=\"&lt;&amp;&gt;\" style=\"--vt-grow:1.5\">\n")
      << QByteArray();
  QTest::newRow("a largest width in pixels stays inside the screen")
      << QByteArray("MaxSize (900)\nShowImage 'a.jpg'\n")
      << QByteArray("<img src=\"a.jpg\" alt=\"a\" style=\"max-width:min(900px,100%)\">\n") << QByteArray();
  QTest::newRow("the menu entry of this page is marked, wherever its address leads in it")
      << QByteArray("StartMenu\nItemName \"a\" = './Index.html#top'\nItemName \"b\" = 'sub/index.html'\nEndMenu\n")
      << QByteArray("<nav class=\"vt-menu\"><ul>\n<li><a href=\"./Index.html#top\" aria-current=\"page\">a</a></li>\n"
                    "<li><a href=\"sub/index.html\">b</a></li>\n</ul></nav>\n")
      << QByteArray();
  QTest::newRow("picture swap without an address is no link to the page's top")
      << QByteArray("LinkHoverImage ('a_1.png', 'b.png')\n")
      << QByteArray("<span class=\"vt-swap\"><img src=\"a_1.png\" alt=\"a 1\"><img class=\"vt-swap-over\" "
                    "src=\"b.png\" alt=\"\"></span>\n")
      << QByteArray("5: warning: LinkHoverImage names no address; the link leads nowhere\n");
  QTest::newRow("CR LF lines")
      << QByteArray("StartMenu\r\nItemName \"a\" = 'a.html'\r\nEndMenu\r\n")
      << QByteArray("<nav class=\"vt-menu\"><ul>\r\n<li><a href=\"a.html\">a</a></li>\r\n</ul></nav>\r\n")
      << QByteArray();
}

void TestCommandFamilies::commands() {
  QFETCH(QByteArray, program);
  QFETCH(QByteArray, body);
  QFETCH(QByteArray, warnings);
  std::string got;
  QCOMPARE(QByteArray::fromStdString(Body(program.toStdString(), &got)), body);
  QCOMPARE(QByteArray::fromStdString(got), warnings);
}

void TestCommandFamilies::styleSheetCannotBeBrokenOut_data() {
  QTest::addColumn<QByteArray>("program");
  QTest::addColumn<QByteArray>("rule");
  QTest::newRow("LinkStyle") << QByteArray("LinkStyle (color:red}</style><script>alert(1)</script>)\n")
                             << QByteArray("a{color:red/stylescriptalert(1)/script}");
  QTest::newRow("ListImage") << QByteArray("ListImage 'a\"); } </style>.png'\n")
                             << QByteArray("ul{list-style-image:url(\"a\\\"); } /style.png\")}");
  QTest::newRow("ScrollBackground") << QByteArray("ScrollBackground 'img\\sky.jpg'\n")
                                    << QByteArray("body{background-image:url(\"img/sky.jpg\");");
  QTest::newRow("UnderlineLink") << QByteArray("UnderlineLink (No)\n") << QByteArray("a{text-decoration:none}");
}

void TestCommandFamilies::styleSheetCannotBeBrokenOut() {
  QFETCH(QByteArray, program);
  QFETCH(QByteArray, rule);
  std::string head = Head(program.toStdString());
  QVERIFY2(head.find(rule.toStdString()) != std::string::npos, head.c_str());
  QCOMPARE(head.find("</style>"), head.rfind("</style>"));
  QVERIFY(head.find("<script") == std::string::npos);
}

// Whatever order the program gives them in, a later state wins; menus take them too.
void TestCommandFamilies::linkRulesInTheOrderThatKeepsHoverVisible() {
  std::string head =
      Head("LinkHoverStyle (color:red)\nStartMenu\nItemName \"a\" = 'a.html'\nEndMenu\nVisitedLinkStyle (color:blue)\n"
           "UnderlineLink (no)\nLinkStyle (color:green)\n");
  size_t link = head.find("\na{color:green}"), visited = head.find("\na:visited{color:blue}"),
         hover = head.find("\na:hover,a:focus{color:red}"), menu = head.find("\n.vt-menu a,");
  QVERIFY2(head.find("\na{text-decoration:none}") < visited, head.c_str());
  QVERIFY2(menu < link && link < visited && visited < hover && hover != std::string::npos, head.c_str());
  QVERIFY2(head.find("color", menu) > head.find('}', menu), head.c_str());  // the menu's links keep them
}

void TestCommandFamilies::motionRuleOnlyWhenSomethingMoves() {
  const std::string still = "prefers-reduced-motion";
  for (const char* program :
       {"ShadowText \"a\"\n", "MirrorText \"a\"\n", "LinkStyle (color: red)\n", "StartMenu\nEndMenu\n"})
    QVERIFY2(Head(program).find(still) == std::string::npos, program);
  for (const char* program : {"BouncingText \"a\"\n", "LeftRightCurtain \"a\"\n", "ExpandImage 'a.png'\n",
                              "ScrollBackground 'a.png'\n", "TextHover \"a\"\n"})
    QVERIFY2(Head(program).find(still) != std::string::npos, program);
}

void TestCommandFamilies::viewFilesListsSiteFoldersOnly() {
  Options o;
  o.list = [](const std::string& folder, std::vector<std::string>& names) {
    if (folder != "/site/docs") return false;
    names = {"b.TXT", "a.pdf", "c.doc", "A <x>.txt"};
    return true;
  };
  std::string warnings;
  QCOMPARE(QByteArray::fromStdString(Body("FileType (*.txt .pdf)\nViewFiles (docs\\)\n", &warnings, o)),
           QByteArray("<ul class=\"vt-files\">\n<li><a href=\"docs/A%20&lt;x&gt;.txt\">A &lt;x&gt;.txt</a></li>\n"
                      "<li><a href=\"docs/a.pdf\">a.pdf</a></li>\n"
                      "<li><a href=\"docs/b.TXT\">b.TXT</a></li>\n</ul>\n"));
  QCOMPARE(QByteArray::fromStdString(warnings), QByteArray());
  for (const char* folder : {"/etc", "../other", "docs/../../x", ".."}) {
    QCOMPARE(QByteArray::fromStdString(Body(std::string("ViewFiles (") + folder + ")\n", &warnings, o)), QByteArray());
    QVERIFY2(warnings.find("lists folders of the site only") != std::string::npos, folder);
  }
  Body("ViewFiles (nothing)\n", &warnings, o);
  QCOMPARE(QByteArray::fromStdString(warnings), QByteArray("5: warning: ViewFiles cannot read \"nothing\"\n"));
}

void TestCommandFamilies::searchScriptIsCopiedIntoPage() {
  Options o;
  o.scriptFolder = "/prog/JavaScript";
  o.read = [](const std::string& path, std::string& bytes) {
    if (path != "/prog/JavaScript/Search.js") return false;
    bytes = "find();\r\n";
    return true;
  };
  std::string warnings;
  std::string body = Body("SearchButton ()\nSearchButton ()\n", &warnings, o);
  QVERIFY(body.size() > 20);
  QCOMPARE(QByteArray::fromStdString(body.substr(body.find("<script>"))), QByteArray("<script>\nfind();\n</script>\n"));
  o.read = [](const std::string&, std::string&) { return false; };
  Body("SearchButton ()\n", &warnings, o);
  QVERIFY2(warnings.find("/prog/JavaScript/Search.js cannot be read") != std::string::npos, warnings.c_str());
}

void TestCommandFamilies::compTakesScriptsFromItsFolder() {
  QTemporaryDir dir;
  const std::string root = dir.path().toStdString();
  QDir().mkpath(dir.path() + "/JavaScript");
  QDir().mkpath(dir.path() + "/site");
  WriteAll(root + "/JavaScript/Search.js", "var searchFromProgramFolder = 1;\n");
  WriteAll(root + "/site/a.web", "SearchButton ()\n");
  WriteAll(root + "/Cname.ini", "Name " + root + "/site/a.web\r\n");
  QProcess p;
  p.setWorkingDirectory(dir.path());
  p.start(QString::fromStdString(BuiltProgram("Comp")), {});
  p.waitForFinished(-1);
  QCOMPARE(p.exitCode(), 0);
  QCOMPARE(p.readAllStandardError(), QByteArray());
  QVERIFY(ReadAll(root + "/Final.ini").find("<script>\nvar searchFromProgramFolder = 1;\n</script>\n</body>") !=
          std::string::npos);
}

QTEST_GUILESS_MAIN(TestCommandFamilies)
#include "test_command_families.moc"
