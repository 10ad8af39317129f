// The events a viewer raises for the program. Coordinates are those of the document view the
// event happened in.
#pragma once

#include <Qt>
#include <functional>
#include <string>
#include <vector>

class QComboBox;
class QWidget;

namespace quire::engine::html {

// A link or image-map area came under the pointer (url empty: the pointer left it).
using HotSpotCoveredEvent = std::function<void(const std::string& target, const std::string& url)>;
// A link was clicked; setting `handled` keeps the engine from following it.
using HotSpotClickEvent =
    std::function<void(const std::string& target, const std::string& url, bool& handled)>;
using KeyDownEvent = std::function<void(int key, Qt::KeyboardModifiers shift)>;
using MouseEvent = std::function<void(Qt::MouseButton button, Qt::MouseButtons buttons,
                                      Qt::KeyboardModifiers shift, int x, int y)>;

// The object under a point of a document view.
struct HtmlObject {
  bool Exists = false;
  const void* Id = nullptr;  // tells two objects apart
  bool IsImage = false;
  std::string Alt;  // an image's ALT text (Windows-1251)
  std::string Src;  // an image's full file name
  std::string Url;  // the link or map area there, if any
  std::string Target;
};

enum class FormControlKind {
  DropDown,
  Text,
  Password,
  CheckBox,
  Radio,
  Submit,
  Reset,
  Button,
  TextArea
};

// A form control of a document: its name, kind and what it holds now.
struct FormControl {
  std::string Name;  // Windows-1251
  bool IsDropDown = true;
  std::vector<std::string> Items;  // a drop-down list's items and the selected one
  int ItemIndex = -1;
  QComboBox* Control = nullptr;  // drop-down lists
  FormControlKind Kind = FormControlKind::DropDown;
  std::string Text;           // an edit's or text area's text, a button's caption (Windows-1251)
  bool Checked = false;       // check boxes and radio buttons
  QWidget* Widget = nullptr;  // the control on screen, of any kind
};

}  // namespace quire::engine::html
