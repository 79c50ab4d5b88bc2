#include "shell/notice.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <string>

#include "graphics/picture_catalogue.h"

namespace vorlan {

namespace {

constexpr uint32_t kNoticeMs = 6000;
constexpr size_t kNoticeLines = 4;
constexpr int kLineHeight = 12;

}  // namespace

void Notify(Game& g, std::string_view headline, std::string_view detail, std::string_view errorLine) {
  FormState& f = g.form;
  if (!errorLine.empty()) {
    std::fprintf(stderr, "vorlan: %.*s\n", static_cast<int>(errorLine.size()), errorLine.data());
    std::fflush(stderr);
  }
  f.NoticeLines.push_back({std::string(headline), true});
  if (!detail.empty()) f.NoticeLines.push_back({std::string(detail), false});
  // Only the newest lines fit over the field.
  if (f.NoticeLines.size() > kNoticeLines)
    f.NoticeLines.erase(f.NoticeLines.begin(), f.NoticeLines.end() - kNoticeLines);
  f.NoticeUntil = 0;  // the time runs from the first pass that shows it
}

void DrawNotice(Game& g) {
  FormState& f = g.form;
  if (f.NoticeLines.empty()) return;
  const uint32_t now = g.plat.GetTickCount();
  if (f.NoticeUntil == 0) {
    f.NoticeUntil = now + kNoticeMs;
    if (f.NoticeUntil == 0) f.NoticeUntil = 1;
  } else if (static_cast<int32_t>(now - f.NoticeUntil) >= 0) {
    f.NoticeLines.clear();
    f.NoticeUntil = 0;
    return;
  }
  // A dark band at the bottom of the field, the headline in yellow, details in white.
  const int h = static_cast<int>(f.NoticeLines.size()) * kLineHeight + 4;
  Surface band(300, h, 0x000040);
  BitBlt(f.Field, 0, 300 - h, 300, h, band, 0, 0, Rop::SrcCopy);
  Surface& s = f.Field;
  const Color color = s.foreColor;
  const int size = s.fontSize;
  const bool bold = s.fontBold, transparent = s.transparentText;
  s.fontSize = 8;
  s.transparentText = true;
  int y = 300 - h + 2;
  for (const NoticeLine& line : f.NoticeLines) {
    s.foreColor = line.headline ? 0x00FFFF : 0xFFFFFF;
    s.fontBold = line.headline;
    DrawText(g, s, 4, y, line.text);
    y += kLineHeight;
  }
  s.foreColor = color;
  s.fontSize = size;
  s.fontBold = bold;
  s.transparentText = transparent;
}

std::string_view SaveFailureReason(std::error_code why) {
  switch (why.value()) {
    case ENOSPC:
#ifdef EDQUOT  // not on Windows
    case EDQUOT:
#endif
      return "DISK FULL";
    case EROFS:
      return "READ-ONLY DISK";
    case EACCES:
    case EPERM:
      return "NO PERMISSION";
    case ENOENT:
    case ENOTDIR:
      return "NO FOLDER";
    case EIO:
      return "DISK ERROR";
    default:
      return "WRITE ERROR";
  }
}

void SaveFailed(Game& g, std::string_view what, const std::filesystem::path& file, std::error_code why) {
  auto& failing = g.form.SavesFailing;
  if (std::find(failing.begin(), failing.end(), what) != failing.end()) return;
  failing.emplace_back(what);
  std::string headline = std::string(what) + " NOT SAVED: " + std::string(SaveFailureReason(why));
  std::string folder = file.empty() ? std::string("(no folder)") : file.parent_path().string();
  // The folder as far as it fits the field's width: its end says most.
  if (folder.size() > 48) folder = "..." + folder.substr(folder.size() - 45);
  Notify(g, headline, "in " + folder,
         "cannot save " + (file.empty() ? std::string("(no file)") : file.string()) + ": " + why.message());
}

void SaveWorked(Game& g, std::string_view what) {
  auto& failing = g.form.SavesFailing;
  failing.erase(std::remove(failing.begin(), failing.end(), what), failing.end());
}

}  // namespace vorlan
