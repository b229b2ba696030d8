// Writes the application icon into a hicolor icon theme tree for an installation:
//   tq474-make-icons OUTDIR   ->   OUTDIR/hicolor/NxN/apps/tq474.png, N = 16 ... 256
#include <QDir>
#include <QImage>
#include <cstdio>

#include "ui/icons.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: tq474-make-icons OUTDIR\n");
    return 2;
  }
  for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    const QString folder = QString("%1/hicolor/%2x%2/apps").arg(argv[1]).arg(size);
    if (!QDir().mkpath(folder) ||
        !tq::ui::ApplicationImage(size).save(folder + "/tq474.png", "PNG")) {
      std::fprintf(stderr, "tq474-make-icons: cannot write %s\n", qPrintable(folder));
      return 1;
    }
  }
  return 0;
}
