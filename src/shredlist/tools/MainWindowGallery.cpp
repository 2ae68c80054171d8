// vanisto-mainwindow-gallery OUTPUT_DIR
//
// Loads the real main window with three files on its list and writes pictures of it: the
// question without and with the list, the contracted bar, and a run in progress. Settings,
// autostart entry and the files live in a throw-away folder.
#include "common/SharedState.h"
#include "shredlist/frmMainCode.h"
#include "skin/MyTopButton.h"
#include "skin/cpvProgressBar.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace {
QString g_out;

void Save(QWidget& window, const QString& name)
{
    QCoreApplication::processEvents();
    const QString path = g_out + QLatin1Char('/') + name;
    if (window.grab().save(path))
        std::printf("%s\n", qPrintable(path));
    else
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

void Click(QWidget& window, const char* name)
{
    auto* button = window.findChild<MyTopButton*>(QLatin1String(name));
    const QPointF middle(button->width() / 2.0, button->height() / 2.0);
    QMouseEvent press(QEvent::MouseButtonPress, middle, button->mapToGlobal(middle), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(button, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, middle, button->mapToGlobal(middle), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(button, &release);
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: vanisto-mainwindow-gallery OUTPUT_DIR\n");
        return 2;
    }
    QTemporaryDir home;
    for (const char* folder :
         {"HOME", "XDG_CONFIG_HOME", "XDG_STATE_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
        qputenv(folder, QFile::encodeName(home.path() + QLatin1Char('/') + QLatin1String(folder)));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
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
    Save(window, QStringLiteral("window-confirming.png"));
    Click(window, "btnShow");
    QApplication::processEvents();
    QTimer::singleShot(200, [&] {
        Save(window, QStringLiteral("window-list.png"));
        Click(window, "btnContract");
        Save(window, QStringLiteral("window-contracted.png"));
        Click(window, "btnExpand");
        Click(window, "btnHide");
        Shared().NumOverwrite = 3;
        QTimer look;
        QObject::connect(&look, &QTimer::timeout, [&] {
            auto* bar = window.findChild<cpvProgressBar*>(QStringLiteral("baredit"));
            if (bar->Value() > bar->Max() / 3 && bar->isVisible()) {
                Save(window, QStringLiteral("window-shredding.png"));
                look.stop();
            }
        });
        look.start(1);
        Click(window, "btnYes");
        app.exit(0);
    });
    return app.exec();
}
