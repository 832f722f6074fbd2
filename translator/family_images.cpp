// Images, galleries and file lists.
#include <algorithm>
#include <filesystem>

#include "commands.h"
#include "core/own_files.h"
#include "core/text.h"

namespace translator {
namespace {

// The declarations for the pictures that follow: SetImageStyle, ImageSize and MaxSize.
std::string ImageStyle(const Page& p) {
  std::string style = p.Get("SetImageStyle");
  std::vector<std::string> size = SplitArguments(p.Get("ImageSize"));
  if (!size.empty() && !size[0].empty()) style = JoinStyles(style, "width:" + CssLength(size[0]));
  if (size.size() > 1 && !size[1].empty()) style = JoinStyles(style, "height:" + CssLength(size[1]));
  std::vector<std::string> max = SplitArguments(p.Get("MaxSize"));
  if (!max.empty() && !max[0].empty()) {
    // A largest width in pixels must not let the picture widen a narrower screen.
    std::string width = CssLength(max[0]);
    if (!width.ends_with('%')) width = "min(" + width + ",100%)";
    style = JoinStyles(style, "max-width:" + width);
  }
  if (max.size() > 1 && !max[1].empty()) style = JoinStyles(style, "max-height:" + CssLength(max[1]));
  return style;
}

// ` style="..."` for the pictures that follow. Without ImageSize and MaxSize it is the
// picture style's, which the page keeps made; else it is made in `made`.
std::string_view ImageStyleAttribute(Page& p, std::string& made) {
  if (p.Get("ImageSize").empty() && p.Get("MaxSize").empty()) return p.StyleAttributeOf("SetImageStyle");
  return made = StyleAttribute(ImageStyle(p));
}

// A picture a command names and its alternative text (the file's name made readable when
// none is given): `'path'`, `'path' "alt text"` or `('path', "alt text")`.
struct Picture {
  std::string_view path;
  std::string alt;
};

// The <img> element for the picture, with a class when `cls` is not empty; `styleAttribute`
// is ` style="..."` or "". `before` and `after` go around it on its line.
void EmitImage(Page& p, const Picture& picture, std::string_view cls, std::string_view styleAttribute,
               std::string_view before = {}, std::string_view after = {}) {
  p.AddCss(kMediaCss);
  p.Emit(before, "<img", cls.empty() ? "" : " class=\"", EscapedAttribute{cls}, cls.empty() ? "" : "\"", " src=\"",
         Url{picture.path}, "\" alt=\"", EscapedAttribute{picture.alt}, "\"", styleAttribute, ">", after);
}

// The picture a command names; warns and leaves the path "" when it names none. A picture
// `shown` on the page (not a background) takes an alternative text.
Picture PictureOf(Page& p, const Call& c, std::string_view rest, bool shown = true) {
  Argument a = ParseArgument(rest);
  if (!a.closed) p.Warn(c, std::string(c.name) + ": the closing bracket or quote is missing");
  Picture picture{core::TrimBlankView(a.value), {}};
  std::string_view r = core::TrimBlankView(rest);
  if (a.closed && !r.empty() && (r[0] == '(' || r[0] == '"' || r[0] == '\'')) {
    int n = 0;
    ForEachArgument(r, [&](std::string_view value) {
      if (n == 0) picture.path = core::TrimBlankView(value);
      else if (n == 1) picture.alt = core::TrimBlank(value);
      ++n;
    });
  }
  if (picture.path.empty()) p.Warn(c, std::string(c.name) + " names no picture");
  else p.Refer(c, picture.path, Reference::Kind::Picture);
  if (!picture.alt.empty() || !shown) return picture;
  picture.alt = ReadableName(picture.path);
  if (p.options().warnPictureWithoutAlt && !picture.path.empty())
    p.Warn(c, std::string(c.name) + ": picture without alt text; \"" + picture.alt + "\" is said instead");
  return picture;
}

// `ShowImage [n] = 'path'`: the number is the author's own order and is not used.
void ShowImage(Page& p, const Call& c) {
  std::string_view rest = core::TrimBlankView(c.rest);
  if (!rest.empty() && rest[0] == '[') {
    size_t close = rest.find(']');
    rest = close == std::string_view::npos ? std::string_view() : core::TrimBlankView(rest.substr(close + 1));
  }
  if (!rest.empty() && rest[0] == '=') rest = core::TrimBlankView(rest.substr(1));
  Picture picture = PictureOf(p, c, rest);
  std::string made;
  if (!picture.path.empty()) EmitImage(p, picture, "", ImageStyleAttribute(p, made));
}

void ViewGallery(Page& p, const Call& c) {
  p.AddCss(".vt-gallery{display:flex;flex-wrap:wrap;gap:8px;align-items:flex-start}");
  p.Open(c, "EndView", "</div>");
  p.Emit("<div class=\"vt-gallery\">");
}

void EndView(Page& p, const Call& c) { EndBlock(p, c, "ViewGallery"); }

std::string Growth(const Page& p, const char* fallback) {
  std::string g = CssText(p.Get("ExpandImageSize"));
  if (!g.empty() && g.back() == '%') {
    try {
      g = std::to_string(std::stod(g.substr(0, g.size() - 1)) / 100.0);
      g.erase(g.find_last_not_of('0') + 1);
      if (g.back() == '.') g.pop_back();
    } catch (...) {
      g.clear();
    }
  }
  return g.empty() ? fallback : g;
}

void ExpandImage(Page& p, const Call& c) {
  Picture picture = PictureOf(p, c, c.rest);
  if (picture.path.empty()) return;
  p.AddCss(".vt-grow{transition:transform .3s}\n.vt-grow:hover{transform:scale(var(--vt-grow,1.5))}");
  p.UseMotion();
  EmitImage(p, picture, "vt-grow", StyleAttribute(JoinStyles(ImageStyle(p), "--vt-grow:" + Growth(p, "1.5"))));
}

void FlyinImage(Page& p, const Call& c) {
  Picture picture = PictureOf(p, c, c.rest);
  if (picture.path.empty()) return;
  p.AddCss(".vt-flyin-image{animation:vt-flyin-image 1.5s ease-out both}\n"
           "@keyframes vt-flyin-image{from{transform:translateX(-100vw);opacity:0}to{transform:none;opacity:1}}");
  p.UseMotion();
  std::string made;
  EmitImage(p, picture, "vt-flyin-image", ImageStyleAttribute(p, made));
}

// A magnifier: the picture keeps its place and zooms in within its frame.
void ImageMag(Page& p, const Call& c) {
  Picture picture = PictureOf(p, c, c.rest);
  if (picture.path.empty()) return;
  p.AddCss(
      ".vt-mag{display:inline-block;overflow:hidden;max-width:100%}\n.vt-mag img{display:block;transition:transform .3s}\n"
      ".vt-mag:hover img{transform:scale(var(--vt-grow,2))}");
  p.UseMotion();
  std::string made;
  EmitImage(p, picture, "", ImageStyleAttribute(p, made),
            "<span class=\"vt-mag\" style=\"--vt-grow:" + EscapeAttribute(Growth(p, "2")) + "\">", "</span>");
}

void ScrollBackground(Page& p, const Call& c) {
  std::string_view path = PictureOf(p, c, c.rest, false).path;
  if (path.empty()) return;
  p.AddCss("body{background-image:" + CssUrl(path) +
           ";background-repeat:repeat;animation:vt-drift 60s linear infinite alternate}\n"
           "@keyframes vt-drift{from{background-position:0 0}to{background-position:300px 600px}}");
  p.UseMotion();
}

void ListImage(Page& p, const Call& c) {
  std::string_view path = PictureOf(p, c, c.rest, false).path;
  if (!path.empty()) p.AddCss("ul{list-style-image:" + CssUrl(path) + "}");
}

bool ListFromDisk(const std::string& folder, std::vector<std::string>& names) {
  std::error_code ec;
  std::filesystem::directory_iterator it(folder, ec), end;
  if (ec) return false;
  for (; it != end; it.increment(ec)) {
    if (ec) return false;
    if (it->is_regular_file(ec)) names.push_back(it->path().filename().string());
  }
  return true;
}

// The program's folder with links resolved ("" when it cannot be told).
std::string SiteFolder(const Page& p) {
  std::string folder = core::FolderOf(p.programPath());
  std::error_code ec;
  std::filesystem::path site = std::filesystem::absolute(folder.empty() ? "." : folder, ec);
  if (!ec) site = std::filesystem::weakly_canonical(site, ec);
  return ec ? std::string() : site.string();
}

// An entry lies in the site when its real path does: a link in the site may lead anywhere.
// The editor's own files are never listed, wherever they stand.
bool Listable(const Page& p, const std::string& site, const std::string& file) {
  if (core::IsEditorsOwnFile(file, p.options().configFolder)) return false;
  if (p.options().list && !p.options().readsDisk) return true;  // a listing that is not of the disk
  std::error_code ec;
  std::string real = std::filesystem::weakly_canonical(file, ec).string();
  return !ec && !site.empty() && core::StartsWith(real, site.back() == '/' ? site : site + "/");
}

bool Wanted(const std::string& name, const std::vector<std::string>& types) {
  if (types.empty()) return true;
  std::string ext = core::ToLower(core::ExtensionOf(name));
  return std::any_of(types.begin(), types.end(), [&](const std::string& t) {
    std::string want = core::ToLower(t);
    want.erase(0, want.find_first_not_of("*."));
    return !want.empty() && want == ext;
  });
}

// Links to the files of a folder of the site, listed when the page is made.
void ViewFiles(Page& p, const Call& c) {
  std::string folder = core::ReplaceAll(core::TrimBlank(SingleArgument(p, c).value), "\\", "/");
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  if (folder.empty()) folder = ".";
  if (core::IsAbsolutePath(folder) || folder == ".." || core::StartsWith(folder, "../") ||
      folder.find("/../") != std::string::npos || core::EndsWith(folder, "/..")) {
    p.Warn(c, "ViewFiles lists folders of the site only, not \"" + folder + "\"");
    return;
  }
  std::vector<std::string> names;
  std::string full = core::JoinPath(core::FolderOf(p.programPath()), folder);
  bool read = p.options().list ? p.options().list(full, names) : ListFromDisk(full, names);
  std::vector<std::string> types;
  for (const std::string& value : SplitArguments(p.Get("FileType")))
    for (const std::string& t : SplitArguments(value)) types.push_back(t);
  const std::string site = SiteFolder(p);
  std::erase_if(names,
                [&](const std::string& n) { return !Wanted(n, types) || !Listable(p, site, core::JoinPath(full, n)); });
  if (!read || names.empty()) {
    p.Warn(c, read ? "ViewFiles: no files to list in \"" + folder + "\"" : "ViewFiles cannot read \"" + folder + "\"");
    return;
  }
  std::sort(names.begin(), names.end(),
            [](const std::string& a, const std::string& b) { return core::ToLower(a) < core::ToLower(b); });
  bool extensions = p.Get("ShowFileExtension").empty() || IsYes(p.Get("ShowFileExtension"));
  std::string prefix = folder == "." ? "" : folder + "/";
  std::string html = "<ul class=\"vt-files\"" + p.StyleAttributeOf("SetTextStyle") + ">";
  for (const std::string& n : names)
    html += p.eol() + "<li><a href=\"" + UrlAttribute(prefix + n) + "\">" +
            EscapeText(extensions ? n : core::StemOf(n)) + "</a></li>";
  p.Emit(html + p.eol() + "</ul>");
}

constexpr CommandRow kRows[] = {
    {"SetImageStyle", KeepSetting},
    {"ImageSize", KeepArguments},
    {"MaxSize", KeepArguments},
    {"ShowImage", ShowImage},
    {"ViewGallery", ViewGallery},
    {"EndView", EndView},
    {"ExpandImage", ExpandImage},
    {"ExpandImageSize", KeepSetting},
    {"FlyinImage", FlyinImage},
    {"ImageMag", ImageMag},
    {"ScrollBackground", ScrollBackground},
    {"ListImage", ListImage},
    {"ViewFiles", ViewFiles},
    {"FileType", KeepArguments},
    {"ShowFileExtension", KeepSetting},
};

}  // namespace

std::span<const CommandRow> ImageCommands() { return kRows; }

}  // namespace translator
