// Adds 10,000 files of 50 extensions to the Shred List of the real main window, shown, the way
// a large drop arrives (every yield in place), and reports the time and the memory the list took.
#include "shredlist/ShredList.h"
#include "shredlist/frmMainCode.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <malloc.h>

namespace {
constexpr int Files = 10000;
constexpr int Extensions = 50;

size_t heapInUse()
{
    return mallinfo2().uordblks;
}

qint64 residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTemporaryDir dir;
    QStringList paths;
    for (int i = 0; i < Files; ++i) {
        paths.append(dir.filePath(QStringLiteral("file%1.ext%2").arg(i).arg(i % Extensions)));
        QFile(paths.last()).open(QIODevice::WriteOnly);
    }

    frmMainCode& window = *frmMainCode::instance();
    window.Form_Load();
    window.showList();
    QCoreApplication::processEvents();
    const size_t before = heapInUse();
    const qint64 residentBefore = residentKiB();
    ShredList& shredList = window.shredList();
    QElapsedTimer timer;
    timer.start();
    // A drop hands over fresh strings: copies, so that the paths' memory counts too.
    for (const QString& path : std::as_const(paths))
        shredList.AddPathFromShell(QString(path.constData(), path.size()));
    shredList.SetScroll();
    QCoreApplication::processEvents();
    const qint64 elapsed = timer.elapsed();
    const double mib = double(heapInUse() - before) / (1024.0 * 1024.0);
    const double residentMib = double(residentKiB() - residentBefore) / 1024.0;

    QTextStream out(stdout);
    out << "items " << shredList.ItemCount() << ", pictures " << shredList.ilsIcons32().Count() << '\n'
        << "time " << elapsed << " ms\n"
        << "heap " << QString::number(mib, 'f', 1) << " MiB (resident set grew "
        << QString::number(residentMib, 'f', 1) << " MiB)\n";
    return shredList.ItemCount() == Files ? 0 : 1;
}
