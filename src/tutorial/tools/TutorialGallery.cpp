// vanisto-tutorial-gallery OUTPUT_DIR
//
// Opens the real tutorial window and writes pictures of it: the chapter list and the pages
// 0.0, 3.0 and 7.2. Settings live in a throw-away folder.
#include "skin/tools/Gallery.h"
#include "tutorial/frmTutorial.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: vanisto-tutorial-gallery OUTPUT_DIR\n");
        return 2;
    }
    QTemporaryDir home;
    Gallery::UseThrowAwayHome(home);
    QApplication::setAttribute(Qt::AA_Use96Dpi);
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    const QString out = QFile::decodeName(argv[1]);
    QDir().mkpath(out);

    frmTutorial window(nullptr);
    window.Form_Load();
    window.show();
    Gallery::Save(window, out + QStringLiteral("/tutorial-chapters.png"));
    const struct
    {
        qint16 chapter;
        qint16 page;
        const char* name;
    } pages[] = {{0, 0, "tutorial-0.0.png"}, {3, 0, "tutorial-3.0.png"}, {7, 2, "tutorial-7.2.png"}};
    for (const auto& shown : pages) {
        window.ChangeSlide(shown.chapter, shown.page);
        Gallery::Save(window, out + QLatin1Char('/') + QLatin1String(shown.name));
    }
    return 0;
}
