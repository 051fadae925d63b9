#pragma once

#include <QPixmap>
#include <QWidget>

namespace vastel {

// The launcher's backdrop: a tiled picture on displays with enough colours, a vertical
// gradient from blue to black on displays with fewer than 15 bits per pixel.
class LauncherBackground : public QWidget {
    Q_OBJECT
  public:
    enum class Kind { Tile, Gradient };
    LauncherBackground(Kind kind, QWidget* parent);
    Kind kind() const { return kind_; }
    static QPixmap tilePicture();

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    Kind kind_;
};

}  // namespace vastel
