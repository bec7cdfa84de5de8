// Loads what the command line names and prints "survived" when the process was not ended:
//   ui_skin_probe dialog <skin ini> <skin folder>
//   ui_skin_probe state <picture file>
//   ui_skin_probe decoding <program-folder picture name>   (decoded on the worker, then used)
#include "ui/SkinnedDialog.h"
#include "ui/SkinPictureCache.h"

#include <QApplication>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc == 4 && std::strcmp(argv[1], "dialog") == 0) {
        vantor::SkinnedDialog dialog(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
        dialog.Initialise();
    } else if (argc == 3 && std::strcmp(argv[1], "state") == 0) {
        vantor::SkinPictureCache::StatePictureOfFile(QString::fromLocal8Bit(argv[2]), QSize(10, 10));
    } else if (argc == 3 && std::strcmp(argv[1], "decoding") == 0) {
        vantor::SkinPictureCache::Ready(vantor::SkinPictureCache::DecodingStatePicture(
            QString::fromLocal8Bit(argv[2]), QSize(10, 10)));
    } else {
        return 2;
    }
    std::puts("survived");
    return 3;
}
