// History, the link groups that keep the skin's section switches in step with it, and the
// chapters.
#include <QApplication>

#include "core/guard.h"
#include "html/html_frame.h"
#include "platform/paths.h"
#include "platform/text.h"

namespace quire::html {

namespace {

using platform::Contains;

constexpr int kHistorySlots = 8;
constexpr size_t kCaptionLength = 80;

std::string HistoryCaption(const std::string& title) {
  const std::string caption = title.empty() ? platform::Ansi("Без названия") : title;
  return caption.substr(0, kCaptionLength);
}

}  // namespace

std::vector<HistoryItem> HistoryPopupItems(int type, const std::vector<std::string>& titles,
                                           int index) {
  std::vector<HistoryItem> items;
  const int count = static_cast<int>(titles.size());
  for (int k = 0; k < count; ++k) {
    const bool behind = index < k && k <= index + kHistorySlots;
    const bool ahead = index - kHistorySlots <= k && k < index;
    if (type == -1 ? !behind : !ahead) continue;
    const int nth = static_cast<int>(items.size());
    // Pages ahead fill the list from its last slot up, the newest page at the bottom.
    items.push_back({type == -1 ? nth : kHistorySlots - 1 - nth, HistoryCaption(titles[k]),
                     "history=" + std::to_string(k)});
  }
  return items;
}

void THtmlFrame::NoteRequest(const std::string& file) {
  if (static_cast<size_t>(currentViewer_) >= linkGroups_.size()) return;
  std::vector<std::string>& groups = linkGroups_[currentViewer_];
  for (size_t i = 0; i < groups.size(); ++i) {
    if (Contains(groups[i], file)) {
      currentLinkGroup_ = static_cast<int>(i);
      return;
    }
  }
  groups.push_back(file);
  currentLinkGroup_ = static_cast<int>(groups.size()) - 1;
}

void THtmlFrame::HistoryChanged(TFrameViewer& viewer) {
  const std::string document = viewer.CurrentFile();
  if (static_cast<size_t>(currentViewer_) < linkGroups_.size()) {
    std::vector<std::string>& groups = linkGroups_[currentViewer_];
    bool found = false;
    for (size_t i = 0; i < groups.size() && !found; ++i) {
      if (Contains(groups[i], document)) {
        currentLinkGroup_ = static_cast<int>(i);
        found = true;
      }
    }
    // The group index is shared by all viewers, so it may lie beyond this viewer's list.
    if (!found && static_cast<size_t>(currentLinkGroup_) < groups.size())
      groups[currentLinkGroup_] += "; " + platform::AnsiLowerCase(document);
  }
  if (g_.ArchiveBrowser) g_.ArchiveBrowser->NoteDocumentShown(document);
  if (g_.FontInstaller) g_.FontInstaller->NoteDocumentShown(document);
  if (g_.TextMessages) {
    core::Guarded([&] {
      TDocumentView* view = viewer.ActiveView();
      if (view && !view->TitleHistory().empty())
        g_.TextMessages->SetText(1, view->TitleHistory().front() + "  ", true);
    });
  }
  if (g_.Shell) g_.Shell->RefreshHistoryUi();
  RefillHistoryPopups();
  UpdateChapterHints();
}

void THtmlFrame::RefillHistoryPopups() {
  TFrameViewer* viewer = CurrentViewer();
  if (!g_.PopupControl || !viewer) return;
  const std::vector<std::string> titles = viewer->TitleHistory();
  for (int type : {-1, -2}) {
    std::vector<bool> filled(kHistorySlots, false);
    for (const HistoryItem& item : HistoryPopupItems(type, titles, viewer->HistoryIndex())) {
      g_.PopupControl->SetItem(type, item.Slot, item.Caption, item.Command, true);
      filled[item.Slot] = true;
    }
    for (int slot = 0; slot < kHistorySlots; ++slot) {
      if (!filled[slot]) g_.PopupControl->SetItem(type, slot, "", "", false);
    }
  }
}

void THtmlFrame::GoInHistory(bool back) {
  TFrameViewer* viewer = Current();
  if (!viewer) return;
  if (!(back ? viewer->BackButtonEnabled() : viewer->FwdButtonEnabled())) {
    QApplication::beep();
    return;
  }
  const std::string before = viewer->CurrentFile();
  back ? viewer->GoBack() : viewer->GoFwd();
  // The history handler has run: the current link group is the new page's.
  if (viewer->CurrentFile() != before && !linkGroups_[currentViewer_].empty()) ResyncSwitches();
}

void THtmlFrame::ResyncSwitches() {
  const std::vector<std::string>& groups = linkGroups_[currentViewer_];
  if (static_cast<size_t>(currentLinkGroup_) >= groups.size() || !g_.Shell) return;
  const std::string& group = groups[currentLinkGroup_];
  const std::string first = platform::Trim(group.substr(0, group.find(';')));
  // An empty name is in every command: pressing every switch would be no re-sync at all.
  if (first.empty()) return;
  if (g_.CurrentScreen < 0 ||
      static_cast<size_t>(g_.CurrentScreen) >= g_.Description.Screens.size())
    return;
  // Copies: a silent press changes the states these lists hold.
  const core::TScreenDecl& screen = g_.Description.Screens[g_.CurrentScreen];
  const core::TDynamicSwthOneArray ones = screen.SwitchOne;
  const core::TDynamicSwthGrpArray members = screen.SwitchGrp;
  for (const core::RSwthOne& one : ones) {
    const std::string& next = one.State ? one.UpCommand : one.DownCommand;
    if (Contains(next, first)) g_.Shell->PressSilently(one.Left + 1, one.Top + 1);
  }
  for (const core::RSwthGrp& member : members) {
    if (Contains(member.Command, first)) g_.Shell->PressSilently(member.Left + 1, member.Top + 1);
  }
}

void THtmlFrame::GoToHistory(int index) {
  if (TFrameViewer* viewer = Current()) viewer->SetHistoryIndex(index);
}

int THtmlFrame::CurrentChapter() const {
  TFrameViewer* viewer = Current();
  if (!viewer) return -1;
  const std::string name =
      platform::ExtractFileName(engine::html::WithoutAnchor(viewer->CurrentFile()));
  for (size_t i = 0; i < chapters_.size(); ++i) {
    if (platform::SameText(name, platform::ExtractFileName(chapters_[i].File)))
      return static_cast<int>(i);
  }
  return -1;
}

void THtmlFrame::NextChapter() {
  const int chapter = CurrentChapter();
  if (chapter == static_cast<int>(chapters_.size()) - 1) return;
  OpenDocument(g_.ExeDir + chapters_[chapter + 1].File);
}

void THtmlFrame::PrevChapter() {
  // A page outside the chapter list has no previous chapter, as the first chapter has none.
  const int chapter = CurrentChapter();
  if (chapter < 1) return;
  OpenDocument(g_.ExeDir + chapters_[chapter - 1].File);
}

void THtmlFrame::UpdateChapterHints() {
  if (!g_.Shell || g_.CurrentScreen < 0 ||
      static_cast<size_t>(g_.CurrentScreen) >= g_.Description.Screens.size())
    return;
  const int chapter = CurrentChapter();
  const int last = static_cast<int>(chapters_.size()) - 1;
  const core::TDynamicBtnArray& buttons = g_.Description.Screens[g_.CurrentScreen].Buttons;
  for (size_t i = 0; i < buttons.size(); ++i) {
    const std::string command = platform::AsciiLower(buttons[i].Command);
    if (command == "nextchapter") {
      if (chapter == last)
        g_.Shell->SetButtonHint(i, platform::Ansi("Последний раздел"));
      else if (chapter != -1)
        g_.Shell->SetButtonHint(i, chapters_[chapter + 1].Title);
    } else if (command == "prevchapter") {
      if (chapter == 0)
        g_.Shell->SetButtonHint(i, platform::Ansi("Первый раздел"));
      else if (chapter != -1)
        g_.Shell->SetButtonHint(i, chapters_[chapter - 1].Title);
    }
  }
}

}  // namespace quire::html
