#include "engine/html/document_view.h"

#include <gtest/gtest.h>

#include "engine/html/html_document.h"
#include "html_fixture.h"
#include "platform/text.h"

namespace quire::engine::html {
namespace {

using namespace quire::testing;

TEST(DocumentViewTest, Scratch) {
  HtmlBook book;
  book.WritePicture("pics/red.bmp", QSize(60, 40), Qt::red);
  const std::string page =
      book.Write("html/p.htm", *platform::Utf8ToCp1251(R"(<html><head><title>Глава 1</title>
<style><!-- .note { color: #008000; font-weight: bold } h2 { font-family: Times New Roman } --></style></head>
<body bgcolor="#FFFFE0" link=blue>
<h2 align=center>Двигатель</h2>
<p>Обычный текст <font face="Courier New" size=4 color=red>красный</font> и <a href="q.htm">ссылка</a>.</p>
<table border=1 cellpadding=4 cellspacing=0 width="90%" align=center>
<tr bgcolor=silver><th>Деталь</th><th>Номер</th></tr>
<tr><td>Поршень</td><td align=right>12</td></tr>
<tr><td colspan=2><img src="../pics/red.bmp" align=left hspace=5 alt="Красный">Текст рядом с картинкой, длинный текст, который обтекает картинку слева. Ещё текст.</td></tr>
</table>
<ul><li>Один<li>Два</ul><ol><li>Первый<li>Второй</ol>
<p class=note>Заметка <sup>1</sup> <sub>2</sub> <small>мелко</small></p><hr>
<pre>Код   с пробелами
вторая строка</pre>
<center>По центру</center>
<select name=s1><option>Альфа<option selected>Бета</select>
</body></html>)"));
  TDocumentView view(*book.g);
  view.resize(673, 600);
  view.LoadFromFile(page);
  view.grab().save("/tmp/scratch.png");
  printf("%s\n", view.DocumentText().c_str());
  for (auto& c : view.FormControls())
    printf("control %s %d %d %p\n", c.Name.c_str(), (int)c.Items.size(), c.ItemIndex,
           (void*)c.Control);
  auto d = view.Document();
  for (auto& b : d->Selects())
    printf("box %d %d %d %d\n", b.Rect.x(), b.Rect.y(), b.Rect.width(), b.Rect.height());
}

}  // namespace
}  // namespace quire::engine::html
