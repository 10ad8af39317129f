#include "platform/processes.h"

#include <unistd.h>

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

namespace quire::platform {

namespace fs = std::filesystem;

namespace {

QStringList ToQt(const std::vector<std::string>& words) {
  QStringList list;
  for (const std::string& w : words) list << QString::fromStdString(w);
  return list;
}

bool IsProgram(const std::string& target) {
  std::error_code ec;
  return fs::is_regular_file(target, ec) && ::access(target.c_str(), X_OK) == 0;
}

}  // namespace

std::vector<std::string> SplitParameters(const std::string& text) {
  std::vector<std::string> words;
  std::string word;
  bool quoted = false, any = false;
  for (const char c : text) {
    if (c == '"') {
      quoted = !quoted;
      any = true;
    } else if (c == ' ' && !quoted) {
      if (any) words.push_back(word);
      word.clear();
      any = false;
    } else {
      word += c;
      any = true;
    }
  }
  if (any) words.push_back(word);
  return words;
}

bool ShellOpen(const std::string& target, const std::string& parameters,
               const fs::path& workingFolder) {
  if (IsProgram(target)) {
    return QProcess::startDetached(QString::fromStdString(target),
                                   ToQt(SplitParameters(parameters)),
                                   QString::fromStdString(workingFolder.string()));
  }
  const QUrl url = target.find("://") != std::string::npos || target.rfind("mailto:", 0) == 0
                       ? QUrl(QString::fromStdString(target))
                       : QUrl::fromLocalFile(QString::fromStdString(target));
  return QDesktopServices::openUrl(url);
}

bool RunAndWait(const fs::path& program, const std::vector<std::string>& arguments,
                const fs::path& workingFolder) {
  QProcess process;
  process.setWorkingDirectory(QString::fromStdString(workingFolder.string()));
  process.start(QString::fromStdString(program.string()), ToQt(arguments));
  if (!process.waitForStarted()) return false;
  process.waitForFinished(-1);
  return true;
}

}  // namespace quire::platform
