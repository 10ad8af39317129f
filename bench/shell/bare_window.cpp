// A frameless Qt window that paints one picture and ends after its first paint.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QWidget>

class Picture : public QWidget {
 public:
  explicit Picture(const QImage& image)
      : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint), image_(image) {
    resize(image.size());
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter(this).drawImage(0, 0, image_);
    QCoreApplication::exit(0);
  }

 private:
  QImage image_;
};

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc < 2) return 2;
  Picture window(QImage(QString::fromLocal8Bit(argv[1])));
  window.show();
  return app.exec();
}
