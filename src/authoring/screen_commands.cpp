#include <QPainter>

#include "authoring/book_files.h"
#include "authoring/commands.h"
#include "shell/screen_pictures.h"

namespace quire::authoring {

namespace {

// The painted look of the switches over the baked screen: on switches show picture 4 (3 when
// the pointer is over them), off ones picture 1 (2).
template <class Switch>
void PaintSwitches(const std::vector<Switch>& switches, const std::vector<shell::RSwthPic>& pics,
                   bool hover, QPainter& painter) {
  for (size_t i = 0; i < switches.size(); ++i) {
    const int picture = switches[i].State ? (hover ? 2 : 3) : (hover ? 1 : 0);
    shell::CopyAt(switches[i], pics[i].Pictures[picture], painter);
  }
}

}  // namespace

int ScreenRender(Args& args) {
  const bool hover = args.Flag("--hover");
  const auto words = args.Positional(3);
  BookFiles book(words[0]);
  core::TDescription description = book.ReadStruct();
  int index = -1;
  try {
    index = std::stoi(words[1]);
  } catch (const std::exception&) {
  }
  if (index < 0 || static_cast<size_t>(index) >= description.Screens.size()) {
    throw InputError{words[0] + ": there is no screen " + words[1] + " (0-based, " +
                     std::to_string(description.Screens.size()) + " declared)"};
  }
  core::TScreenDecl& screen = description.Screens[index];
  shell::PictureReader reader(book.Pack());
  QImage bitmap;
  reader.Read(screen.Background, bitmap);
  shell::ScreenPictures pictures;
  shell::LoadScreenPictures(reader, screen, pictures);
  if (bitmap.isNull()) {
    bitmap = QImage(800, 600, QImage::Format_RGB32);
    bitmap.fill(Qt::white);
  }
  shell::BakeControls(screen, pictures, bitmap);
  {
    QPainter painter(&bitmap);
    if (hover) {
      for (size_t i = 0; i < screen.Buttons.size(); ++i) {
        shell::CopyAt(screen.Buttons[i], pictures.Buttons[i].Hover, painter);
      }
    }
    PaintSwitches(screen.SwitchOne, pictures.SwitchOne, hover, painter);
    PaintSwitches(screen.SwitchGrp, pictures.SwitchGrp, hover, painter);
  }
  if (!bitmap.save(QString::fromStdString(words[2]), "PNG")) {
    throw InputError{words[2] + ": cannot write the picture"};
  }
  return 0;
}

}  // namespace quire::authoring
