// vanisto-mainwindow-gallery OUTPUT_DIR
//
// Loads the real main window with three files on its list and writes pictures of it: the
// question without and with the list, the contracted bar, and a run in progress. Settings,
// autostart entry and the files live in a throw-away folder.
#include "common/SharedState.h"
#include "shredlist/frmMainCode.h"
#include "skin/MyTopButton.h"
#include "skin/cpvProgressBar.h"
#include "skin/tools/Gallery.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {
QString g_out;

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: vanisto-mainwindow-gallery OUTPUT_DIR\n");
        return 2;
    }
    QTemporaryDir home;
    Gallery::UseThrowAwayHome(home);
    QApplication::setAttribute(Qt::AA_Use96Dpi);
    QApplication app(argc, argv);
    QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 9));
    g_out = QFile::decodeName(argv[1]);
    QDir().mkpath(g_out);

    frmMainCode& window = *frmMainCode::instance();
    window.Form_Load();
    const QString items = home.path() + QStringLiteral("/Documents");
    QDir().mkpath(items);
    for (const QString& name : {QStringLiteral("report-2025.odt"), QStringLiteral("bank statements.pdf"),
                                QStringLiteral("old-passwords.txt")}) {
        QFile file(items + QLatin1Char('/') + name);
        if (!file.open(QIODevice::WriteOnly) || !file.write(QByteArray(8 << 20, 'v')))
            return 1;
        file.close();
        window.shredList().AddPathFromShell(file.fileName());
    }
    window.shredList().SetScroll();
    Gallery::Save(window, g_out + QStringLiteral("/window-confirming.png"));
    Gallery::Click(window, "btnShow");
    QApplication::processEvents();
    QTimer::singleShot(200, [&] {
        Gallery::Save(window, g_out + QStringLiteral("/window-list.png"));
        Gallery::Click(window, "btnContract");
        Gallery::Save(window, g_out + QStringLiteral("/window-contracted.png"));
        Gallery::Click(window, "btnExpand");
        Gallery::Click(window, "btnHide");
        Shared().NumOverwrite = 3;
        QTimer look;
        QObject::connect(&look, &QTimer::timeout, [&] {
            auto* bar = window.findChild<cpvProgressBar*>(QStringLiteral("baredit"));
            if (bar->Value() > bar->Max() / 3 && bar->isVisible()) {
                Gallery::Save(window, g_out + QStringLiteral("/window-shredding.png"));
                look.stop();
            }
        });
        look.start(1);
        Gallery::Click(window, "btnYes");
        app.exit(0);
    });
    return app.exec();
}
