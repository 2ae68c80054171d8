// Adds 10,000 files of 50 extensions to a Shred List shown in a window, the way a large
// drop arrives (every yield in place), and reports the time and the memory the list took.
#include "shredlist/LstArray.h"
#include "shredlist/ShredList.h"
#include "shredlist/ShredListWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTextStream>

#include <malloc.h>

namespace {
constexpr int Files = 10000;
constexpr int Extensions = 50;

class BenchWindow : public QWidget, public ShredListWindow
{
public:
    BenchWindow()
    {
        resize(485, 494);
        m_frame.setGeometry(10, 60, 465, 420);
        list.setParent(&m_frame);
        list.setGeometry(0, 0, 465, 420);
        m_label1.setGeometry(10, 10, 100, 20);
        m_prompt.setGeometry(120, 10, 300, 40);
        m_shred.setGeometry(380, 10, 100, 20);
    }
    void ShowForm() override { show(); }
    void HideForm() override { hide(); }
    void SetCountCaptions(const CountCaptions& c) override
    {
        m_label1.setText(c.Label1);
        m_prompt.setText(c.lblPrompt);
        m_shred.setText(c.lblshred);
    }
    void SetScroller(int, int, int) override {}

private:
    QWidget m_frame{this};
    QLabel m_label1{this};
    QLabel m_prompt{this};
    QLabel m_shred{this};

public:
    LstArray list;
};

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

    BenchWindow window;
    const size_t before = heapInUse();
    const qint64 residentBefore = residentKiB();
    ShredList shredList(window, window.list);
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
