// The main window during a run over a 1 GiB file and a tree of 2,000 files: how late a 10 ms
// timer fires at worst, which is how long a click or a repaint can wait. The run is started
// with the Yes button, as a user does.
// Usage: bench_mainwindow_run FOLDER [normal|enhanced] (FOLDER on a real disk; NORMAL is one
// pass, ENHANCED eight of three patterns).
#include "common/SharedState.h"
#include "shredlist/frmMainCode.h"
#include "skin/MyTopButton.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMouseEvent>
#include <QTextStream>
#include <QTimer>

#include <unistd.h>

namespace {
bool WriteFile(const QString& path, qint64 size)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray block(1 << 20, 'v');
    for (qint64 done = 0; done < size; done += block.size())
        file.write(block.constData(), qMin<qint64>(block.size(), size - done));
    return file.flush() && ::fsync(file.handle()) == 0;
}

void Click(QWidget* button)
{
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
    QApplication app(argc, argv);
    QTextStream out(stdout);
    if (argc < 2 || argc > 3) {
        out << "usage: bench_mainwindow_run FOLDER [normal|enhanced]\n";
        return 2;
    }
    const bool enhanced = argc == 3 && qstrcmp(argv[2], "enhanced") == 0;
    const QString folder = QFile::decodeName(argv[1]);
    const QString big = folder + QStringLiteral("/one gibibyte");
    const QString tree = folder + QStringLiteral("/tree");
    if (!WriteFile(big, qint64(1) << 30))
        return 1;
    for (int f = 0; f < 20; ++f) {
        const QString sub = tree + QStringLiteral("/folder %1").arg(f);
        QDir().mkpath(sub);
        for (int i = 0; i < 100; ++i)
            WriteFile(sub + QStringLiteral("/file %1").arg(i), 4096);
    }
    ::sync();

    frmMainCode& window = *frmMainCode::instance();
    window.Form_Load();
    Shared().NumOverwrite = enhanced ? 8 : 1;
    Shared().FastShred = enhanced ? 2 : 1;
    window.shredList().AddPathFromShell(big);
    window.shredList().AddPathFromShell(tree);

    QElapsedTimer sinceTick;
    qint64 longest = 0;
    qint64 ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        longest = qMax(longest, sinceTick.restart());
        ++ticks;
    });
    QElapsedTimer run;
    QTimer::singleShot(0, [&] {
        sinceTick.start();
        timer.start(10);
        run.start();
        Click(window.findChild<MyTopButton*>(QStringLiteral("btnYes")));
        const qint64 total = run.elapsed();
        timer.stop();
        out << (enhanced ? "ENHANCED" : "NORMAL") << " run: " << total << " ms, " << ticks
            << " ticks of a 10 ms timer, longest gap " << longest << " ms (goal: under 50 ms)\n";
        out << "left behind: " << (QFile::exists(big) || QFile::exists(tree) ? "yes" : "nothing") << "\n";
        app.exit(0);
    });
    return app.exec();
}
